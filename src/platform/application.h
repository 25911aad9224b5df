// application.h - the one application object and its message loop.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Makes the application; call once, before any window. `argv` must outlive it.
// The toolkit takes its own options out of `argv` (-style, -reverse, ...);
// its own dialogs speak Japanese. 0 when one exists already.
int startApplication(int argc, char** argv);
// The arguments the toolkit left, after the program's path.
std::vector<std::string> applicationArguments();
// Destroys it after the loop has ended; windows still open go with it.
void stopApplication();
bool hasApplication();

// Runs messages until postQuit; returns its code.
int runMessageLoop();
void postQuit(int code);

// Handles every message already waiting (posted commands, paints, deferred
// deletions) and returns.
void processPendingMessages();

} // namespace platform
