// window.cpp - windows, their messages and their geometry over Qt widgets.
//
// Sections: the registry; the widgets (HostWidget, FrameWidget) that turn Qt
// events into messages; creating and destroying; showing, styles and
// geometry; painting; commands and timers; cursor and input state.
#include "platform/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimerEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <memory>
#include <vector>

#include "platform/accelerator.h"
#include "platform/keys.h"
#include "platform/menu.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

// ---- the registry ---------------------------------------------------------

std::map<std::string, WindowClass>& classes() {
    static std::map<std::string, WindowClass> table;
    return table;
}

std::map<WindowId, std::unique_ptr<WindowRecord>>& windows() {
    static std::map<WindowId, std::unique_ptr<WindowRecord>> table;
    return table;
}

WindowId nextWindowId = 1;

// The layer's own follow-the-mouse move, for window systems that refuse
// startSystemMove (the offscreen one among them).
struct ManualMove {
    WindowId window = 0;
    QPoint anchor;     // global cursor position at the press
    QPoint startFrame; // frame position at the press
};
ManualMove manualMove;
QPoint lastPressGlobal;

QEvent::Type commandEventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class CommandEvent : public QEvent {
public:
    explicit CommandEvent(int id) : QEvent(commandEventType()), id(id) {}
    int id;
};

unsigned modifierState(Qt::KeyboardModifiers modifiers) {
    unsigned state = 0;
    if (modifiers & Qt::ShiftModifier) state |= kShiftHeld;
    if (modifiers & Qt::ControlModifier) state |= kControlHeld;
    if (modifiers & Qt::AltModifier) state |= kAltHeld;
    return state;
}

unsigned buttonState(Qt::MouseButtons buttons) {
    unsigned state = 0;
    if (buttons & Qt::LeftButton) state |= kLeftButtonHeld;
    if (buttons & Qt::RightButton) state |= kRightButtonHeld;
    if (buttons & Qt::MiddleButton) state |= kMiddleButtonHeld;
    if (buttons & Qt::XButton1) state |= kExtraButton1Held;
    if (buttons & Qt::XButton2) state |= kExtraButton2Held;
    return state;
}

MouseButton buttonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    case Qt::XButton1:
        return MouseButton::Extra1;
    case Qt::XButton2:
        return MouseButton::Extra2;
    default:
        return MouseButton::None;
    }
}

