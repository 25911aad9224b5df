// view_layout.h - where and how large the shown pictures appear.
//
// Normal mode moves the picture window (exactly the displayed size) inside
// the main window's client area and may resize the main window to follow
// the picture; two-page mode fills the client area with the picture window
// and places the pictures inside it. With a mode's `engine` on, the pictures
// are scaled once per layout into the screen bitmap; otherwise the platform
// stretches them at every paint.
#pragma once

#include "picture/picture_buffer.h"
#include "platform/geometry.h"

// Lays out what shownCount says is shown and repaints both windows; while
// the layout's deferPainting is set, only the title follows.
void relayoutAndRepaint();
void layoutNormal();
void layoutNormalZoom();
void layoutTwoPage();
// Places the normal-mode picture window so that picture point (px, py) lies
// at the client's centre.
void centreOn(int px, int py, bool repaint);
void scrollBy(int dx, int dy);
// Scales the shown pictures into a new screen bitmap of that size.
void composeScreen(int width, int height);

// True when normal mode shows the main picture at its own size as it is
// stored (24 bits): the engines' one-to-one copy would be the same bytes, so
// the picture window draws the picture's rows themselves.
bool showsUnscaled(const PictureBuffer& picture);

// Zoom commands of normal mode: in, out, actual size; lock toggles the lock.
void zoomIn();
void zoomOut();
void zoomActualSize();
void toggleZoomLock();

// The main window's client area became `client`.
void resizeView(platform::Size client);
