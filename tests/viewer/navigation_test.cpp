// Opening and stepping through books in both modes, with spreads, the
// spread-back step, read-ahead, failing pages, the views kept for a step back
// and queued steps.
#include <algorithm>
#include <set>
#include <vector>

#include "platform/application.h"
#include "resources/command_ids.h"
#include "support/temp_folder.h"
#include "viewer/navigation.h"
#include "support/bmp_writer.h"
#include "viewer/viewer_fixture.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include "platform/ui_fixture.h"
#include "platform/window_host.h"

using namespace viewer_test;
using Pages = std::vector<int>;

namespace {

const platform::Size P = kPortrait, L = kLandscape, S = kSquare;

} // namespace

TEST_F(ViewerTest, AutoSpreadsPairUprightPagesAndWrapFromTheLastToTheFirst) {
    openTwoPage({P, P, L, P, P, S});
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    EXPECT_EQ(title(), "02.bmp 01.bmp"); // right binding: the current page first
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{2})); // a landscape page stands alone
    EXPECT_EQ(title(), "03.bmp");
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{3, 4}));
    command(cmd::NextPage);
    // The square last page pairs with the first page after the wrap.
    EXPECT_EQ(shownPages(), (Pages{5, 0}));
    EXPECT_EQ(title(), "01.bmp 06.bmp");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewerTest, NextFileShiftsASpreadByOnePictureAndNextPageWrapsToTheFirstSpread) {
    openTwoPage({P, P, P, P, P, P});
    command(cmd::NextFile);
    EXPECT_EQ(shownPages(), (Pages{1, 2}));
    command(cmd::LastFile); // pageCount - 2
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
    command(cmd::NextFile);
    EXPECT_EQ(shownPages(), (Pages{5, 0}));
    command(cmd::LastFile);
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    command(cmd::FirstFile);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
}

TEST_F(ViewerTest, LeftBindingPutsTheEarlierPageFirstInTheTitle) {
    openTwoPage({P, P, P}, [](ViewerState& s) { s.RightorLeft = 0; });
    EXPECT_EQ(title(), "01.bmp 02.bmp");
    command(cmd::ReverseBinding);
    EXPECT_EQ(v().settings.RightorLeft, 1);
    EXPECT_EQ(title(), "02.bmp 01.bmp");
}

TEST_F(ViewerTest, PreviousPageFromASpreadShowsTheSpreadBeforeItOrThePageBeforeItAlone) {
    openTwoPage({P, P, L, P, P, P, P});
    command(cmd::LastFile);
    EXPECT_EQ(shownPages(), (Pages{5, 6}));
    command(cmd::PreviousPage);
    EXPECT_EQ(shownPages(), (Pages{3, 4}));
    command(cmd::PreviousPage); // 1 and the landscape 2 do not pair: 2 alone
    EXPECT_EQ(shownPages(), (Pages{2}));
    command(cmd::PreviousPage); // one picture back; it cannot pair with 2 either
    EXPECT_EQ(shownPages(), (Pages{1}));
}

TEST_F(ViewerTest, PreviousFileFromASpreadStepsOnePictureBack) {
    openTwoPage({P, P, L, P, P, P});
    command(cmd::LastFile);
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
    command(cmd::PreviousFile);
    EXPECT_EQ(shownPages(), (Pages{3, 4}));
    command(cmd::PreviousFile); // the page before is landscape: the later page alone
    EXPECT_EQ(shownPages(), (Pages{3}));
    command(cmd::PreviousFile);
    EXPECT_EQ(shownPages(), (Pages{2}));
}

TEST_F(ViewerTest, SpreadRulesAlwaysAndNever) {
    openTwoPage({L, L, L}, [](ViewerState& s) { s.mihiraki = 2; });
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    command(cmd::SpreadNever);
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{2}));
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{0}));
}

