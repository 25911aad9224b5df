// menu.h - menu bars built from menu tables, attached to top-level windows.
//
// A menu lives apart from any window until it is attached; choosing an item
// sends its id as a Command to the window it is attached to. Check marks are
// set only by the calls below, never by choosing an item.
#pragma once

#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/menu_table.h"
#include "platform/window_message.h"

namespace platform {

using MenuHandle = unsigned; // 0 is no menu

// A new menu bar with the table's popups and items; 0 for a table whose
// popups do not nest properly.
MenuHandle loadMenu(const MenuTable& table);
// Destroys the menu, detaching it first; 0 when it is not a menu.
int destroyMenu(MenuHandle menu);
bool isMenu(MenuHandle menu);

// Puts the bar at the top of the window, above the client area, which
// shrinks by the bar's height; the window keeps its size. A bar already
// there is detached (not destroyed). 0 when either handle is not valid.
int attachMenu(WindowId window, MenuHandle menu);
// Takes the bar off the window; the client grows back. The menu survives.
void detachMenu(WindowId window);
MenuHandle attachedMenu(WindowId window);

// 0 when the menu has no item `id`.
int checkMenuItem(MenuHandle menu, int id, bool checked);
// Marks `id` and clears every other item of first..last; an `id` outside the
// range (or absent) leaves the range without a mark.
int radioCheckMenuItem(MenuHandle menu, int first, int last, int id);
bool isMenuItemChecked(MenuHandle menu, int id);
bool hasMenuItem(MenuHandle menu, int id);
// The item's text as the table gave it; empty when absent.
std::string menuItemText(MenuHandle menu, int id);
// The texts of the bar's popups, in order.
std::vector<std::string> menuBarTitles(MenuHandle menu);

// Shows popup number `popupIndex` of the menu bar at `screenPoint` and waits
// for a choice (through the modal seam, modal.h); the chosen id is sent as a
// Command to `owner` and returned, 0 when nothing was chosen.
int popupMenu(WindowId owner, MenuHandle menu, int popupIndex, Point screenPoint);

} // namespace platform
