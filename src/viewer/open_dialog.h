// open_dialog.h - the open dialog "開く": the plug-ins' file types, starting
// in the open folder; the chosen path is opened.
#pragma once

// True when a path was chosen and opened.
bool runOpenDialog();
