// The dialog templates: sound as data, the sizes the picture information
// dialogs are given, and every text and page fitting when built with the
// desktop's font.
#include "resources/dialogs.h"

#include <QWidget>
#include <set>

#include "platform/dialog.h"
#include "platform/dialog_host.h"
#include "platform/dialog_units.h"
#include "resources/dialog_fixture.h"

using namespace platform;

namespace {

const DialogTemplate& named(const char* name) {
    for (const DialogTemplate& dialog : resources::dialogTemplates())
        if (std::string(dialog.name) == name) return dialog;
    ADD_FAILURE() << name;
    return resources::dialogTemplates().front();
}

bool within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Each control's text fits its rectangle, and each control the dialog's.
void expectEverythingFits(DialogId dialog, const Rect& area) {
    for (const detail::ControlRecord& control : detail::findDialog(dialog)->controls) {
        const QRect rect = control.widget->geometry();
        EXPECT_TRUE(within({rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1}, area))
            << dialogName(dialog) << " " << control.id;
        if (control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton ||
            control.kind == ControlKind::Button || control.kind == ControlKind::Label) {
            EXPECT_LE(control.widget->sizeHint().width(), rect.width())
                << dialogName(dialog) << " " << controlText(dialog, control.id);
        }
    }
}

int checkLayout(DialogId dialog, DialogMessage message, const DialogParams&) {
    if (message != DialogMessage::Init) return 0;
    const Rect client = rectAt(0, 0, detail::findDialog(dialog)->widget->width(),
                               detail::findDialog(dialog)->widget->height());
    expectEverythingFits(dialog, client);
    if (dialogName(dialog) == "OPTION") {
        for (const char* tab : {"全般", "標準モード", "見開きモード"})
            addItem(dialog, 1062, tab);
        // Each page checks itself as it is made, sized to the tab's display area.
        for (const char* page : {"TAB_OPTION", "TAB_NORMAL", "TAB_MIHIRAKI"})
            EXPECT_NE(createPageDialog(dialog, 1062, page, checkLayout), 0u) << page;
    }
    endDialog(dialog, 1);
    return 1;
}

} // namespace

TEST(DialogTemplates, EveryControlHasItsOwnIdAndLiesInsideItsDialog) {
    for (const DialogTemplate& dialog : resources::dialogTemplates()) {
        std::set<int> ids;
        for (std::size_t i = 0; i < dialog.count; ++i) {
            const ControlTemplate& control = dialog.controls[i];
            if (control.id != 0) {
                EXPECT_TRUE(ids.insert(control.id).second) << dialog.name;
            }
            EXPECT_GE(control.rect.x, 0) << dialog.name << " " << control.id;
            EXPECT_GE(control.rect.y, 0) << dialog.name << " " << control.id;
            EXPECT_LE(control.rect.x + control.rect.width, dialog.width) << dialog.name;
            // Combo boxes name the height of their dropped list.
            if (control.kind != ControlKind::ComboBox) {
                EXPECT_LE(control.rect.y + control.rect.height, dialog.height) << dialog.name;
            }
        }
    }
}

TEST(DialogTemplates, ThePictureInformationDialogsHaveTheirGivenPlaces) {
    const DialogTemplate& single = named("INFOPICTURE");
    EXPECT_EQ(std::pair(single.width, single.height), std::pair(169, 175));
    ASSERT_EQ(single.count, 2u);
    EXPECT_EQ(single.controls[0].id, 1003);
    EXPECT_EQ(single.controls[0].kind, ControlKind::MultiLineEdit);
    EXPECT_TRUE(single.controls[0].flags & kReadOnly);
    const UnitRect box = single.controls[0].rect;
    EXPECT_EQ(std::tuple(box.x, box.y, box.width, box.height), std::tuple(5, 5, 158, 146));
    const UnitRect ok = single.controls[1].rect;
    EXPECT_EQ(std::tuple(ok.x, ok.y, ok.width, ok.height), std::tuple(59, 157, 50, 14));
    EXPECT_STREQ(single.title, "画像情報");

    const DialogTemplate& twin = named("INFOPICTUREDOUBLE");
    EXPECT_EQ(std::pair(twin.width, twin.height), std::pair(334, 181));
    ASSERT_EQ(twin.count, 3u);
    const UnitRect right = twin.controls[1].rect;
    EXPECT_EQ(twin.controls[1].id, 1004);
    EXPECT_EQ(std::tuple(right.x, right.y, right.width, right.height),
              std::tuple(170, 5, 158, 146));
    const UnitRect twinOk = twin.controls[2].rect;
    EXPECT_EQ(std::tuple(twinOk.x, twinOk.y), std::tuple(141, 159));
}

class BuiltDialogs : public ui_test::DialogTest {};

TEST_F(BuiltDialogs, EveryTextAndEveryPageFitsWithTheDesktopsFont) {
    for (const DialogTemplate& dialog : resources::dialogTemplates())
        if (std::string(dialog.name).rfind("TAB_", 0) != 0) {
            EXPECT_EQ(runDialog(dialog.name, 0, checkLayout), 1) << dialog.name;
        }
}