TEST_F(ViewerTest, AOnePageBookNeverFormsASpreadAndEveryStepReloadsItsPage) {
    for (int sakiyomi : {0, 1}) {
        openTwoPage({P}, [&](ViewerState& s) { s.sakiyomi = sakiyomi; });
        EXPECT_EQ(shownPages(), (Pages{0}));
        // With read-ahead the page read ahead is the only page itself.
        for (int id : {cmd::NextPage, cmd::NextPage, cmd::NextPage, cmd::PreviousPage,
                       cmd::NextFile, cmd::PreviousFile, cmd::LastFile, cmd::RandomFile}) {
            command(id);
            EXPECT_EQ(shownPages(), (Pages{0})) << id << " read-ahead " << sakiyomi;
            EXPECT_EQ(title(), "01.bmp") << id << " read-ahead " << sakiyomi;
        }
        EXPECT_TRUE(boxes.empty());
        TearDown();
        SetUp();
    }
}

// A step onto a page on screen decodes it afresh into the memory its old
// picture freed, never beside it (pages over 1 MiB reuse freed blocks of
// their size); in a folder too small to read ahead without wrapping onto a
// page on screen, nothing is read ahead.
TEST_F(ViewerTest, APageOnScreenIsNeverHeldTwice) {
    openNormal({{800, 600}}, [](ViewerState& s) { s.sakiyomi = 1; });
    const platform::MemoryHandle shown = v().document.main.bitsBlock;
    command(cmd::NextPage);
    EXPECT_EQ(v().document.main.bitsBlock, shown);
    EXPECT_FALSE(v().document.readAhead[0].owned);
    EXPECT_FALSE(v().document.readAhead[1].owned);

    TearDown();
    SetUp();
    openTwoPage({{600, 800}, {600, 800}});
    ASSERT_EQ(shownPages(), (Pages{0, 1}));
    const platform::MemoryHandle first = v().document.main.bitsBlock;
    const platform::MemoryHandle second = v().document.second.bitsBlock;
    command(cmd::NextPage); // wraps onto the same spread
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    EXPECT_EQ(v().document.main.bitsBlock, first);
    EXPECT_EQ(v().document.second.bitsBlock, second);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewerTest, ReadAheadShowsTheSamePagesAsPlainStepping) {
    const std::vector<platform::Size> book{P, P, L, P, L, L, P, P, P, S, P};
    std::vector<Pages> plain, readAhead;
    openTwoPage(book);
    for (int i = 0; i < 14; ++i) {
        command(cmd::NextPage);
        plain.push_back(shownPages());
    }
    TearDown();
    SetUp();
    openTwoPage(book, [](ViewerState& s) { s.sakiyomi = 1; });
    for (int i = 0; i < 14; ++i) {
        command(cmd::NextPage); // the refill runs once the step is painted
        EXPECT_TRUE(v().document.readAheadValid);
        readAhead.push_back(shownPages());
    }
    EXPECT_EQ(plain, readAhead);
}

TEST_F(ViewerTest, AStepBetweenAReadAheadStepAndItsRefillCancelsTheRefill) {
    openTwoPage({P, P, P, P, P, P, P, P}, [](ViewerState& s) { s.sakiyomi = 1; });
    command(cmd::NextPage);
    command(cmd::NextPage);
    EXPECT_TRUE(v().document.readAheadValid);
    // Both run before the queued refill: the refill must not take stale pages.
    platform::sendCommand(v().mainWindow, cmd::NextPage);
    platform::sendCommand(v().mainWindow, cmd::PreviousPage);
    platform::processPendingMessages();
    EXPECT_FALSE(v().document.readAheadValid);
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{6, 7}));
}