int keyOf(int qtKey) {
    if (qtKey >= 0x20 && qtKey <= 0x7e) {
        if (qtKey >= 'a' && qtKey <= 'z') return qtKey - 'a' + 'A';
        return qtKey;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return key::F(qtKey - Qt::Key_F1 + 1);
    switch (qtKey) {
    case Qt::Key_Tab:
        return key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return key::Return;
    case Qt::Key_Escape:
        return key::Escape;
    case Qt::Key_Backspace:
        return key::BackSpace;
    case Qt::Key_Insert:
        return key::Insert;
    case Qt::Key_Delete:
        return key::Delete;
    case Qt::Key_Home:
        return key::Home;
    case Qt::Key_End:
        return key::End;
    case Qt::Key_PageUp:
        return key::PageUp;
    case Qt::Key_PageDown:
        return key::PageDown;
    case Qt::Key_Left:
        return key::Left;
    case Qt::Key_Right:
        return key::Right;
    case Qt::Key_Up:
        return key::Up;
    case Qt::Key_Down:
        return key::Down;
    case Qt::Key_Shift:
        return key::Shift;
    case Qt::Key_Control:
        return key::Control;
    case Qt::Key_Alt:
        return key::Alt;
    default:
        return key::Unknown;
    }
}

Qt::CursorShape qtCursor(CursorShape shape) {
    switch (shape) {
    case CursorShape::Wait:
        return Qt::WaitCursor;
    case CursorShape::Hidden:
        return Qt::BlankCursor;
    case CursorShape::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

Qt::WindowFlags flagsFor(WindowStyle style) {
    switch (style) {
    case WindowStyle::Captioned:
        return Qt::Window;
    // A customised frame without the title hint keeps the border only.
    case WindowStyle::CaptionLess:
        return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowMinMaxButtonsHint;
    case WindowStyle::FullScreen:
        return Qt::Window | Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

QIcon iconOf(const IconImages& images) {
    QIcon icon;
    for (const char* const* xpm : {images.large, images.small})
        if (xpm) icon.addPixmap(QPixmap(xpm));
    return icon;
}

int dispatch(WindowId window, MessageKind kind, const MessageParams& params) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->windowClass.procedure) return 0;
    WindowProcedure procedure = record->windowClass.procedure;
    return procedure(window, kind, params);
}

MessageParams mouseParams(const QSinglePointEvent* event) {
    MessageParams params;
    QPoint local = event->position().toPoint();
    QPoint global = event->globalPosition().toPoint();
    params.position = {local.x(), local.y()};
    params.screenPosition = {global.x(), global.y()};
    Qt::MouseButtons buttons = event->buttons();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    params.state = modifierState(modifiers) | buttonState(buttons);
    return params;
}

QRegion regionOf(std::span<const Rect> rects) {
    QRegion region;
    for (const Rect& rect : rects)
        if (!rect.isEmpty()) region += toQRect(rect);
    return region;
}

// The window, then its children and owned windows, each before its own.
void destroyTree(WindowId window, std::vector<WindowId>& order) {
    order.push_back(window);
    for (auto& [id, record] : windows())
        if (record->parent == window || record->owner == window) destroyTree(id, order);
}

} // namespace

// ---- the widgets ----------------------------------------------------------

class HostWidget : public QWidget {
public:
    HostWidget(WindowId id, QWidget* parent) : QWidget(parent), id_(id) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == commandEventType()) {
            MessageParams params;
            params.id = static_cast<CommandEvent*>(event)->id;
            dispatch(id_, MessageKind::Command, params);
            return true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override {
        WindowRecord* record = findWindow(id_);
        if (!record) return;
        QPainter painter(this);
        QRegion erase = (event->region() - record->keepRegion) + record->eraseRegion;
        erase &= event->region();
        record->eraseRegion -= event->region();
        record->keepRegion -= event->region();
        record->dirtyRegion -= event->region();
        const Colour& bg = record->windowClass.background;
        for (const QRect& rect : erase)
            painter.fillRect(rect, QColor(bg.red, bg.green, bg.blue));
        // A child far larger than its parent (a picture at actual size) is
        // asked to paint all of itself; only the part that can be seen is.
        QRect area = event->region().boundingRect();
        if (const QRect visible = visibleRegion().boundingRect(); !visible.isEmpty()) area &= visible;
        PaintContext context{&painter, area};
        MessageParams params;
        params.paint = &context;
        params.paintRect = fromQRect(event->region().boundingRect());
        dispatch(id_, MessageKind::Paint, params);
    }

    void resizeEvent(QResizeEvent*) override {
        MessageParams params;
        params.size = {width(), height()};
        dispatch(id_, MessageKind::Size, params);
    }

    void mousePressEvent(QMouseEvent* event) override { press(event, MessageKind::ButtonDown); }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        WindowRecord* record = findWindow(id_);
        bool doubleClicks = record && record->windowClass.doubleClicks;
        press(event, doubleClicks ? MessageKind::DoubleClick : MessageKind::ButtonDown);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        if (manualMove.window && event->button() == Qt::LeftButton) manualMove = {};
        MouseButton button = buttonOf(event->button());
        if (button == MouseButton::None) return;
        MessageParams params = mouseParams(event);
        params.button = button;
        dispatch(id_, MessageKind::ButtonUp, params);
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        event->accept();
        if (manualMove.window) {
            if (!(event->buttons() & Qt::LeftButton)) {
                manualMove = {};
            } else if (WindowRecord* top = findWindow(manualMove.window)) {
                QPoint delta = event->globalPosition().toPoint() - manualMove.anchor;
                top->frame->move(manualMove.startFrame + delta);
                return;
            }
        }
        MessageParams params = mouseParams(event);
        dispatch(id_, MessageKind::MouseMove, params);
    }

    void wheelEvent(QWheelEvent* event) override {
        event->accept();
        MessageParams params = mouseParams(event);
        params.wheelDelta = event->angleDelta().y();
        // Unhandled, the wheel goes on to the parent window, in its client
        // coordinates, as a default procedure passes it on.
        for (WindowId window = id_; window;) {
            if (dispatch(window, MessageKind::Wheel, params)) return;
            WindowRecord* record = findWindow(window);
            WindowRecord* parent = record ? findWindow(record->parent) : nullptr;
            if (!parent) break;
            QPoint local = parent->client->mapFromGlobal(
                QPoint(params.screenPosition.x, params.screenPosition.y));
            params.position = {local.x(), local.y()};
            window = parent->id;
        }
    }

    void timerEvent(QTimerEvent* event) override {
        WindowRecord* record = findWindow(id_);
        if (!record) return;
        for (const auto& [id, qtId] : record->timers) {
            if (qtId != event->timerId()) continue;
            MessageParams params;
            params.id = id;
            dispatch(id_, MessageKind::Timer, params);
            return;
        }
    }

private:
    void press(QMouseEvent* event, MessageKind kind) {
        event->accept();
        MouseButton button = buttonOf(event->button());
        if (button == MouseButton::None) return;
        lastPressGlobal = event->globalPosition().toPoint();
        MessageParams params = mouseParams(event);
        params.button = button;
        dispatch(id_, kind, params);
    }

    WindowId id_;
};

class FrameWidget : public QWidget {
public:
    FrameWidget(WindowId id, QWidget* owner, Qt::WindowFlags flags)
        : QWidget(owner, flags), id_(id) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    // Tab is a key like any other here, not a focus move.
    bool focusNextPrevChild(bool) override { return false; }

    void resizeEvent(QResizeEvent*) override {
        if (WindowRecord* record = findWindow(id_)) layOutFrame(*record);
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        closeWindow(id_);
    }

    void keyPressEvent(QKeyEvent* event) override {
        unsigned state =
            modifierState(event->modifiers()) | buttonState(QGuiApplication::mouseButtons());
        int key = keyOf(event->key());
        if (key != key::Unknown && translateAccelerator(key, state)) return;
        MessageParams params;
        params.key = key;
        params.state = state;
        dispatch(id_, MessageKind::KeyDown, params);
        QString text = event->text();
        if (!text.isEmpty() && findWindow(id_)) {
            params.character = text.toUcs4().value(0);
            dispatch(id_, MessageKind::Character, params);
        }
    }

    void dragEnterEvent(QDragEnterEvent* event) override {
        if (event->mimeData()->hasUrls()) event->acceptProposedAction();
    }

    void dropEvent(QDropEvent* event) override {
        MessageParams params;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile()) params.paths.push_back(url.toLocalFile().toStdString());
        if (params.paths.empty()) return;
        event->acceptProposedAction();
        dispatch(id_, MessageKind::Drop, params);
    }

private:
    WindowId id_;
};

