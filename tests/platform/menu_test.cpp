#include "platform/menu.h"

#include <QAction>
#include <QImage>
#include <QMenuBar>
#include <map>

#include "platform/modal.h"
#include "platform/ui_fixture.h"
#include "platform/window_host.h"

using namespace platform;
using ui_test::messagesOf;

namespace {

using Kind = MenuEntryKind;
const MenuEntry kEntries[] = {
    {Kind::Popup, 0, "ファイル(&F)"},  {Kind::Item, 10, "開く(&O)\tO"},
    {Kind::Separator, 0, ""},          {Kind::Popup, 0, "入れ子(&N)"},
    {Kind::RadioItem, 20, "なし(&0)"}, {Kind::RadioItem, 21, "一(&1)"},
    {Kind::RadioItem, 23, "三(&3)"},   {Kind::EndPopup, 0, ""},
    {Kind::Item, 30, "スライド(&S)"},  {Kind::EndPopup, 0, ""},
    {Kind::Popup, 0, "ヘルプ(&H)"},    {Kind::Item, 40, "版(&A)..."},
    {Kind::EndPopup, 0, ""},
};
const MenuTable kTable{"TEST", kEntries, std::size(kEntries)};

QAction* actionOf(MenuHandle, WindowId window, const char* text) {
    for (QAction* action : detail::frameWidget(window)->findChildren<QAction*>())
        if (action->text() == QString::fromUtf8(text)) return action;
    return nullptr;
}

class Menus : public ui_test::UiTest {
protected:
    void TearDown() override {
        for (MenuHandle menu : made)
            destroyMenu(menu);
        ui_test::UiTest::TearDown();
    }
    MenuHandle load(const MenuTable& table) {
        MenuHandle menu = loadMenu(table);
        made.push_back(menu);
        return menu;
    }
    std::vector<MenuHandle> made;
};

} // namespace

TEST_F(Menus, ItemsKeepTheirTextsAndTheBarItsPopups) {
    MenuHandle menu = load(kTable);
    ASSERT_NE(menu, 0u);
    EXPECT_EQ(menuBarTitles(menu), (std::vector<std::string>{"ファイル(&F)", "ヘルプ(&H)"}));
    EXPECT_EQ(menuItemText(menu, 10), "開く(&O)\tO");
    EXPECT_EQ(menuItemText(menu, 23), "三(&3)");
    EXPECT_TRUE(hasMenuItem(menu, 40));
    EXPECT_FALSE(hasMenuItem(menu, 22));
    EXPECT_EQ(menuItemText(menu, 22), "");
}

TEST_F(Menus, TablesWhosePopupsDoNotNestOrThatRepeatAnIdAreRefused) {
    const MenuEntry open[] = {{Kind::Popup, 0, "a"}, {Kind::Item, 1, "x"}};
    const MenuEntry extraEnd[] = {{Kind::EndPopup, 0, ""}};
    const MenuEntry twice[] = {
        {Kind::Popup, 0, "a"}, {Kind::Item, 1, "x"}, {Kind::Item, 1, "y"}, {Kind::EndPopup, 0, ""}};
    EXPECT_EQ(loadMenu({"A", open, std::size(open)}), 0u);
    EXPECT_EQ(loadMenu({"B", extraEnd, std::size(extraEnd)}), 0u);
    EXPECT_EQ(loadMenu({"C", twice, std::size(twice)}), 0u);
}

TEST_F(Menus, RadioMarksStayWithinTheirRangeAndChecksAreIndependent) {
    MenuHandle menu = load(kTable);
    EXPECT_EQ(radioCheckMenuItem(menu, 20, 23, 21), 1);
    EXPECT_TRUE(isMenuItemChecked(menu, 21));
    EXPECT_EQ(radioCheckMenuItem(menu, 20, 23, 23), 1);
    EXPECT_FALSE(isMenuItemChecked(menu, 21));
    EXPECT_TRUE(isMenuItemChecked(menu, 23));
    // A value without an item clears the group (a code that has no entry).
    EXPECT_EQ(radioCheckMenuItem(menu, 20, 23, 22), 0);
    for (int id : {20, 21, 23})
        EXPECT_FALSE(isMenuItemChecked(menu, id));

    EXPECT_EQ(checkMenuItem(menu, 30, true), 1);
    EXPECT_TRUE(isMenuItemChecked(menu, 30));
    EXPECT_EQ(checkMenuItem(menu, 30, false), 1);
    EXPECT_FALSE(isMenuItemChecked(menu, 30));
    EXPECT_EQ(checkMenuItem(menu, 99, true), 0);
}

