// volume_label.h - removable drives and optical discs: whether a path lies
// on one, and the label of the disc.
//
// The answers come from the system's own files: the mount table
// (proc/self/mountinfo), the block devices' flags and types (sys/dev/block)
// and the labels the system gives the file systems (dev/disk/by-label). They
// are read under `systemRoot`, "/" for the running system; a test points it
// at a tree of its own.
#pragma once

#include <string>

namespace platform {

// The longest label returned, in bytes; a longer one is cut at a character.
inline constexpr std::size_t kVolumeLabelLimit = 49;

// The label of the file system holding `path` when that file system is on a
// removable drive or an optical disc; empty otherwise (a hard disk, a network
// or virtual file system, a disc without a label, a path that is not there).
std::string removableVolumeLabel(const std::string& path, const std::string& systemRoot = "/");

// Whether `path` belongs on a removable drive or an optical disc: the file
// system that would hold it is on one, or, for a disc that is not in, the
// path lies in a folder where the desktop mounts such discs (/media/...,
// /run/media/...) and nothing is mounted there for it.
bool isOnRemovableMedia(const std::string& path, const std::string& systemRoot = "/");

} // namespace platform
