// dialog_seam.h - a user's acts on a live dialog, for the answerers of the
// modal seam (modal.h) and for tests of modeless dialogs.
//
// Each call changes the real control as the mouse or keyboard would and so
// notifies the dialog procedure exactly as the user's act does.
#pragma once

#include <string>

#include "platform/dialog.h"

namespace platform {

// A button pressed, a check box toggled, a radio button chosen.
void clickControl(DialogId dialog, int id);
// The edit's (or edit combo's) text replaced by `text`, as typed.
void typeText(DialogId dialog, int id, const std::string& text);
// An item chosen in a combo box, list box, report list or tab control.
void chooseItem(DialogId dialog, int id, int index);
// A trackbar's thumb dragged to `position` (clamped to its range).
void moveTrackbar(DialogId dialog, int id, int position);
// An up-down control's arrow clicked `steps` times (negative: the down or left arrow).
void stepUpDown(DialogId dialog, int id, int steps);
// A key (keys.h) pressed while the dialog has the keyboard: Return, Escape, ...
void pressDialogKey(DialogId dialog, int key, unsigned state = 0);
// A mouse button pressed over the dialog itself (not over a control).
void pressDialogButton(DialogId dialog, MouseButton button);
// The window's close button.
void closeDialogWindow(DialogId dialog);

} // namespace platform
