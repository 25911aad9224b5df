// accelerator_table.h - keyboard accelerators written down as plain data.
#pragma once

#include <cstddef>

#include "platform/keys.h"

namespace platform {

struct AcceleratorEntry {
    int key = key::Unknown;
    unsigned modifiers = 0; // kShiftHeld, kControlHeld, kAltHeld; must match exactly
    int command = 0;
};

struct AcceleratorTable {
    const char* name = "";
    const AcceleratorEntry* entries = nullptr;
    std::size_t count = 0;
};

// The command of the entry for `key` with exactly `modifiers` held (button
// flags are ignored); 0 when there is none.
inline int findAccelerator(const AcceleratorTable& table, int key, unsigned modifiers) {
    unsigned held = modifiers & (kShiftHeld | kControlHeld | kAltHeld);
    for (std::size_t i = 0; i < table.count; ++i) {
        const AcceleratorEntry& entry = table.entries[i];
        if (entry.key == key && entry.modifiers == held) return entry.command;
    }
    return 0;
}

} // namespace platform
