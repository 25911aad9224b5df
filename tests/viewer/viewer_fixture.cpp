#include "viewer/viewer_fixture.h"

#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <cstdio>

#include "platform/application.h"
#include "platform/ui_fixture.h"
#include "platform/window_host.h"
#include "settings/settings_file.h"
#include "support/bmp_writer.h"
#include "viewer/main_window.h"
#include "viewer/navigation.h"

namespace viewer_test {

void ViewerTest::SetUpTestSuite() {
    ui_test::startTestApplication();
}

void ViewerTest::SetUp() {
    settingsPath = temp / "Voxa.ini";
    platform::setModalAnswerer([this](const platform::ModalRequest& request) {
        boxes.push_back(request);
        return platform::ModalAnswer{platform::DialogResult::Ok, {}, 0};
    });
}

void ViewerTest::TearDown() {
    if (viewer_ && viewer_->mainWindow) platform::destroyWindow(viewer_->mainWindow);
    platform::processPendingMessages();
    setViewer(nullptr);
    viewer_.reset();
    platform::setModalAnswerer({});
}

void ViewerTest::start(const std::function<void(ViewerState&)>& settings,
                       const std::vector<std::string>& args) {
    ViewerState state;
    startupDefaults(state);
    if (settings) settings(state);
    ASSERT_EQ(saveSettings(state, settingsAt(settingsPath)), 1);
    // No plug-ins: the built-in reader decodes the BMP books.
    viewer_ = std::make_unique<Viewer>(temp.path(), settingsAt(settingsPath));
    setViewer(viewer_.get());
    viewer_->commandLine = args;
    ASSERT_NE(createMainWindow(), 0u);
    platform::processPendingMessages(); // the start-up command
}

std::string ViewerTest::writeBook(const std::vector<platform::Size>& pages) {
    const std::string folder = temp / ("book" + std::to_string(++books_)) + "/";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%02zu.bmp", i + 1);
        testing_support::writeFile(folder + name,
                                   testing_support::makeBmp(pages[i].width, pages[i].height, 24,
                                                            static_cast<std::uint32_t>(i + 1)));
    }
    return folder;
}

void ViewerTest::openTwoPage(const std::vector<platform::Size>& pages,
                             const std::function<void(ViewerState&)>& settings) {
    start([&](ViewerState& state) {
        state.MODE = kTwoPageMode;
        if (settings) settings(state);
    });
    ASSERT_TRUE(openPath(writeBook(pages)));
}

void ViewerTest::openNormal(const std::vector<platform::Size>& pages,
                            const std::function<void(ViewerState&)>& settings) {
    start(settings);
    ASSERT_TRUE(openPath(writeBook(pages)));
}

void ViewerTest::command(int id) {
    platform::sendCommand(viewer_->mainWindow, id);
    platform::processPendingMessages();
}

QWindow* ViewerTest::frameWindow() {
    QWidget* frame = platform::detail::frameWidget(viewer_->mainWindow);
    frame->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
    return frame->windowHandle();
}

QPoint ViewerTest::inFrame(platform::Point point) {
    return platform::detail::clientWidget(viewer_->pictureWindow)
        ->mapTo(platform::detail::frameWidget(viewer_->mainWindow), QPoint(point.x, point.y));
}

void ViewerTest::pressKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(frameWindow(), static_cast<Qt::Key>(qtKey), modifiers);
    platform::processPendingMessages();
}

void ViewerTest::typeCharacter(char c, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(frameWindow(), c, modifiers);
    platform::processPendingMessages();
}

void ViewerTest::wheel(int delta, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QWidget* picture = platform::detail::clientWidget(viewer_->pictureWindow);
    const QPointF local(5, 5);
    QWheelEvent event(local, picture->mapToGlobal(local), QPoint(), QPoint(0, delta), buttons,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(picture, &event);
    platform::processPendingMessages();
}

void ViewerTest::drop(const std::vector<std::string>& paths) {
    platform::MessageParams params;
    params.paths = paths;
    mainWindowProcedure(viewer_->mainWindow, platform::MessageKind::Drop, params);
    platform::processPendingMessages();
}

std::string ViewerTest::title() {
    return platform::title(viewer_->mainWindow);
}

std::vector<int> ViewerTest::shownPages() {
    const PageList& pages = viewer_->pages;
    if (viewer_->layout.shownCount == 2) {
        const int first = pages.currentIndex == 0 ? pages.pageCount - 1 : pages.currentIndex - 1;
        return {first, pages.currentIndex};
    }
    if (viewer_->layout.shownCount == 1) return {pages.currentIndex};
    return {};
}

} // namespace viewer_test
