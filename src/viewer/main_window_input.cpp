#include "viewer/main_window_input.h"

#include "platform/keys.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "viewer/catalog_link.h"
#include "viewer/menu_marks.h"
#include "viewer/navigation.h"
#include "viewer/view_layout.h"
#include "viewer/viewer.h"
#include "viewer/window_frame.h"

namespace {

using platform::MessageParams;

// Page commands go through the queue, so that the repeats of a held key
// that wait there are stepped through without painting each view (navigate);
// while anything waits there, a key's command queues behind it, in order.
void command(int id) {
    const platform::WindowId window = viewer().mainWindow;
    if (isNavigationCommand(id) || !platform::queuedCommands(window).empty())
        platform::postCommand(window, id);
    else
        platform::sendCommand(window, id);
}

bool held(const MessageParams& params, unsigned flag) {
    return (params.state & flag) != 0;
}

// An arrow key: in normal mode a scroll (by 128 with Ctrl), in two-page mode
// a page command.
void arrow(const MessageParams& params, int ctrlDx, int ctrlDy, int scrollCommand,
           int twoPageCommand) {
    if (!viewer().normalMode()) {
        command(twoPageCommand);
        return;
    }
    if (held(params, platform::kControlHeld)) {
        if (viewer().layout.shownCount) scrollBy(ctrlDx, ctrlDy);
        return;
    }
    command(scrollCommand);
}

} // namespace

void keyDown(const MessageParams& params) {
    const bool shift = held(params, platform::kShiftHeld);
    switch (params.key) {
    case platform::key::Tab:
        focusCatalogList();
        break;
    case platform::key::Return:
        command(cmd::FullScreen);
        break;
    case platform::key::Escape:
        command(cmd::ToggleMenu);
        break;
    case platform::key::Space:
        command(shift ? cmd::OpenFromList : cmd::NextPage);
        break;
    case platform::key::End:
        command(cmd::LastFile);
        break;
    case platform::key::Home:
        command(cmd::FirstFile);
        break;
    case platform::key::Left:
        arrow(params, 128, 0, cmd::ScrollRight, cmd::NextFile);
        break;
    case platform::key::Right:
        arrow(params, -128, 0, cmd::ScrollLeft, cmd::PreviousFile);
        break;
    case platform::key::Up:
        if (shift)
            command(cmd::OpenRowAbove);
        else
            arrow(params, 0, 128, cmd::ScrollDown, cmd::PreviousPage);
        break;
    case platform::key::Down:
        if (shift)
            command(cmd::OpenRowBelow);
        else
            arrow(params, 0, -128, cmd::ScrollUp, cmd::NextPage);
        break;
    case platform::key::BackSpace:
        command(cmd::PreviousPage);
        break;
    default:
        if (params.key == platform::key::F(2)) command(cmd::Slideshow);
        if (params.key == platform::key::F(7)) stepRotation(1);
        if (params.key == platform::key::F(8)) stepRotation(-1);
        break;
    }
}

void character(const MessageParams& params) {
    char32_t c = params.character;
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    switch (c) {
    case '*':
        command(cmd::ActualSize);
        break;
    case '+':
        command(cmd::ZoomIn);
        break;
    case '-':
        command(cmd::ZoomOut);
        break;
    case 'A':
        command(cmd::PictureInformation);
        break;
    case 'I':
        command(cmd::ReverseBinding);
        break;
    case 'L':
        command(cmd::ShowCatalog);
        break;
    case 'M':
        command(cmd::ToggleMode);
        break;
    case 'O':
        command(cmd::Open);
        break;
    case 'P':
        command(cmd::PageSelect);
        break;
    case 'Q':
        platform::closeWindow(viewer().mainWindow);
        break;
    case 'R':
        command(held(params, platform::kShiftHeld) ? cmd::OpenRandomRow : cmd::RandomFile);
        break;
    case 'X':
        command(cmd::AddCurrentFile);
        break;
    case 'Z':
        command(cmd::AddCurrentFolder);
        break;
    default:
        break;
    }
}

void wheel(const MessageParams& params) {
    Viewer& v = viewer();
    if (params.wheelDelta == 0) return;
    const bool toward = params.wheelDelta < 0; // toward the user moves forward
    const bool left = held(params, platform::kLeftButtonHeld);
    const bool right = held(params, platform::kRightButtonHeld);
    if (held(params, platform::kShiftHeld) || (right && !left)) {
        command(toward ? cmd::OpenRowBelow : cmd::OpenRowAbove);
        return;
    }
    if (left && right && v.normalMode()) {
        const bool wide = v.layout.displayWidth > v.layout.displayHeight;
        platform::postCommand(v.mainWindow, toward ? (wide ? cmd::ScrollLeft : cmd::ScrollUp)
                                                   : (wide ? cmd::ScrollRight : cmd::ScrollDown));
        return;
    }
    if (!held(params, platform::kControlHeld) && !held(params, platform::kExtraButton1Held)) {
        command(toward ? cmd::NextPage : cmd::PreviousPage);
        return;
    }
    if (v.normalMode())
        command(toward ? cmd::ZoomIn : cmd::ZoomOut);
    else
        resizeWindowBy(toward ? 80 : -80);
    // The extra button's release must not open the page-number dialog now.
    v.mouse.xButtonArmed = false;
}

void mainButtonDown(const MessageParams& params) {
    Viewer& v = viewer();
    switch (params.button) {
    case platform::MouseButton::Left:
        if (!v.layout.fullScreen) platform::startSystemMove(v.mainWindow);
        break;
    case platform::MouseButton::Middle:
        command(cmd::FullScreen);
        break;
    case platform::MouseButton::Extra1:
        v.mouse.xButtonArmed = true;
        break;
    case platform::MouseButton::Extra2:
        command(cmd::ShowCatalog);
        break;
    default:
        break;
    }
}

void mainButtonUp(const MessageParams& params) {
    Viewer& v = viewer();
    if (params.button != platform::MouseButton::Extra1) return;
    const bool armed = v.mouse.xButtonArmed;
    v.mouse.xButtonArmed = false;
    if (armed) command(cmd::PageSelect);
}
