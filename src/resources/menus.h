// menus.h - the main window's two menu bars and its accelerator table.
#pragma once

#include <string_view>

#include "platform/accelerator_table.h"
#include "platform/menu_table.h"

namespace resources {

// "MENU", the menu bar of two-page mode.
const platform::MenuTable& twoPageMenu();
// "MENU_NORMAL", the menu bar of normal mode.
const platform::MenuTable& normalMenu();
// Either of them by name; null for another name.
const platform::MenuTable* findMenuTable(std::string_view name);

// "ACCEL": Ctrl+1 to Ctrl+4 (transparency) and Alt+C (caption).
const platform::AcceleratorTable& acceleratorTable();

} // namespace resources
