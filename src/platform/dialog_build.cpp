// dialog_build.cpp - the controls of a template dialog made as Qt widgets,
// with the two controls Qt lacks (the tab control and the up-down control).
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
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

#include "platform/dialog_host.h"
#include "platform/window_host.h"

namespace platform::detail {

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

bool isCombo(ControlKind kind) {
    return kind == ControlKind::ComboBox || kind == ControlKind::EditCombo;
}

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

void attachBuddy(DialogId dialog, ControlRecord& upDown, int edit) {
    upDown.buddy = edit;
    ControlRecord* buddy = findControl(dialog, edit);
    if (!buddy || !(upDown.flags & kArrowKeys)) return;
    buddy->widget->installEventFilter(
        new ArrowKeys(dialog, upDown.id, (upDown.flags & kHorizontal) != 0, upDown.widget));
}

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

} // namespace platform::detail
