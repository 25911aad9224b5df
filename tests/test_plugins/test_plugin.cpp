// One source for every test plug-in; the build picks a variant with
// TEST_PLUGIN_<NAME>. The plug-ins make each rule of the host observable.
//
// Pictures: "TPIC" followed by a whole BMP file; GetPicture splits the BMP.
// Archives: "TARC\n" then one member a line, "folder<TAB>name<TAB>source[<TAB>size]",
// where source is the path of a file holding the member's bytes (empty for
// none) and size, when given, is what the listing claims instead of the real
// size. A member's position is 1000 + its line number, so a host that passed
// indexes instead of positions would extract the wrong member.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "susie_plugin.h"

namespace {

struct TypePair {
    const char* description;
    const char* patterns;
};

#if defined(TEST_PLUGIN_CONTENT)
const char* kKind = "00IN";
const char* kInfo = "content test plug-in";
const TypePair kPairs[] = {{"Test pictures", "*.tpc"}};
#elif defined(TEST_PLUGIN_ZERO)
const char* kKind = "00IN";
const char* kInfo = "counts the terminating zero";
const TypePair kPairs[] = {{"Zero one", "*.tz1;*.tz2"}, {"Zero two", "*.tz3"}};
#define COUNTS_ZERO 1
#elif defined(TEST_PLUGIN_NOZERO)
const char* kKind = "00IN";
const char* kInfo = "does not count the terminating zero";
const TypePair kPairs[] = {{"No zero one", "*.tn1;*.tn2"}, {"No zero two", "*.tn3"}};
#elif defined(TEST_PLUGIN_FAIL)
const char* kKind = "00IN";
const char* kInfo = "GetPicture fails";
const TypePair kPairs[] = {{"Failing pictures", "*.tpf"}};
#define PICTURE_FAILS 1
#elif defined(TEST_PLUGIN_LIAR)
const char* kKind = "00IN";
const char* kInfo = "GetPicture succeeds without blocks";
const TypePair kPairs[] = {{"Lying pictures", "*.tpl"}};
#define PICTURE_LIES 1
#elif defined(TEST_PLUGIN_NOIS)
const char* kKind = "00IN";
const char* kInfo = "no IsSupported";
const TypePair kPairs[] = {{"Unasked pictures", "*.tpc"}};
#define NO_IS_SUPPORTED 1
#elif defined(TEST_PLUGIN_NOINFO)
#define NO_PLUGIN_INFO 1
#elif defined(TEST_PLUGIN_OTHERKIND)
const char* kKind = "00XX";
const char* kInfo = "unknown kind";
const TypePair kPairs[] = {{"Other", "*.tpc"}};
#elif defined(TEST_PLUGIN_HOSTILE)
#define HOSTILE_INFO 1
#elif defined(TEST_PLUGIN_ARCHIVE)
const char* kKind = "00AM";
const char* kInfo = "test archives";
const TypePair kPairs[] = {{"Test archives", "*.tarc"}};
#define ARCHIVE 1
#elif defined(TEST_PLUGIN_ARCFAIL)
const char* kKind = "00AM";
const char* kInfo = "lists but reports failure";
const TypePair kPairs[] = {{"Failing archives", "*.tarf"}};
#define ARCHIVE 1
#define LISTING_REPORTS_FAILURE 1
#else
#error "no test plug-in variant chosen"
#endif

bool readWhole(const char* path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    out = bytes.str();
    return true;
}

// True when the file starts with `magic`. A memory image is read for all of
// SPI_SNIFF_BYTES, as real plug-ins may, so a host that hands over less than it
// promises is caught by the sanitizers.
[[maybe_unused]] bool startsWith(uintptr_t dw, const char* magic) {
    char head[4] = {};
    const std::size_t length = std::strlen(magic);
    if (dw < SPI_FILE_HANDLE_LIMIT) {
        if (::pread(static_cast<int>(dw), head, length, 0) != static_cast<ssize_t>(length))
            return false;
        return std::memcmp(head, magic, length) == 0;
    }
    const auto* image = reinterpret_cast<const unsigned char*>(dw);
    volatile unsigned sum = 0;
    for (std::size_t i = 0; i < SPI_SNIFF_BYTES; ++i)
        sum = sum + image[i];
    return std::memcmp(image, magic, length) == 0;
}

SpiHandle blockOf(const std::string& bytes, std::size_t from, std::size_t count) {
    SpiHandle block = spiAlloc(count);
    if (block && count) std::memcpy(spiLock(block), bytes.data() + from, count);
    return block;
}

[[maybe_unused]] int splitPicture(const std::string& file, SpiHandle* info, SpiHandle* bits) {
    if (file.size() < 4 + 14 || file.compare(0, 6, "TPICBM") != 0) return SPI_NOT_SUPPORT;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(file.data()) + 4 + 10;
    std::size_t offset = p[0] | (p[1] << 8) | (p[2] << 16) | (std::size_t{p[3]} << 24);
    if (offset < 14 || 4 + offset > file.size()) return SPI_OUT_OF_ORDER;
    *info = blockOf(file, 4 + 14, offset - 14);
    *bits = blockOf(file, 4 + offset, file.size() - 4 - offset);
    return SPI_ALL_RIGHT;
}

struct Member {
    std::string folder, name, source;
    bool claimsSize = false;
    long long claimedSize = 0;
};

[[maybe_unused]] bool readArchive(const char* path, std::vector<Member>& members) {
    std::string text;
    if (!readWhole(path, text) || text.compare(0, 5, "TARC\n") != 0) return false;
    std::istringstream lines(text.substr(5));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0, tab;
        while ((tab = line.find('\t', start)) != std::string::npos) {
            fields.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        fields.push_back(line.substr(start));
        if (fields.size() < 3) continue;
        Member member{fields[0], fields[1], fields[2]};
        if (fields.size() > 3) {
            member.claimsSize = true;
            member.claimedSize = std::stoll(fields[3]);
        }
        members.push_back(member);
    }
    return true;
}

} // namespace

