// archive_writer.cpp - libarchive's writer into a string.
#include "sample_book/archive_writer.h"

#include <stdexcept>

#include <archive.h>
#include <archive_entry.h>

namespace encoders {

namespace {
la_ssize_t appendBytes(archive*, void* client, const void* data, size_t length) {
    static_cast<std::string*>(client)->append(static_cast<const char*>(data), length);
    return la_ssize_t(length);
}
} // namespace

std::string writeArchive(ArchiveFormat format, const ArchiveMembers& members) {
    std::string bytes;
    archive* a = archive_write_new();
    if (format == ArchiveFormat::Zip) archive_write_set_format_zip(a);
    if (format == ArchiveFormat::SevenZip) archive_write_set_format_7zip(a);
    if (format == ArchiveFormat::Tar) archive_write_set_format_pax_restricted(a);
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open(a, &bytes, nullptr, appendBytes, nullptr) != ARCHIVE_OK)
        throw std::runtime_error(archive_error_string(a));
    for (const auto& [name, data] : members) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, name.c_str());
        bool folder = !name.empty() && name.back() == '/';
        archive_entry_set_filetype(entry, folder ? AE_IFDIR : AE_IFREG);
        archive_entry_set_perm(entry, folder ? 0755 : 0644);
        archive_entry_set_size(entry, folder ? 0 : la_int64_t(data.size()));
        archive_entry_set_mtime(entry, 1700000000, 0);
        archive_write_header(a, entry);
        if (!folder && !data.empty()) archive_write_data(a, data.data(), data.size());
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
    return bytes;
}

} // namespace encoders
