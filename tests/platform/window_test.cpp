#include "platform/window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWheelEvent>

#include "platform/accelerator.h"
#include "platform/application.h"
#include "platform/keys.h"
#include "platform/ui_fixture.h"
#include "platform/window_host.h"

using namespace platform;
using ui_test::Message;
using ui_test::messages;
using ui_test::messagesOf;
using ui_test::UiTest;

namespace {

std::vector<MessageKind> kindsOf(WindowId window) {
    std::vector<MessageKind> kinds;
    for (const Message& message : messages())
        if (message.window == window) kinds.push_back(message.kind);
    return kinds;
}

void sendMouse(WindowId window, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* widget = detail::clientWidget(window);
    QPointF global = widget->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void sendKey(WindowId window, int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, text);
    QApplication::sendEvent(detail::frameWidget(window), &event);
}

} // namespace

TEST_F(UiTest, CreateComesBeforeCreateWindowReturnsAndDestroyGoesParentFirst) {
    WindowId parent = topLevel(rectAt(10, 10, 300, 200));
    ASSERT_NE(parent, 0u);
    WindowId inner = child(parent, rectAt(0, 0, 50, 50));
    ASSERT_EQ(kindsOf(parent).front(), MessageKind::Create);
    ASSERT_EQ(kindsOf(inner).front(), MessageKind::Create);
    WindowCreation unknown;
    unknown.className = "NoSuchClass";
    EXPECT_EQ(createWindow(unknown), 0u);

    messages().clear();
    EXPECT_EQ(destroyWindow(parent), 1);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].window, parent);
    EXPECT_EQ(messages()[1].window, inner);
    EXPECT_FALSE(isWindow(inner));
    EXPECT_EQ(destroyWindow(parent), 0);
}

TEST_F(UiTest, AnOwnedWindowLeavesItsOwnersChildrenInsideItsOwnersWindow) {
    WindowId owner = topLevel(rectAt(10, 10, 300, 200));
    WindowId inner = child(owner, rectAt(0, 0, 50, 50));
    WindowCreation owned;
    owned.className = "Recorder";
    owned.owner = owner;
    owned.rect = rectAt(20, 20, 100, 100);
    WindowId second = createWindow(owned);
    ASSERT_NE(second, 0u);
    // Native children would be X windows of their own, found before the
    // owner by anything that looks for the viewer's windows.
    EXPECT_EQ(detail::clientWidget(owner)->internalWinId(), 0u);
    EXPECT_EQ(detail::clientWidget(inner)->internalWinId(), 0u);
    destroyWindow(second);
}

TEST_F(UiTest, AnUnhandledCloseDestroysAndAHandledOneKeepsTheWindow) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    ui_test::setReaction([](WindowId, MessageKind kind, const MessageParams&) {
        return kind == MessageKind::Close ? 1 : 0;
    });
    closeWindow(window);
    EXPECT_TRUE(isWindow(window));
    ui_test::setReaction(nullptr);
    QCloseEvent event; // the close button of the frame
    QApplication::sendEvent(detail::frameWidget(window), &event);
    EXPECT_FALSE(isWindow(window));
}

TEST_F(UiTest, SentCommandsRunAtOncePostedOnesAfterTheCurrentMessageInOrder) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100), false);
    std::vector<int> order;
    std::vector<std::vector<int>> waiting; // the posted commands still queued at each command
    ui_test::setReaction([&](WindowId target, MessageKind kind, const MessageParams& params) {
        if (kind != MessageKind::Command) return 0;
        order.push_back(params.id);
        waiting.push_back(queuedCommands(target));
        if (params.id == 1) {
            postCommand(target, 2);
            postCommand(target, 3);
            sendCommand(target, 4);
            order.push_back(5); // still inside command 1
        }
        return 1;
    });
    EXPECT_EQ(sendCommand(window, 1), 1);
    EXPECT_EQ(order, (std::vector<int>{1, 4, 5}));
    ASSERT_TRUE(ui_test::waitFor([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (std::vector<int>{1, 4, 5, 2, 3}));
    EXPECT_EQ(waiting,
              (std::vector<std::vector<int>>{{}, {2, 3}, {3}, {}})); // 1, 4 (sent), 2, 3
    EXPECT_TRUE(queuedCommands(window).empty());
    EXPECT_EQ(sendCommand(window + 1000, 1), 0);
}

TEST_F(UiTest, TimerTicksWithItsIdUntilKilledAndSettingAgainKeepsOneTimer) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100), false);
    setTimer(window, 1, 5);
    setTimer(window, 1, 5); // a restart, not a second timer
    EXPECT_TRUE(hasTimer(window, 1));
    ASSERT_TRUE(
        ui_test::waitFor([&] { return messagesOf(window, MessageKind::Timer).size() >= 3; }));
    for (const Message& tick : messagesOf(window, MessageKind::Timer))
        EXPECT_EQ(tick.params.id, 1);
    killTimer(window, 1);
    EXPECT_FALSE(hasTimer(window, 1));
    // A zero-period timer would tick at once; after the kill nothing comes.
    setTimer(window, 2, 0);
    ASSERT_TRUE(ui_test::waitFor([&] {
        for (const Message& m : messagesOf(window, MessageKind::Timer))
            if (m.params.id == 2) return true;
        return false;
    }));
    killTimer(window, 2);
    std::size_t ticks = messagesOf(window, MessageKind::Timer).size();
    processPendingMessages();
    processPendingMessages();
    EXPECT_EQ(messagesOf(window, MessageKind::Timer).size(), ticks);
}

