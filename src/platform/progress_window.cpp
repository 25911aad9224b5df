// progress_window.cpp - the progress window over a QDialog shown without
// running a loop of its own: the task's steps handle the events.
#include "platform/progress_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <utility>

#include "platform/window_host.h"

namespace platform {
namespace {

// Events are handled at most this often: often enough to paint and to take
// a click, seldom enough that a quick task spends its time on its work.
constexpr qint64 kEventIntervalMs = 40;

struct Progress {
    QPointer<QDialog> dialog;
    QLabel* label = nullptr;
    QProgressBar* bar = nullptr;
    bool cancelled = false;
    QElapsedTimer sinceEvents; // invalid until the first step
};

std::map<ProgressId, Progress>& progresses() {
    static std::map<ProgressId, Progress> table;
    return table;
}

ProgressObserver& observer() {
    static ProgressObserver installed;
    return installed;
}

ProgressId nextProgress = 1;

} // namespace

ProgressId openProgress(WindowId owner, const std::string& title) {
    const ProgressId id = nextProgress++;
    Progress& progress = progresses()[id];
    auto* dialog = new QDialog(detail::frameWidget(owner));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setWindowTitle(QString::fromStdString(title));
    dialog->setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(dialog);
    progress.label = new QLabel(dialog);
    progress.label->setMinimumWidth(260);
    progress.bar = new QProgressBar(dialog);
    progress.bar->setTextVisible(false);
    auto* cancel = new QPushButton(QString::fromUtf8("キャンセル"), dialog);
    layout->addWidget(progress.label);
    layout->addWidget(progress.bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    // Esc and the close box reject the dialog: they cancel as the button does.
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::rejected, [id] {
        auto it = progresses().find(id);
        if (it != progresses().end()) it->second.cancelled = true;
    });
    progress.dialog = dialog;
    dialog->show();
    return id;
}

bool stepProgress(ProgressId id, int done, int total, const std::string& text) {
    auto it = progresses().find(id);
    if (it == progresses().end()) return false;
    Progress& progress = it->second;
    if (progress.dialog) {
        progress.label->setText(QString::fromStdString(text));
        progress.bar->setRange(0, std::max(total, 1));
        progress.bar->setValue(std::clamp(done, 0, std::max(total, 1)));
    }
    if (!progress.sinceEvents.isValid() || progress.sinceEvents.elapsed() >= kEventIntervalMs) {
        QCoreApplication::processEvents();
        progress.sinceEvents.start();
    }
    if (observer()) observer()(id, done, total);
    // The events handled may have closed it.
    it = progresses().find(id);
    return it != progresses().end() && !it->second.cancelled;
}

void closeProgress(ProgressId id) {
    auto it = progresses().find(id);
    if (it == progresses().end()) return;
    delete it->second.dialog.data();
    progresses().erase(it);
}

ProgressObserver setProgressObserver(ProgressObserver replacement) {
    return std::exchange(observer(), std::move(replacement));
}

} // namespace platform