extern "C" {

#ifdef HOSTILE_INFO
int infoCalls = 0;
// How often GetPluginInfo was asked, for the test that bounds it.
SPI_EXPORT int TestInfoCalls() {
    return infoCalls;
}
#endif

#ifndef NO_PLUGIN_INFO
SPI_EXPORT int GetPluginInfo(int infono, char* buf, int buflen) {
#ifdef HOSTILE_INFO
    // Fills every buffer to the brim without a terminator and claims more.
    // Type pairs go on as good as for ever: a host that asks until the
    // answer is 0 would ask a hundred thousand times.
    ++infoCalls;
    if (infono == 0) {
        std::memcpy(buf, "00IN", 4);
        return buflen + 100;
    }
    if (infono >= 2 && infono < 2 + 2 * 100000) {
        std::memset(buf, infono % 2 ? 'D' : 'p', static_cast<std::size_t>(buflen));
        return buflen + 100;
    }
    if (infono == 1) {
        std::memset(buf, 'i', static_cast<std::size_t>(buflen));
        return buflen * 4;
    }
    return 0;
#else
    const char* text = nullptr;
    const int pairCount = static_cast<int>(sizeof kPairs / sizeof kPairs[0]);
    if (infono == 0)
        text = kKind;
    else if (infono == 1)
        text = kInfo;
    else if (infono >= 2 && (infono - 2) / 2 < pairCount)
        text =
            infono % 2 ? kPairs[(infono - 2) / 2].description : kPairs[(infono - 2) / 2].patterns;
    if (!text || buflen <= 0) return 0;
    int length = static_cast<int>(std::strlen(text));
#ifdef COUNTS_ZERO
    length += 1;
#endif
    if (length > buflen) length = buflen;
    std::memcpy(buf, text, static_cast<std::size_t>(length));
    return length;
#endif
}
#endif

#ifndef NO_IS_SUPPORTED
SPI_EXPORT int IsSupported(const char*, uintptr_t dw) {
#if defined(ARCHIVE)
    return startsWith(dw, "TARC");
#elif defined(PICTURE_FAILS)
    // Takes BMP files too, so that a test can see the built-in reader is not
    // tried after an accepting plug-in failed.
    return startsWith(dw, "TPIC") || startsWith(dw, "BM");
#else
    return startsWith(dw, "TPIC");
#endif
}
#endif

#ifndef ARCHIVE
SPI_EXPORT int GetPicture(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                          SpiHandle* pHBm, SpiProgressCallback, long) {
#if defined(PICTURE_FAILS)
    (void)buf, (void)len, (void)flag, (void)pHBInfo, (void)pHBm;
    return SPI_OUT_OF_ORDER;
#elif defined(PICTURE_LIES)
    (void)buf, (void)len, (void)flag;
    *pHBInfo = nullptr;
    *pHBm = nullptr;
    return SPI_ALL_RIGHT;
#else
    std::string file;
    if ((flag & 7) == SPI_INPUT_MEMORY)
        file.assign(buf, static_cast<std::size_t>(len));
    else if (!readWhole(buf, file))
        return SPI_FILE_READ_ERROR;
    return splitPicture(file, pHBInfo, pHBm);
#endif
}
#endif

#ifdef ARCHIVE
SPI_EXPORT int GetArchiveInfo(const char* buf, long, unsigned int, SpiHandle* lphInf) {
    std::vector<Member> members;
    if (!readArchive(buf, members)) return SPI_NOT_SUPPORT;
    SpiHandle block = spiAlloc((members.size() + 1) * sizeof(SpiFileInfo));
    if (!block) return SPI_NO_MEMORY;
    auto* records = static_cast<SpiFileInfo*>(spiLock(block));
    for (std::size_t i = 0; i < members.size(); ++i) {
        std::string content;
        if (!members[i].source.empty()) readWhole(members[i].source.c_str(), content);
        std::memcpy(records[i].method, "STORED", 6);
        records[i].position = static_cast<uint32_t>(1000 + i);
        records[i].filesize = static_cast<uint32_t>(
            members[i].claimsSize ? members[i].claimedSize : (long long)content.size());
        std::snprintf(records[i].path, sizeof records[i].path, "%s", members[i].folder.c_str());
        std::snprintf(records[i].filename, sizeof records[i].filename, "%s",
                      members[i].name.c_str());
    }
    *lphInf = block;
#ifdef LISTING_REPORTS_FAILURE
    return 1;
#else
    return SPI_ALL_RIGHT;
#endif
}

SPI_EXPORT int GetFile(const char* src, long len, char* dest, unsigned int flag,
                       SpiProgressCallback, long) {
    std::vector<Member> members;
    if ((flag & 0x700) != SPI_OUTPUT_MEMORY || !readArchive(src, members)) return SPI_NOT_SUPPORT;
    long index = len - 1000;
    if (index < 0 || index >= static_cast<long>(members.size())) return SPI_OUT_OF_ORDER;
    std::string content;
    const std::string& source = members[static_cast<std::size_t>(index)].source;
    if (!source.empty() && !readWhole(source.c_str(), content)) return SPI_FILE_READ_ERROR;
    *reinterpret_cast<SpiHandle*>(dest) = blockOf(content, 0, content.size());
    return SPI_ALL_RIGHT;
}
#endif

} // extern "C"
