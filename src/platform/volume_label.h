// volume_label.h - the label of the removable disc a path lies on.
#pragma once

#include <string>

namespace platform {

// The label of the file system holding `path` when that file system is on a
// removable drive or an optical disc; empty otherwise (a hard disk, a network
// or virtual file system, a disc without a label, a path that is not there).
std::string removableVolumeLabel(const std::string& path);

} // namespace platform
