// viewer_state.h - the viewer's options: the application-wide ones and one
// record per viewing mode. Fields are named after the keys they are kept
// under in the settings file; every field is a 32-bit signed integer, and a
// flag is 0 or 1.
#pragma once

#include <array>

// Index of a mode's record in ViewerState::modes, the value of MODE.
inline constexpr int kTwoPageMode = 0; // section MODE2
inline constexpr int kNormalMode = 1;  // section NORMAL

struct ModeSettings {
    int autoscroll = 0; // flag; normal mode only, two-page mode's stays 0
    int hidecursor = 0; // flag
    int automenu = 0;   // flag
    int clickpage = 0;  // flag; two-page mode only, normal mode's stays 0
    int engine = 0;     // flag: 1 scale with our own engines, 0 let the platform stretch
    int kakudai = 0;    // enlarging engine, index into kEnlargeEngineNames
    int syukusyou = 0;  // reducing engine, index into kReduceEngineNames
    int kakusyuku = 0;  // mixed engine (one direction grows, the other shrinks)
    int FILTER = 0;     // colour filter code, 0 to 8
    int TRANSFORM = 0;  // rotation or flip code, 0 to 6
};

struct ViewerState {
    int RightorLeft = 0;   // 1 right binding, 0 left binding
    int transparency = 0;  // opacity of the small dialogs and the catalog window, 1 to 255
    int mihiraki = 0;      // spread rule: 0 auto, 1 always one picture, 2 always a spread
    int picturemode = 0;   // two-page fit mode, 0 to 2
    int PICTUREMODE = 0;   // normal-mode fit mode, 0 to 3
    int slidetime = 0;     // slideshow interval in milliseconds
    int CAPTION = 0;       // flag: the title bar is shown
    int MENU = 0;          // flag: the menu bar is shown
    int MODE = 0;          // kNormalMode or kTwoPageMode
    int synchro = 0;       // flag: filter and rotation commands set both modes
    int savefilter = 0;    // flag: FILTER and TRANSFORM are read back from the file
    int use24bit = 0;      // flag, key "24bit": convert every picture to 24 bits
    int rotmove = 0;       // flag: align the view when a picture is turned
    int dblmode = 0;       // flag: a double-click changes the mode
    int modesizech = 0;    // flag: keep the window size when the mode changes
    int sakiyomi = 0;      // flag: the next-page command reads ahead
    int dispdirectory = 0; // flag: the title shows the folder or archive name

    // Full screen is on. Saved so the file tells how the viewer was left, but
    // never read: every start is windowed.
    int FullScreen = 0;
    // MENU as it was when full screen was entered (full screen removes the menu
    // bar); saving writes this instead of MENU while full screen is on.
    int menuBeforeFullScreen = 0;

    std::array<ModeSettings, 2> modes{};
};
