#include "resources/menus.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QList>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/keys.h"
#include "platform/ui_fixture.h"

using platform::MenuEntryKind;

namespace {

// The text of every menu id as the command table gives it; the normal bar
// words two of them differently (kNormalTexts).
const std::map<int, std::string> kTexts = {
    {40008, "開く(&O)\tO"},
    {40079, "最初のファイル(&F)\tHome"},
    {40085, "前のページ(&U)\tBackSpace or Up"},
    {40084, "次のページ(&D)\tSpace or Down"},
    {40080, "前のファイル(&P)\tRight"},
    {40078, "次のファイル(&N)\tLeft"},
    {40081, "最後のファイル(&E)\tEnd"},
    {40134, "ランダムなファイルを開く(&R)\tR"},
    {40183, "画像情報(&I)\tA"},
    {40011, "終了(&X)\tQ"},
    {40018, "コピー(&C)"},
    {39000, "なし(&0)"},
    {39001, "ネガティブ(&1)"},
    {39002, "グレー化(&2)"},
    {39003, "ぼかし(&3)"},
    {39006, "ぼかしII(&4)"},
    {39004, "シャープ(&5)"},
    {39005, "明るく(&6)"},
    {39010, "暗く(&7)"},
    {40159, "なし(&0)"},
    {40160, "右回転(&1)"},
    {40161, "左回転(&2)"},
    {40162, "自動回転(右)(&3)"},
    {40163, "自動回転(左)(&4)"},
    {40165, "左右反転(&5)"},
    {40166, "上下反転(&6)"},
    {40073, "フルスクリーン表示(&F)\tReturn"},
    {40086, "逆開きにする(&I)\tI"},
    {40088, "ページ指定(&P)\tP"},
    {40117, "スライドショー(&S)\tF2"},
    {40045, "拡大(&I)\t+"},
    {40046, "縮小(&O)\t-"},
    {40175, "元の大きさで表示(&Z)\t*"},
    {40180, "ズームを固定(&X)"},
    {40138, "メニューを表示/非表示(&M)\tEsc"},
    {40139, "キャプションを表示/非表示(&C)\tAlt+C"},
    {40169, "ウィンドウサイズを画像に合わせる(&W)"},
    {40172, "標準(&N)"},
    {40173, "２枚開き(&M)"},
    {40174, "モードの切り替え(&C)\tM"},
    {40090, "右綴じ(&R)"},
    {40091, "左綴じ(&L)"},
    {30000, "オート(&A)"},
    {30001, "常に１画像表示(&1)"},
    {30002, "常に見開き表示(&2)"},
    {40093, "0%\tCtrl+1"},
    {40094, "25%\tCtrl+2"},
    {40095, "50%\tCtrl+3"},
    {40096, "75%\tCtrl+4"},
    {40097, "ウィンドウに合わせる(&W)"},
    {40098, "縦横比を維持(&A)"},
    {40099, "縮小するが拡大はしない(&N)"},
    {40176, "画像にあわせる(&P)"},
    {40177, "ウィンドウにあわせる(&W)"},
    {40178, "ウィンドウの幅にあわせる(&Y)"},
    {40179, "ウィンドウの高さにあわせる(&T)"},
    {40118, "スライドショー間隔(&S)"},
    {40181, "環境設定(&O)"},
    {40108, "表示(&V)\tL"},
    {40109, "現在のフォルダを追加(&G)\tZ"},
    {40110, "現在のファイルを追加(&F)\tX"},
    {40120, "リストから開く(&L)\tShift+Space"},
    {40121, "上の行を開く(&U)\tShift+Up"},
    {40122, "下の行を開く(&D)\tShift+Down"},
    {40133, "リストからランダムに開く(&R)\tShift+R"},
    {40143, "ヘルプ(&H)"},
    {40076, "Susie plug-in情報(&S)"},
    {40007, "バージョン情報(&A)..."},
};
const std::map<int, std::string> kNormalTexts = {
    {40080, "前のファイル(&P)\tBackSpace"},
    {40078, "次のファイル(&N)\tSpace"},
};

constexpr int kSeparator = 0;
constexpr int kSub = -1; // where a nested popup stands among the items

// One popup: its path from the bar and its entries in order.
struct Popup {
    std::string path;
    std::vector<int> ids;
};

// The popups of a table in the order they open, each with its direct items.
std::vector<Popup> popupsOf(const platform::MenuTable& table) {
    std::vector<Popup> out;
    std::vector<std::size_t> open; // indexes into out
    for (std::size_t i = 0; i < table.count; ++i) {
        const platform::MenuEntry& entry = table.entries[i];
        switch (entry.kind) {
        case MenuEntryKind::Popup: {
            std::string path = open.empty() ? entry.text : out[open.back()].path + "/" + entry.text;
            if (!open.empty()) out[open.back()].ids.push_back(kSub);
            out.push_back({path, {}});
            open.push_back(out.size() - 1);
            break;
        }
        case MenuEntryKind::EndPopup:
            open.pop_back();
            break;
        case MenuEntryKind::Separator:
            out[open.back()].ids.push_back(kSeparator);
            break;
        default:
            out[open.back()].ids.push_back(entry.id);
            break;
        }
    }
    return out;
}

const std::vector<int> kFilters = {39000, 0, 39001, 39002, 39003, 39006, 39004, 39005, 39010};
const std::vector<int> kRotations = {40159, 0, 40160, 40161, 40162, 40163, 40165, 40166};
const std::vector<int> kModes = {40172, 40173, 0, 40174};
const std::vector<int> kTransparency = {40093, 40094, 40095, 40096};
const std::vector<int> kList = {40108, 40109, 40110, 0, 40120, 40121, 40122, 40133};
const std::vector<int> kHelp = {40143, 40076, 40007};

void expectPopups(const platform::MenuTable& table, const std::vector<Popup>& expected,
                  const std::map<int, std::string>& overrides) {
    std::vector<Popup> actual = popupsOf(table);
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].path);
        EXPECT_EQ(actual[i].path, expected[i].path);
        EXPECT_EQ(actual[i].ids, expected[i].ids);
    }
    for (std::size_t i = 0; i < table.count; ++i) {
        const platform::MenuEntry& entry = table.entries[i];
        if (entry.kind != MenuEntryKind::Item && entry.kind != MenuEntryKind::RadioItem) continue;
        auto special = overrides.find(entry.id);
        const std::string& text =
            special != overrides.end() ? special->second : kTexts.at(entry.id);
        EXPECT_EQ(entry.text, text) << entry.id;
    }
}

