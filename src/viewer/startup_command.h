// startup_command.h - the command line, applied once the main window stands
// (command 10200, posted by the main window to itself after its set-up).
//
// The options take effect in a fixed order whatever their order on the
// command line: /pos, /slide (queued to run last), /fs, /mode1, /mode2, the
// path, /as (queued), /list.
#pragma once

void startupCommand();