TEST_F(ViewerTest, NextFileBeforeAnythingIsOpenReportsOnlyInNormalMode) {
    start();
    command(cmd::NextFile);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "次のファイルが開けないっす");
    EXPECT_EQ(boxes[0].caption, "エラーっす");
    EXPECT_EQ(title(), "Voxa");
    command(cmd::TwoPageMode);
    command(cmd::NextFile);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ViewerTest, ABrokenPageIsReportedAndSteppedPast) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; });
    const std::string book = writeBook({P, P, P, P, P, P});
    testing_support::writeFile(book + "03.bmp", "BM not a picture");
    ASSERT_TRUE(openPath(book));
    command(cmd::NextPage);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "エラーっす");
    // The spread stays on screen, and the index and title name it...
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    EXPECT_EQ(title(), "02.bmp 01.bmp");
    // ...while the next step counts from the failed page and so passes it.
    command(cmd::NextPage);
    EXPECT_EQ(shownPages(), (Pages{3, 4}));
    // The spread-back step lands on the broken page: its own caption.
    command(cmd::NextFile);
    command(cmd::PreviousPage);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "エロじゃなくてエラーだ");
}

TEST_F(ViewerTest, AnUnopenablePathLeavesTheShownPagesAlone) {
    openTwoPage({P, P, P});
    EXPECT_FALSE(openPath(temp / "missing.bmp"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "エラーっす");
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
}

TEST_F(ViewerTest, ASpreadBecomesItsSecondPageInNormalModeAndIsRebuiltOnTheWayBack) {
    openTwoPage({P, P, P, P});
    command(cmd::NextFile);
    EXPECT_EQ(shownPages(), (Pages{1, 2}));
    command(cmd::ToggleMode);
    EXPECT_TRUE(v().normalMode());
    EXPECT_EQ(shownPages(), (Pages{2}));
    EXPECT_EQ(title(), "03.bmp");
    command(cmd::ToggleMode);
    EXPECT_EQ(shownPages(), (Pages{1, 2}));
}

TEST_F(ViewerTest, ADoubleClickOnTheFirstPageKeepsItInNormalMode) {
    openTwoPage({P, P, P, P});
    const int width = platform::clientRect(v().mainWindow).width();
    // Right binding: the first page lies in the right half.
    QTest::mouseDClick(frameWindow(), Qt::LeftButton, Qt::NoModifier,
                       inFrame({width * 3 / 4, 20}));
    platform::processPendingMessages();
    EXPECT_TRUE(v().normalMode());
    EXPECT_TRUE(v().document.keepFirstOfSpread);
    EXPECT_EQ(shownPages(), (Pages{0}));
    EXPECT_TRUE(v().layout.pendingViewCentre.pending);
    command(cmd::TwoPageMode);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
}

TEST_F(ViewerTest, ChoosingAFilterChangesOnlyThePagesShownAfterIt) {
    openNormal({P, P});
    const unsigned char* bits = platform::lockBlock(v().document.main.bitsBlock);
    const testing_support::Dib first = testing_support::makeDib(P.width, P.height, 24, 1);
    EXPECT_EQ(bits[0], static_cast<unsigned char>(first.bits[0]));
    command(cmd::FilterNegative);
    EXPECT_EQ(platform::lockBlock(v().document.main.bitsBlock)[0],
              static_cast<unsigned char>(first.bits[0]));
    command(cmd::NextPage);
    const testing_support::Dib second = testing_support::makeDib(P.width, P.height, 24, 2);
    EXPECT_EQ(platform::lockBlock(v().document.main.bitsBlock)[0],
              static_cast<unsigned char>(255 - static_cast<unsigned char>(second.bits[0])));
    EXPECT_EQ(v().settings.modes[kTwoPageMode].FILTER, 0); // synchro is off
}

TEST_F(ViewerTest, PagesReadAheadAreDrawnWithTheFilterChosenSinceTheyWereRead) {
    // Pages read ahead are reduced for drawing before they are processed; the
    // step that shows them must draw them processed.
    const std::vector<platform::Size> book{{300, 400}, {300, 400}, {300, 400}, {300, 400},
                                           {300, 400}, {300, 400}};
    auto run = [&](int sakiyomi) {
        openTwoPage(book, [&](ViewerState& s) { s.sakiyomi = sakiyomi; });
        command(cmd::NextPage); // the read-ahead buffers fill
        command(cmd::FilterNegative);
        command(cmd::NextPage);
        QImage shot = platform::detail::clientWidget(v().pictureWindow)->grab().toImage();
        TearDown();
        SetUp();
        return shot;
    };
    const QImage plain = run(0);
    EXPECT_EQ(run(1), plain);
}

TEST_F(ViewerTest, ABrokenSecondPageIsReportedAndTheFirstPageStaysAloneAndCurrent) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; });
    const std::string book = writeBook({P, P, P, P, P, P});
    testing_support::writeFile(book + "04.bmp", "BM not a picture");
    ASSERT_TRUE(openPath(book));
    command(cmd::NextPage); // 03.bmp, paired with the broken 04.bmp
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "エラーっす");
    EXPECT_EQ(shownPages(), (Pages{2}));
    EXPECT_EQ(title(), "03.bmp");
    command(cmd::NextPage); // past the broken page
    EXPECT_EQ(shownPages(), (Pages{4, 5}));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ViewerTest, AfterAFailedStepTheModeSwitchKeepsAPageOfTheShownSpread) {
    for (bool keepFirst : {false, true}) {
        start([](ViewerState& s) { s.MODE = kTwoPageMode; });
        const std::string book = writeBook({P, P, P, P, P});
        testing_support::writeFile(book + "03.bmp", "BM not a picture");
        ASSERT_TRUE(openPath(book));
        command(cmd::NextPage); // fails on 03.bmp
        ASSERT_EQ(boxes.size(), 1u);
        v().document.keepFirstOfSpread = keepFirst;
        command(cmd::NormalMode);
        EXPECT_EQ(shownPages(), (Pages{keepFirst ? 0 : 1}));
        EXPECT_EQ(title(), keepFirst ? "01.bmp" : "02.bmp");
        command(cmd::PreviousPage); // back from the shown page, not from the failed one
        EXPECT_EQ(shownPages(), (Pages{keepFirst ? 4 : 0}));
        TearDown();
        SetUp();
        boxes.clear();
    }
}

