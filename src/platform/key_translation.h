// key_translation.h - Qt's keys, modifiers and mouse buttons in the layer's own
// codes (keys.h), for the widgets that turn Qt input into messages or
// notifications. Nothing above platform/ includes it.
#pragma once

#include <Qt>

#include "platform/window_message.h"

namespace platform::detail {

// The code of keys.h for a Qt key; letters in upper case.
int keyOf(int qtKey);
unsigned modifierState(Qt::KeyboardModifiers modifiers);
unsigned buttonState(Qt::MouseButtons buttons);
MouseButton mouseButtonOf(Qt::MouseButton button);

} // namespace platform::detail
