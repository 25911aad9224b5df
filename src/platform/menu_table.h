// menu_table.h - a menu bar written down as plain data.
//
// Entries are read in order: a Popup opens a nested popup that lasts until its
// EndPopup; items and separators belong to the innermost open popup. Radio
// items are drawn as one choice of a group (all radio items of one popup);
// which of them carries the mark is set by radioCheckMenuItem.
#pragma once

#include <cstddef>

namespace platform {

enum class MenuEntryKind { Item, RadioItem, Separator, Popup, EndPopup };

struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Item;
    int id = 0;            // command id of an item; 0 for the others
    const char* text = ""; // UTF-8; "&" marks the mnemonic, "\t" starts the key hint
};

struct MenuTable {
    const char* name = "";
    const MenuEntry* entries = nullptr;
    std::size_t count = 0;
};

} // namespace platform
