// navigation.h - which pages are on screen: opening a path, stepping through
// the page list, pairing two pages into a spread, the read-ahead of the next
// pages.
//
// Every step decodes through the page list, processes each fresh page once
// with the current mode's rotation and filter, and ends in
// relayoutAndRepaint. A failed load leaves the pictures on screen alone and
// shows the page list's error text in a message box. The processed pictures
// of the view a step leaves are kept (Viewer::keptPages), so that a step
// back to it takes them instead of decoding again. Pages after the shown
// ones are decoded on the other cores (Viewer::pagesAhead) while next-page
// commands wait in the queue and, with read-ahead on, as far as the budget
// of pages ahead allows; a step takes its page from there when it can.
#pragma once

#include <string>

#include "picture/picture_buffer.h"

inline constexpr const char* kErrorCaption = "エラーっす";
inline constexpr const char* kPreviousPageErrorCaption = "エロじゃなくてエラーだ";

// True when a page is shown.
bool openPath(const std::string& path);
// Shows the page at position `n` of step mode `how` (LoadMode), paired with
// the page after it when both pair. True when the page loaded.
bool showFrom(int n, int how);
// The next-page step that uses and refills the read-ahead buffers.
bool showNextWithReadAhead();
// Runs the refill that showNextWithReadAhead queued, unless a later step
// cancelled it.
void refillReadAhead();
// Frees the read-ahead pictures, as when read-ahead is turned off.
void dropReadAhead();

// Whether a processed picture may stand in a spread.
bool isPairable(const PictureBuffer& picture);
// The same for a read-ahead picture, judged by the shape it will have once
// two-page mode's rotation has turned it.
bool isPairableUnprocessed(const PictureBuffer& picture);

// First, previous and next file and page, last and random file.
bool isNavigationCommand(int id);
// Runs navigation command `id`. While further navigation commands wait in
// the queue, the step changes the pages and the title and leaves the layout,
// scaling and painting to the last of them.
void navigate(int id);

// The navigation commands; each does nothing while nothing is shown, except
// next file in normal mode.
void firstFile();
void lastFile();
void nextPage();
void nextFile();
void previousPage();
void previousFile();
void randomFile();
void reverseBinding();
