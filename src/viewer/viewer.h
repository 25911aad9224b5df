// viewer.h - the viewer's process-wide state: the settings, the open
// document, the layout, the picture window's mouse state and the windows.
//
// There is one Viewer in the process (made by runViewer, or by a test). The
// window procedures and the commands reach it through viewer(); everything
// runs on the one thread of the message loop.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "catalog/catalog_window.h"
#include "picture/page_cache.h"
#include "picture/picture_buffer.h"
#include "picture/screen_bitmap.h"
#include "platform/drawing.h"
#include "platform/geometry.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "settings/settings_file.h"
#include "settings/viewer_state.h"
#include "sources/background_decoder.h"
#include "sources/page_list.h"
#include "viewer/layout_math.h"

enum RefillPages { kRefillNothing = 0, kRefillSecond = 1, kRefillBoth = 2 };

// Where a shown picture came from: the entry, and once processed the options
// and the rotation of its processing. A picture that leaves the screen is
// kept for a step back under this key while the options are still those in
// force.
struct PageOrigin {
    PageKey key; // index -1: not known, never kept
    int rotation = 0;
    bool processed = false;
};

// The processed pictures of views left stay within this many bytes: a
// spread of 2480 x 3508 scans in 24 bits. A step that decodes drops those
// of views before the one just left (PageCache::dropEarlierSteps).
inline constexpr std::size_t kKeptPagesBudget = std::size_t{56} << 20;
// Pages decoded ahead of the reader (the two read-ahead buffers and the
// background decoder's pictures together), held within this many pictures
// and, with the kept pages, this many bytes.
inline constexpr std::size_t kPagesAhead = 6;
inline constexpr std::size_t kPagesAheadBudget = std::size_t{512} << 20;

// The pictures of the open document. Each buffer owns its blocks; pictures
// move between them by attach on the receiver and release on the giver.
struct OpenDocument {
    PictureBuffer main;   // the first (or only) shown page, processed
    PictureBuffer second; // the second page of a spread, processed
    PageOrigin mainOrigin, secondOrigin;
    // The origin of the picture the page list holds as loaded: a picture
    // taken from keptPages is processed already.
    PageOrigin loadedOrigin;
    // The two pages after the shown ones, decoded but not yet processed.
    PictureBuffer readAhead[2];
    int readAheadIndex[2] = {-1, -1}; // the entries they hold; -1 none
    bool readAheadValid = false;
    // A refill of the read-ahead buffers queued to run once the step that
    // asked for it has been painted; any other step cancels it.
    int refillPending = kRefillNothing;
    // On the switch from a spread to normal mode: true keeps its first page.
    bool keepFirstOfSpread = false;
    // Where the last failed load left the page list, -1 for none. The list's
    // index goes back to the pages on screen, so that the title and every
    // command name what is shown; the next step counts from the failed page,
    // so a page that cannot be decoded never blocks the way past it.
    int failedIndex = -1;
};

struct ViewCentre {
    platform::Point point;
    bool pending = false;
};

// Where and how large the shown pictures are.
struct ViewLayout {
    int shownCount = 0; // 0 nothing, 1 one picture, 2 a spread (two-page mode only)
    int displayWidth = 0;
    int displayHeight = 0;
    int secondDisplayWidth = 0;
    int secondDisplayHeight = 0;
    platform::Point firstOrigin;  // in the picture window, two-page mode
    platform::Point secondOrigin;
    int scrollX = 0; // the picture window in the main client area, normal mode
    int scrollY = 0;
    int zoomIndex = kActualSizeZoom;
    bool zoomLocked = false;
    // The picture window's part no picture covers, erased on repaint.
    std::vector<platform::Rect> backgroundRegion;
    platform::Rect twoPageWindowRect;
    bool fullScreen = false;
    bool fullScreenFromNormal = false; // full screen was entered in normal mode
    platform::Rect savedWindowRect;
    int frameWidth = 0;
    int frameHeight = 0;
    ViewCentre pendingViewCentre;
    // While further steps wait, a step leaves the layout and the painting to
    // the last of them: relayoutAndRepaint then only sets the title and
    // notes that they are owed.
    bool deferPainting = false;
    bool paintingOwed = false;
};

// What a normal-mode screen bitmap shows: the processed page, its displayed
// size and the engines that scaled it; an empty page key for anything else.
struct ComposedView {
    PageKey page;
    platform::Size display;
    int engines[3] = {0, 0, 0};
    bool operator==(const ComposedView&) const = default;
};

// A picture reduced by the platform for drawing (reduced_pictures.h).
struct ReducedEntry {
    platform::MemoryHandle header = nullptr; // the picture's header block
    platform::Size size;
    std::shared_ptr<const platform::ReducedPicture> picture;
};

// The picture window's mouse state.
struct PictureWindowState {
    bool dragActive = false;
    platform::Point dragAnchor; // main client coordinates
    bool menuShownByHover = false;
    bool xButtonArmed = false; // the first extra button is down, on either window
};

struct Viewer {
    // Loads the plug-ins of `pluginFolder`; the settings are read from and
    // saved to `settingsFile`.
    Viewer(const std::string& pluginFolder, SettingsLocation settingsFile);
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    ViewerState settings;
    SettingsLocation settingsFile;
    PageList pages;
    OpenDocument document;
    PageCache keptPages{kKeptPagesBudget}; // processed pictures of views left
    BackgroundDecoder pagesAhead; // pages decoded on the other cores
    ViewLayout layout;
    ScreenBitmap screen;
    ComposedView screenShows;
    // The normal-mode screen bitmap of the view just left, for a step back.
    ScreenBitmap screenLeft;
    ComposedView screenLeftShows;
    std::vector<ReducedEntry> reduced;
    PictureWindowState mouse;

    platform::WindowId mainWindow = 0;
    platform::WindowId pictureWindow = 0;
    platform::MenuHandle menu = 0;
    CatalogWindow catalog;
    bool slideshowRunning = false;
    std::vector<std::string> commandLine; // the arguments after the program's path
    std::minstd_rand random;

    bool normalMode() const { return settings.MODE == kNormalMode; }
    ModeSettings& mode() { return settings.modes[normalMode() ? kNormalMode : kTwoPageMode]; }
};

// The one viewer; it must exist.
Viewer& viewer();
// Makes `instance` the one viewer (null: none).
void setViewer(Viewer* instance);

// random(lo, hi) of the navigation and catalog commands: lo + r mod (hi - lo + 1).
int randomBetween(int lo, int hi);
