#include "platform/report_list.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include "platform/application.h"
#include "platform/keys.h"
#include "platform/report_list_host.h"
#include "platform/ui_fixture.h"

using namespace platform;

namespace {

class ReportLists : public ui_test::UiTest {
protected:
    void SetUp() override {
        ui_test::UiTest::SetUp();
        window = topLevel(rectAt(0, 0, 300, 200));
        list = createReportList(window, rectAt(0, 0, 300, 200), {});
        ReportSource source;
        source.cellText = [this](int row, int column) {
            ++asked;
            return std::to_string(row) + ":" + std::to_string(column);
        };
        source.icon = [](int) { return -1; };
        setReportSource(list, source);
        setReportColumns(list, {{"a", 50}, {"b", 60, ColumnAlignment::Right}, {"c", 70}});
        setReportListener(list, [this](const ReportEvent& event) {
            events.push_back(event);
            return event.key == key::Down && (event.state & kAltHeld);
        });
    }
    QTableView* view() { return static_cast<QTableView*>(detail::reportListWidget(list)); }

    WindowId window = 0;
    ReportListId list = 0;
    int asked = 0;
    std::vector<ReportEvent> events;
};

} // namespace

TEST_F(ReportLists, TenThousandRowsAskOnlyForTheCellsOnScreen) {
    setReportRowCount(list, 10000);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view()->window()));
    view()->viewport()->repaint();
    EXPECT_GT(asked, 0);
    EXPECT_LT(asked, 3 * 40); // a screenful, not ten thousand rows
    EXPECT_LT(view()->findChildren<QWidget*>().size(), 40);
    EXPECT_EQ(reportColumnWidth(list, 2), 70);
    EXPECT_EQ(view()->model()->index(5, 1).data().toString(), "5:1");
}

TEST_F(ReportLists, TheSelectionFollowsInsertedAndRemovedRows) {
    setReportRowCount(list, 6);
    setSelectedReportRows(list, {1, 2, 4});
    insertReportRows(list, 0, 2);
    EXPECT_EQ(selectedReportRows(list), (std::vector<int>{3, 4, 6}));
    removeReportRows(list, 4, 1);
    EXPECT_EQ(selectedReportRows(list), (std::vector<int>{3, 5}));
    selectOnlyReportRow(list, 0);
    EXPECT_EQ(selectedReportRows(list), (std::vector<int>{0}));
    setReportRowCount(list, 3);
    EXPECT_TRUE(selectedReportRows(list).empty());
}

TEST_F(ReportLists, AHeaderClickNamesTheColumnWhereverItStands) {
    QHeaderView* header = view()->horizontalHeader();
    header->moveSection(2, 0); // "c" dragged to the front
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ReportEventKind::HeaderClick);
    EXPECT_EQ(events[0].column, 2);
    setReportColumns(list, {{"x", 40}, {"y", 40}, {"z", 40}}); // new columns stand in order
    EXPECT_EQ(header->visualIndex(2), 2);
}

TEST_F(ReportLists, AKeyTheListenerTakesDoesNotMoveTheSelection) {
    setReportRowCount(list, 5);
    selectOnlyReportRow(list, 1);
    QTest::keyClick(view(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(selectedReportRows(list), (std::vector<int>{1}));
    QTest::keyClick(view(), Qt::Key_Down);
    EXPECT_EQ(selectedReportRows(list), (std::vector<int>{2}));
    std::vector<unsigned> downs; // the modifiers of each Down told
    for (const ReportEvent& event : events)
        if (event.key == key::Down) downs.push_back(event.state & kAltHeld);
    EXPECT_EQ(downs, (std::vector<unsigned>{kAltHeld, 0}));

    const QPoint below(5, view()->viewport()->height() - 2);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, below); // no button left held
    EXPECT_EQ(events.back().kind, ReportEventKind::DoubleClick);
    EXPECT_EQ(events.back().row, -1); // below the last row
}
