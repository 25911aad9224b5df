// layout_math.h - the arithmetic of the view layout, apart from any window.
//
// Sizes and positions are pixels. Products with a zoom or fit factor are
// truncated toward zero, halvings are integer divisions. The window code
// applies what these functions compute.
#pragma once

#include <optional>
#include <vector>

#include "platform/geometry.h"

inline constexpr int kZoomStepCount = 13;
inline constexpr double kZoomSteps[kZoomStepCount] = {0.1, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5,
                                                      2.0, 3.0,  4.0, 6.0,  8.0, 10.0};
inline constexpr int kActualSizeZoom = 4; // the index of 1.0

// Fit modes of normal mode (PICTUREMODE) and of two-page mode (picturemode).
enum NormalFit { kFitPicture = 0, kFitWindow = 1, kFitWidth = 2, kFitHeight = 3 };
enum TwoPageFit { kStretchToHalves = 0, kKeepAspect = 1, kReduceOnly = 2 };

// The displayed size of a picture in normal mode: at `zoomIndex` while the zoom
// is locked, else by the fit mode.
platform::Size normalDisplaySize(platform::Size picture, platform::Size client, int fitMode,
                                 bool zoomLocked, int zoomIndex);

// The offset that centres `display` in `client`, 0 when it does not fit.
int centredScroll(int client, int display);
// The offset that puts picture coordinate `point` at the client's centre,
// without leaving a gap on either side.
int centreOnScroll(int client, int display, int point);
// `scroll` moved by `delta` and held so that no gap opens (one axis).
int scrollByAxis(int scroll, int delta, int client, int display);
// The offset after the client was resized to `client` (one axis).
int resizedScroll(int scroll, int client, int display);

// The window rectangle whose client area shows `display`, kept inside the work
// area and at least 400 wide while the menu bar is shown. `frame` is the
// window size minus the client size.
platform::Rect windowRectForDisplay(const platform::Rect& window, platform::Size frame,
                                    platform::Size display, const platform::Rect& workArea,
                                    bool menuShown);

struct ZoomStep {
    int zoomIndex = kActualSizeZoom;
    platform::Point scroll;
    platform::Size display;
};
// The three zoom commands; nothing when the index is already at their end.
std::optional<ZoomStep> zoomIn(int zoomIndex, platform::Point scroll, platform::Size picture,
                               platform::Size client);
std::optional<ZoomStep> zoomOut(int zoomIndex, platform::Point scroll, platform::Size picture,
                                platform::Size client);
std::optional<ZoomStep> actualSize(int zoomIndex, platform::Point scroll, platform::Size picture,
                                   platform::Size client);

struct TwoPagePlacement {
    platform::Size first, second;
    platform::Point firstOrigin, secondOrigin;
};
// Sizes and origins of one picture (`second` empty) or a spread in two-page mode.
TwoPagePlacement placeTwoPage(platform::Size client, platform::Size first,
                              std::optional<platform::Size> second, int fitMode, bool rightBinding);

// The client rectangle minus the given rectangles, as rectangles that do not overlap.
std::vector<platform::Rect> subtractRects(const platform::Rect& client,
                                          const std::vector<platform::Rect>& covered);