TEST_F(ViewerTest, LastFileShowsTheLastPictureInNormalMode) {
    openNormal({P, P, P});
    command(cmd::LastFile);
    EXPECT_EQ(shownPages(), (Pages{2}));
    EXPECT_EQ(title(), "03.bmp");
}

TEST_F(ViewerTest, RandomFilesStayInTheBookAndReachEveryPage) {
    openNormal({P, P, P});
    std::set<int> seen;
    for (int i = 0; i < 200; ++i) {
        const int r = randomBetween(0, 2);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 2);
        command(cmd::RandomFile);
        seen.insert(v().pages.currentIndex);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(boxes.empty());
}

namespace {

// What a step left on screen: the title, the message boxes so far, the
// shown pictures' bytes and places, and the pixels the engines composed.
struct Seen {
    std::string title;
    std::size_t boxes = 0;
    std::vector<std::string> pictures;
    std::vector<int> places;
    std::string screen;
    bool operator==(const Seen&) const = default;
};

std::string bytesOf(const PictureBuffer& picture) {
    auto bytes = [](platform::MemoryHandle block) {
        return std::string(reinterpret_cast<const char*>(platform::lockBlock(block)),
                           platform::blockSize(block));
    };
    return bytes(picture.headerBlock) + bytes(picture.bitsBlock);
}

const std::vector<int> kWalk{cmd::NextPage,     cmd::NextPage,     cmd::PreviousPage,
                             cmd::PreviousPage, cmd::NextPage,     cmd::NextFile,
                             cmd::NextPage,     cmd::PreviousFile, cmd::PreviousPage,
                             cmd::LastFile,     cmd::PreviousPage, cmd::NextPage,
                             cmd::NextPage,     cmd::PreviousPage, cmd::PreviousFile};

} // namespace

