// Stands in for the windowed or the command-line program: prints the name of
// its own file, its arguments (argv[0] included) and the Qt platform it was given.
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    char self[PATH_MAX] = "";
    self[std::max<ssize_t>(readlink("/proc/self/exe", self, sizeof self - 1), 0)] = '\0';
    std::printf("program %s\n", std::strrchr(self, '/') ? std::strrchr(self, '/') + 1 : self);
    for (int i = 0; i < argc; ++i)
        std::printf("argv[%d] %s\n", i, argv[i]);
    std::printf("QT_QPA_PLATFORM %s\n",
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "(unset)");
}