TEST_F(UiTest, MouseButtonsReachTheProcedureWithPositionButtonAndState) {
    WindowId window = topLevel(rectAt(0, 0, 200, 200));
    sendMouse(window, QEvent::MouseButtonPress, {12, 34}, Qt::RightButton, Qt::RightButton,
              Qt::ShiftModifier);
    sendMouse(window, QEvent::MouseMove, {13, 35}, Qt::NoButton, Qt::RightButton);
    sendMouse(window, QEvent::MouseButtonRelease, {13, 35}, Qt::RightButton, Qt::NoButton);
    sendMouse(window, QEvent::MouseButtonPress, {1, 1}, Qt::XButton1, Qt::XButton1);
    sendMouse(window, QEvent::MouseButtonRelease, {1, 1}, Qt::XButton1, Qt::NoButton);
    sendMouse(window, QEvent::MouseButtonPress, {1, 1}, Qt::XButton2, Qt::XButton2);
    sendMouse(window, QEvent::MouseButtonPress, {1, 1}, Qt::MiddleButton, Qt::MiddleButton);

    auto downs = messagesOf(window, MessageKind::ButtonDown);
    ASSERT_EQ(downs.size(), 4u);
    EXPECT_EQ(downs[0].params.button, MouseButton::Right);
    EXPECT_EQ(downs[0].params.position, (Point{12, 34}));
    EXPECT_EQ(downs[0].params.screenPosition, clientToScreen(window, {12, 34}));
    EXPECT_EQ(downs[0].params.state, kShiftHeld | kRightButtonHeld);
    EXPECT_EQ(downs[1].params.button, MouseButton::Extra1);
    EXPECT_EQ(downs[1].params.state, unsigned(kExtraButton1Held));
    EXPECT_EQ(downs[2].params.button, MouseButton::Extra2);
    EXPECT_EQ(downs[3].params.button, MouseButton::Middle);

    auto moves = messagesOf(window, MessageKind::MouseMove);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].params.state, unsigned(kRightButtonHeld));
    auto ups = messagesOf(window, MessageKind::ButtonUp);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups[0].params.button, MouseButton::Right);
    EXPECT_EQ(ups[0].params.state, 0u);
    EXPECT_EQ(ups[1].params.button, MouseButton::Extra1);
}

