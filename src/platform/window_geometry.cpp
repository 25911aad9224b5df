// window_geometry.cpp - showing windows, their frame styles and margins,
// their rectangles and positions, titles and opacity.
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/window.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {

Qt::WindowFlags flagsFor(WindowStyle style) {
    switch (style) {
    case WindowStyle::Captioned:
        return Qt::Window;
    // A customised frame without any hint has no title bar. Qt adds the title
    // to any frame with a system menu or minimise and maximise buttons, and
    // has no hint for a border alone, so under a window manager the window
    // has no decoration at all (it still sizes by the manager's keys).
    case WindowStyle::CaptionLess:
        return Qt::Window | Qt::CustomizeWindowHint;
    case WindowStyle::FullScreen:
        return Qt::Window | Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

// The frame's margins now, or the last ones seen while the window had a
// windowed style's normal frame (a maximised or full-screen window may have
// none, and the full-screen style never has one: the margins of before stay
// for the way back). Under a window manager they are known once it has
// framed the window in its present style; until then the last ones stand.
QMargins marginsOf(WindowRecord& record) {
    QWidget* frame = record.frame;
    if (record.style == WindowStyle::FullScreen) return QMargins();
    if (frame->isMaximized() || frame->isFullScreen() || record.pendingRect) return record.margins;
    if (QWindow* handle = frame->windowHandle()) {
        QMargins margins = handle->frameMargins();
        if (!margins.isNull() || frame->isVisible()) record.margins = margins;
    }
    return record.margins;
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

void frameExposed(WindowRecord& record) {
    if (!record.pendingRect || record.style == WindowStyle::FullScreen) return;
    if (record.frame->isMaximized() || record.frame->isFullScreen()) return;
    const QRect wanted = *record.pendingRect;
    record.pendingRect.reset();
    // Some window systems tell the margins anew only once the window was
    // placed again: placed until they hold still.
    QMargins used;
    for (int round = 0; round < 3; ++round) {
        const QMargins margins = marginsOf(record);
        if (round > 0 && margins == used) break;
        used = margins;
        record.frame->resize(wanted.marginsRemoved(margins).size().expandedTo(QSize(1, 1)));
        // The frame's corner, asked for as such: the window system places it
        // whatever it told of the margins so far.
        if (record.pendingMove) record.frame->windowHandle()->setFramePosition(wanted.topLeft());
    }
}

QRect toQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

Rect fromQRect(const QRect& rect) {
    return rectAt(rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace detail

using namespace detail;

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
            // The frameless window covers the screen by its own geometry, so
            // that no window manager is asked for its full-screen state:
            // its answer would come in its own time, and might come after
            // the way back.
            if (QScreen* screen = widget->screen()) widget->setGeometry(screen->geometry());
            widget->show();
            widget->raise();
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
    // A window never shown keeps the place the window system gives it.
    const bool move = visible || (record->pendingRect && record->pendingMove);
    marginsOf(*record);
    const bool reframed = style != record->style;
    record->style = style;
    if (reframed) {
        // Changing the flags hides the window; it comes back in the same state.
        Qt::WindowStates states = record->frame->windowState();
        record->frame->setWindowFlags(flagsFor(style));
        record->frame->setWindowState(states & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        record->coversScreen = false;
        record->frame->winId();
    }
    // Full screen places the window itself when it is shown maximised; a
    // window never shown takes only the size.
    if (style != WindowStyle::FullScreen && move) {
        moveWindow(window, rect, false);
    } else if (style != WindowStyle::FullScreen) {
        const QSize inner = toQRect(rect).marginsRemoved(marginsOf(*record)).size();
        record->frame->resize(inner.expandedTo(QSize(1, 1)));
    }
    // The new frame's margins are known once the window system has framed
    // the window again: the rectangle is applied again then.
    if (reframed || record->pendingRect) {
        record->pendingRect = toQRect(rect);
        record->pendingMove = move;
    }
    if (reframed && visible) record->frame->show();
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
    if (record->pendingRect) {
        record->pendingRect = toQRect(rect);
        record->pendingMove = true;
    }
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

Rect screenArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? fromQRect(screen->virtualGeometry()) : Rect{};
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

} // namespace platform
