// catalog_menus.h - the catalog window's menu bar and its popup menu.
#pragma once

#include "platform/menu_table.h"

namespace resources {

// "LISTMENU", the catalog window's menu bar.
const platform::MenuTable& listMenu();
// "LISTPOP": one popup, "ふつー", shown on a right click.
const platform::MenuTable& listPopup();

} // namespace resources
