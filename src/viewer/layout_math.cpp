#include "viewer/layout_math.h"

#include <algorithm>

namespace {

int scaled(int length, double factor) {
    return static_cast<int>(length * factor);
}

platform::Size zoomed(platform::Size picture, int index) {
    return {scaled(picture.width, kZoomSteps[index]), scaled(picture.height, kZoomSteps[index])};
}

// After zooming out, a negative offset must not leave a gap at the far side.
int closeGap(int scroll, int client, int display) {
    return scroll < 0 && scroll + display < client ? client - display : scroll;
}

// A negative offset is scaled with the zoom so that the picture point at the
// client's top-left corner stays in place. Each command words the product in
// its own order, and the order decides how the double truncates.
template <typename Rescale> platform::Point rescaled(platform::Point scroll, Rescale rescale) {
    return {scroll.x < 0 ? static_cast<int>(rescale(scroll.x)) : scroll.x,
            scroll.y < 0 ? static_cast<int>(rescale(scroll.y)) : scroll.y};
}

// Keep-aspect scaling of one picture into `room`.
platform::Size fitted(platform::Size picture, platform::Size room) {
    if (picture.width <= 0 || picture.height <= 0) return picture;
    double factor = std::min(static_cast<double>(room.width) / picture.width,
                             static_cast<double>(room.height) / picture.height);
    return {scaled(picture.width, factor), scaled(picture.height, factor)};
}

platform::Size placedSize(platform::Size picture, platform::Size room, int fitMode) {
    if (fitMode == kStretchToHalves) return room;
    if (fitMode == kKeepAspect) return fitted(picture, room);
    if (picture.width > room.width || picture.height > room.height) return fitted(picture, room);
    return picture;
}

} // namespace

platform::Size normalDisplaySize(platform::Size picture, platform::Size client, int fitMode,
                                 bool zoomLocked, int zoomIndex) {
    if (zoomLocked) return zoomed(picture, std::clamp(zoomIndex, 0, kZoomStepCount - 1));
    switch (fitMode) {
    case kFitWindow:
        if (client.width > 0 && client.height > 0) return client;
        return picture;
    case kFitWidth:
        if (client.width <= 0 || picture.width <= 0) return picture;
        return {client.width, std::max(1, scaled(picture.height, static_cast<double>(client.width) /
                                                                     picture.width))};
    case kFitHeight:
        if (client.height <= 0 || picture.height <= 0) return picture;
        return {
            std::max(1, scaled(picture.width, static_cast<double>(client.height) / picture.height)),
            client.height};
    default:
        return picture;
    }
}

int centredScroll(int client, int display) {
    return client > display ? (client - display) / 2 : 0;
}

int centreOnScroll(int client, int display, int point) {
    if (client > display) return (client - display) / 2;
    int scroll = client / 2 - point;
    if (scroll > 0) scroll = 0;
    if (scroll + display < client) scroll = client - display;
    return scroll;
}

int scrollByAxis(int scroll, int delta, int client, int display) {
    if (delta == 0 || display <= client) return scroll;
    scroll += delta;
    if (scroll + display < client) scroll = client - display;
    if (scroll > 0) scroll = 0;
    return scroll;
}

int resizedScroll(int scroll, int client, int display) {
    if (client > display) return (client - display) / 2;
    if (scroll > 0) return 0;
    if (scroll < 0 && client - scroll > display) return client - display;
    return scroll;
}

platform::Rect windowRectForDisplay(const platform::Rect& window, platform::Size frame,
                                    platform::Size display, const platform::Rect& workArea,
                                    bool menuShown) {
    int x = window.left, y = window.top;
    int width = display.width + frame.width, height = display.height + frame.height;
    if (x + width > workArea.right) {
        x = workArea.right - display.width;
        width = display.width;
        if (x < 0) {
            x = 0;
            width = workArea.right;
        }
    }
    if (y + height > workArea.bottom) {
        y = workArea.bottom - display.height;
        height = display.height;
        if (y < 0) {
            y = 0;
            height = workArea.bottom;
        }
    }
    if (menuShown && width < 400) width = 400;
    return platform::rectAt(x, y, width, height);
}

