#include "settings/settings_file.h"

#include <cstdio>
#include <optional>

#include "platform/file_system.h"
#include "platform/install_layout.h"
#include "settings/engine_names.h"
#include "settings/profile_file.h"

namespace {

constexpr const char* kFileName = "Voxa.ini";
// Far more than the viewer's own keys ever take; a larger file is not ours.
constexpr std::uint64_t kMaxFileBytes = 4u << 20;

// One option's place in ViewerState: an application-wide field, or a field of
// one mode's record.
struct Field {
    int ViewerState::*option = nullptr;
    int mode = 0;
    int ModeSettings::*perMode = nullptr;

    int& of(ViewerState& state) const {
        return option ? state.*option : state.modes[mode].*perMode;
    }
    int of(const ViewerState& state) const {
        return option ? state.*option : state.modes[mode].*perMode;
    }
};

constexpr Field app(int ViewerState::*option) {
    return {option, 0, nullptr};
}
constexpr Field normal(int ModeSettings::*field) {
    return {nullptr, kNormalMode, field};
}
constexpr Field twoPage(int ModeSettings::*field) {
    return {nullptr, kTwoPageMode, field};
}

constexpr int kFlag = -1; // `high` of a flag key: on only at exactly 1

struct ReadKey {
    const char* section;
    const char* key;
    Field field;
    int missing; // the value when the file lacks the key
    int low = 0; // accepted range of a number; outside it the value is `missing`
    int high = kFlag;
};

constexpr int kLast = 0x7fffffff;
constexpr int kEnlargeLast = static_cast<int>(kEnlargeEngineNames.size()) - 1;
constexpr int kReduceLast = static_cast<int>(kReduceEngineNames.size()) - 1;
constexpr int kMixedLast = static_cast<int>(kMixedEngineNames.size()) - 1;
constexpr int kFilterLast = 8;
constexpr int kTransformLast = 6;

// In the order they are read. The ranges guard what the viewer indexes or
// divides with: a 0 ms slideshow timer would turn pages as fast as the loop
// runs, an opacity of 0 makes the catalog window invisible.
const ReadKey kReadKeys[] = {
    {"OPTION", "RightorLeft", app(&ViewerState::RightorLeft), 1, 0, 1},
    {"OPTION", "transparency", app(&ViewerState::transparency), 191, 1, 255},
    {"OPTION", "mihiraki", app(&ViewerState::mihiraki), 0, 0, 2},
    {"OPTION", "picturemode", app(&ViewerState::picturemode), 2, 0, 2},
    {"OPTION", "slidetime", app(&ViewerState::slidetime), 3000, 100, kLast},
    {"OPTION", "CAPTION", app(&ViewerState::CAPTION), 1},
    {"OPTION", "MENU", app(&ViewerState::MENU), 1},
    {"OPTION", "MODE", app(&ViewerState::MODE), 1},
    {"NORMAL", "PICTUREMODE", app(&ViewerState::PICTUREMODE), 0, 0, 3},
    {"ALL", "synchro", app(&ViewerState::synchro), 0},
    {"ALL", "savefilter", app(&ViewerState::savefilter), 0},
    {"ALL", "24bit", app(&ViewerState::use24bit), 0},
    {"ALL", "rotmove", app(&ViewerState::rotmove), 0},
    {"ALL", "dblmode", app(&ViewerState::dblmode), 1},
    {"ALL", "modesizech", app(&ViewerState::modesizech), 0},
    {"ALL", "sakiyomi", app(&ViewerState::sakiyomi), 0},
    {"ALL", "dispdirectory", app(&ViewerState::dispdirectory), 0},
    {"NORMAL", "automenu", normal(&ModeSettings::automenu), 0},
    {"NORMAL", "autoscroll", normal(&ModeSettings::autoscroll), 1},
    {"NORMAL", "hidecursor", normal(&ModeSettings::hidecursor), 0},
    {"NORMAL", "engine", normal(&ModeSettings::engine), 1},
    {"NORMAL", "kakudai", normal(&ModeSettings::kakudai), 1, 0, kEnlargeLast},
    {"NORMAL", "syukusyou", normal(&ModeSettings::syukusyou), 2, 0, kReduceLast},
    {"NORMAL", "kakusyuku", normal(&ModeSettings::kakusyuku), 1, 0, kMixedLast},
    {"MODE2", "automenu", twoPage(&ModeSettings::automenu), 0},
    {"MODE2", "hidecursor", twoPage(&ModeSettings::hidecursor), 0},
    {"MODE2", "clickpage", twoPage(&ModeSettings::clickpage), 0},
    {"MODE2", "engine", twoPage(&ModeSettings::engine), 0},
    {"MODE2", "kakudai", twoPage(&ModeSettings::kakudai), 1, 0, kEnlargeLast},
    {"MODE2", "syukusyou", twoPage(&ModeSettings::syukusyou), 2, 0, kReduceLast},
    {"MODE2", "kakusyuku", twoPage(&ModeSettings::kakusyuku), 1, 0, kMixedLast},
};

// Read only when savefilter is on; otherwise the start-up values stay.
const ReadKey kFilterKeys[] = {
    {"NORMAL", "FILTER", normal(&ModeSettings::FILTER), 0, 0, kFilterLast},
    {"MODE2", "FILTER", twoPage(&ModeSettings::FILTER), 0, 0, kFilterLast},
    {"NORMAL", "TRANSFORM", normal(&ModeSettings::TRANSFORM), 0, 0, kTransformLast},
    {"MODE2", "TRANSFORM", twoPage(&ModeSettings::TRANSFORM), 0, 0, kTransformLast},
};

struct WrittenKey {
    const char* section;
    const char* key;
    Field field;
};

// In the order they are written. The mixed engine is written "kakuSyuku" and
// found again on reading only because key names ignore letter case; existing
// files hold that spelling, so it stays.
const WrittenKey kWrittenKeys[] = {
    {"OPTION", "RightorLeft", app(&ViewerState::RightorLeft)},
    {"OPTION", "transparency", app(&ViewerState::transparency)},
    {"OPTION", "mihiraki", app(&ViewerState::mihiraki)},
    {"OPTION", "picturemode", app(&ViewerState::picturemode)},
    {"OPTION", "slidetime", app(&ViewerState::slidetime)},
    {"OPTION", "FullScreen", app(&ViewerState::FullScreen)},
    {"OPTION", "CAPTION", app(&ViewerState::CAPTION)},
    {"OPTION", "MENU", app(&ViewerState::MENU)},
    {"OPTION", "MODE", app(&ViewerState::MODE)},
    {"ALL", "synchro", app(&ViewerState::synchro)},
    {"ALL", "savefilter", app(&ViewerState::savefilter)},
    {"ALL", "24bit", app(&ViewerState::use24bit)},
    {"ALL", "rotmove", app(&ViewerState::rotmove)},
    {"ALL", "dblmode", app(&ViewerState::dblmode)},
    {"ALL", "modesizech", app(&ViewerState::modesizech)},
    {"ALL", "sakiyomi", app(&ViewerState::sakiyomi)},
    {"ALL", "dispdirectory", app(&ViewerState::dispdirectory)},
    {"NORMAL", "automenu", normal(&ModeSettings::automenu)},
    {"NORMAL", "autoscroll", normal(&ModeSettings::autoscroll)},
    {"NORMAL", "hidecursor", normal(&ModeSettings::hidecursor)},
    {"NORMAL", "engine", normal(&ModeSettings::engine)},
    {"NORMAL", "kakudai", normal(&ModeSettings::kakudai)},
    {"NORMAL", "syukusyou", normal(&ModeSettings::syukusyou)},
    {"NORMAL", "kakuSyuku", normal(&ModeSettings::kakusyuku)},
    {"NORMAL", "FILTER", normal(&ModeSettings::FILTER)},
    {"NORMAL", "TRANSFORM", normal(&ModeSettings::TRANSFORM)},
    {"NORMAL", "PICTUREMODE", app(&ViewerState::PICTUREMODE)},
    {"MODE2", "automenu", twoPage(&ModeSettings::automenu)},
    {"MODE2", "hidecursor", twoPage(&ModeSettings::hidecursor)},
    {"MODE2", "clickpage", twoPage(&ModeSettings::clickpage)},
    {"MODE2", "engine", twoPage(&ModeSettings::engine)},
    {"MODE2", "kakudai", twoPage(&ModeSettings::kakudai)},
    {"MODE2", "syukusyou", twoPage(&ModeSettings::syukusyou)},
    {"MODE2", "kakuSyuku", twoPage(&ModeSettings::kakusyuku)},
    {"MODE2", "FILTER", twoPage(&ModeSettings::FILTER)},
    {"MODE2", "TRANSFORM", twoPage(&ModeSettings::TRANSFORM)},
};

// "%d%d%d%d" of 0, 8, 1, 4: reads back as 814, so a saved file always counts.
constexpr const char* kVersionText = "0814";

bool isFile(const std::string& path) {
    return platform::pathKind(path) == platform::PathKind::File;
}

// The file's text; nothing when it cannot be read, is too large to be ours or
// is no regular file (a FIFO would stall start-up, /dev/zero would never end).
std::optional<std::string> readSettingsText(const std::string& path) {
    return platform::readFile(path, kMaxFileBytes);
}

bool isOversized(const std::string& path) {
    auto size = platform::fileSize(path);
    return size && *size > kMaxFileBytes;
}

// A file too large to be read as settings is kept as "<name>.bad" (or
// "<name>.bad.2" and on, never replacing an earlier one), so that fresh
// settings can be saved instead of never again.
bool moveOversizedAside(const std::string& path) {
    if (!isOversized(path)) return false;
    for (int n = 1; n < 10; ++n) {
        std::string aside = path + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
        if (platform::renameWithoutReplacing(path, aside)) {
            std::fprintf(stderr, "voxa: %s is over %llu MiB and was not read as settings; kept as %s, fresh settings saved\n",
                         path.c_str(), static_cast<unsigned long long>(kMaxFileBytes >> 20), aside.c_str());
            return true;
        }
    }
    return false;
}

void readKey(ViewerState& state, const ProfileFile& profile, const ReadKey& entry) {
    int value = profileInt(profile, entry.section, entry.key, entry.missing);
    if (entry.high == kFlag)
        value = value == 1 ? 1 : 0;
    else if (value < entry.low || value > entry.high)
        value = entry.missing;
    entry.field.of(state) = value;
}

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind(platform::kPathSeparator) + 1);
}

} // namespace

