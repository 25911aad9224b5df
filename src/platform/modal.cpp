// modal.cpp - the modal seam and the real Qt dialogs behind it.
#include "platform/modal.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "platform/window_host.h"

namespace platform {
namespace {

ModalAnswerer& answerer() {
    static ModalAnswerer installed;
    return installed;
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), text.size());
}

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The buttons of each set with the results they give, as a Japanese
// desktop labels them.
std::vector<std::pair<DialogResult, const char*>> buttonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {{DialogResult::Ok, "OK"}};
    case MessageButtons::OkCancel:
        return {{DialogResult::Ok, "OK"}, {DialogResult::Cancel, "キャンセル"}};
    case MessageButtons::YesNo:
        return {{DialogResult::Yes, "はい(&Y)"}, {DialogResult::No, "いいえ(&N)"}};
    case MessageButtons::YesNoCancel:
        return {{DialogResult::Yes, "はい(&Y)"},
                {DialogResult::No, "いいえ(&N)"},
                {DialogResult::Cancel, "キャンセル"}};
    case MessageButtons::RetryCancel:
        return {{DialogResult::Retry, "再試行(&R)"}, {DialogResult::Cancel, "キャンセル"}};
    }
    return {{DialogResult::Ok, "OK"}};
}

// What closing the box without a button gives.
DialogResult escapeResult(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return DialogResult::Ok;
    case MessageButtons::YesNo:
        return DialogResult::No;
    default:
        return DialogResult::Cancel;
    }
}

// Ends a wait once the owner's frame is exposed.
class ExposureWait : public QObject {
public:
    ExposureWait(QWindow* window, QEventLoop* loop) : window_(window), loop_(loop) {
        window_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Expose && window_->isExposed())
            loop_->quit();
        return false;
    }

private:
    QWindow* window_;
    QEventLoop* loop_;
};

// A dialog opens over its owner, so the owner must stand where the window
// system put it: a window shown a moment ago (a message at start-up) is
// placed by a window manager only when it is first exposed. The wait is
// bounded in case that never comes.
void waitForOwnerPlacement(QWidget* owner) {
    QWindow* window = owner && owner->isVisible() ? owner->windowHandle() : nullptr;
    if (!window || window->isExposed()) return;
    QEventLoop loop;
    ExposureWait wait(window, &loop);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
}

void place(QWidget& dialog, const ModalRequest& request) {
    if (request.opacity < 255) dialog.setWindowOpacity(std::max(0, request.opacity) / 255.0);
    if (request.position) dialog.move(request.position->x, request.position->y);
}

ModalAnswer showMessageBox(const ModalRequest& request) {
    waitForOwnerPlacement(detail::frameWidget(request.owner));
    QMessageBox box(qtIcon(request.icon), fromUtf8(request.caption), fromUtf8(request.text),
                    QMessageBox::NoButton, detail::frameWidget(request.owner));
    std::vector<std::pair<QAbstractButton*, DialogResult>> made;
    for (const auto& [result, label] : buttonsOf(request.buttons)) {
        QMessageBox::ButtonRole role = result == DialogResult::Cancel || result == DialogResult::No
                                           ? QMessageBox::RejectRole
                                           : QMessageBox::AcceptRole;
        made.emplace_back(box.addButton(QString::fromUtf8(label), role), result);
    }
    box.setDefaultButton(static_cast<QPushButton*>(made.front().first));
    place(box, request);
    box.exec();
    ModalAnswer answer;
    answer.result = escapeResult(request.buttons);
    for (const auto& [button, result] : made)
        if (box.clickedButton() == button) answer.result = result;
    return answer;
}

// "Description (*.a *.b)": Qt reads the patterns from the last parentheses,
// and the dialog shows only the description before them (the plug-ins'
// descriptions often name their patterns already).
QStringList nameFilters(const std::vector<FileFilterPair>& filters) {
    QStringList list;
    for (const FileFilterPair& pair : filters) {
        QStringList patterns;
        for (const std::string& pattern : splitFilterPatterns(pair.patterns))
            patterns << fromUtf8(pattern);
        if (patterns.isEmpty()) continue;
        list << fromUtf8(pair.description) + " (" + patterns.join(' ') + ")";
    }
    return list;
}

ModalAnswer showFileDialog(const ModalRequest& request) {
    waitForOwnerPlacement(detail::frameWidget(request.owner));
    QFileDialog dialog(detail::frameWidget(request.owner), fromUtf8(request.caption),
                       fromUtf8(request.folder));
    switch (request.kind) {
    case ModalKind::OpenFile:
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        break;
    case ModalKind::SaveFile:
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        break;
    default:
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    QStringList filters = nameFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.front());
    }
    if (!request.fileName.empty()) dialog.selectFile(fromUtf8(request.fileName));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(fromUtf8(request.defaultExtension));
    place(dialog, request);
    ModalAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.result = DialogResult::Ok;
    answer.path = dialog.selectedFiles().front().toStdString();
    return answer;
}

ModalRequest fileRequest(ModalKind kind, const FileDialogRequest& request) {
    ModalRequest out;
    out.kind = kind;
    out.owner = request.owner;
    out.caption = request.title;
    out.filters = parseFileFilter(request.filter);
    out.folder = request.folder;
    out.fileName = request.fileName;
    out.defaultExtension = request.defaultExtension;
    out.opacity = request.opacity;
    out.position = request.position;
    return out;
}

std::optional<std::string> chosenPath(const ModalAnswer& answer) {
    if (answer.result != DialogResult::Ok || answer.path.empty()) return std::nullopt;
    return answer.path;
}

} // namespace

ModalAnswerer setModalAnswerer(ModalAnswerer replacement) {
    return std::exchange(answerer(), std::move(replacement));
}

bool hasModalAnswerer() {
    return static_cast<bool>(answerer());
}

ModalAnswer runModal(const ModalRequest& request, ModalAnswer (*show)(const ModalRequest&)) {
    if (answerer()) return answerer()(request);
    return show ? show(request) : ModalAnswer{};
}

DialogResult messageBox(WindowId owner, const std::string& text, const std::string& caption,
                        MessageButtons buttons, MessageIcon icon) {
    ModalRequest request;
    request.kind = ModalKind::MessageBox;
    request.owner = owner;
    request.text = text;
    request.caption = caption;
    request.buttons = buttons;
    request.icon = icon;
    return runModal(request, showMessageBox).result;
}

std::optional<std::string> openFileDialog(const FileDialogRequest& request) {
    return chosenPath(runModal(fileRequest(ModalKind::OpenFile, request), showFileDialog));
}

std::optional<std::string> saveFileDialog(const FileDialogRequest& request) {
    std::optional<std::string> path =
        chosenPath(runModal(fileRequest(ModalKind::SaveFile, request), showFileDialog));
    if (!path || request.defaultExtension.empty()) return path;
    std::size_t slash = path->rfind('/');
    std::string name = path->substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.find('.') == std::string::npos) *path += "." + request.defaultExtension;
    return path;
}

std::optional<std::string> browseForFolder(WindowId owner, const std::string& title,
                                           const std::string& folder) {
    ModalRequest request;
    request.kind = ModalKind::BrowseFolder;
    request.owner = owner;
    request.caption = title;
    request.folder = folder;
    return chosenPath(runModal(request, showFileDialog));
}

} // namespace platform
