// picture_info.h - the texts of the picture information dialog: what the file
// of a page is, what its picture is, and how large it is shown. Each text
// ends with a line break ("\r\n"); the dialog puts them one after the other.
#pragma once

#include <string>

#include "picture/picture_buffer.h"
#include "sources/page_list.h"

// The number of distinct colours of a 24-bit picture, counted in one pass
// over a 2^24-bit set; 0 for a picture that is not 24 bits or cannot be read.
int countColours(const PictureBuffer& picture);

// "・画像情報" with the size and depth, and for 24-bit pictures the colours in use.
std::string pictureInfoText(const PictureBuffer& picture);

// "・現在のサイズ" with the size the layout draws the picture at.
std::string shownSizeText(int width, int height);

// The file information of the list's entry `index`: in an archive the
// archive file's name, size and date and the member's name and listed size;
// in a folder the file's name, folder, size and date. A file that is not
// there gives the rows that say so, "ファイル情報取得失敗".
std::string fileInfoText(const PageList& pages, int index);
