// The built voxa on the sample book under a real X server (its own Xvfb), driven by
// xdotool key presses; each step is checked by the window title and by the
// pixels of a screenshot. The test copies voxa and the plug-ins into a fresh
// folder, so the settings file it writes stays there; the Installed tests run
// an installed or unpacked voxa that the scripts of tests/desktop name.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "catalog/list_file.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"
#ifdef VOXA_HAVE_TIFF_BOOK
#include "sample_book/tiff_encoder.h"
#endif
#ifdef VOXA_HAVE_PDF_BOOK
#include "sample_book/pdf_writer.h"
#endif

namespace fs = std::filesystem;

namespace {

// What a shell command printed, without the final newline.
std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            text += buffer;
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Geometry& g) {
    return out << g.x << "," << g.y << " " << g.width << "x" << g.height;
}

// Waits until `done` holds, asking every 50 ms at most `tries` times (a
// generous 30 s by default).
bool waitUntil(const std::function<bool()>& done, int tries = 600) {
    for (int i = 0; i < tries; ++i, QThread::msleep(50))
        if (done()) return true;
    return false;
}

class VoxaProcess {
public:
    // `environment` holds NAME=value texts set for voxa alone.
    VoxaProcess(const std::string& executable, const std::vector<std::string>& args,
                const std::vector<std::string>& environment = {}) {
        pid_ = fork();
        if (pid_ != 0) return;
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        for (const std::string& variable : environment) {
            const std::size_t equals = variable.find('=');
            setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
        }
        // Under the sanitizers, no leak check at voxa's exit: the leak checker's
        // stop of every thread was seen to crash there on this machine, and
        // the desktop's libraries that Qt's X11 platform loads leak anyway.
        // The offscreen viewer tests check the same code for leaks.
        std::string asan = getenv("ASAN_OPTIONS") ? getenv("ASAN_OPTIONS") : "";
        asan += asan.empty() ? "detect_leaks=0" : ":detect_leaks=0";
        setenv("ASAN_OPTIONS", asan.c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(executable.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    ~VoxaProcess() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    // The exit code, or -1 when it has not ended within the bound.
    int waitForExit() {
        for (int i = 0; i < 600; ++i) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            QThread::msleep(50);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    bool exited_ = false;
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path bin = VOXA_BIN_DIR;
        for (const auto& entry : fs::directory_iterator(bin)) {
            const std::string name = entry.path().filename().string();
            if (name == "voxa" || entry.path().extension() == ".spi")
                fs::copy_file(entry.path(), fs::path(temp.path()) / name);
        }
        executable = temp / "voxa";
    }

    // Waits (with a generous bound) for the main window of `process`.
    std::string findWindow(const VoxaProcess& process) {
        for (int i = 0; i < 600; ++i) {
            std::string ids =
                output("xdotool search --onlyvisible --pid " + std::to_string(process.pid()));
            if (!ids.empty()) return ids.substr(0, ids.find('\n'));
            QThread::msleep(50);
        }
        return {};
    }

    // The shown windows of `process`, its native child windows among them.
    static std::vector<std::string> shownWindows(const VoxaProcess& process) {
        std::vector<std::string> ids;
        std::istringstream in(
            output("xdotool search --onlyvisible --pid " + std::to_string(process.pid())));
        for (std::string id; std::getline(in, id);)
            ids.push_back(id);
        return ids;
    }

    // Opens the help menu by its mnemonic (Alt+H) and returns the menu's
    // window, or nothing when none appeared. Mnemonics need the main window
    // to hold the focus, which without a window manager nobody gives it.
    std::string openHelpMenu(const VoxaProcess& process) {
        const std::vector<std::string> before = shownWindows(process);
        output("xdotool windowfocus --sync " + window);
        output("xdotool key alt+h");
        std::string menu;
        waitUntil([&] {
            for (const std::string& id : shownWindows(process))
                if (std::find(before.begin(), before.end(), id) == before.end()) menu = id;
            return !menu.empty();
        });
        return menu;
    }

    std::string title() { return output("xdotool getwindowname " + window); }

    // Waits until the title reads `expected`; returns the last title seen.
    std::string waitForTitle(const std::string& expected) {
        std::string seen;
        for (int i = 0; i < 600; ++i) {
            seen = title();
            if (seen == expected) break;
            QThread::msleep(50);
        }
        return seen;
    }

    void press(const std::string& key) { output("xdotool key --window " + window + " " + key); }

    // Starts voxa with `arguments`, expects the title `first`, presses `key`,
    // expects `then`, and quits.
    void opensThenSteps(const std::vector<std::string>& arguments, const std::string& first,
                        const std::string& key, const std::string& then) {
        VoxaProcess voxa(executable, arguments);
        window = findWindow(voxa);
        ASSERT_FALSE(window.empty());
        EXPECT_EQ(waitForTitle(first), first);
        press(key);
        EXPECT_EQ(waitForTitle(then), then);
        press("q");
        EXPECT_EQ(voxa.waitForExit(), 0);
    }

    // The client area of window `of` on the screen (xwininfo: xdotool
    // reports the position of a window in a manager's frame off by the frame).
    Geometry geometry() { return geometry(window); }
    Geometry geometry(const std::string& of) {
        Geometry g;
        const std::string text = output("xwininfo -id " + of);
        auto read = [&](const char* label, int& value) {
            const std::size_t at = text.find(label);
            if (at != std::string::npos) value = std::atoi(text.c_str() + at + std::strlen(label));
        };
        read("Absolute upper-left X:", g.x);
        read("Absolute upper-left Y:", g.y);
        read("Width:", g.width);
        read("Height:", g.height);
        return g;
    }

    QImage shot() { return shot(window); }
    QImage shot(const std::string& of) {
        const Geometry g = geometry(of);
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, g.x, g.y, g.width, g.height)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The window's pixels once three screenshots in a row agree (painting done).
    QImage settledShot() { return settledShot(window); }
    QImage settledShot(const std::string& of) {
        QImage last;
        int same = 0;
        for (int i = 0; i < 300 && same < 2; ++i) {
            QImage next = shot(of);
            same = !last.isNull() && next == last ? same + 1 : 0;
            last = next;
            QThread::msleep(100);
        }
        return last;
    }

    // Waits (with a generous bound) for a screenshot that `wanted` accepts.
    bool waitForShot(const std::function<bool(const QImage&)>& wanted) {
        for (int i = 0; i < 300; ++i, QThread::msleep(100))
            if (wanted(shot())) return true;
        return false;
    }

    static bool isBlack(QRgb pixel) { return (pixel & 0xffffff) == 0; }

    // Close to `colour` in every channel, as a flat page survives JPEG.
    static bool near(QRgb pixel, QRgb colour) {
        return std::abs(qRed(pixel) - qRed(colour)) < 40 && std::abs(qGreen(pixel) - qGreen(colour)) < 40 &&
               std::abs(qBlue(pixel) - qBlue(colour)) < 40;
    }

    // Opens `book` in normal mode and steps through its pages with the space
    // key: each title names the page (a zoom step may follow it) and the
    // middle of the window shows the page's colour.
    void stepsThroughBook(const std::string& book, const std::vector<std::string>& names,
                          const std::vector<QRgb>& colours) {
        VoxaProcess voxa(executable, {"/mode1", book});
        window = findWindow(voxa);
        ASSERT_FALSE(window.empty());
        for (size_t i = 0; i < names.size(); ++i) {
            if (i > 0) press("space");
            std::string seen;
            EXPECT_TRUE(waitUntil([&] {
                seen = title();
                return seen == names[i] || seen.rfind(names[i] + " x", 0) == 0;
            })) << seen;
            EXPECT_TRUE(waitForShot([&](const QImage& image) {
                return near(image.pixel(image.width() / 2, image.height() / 2), colours[i]);
            })) << names[i];
        }
        press("q");
        EXPECT_EQ(voxa.waitForExit(), 0);
    }

    // A visible window of `process` titled `name`, empty for none.
    std::string windowNamed(const VoxaProcess& process, const std::string& name) {
        for (const std::string& id : shownWindows(process))
            if (output("xdotool getwindowname " + id) == name) return id;
        return {};
    }

    // Waits (with a generous bound) for that window.
    std::string findWindowNamed(const VoxaProcess& process, const std::string& name) {
        std::string found;
        waitUntil([&] { return !(found = windowNamed(process, name)).empty(); });
        return found;
    }

    // From the viewer's window: L shows the catalog and Tab gives its list
    // the keyboard. The catalog's window, empty when it did not show.
    std::string catalogWithKeyboard(const VoxaProcess& process) {
        press("l");
        const std::string catalog = findWindowNamed(process, "リスト");
        if (catalog.empty()) return {};
        press("Tab");
        waitForFocus(catalog);
        return catalog;
    }

    // Waits (with a generous bound) until the window has the keyboard: keys
    // sent to a dialog before the window system gave it the focus were seen
    // to get lost on a slow machine.
    void waitForFocus(const std::string& id) {
        waitUntil([&] { return output("xdotool getwindowfocus") == id; });
    }

    // Types `text` into the file dialog and presses Return until a window
    // titled `then` shows. A dialog that has just appeared may lose the first
    // keys (seen under the sanitizers on a busy machine), so what it holds is
    // replaced and typed again. `text` names a file in the folder the dialog
    // shows (the executable's): a "/" typed there sends the dialog to another
    // folder while the keys after it are still coming.
    bool typeIntoDialog(const VoxaProcess& process, const std::string& dialog, const std::string& text,
                        const std::string& then) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            output("xdotool key --window " + dialog + " ctrl+a");
            output("xdotool type --window " + dialog + " '" + text + "'");
            output("xdotool key --window " + dialog + " Return");
            if (waitUntil([&] { return !windowNamed(process, then).empty(); }, 60)) return true;
        }
        return false;
    }

    // The geometry once two readings a moment apart agree.
    Geometry settledGeometry() {
        Geometry last = geometry();
        for (int i = 0; i < 100; ++i) {
            QThread::msleep(100);
            const Geometry next = geometry();
            if (next == last) break;
            last = next;
        }
        return last;
    }

    testing_support::TempFolder temp;
    std::string executable;
    std::string window;
};

} // namespace

