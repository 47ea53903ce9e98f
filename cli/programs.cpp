// Starting the programs behind `quorlscope`. The folder comes from
// /proc/self/exe, so a link to the launcher, or one found on PATH, works.
#include "cli/programs.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

bool QRLIsSubcommand(int argc, char **argv)
{
    return argc > 1 && (std::strcmp(argv[1], "table") == 0 || std::strcmp(argv[1], "stack") == 0 ||
                        std::strcmp(argv[1], "export") == 0);
}

int QRLRunProgramBeside(const char *folder, const char *name, char **argv)
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0)
        path[length] = '\0';
    char *const slash = length > 0 ? std::strrchr(path, '/') : nullptr;
    if (!slash) {
        std::fprintf(stderr, "quorlscope: cannot find its own folder: %s\n", std::strerror(errno));
        return 127;
    }
    const std::size_t room = std::size_t(path + sizeof path - (slash + 1));
    const int wanted = std::snprintf(slash + 1, room, "%s/%s", folder, name);
    if (wanted < 0 || std::size_t(wanted) >= room) {
        std::fprintf(stderr, "quorlscope: the path of %s is too long\n", name);
        return 127;
    }
    execv(path, argv);
    const int why = errno;
    std::fprintf(stderr, "quorlscope: cannot start %s: %s\n", path, std::strerror(why));
    return why == ENOENT ? 127 : 126;
}
