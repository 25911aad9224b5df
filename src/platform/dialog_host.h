// dialog_host.h - the Qt side of the dialog layer, shared by dialog.cpp
// (dialogs and their lives), dialog_build.cpp (making the controls),
// dialog_controls.cpp (reading and writing them) and dialog_seam.cpp (the
// user's acts). Nothing above platform/ includes it.
//
// Each dialog has a record keyed by its id; its widget is a DialogWindow (a
// QDialog) or, for a page, a plain child widget of its parent dialog. Control
// widgets are reached through the record by id, so a dialog destroyed while a
// signal is on its way is simply not told.
#pragma once

#include <QPointer>
#include <QWidget>
#include <map>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_units.h"

class QTabBar;
class QFrame;
class QToolButton;

namespace platform::detail {

struct ControlRecord {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    unsigned flags = 0;
    QWidget* widget = nullptr; // a child of the dialog's widget
    // Up-down controls, which Qt has none of: the buddy edit's id and the range.
    int buddy = 0;
    int low = 0;
    int high = 100;
    int position = 0;
};

struct DialogRecord {
    DialogId id = 0;
    const DialogTemplate* source = nullptr;
    DialogProcedure procedure = nullptr;
    void* context = nullptr;
    QPointer<QWidget> widget;
    DialogId parent = 0; // pages: the dialog whose tab they fill
    bool modal = false;
    bool ended = false; // modal: endDialog was called
    int result = 0;
    bool destroying = false; // Destroy is on its way: destroyDialog has nothing more to do
    // Notifications wait until Init is sent; while `quiet` is above 0 (values
    // being set through dialog.h) only edits notify.
    bool ready = false;
    int quiet = 0;
    std::vector<ControlRecord> controls; // in template order
    std::map<int, int> timers;           // timer id -> Qt timer id
};

DialogRecord* findDialog(DialogId dialog);
// Destroys every dialog left, for the application's end.
void destroyAllDialogs();
ControlRecord* findControl(DialogId dialog, int id);
// Sends the message to the dialog's procedure with the dialog's context;
// 0 when the dialog is gone.
int dispatchDialog(DialogId dialog, DialogMessage message, DialogParams params);
// Tells the procedure about a control's change, unless its dialog is quiet
// (see DialogRecord) or not yet initialised.
void notifyControl(DialogId dialog, int id, Notification notification);

// The base units of the font the dialog's widget draws with.
DialogBaseUnits dialogBaseUnits(const QWidget& widget);
// Makes the template's controls as children of `surface`, placed by `base`.
void buildControls(DialogRecord& record, QWidget& surface, DialogBaseUnits base);
// Steps an up-down control as one of its arrows does (negative: down or left).
void stepUpDownControl(DialogId dialog, int id, int steps);
// Makes `edit` the up-down control's buddy (with its arrow keys when the
// control's flags ask for them).
void attachBuddy(DialogId dialog, ControlRecord& upDown, int edit);

// The tab control: a tab bar over a frame. Its display area is the frame's
// inside, where the pages lie.
class TabControl : public QWidget {
public:
    explicit TabControl(QWidget* parent);
    QTabBar* bar() const { return bar_; }
    // In the tab control's coordinates.
    QRect displayArea() const;
    // Places the bar and the frame; called on every change of size or tabs.
    void arrange();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* bar_;
    QFrame* frame_;
};

// The up-down control: two arrow buttons side by side or one above the other.
class UpDownControl : public QWidget {
public:
    UpDownControl(QWidget* parent, bool horizontal);
    QToolButton* more() const { return more_; } // up or right
    QToolButton* less() const { return less_; } // down or left

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool horizontal_;
    QToolButton* more_;
    QToolButton* less_;
};

} // namespace platform::detail