TEST_F(ViewerTest, StepsShowTheSamePagesWhetherViewsLeftAreKeptOrDecodedAgain) {
    // Pages larger than the window are drawn from reduced forms (two-page
    // mode) or a scaled screen (normal mode), which views left keep too; one
    // page cannot be decoded.
    const platform::Size p{600, 800}, l{800, 600}, s{700, 700};
    const std::vector<platform::Size> sizes{p, l, p, p, s, P, l, p, p, L};
    auto walk = [&](int mode, int readAhead, int transform, bool keep) {
        start([&](ViewerState& state) {
            state.MODE = mode;
            state.sakiyomi = readAhead;
            state.modes[mode].TRANSFORM = transform;
            // Normal mode scales every page to the window's height.
            state.PICTUREMODE = kFitHeight;
            state.modesizech = 1;
        });
        if (!keep) v().keptPages.setBudget(0);
        const std::string book = writeBook(sizes);
        testing_support::writeFile(book + "08.bmp", "BM not a picture");
        EXPECT_TRUE(openPath(book));
        std::vector<Seen> seen;
        std::size_t mostKept = 0;
        for (int id : kWalk) {
            command(id);
            mostKept = std::max(mostKept, v().keptPages.count());
            const ViewLayout& layout = v().layout;
            Seen now{title(), boxes.size(), {bytesOf(v().document.main)}, {}, {}};
            if (layout.shownCount == 2) now.pictures.push_back(bytesOf(v().document.second));
            now.places = {layout.shownCount,       layout.displayWidth,
                          layout.displayHeight,    layout.secondDisplayWidth,
                          layout.secondDisplayHeight, layout.firstOrigin.x,
                          layout.secondOrigin.x,   layout.scrollX,
                          layout.scrollY};
            const ScreenBitmap& screen = v().screen;
            if (screen.bits)
                now.screen.assign(reinterpret_cast<const char*>(screen.bits),
                                  static_cast<std::size_t>(screen.stride()) *
                                      static_cast<std::size_t>(screen.height));
            seen.push_back(std::move(now));
        }
        EXPECT_EQ(mostKept > 0, keep);
        TearDown();
        SetUp();
        boxes.clear();
        return seen;
    };
    for (int mode : {kNormalMode, kTwoPageMode})
        for (int readAhead : {0, 1})
            for (int transform : {0, 1}) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << " read-ahead " << readAhead
                                                << " transform " << transform);
                const std::vector<Seen> decoded = walk(mode, readAhead, transform, false);
                const std::vector<Seen> kept = walk(mode, readAhead, transform, true);
                ASSERT_EQ(kept.size(), decoded.size());
                for (std::size_t step = 0; step < kept.size(); ++step) {
                    EXPECT_EQ(kept[step].title, decoded[step].title) << "step " << step;
                    EXPECT_TRUE(kept[step] == decoded[step]) << "step " << step;
                }
            }
}

TEST_F(ViewerTest, AStepBackShowsTheViewLeftWithoutDecodingUntilTheSettingsChange) {
    start([](ViewerState& s) { s.MODE = kTwoPageMode; });
    const std::string book = writeBook({P, P, P, P, P, P});
    ASSERT_TRUE(openPath(book));
    command(cmd::NextPage);
    // The pages left can no longer be decoded; the step back does not try.
    testing_support::writeFile(book + "01.bmp", "BM not a picture");
    testing_support::writeFile(book + "02.bmp", "BM not a picture");
    command(cmd::PreviousPage);
    EXPECT_EQ(shownPages(), (Pages{0, 1}));
    EXPECT_TRUE(boxes.empty());
    command(cmd::NextPage);
    // Pictures processed without the filter are not shown with it.
    command(cmd::FilterNegative);
    command(cmd::PreviousPage);
    EXPECT_EQ(boxes.size(), 1u);
    // A newly opened book starts with none.
    command(cmd::NextPage);
    ASSERT_TRUE(openPath(writeBook({P, P, P, P})));
    EXPECT_EQ(v().keptPages.count(), 0u);
}

