// Telling whether two paths name the same file, before any of them is
// written: the same device and inode where both exist (hard links, symbolic
// links and different spellings of one path all agree there), otherwise the
// paths once made absolute, normalised and freed of symbolic links. Devices
// and pipes (several outputs sent to /dev/null) are never the same file:
// nothing is stored in them that could be lost.
#pragma once

#include <sys/types.h>

#include <filesystem>

namespace trevasc::run {

struct FileIdentity {
    bool exists = false;
    bool regular = false;  // a regular file (not a device, pipe or folder)
    dev_t device = 0;
    ino_t inode = 0;
    std::filesystem::path normal;  // absolute, links followed, "." and ".." resolved
};

FileIdentity IdentifyFile(const std::filesystem::path& path);
bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace trevasc::run
