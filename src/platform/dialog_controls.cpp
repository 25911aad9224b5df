// dialog_controls.cpp - the controls of template dialogs: building them from
// a template, and reading and writing them by id.
//
// Sections: the two controls Qt lacks (tab control, up-down); building;
// texts and numbers; marks, states and focus; items; ranges and positions;
// geometry.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <climits>
#include <optional>

#include "platform/dialog.h"
#include "platform/dialog_host.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {

// ---- the two controls Qt lacks ---------------------------------------------

TabControl::TabControl(QWidget* parent)
    : QWidget(parent), bar_(new QTabBar(this)), frame_(new QFrame(this)) {
    bar_->setExpanding(false);
    frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame_->lower();
}

QRect TabControl::displayArea() const {
    const int barHeight = bar_->count() ? bar_->sizeHint().height() : 0;
    const int inset = frame_->frameWidth();
    return QRect(0, barHeight, width(), std::max(0, height() - barHeight))
        .adjusted(inset, inset, -inset, -inset);
}

void TabControl::arrange() {
    const int barHeight = bar_->count() ? bar_->sizeHint().height() : 0;
    bar_->setGeometry(0, 0, width(), barHeight);
    frame_->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
}

void TabControl::resizeEvent(QResizeEvent*) {
    arrange();
}

UpDownControl::UpDownControl(QWidget* parent, bool horizontal)
    : QWidget(parent), horizontal_(horizontal), more_(new QToolButton(this)),
      less_(new QToolButton(this)) {
    more_->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    less_->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    for (QToolButton* arrow : {more_, less_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
    }
}

void UpDownControl::resizeEvent(QResizeEvent*) {
    if (horizontal_) {
        const int half = width() / 2;
        less_->setGeometry(0, 0, half, height());
        more_->setGeometry(half, 0, width() - half, height());
    } else {
        const int half = height() / 2;
        more_->setGeometry(0, 0, width(), half);
        less_->setGeometry(0, half, width(), height() - half);
    }
}

namespace {

// Arrow keys in an up-down control's buddy step the control.
class ArrowKeys : public QObject {
public:
    ArrowKeys(DialogId dialog, int upDown, bool horizontal, QObject* parent)
        : QObject(parent), dialog_(dialog), upDown_(upDown), horizontal_(horizontal) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int more = horizontal_ ? Qt::Key_Right : Qt::Key_Up;
        const int less = horizontal_ ? Qt::Key_Left : Qt::Key_Down;
        if (key != more && key != less) return false;
        stepUpDownControl(dialog_, upDown_, key == more ? 1 : -1);
        return true;
    }

private:
    DialogId dialog_;
    int upDown_;
    bool horizontal_;
};

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

void attachBuddy(DialogId dialog, ControlRecord& upDown, int edit) {
    upDown.buddy = edit;
    ControlRecord* buddy = findControl(dialog, edit);
    if (!buddy || !(upDown.flags & kArrowKeys)) return;
    buddy->widget->installEventFilter(
        new ArrowKeys(dialog, upDown.id, (upDown.flags & kHorizontal) != 0, upDown.widget));
}

bool isCombo(ControlKind kind) {
    return kind == ControlKind::ComboBox || kind == ControlKind::EditCombo;
}

// ---- building ---------------------------------------------------------------

QWidget* makeControl(DialogId dialog, const ControlTemplate& entry, QWidget& surface,
                     DialogBaseUnits base, QButtonGroup*& group, bool previousWasRadio) {
    const int id = entry.id;
    const QString text = QString::fromUtf8(entry.text);
    auto notify = [dialog, id](Notification notification) {
        return [dialog, id, notification] { notifyControl(dialog, id, notification); };
    };
    switch (entry.kind) {
    case ControlKind::Button: {
        auto* button = new QPushButton(text, &surface);
        button->setAutoDefault(false);
        button->setDefault((entry.flags & kDefaultButton) != 0);
        QObject::connect(button, &QPushButton::clicked, notify(Notification::Clicked));
        return button;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(text, &surface);
        QObject::connect(box, &QCheckBox::clicked, notify(Notification::Clicked));
        return box;
    }
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(text, &surface);
        radio->setAutoExclusive(false);
        if (!previousWasRadio || (entry.flags & kGroupStart)) group = new QButtonGroup(&surface);
        group->addButton(radio);
        QObject::connect(radio, &QRadioButton::clicked, notify(Notification::Clicked));
        return radio;
    }
    case ControlKind::GroupBox: {
        auto* box = new QGroupBox(text, &surface);
        box->lower();
        return box;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, &surface);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, &surface);
        edit->setReadOnly((entry.flags & kReadOnly) != 0);
        QObject::connect(edit, &QLineEdit::textChanged, notify(Notification::Changed));
        return edit;
    }
    case ControlKind::MultiLineEdit: {
        auto* edit = new QPlainTextEdit(&surface);
        edit->setPlainText(text);
        edit->setReadOnly((entry.flags & kReadOnly) != 0);
        edit->setTextInteractionFlags(edit->textInteractionFlags() |
                                      Qt::TextSelectableByKeyboard);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Tab stops every 32 dialog units, as multi-line edits have them.
        edit->setTabStopDistance(unitsToPixelsX(32, base));
        QObject::connect(edit, &QPlainTextEdit::textChanged, notify(Notification::Changed));
        return edit;
    }
    case ControlKind::ComboBox:
    case ControlKind::EditCombo: {
        auto* combo = new QComboBox(&surface);
        if (entry.kind == ControlKind::EditCombo) {
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            QObject::connect(combo, &QComboBox::editTextChanged, notify(Notification::Changed));
        }
        QObject::connect(combo, &QComboBox::currentIndexChanged,
                         notify(Notification::SelectionChanged));
        return combo;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(&surface);
        QObject::connect(list, &QListWidget::itemSelectionChanged,
                         notify(Notification::SelectionChanged));
        return list;
    }
    case ControlKind::ReportList: {
        auto* list = new QTreeWidget(&surface);
        list->setColumnCount(1);
        list->setHeaderLabels({text});
        list->setRootIsDecorated(false);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        QObject::connect(list, &QTreeWidget::itemSelectionChanged,
                         notify(Notification::SelectionChanged));
        return list;
    }
    case ControlKind::Trackbar: {
        auto* slider = new QSlider(Qt::Horizontal, &surface);
        slider->setRange(0, 100);
        QObject::connect(slider, &QSlider::valueChanged, notify(Notification::Changed));
        return slider;
    }
    case ControlKind::UpDown: {
        auto* upDown = new UpDownControl(&surface, (entry.flags & kHorizontal) != 0);
        QObject::connect(upDown->more(), &QToolButton::clicked,
                         [dialog, id] { stepUpDownControl(dialog, id, 1); });
        QObject::connect(upDown->less(), &QToolButton::clicked,
                         [dialog, id] { stepUpDownControl(dialog, id, -1); });
        return upDown;
    }
    case ControlKind::Tab: {
        auto* tab = new TabControl(&surface);
        QObject::connect(tab->bar(), &QTabBar::currentChanged,
                         notify(Notification::SelectionChanged));
        return tab;
    }
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(&surface);
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
        return bar;
    }
    }
    return new QWidget(&surface);
}

} // namespace

