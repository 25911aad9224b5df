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
// build puts it beside the executable, the install in the shared data folder.
inline constexpr const char* kHelpPageName = "voxa_help.html";
// Its full path for an executable in `executableFolder`: the page beside it
// when there is one, else the installed one; the path beside it when
// neither exists.
std::string helpPagePath(const std::string& executableFolder);
// The same for the running executable.
std::string helpPagePath();

} // namespace resources
