// dialog_fixture.h - the window layer's tests with the viewer's dialog
// templates registered, for the tests of the subsystems' dialogs.
#pragma once

#include "platform/ui_fixture.h"

namespace ui_test {

class DialogTest : public UiTest {
protected:
    static void SetUpTestSuite();
};

} // namespace ui_test
