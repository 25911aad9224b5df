#include "platform/key_translation.h"

#include "platform/keys.h"

namespace platform::detail {

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

MouseButton mouseButtonOf(Qt::MouseButton button) {
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

} // namespace platform::detail
