// main_window_input.h - the main window's keys, characters, wheel and mouse
// buttons, each turned into a command or a scroll.
#pragma once

#include "platform/window_message.h"

void keyDown(const platform::MessageParams& params);
void character(const platform::MessageParams& params);
void wheel(const platform::MessageParams& params);
void mainButtonDown(const platform::MessageParams& params);
void mainButtonUp(const platform::MessageParams& params);
