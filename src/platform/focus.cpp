#include "platform/focus.h"

#include <QApplication>

#include "platform/window_host.h"

namespace platform {

void activateWindow(WindowId window) {
    QWidget* frame = detail::frameWidget(window);
    if (!frame) return;
    frame->raise();
    frame->activateWindow();
    frame->setFocus(Qt::OtherFocusReason);
}

bool hasKeyboard(WindowId window) {
    QWidget* frame = detail::frameWidget(window);
    return frame && QApplication::focusWidget() == frame;
}

} // namespace platform
