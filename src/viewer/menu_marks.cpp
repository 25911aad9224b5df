#include "viewer/menu_marks.h"

#include <iterator>

#include "platform/menu.h"
#include "platform/window.h"
#include "resources/command_ids.h"
#include "resources/menus.h"
#include "viewer/viewer.h"

namespace {

// Filter codes 0 to 8; code 6 has no item.
constexpr int kFilterItems[] = {cmd::FilterNone,     cmd::FilterNegative, cmd::FilterBlur,
                                cmd::FilterSharpen,  cmd::FilterBrighten, cmd::FilterDarken,
                                0,                   cmd::FilterGrey,     cmd::FilterBlur2};
// Rotation codes 0 to 6; the ids skip 40164, so they are never computed.
constexpr int kRotationItems[] = {cmd::RotateNone,      cmd::RotateRight,    cmd::RotateLeft,
                                  cmd::RotateAutoRight, cmd::RotateAutoLeft, cmd::MirrorLeftRight,
                                  cmd::FlipUpsideDown};

template <std::size_t N> int itemOf(const int (&items)[N], int code) {
    return code >= 0 && code < static_cast<int>(N) ? items[code] : 0;
}

template <std::size_t N> int codeOf(const int (&items)[N], int id) {
    for (std::size_t code = 0; code < N; ++code)
        if (items[code] == id) return static_cast<int>(code);
    return -1;
}

void radio(int first, int last, int id) {
    platform::radioCheckMenuItem(viewer().menu, first, last, id);
}

void setSharedMarks(const ModeSettings& mode) {
    const Viewer& v = viewer();
    radio(cmd::Transparency0, cmd::Transparency75, transparencyItem(v.settings.transparency));
    radio(cmd::FilterNone, cmd::FilterDarken, filterItem(mode.FILTER));
    radio(cmd::RotateNone, cmd::FlipUpsideDown, rotationItem(mode.TRANSFORM));
    platform::checkMenuItem(v.menu, cmd::Slideshow, v.slideshowRunning);
}

// The radio group of a setting command, with the value each id stores.
struct SettingGroup {
    int first, last;
    int ViewerState::*field;
    int values[4];
};

constexpr SettingGroup kSettingGroups[] = {
    {cmd::SpreadAuto, cmd::SpreadAlways, &ViewerState::mihiraki, {0, 1, 2}},
    {cmd::BindRight, cmd::BindLeft, &ViewerState::RightorLeft, {1, 0}},
    {cmd::Transparency0, cmd::Transparency75, &ViewerState::transparency, {255, 191, 127, 64}},
    {cmd::TwoPageFitWindow, cmd::TwoPageReduceOnly, &ViewerState::picturemode, {0, 1, 2}},
    {cmd::NormalFitPicture, cmd::NormalFitHeight, &ViewerState::PICTUREMODE, {0, 1, 2, 3}},
};

const SettingGroup* groupOf(int id) {
    for (const SettingGroup& group : kSettingGroups)
        if (id >= group.first && id <= group.last) return &group;
    return nullptr;
}

// A filter or rotation command: its mark, and its code in the current mode
// or, with synchro on, in both.
template <std::size_t N>
void storeProcessing(const int (&items)[N], int first, int last, int ModeSettings::*field, int id) {
    const int code = codeOf(items, id);
    if (code < 0) return;
    Viewer& v = viewer();
    radio(first, last, id);
    if (v.settings.synchro)
        for (ModeSettings& mode : v.settings.modes) mode.*field = code;
    else
        v.mode().*field = code;
}

} // namespace

int filterItem(int code) {
    return itemOf(kFilterItems, code);
}

int rotationItem(int code) {
    return itemOf(kRotationItems, code);
}

int transparencyItem(int transparency) {
    switch (transparency) {
    case 255:
        return cmd::Transparency0;
    case 191:
        return cmd::Transparency25;
    case 127:
        return cmd::Transparency50;
    default:
        return cmd::Transparency75;
    }
}

void setMarksTwoPage() {
    const Viewer& v = viewer();
    const ViewerState& s = v.settings;
    setSharedMarks(s.modes[kTwoPageMode]);
    radio(cmd::SpreadAuto, cmd::SpreadAlways,
          s.mihiraki == 0   ? cmd::SpreadAuto
          : s.mihiraki == 1 ? cmd::SpreadNever
                            : cmd::SpreadAlways);
    radio(cmd::BindRight, cmd::BindLeft, s.RightorLeft ? cmd::BindRight : cmd::BindLeft);
    radio(cmd::TwoPageFitWindow, cmd::TwoPageReduceOnly,
          s.picturemode == 0   ? cmd::TwoPageFitWindow
          : s.picturemode == 1 ? cmd::TwoPageKeepAspect
                               : cmd::TwoPageReduceOnly);
    platform::checkMenuItem(v.menu, cmd::TwoPageMode, true);
    platform::checkMenuItem(v.menu, cmd::NormalMode, false);
}

void setMarksNormal() {
    const Viewer& v = viewer();
    const ViewerState& s = v.settings;
    setSharedMarks(s.modes[kNormalMode]);
    const int fit = s.PICTUREMODE >= 0 && s.PICTUREMODE <= 3 ? cmd::NormalFitPicture + s.PICTUREMODE : 0;
    radio(cmd::NormalFitPicture, cmd::NormalFitHeight, fit);
    platform::checkMenuItem(v.menu, cmd::NormalMode, true);
    platform::checkMenuItem(v.menu, cmd::TwoPageMode, false);
    platform::checkMenuItem(v.menu, cmd::LockZoom, v.layout.zoomLocked);
}

void loadModeMenu() {
    Viewer& v = viewer();
    if (v.menu) platform::destroyMenu(v.menu);
    v.menu = platform::loadMenu(v.normalMode() ? resources::normalMenu()
                                               : resources::twoPageMenu());
    if (v.settings.MENU) platform::attachMenu(v.mainWindow, v.menu);
    if (v.normalMode())
        setMarksNormal();
    else
        setMarksTwoPage();
}

void chooseFilter(int id) {
    storeProcessing(kFilterItems, cmd::FilterNone, cmd::FilterDarken, &ModeSettings::FILTER, id);
}

void chooseRotation(int id) {
    storeProcessing(kRotationItems, cmd::RotateNone, cmd::FlipUpsideDown,
                    &ModeSettings::TRANSFORM, id);
}

void stepRotation(int direction) {
    Viewer& v = viewer();
    const int next = v.mode().TRANSFORM + direction;
    const int id = rotationItem(next);
    if (id) platform::sendCommand(v.mainWindow, id);
}

bool isSettingCommand(int id) {
    return groupOf(id) != nullptr;
}

void chooseSetting(int id) {
    const SettingGroup* group = groupOf(id);
    if (!group) return;
    Viewer& v = viewer();
    v.settings.*(group->field) = group->values[id - group->first];
    radio(group->first, group->last, id);
}
