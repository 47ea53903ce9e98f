#include "mounts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qrltest
{

namespace
{

// The namespace is made once per process, on the calling (main) thread,
// which is the one that runs the application and its file operations.
std::string enterPrivateNamespace()
{
    static std::string failure = [] {
        if (geteuid() != 0)
            return std::string("mounting needs root");
        if (unshare(CLONE_NEWNS) != 0)
            return std::string("cannot make a mount namespace: ") + std::strerror(errno);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return std::string("cannot make mounts private: ") + std::strerror(errno);
        return std::string();
    }();
    return failure;
}

} // namespace

std::string MountsUnavailable()
{
    return enterPrivateNamespace();
}

bool MountReadOnly(const std::string &folder)
{
    if (!enterPrivateNamespace().empty())
        return false;
    return mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool MakeUnwritable(const std::string &folder)
{
    return chmod(folder.c_str(), 0555) == 0 && (geteuid() != 0 || MountReadOnly(folder));
}

bool MountSmallDisk(const std::string &folder, long size)
{
    if (!enterPrivateNamespace().empty())
        return false;
    const std::string options = "size=" + std::to_string(size) + ",mode=0755";
    return mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

long FillDisk(const std::string &folder, const std::string &name)
{
    const int fd = open((folder + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return 0;
    const std::vector<char> block(512, 'x');
    long total = 0;
    for (;;) {
        const ssize_t n = write(fd, block.data(), block.size());
        if (n <= 0)
            break;
        total += n;
    }
    close(fd);
    return total;
}

} // namespace qrltest
