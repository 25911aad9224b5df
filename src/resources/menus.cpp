// menus.cpp - the menu bars as tables. The popups that both bars share are
// written once and joined into each bar.
#include "resources/menus.h"

#include <algorithm>
#include <array>

#include "resources/command_ids.h"
#include "resources/menu_entries.h"

namespace resources {
namespace {

using namespace menu;

template <std::size_t... N> constexpr auto join(const std::array<MenuEntry, N>&... parts) {
    std::array<MenuEntry, (N + ...)> out{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), out.begin() + at), at += N), ...);
    return out;
}

constexpr MenuEntry kOpen = item(cmd::Open, "開く(&O)\tO");
constexpr MenuEntry kFirstFile = item(cmd::FirstFile, "最初のファイル(&F)\tHome");
constexpr MenuEntry kLastFile = item(cmd::LastFile, "最後のファイル(&E)\tEnd");
constexpr MenuEntry kRandomFile = item(cmd::RandomFile, "ランダムなファイルを開く(&R)\tR");
constexpr MenuEntry kPictureInformation = item(cmd::PictureInformation, "画像情報(&I)\tA");
constexpr MenuEntry kExit = item(cmd::Exit, "終了(&X)\tQ");
constexpr MenuEntry kFullScreen = item(cmd::FullScreen, "フルスクリーン表示(&F)\tReturn");
constexpr MenuEntry kPageSelect = item(cmd::PageSelect, "ページ指定(&P)\tP");
constexpr MenuEntry kSlideshow = item(cmd::Slideshow, "スライドショー(&S)\tF2");
constexpr MenuEntry kSlideshowInterval = item(cmd::SlideshowInterval, "スライドショー間隔(&S)");
constexpr MenuEntry kOptions = item(cmd::Options, "環境設定(&O)");

constexpr std::array kFilters{
    popup("フィルタ(&L)"),
    radio(cmd::FilterNone, "なし(&0)"),
    separator(),
    radio(cmd::FilterNegative, "ネガティブ(&1)"),
    radio(cmd::FilterGrey, "グレー化(&2)"),
    radio(cmd::FilterBlur, "ぼかし(&3)"),
    radio(cmd::FilterBlur2, "ぼかしII(&4)"),
    radio(cmd::FilterSharpen, "シャープ(&5)"),
    radio(cmd::FilterBrighten, "明るく(&6)"),
    radio(cmd::FilterDarken, "暗く(&7)"),
    end(),
};

constexpr std::array kRotations{
    popup("回転／反転(&R)"),
    radio(cmd::RotateNone, "なし(&0)"),
    separator(),
    radio(cmd::RotateRight, "右回転(&1)"),
    radio(cmd::RotateLeft, "左回転(&2)"),
    radio(cmd::RotateAutoRight, "自動回転(右)(&3)"),
    radio(cmd::RotateAutoLeft, "自動回転(左)(&4)"),
    radio(cmd::MirrorLeftRight, "左右反転(&5)"),
    radio(cmd::FlipUpsideDown, "上下反転(&6)"),
    end(),
};

// The frame toggles that close both View popups.
constexpr std::array kFrameToggles{
    separator(),
    item(cmd::ToggleMenu, "メニューを表示/非表示(&M)\tEsc"),
    item(cmd::ToggleCaption, "キャプションを表示/非表示(&C)\tAlt+C"),
    item(cmd::FitWindowToPicture, "ウィンドウサイズを画像に合わせる(&W)"),
    end(),
};

constexpr std::array kModes{
    popup("モード(&M)"),
    item(cmd::NormalMode, "標準(&N)"),
    item(cmd::TwoPageMode, "２枚開き(&M)"),
    separator(),
    item(cmd::ToggleMode, "モードの切り替え(&C)\tM"),
    end(),
};

constexpr std::array kTransparency{
    popup("ダイアログの透明度(&T)"),           radio(cmd::Transparency0, "0%\tCtrl+1"),
    radio(cmd::Transparency25, "25%\tCtrl+2"), radio(cmd::Transparency50, "50%\tCtrl+3"),
    radio(cmd::Transparency75, "75%\tCtrl+4"), end(),
};

// The end of both Settings popups.
constexpr std::array kSettingsEnd{
    separator(), kSlideshowInterval, separator(), kOptions, end(),
};

constexpr std::array kListAndHelp{
    popup("リスト(&L)"),
    item(cmd::ShowCatalog, "表示(&V)\tL"),
    item(cmd::AddCurrentFolder, "現在のフォルダを追加(&G)\tZ"),
    item(cmd::AddCurrentFile, "現在のファイルを追加(&F)\tX"),
    separator(),
    item(cmd::OpenFromList, "リストから開く(&L)\tShift+Space"),
    item(cmd::OpenRowAbove, "上の行を開く(&U)\tShift+Up"),
    item(cmd::OpenRowBelow, "下の行を開く(&D)\tShift+Down"),
    item(cmd::OpenRandomRow, "リストからランダムに開く(&R)\tShift+R"),
    end(),
    popup("ヘルプ(&H)"),
    item(cmd::Help, "ヘルプ(&H)"),
    item(cmd::PluginInformation, "Susie plug-in情報(&S)"),
    item(cmd::Version, "バージョン情報(&A)..."),
    end(),
};

