#include "archive/member_names.h"

#include <iconv.h>

#include <cstring>

#include <archive_entry.h>

#include "archive/archive_reader.h"

namespace {

bool isUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        auto c = static_cast<unsigned char>(text[at]);
        std::size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (length == 0 || text.size() - at < length) return false;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return false;
        // No overlong forms, surrogates or code points past U+10FFFF.
        auto second = static_cast<unsigned char>(length > 1 ? text[at + 1] : 0);
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;
        at += length;
    }
    return true;
}

bool isCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// libarchive turns every '\' of a RAR 4 name into '/', the second bytes of
// CP932 characters (表, ソ, 能 ...) among them. A '/' is never a second
// byte, so one in that place was such a '\'.
std::string withSecondBytesRestored(std::string name) {
    for (std::size_t at = 0; at + 1 < name.size(); ++at)
        if (isCp932Lead(static_cast<unsigned char>(name[at]))) {
            if (name[at + 1] == '/') name[at + 1] = '\\';
            ++at;
        }
    return name;
}

// The name read as CP932, or as it is stored when it is no CP932 either.
std::string fromCp932(const std::string& stored) {
    iconv_t cp932 = iconv_open("UTF-8", "CP932");
    if (cp932 == reinterpret_cast<iconv_t>(-1)) return stored;
    std::string name = withSecondBytesRestored(stored);
    std::string utf8(3 * name.size(), '\0'); // each byte at most three
    char* in = name.data();
    char* out = utf8.data();
    std::size_t inLeft = name.size(), outLeft = utf8.size();
    bool converted = iconv(cp932, &in, &inLeft, &out, &outLeft) != std::size_t(-1);
    iconv_close(cp932);
    if (!converted) return stored;
    utf8.resize(utf8.size() - outLeft);
    return utf8;
}

} // namespace

std::string memberName(archive_entry* entry) {
    if (const char* utf8 = archive_entry_pathname_utf8(entry)) return utf8;
    const char* stored = archive_entry_pathname(entry);
    if (!stored) return {};
    std::string name = stored;
    return isUtf8(name) ? name : fromCp932(name);
}

void copyFileName(char* field, std::size_t capacity, std::string_view name) {
    std::size_t dot = name.rfind('.');
    std::size_t extension = dot == std::string_view::npos ? 0 : name.size() - dot;
    if (name.size() < capacity || extension == 0 || 2 * extension >= capacity) {
        copyNameField(field, capacity, name.data(), name.size());
        return;
    }
    // The part before the extension takes at most capacity - extension - 1 bytes.
    copyNameField(field, capacity - extension, name.data(), dot);
    std::size_t kept = std::strlen(field);
    std::memcpy(field + kept, name.data() + dot, extension);
    field[kept + extension] = '\0';
}
