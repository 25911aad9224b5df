// dialog.cpp - dialogs made from templates: the registries, the widgets that
// turn Qt events into dialog messages, modal and modeless lives, pages,
// geometry and timers. The controls themselves are in dialog_controls.cpp.
#include "platform/dialog.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <algorithm>
#include <memory>

#include "platform/accelerator.h"
#include "platform/dialog_host.h"
#include "platform/key_translation.h"
#include "platform/keys.h"
#include "platform/modal.h"
#include "platform/window_host.h"

namespace platform {
namespace detail {
namespace {

std::map<std::string, const DialogTemplate*, std::less<>>& templates() {
    static std::map<std::string, const DialogTemplate*, std::less<>> table;
    return table;
}

std::map<DialogId, std::unique_ptr<DialogRecord>>& dialogs() {
    static std::map<DialogId, std::unique_ptr<DialogRecord>> table;
    return table;
}

DialogId nextDialogId = 1;

void command(DialogId dialog, int id) {
    DialogParams params;
    params.id = id;
    params.notification = Notification::Clicked;
    dispatchDialog(dialog, DialogMessage::Command, params);
}

void mousePressed(DialogId dialog, QMouseEvent* event) {
    event->accept();
    DialogParams params;
    params.button = mouseButtonOf(event->button());
    if (params.button != MouseButton::None)
        dispatchDialog(dialog, DialogMessage::ButtonDown, params);
}

void timerFired(DialogId dialog, QTimerEvent* event) {
    DialogRecord* record = findDialog(dialog);
    if (!record) return;
    for (const auto& [id, qtId] : record->timers) {
        if (qtId != event->timerId()) continue;
        DialogParams params;
        params.id = id;
        dispatchDialog(dialog, DialogMessage::Timer, params);
        return;
    }
}

// A top-level dialog. Escape and the close button become the cancel command;
// only endDialog (done) or destroyDialog take it off the screen.
class DialogWindow : public QDialog {
public:
    DialogWindow(DialogId id, QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
          id_(id) {}

    void reject() override { command(id_, kCancelId); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        command(id_, kCancelId);
    }
    void mousePressEvent(QMouseEvent* event) override { mousePressed(id_, event); }
    void timerEvent(QTimerEvent* event) override { timerFired(id_, event); }

    // A modeless dialog's keys that its controls leave go to the accelerator
    // table first, as the message loop offers every key; modal dialogs keep
    // all of theirs.
    void keyPressEvent(QKeyEvent* event) override {
        DialogRecord* record = findDialog(id_);
        if (record && !record->modal) {
            const int key = keyOf(event->key());
            const unsigned state =
                modifierState(event->modifiers()) | buttonState(QGuiApplication::mouseButtons());
            if (key != key::Unknown && translateAccelerator(key, state)) {
                event->accept();
                return;
            }
        }
        QDialog::keyPressEvent(event);
    }

private:
    DialogId id_;
};

// A page: a frameless child of its parent dialog.
class DialogSurface : public QWidget {
public:
    DialogSurface(DialogId id, QWidget* parent) : QWidget(parent), id_(id) {}

protected:
    void mousePressEvent(QMouseEvent* event) override { mousePressed(id_, event); }
    void timerEvent(QTimerEvent* event) override { timerFired(id_, event); }

private:
    DialogId id_;
};

std::vector<DialogId> pagesOf(DialogId dialog) {
    std::vector<DialogId> pages;
    for (const auto& [id, record] : dialogs())
        if (record->parent == dialog) pages.push_back(id);
    return pages;
}

// The dialog, then its pages (and theirs), in the order they get Destroy.
void collectTree(DialogId dialog, std::vector<DialogId>& order) {
    order.push_back(dialog);
    for (DialogId page : pagesOf(dialog))
        collectTree(page, order);
}

// Sends Destroy along the tree and drops the records; the widgets are left
// to the caller.
void forgetTree(DialogId dialog) {
    std::vector<DialogId> order;
    collectTree(dialog, order);
    for (DialogId id : order)
        findDialog(id)->destroying = true;
    for (DialogId id : order)
        dispatchDialog(id, DialogMessage::Destroy, DialogParams{});
    for (DialogId id : order) {
        DialogRecord* record = findDialog(id);
        if (!record) continue;
        if (record->widget)
            for (const auto& [timer, qtId] : record->timers)
                record->widget->killTimer(qtId);
        dialogs().erase(id);
    }
}

// A record for the template with its widget made by `makeWidget` and the
// controls built into it; Init not yet sent.
template <typename MakeWidget>
DialogRecord& makeRecord(const DialogTemplate& source, DialogProcedure procedure, void* context,
                         MakeWidget makeWidget) {
    auto record = std::make_unique<DialogRecord>();
    record->id = nextDialogId++;
    record->source = &source;
    record->procedure = procedure;
    record->context = context;
    QWidget* widget = makeWidget(record->id);
    record->widget = widget;
    DialogRecord& stored = *record;
    dialogs()[stored.id] = std::move(record);
    // A dialog deleted by Qt with its owner's window goes as destroyDialog
    // would take it; one this layer destroys is forgotten before that.
    QObject::connect(widget, &QObject::destroyed, [id = stored.id] {
        DialogRecord* record = findDialog(id);
        if (record && !record->destroying) forgetTree(id);
    });
    ++stored.quiet;
    buildControls(stored, *widget, dialogBaseUnits(*widget));
    --stored.quiet;
    return stored;
}

// Sends Init; false when the procedure destroyed the dialog meanwhile.
bool initialise(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    if (!record) return false;
    record->ready = true;
    dispatchDialog(dialog, DialogMessage::Init, DialogParams{});
    return findDialog(dialog) != nullptr;
}

DialogRecord& makeTopLevel(const DialogTemplate& source, WindowId owner,
                           DialogProcedure procedure, void* context) {
    DialogRecord& record = makeRecord(source, procedure, context, [&](DialogId id) {
        auto* window = new DialogWindow(id, frameWidget(owner));
        window->setWindowTitle(QString::fromUtf8(source.title));
        return window;
    });
    const DialogBaseUnits base = dialogBaseUnits(*record.widget);
    record.widget->setFixedSize(unitsToPixelsX(source.width, base),
                                unitsToPixelsY(source.height, base));
    return record;
}

ModalAnswer execDialog(const ModalRequest& request) {
    DialogRecord* record = findDialog(request.dialog);
    if (record && !record->ended && record->widget)
        static_cast<QDialog*>(record->widget.data())->exec();
    return {};
}

} // namespace

DialogRecord* findDialog(DialogId dialog) {
    auto it = dialogs().find(dialog);
    return it == dialogs().end() ? nullptr : it->second.get();
}

void destroyAllDialogs() {
    while (!dialogs().empty()) {
        DialogId root = dialogs().begin()->first;
        while (DialogRecord* record = findDialog(root)) {
            if (!record->parent) break;
            root = record->parent;
        }
        destroyDialog(root);
    }
}

ControlRecord* findControl(DialogId dialog, int id) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget || id == 0) return nullptr;
    for (ControlRecord& control : record->controls)
        if (control.id == id) return &control;
    return nullptr;
}

int dispatchDialog(DialogId dialog, DialogMessage message, DialogParams params) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->procedure) return 0;
    params.context = record->context;
    return record->procedure(dialog, message, params);
}

