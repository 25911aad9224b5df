#include "resources/dialogs.h"

#include <array>

namespace resources {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::kArrowKeys;
using platform::kAutoBuddy;
using platform::kDefaultButton;
using platform::kGroupStart;
using platform::kReadOnly;

constexpr ControlTemplate kOption[] = {
    {1062, ControlKind::Tab, "", {7, 7, 216, 158}, 0},
    {1, ControlKind::Button, "OK", {117, 171, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "キャンセル", {173, 171, 50, 14}, 0},
};

constexpr ControlTemplate kTabOption[] = {
    {1014, ControlKind::CheckBox, "モード変更してもフィルタ・回転を維持する", {7, 6, 196, 12}, 0},
    {1056, ControlKind::CheckBox, "回転時の位置あわせ", {7, 21, 196, 12}, 0},
    {1057, ControlKind::CheckBox, "ダブルクリックでモード変更", {7, 36, 196, 12}, 0},
    {1058, ControlKind::CheckBox, "フィルタ・回転の保存", {7, 51, 196, 12}, 0},
    {1061, ControlKind::CheckBox, "画像を内部で24bitに変換する", {7, 66, 196, 12}, 0},
    {1066, ControlKind::CheckBox, "モード変更時にウィンドウサイズを維持する", {7, 81, 196, 12}, 0},
    {1074, ControlKind::CheckBox, "「次のページ」実行時先読みする", {7, 96, 196, 12}, 0},
    {1076, ControlKind::CheckBox, "現在のフォルダ名、圧縮ファイル名を表示する", {7, 111, 196, 12}, 0},
};

// Concatenated control lists, for the parts the two mode pages share.
template <std::size_t A, std::size_t B>
constexpr std::array<ControlTemplate, A + B> joined(const std::array<ControlTemplate, A>& first,
                                                    const std::array<ControlTemplate, B>& second) {
    std::array<ControlTemplate, A + B> out{};
    for (std::size_t i = 0; i < A; ++i)
        out[i] = first[i];
    for (std::size_t i = 0; i < B; ++i)
        out[A + i] = second[i];
    return out;
}

constexpr std::array<ControlTemplate, 3> kModeFlags = {{
    {1014, ControlKind::CheckBox, "オートスクロール", {7, 6, 196, 12}, 0},
    {1056, ControlKind::CheckBox, "オートメニュー", {7, 20, 196, 12}, 0},
    {1057, ControlKind::CheckBox, "マウスカーソルを隠す", {7, 34, 196, 12}, 0},
}};

constexpr std::array<ControlTemplate, 1> kClickPage = {{
    {1058, ControlKind::CheckBox, "クリックで前後の画像", {7, 48, 196, 12}, 0},
}};

// The engines: the radio pair and the three combos with their labels.
constexpr std::array<ControlTemplate, 8> kEngines = {{
    {1018, ControlKind::RadioButton, "Windows任せ", {7, 66, 80, 12}, kGroupStart},
    {1019, ControlKind::RadioButton, "内部で処理", {95, 66, 80, 12}, 0},
    {0, ControlKind::Label, "拡大", {7, 86, 60, 10}, 0},
    {1042, ControlKind::ComboBox, "", {70, 84, 110, 60}, 0},
    {0, ControlKind::Label, "縮小", {7, 103, 60, 10}, 0},
    {1059, ControlKind::ComboBox, "", {70, 101, 110, 60}, 0},
    {0, ControlKind::Label, "拡大＋縮小", {7, 120, 60, 10}, 0},
    {1043, ControlKind::ComboBox, "", {70, 118, 110, 60}, 0},
}};

constexpr auto kTabNormal = joined(kModeFlags, kEngines);
constexpr auto kTabMihiraki = joined(joined(kModeFlags, kClickPage), kEngines);

constexpr ControlTemplate kPower[] = {
    {1000, ControlKind::Trackbar, "", {7, 7, 186, 18}, 0},
    {1003, ControlKind::Edit, "", {7, 31, 40, 13}, 0},
    {1008, ControlKind::UpDown, "", {47, 31, 10, 13}, kAutoBuddy | kArrowKeys},
    {1014, ControlKind::CheckBox, "プレビュー", {66, 32, 70, 11}, 0},
    {1, ControlKind::Button, "OK", {143, 30, 50, 14}, kDefaultButton},
};

constexpr ControlTemplate kInfoPicture[] = {
    {1003, ControlKind::MultiLineEdit, "", {5, 5, 158, 146}, kReadOnly},
    {1, ControlKind::Button, "OK", {59, 157, 50, 14}, kDefaultButton},
};

constexpr ControlTemplate kInfoPictureDouble[] = {
    {1003, ControlKind::MultiLineEdit, "", {5, 5, 158, 146}, kReadOnly},
    {1004, ControlKind::MultiLineEdit, "", {170, 5, 158, 146}, kReadOnly},
    {1, ControlKind::Button, "OK", {141, 159, 50, 14}, kDefaultButton},
};

constexpr ControlTemplate kList[] = {
    {1038, ControlKind::ListBox, "", {7, 7, 246, 120}, 0},
    {1, ControlKind::Button, "OK", {105, 133, 50, 14}, kDefaultButton},
};

constexpr DialogTemplate dialog(const char* name, const char* title, int width, int height,
                                std::span<const ControlTemplate> controls) {
    return DialogTemplate{name, title, width, height, controls.data(), controls.size()};
}

constexpr DialogTemplate kTemplates[] = {
    dialog("OPTION", "環境設定", 230, 191, kOption),
    dialog("TAB_OPTION", "全般", 210, 130, kTabOption),
    dialog("TAB_NORMAL", "標準モード", 210, 136, kTabNormal),
    dialog("TAB_MIHIRAKI", "見開きモード", 210, 136, kTabMihiraki),
    dialog("POWER", "ページ指定", 200, 51, kPower),
    dialog("INFOPICTURE", "画像情報", 169, 175, kInfoPicture),
    dialog("INFOPICTUREDOUBLE", "画像情報", 334, 181, kInfoPictureDouble),
    dialog("LIST", "", 260, 154, kList),
};

} // namespace

std::span<const platform::DialogTemplate> dialogTemplates() {
    return kTemplates;
}

} // namespace resources