TEST_F(UiTest, DoubleClicksOnlyForClassesThatAskForThem) {
    WindowId asks = topLevel(rectAt(0, 0, 100, 100));
    WindowId plain = topLevel(rectAt(0, 0, 100, 100), true, "PlainRecorder");
    for (WindowId window : {asks, plain}) {
        sendMouse(window, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
        sendMouse(window, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
        sendMouse(window, QEvent::MouseButtonDblClick, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    }
    EXPECT_EQ(messagesOf(asks, MessageKind::DoubleClick).size(), 1u);
    EXPECT_EQ(messagesOf(asks, MessageKind::ButtonDown).size(), 1u);
    EXPECT_EQ(messagesOf(plain, MessageKind::DoubleClick).size(), 0u);
    EXPECT_EQ(messagesOf(plain, MessageKind::ButtonDown).size(), 2u);
}

TEST_F(UiTest, AWheelTheChildLeavesGoesToItsParent) {
    WindowId parent = topLevel(rectAt(0, 0, 200, 200));
    WindowId inner = child(parent, rectAt(10, 20, 100, 100));
    QWidget* widget = detail::clientWidget(inner);
    QWheelEvent event(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::RightButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    auto childWheels = messagesOf(inner, MessageKind::Wheel);
    auto parentWheels = messagesOf(parent, MessageKind::Wheel);
    ASSERT_EQ(childWheels.size(), 1u);
    ASSERT_EQ(parentWheels.size(), 1u);
    EXPECT_EQ(parentWheels[0].params.wheelDelta, -120);
    EXPECT_EQ(parentWheels[0].params.state, kControlHeld | kRightButtonHeld);
    EXPECT_EQ(parentWheels[0].params.position, (Point{15, 25}));
}

TEST_F(UiTest, KeysBecomeKeyDownThenCharacterAndAcceleratorsBecomeCommands) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    static const AcceleratorEntry entries[] = {{'1', kControlHeld, 40093}};
    static const AcceleratorTable table{"T", entries, 1};
    setAccelerators(window, &table);
    sendKey(window, Qt::Key_Left, Qt::ControlModifier, {});
    sendKey(window, Qt::Key_R, Qt::ShiftModifier, "R");
    sendKey(window, Qt::Key_Plus, Qt::NoModifier, "+");
    sendKey(window, Qt::Key_F7, Qt::NoModifier, {});
    sendKey(window, Qt::Key_Tab, Qt::NoModifier, "\t");
    sendKey(window, Qt::Key_1, Qt::ControlModifier, "1");
    sendKey(window, Qt::Key_Q, Qt::AltModifier, "q"); // the menu bar's, not the window's
    setAccelerators(0, nullptr);

    auto downs = messagesOf(window, MessageKind::KeyDown);
    ASSERT_EQ(downs.size(), 5u);
    EXPECT_EQ(downs[0].params.key, key::Left);
    EXPECT_EQ(downs[0].params.state, unsigned(kControlHeld));
    EXPECT_EQ(downs[1].params.key, 'R');
    EXPECT_EQ(downs[2].params.key, '+');
    EXPECT_EQ(downs[3].params.key, key::F(7));
    EXPECT_EQ(downs[4].params.key, key::Tab);
    auto characters = messagesOf(window, MessageKind::Character);
    ASSERT_EQ(characters.size(), 3u);
    EXPECT_EQ(characters[0].params.character, U'R');
    EXPECT_EQ(characters[0].params.state, unsigned(kShiftHeld));
    EXPECT_EQ(characters[1].params.character, U'+');
    auto commands = messagesOf(window, MessageKind::Command);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].params.id, 40093);
}

TEST_F(UiTest, DroppedFilesArriveAsLocalPathsInOrder) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    acceptDrops(window, true);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a b.jpg"), QUrl("https://example.com/x"),
                  QUrl::fromLocalFile("/tmp/c.zip")});
    // A drop goes to the widget that took the drag's entry.
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(detail::frameWidget(window), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(detail::frameWidget(window), &event);
    auto drops = messagesOf(window, MessageKind::Drop);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].params.paths, (std::vector<std::string>{"/tmp/a b.jpg", "/tmp/c.zip"}));
}

TEST_F(UiTest, StylesReframeTheWindowAtTheGivenRectangle) {
    WindowId window = topLevel(rectAt(40, 50, 450, 300));
    EXPECT_EQ(windowRect(window), rectAt(40, 50, 450, 300));
    EXPECT_EQ(windowStyle(window), WindowStyle::Captioned);
    Rect client = clientRect(window);
    EXPECT_EQ(client.left, 0);
    EXPECT_GT(client.width(), 0);
    EXPECT_LE(client.width(), 450);

    setWindowStyle(window, WindowStyle::CaptionLess, rectAt(60, 70, 320, 240));
    EXPECT_EQ(windowStyle(window), WindowStyle::CaptionLess);
    EXPECT_EQ(windowRect(window), rectAt(60, 70, 320, 240));
    EXPECT_TRUE(isVisible(window));

    // The full-screen style covers the screen once shown maximised.
    Rect screen = detail::fromQRect(QGuiApplication::primaryScreen()->geometry());
    setWindowStyle(window, WindowStyle::FullScreen, rectAt(60, 70, 320, 240));
    showWindow(window, ShowCommand::Maximised);
    ASSERT_TRUE(ui_test::waitFor([&] { return windowRect(window) == screen; }));
    EXPECT_EQ(clientRect(window), (Rect{0, 0, screen.width(), screen.height()}));
    setWindowStyle(window, WindowStyle::CaptionLess, rectAt(60, 70, 320, 240));
    showWindow(window, ShowCommand::Normal);

    moveWindow(window, rectAt(5, 6, 200, 100));
    EXPECT_EQ(windowRect(window), rectAt(5, 6, 200, 100));
}

TEST_F(UiTest, MaximisedUntilShownNormalAgain) {
    WindowId window = topLevel(rectAt(30, 30, 300, 200));
    showWindow(window, ShowCommand::Maximised);
    ASSERT_TRUE(ui_test::waitFor([&] { return isMaximised(window); }));
    showWindow(window, ShowCommand::Normal);
    ASSERT_TRUE(ui_test::waitFor([&] { return !isMaximised(window); }));
    EXPECT_EQ(normalWindowRect(window), rectAt(30, 30, 300, 200));
    showWindow(window, ShowCommand::Hide);
    EXPECT_FALSE(isVisible(window));
    showWindow(window, ShowCommand::ShowNoActivate);
    EXPECT_TRUE(isVisible(window));
}

