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
    // A customised frame without the title hint keeps the border only.
    case WindowStyle::CaptionLess:
        return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowMinMaxButtonsHint;
    case WindowStyle::FullScreen:
        return Qt::Window | Qt::FramelessWindowHint;
    }
    return Qt::Window;
}

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

} // namespace platform