void notifyControl(DialogId dialog, int id, Notification notification) {
    DialogRecord* record = findDialog(dialog);
    ControlRecord* control = findControl(dialog, id);
    if (!record || !control || !record->ready) return;
    const bool edit = control->kind == ControlKind::Edit ||
                      control->kind == ControlKind::MultiLineEdit ||
                      control->kind == ControlKind::EditCombo;
    if (record->quiet > 0 && !(edit && notification == Notification::Changed)) return;
    DialogParams params;
    params.id = id;
    params.notification = notification;
    dispatchDialog(dialog, DialogMessage::Command, params);
}

DialogBaseUnits dialogBaseUnits(const QWidget& widget) {
    const QFontMetrics metrics(widget.font());
    const int advance =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return baseUnitsOf(advance, metrics.height());
}

} // namespace detail

using namespace detail;

void registerDialogTemplates(std::span<const DialogTemplate> table) {
    for (const DialogTemplate& source : table)
        templates()[source.name] = &source;
}

const DialogTemplate* findDialogTemplate(std::string_view name) {
    auto it = templates().find(name);
    return it == templates().end() ? nullptr : it->second;
}

int runDialog(std::string_view name, WindowId owner, DialogProcedure procedure, void* context) {
    const DialogTemplate* source = findDialogTemplate(name);
    if (!source) return -1;
    DialogRecord& made = makeTopLevel(*source, owner, procedure, context);
    const DialogId dialog = made.id;
    made.modal = true;
    if (initialise(dialog) && !findDialog(dialog)->ended) {
        ModalRequest request;
        request.kind = ModalKind::Dialog;
        request.owner = owner;
        request.caption = dialogTitle(dialog);
        request.resource = source->name;
        request.dialog = dialog;
        request.opacity = dialogOpacity(dialog);
        const Rect rect = dialogRect(dialog);
        request.position = Point{rect.left, rect.top};
        // An answerer acts on the dialog as the user would, so it is shown
        // (not modal: nothing may wait).
        if (hasModalAnswerer()) findDialog(dialog)->widget->show();
        runModal(request, execDialog);
    }
    DialogRecord* record = findDialog(dialog);
    const int result = record && record->ended ? record->result : 0;
    destroyDialog(dialog);
    return result;
}