TEST_F(ViewerTest, QueuedStepsLeaveTheLayoutAndPaintingToTheLastOfThem) {
    // Pages larger than the window: every painted spread is reduced.
    const platform::Size p{600, 800};
    openTwoPage({p, p, p, p, p, p, p, p, p, p, p, p});
    QWidget* picture = platform::detail::clientWidget(v().pictureWindow);
    int paints = 0;
    struct PaintCounter : QObject {
        int* paints;
        explicit PaintCounter(int* count) : paints(count) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++*paints;
            return false;
        }
    } counter(&paints);
    picture->installEventFilter(&counter);
    command(cmd::NextPage);
    const int oneStep = paints;
    ASSERT_GT(oneStep, 0);
    paints = 0;
    // A held key's repeats, arrived together: their commands queue.
    auto key = [&](Qt::Key which) {
        QKeyEvent event(QEvent::KeyPress, which, Qt::NoModifier);
        QApplication::sendEvent(platform::detail::frameWidget(v().mainWindow), &event);
    };
    for (int step = 0; step < 4; ++step)
        key(Qt::Key_Space);
    key(Qt::Key_Backspace);
    EXPECT_EQ(platform::queuedCommands(v().mainWindow),
              (std::vector<int>{cmd::NextPage, cmd::NextPage, cmd::NextPage, cmd::NextPage,
                                cmd::PreviousPage}));
    EXPECT_EQ(shownPages(), (Pages{2, 3}));
    ASSERT_TRUE(ui_test::waitFor([&] { return platform::queuedCommands(v().mainWindow).empty(); }));
    platform::processPendingMessages();
    picture->removeEventFilter(&counter);
    EXPECT_EQ(paints, oneStep);
    EXPECT_EQ(shownPages(), (Pages{8, 9}));
    EXPECT_EQ(title(), "10.bmp 09.bmp");
    const QImage queued = picture->grab().toImage();
    command(cmd::NextPage);
    command(cmd::PreviousPage);
    EXPECT_TRUE(picture->grab().toImage() == queued);
}

TEST_F(ViewerTest, PagesDecodedAheadOfOneBookAreNeverShownInTheNext) {
    openNormal({P, P, P, P, P}, [](ViewerState& s) { s.sakiyomi = 1; });
    command(cmd::NextPage);
    v().pagesAhead.waitUntilIdle();
    // The same names, pictures of another size.
    ASSERT_TRUE(openPath(writeBook({L, L, L, L, L})));
    for (int step = 0; step < 3; ++step) {
        command(cmd::NextPage);
        EXPECT_EQ(v().document.main.width, L.width) << "step " << step;
    }
}

TEST_F(ViewerTest, QueuedStepsEndWhereStepsOneByOneEndAndReportTheSameBrokenPages) {
    // Queued next-page steps take their pages from the other cores.
    auto run = [&](int mode, bool queued) {
        start([&](ViewerState& s) { s.MODE = mode; });
        const std::string book = writeBook({P, P, P, P, P, P, P, P, P, P});
        testing_support::writeFile(book + "04.bmp", "BM not a picture");
        EXPECT_TRUE(openPath(book));
        for (int step = 0; step < 6; ++step)
            if (queued)
                platform::postCommand(v().mainWindow, cmd::NextPage);
            else
                command(cmd::NextPage);
        EXPECT_TRUE(ui_test::waitFor([&] { return platform::queuedCommands(v().mainWindow).empty(); }));
        platform::processPendingMessages();
        const std::pair<std::string, std::size_t> seen{title(), boxes.size()};
        TearDown();
        SetUp();
        boxes.clear();
        return seen;
    };
    for (int mode : {kNormalMode, kTwoPageMode}) {
        const auto oneByOne = run(mode, false);
        EXPECT_EQ(run(mode, true), oneByOne) << "mode " << mode;
        EXPECT_GE(oneByOne.second, 1u) << "mode " << mode;
    }
}
