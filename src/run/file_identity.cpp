#include "run/file_identity.hpp"

#include <sys/stat.h>

#include <system_error>

#include "report/output_channel.hpp"

namespace trevasc::run {

namespace fs = std::filesystem;

FileIdentity IdentifyFile(const fs::path& path) {
    FileIdentity identity;
    const fs::path target = report::FollowLinks(path);
    struct stat status {};
    if (::stat(target.c_str(), &status) == 0) {
        identity.exists = true;
        identity.regular = S_ISREG(status.st_mode);
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(target, ec);
    if (ec) absolute = target;
    identity.normal = fs::weakly_canonical(absolute, ec);
    if (ec) identity.normal = absolute.lexically_normal();
    return identity;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
    if (a.exists && b.exists) return a.regular && b.regular && a.device == b.device && a.inode == b.inode;
    return a.normal == b.normal;
}

}  // namespace trevasc::run
