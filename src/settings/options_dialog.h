// options_dialog.h - the options dialog "環境設定" (template OPTION) and its
// three pages: "全般" (TAB_OPTION) with the application-wide flags,
// "標準モード" (TAB_NORMAL) and "見開きモード" (TAB_MIHIRAKI) with each
// mode's flags and engines.
#pragma once

#include "platform/window_message.h"
#include "settings/viewer_state.h"

// Shows the settings of `state`. OK passes the command to the three pages in
// order, each copying its controls into `state`, and gives 1; cancel or
// closing the window changes nothing and gives 0. The caller applies the
// new settings to what is on screen.
int runOptionsDialog(platform::WindowId owner, ViewerState& state);
