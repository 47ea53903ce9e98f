// Start-up benchmark: runs Quorlscope and a minimal Qt Widgets window
// alternately, each until it reports its first window shown and exits, and
// compares the medians of wall-clock time and peak memory.
//
//   bench_startup [--app PATH] [--baseline PATH] [--runs N] [--warmups N]
//
// Both programs run with QT_QPA_PLATFORM=offscreen and QRL_STARTUP_PROBE=1:
// under the probe they skip the splash wait, print "startup-probe-done" once
// the first window is shown and the event loop is idle, and exit 0.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

const char *const kProbeLine = "startup-probe-done";
const int kTimeoutMs = 60000;
const double kTargetRatio = 1.3;

struct tRunResult {
    bool ok;
    double seconds;
    long maxRssKiB;
    std::string output;
};

struct tOptions {
    std::string app;
    std::string baseline;
    int runs = 15;
    int warmups = 2;
};

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// The parent's environment with the offscreen platform and the probe set.
std::vector<std::string> ChildEnvironment()
{
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0 && std::strncmp(*e, "QRL_STARTUP_PROBE=", 18) != 0)
            env.emplace_back(*e);
    }
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    env.emplace_back("QRL_STARTUP_PROBE=1");
    return env;
}

std::vector<char *> CStrings(std::vector<std::string> &strings)
{
    std::vector<char *> pointers;
    for (std::string &s : strings)
        pointers.push_back(&s[0]);
    pointers.push_back(nullptr);
    return pointers;
}

// Reads the child's output until it closes it or the time runs out.
bool ReadUntilClosed(int fd, std::string &output)
{
    const double deadline = Now() + kTimeoutMs / 1000.0;
    char buffer[4096];
    for (;;) {
        int left = static_cast<int>((deadline - Now()) * 1000);
        if (left <= 0)
            return false;
        pollfd pfd = {fd, POLLIN, 0};
        int ready = poll(&pfd, 1, left);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        output.append(buffer, static_cast<size_t>(n));
    }
}

bool HasProbeLine(const std::string &output)
{
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        if (output.compare(start, end - start, kProbeLine) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Starts the program, waits for it to exit, and reports wall time from
// fork to exit and the child's peak resident set.
tRunResult RunOnce(const std::string &path)
{
    tRunResult result = {false, 0.0, 0, ""};
    std::vector<std::string> envStrings = ChildEnvironment();
    std::vector<char *> env = CStrings(envStrings);
    std::vector<std::string> argStrings = {path};
    std::vector<char *> argv = CStrings(argStrings);
    int fds[2];
    if (pipe(fds) != 0) {
        result.output = "pipe failed";
        return result;
    }
    const double start = Now();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        execve(path.c_str(), argv.data(), env.data());
        std::fprintf(stderr, "cannot run %s: %s\n", path.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        result.output = "fork failed";
        return result;
    }
    bool closed = ReadUntilClosed(fds[0], result.output);
    close(fds[0]);
    if (!closed) {
        kill(pid, SIGKILL);
        result.output += "\n(timed out)";
    }
    int status = 0;
    rusage usage;
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.seconds = Now() - start;
    result.maxRssKiB = usage.ru_maxrss;
    if (WIFEXITED(status))
        result.output += "\n(exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    else if (WIFSIGNALED(status))
        result.output += "\n(killed by signal " + std::to_string(WTERMSIG(status)) + ")";
    result.ok = closed && WIFEXITED(status) && WEXITSTATUS(status) == 0 && HasProbeLine(result.output);
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

struct tSeries {
    const char *label;
    std::string path;
    std::vector<double> seconds;
    std::vector<double> rssMiB;
};

bool Measure(tSeries &series, bool record)
{
    tRunResult r = RunOnce(series.path);
    if (!r.ok) {
        std::fprintf(stderr, "bench_startup: %s (%s) did not report \"%s\" and exit 0; its output:\n%s\n",
                     series.label, series.path.c_str(), kProbeLine, r.output.c_str());
        return false;
    }
    if (record) {
        series.seconds.push_back(r.seconds);
        series.rssMiB.push_back(r.maxRssKiB / 1024.0);
    }
    return true;
}

void PrintSeries(const tSeries &s)
{
    std::printf("  %-22s %9.1f %9.1f %9.1f %12.1f\n", s.label, Median(s.seconds) * 1000.0,
                *std::min_element(s.seconds.begin(), s.seconds.end()) * 1000.0,
                *std::max_element(s.seconds.begin(), s.seconds.end()) * 1000.0, Median(s.rssMiB));
}

void PrintRatio(const char *what, double ratio)
{
    std::printf("  %-12s %.2f  (target <= %.2f: %s)\n", what, ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "MISSED");
}

bool ParseOptions(int argc, char **argv, tOptions &options)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc)
            return false;
        std::string value = argv[++i];
        if (arg == "--app")
            options.app = value;
        else if (arg == "--baseline")
            options.baseline = value;
        else if (arg == "--runs")
            options.runs = std::atoi(value.c_str());
        else if (arg == "--warmups")
            options.warmups = std::atoi(value.c_str());
        else
            return false;
    }
    return options.runs > 0 && options.warmups >= 0;
}

} // namespace

int main(int argc, char **argv)
{
    tOptions options;
#ifdef QRL_APP_PATH
    options.app = QRL_APP_PATH;
#endif
    options.baseline = QRL_MINIMAL_APP_PATH;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--app PATH] [--baseline PATH] [--runs N] [--warmups N]\n", argv[0]);
        return 2;
    }
    const char *appLabel = "quorlscope";
    if (options.app.empty()) {
        std::printf(
            "startup: no quorlscope executable in this build; measuring the minimal app against itself\n");
        options.app = options.baseline;
        appLabel = "minimal Qt window (2)";
    }
    tSeries app = {appLabel, options.app, {}, {}};
    tSeries base = {"minimal Qt window", options.baseline, {}, {}};
    for (int i = 0; i < options.warmups; ++i) {
        if (!Measure(base, false) || !Measure(app, false))
            return 1;
    }
    // Alternating keeps slow drifts of the machine from favouring either side.
    for (int i = 0; i < options.runs; ++i) {
        if (!Measure(base, true) || !Measure(app, true))
            return 1;
    }
    std::printf("startup: to first document window shown, %d runs each after %d warm-ups (offscreen)\n",
                options.runs, options.warmups);
    std::printf("  %-22s %9s %9s %9s %12s\n", "", "median ms", "min ms", "max ms", "peak RSS MiB");
    PrintSeries(base);
    PrintSeries(app);
    std::printf("startup: %s / minimal Qt window\n", appLabel);
    PrintRatio("time", Median(app.seconds) / Median(base.seconds));
    PrintRatio("peak memory", Median(app.rssMiB) / Median(base.rssMiB));
    return 0;
}
