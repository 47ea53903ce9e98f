#include "mounts.h"

#include "common.h"

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qrltest
{

// The namespace is made once per process, on the main thread, which runs
// the application and its file operations.
std::string MountsUnavailable()
{
    static const std::string failure = [] {
        if (geteuid() != 0)
            return std::string("mounting needs root");
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make a private mount namespace: ") + std::strerror(errno);
        return std::string();
    }();
    return failure;
}

bool MountReadOnly(const std::string &folder)
{
    return MountsUnavailable().empty() &&
           mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool MakeUnwritable(const std::string &folder)
{
    return chmod(folder.c_str(), 0555) == 0 && (!IgnoresFileModes() || MountReadOnly(folder));
}

} // namespace qrltest
