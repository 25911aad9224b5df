#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using testing_support::TempFolder;
using testing_support::writeFile;

namespace {

ViewerState defaults() {
    ViewerState state;
    startupDefaults(state);
    return state;
}

std::string contents(const std::string& path) {
    return platform::readFile(path).value_or("<none>");
}

// What a save of the start-up defaults writes into an empty place, in order.
const char* const kFreshFile = "[VER]\n"
                               "Ver=0814\n"
                               "\n"
                               "[OPTION]\n"
                               "RightorLeft=1\n"
                               "transparency=191\n"
                               "mihiraki=0\n"
                               "picturemode=2\n"
                               "slidetime=3000\n"
                               "FullScreen=0\n"
                               "CAPTION=1\n"
                               "MENU=1\n"
                               "MODE=1\n"
                               "\n"
                               "[ALL]\n"
                               "synchro=0\n"
                               "savefilter=0\n"
                               "24bit=0\n"
                               "rotmove=0\n"
                               "dblmode=1\n"
                               "modesizech=0\n"
                               "sakiyomi=0\n"
                               "dispdirectory=0\n"
                               "\n"
                               "[NORMAL]\n"
                               "automenu=0\n"
                               "autoscroll=1\n"
                               "hidecursor=0\n"
                               "engine=1\n"
                               "kakudai=1\n"
                               "syukusyou=2\n"
                               "kakuSyuku=1\n"
                               "FILTER=0\n"
                               "TRANSFORM=0\n"
                               "PICTUREMODE=0\n"
                               "\n"
                               "[MODE2]\n"
                               "automenu=1\n"
                               "hidecursor=0\n"
                               "clickpage=0\n"
                               "engine=0\n"
                               "kakudai=1\n"
                               "syukusyou=2\n"
                               "kakuSyuku=1\n"
                               "FILTER=0\n"
                               "TRANSFORM=0\n";

bool sameOptions(const ViewerState& a, const ViewerState& b) {
    auto modeTuple = [](const ModeSettings& m) {
        return std::tie(m.autoscroll, m.hidecursor, m.automenu, m.clickpage, m.engine, m.kakudai,
                        m.syukusyou, m.kakusyuku, m.FILTER, m.TRANSFORM);
    };
    auto tuple = [](const ViewerState& s) {
        return std::tie(s.RightorLeft, s.transparency, s.mihiraki, s.picturemode, s.PICTUREMODE,
                        s.slidetime, s.CAPTION, s.MENU, s.MODE, s.synchro, s.savefilter, s.use24bit,
                        s.rotmove, s.dblmode, s.modesizech, s.sakiyomi, s.dispdirectory);
    };
    return tuple(a) == tuple(b) && modeTuple(a.modes[0]) == modeTuple(b.modes[0]) &&
           modeTuple(a.modes[1]) == modeTuple(b.modes[1]);
}

} // namespace

