#include "viewer/command_line.h"

#include <algorithm>
#include <cstdio>

namespace {

// "/pos" followed by "(x,y,width,height)". A text with fewer than four numbers
// places nothing, rather than using values that were never given.
std::optional<WindowPlacement> readPlacement(const std::string& rest) {
    WindowPlacement placement;
    if (std::sscanf(rest.c_str(), "(%d,%d,%d,%d)", &placement.x, &placement.y, &placement.width,
                    &placement.height) != 4)
        return std::nullopt;
    return placement;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& token : arguments) {
        if (token == "/fs")
            line.fullScreen = true;
        else if (token.rfind("/pos", 0) == 0) {
            if (auto placement = readPlacement(token.substr(4))) line.placement = placement;
        } else if (token == "/slide")
            line.slideshow = true;
        else if (token == "/as")
            line.fitWindow = true;
        else if (token == "/list")
            line.showCatalog = true;
        else if (token == "/mode1")
            line.normalMode = true;
        else if (token == "/mode2")
            line.twoPageMode = true;
        else
            line.path = token;
    }
    return line;
}

platform::Rect placementOnScreen(const WindowPlacement& placement, const platform::Rect& screen) {
    auto hold = [](long long value, long long low, long long high) {
        return static_cast<int>(std::clamp(value, low, std::max(low, high)));
    };
    const int left = hold(placement.x, screen.left, screen.right - 1LL);
    const int top = hold(placement.y, screen.top, screen.bottom - 1LL);
    return platform::rectAt(left, top, hold(placement.width, 1, 0LL + screen.right - left),
                            hold(placement.height, 1, 0LL + screen.bottom - top));
}
