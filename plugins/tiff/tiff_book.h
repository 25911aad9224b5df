// tiff_book.h - the pages of a multi-page TIFF as the members of an archive,
// each handed out as an uncompressed BMP file the host reads itself.
#pragma once

#include "susie_plugin.h"
#include "tiff/tiff_source.h"

// GetArchiveInfo: one member per page ("0001.bmp" ...), in file order, its
// position the page's directory number and its size that of its BMP file.
int listTiffBook(TiffSource& source, SpiHandle* listing);

// GetFile to memory: the page whose directory number is `position` as a BMP
// file (bilevel, grey and palette pages keep their depth, others 24 bits).
int extractTiffPage(TiffSource& source, long position, SpiHandle* page);
