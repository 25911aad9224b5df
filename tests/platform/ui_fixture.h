// ui_fixture.h - the application and a recording window procedure for the
// tests of the window layer, which run on Qt's offscreen platform.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/modal.h"
#include "platform/window.h"

class QTextBrowser;

namespace ui_test {

struct Message {
    platform::WindowId window = 0;
    platform::MessageKind kind = platform::MessageKind::Create;
    platform::MessageParams params;
};

// Starts the application once; it is stopped after the last test.
void startTestApplication();

// Every message any window of the recording classes got, in order.
std::vector<Message>& messages();
std::vector<Message> messagesOf(platform::WindowId window, platform::MessageKind kind);

// Called for each recorded message; its result is the procedure's answer
// (without one: 1, except for Close and Wheel, which go to the default handling).
using Reaction =
    std::function<int(platform::WindowId, platform::MessageKind, const platform::MessageParams&)>;
void setReaction(Reaction reaction);

int recordingProcedure(platform::WindowId window, platform::MessageKind kind,
                       const platform::MessageParams& params);

// Registers "Recorder" (double clicks on) and "PlainRecorder" (off).
void registerRecorders();

// The visible HTML windows of the layer (html_window.h).
std::vector<QTextBrowser*> shownHtmlWindows();

// Handles pending events until `done` holds; false when it never did
// within a generous bound (a hang guard, not a measure of speed).
bool waitFor(const std::function<bool()>& done);

// While it lives, every modal request is recorded and answered with OK; a
// template dialog is handed live to `act`, which acts on it through
// platform/dialog_seam.h before the layer ends what it leaves open.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::function<void(platform::DialogId)> act = {});
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    std::vector<platform::ModalRequest> asked;

private:
    platform::ModalAnswerer previous_;
};

// Starts the application once, clears the record, and destroys the windows
// a test made.
class UiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    platform::WindowId topLevel(platform::Rect rect, bool visible = true,
                                const std::string& className = "Recorder");
    platform::WindowId child(platform::WindowId parent, platform::Rect rect,
                             const std::string& className = "Recorder");

private:
    std::vector<platform::WindowId> made_;
};

} // namespace ui_test