std::optional<ZoomStep> zoomIn(int zoomIndex, platform::Point scroll, platform::Size picture,
                               platform::Size client) {
    if (zoomIndex < 0 || zoomIndex >= kZoomStepCount - 1) return std::nullopt;
    const int i = zoomIndex;
    ZoomStep step{i + 1,
                  rescaled(scroll, [i](int v) { return v / kZoomSteps[i] * kZoomSteps[i + 1]; }),
                  zoomed(picture, i + 1)};
    if (step.scroll.x > 0 && step.display.width > client.width) step.scroll.x = 0;
    if (step.scroll.y > 0 && step.display.height > client.height) step.scroll.y = 0;
    return step;
}

std::optional<ZoomStep> zoomOut(int zoomIndex, platform::Point scroll, platform::Size picture,
                                platform::Size client) {
    if (zoomIndex <= 0 || zoomIndex >= kZoomStepCount) return std::nullopt;
    const int i = zoomIndex;
    ZoomStep step{i - 1,
                  rescaled(scroll, [i](int v) { return kZoomSteps[i - 1] / kZoomSteps[i] * v; }),
                  zoomed(picture, i - 1)};
    step.scroll.x = closeGap(step.scroll.x, client.width, step.display.width);
    step.scroll.y = closeGap(step.scroll.y, client.height, step.display.height);
    return step;
}

std::optional<ZoomStep> actualSize(int zoomIndex, platform::Point scroll, platform::Size picture,
                                   platform::Size client) {
    if (zoomIndex == kActualSizeZoom || zoomIndex < 0 || zoomIndex >= kZoomStepCount)
        return std::nullopt;
    const int i = zoomIndex;
    ZoomStep step{kActualSizeZoom, rescaled(scroll, [i](int v) { return 1.0 / kZoomSteps[i] * v; }),
                  picture};
    step.scroll.x = closeGap(step.scroll.x, client.width, step.display.width);
    step.scroll.y = closeGap(step.scroll.y, client.height, step.display.height);
    return step;
}

TwoPagePlacement placeTwoPage(platform::Size client, platform::Size first,
                              std::optional<platform::Size> second, int fitMode,
                              bool rightBinding) {
    TwoPagePlacement placement;
    if (!second) {
        if (fitMode == kStretchToHalves) {
            placement.first = client;
            return placement;
        }
        placement.first = placedSize(first, client, fitMode);
        placement.firstOrigin = {client.width / 2 - placement.first.width / 2,
                                 client.height / 2 - placement.first.height / 2};
        return placement;
    }
    const int half = client.width / 2;
    const platform::Size room{half, client.height};
    placement.first = placedSize(first, room, fitMode);
    placement.second = placedSize(*second, room, fitMode);
    if (fitMode == kStretchToHalves) {
        placement.firstOrigin = {rightBinding ? half : 0, 0};
        placement.secondOrigin = {rightBinding ? 0 : half, 0};
        return placement;
    }
    // The pages meet at the centre line, each centred vertically.
    placement.firstOrigin = {rightBinding ? half : half - placement.first.width,
                             (client.height - placement.first.height) / 2};
    placement.secondOrigin = {rightBinding ? half - placement.second.width : half,
                              (client.height - placement.second.height) / 2};
    return placement;
}

std::vector<platform::Rect> subtractRects(const platform::Rect& client,
                                          const std::vector<platform::Rect>& covered) {
    std::vector<platform::Rect> pieces{client};
    for (const platform::Rect& hole : covered) {
        std::vector<platform::Rect> next;
        for (const platform::Rect& piece : pieces) {
            const int left = std::max(piece.left, hole.left),
                      right = std::min(piece.right, hole.right);
            const int top = std::max(piece.top, hole.top),
                      bottom = std::min(piece.bottom, hole.bottom);
            if (left >= right || top >= bottom) {
                next.push_back(piece);
                continue;
            }
            // Above, below, then the left and right strips beside the hole.
            if (piece.top < top) next.push_back({piece.left, piece.top, piece.right, top});
            if (bottom < piece.bottom)
                next.push_back({piece.left, bottom, piece.right, piece.bottom});
            if (piece.left < left) next.push_back({piece.left, top, left, bottom});
            if (right < piece.right) next.push_back({right, top, piece.right, bottom});
        }
        pieces = std::move(next);
    }
    return pieces;
}
