#include "settings/small_dialogs.h"

#include <algorithm>
#include <string>

#include "platform/dialog.h"
#include "platform/window.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;
using platform::MouseButton;

constexpr int kTrackbar = 1000;
constexpr int kEdit = 1003;
constexpr int kUpDown = 1008;
constexpr int kPreview = 1014;
// The typed number is read from this many characters of the edit.
constexpr int kNumberChars = 4;

constexpr int kPreviewTimer = 1;
// A preview waits until the typing has paused for more than 180 ms.
constexpr int kPreviewPauseMs = 181;

// What both dialogs do on opening: the title, the translucency and the
// place at the mouse cursor.
void openPower(DialogId dialog, const char* title, int transparency) {
    platform::setDialogTitle(dialog, title);
    if (transparency != 255) platform::setDialogOpacity(dialog, transparency);
    const platform::Point cursor = platform::cursorScreenPosition();
    platform::moveDialog(dialog, {std::max(0, cursor.x - 100), std::max(0, cursor.y - 50)});
}

int typedNumber(DialogId dialog) {
    return platform::controlNumber(dialog, kEdit, kNumberChars);
}

// The trackbar's position goes into the edit when the edit says another number.
void trackbarMoved(DialogId dialog) {
    const int moved = platform::position(dialog, kTrackbar);
    if (typedNumber(dialog) != moved) platform::setControlText(dialog, kEdit, std::to_string(moved));
}

// ---- page number -------------------------------------------------------------

struct PageNumberSession {
    const PageNumberRequest* request;
    bool previewPending = false;
    int chosen = -1;
};

int clampedPage(DialogId dialog, const PageNumberRequest& request) {
    return std::clamp(typedNumber(dialog), 0, request.pageCount - 1);
}

void showPage(const PageNumberRequest& request, int page) {
    if (request.showPage) request.showPage(page);
}

void startPreview(DialogId dialog, PageNumberSession& session) {
    session.previewPending = true;
    platform::setDialogTimer(dialog, kPreviewTimer, kPreviewPauseMs);
}

void choose(DialogId dialog, PageNumberSession& session) {
    session.chosen = clampedPage(dialog, *session.request);
    showPage(*session.request, session.chosen);
    platform::endDialog(dialog, 1);
}

void initPageNumber(DialogId dialog, const PageNumberRequest& request) {
    const int first = startingPage(request.currentIndex, request.pageCount, request.spread);
    platform::setRange(dialog, kTrackbar, 0, request.pageCount - 1);
    platform::setTrackbarPage(dialog, kTrackbar, request.pageCount / 12);
    platform::setPosition(dialog, kTrackbar, first);
    platform::setRange(dialog, kUpDown, 0, request.pageCount - 1);
    platform::setControlText(dialog, kEdit, std::to_string(first));
    platform::focusControl(dialog, kEdit); // a typed number and Return choose a page
    openPower(dialog, "ページ指定", request.transparency);
}

int pageNumberProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    PageNumberSession& session = *static_cast<PageNumberSession*>(params.context);
    const PageNumberRequest& request = *session.request;
    switch (message) {
    case DialogMessage::Init:
        initPageNumber(dialog, request);
        return 1;
    case DialogMessage::Timer:
        platform::killDialogTimer(dialog, kPreviewTimer);
        if (session.previewPending) {
            session.previewPending = false;
            showPage(request, clampedPage(dialog, request));
        }
        return 1;
    case DialogMessage::ButtonDown:
        if (params.button == MouseButton::Middle || params.button == MouseButton::Extra1 ||
            params.button == MouseButton::Extra2)
            choose(dialog, session);
        return 1;
    case DialogMessage::Command:
        break;
    default:
        return 0;
    }
    switch (params.id) {
    case kTrackbar:
        trackbarMoved(dialog);
        return 1;
    case kEdit:
        platform::setPosition(dialog, kTrackbar, typedNumber(dialog));
        if (platform::isChecked(dialog, kPreview)) startPreview(dialog, session);
        return 1;
    case kPreview:
        if (platform::isChecked(dialog, kPreview))
            startPreview(dialog, session);
        else if (request.repaint)
            request.repaint();
        return 1;
    case platform::kOkId:
        choose(dialog, session);
        return 1;
    default:
        return 0; // no cancel: closing the window does nothing
    }
}

// ---- slideshow interval --------------------------------------------------------

int slideshowIntervalProcedure(DialogId dialog, DialogMessage message,
                               const DialogParams& params) {
    ViewerState& state = *static_cast<ViewerState*>(params.context);
    if (message == DialogMessage::Init) {
        platform::showControl(dialog, kPreview, false);
        platform::setRange(dialog, kTrackbar, kSlideIntervalMin, kSlideIntervalMax);
        platform::setTrackbarPage(dialog, kTrackbar, 250);
        platform::setPosition(dialog, kTrackbar, state.slidetime / 10);
        platform::setRange(dialog, kUpDown, kSlideIntervalMin, kSlideIntervalMax);
        platform::setControlText(dialog, kEdit, std::to_string(state.slidetime / 10));
        openPower(dialog, "スライドショー間隔（単位10m秒)", state.transparency);
        return 1;
    }
    if (message != DialogMessage::Command) return 0;
    if (params.id == kTrackbar) {
        trackbarMoved(dialog);
        return 1;
    }
    if (params.id != platform::kOkId) return 0;
    state.slidetime = 10 * std::clamp(typedNumber(dialog), kSlideIntervalMin, kSlideIntervalMax);
    platform::endDialog(dialog, 1);
    return 1;
}

} // namespace

int startingPage(int currentIndex, int pageCount, bool spread) {
    if (!spread) return currentIndex;
    return currentIndex - 1 < 0 ? pageCount - 1 : currentIndex - 1;
}

int runPageNumberDialog(const PageNumberRequest& request) {
    if (request.pageCount < 1) return -1;
    PageNumberSession session{&request};
    platform::runDialog("POWER", request.owner, pageNumberProcedure, &session);
    return session.chosen;
}

int runSlideshowIntervalDialog(platform::WindowId owner, ViewerState& state) {
    return platform::runDialog("POWER", owner, slideshowIntervalProcedure, &state) == 1 ? 1 : 0;
}
