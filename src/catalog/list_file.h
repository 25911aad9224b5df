// list_file.h - the catalog's list file (".vxl"): the 26 columns' display
// names and positions, the visible columns' widths and every row.
//
// All integers little-endian. Header of 18 bytes: "Voxa", u16 text encoding
// (see below), u16 version 1, u16 0, i32 V, i32 26. Then per column id 0..25:
// i32 L, L bytes of name with its zero byte, i32 position (-1 hidden). Then V
// i32 widths. Then i32 N and per row: i32 icon, and V cells of i32 L and L
// bytes of text with its zero byte. Nothing follows the last cell.
//
// Text encoding. Texts are CP932, as the Windows program this format comes
// from writes them, and the u16 at offset 4 is 0. When some text of the
// catalog has no CP932 form (a Linux file name may hold any character),
// every text of the file is written as UTF-8 instead and that field holds
// kUtf8ListMarker, so no character is lost or replaced. Older readers never
// look at the field: they still read such a file, showing only the texts
// outside CP932 garbled. Any other value of the field means CP932.
//
// Limits as stored: names at most 255 bytes, cells at most 1023 (longer
// texts are cut at a character boundary when written); a reader refuses a
// longer length, a negative one, and anything past the end of the file.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/catalog_list.h"

inline constexpr std::uint16_t kUtf8ListMarker = 0x3855; // the bytes "U8"

// Replaces `list` with the file's catalog; 1 on success.
//
// A file that is missing, a folder, of another magic or version, of another
// column count, or whose header or columns are damaged (positions not each of
// 0 .. V-1 once with the title at 0, a bad length, an early end) is refused
// with `list` unchanged. A damaged row section fails after the columns were
// taken: `list` then holds the file's columns and the rows read before the
// damage, with `modified` and `hasFileName` false.
int readListFile(CatalogList& list, const std::string& path);

// Writes `list` to `path`; 1 on success. The new file replaces the old one
// only once it is completely written, so a failure leaves the old file as it
// was. Does not change `modified`.
int writeListFile(CatalogList& list, const std::string& path);

// The bytes writeListFile writes, and the parsing readListFile does, for
// callers that hold the bytes themselves (the fuzz target, the benchmark).
std::string listFileBytes(const CatalogList& list);
int readListBytes(CatalogList& list, const std::string& bytes);