// ---- shared with the other platform files ---------------------------------

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

void layOutFrame(WindowRecord& record) {
    if (!record.frame) return;
    int width = record.frame->width();
    int menuHeight = 0;
    if (record.menuBar) {
        menuHeight = record.menuBar->heightForWidth(width);
        if (menuHeight < 0) menuHeight = record.menuBar->sizeHint().height();
        record.menuBar->setGeometry(0, 0, width, menuHeight);
    }
    record.client->setGeometry(0, menuHeight, width,
                               std::max(0, record.frame->height() - menuHeight));
}

QRect toQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

Rect fromQRect(const QRect& rect) {
    return rectAt(rect.x(), rect.y(), rect.width(), rect.height());
}

namespace {

// The frame's margins now, or the last ones seen while the window had its
// normal frame (a maximised or full-screen window may have none). The window
// system tells them once the native window exists, shown or not; a window
// without a frame has none.
QMargins marginsOf(WindowRecord& record) {
    QWidget* frame = record.frame;
    if (record.style == WindowStyle::FullScreen) return record.margins = QMargins();
    if (frame->isMaximized() || frame->isFullScreen()) return record.margins;
    if (QWindow* handle = frame->windowHandle()) {
        QMargins margins = handle->frameMargins();
        if (!margins.isNull() || frame->isVisible()) record.margins = margins;
    }
    return record.margins;
}

} // namespace
} // namespace detail

using namespace detail;