TEST(SettingsFile, FreshSaveWritesEveryKeyInOrder) {
    TempFolder dir;
    ASSERT_EQ(saveSettings(defaults(), settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(contents(dir / "Voxa.ini"), kFreshFile);
}

TEST(SettingsFile, StartupDefaultsStayWithoutAUsableFile) {
    TempFolder dir;
    writeFile(dir / "empty.ini", "");
    writeFile(dir / "nover.ini", "[OPTION]\nslidetime=5000\n");
    writeFile(dir / "ver0.ini", "[VER]\nVer=0\n[OPTION]\nslidetime=5000\n");
    writeFile(dir / "garbled.ini", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    testing_support::makeFolder(dir / "folder.ini");
    for (const char* name :
         {"missing.ini", "empty.ini", "nover.ini", "ver0.ini", "garbled.ini", "folder.ini"}) {
        ViewerState state = defaults();
        EXPECT_EQ(loadSettings(state, settingsAt(dir / name)), 0) << name;
        EXPECT_TRUE(sameOptions(state, defaults())) << name;
    }
    ViewerState state = defaults();
    EXPECT_EQ(state.modes[kTwoPageMode].automenu, 1);
    EXPECT_EQ(state.slidetime, 3000);
    EXPECT_EQ(state.transparency, 191);
    EXPECT_EQ(state.MODE, kNormalMode);
}

// A Voxa.ini that is a FIFO would stop the start for good, one linked to
// /dev/zero would be read until memory runs out: neither is read, and
// neither is replaced by a save. The alarm turns a hang into a failure.
TEST(SettingsFile, NoRegularFileIsReadOrReplaced) {
    TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.ini").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/zero", (dir / "zero.ini").c_str()), 0);
    ::alarm(30);
    for (const char* name : {"fifo.ini", "zero.ini"}) {
        ViewerState state = defaults();
        EXPECT_EQ(loadSettings(state, settingsAt(dir / name)), 0) << name;
        EXPECT_TRUE(sameOptions(state, defaults())) << name;
        EXPECT_EQ(saveSettings(state, settingsAt(dir / name)), 0) << name;
    }
    ::alarm(0);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "fifo.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::lstat((dir / "zero.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(SettingsFile, VersionOnlyGivesMissingKeyDefaults) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini", "[VER]\r\nVer=0814\r\n");
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    ViewerState expected = defaults();
    expected.modes[kTwoPageMode].automenu = 0; // the one key whose two defaults differ
    EXPECT_TRUE(sameOptions(state, expected));
}

TEST(SettingsFile, RoundTripThroughARealFile) {
    TempFolder dir;
    ViewerState state = defaults();
    state.RightorLeft = 0;
    state.transparency = 64;
    state.mihiraki = 2;
    state.picturemode = 1;
    state.PICTUREMODE = 3;
    state.slidetime = 12340;
    state.CAPTION = 0;
    state.MODE = kTwoPageMode;
    state.synchro = state.savefilter = state.use24bit = state.rotmove = 1;
    state.dblmode = 0;
    state.modesizech = state.sakiyomi = state.dispdirectory = 1;
    state.modes[kNormalMode] = {0, 1, 1, 0, 0, 0, 3, 0, 8, 6};
    state.modes[kTwoPageMode] = {0, 1, 0, 1, 1, 0, 1, 0, 5, 2};
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    ViewerState loaded = defaults();
    ASSERT_EQ(loadSettings(loaded, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_TRUE(sameOptions(loaded, state));
}

TEST(SettingsFile, FilterAndTransformAreReadOnlyWithSavefilter) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini",
              "[VER]\nVer=1\n[ALL]\nsavefilter=0\n[NORMAL]\nFILTER=3\nTRANSFORM=2\n"
              "[MODE2]\nFILTER=4\nTRANSFORM=5\n");
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.modes[kNormalMode].FILTER, 0);
    EXPECT_EQ(state.modes[kTwoPageMode].TRANSFORM, 0);

    // Saving still writes the values in memory.
    state.modes[kNormalMode].FILTER = 7;
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    std::string text = contents(dir / "Voxa.ini");
    EXPECT_NE(text.find("[NORMAL]\nFILTER=7\nTRANSFORM=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[MODE2]\nFILTER=0\nTRANSFORM=0\n"), std::string::npos) << text;

    writeFile(dir / "on.ini", "[VER]\nVer=1\n[ALL]\nsavefilter=1\n[NORMAL]\nFILTER=3\nTRANSFORM=2\n"
                              "[MODE2]\nFILTER=4\nTRANSFORM=5\n");
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "on.ini")), 1);
    EXPECT_EQ(state.modes[kNormalMode].FILTER, 3);
    EXPECT_EQ(state.modes[kNormalMode].TRANSFORM, 2);
    EXPECT_EQ(state.modes[kTwoPageMode].FILTER, 4);
    EXPECT_EQ(state.modes[kTwoPageMode].TRANSFORM, 5);
}

TEST(SettingsFile, FlagsAreOnOnlyAtExactlyOne) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini",
              "[VER]\nVer=0814\n[OPTION]\nCAPTION=2\nMENU=1x\nMODE=01\n[ALL]\ndblmode=11\n"
              "synchro=1\n[MODE2]\nautomenu=-1\n");
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.CAPTION, 0);
    EXPECT_EQ(state.MENU, 1);
    EXPECT_EQ(state.MODE, 1);
    EXPECT_EQ(state.dblmode, 0);
    EXPECT_EQ(state.synchro, 1);
    EXPECT_EQ(state.modes[kTwoPageMode].automenu, 0);
}