std::set<int> radioIds(const platform::MenuTable& table) {
    std::set<int> ids;
    for (std::size_t i = 0; i < table.count; ++i)
        if (table.entries[i].kind == MenuEntryKind::RadioItem) ids.insert(table.entries[i].id);
    return ids;
}

} // namespace

TEST(Menus, TheTwoPageBarHoldsEveryPopupItemAndTextInOrder) {
    const platform::MenuTable& table = resources::twoPageMenu();
    EXPECT_STREQ(table.name, "MENU");
    expectPopups(
        table,
        {
            {"ファイル(&F)",
             {40008, 0, 40079, 40085, 40084, 40080, 40078, 40081, 40134, 0, 40183, 0, 40011}},
            {"表示(&V)", {kSub, kSub, 40073, 40086, 40088, 40117, 0, 40138, 40139, 40169}},
            {"表示(&V)/フィルタ(&L)", kFilters},
            {"表示(&V)/回転／反転(&R)", kRotations},
            {"設定(&O)", {kSub, kSub, kSub, kSub, kSub, 0, 40118, 0, 40181}},
            {"設定(&O)/モード(&M)", kModes},
            {"設定(&O)/綴じ方(&R)", {40090, 40091}},
            {"設定(&O)/見開き(&M)", {30000, 30001, 30002}},
            {"設定(&O)/ダイアログの透明度(&T)", kTransparency},
            {"設定(&O)/表示方法(&V)", {40097, 40098, 40099}},
            {"リスト(&L)", kList},
            {"ヘルプ(&H)", kHelp},
        },
        {});
}