SettingsLocation settingsLocation(const std::string& executableFolder,
                                  const std::string& configFolder) {
    std::string beside = platform::joinPath(executableFolder, kFileName);
    std::string user;
    if (!configFolder.empty())
        user = platform::joinPath(platform::joinPath(configFolder, "voxa/"), kFileName);
    // The folder decides, not the file: a Voxa.ini the user made read-only
    // there is theirs to keep as it is, and saving leaves it alone.
    bool besideWritable = platform::isWritableFolder(executableFolder);
    bool installed = !platform::installPrefix(executableFolder).empty();
    SettingsLocation location;
    location.savePath = (besideWritable && !installed) || user.empty() ? beside : user;
    std::string other = location.savePath == beside ? user : beside;
    location.readPath =
        isFile(location.savePath) || other.empty() || !isFile(other) ? location.savePath : other;
    return location;
}

SettingsLocation settingsLocation() {
    return settingsLocation(platform::executableFolder(), platform::userConfigFolder());
}

std::string viewerFilesFolder(const SettingsLocation& location) {
    std::string folder = folderOf(location.savePath);
    platform::makeFolders(folder);
    return folder;
}

void startupDefaults(ViewerState& state) {
    ModeSettings& normalMode = state.modes[kNormalMode];
    ModeSettings& twoPageMode = state.modes[kTwoPageMode];
    normalMode = {};
    twoPageMode = {};
    normalMode.engine = 1;
    normalMode.kakudai = twoPageMode.kakudai = 1;
    normalMode.syukusyou = twoPageMode.syukusyou = 2;
    normalMode.kakusyuku = twoPageMode.kakusyuku = 1;
    normalMode.autoscroll = 1;
    // The one option whose start-up value differs from its missing-key value:
    // without any settings file the two-page menu bar appears on hover.
    twoPageMode.automenu = 1;

    state.RightorLeft = 1;
    state.transparency = 191;
    state.mihiraki = 0;
    state.picturemode = 2;
    state.PICTUREMODE = 0;
    state.slidetime = 3000;
    state.CAPTION = 1;
    state.MENU = 1;
    state.MODE = kNormalMode;
    state.FullScreen = 0;
    state.menuBeforeFullScreen = 1;
    state.synchro = 0;
    state.savefilter = 0;
    state.use24bit = 0;
    state.rotmove = 0;
    state.dblmode = 1;
    state.modesizech = 0;
    state.sakiyomi = 0;
    state.dispdirectory = 0;
}

