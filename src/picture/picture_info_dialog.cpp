#include "picture/picture_info_dialog.h"

#include <array>

#include "picture/picture_info.h"
#include "platform/dialog.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kLeftBox = 1003;
constexpr int kRightBox = 1004;

struct InfoTexts {
    std::array<std::string, 2> boxes; // left, right
    int transparency = 255;
};

int infoProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    const InfoTexts& texts = *static_cast<const InfoTexts*>(params.context);
    if (message == DialogMessage::Init) {
        platform::setControlText(dialog, kLeftBox, texts.boxes[0]);
        platform::setControlText(dialog, kRightBox, texts.boxes[1]);
        if (texts.transparency != 255) platform::setDialogOpacity(dialog, texts.transparency);
        return 1;
    }
    // OK or closing the window ends it; other commands are ignored.
    return platform::endOnOkOrCancel(dialog, message, params);
}

} // namespace

std::string pageInfoText(const PageList& pages, const ShownPage& page) {
    return fileInfoText(pages, page.index) + pictureInfoText(*page.picture) +
           shownSizeText(page.width, page.height);
}

void showPictureInformation(platform::WindowId owner, const PageList& pages,
                            std::span<const ShownPage> shown, int transparency) {
    if (shown.empty()) return;
    InfoTexts texts;
    texts.transparency = transparency;
    texts.boxes[0] = pageInfoText(pages, shown[0]);
    if (shown.size() == 1) {
        platform::runDialog("INFOPICTURE", owner, infoProcedure, &texts);
        return;
    }
    texts.boxes[1] = pageInfoText(pages, shown[1]);
    if (shown[0].left > shown[1].left) std::swap(texts.boxes[0], texts.boxes[1]);
    platform::runDialog("INFOPICTUREDOUBLE", owner, infoProcedure, &texts);
}
