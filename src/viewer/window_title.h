// window_title.h - the main window's title for what is shown.
#pragma once

#include <string>

// The caption texts of the 13 zoom steps.
inline constexpr const char* kZoomLabels[] = {"0.1", "0.25", "0.5", "0.75", "1",   "1.25", "1.5",
                                              "2.0", "3.0",  "4.0", "6.0",  "8.0", "10.0"};

// "Voxa" with nothing shown; else the entry names in screen order, the zoom
// step in normal mode, and with dispdirectory the folder or archive name in
// front. Names are copied as they are, never used as a format.
std::string windowTitle();
