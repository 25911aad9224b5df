// small_dialogs.h - the two small dialogs made from the template POWER
// (trackbar 1000, edit 1003 with its up-down 1008, check box 1014, OK 1):
// the page-number dialog "ページ指定" and the slideshow-interval dialog
// "スライドショー間隔（単位10m秒)". Neither has a cancel button; both open at
// the mouse cursor, 100 pixels left and 50 up, and take the `transparency`
// of the settings.
#pragma once

#include "platform/window_message.h"
#include "settings/viewer_state.h"

inline constexpr int kSlideIntervalMin = 100; // in tens of milliseconds
inline constexpr int kSlideIntervalMax = 3000;

struct PageNumberRequest {
    platform::WindowId owner = 0;
    int currentIndex = 0; // the page list's
    int pageCount = 0;
    bool spread = false; // a two-page spread is shown
    int transparency = 255;
    // Shows page `page` (counted from 0) and repaints the picture window.
    void (*showPage)(int page) = nullptr;
    // Repaints the picture window (unchecking the preview).
    void (*repaint)() = nullptr;
};

// The page the dialog starts at: the current page, or the spread's first
// page, which for the spread that wraps from the last page to the first is
// the last page.
int startingPage(int currentIndex, int pageCount, bool spread);

// Lets the user choose a page; with "プレビュー" checked, each number typed
// is shown once the typing pauses for more than 180 ms. OK (or the middle or
// an extra mouse button over the dialog) shows the chosen page, clamped to
// the list, and gives it; -1 when the dialog ended otherwise or there are no pages.
int runPageNumberDialog(const PageNumberRequest& request);

// Lets the user choose the slideshow interval in tens of milliseconds. OK
// stores the value, clamped to 100 ... 3000, times ten in `state.slidetime`
// and gives 1: the caller starts the slideshow. 0 when it ended otherwise.
int runSlideshowIntervalDialog(platform::WindowId owner, ViewerState& state);
