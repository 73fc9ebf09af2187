// A small file system of its own (a tmpfs of a given size) mounted on a
// folder for the life of the object, where the machine allows mounting one;
// tests skip with the reason where it does not.
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

namespace trevasc::testing {

class SmallFileSystem {
public:
    SmallFileSystem(const std::filesystem::path& where, const std::string& size) : where_(where) {
        std::filesystem::create_directory(where_);
        const std::string options = "size=" + size;
        if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            mounted_ = true;
        } else {
            reason_ = std::strerror(errno);
        }
    }
    ~SmallFileSystem() {
        if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& reason() const { return reason_; }

    // Writes a file until the file system is full.
    void Fill() const {
        std::FILE* filler = std::fopen((where_ / "filler").c_str(), "wb");
        if (filler == nullptr) return;
        const std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }

private:
    std::filesystem::path where_;
    bool mounted_ = false;
    std::string reason_;
};

}  // namespace trevasc::testing