// ---- creating and destroying ----------------------------------------------

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
    const Colour& bg = cls->second.background;
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(bg.red, bg.green, bg.blue));
    if (parent) {
        record->client = new HostWidget(id, parent->client);
        record->client->setGeometry(toQRect(creation.rect));
    } else {
        record->frame =
            new FrameWidget(id, owner ? owner->frame : nullptr, flagsFor(creation.style));
        record->frame->setPalette(palette);
        record->frame->setAutoFillBackground(true);
        record->frame->setWindowTitle(QString::fromStdString(creation.title));
        record->frame->setWindowIcon(iconOf(cls->second.icon));
        record->client = new HostWidget(id, record->frame);
        record->frame->winId(); // the native window, which knows the frame's margins
    }
    record->client->setCursor(qtCursor(record->cursor));
    WindowRecord& stored = *record;
    windows()[id] = std::move(record);
    if (stored.frame) {
        Rect rect = creation.rect;
        if (rect.left == kDefaultPosition || rect.top == kDefaultPosition) {
            QMargins margins = marginsOf(stored);
            stored.frame->resize(std::max(1, rect.width() - margins.left() - margins.right()),
                                 std::max(1, rect.height() - margins.top() - margins.bottom()));
        } else {
            moveWindow(id, rect, false);
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
        if (manualMove.window == *it) manualMove = {};
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

// ---- showing, styles and geometry -----------------------------------------

void showWindow(WindowId window, ShowCommand command) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    QWidget* widget = record->outer();
    switch (command) {
    case ShowCommand::Hide:
        widget->hide();
        break;
    case ShowCommand::Show:
        widget->show();
        break;
    case ShowCommand::ShowNoActivate:
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    case ShowCommand::Normal:
        if (record->frame) marginsOf(*record);
        widget->showNormal();
        if (record->coversScreen) {
            record->coversScreen = false;
            widget->setGeometry(record->normalGeometry);
        }
        break;
    case ShowCommand::Maximised:
        if (!record->frame) break;
        marginsOf(*record);
        if (record->style == WindowStyle::FullScreen) {
            if (!record->coversScreen) record->normalGeometry = widget->geometry();
            record->coversScreen = true;
            widget->showFullScreen();
            // Without a window manager nobody else makes it cover the screen.
            if (QScreen* screen = widget->screen()) widget->setGeometry(screen->geometry());
        } else {
            widget->showMaximized();
        }
        break;
    }
}

bool isVisible(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record && record->outer()->isVisible();
}

bool isMaximised(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record && record->frame &&
           (record->coversScreen || record->frame->isMaximized() || record->frame->isFullScreen());
}

void setWindowStyle(WindowId window, WindowStyle style, Rect rect) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->frame) return;
    bool visible = record->frame->isVisible();
    marginsOf(*record);
    record->style = style;
    // Changing the flags hides the window; it comes back in the same state.
    Qt::WindowStates states = record->frame->windowState();
    record->frame->setWindowFlags(flagsFor(style));
    record->frame->setWindowState(states & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    record->coversScreen = false;
    record->frame->winId(); // a new native window, with the new frame's margins
    moveWindow(window, rect, false);
    if (visible) record->frame->show();
}

WindowStyle windowStyle(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record ? record->style : WindowStyle::Captioned;
}

Rect clientRect(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record) return {};
    return Rect{0, 0, record->client->width(), record->client->height()};
}

Rect windowRect(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record) return {};
    if (!record->frame) {
        QPoint origin = record->client->mapToGlobal(QPoint(0, 0));
        return rectAt(origin.x(), origin.y(), record->client->width(), record->client->height());
    }
    QMargins margins = marginsOf(*record);
    QRect inner = record->frame->geometry();
    return fromQRect(inner.marginsAdded(margins));
}

Rect rectInParent(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record || record->frame) return windowRect(window);
    return fromQRect(record->client->geometry());
}

Rect normalWindowRect(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->frame) return windowRect(window);
    QMargins margins = marginsOf(*record);
    QRect normal = record->coversScreen ? record->normalGeometry : record->frame->normalGeometry();
    return fromQRect(normal.marginsAdded(margins));
}

void moveWindow(WindowId window, Rect rect, bool repaint) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    if (!record->frame) {
        QRect old = record->client->geometry();
        record->client->setGeometry(toQRect(rect));
        if (repaint) {
            record->client->update();
            if (WindowRecord* parent = findWindow(record->parent))
                parent->client->update(QRegion(old) - QRegion(record->client->geometry()));
        }
        return;
    }
    QMargins margins = marginsOf(*record);
    QRect inner = toQRect(rect).marginsRemoved(margins);
    record->frame->setGeometry(inner.x(), inner.y(), std::max(1, inner.width()),
                               std::max(1, inner.height()));
    if (repaint) record->client->update();
}

