// Stands in for the windowed or the command-line program: prints the name
// of its own file, its arguments (argv[0] included) one a line, and the Qt
// platform it was given, then exits with status 0.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    char self[PATH_MAX] = "";
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    self[length > 0 ? length : 0] = '\0';
    const char *slash = std::strrchr(self, '/');
    std::printf("program %s\n", slash ? slash + 1 : self);
    for (int i = 0; i < argc; ++i)
        std::printf("argv[%d] %s\n", i, argv[i]);
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("QT_QPA_PLATFORM %s\n", platform ? platform : "(unset)");
    return 0;
}