void endDialog(DialogId dialog, int result) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->modal || record->ended) return;
    record->ended = true;
    record->result = result;
    if (record->widget) static_cast<QDialog*>(record->widget.data())->done(result);
}

int endOnOkOrCancel(DialogId dialog, DialogMessage message, const DialogParams& params) {
    if (message != DialogMessage::Command || (params.id != kOkId && params.id != kCancelId))
        return 0;
    endDialog(dialog, params.id);
    return 1;
}

DialogId createDialog(std::string_view name, WindowId owner, DialogProcedure procedure,
                      void* context) {
    const DialogTemplate* source = findDialogTemplate(name);
    if (!source) return 0;
    const DialogId dialog = makeTopLevel(*source, owner, procedure, context).id;
    if (!initialise(dialog)) return 0;
    QWidget* widget = findDialog(dialog)->widget;
    widget->show();
    widget->activateWindow();
    return dialog;
}

DialogId createPageDialog(DialogId parent, int tabId, std::string_view name,
                          DialogProcedure procedure, void* context) {
    const DialogTemplate* source = findDialogTemplate(name);
    DialogRecord* parentRecord = findDialog(parent);
    ControlRecord* tab = findControl(parent, tabId);
    if (!source || !parentRecord || !tab || tab->kind != ControlKind::Tab) return 0;
    auto* tabControl = static_cast<TabControl*>(tab->widget);
    const QRect area = tabControl->displayArea().translated(tabControl->geometry().topLeft());
    QWidget* surface = parentRecord->widget;
    DialogRecord& page = makeRecord(*source, procedure, context, [&](DialogId id) {
        auto* made = new DialogSurface(id, surface);
        made->setGeometry(area);
        made->hide();
        made->raise();
        return made;
    });
    page.parent = parent;
    const DialogId dialog = page.id;
    return initialise(dialog) ? dialog : 0;
}

int destroyDialog(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    if (!record) return 0;
    if (record->destroying) return 1; // asked again while it goes
    QPointer<QWidget> widget = record->widget;
    forgetTree(dialog);
    // The widget may be inside one of its own signals now; its pages go with it.
    if (widget) {
        widget->hide();
        widget->deleteLater();
    }
    return 1;
}

bool isDialog(DialogId dialog) {
    return findDialog(dialog) != nullptr;
}

std::string dialogName(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    return record ? record->source->name : std::string();
}

std::vector<DialogId> dialogPages(DialogId dialog) {
    return pagesOf(dialog);
}

int sendDialogCommand(DialogId dialog, int id) {
    if (!findDialog(dialog)) return 0;
    command(dialog, id);
    return 1;
}

void showDialog(DialogId dialog, bool show) {
    DialogRecord* record = findDialog(dialog);
    if (record && record->widget) record->widget->setVisible(show);
}

bool isDialogVisible(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    return record && record->widget && record->widget->isVisible();
}

void setDialogTitle(DialogId dialog, const std::string& title) {
    DialogRecord* record = findDialog(dialog);
    if (record && record->widget) record->widget->setWindowTitle(QString::fromStdString(title));
}

std::string dialogTitle(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    return record && record->widget ? record->widget->windowTitle().toStdString() : std::string();
}

void setDialogOpacity(DialogId dialog, int alpha) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget) return;
    record->widget->window()->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
}

int dialogOpacity(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget) return 255;
    return static_cast<int>(record->widget->window()->windowOpacity() * 255 + 0.5);
}

Rect dialogRect(DialogId dialog) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget) return {};
    QWidget* widget = record->widget;
    return fromQRect(widget->isWindow() ? widget->frameGeometry() : widget->geometry());
}

void moveDialog(DialogId dialog, Point topLeft) {
    DialogRecord* record = findDialog(dialog);
    if (record && record->widget) record->widget->move(topLeft.x, topLeft.y);
}

void setDialogTimer(DialogId dialog, int id, int periodMs) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget) return;
    killDialogTimer(dialog, id);
    const int qtId = record->widget->startTimer(std::max(0, periodMs));
    if (qtId != 0) record->timers[id] = qtId;
}

void killDialogTimer(DialogId dialog, int id) {
    DialogRecord* record = findDialog(dialog);
    if (!record || !record->widget) return;
    auto it = record->timers.find(id);
    if (it == record->timers.end()) return;
    record->widget->killTimer(it->second);
    record->timers.erase(it);
}

} // namespace platform
