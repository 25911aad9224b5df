// viewer_fixture.h - a whole viewer per test on Qt's offscreen platform: the
// main and picture windows made by the real set-up, a book of BMP pages in a
// fresh folder, settings written before the start, and every message box
// answered and recorded.
#pragma once

#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/modal.h"
#include "support/temp_folder.h"
#include "viewer/viewer.h"

namespace viewer_test {

// Page sizes of a book.
inline constexpr platform::Size kPortrait{60, 80};
inline constexpr platform::Size kLandscape{80, 60};
inline constexpr platform::Size kSquare{70, 70};

class ViewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Starts the viewer with the start-up defaults changed by `settings`, as
    // if a settings file held them, and the command-line arguments `args`.
    void start(const std::function<void(ViewerState&)>& settings = {},
               const std::vector<std::string>& args = {});
    // Writes pages "01.bmp", "02.bmp", ... of these sizes into a new folder
    // and returns the folder's path.
    std::string writeBook(const std::vector<platform::Size>& pages);
    // Starts in two-page mode and opens a book of these pages.
    void openTwoPage(const std::vector<platform::Size>& pages,
                     const std::function<void(ViewerState&)>& settings = {});
    void openNormal(const std::vector<platform::Size>& pages,
                    const std::function<void(ViewerState&)>& settings = {});

    void command(int id);
    // The real window system's events, on the main window's frame.
    void pressKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void typeCharacter(char c, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A wheel step over the picture window (positive: away from the user).
    void wheel(int delta, Qt::MouseButtons buttons = Qt::NoButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The main window's Drop message for these files.
    void drop(const std::vector<std::string>& paths);
    QWindow* frameWindow();
    // A point of the picture window in the frame's coordinates.
    QPoint inFrame(platform::Point pictureWindowPoint);

    std::string title();
    Viewer& v() { return *viewer_; }
    // The shown page indices: the current one, and the first of a spread.
    std::vector<int> shownPages();

    testing_support::TempFolder temp;
    std::vector<platform::ModalRequest> boxes; // every modal request, in order
    std::string settingsPath;

private:
    std::unique_ptr<Viewer> viewer_;
    int books_ = 0;
};

} // namespace viewer_test
