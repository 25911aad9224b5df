// main_window.h - the main window (class "LUMAVEX"): its set-up, its
// procedure, which turns every key, character, wheel step, mouse button,
// dropped file and timer tick into a command, and the shutdown that saves
// the settings.
#pragma once

#include "platform/window.h"

inline constexpr const char* kMainWindowClass = "LUMAVEX";

int mainWindowProcedure(platform::WindowId window, platform::MessageKind kind,
                        const platform::MessageParams& params);

// Registers the classes and creates the main window (its set-up runs on its
// Create message: settings, menu, picture window) and shows it, with the
// accelerators in force. 0 when it could not be made.
platform::WindowId createMainWindow();
