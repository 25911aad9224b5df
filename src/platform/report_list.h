// report_list.h - the report list: rows of text cells under a header of named
// columns, each row with a small icon in its first column.
//
// The list holds no texts of its own: it asks its source for the cells of
// the rows it paints, so ten thousand rows cost nothing until they are shown
// and filling the list is telling it how many rows there are. Rows are
// selected whole, one or several; the selection follows rows that are
// inserted or removed, and is set anew by the owner when it reorders rows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/window_message.h"

namespace platform {

using ReportListId = unsigned; // 0 is no list

enum class ColumnAlignment { Left, Right, Centre };

struct ReportColumn {
    std::string name;
    int width = 0;
    ColumnAlignment alignment = ColumnAlignment::Left;
};

struct ReportListOptions {
    bool multipleSelection = true; // Shift and Ctrl extend the selection
    bool gridLines = false;
    bool headerDragDrop = false; // the user may reorder the columns on screen
};

// Where the cells come from; called only for rows below the row count and
// columns below the column count.
struct ReportSource {
    std::function<std::string(int row, int column)> cellText;
    // Index into the list's images of the row's icon; -1 for none.
    std::function<int(int row)> icon;
};

enum class ReportEventKind {
    KeyDown,     // key, state
    ButtonDown,  // button, row under it (-1 none), state
    DoubleClick, // left button; row under it, -1 when it hit no row
    HeaderClick, // column: the column's index, whatever its place on screen
    ContextMenu, // screenPosition: where the menu is asked for
};

struct ReportEvent {
    ReportEventKind kind = ReportEventKind::KeyDown;
    int key = 0;
    unsigned state = 0;
    MouseButton button = MouseButton::None;
    int row = -1;
    int column = -1;
    Point screenPosition;
};

// Told each event before the list's own handling. Answering true for a
// KeyDown keeps the list from acting on the key (moving the selection);
// other events always go on to the list. The accelerators (accelerator.h)
// see every key first.
using ReportListener = std::function<bool(const ReportEvent&)>;

// A list in the client area of `parent`, at `rect` (client coordinates);
// it goes with the window. 0 when `parent` is not a window.
ReportListId createReportList(WindowId parent, Rect rect, const ReportListOptions& options);
bool isReportList(ReportListId list);

void setReportSource(ReportListId list, ReportSource source);
void setReportListener(ReportListId list, ReportListener listener);
// The icons, 16 x 16 XPM images (the caller's, alive for the whole run).
void setReportImages(ReportListId list, const std::vector<const char* const*>& images);

// Replaces every column; their order on screen starts as given.
void setReportColumns(ReportListId list, const std::vector<ReportColumn>& columns);
int reportColumnCount(ReportListId list);
// The column's width as the user left it.
int reportColumnWidth(ReportListId list, int column);

// Every row anew, none selected.
void setReportRowCount(ReportListId list, int rows);
int reportRowCount(ReportListId list);
void insertReportRows(ReportListId list, int at, int count);
void removeReportRows(ReportListId list, int at, int count);
// The cells of rows first..last changed.
void updateReportRows(ReportListId list, int first, int last);

// The selected rows, top to bottom.
std::vector<int> selectedReportRows(ReportListId list);
// Exactly these rows selected (others cleared).
void setSelectedReportRows(ReportListId list, const std::vector<int>& rows);
// `row` alone selected, made the current row and scrolled into view.
void selectOnlyReportRow(ReportListId list, int row);

void moveReportList(ReportListId list, Rect rect);
// Activates the list's window and gives the list the keyboard.
void focusReportList(ReportListId list);
bool reportListHasFocus(ReportListId list);

} // namespace platform
