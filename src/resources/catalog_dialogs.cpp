#include "resources/catalog_dialogs.h"

namespace resources {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::dialogTemplate;
using platform::kArrowKeys;
using platform::kAutoBuddy;
using platform::kDefaultButton;
using platform::kGroupStart;
using platform::kHorizontal;
using platform::kReadOnly;

// The options and the scope, which both search dialogs show below their texts.
#define VOXA_SEARCH_OPTIONS(top)                                                                  \
    {0, ControlKind::GroupBox, "オプション", {7, top, 236, 58}, 0},                               \
    {1014, ControlKind::CheckBox, "大文字小文字を区別する", {13, top + 11, 150, 10}, 0},          \
    {1056, ControlKind::CheckBox, "半角全角を区別する。", {13, top + 23, 150, 10}, 0},            \
    {1057, ControlKind::CheckBox, "ひらがなとカタカナを区別する", {13, top + 35, 150, 10}, 0},    \
    {1058, ControlKind::CheckBox, "記号も区別する", {13, top + 47, 150, 10}, 0},                  \
    {0, ControlKind::GroupBox, "検索範囲", {7, top + 62, 236, 44}, 0},                            \
    {1018, ControlKind::RadioButton, "全ての項目", {13, top + 74, 70, 10}, kGroupStart},          \
    {1019, ControlKind::RadioButton, "テキスト項目", {90, top + 74, 70, 10}, 0},                  \
    {1020, ControlKind::RadioButton, "指定項目", {13, top + 89, 60, 10}, 0},                      \
    {1059, ControlKind::ComboBox, "", {78, top + 87, 120, 80}, 0}

constexpr ControlTemplate kListFind[] = {
    {1042, ControlKind::EditCombo, "", {7, 7, 170, 80}, 0},
    {1043, ControlKind::Button, "上へ検索", {185, 7, 58, 14}, 0},
    {1044, ControlKind::Button, "下へ検索", {185, 24, 58, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {185, 41, 58, 14}, 0},
    VOXA_SEARCH_OPTIONS(60),
};

constexpr ControlTemplate kListReplace[] = {
    {0, ControlKind::Label, "検索する文字列", {7, 7, 170, 9}, 0},
    {1042, ControlKind::EditCombo, "", {7, 17, 170, 80}, 0},
    {0, ControlKind::Label, "置換後の文字列", {7, 35, 170, 9}, 0},
    {1043, ControlKind::EditCombo, "", {7, 45, 170, 80}, 0},
    {1044, ControlKind::Button, "下へ検索", {185, 7, 58, 14}, kDefaultButton},
    {1068, ControlKind::Button, "置換", {185, 24, 58, 14}, 0},
    {1069, ControlKind::Button, "全て置換", {185, 41, 58, 14}, 0},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {185, 58, 58, 14}, 0},
    VOXA_SEARCH_OPTIONS(76),
};

#undef VOXA_SEARCH_OPTIONS

// One slot of the data dialog: the column's name and its cell.
#define VOXA_DATA_SLOT(j)                                                                         \
    {1050 + j, ControlKind::Edit, "", {7, 26 + 18 * j, 80, 13}, kReadOnly},                      \
    {1003 + j, ControlKind::Edit, "", {92, 26 + 18 * j, 200, 13}, 0}

constexpr ControlTemplate kListData[] = {
    {0, ControlKind::Label, "PAGE", {7, 9, 24, 9}, 0},
    {1055, ControlKind::Edit, "", {34, 7, 24, 13}, kReadOnly},
    {1010, ControlKind::UpDown, "", {58, 7, 20, 13}, kAutoBuddy | kArrowKeys | kHorizontal},
    VOXA_DATA_SLOT(0),
    VOXA_DATA_SLOT(1),
    VOXA_DATA_SLOT(2),
    VOXA_DATA_SLOT(3),
    VOXA_DATA_SLOT(4),
    {1, ControlKind::Button, "OK", {186, 120, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {242, 120, 50, 14}, 0},
};

#undef VOXA_DATA_SLOT

constexpr ControlTemplate kListEditMassput[] = {
    {0, ControlKind::GroupBox, "項目名", {7, 7, 186, 32}, 0},
    {1042, ControlKind::ComboBox, "", {13, 19, 174, 80}, 0},
    {0, ControlKind::GroupBox, "入力するデータ", {7, 44, 186, 32}, 0},
    {1003, ControlKind::Edit, "", {13, 56, 174, 13}, 0},
    {1, ControlKind::Button, "OK", {87, 83, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {143, 83, 50, 14}, 0},
};

constexpr ControlTemplate kListColumn[] = {
    {0, ControlKind::GroupBox, "表示項目", {7, 7, 120, 150}, 0},
    {1038, ControlKind::ReportList, "項目名", {13, 19, 108, 132}, 0},
    {1044, ControlKind::Button, "追加", {133, 30, 40, 14}, 0},
    {1045, ControlKind::Button, "削除", {133, 48, 40, 14}, 0},
    {1047, ControlKind::Button, "↑", {133, 76, 40, 14}, 0},
    {1048, ControlKind::Button, "↓", {133, 94, 40, 14}, 0},
    {0, ControlKind::Label, "追加可能な項目", {179, 7, 120, 9}, 0},
    {1039, ControlKind::ReportList, "項目名", {179, 19, 120, 138}, 0},
    {1, ControlKind::Button, "OK", {193, 163, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {249, 163, 50, 14}, 0},
};

constexpr ControlTemplate kListColumnEdit[] = {
    {0, ControlKind::GroupBox, "項目名", {7, 7, 186, 32}, 0},
    {1042, ControlKind::ComboBox, "", {13, 19, 174, 80}, 0},
    {0, ControlKind::GroupBox, "新しい名前", {7, 44, 186, 32}, 0},
    {1003, ControlKind::Edit, "", {13, 56, 174, 13}, 0},
    {1048, ControlKind::Button, "元に戻す", {7, 83, 50, 14}, 0},
    {1, ControlKind::Button, "OK", {87, 83, 50, 14}, kDefaultButton},
    {2, ControlKind::Button, "ｷｬﾝｾﾙ", {143, 83, 50, 14}, 0},
};

constexpr DialogTemplate kTemplates[] = {
    dialogTemplate("LIST_FIND", "検索", 250, 173, kListFind),
    dialogTemplate("LIST_REPLACE", "置換", 250, 189, kListReplace),
    dialogTemplate("LIST_DATA", "データ編集", 299, 141, kListData),
    dialogTemplate("LIST_EDIT_MASSPUT", "一括入力", 200, 104, kListEditMassput),
    dialogTemplate("LIST_COLUMN", "表示項目の設定", 306, 184, kListColumn),
    dialogTemplate("LIST_COLUMN_EDIT", "項目名変更", 200, 104, kListColumnEdit),
};

} // namespace

std::span<const platform::DialogTemplate> catalogDialogTemplates() {
    return kTemplates;
}

} // namespace resources
