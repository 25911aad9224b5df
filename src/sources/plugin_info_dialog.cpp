#include "sources/plugin_info_dialog.h"

#include "platform/dialog.h"

namespace {

using platform::DialogId;
using platform::DialogMessage;
using platform::DialogParams;

constexpr int kList = 1038;

int pluginListProcedure(DialogId dialog, DialogMessage message, const DialogParams& params) {
    const auto& lines = *static_cast<const std::vector<std::string>*>(params.context);
    if (message == DialogMessage::Init) {
        platform::setDialogTitle(dialog, "Susie plug-in情報");
        for (const std::string& line : lines)
            platform::addItem(dialog, kList, line);
        return 1;
    }
    return platform::endOnOkOrCancel(dialog, message, params);
}

} // namespace

void showPluginInformation(platform::WindowId owner, const PluginHost& host) {
    std::vector<std::string> lines = host.informationLines();
    platform::runDialog("LIST", owner, pluginListProcedure, &lines);
}
