// slideshow.h - the slideshow: timer 1 on the main window, each tick a
// next-page step. It starts stopped at every start of the viewer.
#pragma once

void toggleSlideshow();
// Starts (or restarts) it with the period slidetime.
void startSlideshow();
