// window_frame.h - the commands that change the main window's frame: full
// screen, the caption and menu-bar toggles, fitting the window to the
// picture, and the two-page resize by wheel.
#pragma once

void toggleFullScreen();
void toggleCaption();
void toggleMenuBar();
void fitWindowToPicture();
// Grows (positive) or shrinks the window by `step` pixels in both directions.
void resizeWindowBy(int step);

// The frame style the CAPTION setting asks for outside full screen.
void applyWindowedStyle();
