#include "platform/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "platform/application.h"
#include "platform/ui_fixture.h"

using namespace platform;

class ProgressWindow : public ui_test::UiTest {
protected:
    void TearDown() override {
        setProgressObserver({});
        ui_test::UiTest::TearDown();
    }
    static QWidget* dialog() { return QApplication::activeModalWidget(); }
};

TEST_F(ProgressWindow, StepsShowTheirCountHandleEventsAndTheButtonCancels) {
    const WindowId owner = topLevel(rectAt(0, 0, 200, 200));
    const ProgressId progress = openProgress(owner, "一括追加");
    ASSERT_NE(progress, 0u);
    ASSERT_NE(dialog(), nullptr); // up and application-modal
    EXPECT_EQ(dialog()->windowTitle().toStdString(), "一括追加");

    // A step handles what is waiting, so windows keep painting and taking commands.
    postCommand(owner, 77);
    EXPECT_TRUE(stepProgress(progress, 3, 40, "フォルダ 3 / 40"));
    EXPECT_EQ(ui_test::messagesOf(owner, MessageKind::Command).size(), 1u);
    EXPECT_EQ(dialog()->findChild<QLabel*>()->text().toStdString(), "フォルダ 3 / 40");
    EXPECT_EQ(dialog()->findChild<QProgressBar*>()->value(), 3);
    EXPECT_EQ(dialog()->findChild<QProgressBar*>()->maximum(), 40);

    // The cancel button, pressed while a step is shown, stops the task from
    // that step on.
    std::vector<int> seen;
    setProgressObserver([&](ProgressId id, int done, int) {
        EXPECT_EQ(id, progress);
        seen.push_back(done);
        if (done == 5) QTest::mouseClick(dialog()->findChild<QPushButton*>(), Qt::LeftButton);
    });
    EXPECT_TRUE(stepProgress(progress, 4, 40, "フォルダ 4 / 40"));
    EXPECT_FALSE(stepProgress(progress, 5, 40, "フォルダ 5 / 40"));
    EXPECT_FALSE(stepProgress(progress, 6, 40, "フォルダ 6 / 40"));
    EXPECT_EQ(seen, (std::vector<int>{4, 5, 6}));
    closeProgress(progress);
    processPendingMessages();
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_FALSE(stepProgress(progress, 7, 40, ""));
}

TEST_F(ProgressWindow, EscapeCancelsToo) {
    const WindowId owner = topLevel(rectAt(0, 0, 200, 200));
    const ProgressId progress = openProgress(owner, "一括追加");
    setProgressObserver([&](ProgressId, int, int) { QTest::keyClick(dialog(), Qt::Key_Escape); });
    EXPECT_FALSE(stepProgress(progress, 1, 1, ""));
    closeProgress(progress);
}