constexpr auto kTwoPage = join(
    std::array{
        popup("ファイル(&F)"),
        kOpen,
        separator(),
        kFirstFile,
        item(cmd::PreviousPage, "前のページ(&U)\tBackSpace or Up"),
        item(cmd::NextPage, "次のページ(&D)\tSpace or Down"),
        item(cmd::PreviousFile, "前のファイル(&P)\tRight"),
        item(cmd::NextFile, "次のファイル(&N)\tLeft"),
        kLastFile,
        kRandomFile,
        separator(),
        kPictureInformation,
        separator(),
        kExit,
        end(),
        popup("表示(&V)"),
    },
    kFilters, kRotations,
    std::array{
        kFullScreen,
        item(cmd::ReverseBinding, "逆開きにする(&I)\tI"),
        kPageSelect,
        kSlideshow,
    },
    kFrameToggles, std::array{popup("設定(&O)")}, kModes,
    std::array{
        popup("綴じ方(&R)"),
        radio(cmd::BindRight, "右綴じ(&R)"),
        radio(cmd::BindLeft, "左綴じ(&L)"),
        end(),
        popup("見開き(&M)"),
        radio(cmd::SpreadAuto, "オート(&A)"),
        radio(cmd::SpreadNever, "常に１画像表示(&1)"),
        radio(cmd::SpreadAlways, "常に見開き表示(&2)"),
        end(),
    },
    kTransparency,
    std::array{
        popup("表示方法(&V)"),
        radio(cmd::TwoPageFitWindow, "ウィンドウに合わせる(&W)"),
        radio(cmd::TwoPageKeepAspect, "縦横比を維持(&A)"),
        radio(cmd::TwoPageReduceOnly, "縮小するが拡大はしない(&N)"),
        end(),
    },
    kSettingsEnd, kListAndHelp);

constexpr auto kNormal = join(
    std::array{
        popup("ファイル(&F)"),
        kOpen,
        separator(),
        kFirstFile,
        item(cmd::PreviousFile, "前のファイル(&P)\tBackSpace"),
        item(cmd::NextFile, "次のファイル(&N)\tSpace"),
        kLastFile,
        kRandomFile,
        separator(),
        kPictureInformation,
        separator(),
        kExit,
        end(),
        popup("編集(&E)"),
        item(cmd::Copy, "コピー(&C)"),
        end(),
        popup("表示(&V)"),
    },
    kFilters, kRotations,
    std::array{
        kFullScreen,
        kPageSelect,
        kSlideshow,
        separator(),
        item(cmd::ZoomIn, "拡大(&I)\t+"),
        item(cmd::ZoomOut, "縮小(&O)\t-"),
        item(cmd::ActualSize, "元の大きさで表示(&Z)\t*"),
        item(cmd::LockZoom, "ズームを固定(&X)"),
    },
    kFrameToggles, std::array{popup("設定(&O)")}, kModes, kTransparency,
    std::array{
        popup("表示方法(&V)"),
        radio(cmd::NormalFitPicture, "画像にあわせる(&P)"),
        radio(cmd::NormalFitWindow, "ウィンドウにあわせる(&W)"),
        radio(cmd::NormalFitWidth, "ウィンドウの幅にあわせる(&Y)"),
        radio(cmd::NormalFitHeight, "ウィンドウの高さにあわせる(&T)"),
        end(),
    },
    kSettingsEnd, kListAndHelp);

constexpr platform::MenuTable kTwoPageTable{"MENU", kTwoPage.data(), kTwoPage.size()};
constexpr platform::MenuTable kNormalTable{"MENU_NORMAL", kNormal.data(), kNormal.size()};

using platform::AcceleratorEntry;
constexpr AcceleratorEntry kAccelerators[] = {
    {'1', platform::kControlHeld, cmd::Transparency0},
    {'2', platform::kControlHeld, cmd::Transparency25},
    {'3', platform::kControlHeld, cmd::Transparency50},
    {'4', platform::kControlHeld, cmd::Transparency75},
    {'C', platform::kAltHeld, cmd::ToggleCaption},
};
constexpr platform::AcceleratorTable kAcceleratorTable{"ACCEL", kAccelerators,
                                                       std::size(kAccelerators)};

} // namespace

const platform::MenuTable& twoPageMenu() {
    return kTwoPageTable;
}
const platform::MenuTable& normalMenu() {
    return kNormalTable;
}

const platform::MenuTable* findMenuTable(std::string_view name) {
    if (name == kTwoPageTable.name) return &kTwoPageTable;
    if (name == kNormalTable.name) return &kNormalTable;
    return nullptr;
}

const platform::AcceleratorTable& acceleratorTable() {
    return kAcceleratorTable;
}

} // namespace resources
