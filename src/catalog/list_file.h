// list_file.h - the catalog's list file (".vxl"): the 26 columns' display
// names and positions, the visible columns' widths and every row.
//
// All integers little-endian. Header of 18 bytes: "Voxa", u16 0 (reserved,
// not examined), u16 version 1, u16 0, i32 V, i32 26. Then per column id
// 0..25: i32 L, L bytes of name with its zero byte, i32 position (-1 hidden).
// Then V i32 widths. Then i32 N and per row: i32 icon, and V cells of i32 L
// and L bytes of text with its zero byte. The format ends after the last
// cell; only the trailer below may follow it.
//
// Text encoding. Every text is CP932, as the Windows program this format
// comes from writes it, and the limits count its CP932 bytes. A text that
// CP932 cannot hold (a Linux file name may hold any character) is written in
// the nearest form CP932 has (〜 as ～, é as e, 한 as ?: see
// platform::writeNearestCp932), and its original alone is kept in a trailer
// after the last row:
//
//   8 bytes "VoxaUTF8", i32 M, then M entries in increasing (row, column):
//   i32 row (-1 for a column's display name), i32 column (the column id of a
//   name, the display position of a cell), i32 L, L bytes of the original in
//   UTF-8 with its zero byte (at most 4 times the text's limit before it).
//
// A reader that follows the format reads the counts of the header (26
// columns, V widths, N rows of V cells) and stops after the last cell of the
// last row, so it never reaches the trailer and shows the nearest forms.
// Reading here restores each original whose nearest form is still the text
// in the body, so a body another program changed keeps its change. Bytes of
// the body that are no CP932 character read as stand-ins (the private-use
// platform::kByteStandIn + byte) and are written back as they were: a file
// reads and writes back byte for byte.
//
// Limits as stored: names at most 255 bytes, cells at most 1023 (longer
// texts are cut at a character boundary when written); a reader refuses a
// longer length, a negative one, and anything past the end of the file.
#pragma once

#include <cstdint>
#include <string>

#include "catalog/catalog_list.h"

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
// was; through a link, its target is the file; a file the user may not write
// is refused. Does not change `modified`.
int writeListFile(CatalogList& list, const std::string& path);

// The bytes writeListFile writes, and the parsing readListFile does, for
// callers that hold the bytes themselves (the fuzz target, the benchmark).
std::string listFileBytes(const CatalogList& list);
int readListBytes(CatalogList& list, const std::string& bytes);
