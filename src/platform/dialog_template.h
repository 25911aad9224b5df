// dialog_template.h - a dialog written down as plain data: its size and
// title, and each control with its id, kind, text, place and flags.
//
// Places and sizes are in dialog units (dialog_units.h), so a template says
// the same on every desktop whatever its font. The window layer builds a real
// dialog from a template (dialog.h); the tables live in resources/.
#pragma once

#include <cstddef>

namespace platform {

// A rectangle in dialog units: x and y from the top-left of the dialog's
// client area (or of a page's area), then width and height.
struct UnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The controls a dialog can hold and what they tell their dialog procedure
// (Notification of dialog.h). Unless said otherwise, only the user's acts
// notify; values set through dialog.h do not.
enum class ControlKind {
    Button,        // push button: Clicked
    CheckBox,      // Clicked, after the mark has changed
    RadioButton,   // Clicked; see kGroupStart
    GroupBox,      // a frame with its text as the heading
    Label,         // static text
    Edit,          // one line of text: Changed on every change, set through dialog.h too
    MultiLineEdit, // lines broken by "\r\n", with a vertical scroll bar: as Edit
    ComboBox,      // a drop-down list to choose one item from: SelectionChanged
    EditCombo,     // a drop-down list under an edit field: Changed (as Edit), SelectionChanged
    ListBox,       // lines, one of them selected: SelectionChanged
    ReportList,    // as ListBox, under a header row that shows the control's text
    Trackbar,      // a slider over a range: Changed
    UpDown,        // two arrows that step the number in its buddy edit: Changed
    Tab,           // tabs over a frame whose inside holds page dialogs: SelectionChanged
    Progress,      // a bar filled from the low end of its range to its position
};

enum ControlFlags : unsigned {
    kDefaultButton = 1u << 0, // Return presses it
    kReadOnly = 1u << 1,      // edits: shown, selectable, not changeable
    kDisabled = 1u << 2,
    kHidden = 1u << 3,
    // Radio buttons that follow each other in the template form one group, in
    // which checking one clears the others; this flag starts a new group.
    kGroupStart = 1u << 4,
    kHorizontal = 1u << 5, // up-down: left and right arrows instead of up and down
    kAutoBuddy = 1u << 6,  // up-down: the control before it in the template is its buddy
    kArrowKeys = 1u << 7,  // up-down: the arrow keys in the buddy step it too
};

struct ControlTemplate {
    int id = 0; // 0 for controls nobody addresses (labels, group boxes)
    ControlKind kind = ControlKind::Label;
    const char* text = ""; // UTF-8; "&" marks a mnemonic on buttons
    UnitRect rect;
    unsigned flags = 0;
};

struct DialogTemplate {
    const char* name = "";  // resource name, in capitals: "OPTION", "TAB_NORMAL"
    const char* title = ""; // caption; a page dialog shows none
    int width = 0;          // the client area in dialog units
    int height = 0;
    const ControlTemplate* controls = nullptr;
    std::size_t count = 0;
};

} // namespace platform
