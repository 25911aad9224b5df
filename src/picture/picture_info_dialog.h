// picture_info_dialog.h - the picture information dialog "画像情報":
// INFOPICTURE for one shown page, INFOPICTUREDOUBLE for a spread.
#pragma once

#include <span>
#include <string>

#include "picture/picture_buffer.h"
#include "platform/window_message.h"
#include "sources/page_list.h"

struct ShownPage {
    int index = 0; // the page list's entry
    const PictureBuffer* picture = nullptr;
    int width = 0; // the size the layout draws it at
    int height = 0;
    int left = 0; // its left edge in the picture window
};

// File information, picture information and shown size of one page.
std::string pageInfoText(const PageList& pages, const ShownPage& page);

// Shows the texts of the shown pages, modal over `owner`, translucent by
// `transparency`: one page in INFOPICTURE's box 1003; a spread (the first
// page, then the second) in INFOPICTUREDOUBLE, whose left box 1003 gets the
// text of the page drawn further left. Nothing for no page.
void showPictureInformation(platform::WindowId owner, const PageList& pages,
                            std::span<const ShownPage> shown, int transparency);
