// dialog_controls.cpp - the controls of template dialogs read and written by id.
//
// Sections: texts and numbers; marks, states and focus; items; ranges and
// positions (with the up-down control's steps); geometry.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>
#include <climits>
#include <optional>

#include "platform/dialog.h"
#include "platform/dialog_host.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Values set from here notify nobody but edits (see DialogRecord::quiet).
class Quiet {
public:
    explicit Quiet(DialogId dialog) : dialog_(dialog) {
        if (DialogRecord* record = findDialog(dialog_)) ++record->quiet;
    }
    ~Quiet() {
        if (DialogRecord* record = findDialog(dialog_)) --record->quiet;
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    DialogId dialog_;
};

template <typename Widget>
Widget* widgetOf(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    return control ? qobject_cast<Widget*>(control->widget) : nullptr;
}

ControlRecord* controlOfKind(DialogId dialog, int id, ControlKind kind) {
    ControlRecord* control = findControl(dialog, id);
    return control && control->kind == kind ? control : nullptr;
}

// The number that the text's leading blanks, sign and digits make;
// nothing when no digit follows them. Saturates at the int limits.
std::optional<int> leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), 1LL + INT_MAX);
    if (negative) return static_cast<int>(std::max(-value, static_cast<long long>(INT_MIN)));
    return static_cast<int>(std::min(value, static_cast<long long>(INT_MAX)));
}

int clampToRange(const ControlRecord& upDown, int value) {
    return std::clamp(value, std::min(upDown.low, upDown.high), std::max(upDown.low, upDown.high));
}

// An up-down control's value: the number in its buddy when it holds one
// (the user may have typed it), else the position it keeps.
int upDownValue(DialogId dialog, const ControlRecord& upDown) {
    if (upDown.buddy) {
        std::optional<int> typed = leadingNumber(fromUtf8(controlText(dialog, upDown.buddy)));
        if (typed) return clampToRange(upDown, *typed);
    }
    return upDown.position;
}

} // namespace

void stepUpDownControl(DialogId dialog, int id, int steps) {
    ControlRecord* upDown = controlOfKind(dialog, id, ControlKind::UpDown);
    if (!upDown || !upDown->widget->isEnabled()) return;
    const int direction = upDown->high >= upDown->low ? 1 : -1;
    const long long next = static_cast<long long>(upDownValue(dialog, *upDown)) +
                           static_cast<long long>(steps) * direction;
    upDown->position = clampToRange(
        *upDown, static_cast<int>(std::clamp<long long>(next, INT_MIN, INT_MAX)));
    const int buddy = upDown->buddy;
    if (buddy) setControlText(dialog, buddy, std::to_string(upDown->position));
    notifyControl(dialog, id, Notification::Changed);
}

} // namespace detail

using namespace detail;

bool hasControl(DialogId dialog, int id) {
    return findControl(dialog, id) != nullptr;
}

// ---- texts and numbers -------------------------------------------------------

void setControlText(DialogId dialog, int id, const std::string& text) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    QString value = fromUtf8(text);
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::Edit:
        static_cast<QLineEdit*>(widget)->setText(value);
        break;
    case ControlKind::MultiLineEdit:
        static_cast<QPlainTextEdit*>(widget)->setPlainText(value.replace("\r\n", "\n"));
        break;
    case ControlKind::EditCombo:
        static_cast<QComboBox*>(widget)->setEditText(value);
        break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        static_cast<QAbstractButton*>(widget)->setText(value);
        break;
    case ControlKind::Label:
        static_cast<QLabel*>(widget)->setText(value);
        break;
    case ControlKind::GroupBox:
        static_cast<QGroupBox*>(widget)->setTitle(value);
        break;
    default:
        break;
    }
}

std::string controlText(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return {};
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::Edit:
        return static_cast<QLineEdit*>(widget)->text().toStdString();
    case ControlKind::MultiLineEdit:
        return static_cast<QPlainTextEdit*>(widget)
            ->toPlainText()
            .replace("\n", "\r\n")
            .toStdString();
    case ControlKind::ComboBox:
    case ControlKind::EditCombo:
        return static_cast<QComboBox*>(widget)->currentText().toStdString();
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return static_cast<QAbstractButton*>(widget)->text().toStdString();
    case ControlKind::Label:
        return static_cast<QLabel*>(widget)->text().toStdString();
    case ControlKind::GroupBox:
        return static_cast<QGroupBox*>(widget)->title().toStdString();
    default:
        return {};
    }
}

