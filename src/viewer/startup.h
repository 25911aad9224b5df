// startup.h - the viewer's start: the process entry, and the command line
// applied once the main window stands.
//
// The options take effect in a fixed order whatever their order on the
// command line: /pos, /slide (queued to run last), /fs, /mode1, /mode2, the
// path, /as (queued), /list.
#pragma once

// Command 10200, posted by the main window to itself after its set-up.
void startupCommand();

// The process entry: makes the viewer (plug-ins beside the executable,
// settings in their usual place), runs the main window until it closes and
// returns the quit code.
int runViewer(int argc, char** argv);
