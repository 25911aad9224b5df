// catalog_window.h - the catalog window (class "CListWin"): the catalog as a
// report list under a toolbar, with the menu LISTMENU and the popup LISTPOP.
//
// The viewer makes it hidden when its main window is made, shows and hides
// it, and opens its rows; closing it only hides it. The catalog reaches the
// viewer only through the ViewerLink the viewer fills in and through the
// main window's commands (40108, 40109, 40110, 40120).
//
// Sections of the implementation:
//   catalog_window.cpp   the window, its children and its messages
//   catalog_view.cpp     the report list kept in step with the catalog
//   catalog_commands.cpp the commands of the menus, toolbar and keys
//   catalog_files.cpp    new, open, save and save as
//   row_opening.cpp      opening rows in the viewer, with their pages and counts
//   folder_tree_command.cpp  adding a folder tree behind a progress window
//   disc_prompt.cpp      asking for the disc of a path that is not there
#pragma once

#include <functional>
#include <string>

#include "catalog/catalog_list.h"
#include "platform/menu.h"
#include "platform/report_list.h"
#include "platform/toolbar.h"
#include "platform/window.h"

class PageList;

inline constexpr const char* kCatalogWindowClass = "CListWin";
inline constexpr const char* kCatalogTitle = "リスト";

// What the catalog needs of the viewer, filled in before the window is made.
struct ViewerLink {
    platform::WindowId mainWindow = 0; // the owner, which takes the catalog's commands for it
    // The open folder or archive and its current page, and the plug-ins that
    // tell archives from other files when rows are added. Required.
    const PageList* pages = nullptr;
    // Opens a path in the viewer; true when a page is shown.
    std::function<bool(const std::string&)> openPath;
    // Shows the pages from index n, counted from 0.
    std::function<void(int)> showPage;
    // How many pictures are on screen: 0, 1, or 2 for a spread.
    std::function<int()> shownCount;
    int* transparency = nullptr; // the viewer's setting: 255 opaque .. 1
};

struct CatalogWindow {
    ViewerLink viewer;
    CatalogList list;
    platform::WindowId window = 0;
    platform::ReportListId view = 0;
    platform::ToolbarId toolbar = 0;
    platform::MenuHandle popup = 0; // LISTPOP
    // The main window's flag that the catalog is shown: set when the viewer
    // shows it, cleared when it is closed or hidden.
    bool shown = false;
};

// Registers "CListWin" and makes the window, hidden, with an empty catalog
// of the default columns. `catalog` must outlive the window; the window goes
// with its owner or on the quit command. 0 when it could not be made.
platform::WindowId createCatalogWindow(CatalogWindow& catalog);

int catalogWindowProcedure(platform::WindowId window, platform::MessageKind kind,
                           const platform::MessageParams& params);