int controlNumber(DialogId dialog, int id, int maxChars) {
    const QString text = fromUtf8(controlText(dialog, id)).left(std::max(0, maxChars));
    return leadingNumber(text).value_or(0);
}

// ---- marks, states and focus ---------------------------------------------------

void setChecked(DialogId dialog, int id, bool checked) {
    auto* button = widgetOf<QAbstractButton>(dialog, id);
    if (!button || !button->isCheckable()) return;
    Quiet quiet(dialog);
    QButtonGroup* group = button->group();
    // An exclusive group keeps its checked button checked; clearing it
    // leaves the group without a mark, as the calls may.
    if (group && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (group && !checked) group->setExclusive(true);
}

bool isChecked(DialogId dialog, int id) {
    auto* button = widgetOf<QAbstractButton>(dialog, id);
    return button && button->isChecked();
}

void enableControl(DialogId dialog, int id, bool enabled) {
    if (ControlRecord* control = findControl(dialog, id)) control->widget->setEnabled(enabled);
}

bool isControlEnabled(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    return control && control->widget->isEnabled();
}

void showControl(DialogId dialog, int id, bool shown) {
    if (ControlRecord* control = findControl(dialog, id)) control->widget->setVisible(shown);
}

bool isControlShown(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    return control && !control->widget->isHidden();
}

void setReadOnly(DialogId dialog, int id, bool readOnly) {
    if (auto* edit = widgetOf<QLineEdit>(dialog, id)) edit->setReadOnly(readOnly);
    if (auto* edit = widgetOf<QPlainTextEdit>(dialog, id)) edit->setReadOnly(readOnly);
}

void focusControl(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    control->widget->setFocus(Qt::OtherFocusReason);
    // As when the Tab key reaches it: what is typed replaces the text.
    if (auto* edit = qobject_cast<QLineEdit*>(control->widget)) edit->selectAll();
}

// ---- items ---------------------------------------------------------------------

namespace {

// Qt selects the first item put into an empty combo box; a dialog's combo
// keeps its choice (and its typed text) when items come and go.
template <typename Change>
void changeComboItems(QComboBox* combo, Change change) {
    const int chosen = combo->currentIndex();
    const QString typed = combo->currentText();
    change();
    if (chosen < 0 && combo->currentIndex() >= 0) combo->setCurrentIndex(-1);
    if (combo->isEditable()) combo->setEditText(typed);
}

} // namespace

void clearItems(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::ComboBox:
    case ControlKind::EditCombo:
        static_cast<QComboBox*>(widget)->clear();
        break;
    case ControlKind::ListBox:
        static_cast<QListWidget*>(widget)->clear();
        break;
    case ControlKind::ReportList:
        static_cast<QTreeWidget*>(widget)->clear();
        break;
    case ControlKind::Tab: {
        auto* tab = static_cast<TabControl*>(widget);
        while (tab->bar()->count())
            tab->bar()->removeTab(0);
        tab->arrange();
        break;
    }
    default:
        break;
    }
}

void insertItem(DialogId dialog, int id, int index, const std::string& text) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    const QString value = fromUtf8(text);
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::ComboBox:
    case ControlKind::EditCombo: {
        auto* combo = static_cast<QComboBox*>(widget);
        const int at = std::clamp(index, 0, combo->count());
        changeComboItems(combo, [&] { combo->insertItem(at, value); });
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        list->insertItem(std::clamp(index, 0, list->count()), value);
        break;
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        list->insertTopLevelItem(std::clamp(index, 0, list->topLevelItemCount()),
                                 new QTreeWidgetItem(QStringList{value}));
        break;
    }
    case ControlKind::Tab: {
        auto* tab = static_cast<TabControl*>(widget);
        tab->bar()->insertTab(std::clamp(index, 0, tab->bar()->count()), value);
        tab->arrange();
        break;
    }
    default:
        break;
    }
}

int addItem(DialogId dialog, int id, const std::string& text) {
    const int index = static_cast<int>(items(dialog, id).size());
    insertItem(dialog, id, index, text);
    return index;
}

std::vector<std::string> items(DialogId dialog, int id) {
    std::vector<std::string> out;
    ControlRecord* control = findControl(dialog, id);
    if (!control) return out;
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::ComboBox:
    case ControlKind::EditCombo: {
        auto* combo = static_cast<QComboBox*>(widget);
        for (int i = 0; i < combo->count(); ++i)
            out.push_back(combo->itemText(i).toStdString());
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        break;
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.push_back(list->topLevelItem(i)->text(0).toStdString());
        break;
    }
    case ControlKind::Tab: {
        QTabBar* bar = static_cast<TabControl*>(widget)->bar();
        for (int i = 0; i < bar->count(); ++i)
            out.push_back(bar->tabText(i).toStdString());
        break;
    }
    default:
        break;
    }
    return out;
}

