// catalog_menus.cpp - LISTMENU and LISTPOP as tables.
#include "resources/catalog_menus.h"

#include <array>

#include "resources/catalog_ids.h"
#include "resources/menu_entries.h"

namespace resources {
namespace {

using namespace menu;

constexpr MenuEntry kDataInput = item(listcmd::DataInput, "データ入力(&E)\tEnter");
constexpr MenuEntry kUp = item(listcmd::Up, "上へ(&U)\tAlt+Up");
constexpr MenuEntry kDelete = item(listcmd::Delete, "削除(&D)\tDel");
constexpr MenuEntry kAutoFill = item(listcmd::AutoFill, "項目自動入力(&A)\tF5");
constexpr MenuEntry kFavourites = popup("お気に入り(&O)");
constexpr MenuEntry kFavouritePlus = item(listcmd::FavouritePlus, "＋\tF7");
constexpr MenuEntry kFavouriteMinus = item(listcmd::FavouriteMinus, "－\tF8");
constexpr MenuEntry kOpenTarget = item(listcmd::OpenTarget, "対象を開く(&T)");

constexpr std::array kListMenu{
    popup("ファイル(&F)"),
    item(listcmd::New, "新規作成(&N)\tCtrl+N"),
    item(listcmd::Open, "開く(&O)\tCtrl+O"),
    item(listcmd::SaveAs, "名前を付けて保存(&A)"),
    item(listcmd::Save, "上書き保存(&S)\tCtrl+S"),
    separator(),
    item(listcmd::Close, "閉じる(&C)"),
    end(),
    popup("編集(&E)"),
    kDataInput,
    item(listcmd::MassInput, "一括入力(&M)"),
    separator(),
    kUp,
    item(listcmd::Down, "下へ(&D)\tAlt+Down"),
    kDelete,
    item(listcmd::DeleteAll, "全て削除する(&A)"),
    end(),
    popup("追加(&A)"),
    item(listcmd::AddCurrentFolder, "現在開いているフォルダ(&D)"),
    item(listcmd::AddCurrentFile, "現在開いているファイル(&F)"),
    item(listcmd::AddFolderTree, "指定フォルダ以下を一括追加(&A)"),
    end(),
    popup("ツール(&T)"),
    item(listcmd::Find, "検索(&F)\tCtrl+F"),
    item(listcmd::Replace, "置換(&R)\tCtrl+H"),
    kAutoFill,
    separator(),
    kFavourites,
    kFavouritePlus,
    kFavouriteMinus,
    end(),
    kOpenTarget,
    separator(),
    item(listcmd::ListInformation, "リスト情報(&A)"),
    end(),
    popup("設定(&O)"),
    item(listcmd::ColumnSet, "表示項目の設定(&C)"),
    item(listcmd::ColumnRename, "項目名の変更(&N)"),
    end(),
};

constexpr std::array kListPopup{
    popup("ふつー"),
    kDataInput,
    separator(),
    kUp,
    item(listcmd::Down, "下へ(&S)\tAlt+Down"),
    separator(),
    kDelete,
    kAutoFill,
    kFavourites,
    kFavouritePlus,
    kFavouriteMinus,
    end(),
    kOpenTarget,
    end(),
};

constexpr platform::MenuTable kListMenuTable{"LISTMENU", kListMenu.data(), kListMenu.size()};
constexpr platform::MenuTable kListPopupTable{"LISTPOP", kListPopup.data(), kListPopup.size()};

} // namespace

const platform::MenuTable& listMenu() {
    return kListMenuTable;
}

const platform::MenuTable& listPopup() {
    return kListPopupTable;
}

} // namespace resources