TEST(SettingsFile, KeysInAnyCaseAndTheMixedEngineSpelling) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini", "[ver]\nVER=5\n[option]\nSLIDETIME=4500\n[Normal]\nkakuSyuku=0\n"
                                "[mode2]\nKAKUSYUKU=0\nEngine=1\n");
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.slidetime, 4500);
    EXPECT_EQ(state.modes[kNormalMode].kakusyuku, 0);
    EXPECT_EQ(state.modes[kTwoPageMode].kakusyuku, 0);
    EXPECT_EQ(state.modes[kTwoPageMode].engine, 1);

    // Saving replaces those lines in place instead of adding second ones.
    state.slidetime = 6000;
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    std::string text = contents(dir / "Voxa.ini");
    EXPECT_EQ(text.find("[ver]\nVER=0814\n[option]\nSLIDETIME=6000\n"), 0u) << text;
    EXPECT_EQ(text.find("kakusyuku=", 0), std::string::npos) << text;
    EXPECT_EQ(text.find("[VER]"), std::string::npos) << text;
}

TEST(SettingsFile, AbsurdValuesTakeSafeDefaults) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini",
              "[VER]\nVer=1\n[OPTION]\nRightorLeft=7\ntransparency=0\nmihiraki=3\n"
              "picturemode=99999999999\nslidetime=0\n[NORMAL]\nPICTUREMODE=4\nkakudai=2\n"
              "syukusyou=4\nkakusyuku=9\nFILTER=9\nTRANSFORM=7\n[MODE2]\nkakudai=-1\n"
              "syukusyou=3\nFILTER=8\nTRANSFORM=6\n[ALL]\nsavefilter=1\n");
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.RightorLeft, 1);
    EXPECT_EQ(state.transparency, 191);
    EXPECT_EQ(state.mihiraki, 0);
    EXPECT_EQ(state.picturemode, 2);
    EXPECT_EQ(state.slidetime, 3000);
    EXPECT_EQ(state.PICTUREMODE, 0);
    const ModeSettings& normal = state.modes[kNormalMode];
    EXPECT_EQ(normal.kakudai, 1);
    EXPECT_EQ(normal.syukusyou, 2);
    EXPECT_EQ(normal.kakusyuku, 1);
    EXPECT_EQ(normal.FILTER, 0);
    EXPECT_EQ(normal.TRANSFORM, 0);
    const ModeSettings& twoPage = state.modes[kTwoPageMode];
    EXPECT_EQ(twoPage.kakudai, 0); // "-1" has no leading digit: 0, in range
    EXPECT_EQ(twoPage.syukusyou, 3);
    EXPECT_EQ(twoPage.FILTER, 8);
    EXPECT_EQ(twoPage.TRANSFORM, 6);
}

TEST(SettingsFile, TruncatedFileKeepsWhatItHolds) {
    TempFolder dir;
    std::string whole = kFreshFile;
    std::string cut = whole.substr(0, whole.find("slidetime=3000") + 12); // "slidetime=30"
    writeFile(dir / "Voxa.ini", cut);
    ViewerState state = defaults();
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.slidetime, 3000); // "30" is under the 100 ms floor
    EXPECT_EQ(state.modes[kTwoPageMode].automenu, 0);

    writeFile(dir / "Voxa.ini", "[VER]\nVer=0814\n[OPTION]\nslidetime=4");
    ASSERT_EQ(saveSettings(defaults(), settingsAt(dir / "Voxa.ini")), 1);
    std::string text = contents(dir / "Voxa.ini");
    EXPECT_EQ(text.find("[VER]\nVer=0814\n[OPTION]\nslidetime=3000\nRightorLeft=1\n"), 0u) << text;
}

TEST(SettingsFile, OtherLinesAreKeptByteForByte) {
    TempFolder dir;
    const std::string head =
        "; Voxa settings, edited by hand\r\n[Plugins]\r\nsusie=C:\\spi\r\n\r\n";
    const std::string tail = "\r\n[zzz]\r\n; keep me\r\nwhatever = 1 2 3\r\n";
    writeFile(dir / "Voxa.ini", head + "[OPTION]\r\nmystery=42\r\nslidetime=5000\r\n" + tail);
    ViewerState state = defaults();
    state.slidetime = 7000;
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    std::string text = contents(dir / "Voxa.ini");
    EXPECT_EQ(text.substr(0, head.size()), head);
    std::string option = "[OPTION]\r\nmystery=42\r\nslidetime=7000\r\nRightorLeft=1\r\n";
    EXPECT_EQ(text.substr(head.size(), option.size()), option);
    std::size_t at = text.find(tail);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.substr(at + tail.size(), 10), "\r\n[VER]\r\nV");
    ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(state.slidetime, 7000);
}