TEST_F(UiTest, MovingAChildScrollsItInsideTheParent) {
    WindowId parent = topLevel(rectAt(100, 100, 300, 200));
    WindowId inner = child(parent, rectAt(0, 0, 500, 400));
    moveWindow(inner, rectAt(-40, -30, 500, 400), false);
    EXPECT_EQ(clientRect(inner), (Rect{0, 0, 500, 400}));
    EXPECT_EQ(rectInParent(inner), rectAt(-40, -30, 500, 400));
    Point origin = clientToScreen(parent, {0, 0});
    EXPECT_EQ(windowRect(inner), rectAt(origin.x - 40, origin.y - 30, 500, 400));
    EXPECT_EQ(screenToClient(inner, clientToScreen(parent, {0, 0})), (Point{40, 30}));
}

TEST_F(UiTest, ASystemMoveFollowsTheMouseUntilTheLeftButtonIsUp) {
    WindowId window = topLevel(rectAt(100, 100, 300, 200));
    ui_test::setReaction([](WindowId target, MessageKind kind, const MessageParams& params) {
        if (kind == MessageKind::ButtonDown && params.button == MouseButton::Left)
            startSystemMove(target);
        return 1;
    });
    sendMouse(window, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, {30, 15}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(windowRect(window), rectAt(120, 105, 300, 200));
    // The drag is the window system's: the procedure sees no move for it.
    EXPECT_TRUE(messagesOf(window, MessageKind::MouseMove).empty());
    sendMouse(window, QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton, Qt::NoButton);
    sendMouse(window, QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(windowRect(window), rectAt(120, 105, 300, 200));
    EXPECT_EQ(messagesOf(window, MessageKind::MouseMove).size(), 1u);
}

TEST_F(UiTest, CursorShapesAndTheBusyCursor) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    QWidget* client = detail::clientWidget(window);
    EXPECT_EQ(client->cursor().shape(), Qt::ArrowCursor);
    setCursorShape(window, CursorShape::Hidden);
    EXPECT_EQ(cursorShape(window), CursorShape::Hidden);
    EXPECT_EQ(client->cursor().shape(), Qt::BlankCursor);
    setCursorShape(window, CursorShape::Wait);
    EXPECT_EQ(client->cursor().shape(), Qt::WaitCursor);
    setBusyCursor(true);
    setBusyCursor(true);
    setBusyCursor(false);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    setBusyCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(UiTest, TitlesBelongToTheTopLevelWindow) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    setTitle(window, "50% 本.jpg");
    EXPECT_EQ(title(window), "50% 本.jpg");
    EXPECT_EQ(detail::frameWidget(window)->windowTitle().toStdString(), "50% 本.jpg");
}

TEST_F(UiTest, FullScreenCoversTheScreenWithoutFrameAndLeavesToTheSavedRectangle) {
    WindowId window = topLevel(rectAt(50, 60, 400, 300));
    Rect saved = windowRect(window);

    setWindowStyle(window, WindowStyle::FullScreen, saved);
    showWindow(window, ShowCommand::Maximised);
    ASSERT_TRUE(ui_test::waitFor([&] { return isMaximised(window); }));
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(ui_test::waitFor([&] { return clientRect(window).width() == screen.width(); }));
    EXPECT_EQ(clientRect(window).height(), screen.height());
    EXPECT_EQ(windowRect(window), detail::fromQRect(screen));

    setWindowStyle(window, WindowStyle::CaptionLess, saved);
    showWindow(window, ShowCommand::Normal);
    ASSERT_TRUE(ui_test::waitFor([&] { return !isMaximised(window); }));
    EXPECT_EQ(windowRect(window), saved);
    auto sizes = messagesOf(window, MessageKind::Size);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().params.size,
              (Size{clientRect(window).width(), clientRect(window).height()}));
}

TEST_F(UiTest, OpacityGoesFromOpaqueToInvisible) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100));
    setOpacity(window, 127);
    EXPECT_NEAR(detail::frameWidget(window)->windowOpacity(), 127 / 255.0, 0.01);
    setOpacity(window, 300);
    EXPECT_NEAR(detail::frameWidget(window)->windowOpacity(), 1.0, 0.01);
}

TEST_F(UiTest, TheLoopRunsPostedCommandsAndEndsWithTheQuitCode) {
    WindowId window = topLevel(rectAt(0, 0, 100, 100), false);
    ui_test::setReaction([](WindowId target, MessageKind kind, const MessageParams& params) {
        if (kind == MessageKind::Command && params.id == 1) postCommand(target, 2);
        if (kind == MessageKind::Command && params.id == 2) postQuit(7);
        return 1;
    });
    postCommand(window, 1);
    EXPECT_EQ(runMessageLoop(), 7);
    EXPECT_EQ(messagesOf(window, MessageKind::Command).size(), 2u);
}
