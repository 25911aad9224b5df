#include "resources/dialog_fixture.h"

#include "platform/dialog.h"
#include "resources/dialogs.h"

namespace ui_test {

void DialogTest::SetUpTestSuite() {
    UiTest::SetUpTestSuite();
    platform::registerDialogTemplates(resources::dialogTemplates());
}

} // namespace ui_test
