// catalog_window_fixture.h - a real catalog window on Qt's offscreen platform,
// owned by a recording window that stands for the main window, with a viewer
// link that records what the catalog asks of the viewer, and every modal
// request recorded and answered from a queue.
#pragma once

#include <QTableView>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "catalog/catalog_window.h"
#include "platform/dialog.h"
#include "platform/modal.h"
#include "platform/ui_fixture.h"
#include "sources/page_list.h"
#include "support/temp_folder.h"

namespace catalog_test {

class CatalogWindowTest : public ui_test::UiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows these columns (Title first, then Location, then the others) and
    // these rows: each row's texts by display position.
    void fill(const std::vector<int>& columnIds, const std::vector<std::vector<std::string>>& rows);
    QTableView* table();
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void clickHeader(int column);
    void doubleClickRow(int row); // -1: below the last row
    void select(const std::vector<int>& rows);
    std::vector<int> selected();
    void command(int id);
    // The texts of one column, top to bottom.
    std::vector<std::string> column(int position);
    // Commands the main window got.
    std::vector<int> mainCommands();

    testing_support::TempFolder temp;
    PageList pages{"/nonexistent/"};
    CatalogWindow catalog;
    platform::WindowId main = 0;
    std::vector<platform::ModalRequest> requests;
    std::deque<platform::ModalAnswer> answers; // Cancel once empty
    // What the user does in each template dialog, in turn (dialog_seam.h);
    // a dialog without one is left alone, which cancels it.
    std::deque<std::function<void(platform::DialogId)>> dialogActs;
    std::vector<std::string> opened;         // paths given to openPath
    std::vector<int> shownPages;             // pages given to showPage
    bool openSucceeds = true;
    int shownCount = 1;
    int transparency = 255;
};

} // namespace catalog_test
