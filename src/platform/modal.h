// modal.h - every modal interaction of the viewer (message boxes, file
// dialogs, the folder browser, popup menus, the dialogs of dialog.h) passes
// one seam.
//
// Each interaction is written down as a ModalRequest. When an answerer is
// installed it gets the request and gives the answer, and nothing is shown:
// that is how the test suites answer in advance and read every text the user
// would have seen. Without one, the layer shows the real dialog and waits.
// A template dialog is the exception that is built all the same: the
// answerer gets it live and acts on it (dialog_seam.h) instead of answering.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_filter.h"
#include "platform/geometry.h"
#include "platform/window_message.h"

namespace platform {

enum class ModalKind { MessageBox, OpenFile, SaveFile, BrowseFolder, PopupMenu, Dialog };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class DialogResult { Ok, Cancel, Yes, No, Retry };

struct PopupItem {
    int id = 0; // 0 for a separator
    std::string text;
};

struct ModalRequest {
    ModalKind kind = ModalKind::MessageBox;
    WindowId owner = 0;
    std::string text;    // message box: the message
    std::string caption; // message box caption; dialog title
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    std::vector<FileFilterPair> filters; // file dialogs; the first is selected
    std::string folder; // file dialogs, folder browser: where to start (empty: the default)
    std::string fileName; // save dialog: the name offered
    std::string defaultExtension;
    int opacity = 255;             // 255 opaque
    std::optional<Point> position; // top-left on the screen; none: the usual place
    unsigned menu = 0;             // popup: the menu handle and which of its popups
    int popupIndex = 0;
    std::vector<PopupItem> items; // popup: its items as shown
    std::string resource;         // dialog: its template's name
    unsigned dialog = 0;          // dialog: the live dialog (a DialogId of dialog.h)
};

struct ModalAnswer {
    DialogResult result = DialogResult::Cancel;
    std::string path; // file dialogs, folder browser: the choice when result is Ok
    int command = 0;  // popup: the chosen id, 0 for none
    // A dialog's answer is what the answerer did to it; these are not read.
};

using ModalAnswerer = std::function<ModalAnswer(const ModalRequest&)>;

// Installs `answerer` (an empty one restores the real dialogs) and returns
// the one it replaces.
ModalAnswerer setModalAnswerer(ModalAnswerer answerer);
bool hasModalAnswerer();

// The installed answerer's answer, or else that of `show`, which puts the
// real dialog on the screen.
ModalAnswer runModal(const ModalRequest& request, ModalAnswer (*show)(const ModalRequest&));

DialogResult messageBox(WindowId owner, const std::string& text, const std::string& caption,
                        MessageButtons buttons = MessageButtons::Ok,
                        MessageIcon icon = MessageIcon::None);

struct FileDialogRequest {
    WindowId owner = 0;
    std::string title;
    std::string filter; // pairs of zero-ended texts closed by an empty one (file_filter.h)
    std::string folder;
    std::string fileName;         // the name a save dialog offers
    std::string defaultExtension; // without the dot
    int opacity = 255;
    std::optional<Point> position;
};

// The chosen existing file; nothing when cancelled.
std::optional<std::string> openFileDialog(const FileDialogRequest& request);
// The chosen file name to write, the default extension added when it has none.
std::optional<std::string> saveFileDialog(const FileDialogRequest& request);
// The chosen folder; nothing when cancelled.
std::optional<std::string> browseForFolder(WindowId owner, const std::string& title,
                                           const std::string& folder = {});

} // namespace platform
