// desktop.h - what the viewer asks of the desktop: opening a file with the
// program the desktop chooses for it, and the clipboard.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Opens `path` (a help page, a catalog entry) with the desktop's program for
// it; 0 when the desktop refused.
int openWithDesktop(const std::string& path);

// Puts a packed DIB (header, palette, rows) on the clipboard, as a BMP file
// for the programs of this desktop and as a picture. The bytes are copied.
// 0 when they are not a whole DIB.
int setClipboardDib(const unsigned char* dib, std::size_t size);

// The clipboard's BMP file, empty when it holds none.
std::string clipboardBmp();

} // namespace platform
