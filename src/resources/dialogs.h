// dialogs.h - the dialog templates of the viewer, registered with the window
// layer by name (platform/dialog.h) when the main window is made.
//
//   OPTION             "環境設定": tab control 1062, OK 1, cancel 2
//   TAB_OPTION         its page "全般": eight check boxes
//   TAB_NORMAL         its page "標準モード": a mode's flags, engine radio pair and combos
//   TAB_MIHIRAKI       its page "見開きモード": the same with 1058 "クリックで前後の画像"
//   POWER              trackbar 1000, edit 1003, up-down 1008, check box 1014, OK 1
//                      (the page-number and slideshow-interval dialogs)
//   INFOPICTURE        "画像情報": read-only text 1003, OK 1
//   INFOPICTUREDOUBLE  "画像情報": read-only texts 1003 and 1004, OK 1
//   LIST               list box 1038, OK 1 (the plug-in information)
#pragma once

#include <span>

#include "platform/dialog_template.h"

namespace resources {

std::span<const platform::DialogTemplate> dialogTemplates();

} // namespace resources
