#include "bench/startup/xserver.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

const int kStartTimeoutMs = 15000;

std::string FindOnPath(const char *name)
{
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

// Reads the display number the server writes once it accepts clients.
bool ReadDisplayNumber(int fd, std::string &number)
{
    char buffer[32];
    int waited = 0;
    while (waited < kStartTimeoutMs) {
        pollfd pfd = {fd, POLLIN, 0};
        int ready = poll(&pfd, 1, 100);
        waited += 100;
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready <= 0)
            continue;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return !number.empty() && number.back() == '\n';
        number.append(buffer, size_t(n));
        if (number.back() == '\n')
            return true;
    }
    return false;
}

} // namespace

bool StartXServer(XServer &server)
{
    const std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty()) {
        server.problem = "Xvfb is not installed";
        return false;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        server.problem = "pipe failed";
        return false;
    }
    const std::string displayFd = std::to_string(fds[1]);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        // Its chatter is not the benchmark's.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execl(xvfb.c_str(), "Xvfb", "-displayfd", displayFd.c_str(), "-screen", "0", "1280x1024x24",
              "-nolisten", "tcp", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        server.problem = "fork failed";
        return false;
    }
    server.pid = pid;
    std::string number;
    const bool started = ReadDisplayNumber(fds[0], number);
    close(fds[0]);
    if (!started) {
        StopXServer(server);
        server.problem = "Xvfb did not start";
        return false;
    }
    number.pop_back();
    server.display = ":" + number;
    return true;
}

void StopXServer(XServer &server)
{
    if (server.pid <= 0)
        return;
    kill(server.pid, SIGTERM);
    int status = 0;
    while (waitpid(server.pid, &status, 0) < 0 && errno == EINTR) {
    }
    server.pid = -1;
}
