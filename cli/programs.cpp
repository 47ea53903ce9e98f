// Finding and starting the programs behind `quorlscope`. The folder is found
// from this executable's own file (/proc/self/exe), so a link to the
// launcher, or a launcher started through PATH, finds the real one.
#include "cli/programs.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace
{

// The folder of this executable, with a trailing '/'; false if unknown.
bool OwnFolder(char *path, std::size_t size)
{
    const ssize_t length = readlink("/proc/self/exe", path, size - 1);
    if (length <= 0)
        return false;
    path[length] = '\0';
    char *slash = std::strrchr(path, '/');
    if (!slash)
        return false;
    slash[1] = '\0';
    return true;
}

} // namespace

bool QRLIsSubcommand(int argc, char **argv)
{
    return argc > 1 && (std::strcmp(argv[1], "table") == 0 || std::strcmp(argv[1], "export") == 0);
}

int QRLRunProgramBeside(const char *folder, const char *name, char **argv)
{
    char path[PATH_MAX];
    if (!OwnFolder(path, sizeof path)) {
        std::fprintf(stderr, "quorlscope: cannot find its own folder: %s\n", std::strerror(errno));
        return 127;
    }
    const std::size_t used = std::strlen(path);
    const int wanted = std::snprintf(path + used, sizeof path - used, "%s/%s", folder, name);
    if (wanted < 0 || std::size_t(wanted) >= sizeof path - used) {
        std::fprintf(stderr, "quorlscope: the path of %s is too long\n", name);
        return 127;
    }
    execv(path, argv);
    const int why = errno;
    std::fprintf(stderr, "quorlscope: cannot start %s: %s\n", path, std::strerror(why));
    return why == ENOENT ? 127 : 126;
}