TEST_F(Menus, AttachingShrinksTheClientAndChoosingSendsTheIdWithoutMovingMarks) {
    WindowId window = topLevel(rectAt(0, 0, 400, 300));
    int fullHeight = clientRect(window).height();
    MenuHandle menu = load(kTable);
    ASSERT_EQ(attachMenu(window, menu), 1);
    EXPECT_EQ(attachedMenu(window), menu);
    int withBar = clientRect(window).height();
    EXPECT_LT(withBar, fullHeight);
    EXPECT_EQ(windowRect(window).height(), 300);

    radioCheckMenuItem(menu, 20, 23, 20);
    QAction* third = actionOf(menu, window, "三(&3)");
    QAction* slide = actionOf(menu, window, "スライド(&S)");
    ASSERT_NE(third, nullptr);
    ASSERT_NE(slide, nullptr);
    third->trigger();
    slide->trigger();
    auto commands = messagesOf(window, MessageKind::Command);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].params.id, 23);
    EXPECT_EQ(commands[1].params.id, 30);
    // Marks move only when the owner says so.
    EXPECT_TRUE(isMenuItemChecked(menu, 20));
    EXPECT_TRUE(actionOf(menu, window, "なし(&0)")->isChecked());
    EXPECT_FALSE(third->isChecked());
    EXPECT_FALSE(slide->isChecked());

    detachMenu(window);
    EXPECT_EQ(attachedMenu(window), 0u);
    EXPECT_EQ(clientRect(window).height(), fullHeight);
    EXPECT_TRUE(isMenu(menu));
}

TEST_F(Menus, DestroyingTheWindowDestroysItsMenuAndDestroyingTheMenuDetachesIt) {
    WindowId window = topLevel(rectAt(0, 0, 400, 300));
    int fullHeight = clientRect(window).height();
    MenuHandle menu = loadMenu(kTable);
    attachMenu(window, menu);
    EXPECT_EQ(destroyMenu(menu), 1);
    EXPECT_EQ(attachedMenu(window), 0u);
    EXPECT_EQ(clientRect(window).height(), fullHeight);
    EXPECT_EQ(destroyMenu(menu), 0);

    MenuHandle second = loadMenu(kTable);
    attachMenu(window, second);
    destroyWindow(window);
    EXPECT_FALSE(isMenu(second));
}

TEST_F(Menus, PopupMenusAskTheSeamAndSendTheChoice) {
    WindowId window = topLevel(rectAt(0, 0, 400, 300));
    MenuHandle menu = load(kTable);
    std::vector<ModalRequest> asked;
    ModalAnswerer previous = setModalAnswerer([&](const ModalRequest& request) {
        asked.push_back(request);
        ModalAnswer answer;
        answer.command = 40;
        return answer;
    });
    EXPECT_EQ(popupMenu(window, menu, 1, {70, 80}), 40);
    EXPECT_EQ(popupMenu(window, menu, 2, {70, 80}), 0);
    setModalAnswerer(previous);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::PopupMenu);
    EXPECT_EQ(asked[0].caption, "ヘルプ(&H)");
    EXPECT_EQ(asked[0].position, (Point{70, 80}));
    ASSERT_EQ(asked[0].items.size(), 1u);
    EXPECT_EQ(asked[0].items[0].id, 40);
    EXPECT_EQ(asked[0].items[0].text, "版(&A)...");
    auto commands = messagesOf(window, MessageKind::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].params.id, 40);
}

TEST_F(Menus, TheBarKeepsTheDesktopColoursOverAWindowOfADarkClass) {
    WindowId window = topLevel(rectAt(0, 0, 300, 200)); // the class erases in black
    MenuHandle menu = load(kTable);
    ASSERT_EQ(attachMenu(window, menu), 1);
    auto* bar = detail::frameWidget(window)->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(bar->palette().color(QPalette::Window), QColor(Qt::black));
    // The titles stand out from the bar: some pixels differ from its ground.
    const QImage image = bar->grab().toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    int ground = 0;
    for (const auto& [colour, count] : counts) ground = std::max(ground, count);
    EXPECT_GT(image.width() * image.height() - ground, 20);
}