TEST(SettingsFile, FullScreenSavesTheWindowedMenuState) {
    TempFolder dir;
    ViewerState state = defaults();
    state.FullScreen = 1;
    state.MENU = 0;
    state.menuBeforeFullScreen = 1;
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    std::string text = contents(dir / "Voxa.ini");
    EXPECT_NE(text.find("FullScreen=1\nCAPTION=1\nMENU=1\n"), std::string::npos) << text;
    ViewerState loaded = defaults();
    ASSERT_EQ(loadSettings(loaded, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(loaded.FullScreen, 0);
}

TEST(SettingsFile, AFileThatCannotBeReadIsNotOverwritten) {
    TempFolder dir;
    testing_support::makeFolder(dir / "Voxa.ini");
    EXPECT_EQ(saveSettings(defaults(), settingsAt(dir / "Voxa.ini")), 0);
    EXPECT_EQ(platform::pathKind(dir / "Voxa.ini"), platform::PathKind::Folder);
    EXPECT_EQ(saveSettings(defaults(), settingsAt(dir / "nowhere/x/Voxa.ini")), 1);
    writeFile(dir / "blocker", "x");
    EXPECT_EQ(saveSettings(defaults(), settingsAt(dir / "blocker/Voxa.ini")), 0);
}

TEST(SettingsFile, ReadOnlyFileIsReadAndSaving) {
    TempFolder dir;
    writeFile(dir / "Voxa.ini", "[VER]\nVer=1\n[OPTION]\nslidetime=5000\n");
    testing_support::runUnprivileged(dir.path(), [&] {
        ::chmod((dir / "Voxa.ini").c_str(), 0444);
        ViewerState state = defaults();
        ASSERT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 1);
        EXPECT_EQ(state.slidetime, 5000);
        state.slidetime = 6000; // the user made the file read-only: it stays as it is
        EXPECT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 0);
        ::chmod((dir / "Voxa.ini").c_str(), 0000);
        EXPECT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 0);
        EXPECT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 0);
    });
    EXPECT_EQ(contents(dir / "Voxa.ini"), "[VER]\nVer=1\n[OPTION]\nslidetime=5000\n");
}

TEST(SettingsLocation, BesideAWritableExecutable) {
    TempFolder dir;
    testing_support::makeFolder(dir / "bin");
    SettingsLocation at = settingsLocation(dir / "bin/", dir / "config/");
    EXPECT_EQ(at.savePath, dir / "bin/Voxa.ini");
    EXPECT_EQ(at.readPath, dir / "bin/Voxa.ini");
    // A copy the user kept while the folder was read-only is read until the
    // first save beside the executable.
    writeFile(dir / "config/voxa/Voxa.ini", "[VER]\nVer=1\n");
    EXPECT_EQ(settingsLocation(dir / "bin/", dir / "config/").readPath,
              dir / "config/voxa/Voxa.ini");
    writeFile(dir / "bin/Voxa.ini", "[VER]\nVer=1\n");
    EXPECT_EQ(settingsLocation(dir / "bin/", dir / "config/").readPath, dir / "bin/Voxa.ini");
}

TEST(SettingsLocation, InstalledViewerSavesToTheUsersConfig) {
    TempFolder dir;
    // A folder that does not exist stands for one that cannot be written:
    // permissions do not bind the superuser the tests may run as.
    std::string installed = dir / "usr/bin/";
    SettingsLocation at = settingsLocation(installed, dir / "config/");
    EXPECT_EQ(at.savePath, dir / "config/voxa/Voxa.ini");
    EXPECT_EQ(at.readPath, dir / "config/voxa/Voxa.ini");

    ViewerState state = defaults();
    state.slidetime = 8000;
    ASSERT_EQ(saveSettings(state, at), 1); // creates config/voxa/
    ViewerState loaded = defaults();
    ASSERT_EQ(loadSettings(loaded, settingsLocation(installed, dir / "config/")), 1);
    EXPECT_EQ(loaded.slidetime, 8000);

    // Without any config folder the file stays beside the executable.
    EXPECT_EQ(settingsLocation(installed, "").savePath, dir / "usr/bin/Voxa.ini");
}

TEST(SettingsLocation, AnInstalledViewerSavesToTheUsersConfigEvenWhereItMayWrite) {
    // The superuser, or the owner of the prefix, may write lib/voxa/: the
    // settings still go to the user's own folder, not to every user's.
    TempFolder dir;
    testing_support::makeFolder(dir / "prefix/lib/voxa");
    SettingsLocation at = settingsLocation(dir / "prefix/lib/voxa/", dir / "config/");
    EXPECT_EQ(at.savePath, dir / "config/voxa/Voxa.ini");
    EXPECT_EQ(at.readPath, dir / "config/voxa/Voxa.ini");
    // The same folder of a viewer of its own keeps the file beside it.
    testing_support::makeFolder(dir / "prefix/lib/voxa2");
    EXPECT_EQ(settingsLocation(dir / "prefix/lib/voxa2/", dir / "config/").savePath,
              dir / "prefix/lib/voxa2/Voxa.ini");
}