TEST_F(EndToEnd, PagingModesAndFullScreenOnTheSampleBook) {
    VoxaProcess voxa(executable, {"/mode2", VOXA_SAMPLE_BOOK});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty()) << "voxa showed no window";
    ASSERT_EQ(waitForTitle("02.png 01.jpg"), "02.png 01.jpg");
    const QImage first = settledShot();
    ASSERT_FALSE(first.isNull());
    // Both pages of the spread are drawn, one on each side of the centre line.
    const int middle = first.height() / 2;
    EXPECT_FALSE(isBlack(first.pixel(first.width() / 4, middle)));
    EXPECT_FALSE(isBlack(first.pixel(first.width() * 3 / 4, middle)));

    press("Down"); // next page
    EXPECT_EQ(waitForTitle("04.webp 03.gif"), "04.webp 03.gif");
    EXPECT_TRUE(waitForShot([&](const QImage& image) { return image != first; }));

    press("Left"); // next file: one picture on
    EXPECT_EQ(waitForTitle("05.bmp 04.webp"), "05.bmp 04.webp");

    press("End");
    EXPECT_EQ(waitForTitle("12.png 11.bmp"), "12.png 11.bmp");

    press("Home");
    EXPECT_EQ(waitForTitle("02.png 01.jpg"), "02.png 01.jpg");
    // The same spread, pixel for pixel.
    EXPECT_TRUE(waitForShot([&](const QImage& image) { return image == first; }));

    const Geometry twoPage = geometry();
    press("m"); // normal mode keeps the spread's second page
    EXPECT_EQ(waitForTitle("02.png"), "02.png");
    const QImage normal = settledShot();
    EXPECT_NE(geometry().width, twoPage.width); // the window follows the picture
    EXPECT_FALSE(isBlack(normal.pixel(normal.width() / 2, normal.height() / 2)));

    press("Return"); // full screen
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Geometry full;
    for (int i = 0; i < 600 && full.width != screen.width(); ++i, QThread::msleep(50))
        full = geometry();
    EXPECT_EQ(full.width, screen.width());
    EXPECT_EQ(full.height, screen.height());
    const QImage fullShot = settledShot();
    EXPECT_FALSE(isBlack(fullShot.pixel(fullShot.width() / 2, fullShot.height() / 2)));

    press("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
    EXPECT_TRUE(fs::exists(temp / "Voxa.ini"));
}

