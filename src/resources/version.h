// version.h - the version message and the help page of the help menu.
#pragma once

#include <string>

namespace resources {

inline constexpr int kVersion[] = {0, 8, 1, 4}; // reads 0.814
inline constexpr const char* kVersionCaption = "VOXA..";

// "Voxa Ver 0.814 \n  \n", shown with kVersionCaption, the information icon
// and an OK button.
std::string versionText();

// The help page that the help item opens with the desktop's program; the
// build puts it beside the executable.
inline constexpr const char* kHelpPageName = "voxa_help.html";
// Its full path beside the running executable.
std::string helpPagePath();

} // namespace resources