void setSelection(DialogId dialog, int id, int index) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::ComboBox:
    case ControlKind::EditCombo: {
        auto* combo = static_cast<QComboBox*>(widget);
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
        break;
    }
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        list->clearSelection();
        list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
        break;
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        list->clearSelection();
        list->setCurrentItem(list->topLevelItem(index)); // null for an index out of range
        break;
    }
    case ControlKind::Tab: {
        QTabBar* bar = static_cast<TabControl*>(widget)->bar();
        if (index >= 0 && index < bar->count()) bar->setCurrentIndex(index);
        break;
    }
    default:
        break;
    }
}

int selection(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return -1;
    QWidget* widget = control->widget;
    switch (control->kind) {
    case ControlKind::ComboBox:
    case ControlKind::EditCombo:
        return static_cast<QComboBox*>(widget)->currentIndex();
    case ControlKind::ListBox: {
        auto* list = static_cast<QListWidget*>(widget);
        const QList<QListWidgetItem*> chosen = list->selectedItems();
        return chosen.isEmpty() ? -1 : list->row(chosen.front());
    }
    case ControlKind::ReportList: {
        auto* list = static_cast<QTreeWidget*>(widget);
        const QList<QTreeWidgetItem*> chosen = list->selectedItems();
        return chosen.isEmpty() ? -1 : list->indexOfTopLevelItem(chosen.front());
    }
    case ControlKind::Tab:
        return static_cast<TabControl*>(widget)->bar()->currentIndex();
    default:
        return -1;
    }
}

// ---- ranges and positions --------------------------------------------------------

void setRange(DialogId dialog, int id, int low, int high) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget))
        slider->setRange(std::min(low, high), std::max(low, high));
    else if (auto* bar = qobject_cast<QProgressBar*>(control->widget))
        bar->setRange(std::min(low, high), std::max(low, high));
    else if (control->kind == ControlKind::UpDown) {
        control->low = low;
        control->high = high;
        control->position = clampToRange(*control, control->position);
    }
}

int rangeLow(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return 0;
    if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) return slider->minimum();
    if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) return bar->minimum();
    return control->low;
}

int rangeHigh(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return 0;
    if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) return slider->maximum();
    if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) return bar->maximum();
    return control->high;
}

void setPosition(DialogId dialog, int id, int value) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return;
    Quiet quiet(dialog);
    if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) {
        slider->setValue(value);
    } else if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) {
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    } else if (control->kind == ControlKind::UpDown) {
        control->position = clampToRange(*control, value);
        const int buddy = control->buddy;
        if (buddy) setControlText(dialog, buddy, std::to_string(control->position));
    }
}

int position(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    if (!control) return 0;
    if (auto* slider = qobject_cast<QAbstractSlider*>(control->widget)) return slider->value();
    if (auto* bar = qobject_cast<QProgressBar*>(control->widget)) return bar->value();
    if (control->kind == ControlKind::UpDown) return upDownValue(dialog, *control);
    return 0;
}

void setTrackbarPage(DialogId dialog, int id, int page) {
    if (auto* slider = widgetOf<QSlider>(dialog, id)) slider->setPageStep(std::max(0, page));
}

int trackbarPage(DialogId dialog, int id) {
    auto* slider = widgetOf<QSlider>(dialog, id);
    return slider ? slider->pageStep() : 0;
}

void setUpDownBuddy(DialogId dialog, int upDown, int edit) {
    if (ControlRecord* control = controlOfKind(dialog, upDown, ControlKind::UpDown))
        attachBuddy(dialog, *control, edit);
}

// ---- geometry ------------------------------------------------------------------------

Rect tabDisplayArea(DialogId dialog, int id) {
    ControlRecord* control = controlOfKind(dialog, id, ControlKind::Tab);
    if (!control) return {};
    auto* tab = static_cast<TabControl*>(control->widget);
    return fromQRect(tab->displayArea().translated(tab->pos()));
}

Rect controlRect(DialogId dialog, int id) {
    ControlRecord* control = findControl(dialog, id);
    return control ? fromQRect(control->widget->geometry()) : Rect{};
}

} // namespace platform
