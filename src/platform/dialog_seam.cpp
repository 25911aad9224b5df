// dialog_seam.cpp - the user's acts on a live dialog, through the real
// widgets, so that Qt emits what the mouse or keyboard would have made it emit.
#include "platform/dialog_seam.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSlider>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>

#include "platform/dialog_host.h"
#include "platform/keys.h"

namespace platform {
namespace {

using detail::ControlRecord;
using detail::findControl;
using detail::findDialog;

// A control the user can reach: there, enabled and, for edits, writable.
ControlRecord* usable(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    return control && control->widget->isEnabled() ? control : nullptr;
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int qtKeyOf(int key) {
    switch (key) {
    case key::Tab:
        return Qt::Key_Tab;
    case key::Return:
        return Qt::Key_Return;
    case key::Escape:
        return Qt::Key_Escape;
    case key::BackSpace:
        return Qt::Key_Backspace;
    case key::Home:
        return Qt::Key_Home;
    case key::End:
        return Qt::Key_End;
    case key::PageUp:
        return Qt::Key_PageUp;
    case key::PageDown:
        return Qt::Key_PageDown;
    case key::Left:
        return Qt::Key_Left;
    case key::Right:
        return Qt::Key_Right;
    case key::Up:
        return Qt::Key_Up;
    case key::Down:
        return Qt::Key_Down;
    default:
        return key > 0 && key < 0x80 ? key : 0; // printable keys are their character
    }
}

Qt::KeyboardModifiers modifiersOf(unsigned state) {
    Qt::KeyboardModifiers modifiers;
    if (state & kShiftHeld) modifiers |= Qt::ShiftModifier;
    if (state & kControlHeld) modifiers |= Qt::ControlModifier;
    if (state & kAltHeld) modifiers |= Qt::AltModifier;
    return modifiers;
}

Qt::MouseButton qtButtonOf(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return Qt::LeftButton;
    case MouseButton::Right:
        return Qt::RightButton;
    case MouseButton::Middle:
        return Qt::MiddleButton;
    case MouseButton::Extra1:
        return Qt::XButton1;
    case MouseButton::Extra2:
        return Qt::XButton2;
    case MouseButton::None:
        break;
    }
    return Qt::NoButton;
}

} // namespace

void clickControl(DialogId dialog, int id) {
    if (ControlRecord* control = usable(dialog, id))
        if (auto* button = qobject_cast<QAbstractButton*>(control->widget)) button->click();
}

void typeText(DialogId dialog, int id, const std::string& text) {
    ControlRecord* control = usable(dialog, id);
    if (!control) return;
    if (auto* edit = qobject_cast<QLineEdit*>(control->widget); edit && !edit->isReadOnly())
        edit->setText(fromUtf8(text));
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(control->widget);
             lines && !lines->isReadOnly())
        lines->setPlainText(fromUtf8(text).replace("\r\n", "\n"));
    else if (auto* combo = qobject_cast<QComboBox*>(control->widget); combo && combo->isEditable())
        combo->setEditText(fromUtf8(text));
}

void chooseItem(DialogId dialog, int id, int index) {
    ControlRecord* control = usable(dialog, id);
    if (!control) return;
    QWidget* widget = control->widget;
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (index >= 0 && index < combo->count()) combo->setCurrentIndex(index);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        if (index >= 0 && index < list->count()) list->setCurrentRow(index);
    } else if (auto* report = qobject_cast<QTreeWidget*>(widget)) {
        if (QTreeWidgetItem* item = report->topLevelItem(index)) report->setCurrentItem(item);
    } else if (control->kind == ControlKind::Tab) {
        QTabBar* bar = static_cast<detail::TabControl*>(widget)->bar();
        if (index >= 0 && index < bar->count()) bar->setCurrentIndex(index);
    }
}

void moveTrackbar(DialogId dialog, int id, int position) {
    if (ControlRecord* control = usable(dialog, id))
        if (auto* slider = qobject_cast<QSlider*>(control->widget)) slider->setValue(position);
}

void stepUpDown(DialogId dialog, int id, int steps) {
    detail::stepUpDownControl(dialog, id, steps);
}

void pressDialogKey(DialogId dialog, int key, unsigned state) {
    detail::DialogRecord* record = findDialog(dialog);
    const int qtKey = qtKeyOf(key);
    if (!record || !record->widget || !qtKey) return;
    QWidget* target = record->widget->focusWidget();
    if (!target) target = record->widget;
    const Qt::KeyboardModifiers modifiers = modifiersOf(state);
    QString text;
    if (key >= 0x20 && key < 0x7f)
        text = QChar(modifiers & Qt::ShiftModifier ? key : QChar(key).toLower().unicode());
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
    if (findDialog(dialog)) QCoreApplication::sendEvent(target, &release);
}

void pressDialogButton(DialogId dialog, MouseButton button) {
    detail::DialogRecord* record = findDialog(dialog);
    const Qt::MouseButton qtButton = qtButtonOf(button);
    if (!record || !record->widget || qtButton == Qt::NoButton) return;
    QWidget* widget = record->widget;
    const QPointF local(1, 1);
    QMouseEvent event(QEvent::MouseButtonPress, local, widget->mapToGlobal(local), qtButton,
                      qtButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void closeDialogWindow(DialogId dialog) {
    detail::DialogRecord* record = findDialog(dialog);
    if (record && record->widget && record->widget->isWindow()) record->widget->close();
}

} // namespace platform
