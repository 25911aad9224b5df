// plugin_info_dialog.h - "Susie plug-in情報": the description of every
// registered plug-in, one line each, in the dialog LIST.
#pragma once

#include "platform/window_message.h"
#include "sources/plugin_host.h"

// Modal over `owner`: the archive plug-ins first, then the image plug-ins,
// each kind in registration order. OK or closing the window ends it.
void showPluginInformation(platform::WindowId owner, const PluginHost& host);