TEST_F(EndToEnd, TheMenuBarShowsItsTitles) {
    VoxaProcess voxa(executable, {});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(waitForTitle("Voxa"), "Voxa");
    const QImage image = settledShot();
    // The menu bar is the strip at the top of the window. Its titles stand
    // out from its ground: many pixels far from the most common colour.
    std::map<QRgb, int> counts;
    for (int y = 2; y < 16; ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y) & 0xffffff];
    QRgb ground = 0;
    for (const auto& [colour, count] : counts)
        if (count > counts[ground]) ground = colour;
    EXPECT_FALSE(isBlack(ground)) << "the menu bar takes the window's black";
    int text = 0;
    for (int y = 2; y < 16; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (std::abs(qGray(image.pixel(x, y)) - qGray(ground)) > 96) ++text;
    EXPECT_GT(text, 100) << "no titles drawn on the menu bar";
    press("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
}

TEST_F(EndToEnd, TheToolkitsOwnOptionsLeaveTheViewersToIt) {
    // "-style fusion" takes a value; both are the toolkit's, not paths.
    opensThenSteps({"-style", "fusion", "-reverse", "/mode2", VOXA_SAMPLE_BOOK ".cbz"},
                   "02.png 01.jpg", "End", "12.png 11.bmp");
}

TEST_F(EndToEnd, OpensTheSampleArchive) {
    opensThenSteps({"/mode2", VOXA_SAMPLE_BOOK ".cbz"}, "02.png 01.jpg", "End", "12.png 11.bmp");
}

TEST_F(EndToEnd, OpensAPictureInItsFolder) {
    // The landscape page alone in normal mode, then the page after it.
    opensThenSteps({"/mode1", VOXA_SAMPLE_BOOK "/06.jpg"}, "06.jpg", "space", "07.png");
}

TEST_F(EndToEnd, TheCatalogOpensAListAndItsRowInTheViewer) {
    CatalogList list;
    resetCatalog(list);
    appendRow(list, kIconFolder, {"book", VOXA_SAMPLE_BOOK});
    const std::string listPath = temp / "shelf.vxl";
    ASSERT_EQ(writeListFile(list, listPath), 1);

    VoxaProcess voxa(executable, {"/mode2"});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(waitForTitle("Voxa"), "Voxa");
    const std::string catalog = catalogWithKeyboard(voxa);
    ASSERT_FALSE(catalog.empty()) << "L showed no window titled リスト";

    output("xdotool key --window " + catalog + " ctrl+o");
    const std::string dialog = findWindowNamed(voxa, "リストを開く");
    ASSERT_FALSE(dialog.empty());
    waitForFocus(dialog);
    ASSERT_TRUE(typeIntoDialog(voxa, dialog, "shelf.vxl", listPath)) << "the catalog did not take the list";

    press("shift+space"); // the first row, with none selected
    EXPECT_EQ(waitForTitle("02.png 01.jpg"), "02.png 01.jpg");
    press("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
}

TEST_F(EndToEnd, CtrlFInTheCatalogOpensTheFindDialog) {
    VoxaProcess voxa(executable, {"/mode2"});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(waitForTitle("Voxa"), "Voxa");
    const std::string catalog = catalogWithKeyboard(voxa);
    ASSERT_FALSE(catalog.empty());
    output("xdotool key --window " + catalog + " ctrl+f");
    const std::string dialog = findWindowNamed(voxa, "検索");
    ASSERT_FALSE(dialog.empty()) << "Ctrl+F showed no window titled 検索";
    // It takes the keyboard; the viewer goes with the test.
    EXPECT_TRUE(waitUntil([&] { return output("xdotool getwindowfocus") == dialog; }));
}

TEST_F(EndToEnd, PChoosesAPageAndAShowsThePictureInformation) {
    VoxaProcess voxa(executable, {"/mode1", VOXA_SAMPLE_BOOK});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(waitForTitle("01.jpg"), "01.jpg");
    press("p");
    const std::string pageDialog = findWindowNamed(voxa, "ページ指定");
    ASSERT_FALSE(pageDialog.empty()) << "no page-number dialog";
    waitForFocus(pageDialog);
    // The number typed over the starting page, then OK.
    output("xdotool key --window " + pageDialog + " 5 Return");
    EXPECT_EQ(waitForTitle("06.jpg"), "06.jpg");
    EXPECT_TRUE(waitUntil([&] { return windowNamed(voxa, "ページ指定").empty(); }));

    press("a");
    const std::string infoDialog = findWindowNamed(voxa, "画像情報");
    ASSERT_FALSE(infoDialog.empty()) << "no picture information";
    waitForFocus(infoDialog);
    output("xdotool key --window " + infoDialog + " Return");
    EXPECT_TRUE(waitUntil([&] { return windowNamed(voxa, "画像情報").empty(); }));
    press("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
}

TEST_F(EndToEnd, ZAddsTheOpenFolderSoQAsksToSaveTheList) {
    VoxaProcess voxa(executable, {"/mode2", VOXA_SAMPLE_BOOK});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_EQ(waitForTitle("02.png 01.jpg"), "02.png 01.jpg");
    press("z"); // the open folder becomes a row of the catalog, which is now changed
    press("q");
    const std::string box = findWindowNamed(voxa, "確認");
    ASSERT_FALSE(box.empty()) << "Q did not ask to save the changed list";
    output("xdotool key --window " + box + " Escape"); // No
    EXPECT_EQ(voxa.waitForExit(), 0);
}

namespace {

// The text pixels of a picture of a menu. Each row's commonest grey is its
// background (the items' and the highlighted one's differ); ink is what
// stands out from it, the menu's frame aside.
class MenuInk {
public:
    explicit MenuInk(const QImage& menu) : width_(menu.width()), height_(menu.height()) {
        ink_.resize(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y) {
            int counts[256] = {};
            for (int x = 0; x < width_; ++x)
                ++counts[qGray(menu.pixel(x, y))];
            const int background = int(std::max_element(counts, counts + 256) - counts);
            for (int x = kFrame; x < width_ - kFrame; ++x)
                ink_[index(x, y)] = std::abs(qGray(menu.pixel(x, y)) - background) > 40;
        }
    }
    int width() const { return width_; }
    int height() const { return height_; }
    bool at(int x, int y) const { return ink_[index(x, y)]; }
    bool anyInRow(int y) const {
        for (int x = 0; x < width_; ++x)
            if (at(x, y)) return true;
        return false;
    }
    // Column x is inked on every row from top to bottom.
    bool solid(int x, int top, int bottom) const {
        for (int y = top; y <= bottom; ++y)
            if (!at(x, y)) return false;
        return true;
    }
    // Column x is inked on rows top and bottom and on none between.
    bool hollow(int x, int top, int bottom) const {
        if (!at(x, top) || !at(x, bottom)) return false;
        for (int y = top + 1; y < bottom; ++y)
            if (at(x, y)) return false;
        return true;
    }

private:
    static constexpr int kFrame = 2;
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    int width_, height_;
    std::vector<bool> ink_;
};

// Empty boxes on the text rows top..bottom, the way a character is drawn
// when no font has it: a column inked from r0 to r1 (eight rows at least, so
// no ring and no lower-case letter), columns inked on r0 and r1 alone, and a
// second solid column. Boxes side by side may share an edge.
int boxesOnLine(const MenuInk& ink, int top, int bottom) {
    int boxes = 0;
    for (int x = 0; x < ink.width(); ++x) {
        for (int r0 = top; r0 <= bottom; ++r0) {
            int r1 = r0;
            while (r1 < bottom && ink.at(x, r1 + 1))
                ++r1;
            if (!ink.at(x, r0) || r1 - r0 < 7) continue;
            int right = x + 1;
            while (right < ink.width() && ink.hollow(right, r0, r1))
                ++right;
            if (right > x + 1 && right < ink.width() && ink.solid(right, r0, r1)) {
                ++boxes;
                x = right - 1; // the next box may start on this one's right edge
                break;
            }
            r0 = r1;
        }
    }
    return boxes;
}

struct MenuText {
    int lines = 0; // runs of rows with ink
    int boxes = 0;
};

MenuText readMenuText(const QImage& menu) {
    const MenuInk ink(menu);
    MenuText text;
    for (int y = 0; y < ink.height();) {
        if (!ink.anyInRow(y)) {
            ++y;
            continue;
        }
        const int top = y;
        while (y < ink.height() && ink.anyInRow(y))
            ++y;
        ++text.lines;
        text.boxes += boxesOnLine(ink, top, y - 1);
    }
    return text;
}

} // namespace

// The help menu's three items, "ヘルプ(H)", "Susie plug-in情報(S)" and
// "バージョン情報(A)...", read from the screen.
TEST_F(EndToEnd, MenuTextsAreDrawnInJapaneseGlyphs) {
    auto helpMenuText = [&](const std::vector<std::string>& environment) {
        VoxaProcess voxa(executable, {}, environment);
        window = findWindow(voxa);
        EXPECT_FALSE(window.empty());
        const std::string menu = openHelpMenu(voxa);
        EXPECT_FALSE(menu.empty()) << "the help menu did not open";
        return menu.empty() ? MenuText{} : readMenuText(settledShot(menu));
    }; // voxa ends here, killed: what it saves is of no interest
    // The check tells boxes from glyphs: fonts without Japanese draw the
    // twelve kana and kanji as boxes.
    std::string fonts = "<?xml version=\"1.0\"?>\n<fontconfig>\n";
    fonts += "<dir>/usr/share/fonts/truetype/dejavu</dir>\n";
    fonts += "<cachedir>" + temp / "fontcache" + "</cachedir>\n</fontconfig>\n";
    testing_support::writeFile(temp / "fonts.conf", fonts);
    const MenuText withoutJapanese = helpMenuText({"FONTCONFIG_FILE=" + temp / "fonts.conf"});
    EXPECT_GE(withoutJapanese.lines, 3);
    EXPECT_GE(withoutJapanese.boxes, 10);

    const MenuText shown = helpMenuText({});
    EXPECT_GE(shown.lines, 3);
    EXPECT_EQ(shown.boxes, 0);
}

// An installed voxa, started through its bin/voxa link: scripts under
// tests/desktop install or unpack the package into a temporary prefix and
// name the link in VOXA_INSTALLED.
class Installed : public EndToEnd {
protected:
    void SetUp() override {
        const char* link = std::getenv("VOXA_INSTALLED");
        if (!link) GTEST_SKIP() << "VOXA_INSTALLED names no installed voxa";
        executable = link;
        programFolder = fs::canonical(executable).parent_path();
    }

    // Waits until the file at `path` holds `expected`; returns what it last held.
    std::string waitForFileText(const std::string& path, const std::string& expected) {
        std::string seen;
        waitUntil([&] { return (seen = platform::readFile(path).value_or("")) == expected; });
        return seen;
    }

    fs::path programFolder;
};

TEST_F(Installed, FindsItsPluginsAndHelpPageAndKeepsSettingsInTheUsersFolder) {
    // The desktop's program for the help page is a stand-in that notes what
    // it was asked to open.
    testing_support::writeFile(temp / "tools/xdg-open",
                               "#!/bin/sh\nprintf '%s' \"$1\" > '" + temp / "opened" + "'\n");
    fs::permissions(temp / "tools/xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    // As the launcher starts it ("voxa %f"): a first start in normal mode.
    VoxaProcess voxa(executable, {VOXA_SAMPLE_BOOK},
                     {"PATH=" + temp / "tools:" + path, "XDG_CONFIG_HOME=" + temp / "config"});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    // The page is read by the plug-in beside the link's target.
    EXPECT_EQ(waitForTitle("01.jpg"), "01.jpg");

    // ヘルプ(H) > ヘルプ(H)
    ASSERT_FALSE(openHelpMenu(voxa).empty()) << "the help menu did not open";
    output("xdotool key h");
    const std::string page =
        "file://" +
        fs::weakly_canonical(programFolder / "../../share/voxa/voxa_help.html").string();
    EXPECT_EQ(waitForFileText(temp / "opened", page), page);

    press("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
    EXPECT_TRUE(fs::exists(temp / "config/voxa/Voxa.ini"));
    EXPECT_FALSE(fs::exists(programFolder / "Voxa.ini"));
}

// Under a window manager (openbox, started by main for these tests): frames,
// focus and placement are the manager's.
class WindowManager : public EndToEnd {
protected:
    // A key to the window the manager has given the focus.
    void pressFocused(const std::string& key) {
        output("xdotool windowactivate --sync " + window + " key " + key);
    }

    struct Extents {
        int left = -1, right = -1, top = -1, bottom = -1;
    };
    // The frame the manager draws around the window.
    Extents extents() {
        Extents e;
        const std::string text = output("xprop -id " + window + " _NET_FRAME_EXTENTS");
        const std::size_t at = text.find('=');
        if (at != std::string::npos)
            std::sscanf(text.c_str() + at + 1, " %d, %d, %d, %d", &e.left, &e.right, &e.top,
                        &e.bottom);
        return e;
    }

    // The window with its frame.
    Geometry outer() {
        const Geometry g = geometry();
        const Extents e = extents();
        return {g.x - e.left, g.y - e.top, g.width + e.left + e.right,
                g.height + e.top + e.bottom};
    }

    bool fullScreen() {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        const Geometry g = geometry();
        return g.width == screen.width() && g.height == screen.height();
    }
};

TEST_F(WindowManager, FullScreenAndTheCaptionToggleGiveTheWindowBack) {
    VoxaProcess voxa(executable, {});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(waitUntil([&] { return extents().top > 0; })) << "no frame from the manager";
    const Geometry start = settledGeometry();
    for (int i = 0; i < 3; ++i) {
        pressFocused("Return");
        ASSERT_TRUE(waitUntil([&] { return fullScreen(); })) << "round " << i;
        pressFocused("Return");
        waitUntil([&] { return geometry() == start; });
        EXPECT_EQ(settledGeometry(), start) << "round " << i;
    }
    const Geometry framed = outer();
    pressFocused("alt+c");
    EXPECT_TRUE(waitUntil([&] { return extents().top == 0; })) << "the title bar stayed";
    waitUntil([&] { return outer() == framed; });
    settledGeometry();
    EXPECT_EQ(outer(), framed); // re-framed at the same rectangle
    pressFocused("alt+c");
    EXPECT_TRUE(waitUntil([&] { return extents().top > 0; }));
    waitUntil([&] { return geometry() == start; });
    EXPECT_EQ(settledGeometry(), start);
    pressFocused("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
}

TEST_F(WindowManager, TheErrorBoxOpensOverTheMainWindow) {
    VoxaProcess voxa(executable, {(temp / "missing.bmp")});
    window = findWindow(voxa);
    ASSERT_FALSE(window.empty());
    const std::string box = findWindowNamed(voxa, "エラーっす");
    ASSERT_FALSE(box.empty()) << "no error box";
    window = findWindowNamed(voxa, "Voxa");
    ASSERT_FALSE(window.empty());
    const Geometry main = outer();
    const std::string mainWindow = window;
    window = box;
    const Geometry boxGeometry = settledGeometry();
    const int cx = boxGeometry.x + boxGeometry.width / 2;
    const int cy = boxGeometry.y + boxGeometry.height / 2;
    EXPECT_TRUE(cx >= main.x && cx < main.x + main.width && cy >= main.y &&
                cy < main.y + main.height)
        << "box " << boxGeometry << ", main window " << main;
    pressFocused("Return"); // OK
    window = mainWindow;
    ASSERT_TRUE(waitUntil([&] { return windowNamed(voxa, "エラーっす").empty(); }));
    pressFocused("q");
    EXPECT_EQ(voxa.waitForExit(), 0);
}

#ifdef VOXA_HAVE_TIFF_BOOK
TEST_F(EndToEnd, StepsThroughTheThreePagesOfATiff) {
    std::vector<encoders::TiffPage> pages(3);
    const std::uint8_t colours[3][3] = {{220, 30, 30}, {30, 200, 30}, {30, 30, 220}};
    for (int i = 0; i < 3; ++i) {
        pages[size_t(i)].picture = {240, 320, 3, {}};
        for (int p = 0; p < 240 * 320; ++p)
            pages[size_t(i)].picture.pixels.insert(pages[size_t(i)].picture.pixels.end(), colours[i], colours[i] + 3);
        pages[size_t(i)].compression = 5; // LZW
    }
    const std::string book = temp / "scans.tif";
    testing_support::writeFile(book, encoders::encodeTiff(pages));
    stepsThroughBook(book, {"0001.bmp", "0002.bmp", "0003.bmp"},
                     {qRgb(220, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 220)});
}
#endif

#ifdef VOXA_HAVE_PDF_BOOK
TEST_F(EndToEnd, StepsThroughTheThreePagesOfAPdf) {
    auto scanned = [](std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        encoders::Picture picture{124, 175, 3, {}};
        for (int p = 0; p < 124 * 175; ++p) picture.pixels.insert(picture.pixels.end(), {r, g, b});
        encoders::PdfPage page;
        page.jpeg = encoders::encodeJpeg(picture, 90);
        return page;
    };
    encoders::PdfPage drawn;
    drawn.contents = "0.1 0.8 0.1 rg 0 0 595 842 re f";
    const std::string book = temp / "book.pdf";
    testing_support::writeFile(book, encoders::writePdf({scanned(220, 30, 30), drawn, scanned(30, 30, 220)}));
    stepsThroughBook(book, {"0001.jpg", "0002.bmp", "0003.jpg"},
                     {qRgb(220, 30, 30), qRgb(26, 204, 26), qRgb(30, 30, 220)});
}
#endif

// A display of our own: Xvfb picks a free display number itself and tells
// it through a pipe, so runs side by side never share one. ctest runs each
// test in a process of its own (see CMakeLists.txt), so each voxa meets a
// fresh server: a voxa started on a server where another one has just quit
// was seen to misread the first key xdotool sent it (a 'q' for a space).
class XServer {
public:
    XServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// openbox on that display, for the tests of the WindowManager suite.
class Openbox {
public:
    Openbox() {
        pid_ = fork();
        if (pid_ == 0) {
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        // Running once it has named itself on the root window.
        running_ = waitUntil([] {
            return output("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") !=
                   std::string::npos;
        });
    }
    ~Openbox() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool running() const { return running_; }

private:
    pid_t pid_ = -1;
    bool running_ = false;
};

int main(int argc, char** argv) {
    XServer server;
    if (server.display().empty()) {
        std::fprintf(stderr, "end-to-end: Xvfb did not start\n");
        return 1;
    }
    setenv("DISPLAY", server.display().c_str(), 1);
    // "--window-manager": the tests run under openbox.
    std::unique_ptr<Openbox> manager;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--window-manager") manager = std::make_unique<Openbox>();
    if (manager && !manager->running()) {
        std::fprintf(stderr, "end-to-end: openbox did not start\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int code = 0;
    {
        QGuiApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        code = RUN_ALL_TESTS();
    }
    return code;
}