int loadSettings(ViewerState& state, const SettingsLocation& location) {
    auto text = readSettingsText(location.readPath);
    if (!text) {
        if (isOversized(location.readPath))
            std::fprintf(stderr, "voxa: %s is over %llu MiB and is not read as settings; the defaults stay\n",
                         location.readPath.c_str(), static_cast<unsigned long long>(kMaxFileBytes >> 20));
        return 0;
    }
    ProfileFile profile = parseProfile(*text);
    if (profileInt(profile, "VER", "Ver", 0) == 0) return 0;
    for (const ReadKey& entry : kReadKeys)
        readKey(state, profile, entry);
    if (state.savefilter)
        for (const ReadKey& entry : kFilterKeys)
            readKey(state, profile, entry);
    return 1;
}

int saveSettings(const ViewerState& state, const SettingsLocation& location) {
    // A link (a dotfiles manager's) stays a link: its target is the file.
    std::optional<std::string> followed = platform::followLinks(location.savePath);
    if (!followed) return 0;
    const std::string& target = *followed;
    std::optional<std::string> base;
    if (platform::pathKind(target) != platform::PathKind::Missing) {
        base = readSettingsText(target);
        if (!base && !moveOversizedAside(target)) return 0;
    } else if (location.readPath != target && isFile(location.readPath)) {
        base = readSettingsText(location.readPath);
    }
    ProfileFile profile = parseProfile(base.value_or(""));
    setProfileValue(profile, "VER", "Ver", kVersionText);
    ViewerState saved = state;
    // Full screen hides the menu bar; the windowed choice is the one to keep.
    if (saved.FullScreen) saved.MENU = saved.menuBeforeFullScreen;
    for (const WrittenKey& entry : kWrittenKeys)
        setProfileValue(profile, entry.section, entry.key, std::to_string(entry.field.of(saved)));
    std::string folder = folderOf(target);
    if (!folder.empty() && !platform::makeFolders(folder)) return 0;
    return platform::writeFileAtomically(target, profileText(profile)) ? 1 : 0;
}
