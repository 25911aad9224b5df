#include "platform/modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/ui_fixture.h"

using namespace platform;

namespace {

// Answers every request with `answer` and keeps what was asked.
struct Recorder {
    std::vector<ModalRequest> asked;
    ModalAnswerer previous;
    explicit Recorder(ModalAnswer answer) {
        previous = setModalAnswerer([this, answer](const ModalRequest& request) {
            asked.push_back(request);
            return answer;
        });
    }
    ~Recorder() { setModalAnswerer(previous); }
};

} // namespace

class Modal : public ui_test::UiTest {};

TEST_F(Modal, MessageBoxesRecordTheirTextCaptionButtonsAndIcon) {
    Recorder recorder({DialogResult::Yes, {}, 0});
    EXPECT_EQ(messageBox(7, "保存しますか？", "あらら", MessageButtons::YesNoCancel,
                         MessageIcon::Question),
              DialogResult::Yes);
    messageBox(0, "エラーメッセージは無い。", "エラーっす");
    ASSERT_EQ(recorder.asked.size(), 2u);
    const ModalRequest& first = recorder.asked[0];
    EXPECT_EQ(first.kind, ModalKind::MessageBox);
    EXPECT_EQ(first.owner, 7u);
    EXPECT_EQ(first.text, "保存しますか？");
    EXPECT_EQ(first.caption, "あらら");
    EXPECT_EQ(first.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(first.icon, MessageIcon::Question);
    EXPECT_EQ(recorder.asked[1].buttons, MessageButtons::Ok);
    EXPECT_EQ(recorder.asked[1].icon, MessageIcon::None);
}

TEST_F(Modal, TheOpenDialogGetsThePluginFilterAsPairsFirstSelected) {
    Recorder recorder({DialogResult::Ok, "/books/a.jpg", 0});
    FileDialogRequest request;
    request.title = "開く";
    static const char filter[] =
        "All Files(*.*)\0*.*\0BMP files(*.bmp)\0*.bmp\0JPEG\0*.jpg;*.jpeg\0";
    request.filter = std::string(filter, sizeof filter);
    request.folder = "/books";
    request.defaultExtension = "bmp";
    request.opacity = 191;
    request.position = Point{340, 200};
    EXPECT_EQ(openFileDialog(request), std::optional<std::string>("/books/a.jpg"));
    ASSERT_EQ(recorder.asked.size(), 1u);
    const ModalRequest& asked = recorder.asked[0];
    EXPECT_EQ(asked.kind, ModalKind::OpenFile);
    EXPECT_EQ(asked.caption, "開く");
    ASSERT_EQ(asked.filters.size(), 3u);
    EXPECT_EQ(asked.filters[0].description, "All Files(*.*)");
    EXPECT_EQ(asked.filters[2].patterns, "*.jpg;*.jpeg");
    EXPECT_EQ(asked.folder, "/books");
    EXPECT_EQ(asked.defaultExtension, "bmp");
    EXPECT_EQ(asked.opacity, 191);
    EXPECT_EQ(asked.position, (Point{340, 200}));
}

TEST_F(Modal, CancelGivesNothingAndSavingAddsTheDefaultExtension) {
    {
        Recorder recorder({DialogResult::Cancel, "/ignored", 0});
        EXPECT_EQ(openFileDialog({}), std::nullopt);
        EXPECT_EQ(browseForFolder(0, "フォルダ"), std::nullopt);
    }
    Recorder recorder({DialogResult::Ok, "/lists/名称未設定", 0});
    FileDialogRequest request;
    request.defaultExtension = "vxl";
    EXPECT_EQ(saveFileDialog(request), std::optional<std::string>("/lists/名称未設定.vxl"));
    recorder.asked.clear();
    setModalAnswerer([](const ModalRequest&) {
        return ModalAnswer{DialogResult::Ok, "/a.b/c.vxl", 0};
    });
    EXPECT_EQ(saveFileDialog(request), std::optional<std::string>("/a.b/c.vxl"));
}

TEST_F(Modal, TheRealMessageBoxShowsTheTextsAndJapaneseButtons) {
    QString text, caption;
    QStringList labels;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
            labels << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QString::fromUtf8("いいえ(&N)")) button->click();
    });
    DialogResult result = messageBox(0, "Voxa Ver 0.814 \n  \n", "VOXA..", MessageButtons::YesNo,
                                     MessageIcon::Information);
    EXPECT_EQ(result, DialogResult::No);
    EXPECT_EQ(text.toStdString(), "Voxa Ver 0.814 \n  \n");
    EXPECT_EQ(caption.toStdString(), "VOXA..");
    EXPECT_EQ(icon, QMessageBox::Information);
    EXPECT_TRUE(labels.contains(QString::fromUtf8("はい(&Y)")));
}

TEST_F(Modal, TheRealOpenDialogOffersThePairsAndStartsInTheFolder) {
    QStringList filters, shown;
    QString folder, title, lookIn, cancel;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        filters = dialog->nameFilters();
        if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
            for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
        if (auto* label = dialog->findChild<QLabel*>("lookInLabel")) lookIn = label->text();
        if (auto* box = dialog->findChild<QDialogButtonBox*>())
            if (QPushButton* button = box->button(QDialogButtonBox::Cancel))
                cancel = button->text();
        folder = dialog->directory().absolutePath();
        title = dialog->windowTitle();
        dialog->reject();
    });
    FileDialogRequest request;
    request.title = "開く";
    static const char filter[] = "All Files(*.*)\0*.*\0JPEG files\0*.jpg;*.jpeg\0";
    request.filter = std::string(filter, sizeof filter);
    request.folder = "/tmp";
    EXPECT_EQ(openFileDialog(request), std::nullopt);
    EXPECT_EQ(title.toStdString(), "開く");
    EXPECT_EQ(folder.toStdString(), "/tmp");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0].toStdString(), "All Files(*.*) (*)");
    EXPECT_EQ(filters[1].toStdString(), "JPEG files (*.jpg *.jpeg)");
    // The reader sees each filter's text once, as the plug-ins give it...
    EXPECT_EQ(shown, (QStringList{"All Files(*.*)", "JPEG files"}));
    // ...and the toolkit's own words in Japanese.
    EXPECT_EQ(lookIn.toStdString(), "アドレス:");
    EXPECT_EQ(cancel.toStdString(), "キャンセル");
}
