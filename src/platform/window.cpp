// window.cpp - the registry of window classes and windows, creating and
// destroying windows, and handing messages to their procedures. The rest of
// the window layer: window_events.cpp (the widgets that turn Qt events into
// messages), window_geometry.cpp (showing, styles, geometry, titles) and
// window_messages.cpp (painting, commands, timers, cursor, input state).
#include "platform/window.h"

#include <QIcon>
#include <QPixmap>
#include <memory>
#include <vector>

#include "platform/menu.h"
#include "platform/window_events.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

std::map<std::string, WindowClass>& classes() {
    static std::map<std::string, WindowClass> table;
    return table;
}

std::map<WindowId, std::unique_ptr<WindowRecord>>& windows() {
    static std::map<WindowId, std::unique_ptr<WindowRecord>> table;
    return table;
}

WindowId nextWindowId = 1;

QIcon iconOf(const IconImages& images) {
    QIcon icon;
    for (const char* const* xpm : {images.large, images.small})
        if (xpm) icon.addPixmap(QPixmap(xpm));
    return icon;
}

// The window, then its children and owned windows, each before its own.
void destroyTree(WindowId window, std::vector<WindowId>& order) {
    order.push_back(window);
    for (auto& [id, record] : windows())
        if (record->parent == window || record->owner == window) destroyTree(id, order);
}

} // namespace

int dispatch(WindowId window, MessageKind kind, const MessageParams& params) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->windowClass.procedure) return 0;
    WindowProcedure procedure = record->windowClass.procedure;
    return procedure(window, kind, params);
}

WindowRecord* findWindow(WindowId window) {
    auto it = windows().find(window);
    return it == windows().end() ? nullptr : it->second.get();
}

WindowRecord* topLevelOf(WindowId window) {
    WindowRecord* record = findWindow(window);
    while (record && !record->frame)
        record = findWindow(record->parent);
    return record;
}

QWidget* clientWidget(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record ? record->client : nullptr;
}

QWidget* frameWidget(WindowId window) {
    WindowRecord* record = topLevelOf(window);
    return record ? record->frame : nullptr;
}

void destroyAllWindows() {
    while (!windows().empty()) {
        WindowId root = windows().begin()->first;
        while (WindowRecord* record = findWindow(root)) {
            WindowId up = record->parent ? record->parent : record->owner;
            if (!up) break;
            root = up;
        }
        destroyWindow(root);
    }
}

} // namespace detail

using namespace detail;

int registerWindowClass(const WindowClass& windowClass) {
    if (windowClass.name.empty() || !windowClass.procedure) return 0;
    classes()[windowClass.name] = windowClass;
    return 1;
}

WindowId createWindow(const WindowCreation& creation) {
    auto cls = classes().find(creation.className);
    if (cls == classes().end()) return 0;
    WindowRecord* parent = creation.parent ? findWindow(creation.parent) : nullptr;
    if (creation.parent && !parent) return 0;
    WindowRecord* owner = creation.owner ? topLevelOf(creation.owner) : nullptr;

    auto record = std::make_unique<WindowRecord>();
    WindowId id = nextWindowId++;
    record->id = id;
    record->parent = creation.parent;
    record->owner = owner ? owner->id : 0;
    record->windowClass = cls->second;
    record->style = creation.style;
    record->cursor = cls->second.cursor;
    // The class background colours the client area only (HostWidget erases
    // with it); the frame, its menu bar and the dialogs over it keep the
    // desktop's palette.
    if (parent) {
        record->client = newHostWidget(id, parent->client);
        record->client->setGeometry(toQRect(creation.rect));
    } else {
        record->frame =
            newFrameWidget(id, owner ? owner->frame : nullptr, flagsFor(creation.style));
        record->frame->setWindowTitle(QString::fromStdString(creation.title));
        record->frame->setWindowIcon(iconOf(cls->second.icon));
        record->client = newHostWidget(id, record->frame);
        record->frame->winId(); // the native window, which knows the frame's margins
    }
    record->client->setCursor(qtCursor(record->cursor));
    WindowRecord& stored = *record;
    windows()[id] = std::move(record);
    if (stored.frame) {
        Rect rect = creation.rect;
        if (rect.left == kDefaultPosition || rect.top == kDefaultPosition) {
            // The window system chooses the place; the size holds the frame.
            QMargins margins = marginsOf(stored);
            stored.frame->resize(std::max(1, rect.width() - margins.left() - margins.right()),
                                 std::max(1, rect.height() - margins.top() - margins.bottom()));
            stored.pendingRect = QRect(stored.frame->pos(), toQRect(rect).size());
            stored.pendingMove = false;
        } else {
            moveWindow(id, rect, false);
            stored.pendingRect = toQRect(rect);
            stored.pendingMove = true;
        }
    }
    layOutFrame(stored);

    dispatch(id, MessageKind::Create, MessageParams{});
    if (WindowRecord* alive = findWindow(id); alive && creation.visible) alive->outer()->show();
    return findWindow(id) ? id : 0;
}

int destroyWindow(WindowId window) {
    if (!findWindow(window)) return 0;
    std::vector<WindowId> order;
    destroyTree(window, order);
    for (WindowId id : order)
        dispatch(id, MessageKind::Destroy, MessageParams{});
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        WindowRecord* record = findWindow(*it);
        if (!record) continue;
        for (const auto& [timer, qtId] : record->timers)
            record->client->killTimer(qtId);
        if (record->menu) destroyMenu(record->menu);
        endManualMove(*it);
        QWidget* outer = record->outer();
        bool ownWidget = *it == window || record->owner != 0;
        windows().erase(*it);
        // The widgets may be inside one of their own event handlers now;
        // children go with their parent's widget.
        outer->hide();
        if (ownWidget) {
            outer->setParent(nullptr);
            outer->deleteLater();
        }
    }
    return 1;
}

bool isWindow(WindowId window) {
    return findWindow(window) != nullptr;
}

void closeWindow(WindowId window) {
    if (!findWindow(window)) return;
    if (!dispatch(window, MessageKind::Close, MessageParams{})) destroyWindow(window);
}

} // namespace platform
