#include "catalog/catalog_window_fixture.h"

#include <QHeaderView>
#include <QTest>

#include "catalog/catalog_columns.h"
#include "catalog/catalog_view.h"
#include "platform/application.h"
#include "platform/report_list_host.h"

namespace catalog_test {

void CatalogWindowTest::SetUp() {
    ui_test::UiTest::SetUp();
    main = topLevel(platform::rectAt(0, 0, 200, 200), true);
    platform::setModalAnswerer([this](const platform::ModalRequest& request) {
        requests.push_back(request);
        if (answers.empty()) return platform::ModalAnswer{};
        platform::ModalAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
    ViewerLink& link = catalog.viewer;
    link.mainWindow = main;
    link.pages = &pages;
    link.openPath = [this](const std::string& path) {
        opened.push_back(path);
        return openSucceeds;
    };
    link.showPage = [this](int page) { shownPages.push_back(page); };
    link.shownCount = [this] { return shownCount; };
    link.transparency = &transparency;
    ASSERT_NE(createCatalogWindow(catalog), 0u);
    platform::showWindow(catalog.window, platform::ShowCommand::Show);
    platform::processPendingMessages();
}

void CatalogWindowTest::TearDown() {
    if (catalog.window) platform::destroyWindow(catalog.window);
    platform::setModalAnswerer({});
    ui_test::UiTest::TearDown();
}

void CatalogWindowTest::fill(const std::vector<int>& columnIds,
                             const std::vector<std::vector<std::string>>& rows) {
    CatalogList& list = catalog.list;
    showColumns(list, columnIds);
    list.rows.clear();
    for (const std::vector<std::string>& row : rows) appendRow(list, kIconFolder, row);
    showWholeCatalog(catalog);
    platform::processPendingMessages();
}

QTableView* CatalogWindowTest::table() {
    return static_cast<QTableView*>(platform::detail::reportListWidget(catalog.view));
}

void CatalogWindowTest::key(int qtKey, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(table(), static_cast<Qt::Key>(qtKey), modifiers);
    platform::processPendingMessages();
}

void CatalogWindowTest::clickHeader(int column) {
    QHeaderView* header = table()->horizontalHeader();
    QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    platform::processPendingMessages();
}

void CatalogWindowTest::doubleClickRow(int row) {
    QTableView* view = table();
    QPoint at = row >= 0 ? view->visualRect(view->model()->index(row, 0)).center()
                         : QPoint(5, view->viewport()->height() - 3);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    platform::processPendingMessages();
}

void CatalogWindowTest::select(const std::vector<int>& rows) {
    platform::setSelectedReportRows(catalog.view, rows);
}

std::vector<int> CatalogWindowTest::selected() {
    return platform::selectedReportRows(catalog.view);
}

void CatalogWindowTest::command(int id) {
    platform::sendCommand(catalog.window, id);
    platform::processPendingMessages();
}

std::vector<std::string> CatalogWindowTest::column(int position) {
    std::vector<std::string> texts;
    for (const CatalogRow& row : catalog.list.rows) texts.emplace_back(row.cells[std::size_t(position)]);
    // What the list shows is what the model holds.
    QAbstractItemModel* model = table()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_EQ(model->index(row, position).data().toString().toStdString(), texts[std::size_t(row)]);
    return texts;
}

std::vector<int> CatalogWindowTest::mainCommands() {
    std::vector<int> ids;
    for (const ui_test::Message& message : ui_test::messagesOf(main, platform::MessageKind::Command))
        ids.push_back(message.params.id);
    return ids;
}

} // namespace catalog_test
