// clipboard.h - the copy command's picture: the processed picture at its own
// size as one packed DIB, put on the clipboard.
#pragma once

#include <vector>

#include "picture/picture_buffer.h"

// The 40-byte header, the palette (the entries the header's depth and
// colours-used give) and the rows, in one run of bytes. Empty for a picture
// the operations of this subsystem cannot read (see PictureBuffer::isHandled).
std::vector<unsigned char> packedDib(const PictureBuffer& picture);

// Puts the packed DIB on the clipboard (platform/desktop.h), the clipboard
// keeping its own copy. 0 when there was nothing to put.
int copyToClipboard(const PictureBuffer& picture);
