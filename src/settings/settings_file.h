// settings_file.h - reading and writing the viewer's options in "Voxa.ini".
//
// Where the file lives: "Voxa.ini" beside the executable, as long as that
// folder can be written (a read-only Voxa.ini there is read and left as it
// is, never saved over) and the viewer is not an installed one
// (platform/install_layout.h), whose folder every user shares even when the
// one running it may write there. Otherwise changes are saved to
// "voxa/Voxa.ini" under the user's config folder, which saving creates.
// Reading prefers the file saving will write; only while that one does not
// exist yet is the other read, so an installed copy beside a read-only
// executable serves as the first start's settings, and the user's copy wins
// from the first save on. Saving starts from the text of the file it reads,
// so lines it does not own carry over.
#pragma once

#include <string>

#include "settings/viewer_state.h"

struct SettingsLocation {
    std::string readPath; // the file loadSettings reads
    std::string savePath; // the file saveSettings writes
};

// The location for an executable in `executableFolder` and a user whose
// config folder is `configFolder` (empty when there is none).
SettingsLocation settingsLocation(const std::string& executableFolder,
                                  const std::string& configFolder);
// The same for this process.
SettingsLocation settingsLocation();
// One file read and written.
inline SettingsLocation settingsAt(const std::string& path) {
    return {path, path};
}

// The folder of the viewer's own files, where the list dialogs start: the
// one that holds the file saveSettings writes, so beside the executable of a
// viewer of its own and the user's "voxa/" config folder for an installed
// one. Made when missing (saving would make it at the latest).
std::string viewerFilesFolder(const SettingsLocation& location);

// The values the viewer starts with before the settings file is read, and
// keeps when there is none.
void startupDefaults(ViewerState& state);

// 1 when the file was read; 0 when it is absent, unreadable or holds no
// version, and `state` is left as it was. Values the viewer cannot use (an
// engine that does not exist, a slideshow interval under 100 ms, ...) take
// their defaults.
int loadSettings(ViewerState& state, const SettingsLocation& location);

// Writes every option, replacing the file in one step so that a failure
// leaves the old file whole; through a link, its target is the file. 1 on
// success; 0 when the file could not be written (the user may not write it),
// or exists but could not be read (it is then left alone rather than
// overwritten without its other contents). A file too large to be settings is
// the exception: it is moved aside to "<file>.bad", said so on stderr, and
// fresh settings are saved in its place.
int saveSettings(const ViewerState& state, const SettingsLocation& location);
