// Input as the window system delivers it (QTest posts through the same
// path), so focus, grabbing and propagation are Qt's own.
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "platform/keys.h"
#include "platform/ui_fixture.h"
#include "platform/window.h"
#include "platform/window_host.h"

using namespace platform;
using ui_test::messagesOf;

class Input : public ui_test::UiTest {
protected:
    QWindow* shown(WindowId window) {
        QWidget* frame = detail::frameWidget(window);
        frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame));
        return frame->windowHandle();
    }
};

TEST_F(Input, KeysReachTheTopLevelWindowWithoutAFocusedChild) {
    WindowId window = topLevel(rectAt(0, 0, 200, 150));
    child(window, rectAt(0, 0, 200, 150));
    QWindow* handle = shown(window);
    QTest::keyClick(handle, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(handle, Qt::Key_Q);
    auto downs = messagesOf(window, MessageKind::KeyDown);
    ASSERT_GE(downs.size(), 2u);
    EXPECT_EQ(downs[downs.size() - 2].params.key, key::Down);
    EXPECT_EQ(downs[downs.size() - 2].params.state & kShiftHeld, unsigned(kShiftHeld));
    EXPECT_EQ(downs.back().params.key, 'Q');
    auto characters = messagesOf(window, MessageKind::Character);
    ASSERT_FALSE(characters.empty());
    EXPECT_EQ(characters.back().params.character, U'q');
}

TEST_F(Input, AClickInAChildGoesToTheChildInItsCoordinates) {
    WindowId window = topLevel(rectAt(0, 0, 300, 200));
    WindowId inner = child(window, rectAt(50, 40, 100, 100));
    QWindow* handle = shown(window);
    QPoint inFrame = detail::clientWidget(inner)->mapTo(detail::frameWidget(window), QPoint(7, 9));
    QTest::mousePress(handle, Qt::RightButton, Qt::NoModifier, inFrame);
    QTest::mouseRelease(handle, Qt::RightButton, Qt::NoModifier, inFrame);
    auto downs = messagesOf(inner, MessageKind::ButtonDown);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].params.button, MouseButton::Right);
    EXPECT_EQ(downs[0].params.position, (Point{7, 9}));
    EXPECT_EQ(messagesOf(inner, MessageKind::ButtonUp).size(), 1u);
    EXPECT_TRUE(messagesOf(window, MessageKind::ButtonDown).empty());
}