TEST(SettingsLocation, TheViewersOwnFilesLieWithItsSettings) {
    TempFolder dir;
    testing_support::makeFolder(dir / "bin");
    EXPECT_EQ(viewerFilesFolder(settingsLocation(dir / "bin/", dir / "config/")), dir / "bin/");
    // An installed viewer's folder is the user's, made at once so that a
    // dialog can start in it before the first save.
    testing_support::makeFolder(dir / "usr/lib/voxa");
    EXPECT_EQ(viewerFilesFolder(settingsLocation(dir / "usr/lib/voxa/", dir / "config/")),
              dir / "config/voxa/");
    EXPECT_EQ(platform::pathKind(dir / "config/voxa"), platform::PathKind::Folder);
}

TEST(SettingsLocation, AnInstalledCopySeedsTheUsersFile) {
    TempFolder dir;
    writeFile(dir / "bin/Voxa.ini", "[VER]\nVer=1\n[OPTION]\nslidetime=5000\n[Site]\nx=1\n");
    testing_support::runUnprivileged(dir.path(), [&] {
        ::chmod((dir / "bin").c_str(), 0555);
        SettingsLocation at = settingsLocation(dir / "bin/", dir / "config/");
        EXPECT_EQ(at.readPath, dir / "bin/Voxa.ini");
        EXPECT_EQ(at.savePath, dir / "config/voxa/Voxa.ini");
        ViewerState state = defaults();
        ASSERT_EQ(loadSettings(state, at), 1);
        EXPECT_EQ(state.slidetime, 5000);
        state.slidetime = 9000;
        ASSERT_EQ(saveSettings(state, at), 1);
        std::string saved = contents(dir / "config/voxa/Voxa.ini");
        EXPECT_NE(saved.find("slidetime=9000"), std::string::npos);
        EXPECT_NE(saved.find("[Site]\nx=1\n"), std::string::npos);
        EXPECT_EQ(settingsLocation(dir / "bin/", dir / "config/").readPath,
                  dir / "config/voxa/Voxa.ini");
    });
}

TEST(SettingsFile, SavingThroughALinkUpdatesItsTarget) {
    TempFolder dir;
    writeFile(dir / "dotfiles/voxa.ini", "[VER]\nVer=1\n[Mine]\nx=1\n");
    ASSERT_EQ(::symlink((dir / "dotfiles/voxa.ini").c_str(), (dir / "Voxa.ini").c_str()), 0);
    ViewerState state = defaults();
    state.slidetime = 4500;
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    struct stat info {};
    ASSERT_EQ(::lstat((dir / "Voxa.ini").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    std::string saved = contents(dir / "dotfiles/voxa.ini");
    EXPECT_NE(saved.find("[Mine]\nx=1\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("slidetime=4500"), std::string::npos) << saved;
}

TEST(SettingsFile, AnOversizedFileIsMovedAsideAndFreshSettingsSaved) {
    TempFolder dir;
    const std::string huge = "[VER]\nVer=1\n" + std::string(4u << 20, ';');
    writeFile(dir / "Voxa.ini", huge);
    writeFile(dir / "Voxa.ini.bad", "an earlier one");
    ViewerState state = defaults();
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings(state, settingsAt(dir / "Voxa.ini")), 0);
    state.slidetime = 7000; // changed while the viewer ran
    ASSERT_EQ(saveSettings(state, settingsAt(dir / "Voxa.ini")), 1);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Voxa.ini.bad.2"), std::string::npos) << said;
    EXPECT_EQ(contents(dir / "Voxa.ini.bad"), "an earlier one");
    EXPECT_TRUE(contents(dir / "Voxa.ini.bad.2") == huge);
    EXPECT_EQ(contents(dir / "Voxa.ini"), std::string(kFreshFile).replace(std::string(kFreshFile).find("3000"), 4, "7000"));
    ViewerState loaded = defaults();
    ASSERT_EQ(loadSettings(loaded, settingsAt(dir / "Voxa.ini")), 1);
    EXPECT_EQ(loaded.slidetime, 7000);
}
