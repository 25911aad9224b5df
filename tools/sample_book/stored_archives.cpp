// stored_archives.cpp - the three header layouts and their checksums.
#include "sample_book/stored_archives.h"

#include <zlib.h>

#include <cstdint>

namespace encoders {

namespace {

void put(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char(value >> (8 * i));
}

std::uint32_t crc32Of(const std::string& s) {
    return std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(s.data()), uInt(s.size())));
}

// A RAR 4 block: the low 16 bits of the CRC-32 of everything after the CRC field.
std::string rarBlock(const std::string& body) {
    std::string block;
    put(block, crc32Of(body) & 0xFFFF, 2);
    return block + body;
}

// RAR 5 numbers: seven bits a byte, lowest first, the top bit set on all but the last.
std::string vint(std::uint64_t value) {
    std::string out;
    do {
        unsigned char byte = value & 0x7F;
        value >>= 7;
        out += char(value ? byte | 0x80 : byte);
    } while (value);
    return out;
}

// A RAR 5 header: CRC-32 of the size field and everything after it, the size
// of what follows the size field, then the type-specific body.
std::string rar5Header(const std::string& body) {
    std::string sized = vint(body.size()) + body;
    std::string header;
    put(header, crc32Of(sized), 4);
    return header + sized;
}

// CRC-16 as LHA uses it (polynomial 0xA001, reflected).
std::uint16_t crc16(const std::string& s) {
    std::uint16_t crc = 0;
    for (unsigned char c : s) {
        crc ^= c;
        for (int i = 0; i < 8; ++i) crc = std::uint16_t(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
    return crc;
}

constexpr std::uint32_t kDosTime = (44u << 25) | (1u << 21) | (1u << 16); // 2024-01-01 00:00

} // namespace

std::string writeStoredRar4(const ArchiveMembers& members) {
    std::string out("Rar!\x1a\x07\x00", 7);
    std::string main;
    main += char(0x73);
    put(main, 0, 2);  // flags
    put(main, 13, 2); // header size
    put(main, 0, 6);  // reserved
    out += rarBlock(main);
    for (const auto& [name, data] : members) {
        std::string rarName = name;
        for (char& c : rarName)
            if (c == '/') c = '\\';
        std::string file;
        file += char(0x74);
        put(file, 0x8000, 2); // a data area follows
        put(file, std::uint32_t(32 + rarName.size()), 2);
        put(file, std::uint32_t(data.size()), 4); // packed
        put(file, std::uint32_t(data.size()), 4); // unpacked
        file += char(2);                          // written on Windows
        put(file, crc32Of(data), 4);
        put(file, kDosTime, 4);
        file += char(20);   // version needed
        file += char(0x30); // stored
        put(file, std::uint32_t(rarName.size()), 2);
        put(file, 0x20, 4); // archive attribute
        file += rarName;
        out += rarBlock(file) + data;
    }
    std::string end;
    end += char(0x7B);
    put(end, 0x4000, 2);
    put(end, 7, 2);
    return out + rarBlock(end);
}

std::string writeStoredRar5(const ArchiveMembers& members) {
    std::string out("Rar!\x1a\x07\x01\x00", 8);
    out += rar5Header(vint(1) + vint(0) + vint(0)); // main header, no flags, no archive flags
    for (const auto& [name, data] : members) {
        std::string file = vint(2);   // file header
        file += vint(0x02);           // a data area follows
        file += vint(data.size());    // packed size
        file += vint(0x02 | 0x04);    // modification time and data CRC present
        file += vint(data.size());    // unpacked size
        file += vint(0x20);           // archive attribute
        put(file, 1704067200, 4);     // 2024-01-01 00:00 UTC
        put(file, crc32Of(data), 4);
        file += vint(0);              // version 0, method "store"
        file += vint(0);              // written on Windows
        file += vint(name.size()) + name;
        out += rar5Header(file) + data;
    }
    return out + rar5Header(vint(5) + vint(0) + vint(0)); // end of archive
}

std::string writeStoredLzh(const ArchiveMembers& members) {
    std::string out;
    for (const auto& [name, data] : members) {
        std::string header = "-lh0-";
        put(header, std::uint32_t(data.size()), 4);
        put(header, std::uint32_t(data.size()), 4);
        put(header, kDosTime, 4);
        header += char(0x20); // attribute
        header += char(0);    // header level
        header += char(name.size());
        header += name;
        put(header, crc16(data), 2);
        unsigned sum = 0;
        for (unsigned char c : header) sum += c;
        out += char(header.size());
        out += char(sum & 0xFF);
        out += header + data;
    }
    return out + std::string(1, '\0');
}

} // namespace encoders
