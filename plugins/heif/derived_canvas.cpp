// derived_canvas.cpp - a bounds-checked walk over the few ISO-BMFF boxes that
// locate a derived item's description.
#include "heif/derived_canvas.h"

#include <cstring>
#include <vector>

namespace {

// A window of the file; every read past its end fails and reads as zero.
struct Reader {
    const unsigned char* data;
    size_t size;
    size_t at = 0;
    bool failed = false;

    uint64_t read(int bytes) {
        if (bytes < 0 || size_t(bytes) > size - at) {
            failed = true;
            at = size;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = v << 8 | data[at++];
        return v;
    }
    bool skip(uint64_t bytes) {
        if (bytes > size - at) return failed = true, false;
        at += size_t(bytes);
        return true;
    }
};

struct Box {
    char type[4] = {};
    Reader body{nullptr, 0};
};

// The next box of `r`; false at the end or at a box that does not fit.
bool nextBox(Reader& r, Box& box) {
    if (r.size - r.at < 8) return false;
    uint64_t size = r.read(4);
    std::memcpy(box.type, r.data + r.at, 4);
    r.at += 4;
    size_t header = 8;
    if (size == 1) {
        size = r.read(8);
        header = 16;
    } else if (size == 0) {
        size = header + (r.size - r.at);
    }
    if (r.failed || size < header || size - header > r.size - r.at) return false;
    box.body = Reader{r.data + r.at, size_t(size - header)};
    r.at += size_t(size - header);
    return true;
}

bool is(const Box& box, const char* type) { return std::memcmp(box.type, type, 4) == 0; }

struct Location {
    uint32_t item = 0;
    int method = 0; // 0: offset in the file, 1: offset in "idat"
    uint64_t offset = 0;
    uint64_t length = 0;
};

// The first extent of every item in an "iloc" box.
std::vector<Location> readLocations(Reader r) {
    std::vector<Location> locations;
    const int version = int(r.read(1));
    r.read(3);
    const uint64_t sizes = r.read(2);
    const int offsetSize = int(sizes >> 12 & 15), lengthSize = int(sizes >> 8 & 15);
    const int baseSize = int(sizes >> 4 & 15), indexSize = version >= 1 ? int(sizes & 15) : 0;
    const uint64_t count = r.read(version < 2 ? 2 : 4);
    for (uint64_t i = 0; i < count && !r.failed; ++i) {
        Location location;
        location.item = uint32_t(r.read(version < 2 ? 2 : 4));
        if (version >= 1) location.method = int(r.read(2) & 15);
        r.read(2); // data reference index
        const uint64_t base = r.read(baseSize);
        const uint64_t extents = r.read(2);
        for (uint64_t e = 0; e < extents && !r.failed; ++e) {
            r.read(indexSize);
            const uint64_t offset = r.read(offsetSize), length = r.read(lengthSize);
            if (e == 0) location.offset = base + offset, location.length = length;
        }
        if (!r.failed && extents > 0) locations.push_back(location);
    }
    return locations;
}

// The items whose type is "grid" or "iovl", from an "iinf" box.
std::vector<std::pair<uint32_t, bool>> readDerivedItems(Reader r) {
    std::vector<std::pair<uint32_t, bool>> items; // the item, and whether it is an overlay
    const int version = int(r.read(1));
    r.read(3);
    const uint64_t count = r.read(version == 0 ? 2 : 4);
    Box entry;
    for (uint64_t i = 0; i < count && nextBox(r, entry); ++i) {
        if (!is(entry, "infe")) continue;
        Reader e = entry.body;
        const int entryVersion = int(e.read(1));
        e.read(3);
        if (entryVersion < 2) continue; // such entries name no item type
        const uint32_t item = uint32_t(e.read(entryVersion == 2 ? 2 : 4));
        e.read(2); // protection index
        if (e.size - e.at < 4) continue;
        const unsigned char* type = e.data + e.at;
        if (std::memcmp(type, "grid", 4) == 0) items.emplace_back(item, false);
        if (std::memcmp(type, "iovl", 4) == 0) items.emplace_back(item, true);
    }
    return items;
}

// The canvas in a grid's or an overlay's description.
bool readCanvas(Reader r, bool overlay, uint64_t& width, uint64_t& height) {
    r.read(1); // version
    const bool wide = (r.read(1) & 1) != 0;
    if (overlay) {
        r.skip(8); // the fill colour
    } else {
        r.read(2); // rows and columns
    }
    width = r.read(wide ? 4 : 2);
    height = r.read(wide ? 4 : 2);
    return !r.failed;
}

} // namespace

bool largestDerivedCanvas(const unsigned char* data, size_t size, uint32_t& width, uint32_t& height) {
    Reader file{data, size};
    Box top, meta;
    bool found = false;
    while (nextBox(file, top))
        if (is(top, "meta")) meta = top, found = true;
    if (!found) return false;
    Reader r = meta.body;
    r.read(4); // version and flags
    std::vector<Location> locations;
    std::vector<std::pair<uint32_t, bool>> derived;
    Reader idat{nullptr, 0};
    for (Box box; nextBox(r, box);) {
        if (is(box, "iloc")) locations = readLocations(box.body);
        if (is(box, "iinf")) derived = readDerivedItems(box.body);
        if (is(box, "idat")) idat = box.body;
    }
    uint64_t largest = 0;
    for (const auto& [item, overlay] : derived)
        for (const Location& location : locations) {
            if (location.item != item || location.method > 1) continue;
            const Reader& within = location.method == 1 ? idat : file;
            if (location.offset > within.size || location.length > within.size - location.offset) continue;
            uint64_t w = 0, h = 0;
            if (!readCanvas(Reader{within.data + location.offset, size_t(location.length)}, overlay, w, h)) continue;
            if (w * h <= largest) continue;
            largest = w * h;
            width = uint32_t(w);
            height = uint32_t(h);
        }
    return largest > 0;
}
