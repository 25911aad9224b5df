// window_events.cpp - the widgets that turn Qt events into messages: the
// client area (HostWidget) and the top-level frame (FrameWidget).
#include "platform/window_events.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "platform/accelerator.h"
#include "platform/key_translation.h"
#include "platform/keys.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

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
            if (WindowRecord* record = findWindow(id_)) {
                std::deque<int>& queued = record->queuedCommands;
                auto it = std::find(queued.begin(), queued.end(), params.id);
                if (it != queued.end()) queued.erase(it);
            }
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
        MouseButton button = mouseButtonOf(event->button());
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
        MouseButton button = mouseButtonOf(event->button());
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
    // The exposure of the frame's window-system window: by then a window
    // manager has framed and placed it, so its margins are known.
    bool eventFilter(QObject* watched, QEvent* event) override {
        QWindow* handle = windowHandle();
        if (event->type() == QEvent::Expose && watched == handle && handle->isExposed())
            if (WindowRecord* record = findWindow(id_)) frameExposed(*record);
        return false;
    }

    void showEvent(QShowEvent*) override {
        if (QWindow* handle = windowHandle()) handle->installEventFilter(this);
    }

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
        // Alt combinations are system keys: the accelerators' and the menu
        // bar's mnemonics, never a window's key or character.
        if (state & kAltHeld) {
            event->ignore();
            return;
        }
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

} // namespace

QWidget* newHostWidget(WindowId id, QWidget* parent) {
    return new HostWidget(id, parent);
}

QWidget* newFrameWidget(WindowId id, QWidget* owner, Qt::WindowFlags flags) {
    return new FrameWidget(id, owner, flags);
}

void postCommandEvent(QWidget* client, int id) {
    QCoreApplication::postEvent(client, new CommandEvent(id));
}

void startManualMove(WindowId window, QPoint framePosition) {
    manualMove = {window, lastPressGlobal, framePosition};
}

void endManualMove(WindowId window) {
    if (manualMove.window == window) manualMove = {};
}

} // namespace detail
} // namespace platform
