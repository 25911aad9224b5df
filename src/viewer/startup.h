// startup.h - the process entry of the viewer.
#pragma once

// Makes the viewer (plug-ins beside the executable, settings in their usual
// place), runs the main window until it closes and returns the quit code.
int runViewer(int argc, char** argv);
