// catalog_dialogs.h - the dialog templates of the catalog window, registered
// with the window layer by name (platform/dialog.h) when the window is made.
//
//   LIST_FIND          "検索": search combo 1042, up 1043, down 1044, cancel 2,
//                      option boxes 1014 1056 1057 1058, scope 1018 1019 1020, column list 1059
//   LIST_REPLACE       "置換": the same options, scope and column list; search combo 1042,
//                      replacement combo 1043, down 1044, replace 1068, replace all 1069, cancel 2
//   LIST_DATA          "データ編集": page 1055 with up-down 1010, names 1050..1054,
//                      fields 1003..1007, OK 1, cancel 2
//   LIST_EDIT_MASSPUT  "一括入力": column list 1042, text 1003, OK 1, cancel 2
//   LIST_COLUMN        "表示項目の設定": visible list 1038, hidden list 1039, add 1044,
//                      remove 1045, up 1047, down 1048, OK 1, cancel 2
//   LIST_COLUMN_EDIT   "項目名変更": column list 1042, name 1003, default 1048, OK 1, cancel 2
#pragma once

#include <span>

#include "platform/dialog_template.h"

namespace resources {

std::span<const platform::DialogTemplate> catalogDialogTemplates();

} // namespace resources
