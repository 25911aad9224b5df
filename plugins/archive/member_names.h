// member_names.h - archive members' names as the member records hold them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct archive_entry;

// The member's path in UTF-8: libarchive's UTF-8 form when it has one, else
// the bytes the archive stores. Those are read as CP932 when they are not
// UTF-8: archives made on Japanese Windows (most ZIP and TAR files named in
// Japanese) store their names so. When they are neither, they stay as they are.
std::string memberName(archive_entry* entry);

// Copies the file name `name` into a field of `capacity` bytes,
// zero-terminated. A name that does not fit keeps its extension (the text
// from its last '.', when that takes less than half the field) and loses
// the end of what comes before it, cut at a UTF-8 character boundary, so
// the member is still known by its type.
void copyFileName(char* field, std::size_t capacity, std::string_view name);