Point clientToScreen(WindowId window, Point point) {
    QWidget* client = clientWidget(window);
    if (!client) return point;
    QPoint global = client->mapToGlobal(QPoint(point.x, point.y));
    return {global.x(), global.y()};
}

Point screenToClient(WindowId window, Point point) {
    QWidget* client = clientWidget(window);
    if (!client) return point;
    QPoint local = client->mapFromGlobal(QPoint(point.x, point.y));
    return {local.x(), local.y()};
}

Rect workArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->availableGeometry()) : Rect{};
}

void setTitle(WindowId window, const std::string& text) {
    if (QWidget* frame = frameWidget(window); frame && findWindow(window)->frame)
        frame->setWindowTitle(QString::fromStdString(text));
}

std::string title(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record && record->frame ? record->frame->windowTitle().toStdString() : std::string();
}

void setOpacity(WindowId window, int alpha) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->frame) return;
    record->frame->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

// ---- painting -------------------------------------------------------------

void invalidate(WindowId window, bool erase) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    invalidateRect(window, clientRect(window), erase);
}

void invalidateRect(WindowId window, Rect rect, bool erase) {
    invalidateRegion(window, std::span<const Rect>(&rect, 1), erase);
}

void invalidateRegion(WindowId window, std::span<const Rect> rects, bool erase) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    QRegion region = regionOf(rects) & QRegion(record->client->rect());
    if (region.isEmpty()) return;
    if (erase) {
        record->eraseRegion += region;
        record->keepRegion -= region;
    } else {
        record->keepRegion += region - record->eraseRegion;
    }
    record->dirtyRegion += region;
    record->client->update(region);
}

void updateWindow(WindowId window) {
    WindowRecord* record = findWindow(window);
    if (!record || record->dirtyRegion.isEmpty()) return;
    record->client->repaint(record->dirtyRegion);
}

// ---- moving, commands and timers ------------------------------------------

void startSystemMove(WindowId window) {
    WindowRecord* top = topLevelOf(window);
    if (!top) return;
    QWindow* handle = top->frame->windowHandle();
    if (handle && handle->startSystemMove()) return;
    manualMove = {top->id, lastPressGlobal, top->frame->pos()};
}

int sendCommand(WindowId window, int id) {
    if (!findWindow(window)) return 0;
    MessageParams params;
    params.id = id;
    dispatch(window, MessageKind::Command, params);
    return 1;
}

void postCommand(WindowId window, int id) {
    if (WindowRecord* record = findWindow(window))
        QCoreApplication::postEvent(record->client, new CommandEvent(id));
}

void setTimer(WindowId window, int id, int periodMs) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    killTimer(window, id);
    int qtId = record->client->startTimer(std::max(0, periodMs));
    if (qtId != 0) record->timers[id] = qtId;
}

void killTimer(WindowId window, int id) {
    WindowRecord* record = findWindow(window);
    if (!record) return;
    auto it = record->timers.find(id);
    if (it == record->timers.end()) return;
    record->client->killTimer(it->second);
    record->timers.erase(it);
}

bool hasTimer(WindowId window, int id) {
    WindowRecord* record = findWindow(window);
    return record && record->timers.count(id) != 0;
}

void acceptDrops(WindowId window, bool accept) {
    WindowRecord* record = findWindow(window);
    if (record && record->frame) record->frame->setAcceptDrops(accept);
}

// ---- cursor and input state -----------------------------------------------

void setCursorShape(WindowId window, CursorShape shape) {
    WindowRecord* record = findWindow(window);
    if (!record || record->cursor == shape) return;
    record->cursor = shape;
    record->client->setCursor(qtCursor(shape));
}

CursorShape cursorShape(WindowId window) {
    WindowRecord* record = findWindow(window);
    return record ? record->cursor : CursorShape::Arrow;
}

void setBusyCursor(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

unsigned inputState() {
    return modifierState(QGuiApplication::keyboardModifiers()) |
           buttonState(QGuiApplication::mouseButtons());
}

Point cursorScreenPosition() {
    QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

} // namespace platform