TEST(Menus, TheNormalBarHoldsEveryPopupItemAndTextInOrder) {
    const platform::MenuTable& table = resources::normalMenu();
    EXPECT_STREQ(table.name, "MENU_NORMAL");
    expectPopups(
        table,
        {
            {"ファイル(&F)", {40008, 0, 40079, 40080, 40078, 40081, 40134, 0, 40183, 0, 40011}},
            {"編集(&E)", {40018}},
            {"表示(&V)",
             {kSub, kSub, 40073, 40088, 40117, 0, 40045, 40046, 40175, 40180, 0, 40138, 40139,
              40169}},
            {"表示(&V)/フィルタ(&L)", kFilters},
            {"表示(&V)/回転／反転(&R)", kRotations},
            {"設定(&O)", {kSub, kSub, kSub, 0, 40118, 0, 40181}},
            {"設定(&O)/モード(&M)", kModes},
            {"設定(&O)/ダイアログの透明度(&T)", kTransparency},
            {"設定(&O)/表示方法(&V)", {40176, 40177, 40178, 40179}},
            {"リスト(&L)", kList},
            {"ヘルプ(&H)", kHelp},
        },
        kNormalTexts);
}

TEST(Menus, TheRadioGroupsAreTheChoicesAndTheTogglesAreChecks) {
    std::set<int> twoPage = {39000, 39001, 39002, 39003, 39006, 39004, 39005, 39010, 40159,
                             40160, 40161, 40162, 40163, 40165, 40166, 40090, 40091, 30000,
                             30001, 30002, 40093, 40094, 40095, 40096, 40097, 40098, 40099};
    EXPECT_EQ(radioIds(resources::twoPageMenu()), twoPage);
    std::set<int> normal = {39000, 39001, 39002, 39003, 39006, 39004, 39005, 39010,
                            40159, 40160, 40161, 40162, 40163, 40165, 40166, 40093,
                            40094, 40095, 40096, 40176, 40177, 40178, 40179};
    EXPECT_EQ(radioIds(resources::normalMenu()), normal);
}

TEST(Menus, TablesAreFoundByTheirNames) {
    EXPECT_EQ(resources::findMenuTable("MENU"), &resources::twoPageMenu());
    EXPECT_EQ(resources::findMenuTable("MENU_NORMAL"), &resources::normalMenu());
    EXPECT_EQ(resources::findMenuTable("menu"), nullptr);
}

TEST(Accelerators, CtrlDigitsSetTheTransparencyAndAltCTogglesTheCaption) {
    using namespace platform;
    const AcceleratorTable& table = resources::acceleratorTable();
    EXPECT_STREQ(table.name, "ACCEL");
    EXPECT_EQ(table.count, 5u);
    EXPECT_EQ(findAccelerator(table, '1', kControlHeld), 40093);
    EXPECT_EQ(findAccelerator(table, '2', kControlHeld), 40094);
    EXPECT_EQ(findAccelerator(table, '3', kControlHeld), 40095);
    EXPECT_EQ(findAccelerator(table, '4', kControlHeld), 40096);
    EXPECT_EQ(findAccelerator(table, 'C', kAltHeld), 40139);
    // The modifiers must match exactly; buttons held do not matter.
    EXPECT_EQ(findAccelerator(table, 'C', kAltHeld | kLeftButtonHeld), 40139);
    EXPECT_EQ(findAccelerator(table, '1', kControlHeld | kShiftHeld), 0);
    EXPECT_EQ(findAccelerator(table, '1', 0), 0);
    EXPECT_EQ(findAccelerator(table, 'C', 0), 0);
    EXPECT_EQ(findAccelerator(table, '5', kControlHeld), 0);
}

// Without a font of the set-up's for Japanese every menu item would be empty boxes.
TEST(Menus, AnInstalledJapaneseFontDrawsEveryMenuText) {
    ui_test::startTestApplication();
    QString texts;
    for (const platform::MenuTable* table : {&resources::twoPageMenu(), &resources::normalMenu()})
        for (std::size_t i = 0; i < table->count; ++i)
            texts += QString::fromUtf8(table->entries[i].text);
    bool drawn = false;
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        const QFontMetrics metrics{QFont(family)};
        bool all = true;
        for (char32_t c : texts.toUcs4())
            if (c != U'\t' && !metrics.inFontUcs4(c)) all = false;
        drawn = drawn || all;
    }
    EXPECT_TRUE(drawn) << "no installed font has every character of the menus";
}
