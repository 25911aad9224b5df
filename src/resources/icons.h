// icons.h - the icons of the viewer's windows.
#pragma once

#include "platform/window.h"

namespace resources {

// "1VOXA": 32 x 32 and its small form 16 x 16, for the main window's class.
const platform::IconImages& voxaIcon();

} // namespace resources