void buildControls(DialogRecord& record, QWidget& surface, DialogBaseUnits base) {
    const DialogTemplate& source = *record.source;
    QButtonGroup* group = nullptr;
    bool previousWasRadio = false;
    int previousId = 0;
    record.controls.reserve(source.count);
    for (std::size_t i = 0; i < source.count; ++i) {
        const ControlTemplate& entry = source.controls[i];
        QWidget* widget = makeControl(record.id, entry, surface, base, group, previousWasRadio);
        QRect rect = toQRect(unitsToPixels(entry.rect, base));
        // A combo's template height includes its dropped list; the closed
        // box is as high as its font wants, within that.
        if (isCombo(entry.kind))
            rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
        widget->setGeometry(rect);
        if (entry.kind == ControlKind::Tab) static_cast<TabControl*>(widget)->arrange();
        if (entry.flags & kDisabled) widget->setEnabled(false);
        if (entry.flags & kHidden) widget->hide();
        ControlRecord control;
        control.id = entry.id;
        control.kind = entry.kind;
        control.flags = entry.flags;
        control.widget = widget;
        record.controls.push_back(control);
        if (entry.kind == ControlKind::UpDown && (entry.flags & kAutoBuddy))
            attachBuddy(record.id, record.controls.back(), previousId);
        previousWasRadio = entry.kind == ControlKind::RadioButton;
        previousId = entry.id;
    }
}

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
