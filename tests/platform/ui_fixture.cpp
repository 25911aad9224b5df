#include "platform/ui_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBrowser>
#include <chrono>
#include <thread>

#include "platform/application.h"

namespace ui_test {
namespace {

Reaction& reaction() {
    static Reaction installed;
    return installed;
}

// The application ends before the process does, with every window left.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override { platform::stopApplication(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void startTestApplication() {
    static char name[] = "voxa_ui_test";
    static char* argv[] = {name, nullptr};
    if (!platform::hasApplication()) platform::startApplication(1, argv);
}

std::vector<Message>& messages() {
    static std::vector<Message> record;
    return record;
}

std::vector<Message> messagesOf(platform::WindowId window, platform::MessageKind kind) {
    std::vector<Message> out;
    for (const Message& message : messages())
        if (message.window == window && message.kind == kind) out.push_back(message);
    return out;
}

void setReaction(Reaction replacement) {
    reaction() = std::move(replacement);
}

int recordingProcedure(platform::WindowId window, platform::MessageKind kind,
                       const platform::MessageParams& params) {
    Message message{window, kind, params};
    message.params.paint = nullptr;
    messages().push_back(message);
    if (reaction()) return reaction()(window, kind, params);
    // Unhandled close destroys, an unhandled wheel goes to the parent.
    return kind == platform::MessageKind::Close || kind == platform::MessageKind::Wheel ? 0 : 1;
}

void registerRecorders() {
    platform::WindowClass recorder;
    recorder.name = "Recorder";
    recorder.procedure = recordingProcedure;
    recorder.background = {0, 0, 0};
    recorder.doubleClicks = true;
    platform::registerWindowClass(recorder);
    recorder.name = "PlainRecorder";
    recorder.doubleClicks = false;
    recorder.background = {255, 255, 255};
    platform::registerWindowClass(recorder);
}

std::vector<QTextBrowser*> shownHtmlWindows() {
    std::vector<QTextBrowser*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* browser = qobject_cast<QTextBrowser*>(widget); browser && browser->isVisible())
            shown.push_back(browser);
    return shown;
}

bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 10000) return false;
        platform::processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

DialogAnswerer::DialogAnswerer(std::function<void(platform::DialogId)> act) {
    previous_ = platform::setModalAnswerer(
        [this, act = std::move(act)](const platform::ModalRequest& request) {
            asked.push_back(request);
            if (request.kind == platform::ModalKind::Dialog && act) act(request.dialog);
            return platform::ModalAnswer{platform::DialogResult::Ok, {}, 0};
        });
}

DialogAnswerer::~DialogAnswerer() {
    platform::setModalAnswerer(previous_);
}

void UiTest::SetUpTestSuite() {
    startTestApplication();
    registerRecorders();
}

void UiTest::SetUp() {
    messages().clear();
    setReaction(nullptr);
}

void UiTest::TearDown() {
    setReaction(nullptr);
    for (platform::WindowId window : made_)
        platform::destroyWindow(window);
    platform::processPendingMessages();
    messages().clear();
}

platform::WindowId UiTest::topLevel(platform::Rect rect, bool visible,
                                    const std::string& className) {
    platform::WindowCreation creation;
    creation.className = className;
    creation.title = "test";
    creation.rect = rect;
    creation.visible = visible;
    platform::WindowId window = platform::createWindow(creation);
    made_.push_back(window);
    return window;
}

platform::WindowId UiTest::child(platform::WindowId parent, platform::Rect rect,
                                 const std::string& className) {
    platform::WindowCreation creation;
    creation.className = className;
    creation.rect = rect;
    creation.parent = parent;
    creation.visible = true;
    return platform::createWindow(creation);
}

} // namespace ui_test
