// dialog.h - dialogs built from templates (dialog_template.h) and driven by a
// dialog procedure that lives in its subsystem.
//
// Templates are registered by name once (the viewer registers the tables of
// resources/ at start-up); a dialog is made from its name. The layer builds
// the controls, placed by the dialog-unit rule of dialog_units.h, and tells
// the procedure what happens: Init before the dialog is first shown, Command
// for a control's notification, Timer, ButtonDown for a mouse button pressed
// over the dialog itself, Destroy as it goes. The procedure reads and writes
// its controls by id with the calls below; setting a value notifies nobody,
// except an edit's text, whose every change is a Changed command (so a
// procedure that mirrors an edit elsewhere sees its own writes too).
//
// Return (or Enter) presses the default button. Escape and the close button
// send the command 2 (cancel) to the procedure, which decides whether the
// dialog ends: nothing closes a dialog but endDialog or destroyDialog.
//
// Modal dialogs (runDialog) pass the modal seam of modal.h: with an answerer
// installed, the real dialog is built and initialised offscreen, the answerer
// gets a request naming it, acts on it through dialog_seam.h and returns; a
// dialog it left open is then ended with 0 without its procedure being asked.
// Nothing blocks. Modeless dialogs (createDialog) are shown at once and live
// until destroyDialog; keys typed in them are offered to the accelerator
// table first, as the message loop offers every key, and then are theirs.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/geometry.h"
#include "platform/window_message.h"

namespace platform {

using DialogId = unsigned; // 0 is no dialog

// Dialog result and command ids the layer itself uses.
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;

enum class DialogMessage { Init, Command, Timer, ButtonDown, Destroy };
enum class Notification { None, Clicked, Changed, SelectionChanged };

struct DialogParams {
    int id = 0; // Command: the control's id; Timer: the timer's id
    Notification notification = Notification::None;
    MouseButton button = MouseButton::None; // ButtonDown
    void* context = nullptr;                // what the dialog was made with
};

// Answers 1 when it handled the message; the layer has no default handling.
using DialogProcedure = int (*)(DialogId dialog, DialogMessage message, const DialogParams& params);

// Adds the templates (or replaces those of the same names). They stay the
// caller's and must live as long as dialogs are made from them.
void registerDialogTemplates(std::span<const DialogTemplate> templates);
const DialogTemplate* findDialogTemplate(std::string_view name);

// Runs the dialog `name` modal over `owner` until endDialog; its result.
// -1 when there is no such template.
int runDialog(std::string_view name, WindowId owner, DialogProcedure procedure,
              void* context = nullptr);
// Ends a modal dialog with `result` once the current message is handled.
void endDialog(DialogId dialog, int result);
// The ending most dialogs share, for their procedures: the command OK, or
// cancel (also Escape and the close button), ends the dialog with that id.
// 1 when it did.
int endOnOkOrCancel(DialogId dialog, DialogMessage message, const DialogParams& params);

// A modeless dialog over `owner`, initialised and shown; 0 when there is no
// such template or the procedure destroyed it during Init.
DialogId createDialog(std::string_view name, WindowId owner, DialogProcedure procedure,
                      void* context = nullptr);
// A page of the tab control `tabId` of `parent`: a child dialog without a
// frame that fills the tab's display area (the frame's inside under the
// tabs), initialised and hidden. It goes when its parent goes.
DialogId createPageDialog(DialogId parent, int tabId, std::string_view name,
                          DialogProcedure procedure, void* context = nullptr);
// Sends Destroy to the dialog and then to its pages, and removes them.
// 0 when not a dialog.
int destroyDialog(DialogId dialog);
bool isDialog(DialogId dialog);
// The template's name the dialog was made from; empty when not a dialog.
std::string dialogName(DialogId dialog);
// The dialog's pages, in the order they were made.
std::vector<DialogId> dialogPages(DialogId dialog);

// Runs the procedure's Command for `id` now (notification Clicked), as a
// dialog passes a command on to its pages. 0 when not a dialog.
int sendDialogCommand(DialogId dialog, int id);

void showDialog(DialogId dialog, bool show);
bool isDialogVisible(DialogId dialog);
void setDialogTitle(DialogId dialog, const std::string& title);
std::string dialogTitle(DialogId dialog);
// 255 opaque ... 0 invisible; a page takes its top-level dialog's.
void setDialogOpacity(DialogId dialog, int alpha);
int dialogOpacity(DialogId dialog);
// A top-level dialog's window rectangle on the screen; a page's rectangle in
// its parent's client area.
Rect dialogRect(DialogId dialog);
// Moves the window rectangle's top-left there; the size stays.
void moveDialog(DialogId dialog, Point topLeft);

// One timer per (dialog, id); setting it again restarts it.
void setDialogTimer(DialogId dialog, int id, int periodMs);
void killDialogTimer(DialogId dialog, int id);

// ---- controls, by id -------------------------------------------------------

bool hasControl(DialogId dialog, int id);
// Edits, labels, buttons, group boxes, an edit combo's field. A multi-line
// edit gives its lines with "\r\n" between them.
void setControlText(DialogId dialog, int id, const std::string& text);
std::string controlText(DialogId dialog, int id);
// At most `maxChars` characters of the control's text read as a decimal
// number: blanks before it skipped, an optional sign; 0 when no digit follows.
int controlNumber(DialogId dialog, int id, int maxChars);

// Check boxes and radio buttons. Checking a radio button clears the others
// of its group.
void setChecked(DialogId dialog, int id, bool checked);
bool isChecked(DialogId dialog, int id);

void enableControl(DialogId dialog, int id, bool enabled);
bool isControlEnabled(DialogId dialog, int id);
void showControl(DialogId dialog, int id, bool shown);
bool isControlShown(DialogId dialog, int id); // shown as far as the control goes
void setReadOnly(DialogId dialog, int id, bool readOnly);
// Gives the control the keyboard; an edit's text is selected, so typing replaces it.
void focusControl(DialogId dialog, int id);

// Items of combo boxes, list boxes, report lists and tabs, in order.
void clearItems(DialogId dialog, int id);
// At the end; its index.
int addItem(DialogId dialog, int id, const std::string& text);
// Before the item at `index` (at the end when past it); nothing is re-sorted.
void insertItem(DialogId dialog, int id, int index, const std::string& text);
std::vector<std::string> items(DialogId dialog, int id);
// -1 selects nothing (not for tabs).
void setSelection(DialogId dialog, int id, int index);
int selection(DialogId dialog, int id); // -1 for none

// Trackbars, up-down controls and progress bars.
void setRange(DialogId dialog, int id, int low, int high);
int rangeLow(DialogId dialog, int id);
int rangeHigh(DialogId dialog, int id);
// Clamped to the range. An up-down control writes it into its buddy.
void setPosition(DialogId dialog, int id, int position);
int position(DialogId dialog, int id);
// Trackbars: how far Page Up and Page Down (and a click beside the thumb) move it.
void setTrackbarPage(DialogId dialog, int id, int page);
int trackbarPage(DialogId dialog, int id);
// Up-down controls: the edit whose number the arrows step.
void setUpDownBuddy(DialogId dialog, int upDown, int edit);

// A tab control's display area, in the dialog's client coordinates.
Rect tabDisplayArea(DialogId dialog, int id);
// A control's rectangle in the dialog's client coordinates; empty when absent.
Rect controlRect(DialogId dialog, int id);

} // namespace platform
