// command_line.h - the options and the path given on the command line.
//
// Each argument is one token (the shell has already split and unquoted them)
// and is compared exactly, letter case included: "/FS" is a path. The effects
// are applied later in a fixed order, whatever the order of the tokens.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct CommandLine {
    bool fullScreen = false;                  // "/fs"
    bool slideshow = false;                   // "/slide"
    bool fitWindow = false;                   // "/as"
    bool showCatalog = false;                 // "/list"
    bool normalMode = false;                  // "/mode1"
    bool twoPageMode = false;                 // "/mode2"
    std::optional<WindowPlacement> placement; // "/pos(x,y,width,height)"
    std::string path;                         // the last other token
};

// `arguments` are the tokens after the program's own path.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The window rectangle of a placement, held to `screen`: its top-left corner
// on the screen, its size at least 1 and no larger than the screen leaves
// from there. Numbers of any size give a rectangle without overflow.
platform::Rect placementOnScreen(const WindowPlacement& placement, const platform::Rect& screen);
