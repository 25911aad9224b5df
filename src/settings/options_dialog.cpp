#include "settings/options_dialog.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/dialog.h"
#include "settings/engine_names.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;
using platform::kCancelId;
using platform::kOkId;

constexpr int kTabControl = 1062;

// Page TAB_OPTION: each box is on when its flag is 1.
struct FlagBox {
    int id;
    int ViewerState::*flag;
};
constexpr FlagBox kGeneralBoxes[] = {
    {1014, &ViewerState::synchro},    {1056, &ViewerState::rotmove},
    {1057, &ViewerState::dblmode},    {1058, &ViewerState::savefilter},
    {1061, &ViewerState::use24bit},   {1066, &ViewerState::modesizech},
    {1074, &ViewerState::sakiyomi},   {1076, &ViewerState::dispdirectory},
};

int generalPage(DialogId page, DialogMessage message, const DialogParams& params) {
    ViewerState& state = *static_cast<ViewerState*>(params.context);
    if (message == DialogMessage::Init) {
        for (const FlagBox& box : kGeneralBoxes)
            platform::setChecked(page, box.id, state.*box.flag == 1);
    } else if (message == DialogMessage::Command && params.id == kOkId) {
        for (const FlagBox& box : kGeneralBoxes)
            state.*box.flag = platform::isChecked(page, box.id) ? 1 : 0;
    }
    return 1;
}

// Pages TAB_NORMAL and TAB_MIHIRAKI: one mode's record.
struct ModePage {
    ModeSettings* mode;
    bool twoPage; // two-page mode: no auto-scroll, and the click box 1058
};

constexpr int kAutoScroll = 1014;
constexpr int kAutoMenu = 1056;
constexpr int kHideCursor = 1057;
constexpr int kClickPage = 1058;
constexpr int kPlatformStretch = 1018; // "Windows任せ"
constexpr int kOwnEngines = 1019;      // "内部で処理"

struct EngineCombo {
    int id;
    int ModeSettings::*field;
    std::span<const std::string_view> names;
};
constexpr std::array<EngineCombo, 3> kEngineCombos = {{
    {1042, &ModeSettings::kakudai, kEnlargeEngineNames},
    {1059, &ModeSettings::syukusyou, kReduceEngineNames},
    {1043, &ModeSettings::kakusyuku, kMixedEngineNames},
}};

void showMode(DialogId page, const ModePage& target) {
    const ModeSettings& mode = *target.mode;
    if (target.twoPage) {
        platform::enableControl(page, kAutoScroll, false); // never checked
        platform::setChecked(page, kClickPage, mode.clickpage == 1);
    } else {
        platform::setChecked(page, kAutoScroll, mode.autoscroll == 1);
    }
    platform::setChecked(page, kAutoMenu, mode.automenu == 1);
    platform::setChecked(page, kHideCursor, mode.hidecursor == 1);
    platform::setChecked(page, mode.engine ? kOwnEngines : kPlatformStretch, true);
    for (const EngineCombo& combo : kEngineCombos) {
        for (std::string_view name : combo.names)
            platform::addItem(page, combo.id, std::string(name));
        platform::setSelection(page, combo.id, mode.*combo.field);
    }
}

void storeMode(DialogId page, const ModePage& target) {
    ModeSettings& mode = *target.mode;
    if (target.twoPage) {
        mode.autoscroll = 0;
        mode.clickpage = platform::isChecked(page, kClickPage) ? 1 : 0;
    } else {
        mode.autoscroll = platform::isChecked(page, kAutoScroll) ? 1 : 0;
    }
    mode.automenu = platform::isChecked(page, kAutoMenu) ? 1 : 0;
    mode.hidecursor = platform::isChecked(page, kHideCursor) ? 1 : 0;
    mode.engine = platform::isChecked(page, kPlatformStretch) ? 0 : 1;
    for (const EngineCombo& combo : kEngineCombos) {
        // A combo without a choice (a stored value no name stands for) keeps
        // the stored value rather than storing "none".
        const int chosen = platform::selection(page, combo.id);
        if (chosen >= 0) mode.*combo.field = chosen;
    }
}

int modePage(DialogId page, DialogMessage message, const DialogParams& params) {
    const ModePage& target = *static_cast<const ModePage*>(params.context);
    if (message == DialogMessage::Init) showMode(page, target);
    if (message == DialogMessage::Command && params.id == kOkId) storeMode(page, target);
    return 1;
}

struct Options {
    ViewerState* state;
    ModePage normal;
    ModePage twoPage;
    std::array<DialogId, 3> pages{}; // in tab order
};

void passToPages(const Options& options, int command) {
    for (DialogId page : options.pages)
        platform::sendDialogCommand(page, command);
}

int optionsProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    Options& options = *static_cast<Options*>(params.context);
    if (message == DialogMessage::Init) {
        for (const char* tab : {"全般", "標準モード", "見開きモード"})
            platform::addItem(dialog, kTabControl, tab);
        options.pages = {
            platform::createPageDialog(dialog, kTabControl, "TAB_OPTION", generalPage,
                                       options.state),
            platform::createPageDialog(dialog, kTabControl, "TAB_NORMAL", modePage,
                                       &options.normal),
            platform::createPageDialog(dialog, kTabControl, "TAB_MIHIRAKI", modePage,
                                       &options.twoPage),
        };
        platform::showDialog(options.pages[0], true);
        return 1;
    }
    if (message != DialogMessage::Command) return 0;
    switch (params.id) {
    case kTabControl: {
        const int shown = platform::selection(dialog, kTabControl);
        for (std::size_t i = 0; i < options.pages.size(); ++i)
            platform::showDialog(options.pages[i], static_cast<int>(i) == shown);
        return 1;
    }
    case kOkId:
        passToPages(options, kOkId);
        platform::endDialog(dialog, 1);
        return 1;
    case kCancelId:
        passToPages(options, kCancelId);
        platform::endDialog(dialog, 0);
        return 1;
    default:
        return 0;
    }
}

} // namespace

int runOptionsDialog(platform::WindowId owner, ViewerState& state) {
    Options options{&state,
                    {&state.modes[kNormalMode], false},
                    {&state.modes[kTwoPageMode], true}};
    return platform::runDialog("OPTION", owner, optionsProcedure, &options) == 1 ? 1 : 0;
}
