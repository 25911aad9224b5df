// menu_entries.h - shorthands for writing menu tables.
#pragma once

#include "platform/menu_table.h"

namespace resources::menu {

using platform::MenuEntry;
using Kind = platform::MenuEntryKind;

constexpr MenuEntry popup(const char* text) {
    return {Kind::Popup, 0, text};
}
constexpr MenuEntry end() {
    return {Kind::EndPopup, 0, ""};
}
constexpr MenuEntry separator() {
    return {Kind::Separator, 0, ""};
}
constexpr MenuEntry item(int id, const char* text) {
    return {Kind::Item, id, text};
}
constexpr MenuEntry radio(int id, const char* text) {
    return {Kind::RadioItem, id, text};
}

} // namespace resources::menu
