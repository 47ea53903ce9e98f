// Start-up benchmark: runs Quorlscope and a minimal Qt Widgets window with a
// menu bar alternately and compares medians, each as a ratio against the
// minimal window measured in the same run.
//
//   bench_startup [--app PATH] [--baseline PATH] [--runs N] [--warmups N]
//
// QRL_BENCH_RUNS and QRL_BENCH_WARMUPS set the counts too (a quick
// `QRL_BENCH_RUNS=3 make bench`); the options win over them. The default
// is 15 runs of each program after 2 warm-ups.
//
// Under an X server (an Xvfb of its own on a free display, when Xvfb is
// installed), with QRL_STARTUP_PROBE=wait: the splash wait runs in full and
// both programs report when each window is on screen (see
// platform/probe.cpp). Two figures: the time from the start of the process
// to the splash on screen, and to the document window on screen less the
// splash wait (from the splash on screen to the end of the wait), which is
// what the user waits for beyond the wait itself.
//
// Offscreen (QT_QPA_PLATFORM=offscreen, QRL_STARTUP_PROBE=1, splash wait
// skipped): the time from the start of the process until it ends after its
// first document window is shown.
//
// Peak memory is the child's peak resident set in both.
#include "bench/startup/xserver.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

const char *const kProbeDone = "startup-probe-done";
const int kTimeoutMs = 60000;
const double kOffscreenTarget = 1.3;
const double kSplashTarget = 1.1;
const double kDocumentTarget = 1.2;
const double kMemoryTarget = 1.2;

struct tRunResult {
    bool ok = false;
    double start = 0.0;   // CLOCK_MONOTONIC seconds just before the fork
    double seconds = 0.0; // from the fork to the child's end
    long maxRssKiB = 0;
    std::string output;
    std::map<std::string, double> shown; // window name -> on screen
    double waitEnd = 0.0;
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
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The parent's environment with the platform, the display and the probe
// replaced.
std::vector<std::string> ChildEnvironment(const std::vector<std::string> &settings)
{
    static const char *const replaced[] = {
        "QT_QPA_PLATFORM=", "QRL_STARTUP_PROBE=", "DISPLAY=", "WAYLAND_DISPLAY="};
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        bool keep = true;
        for (const char *prefix : replaced)
            keep = keep && std::strncmp(*e, prefix, std::strlen(prefix)) != 0;
        if (keep)
            env.emplace_back(*e);
    }
    env.insert(env.end(), settings.begin(), settings.end());
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

// Reads the probe's lines; true when the child reported it was done.
bool ParseProbe(tRunResult &result)
{
    bool done = false;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag, what;
        words >> tag >> what;
        if (tag == kProbeDone) {
            done = true;
        } else if (tag == "startup-probe" && what == "shown") {
            std::string name;
            double at = 0.0;
            if (words >> name >> at && !result.shown.count(name))
                result.shown[name] = at;
        } else if (tag == "startup-probe" && what == "wait") {
            double from = 0.0;
            words >> from >> result.waitEnd;
        }
    }
    return done;
}

// Starts the program, waits for it to end, and reports wall time from the
// fork to its end, the child's peak resident set and what it reported.
tRunResult RunOnce(const std::string &path, const std::vector<std::string> &settings)
{
    tRunResult result;
    std::vector<std::string> envStrings = ChildEnvironment(settings);
    std::vector<char *> env = CStrings(envStrings);
    std::vector<std::string> argStrings = {path};
    std::vector<char *> argv = CStrings(argStrings);
    int fds[2];
    if (pipe(fds) != 0) {
        result.output = "pipe failed";
        return result;
    }
    result.start = Now();
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
    result.seconds = Now() - result.start;
    result.maxRssKiB = usage.ru_maxrss;
    const bool done = ParseProbe(result);
    if (WIFEXITED(status))
        result.output += "\n(exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    else if (WIFSIGNALED(status))
        result.output += "\n(killed by signal " + std::to_string(WTERMSIG(status)) + ")";
    result.ok = closed && WIFEXITED(status) && WEXITSTATUS(status) == 0 && done;
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// One measured quantity over the runs, in milliseconds (or MiB).
struct tFigure {
    std::string label;
    std::vector<double> values;
};

void PrintFigure(const tFigure &f, const char *unit)
{
    std::printf("  %-34s %9.1f %9.1f %9.1f  %s\n", f.label.c_str(), Median(f.values),
                *std::min_element(f.values.begin(), f.values.end()),
                *std::max_element(f.values.begin(), f.values.end()), unit);
}

void PrintRatio(const char *what, double ratio, double target)
{
    std::printf("  %-34s %.2f  (target <= %.2f: %s)\n", what, ratio, target,
                ratio <= target ? "met" : "MISSED");
}

struct tProgram {
    const char *label;
    std::string path;
};

// Runs the program once; on failure says why. The figures of a recorded
// run go to record.
template <typename Record>
bool Measure(const tProgram &program, const std::vector<std::string> &settings,
             const std::vector<std::string> &expected, Record record)
{
    tRunResult r = RunOnce(program.path, settings);
    for (const std::string &name : expected)
        r.ok = r.ok && r.shown.count(name);
    if (!r.ok) {
        std::fprintf(
            stderr,
            "bench_startup: %s (%s) did not report what it was asked to and exit 0; its output:\n%s\n",
            program.label, program.path.c_str(), r.output.c_str());
        return false;
    }
    record(r);
    return true;
}

// Offscreen: time from the fork to the child's end.
bool RunOffscreen(const tProgram &app, const tProgram &base, const tOptions &options)
{
    const std::vector<std::string> settings = {"QT_QPA_PLATFORM=offscreen", "QRL_STARTUP_PROBE=1"};
    tFigure baseTime{std::string(base.label) + " shown", {}},
        appTime{std::string(app.label) + " window shown", {}};
    tFigure baseRss{std::string(base.label), {}}, appRss{app.label, {}};
    auto ignore = [](const tRunResult &) {};
    for (int i = 0; i < options.warmups; ++i) {
        if (!Measure(base, settings, {}, ignore) || !Measure(app, settings, {}, ignore))
            return false;
    }
    // Alternating keeps slow drifts of the machine from favouring either side.
    for (int i = 0; i < options.runs; ++i) {
        const bool ok = Measure(base, settings, {},
                                [&](const tRunResult &r) {
                                    baseTime.values.push_back(r.seconds * 1000.0);
                                    baseRss.values.push_back(r.maxRssKiB / 1024.0);
                                }) &&
                        Measure(app, settings, {}, [&](const tRunResult &r) {
                            appTime.values.push_back(r.seconds * 1000.0);
                            appRss.values.push_back(r.maxRssKiB / 1024.0);
                        });
        if (!ok)
            return false;
    }
    std::printf(
        "startup (offscreen, splash wait skipped): process start to end after the first window is shown, "
        "%d runs each after %d warm-ups\n",
        options.runs, options.warmups);
    std::printf("  %-34s %9s %9s %9s\n", "", "median", "min", "max");
    PrintFigure(baseTime, "ms");
    PrintFigure(appTime, "ms");
    PrintFigure(baseRss, "MiB peak RSS");
    PrintFigure(appRss, "MiB peak RSS");
    PrintRatio("offscreen time", Median(appTime.values) / Median(baseTime.values), kOffscreenTarget);
    PrintRatio("offscreen peak memory", Median(appRss.values) / Median(baseRss.values), kOffscreenTarget);
    return true;
}

// Under the X server: the splash and the document window on screen.
bool RunOnDisplay(const tProgram &app, const tProgram &base, const tOptions &options,
                  const std::string &display)
{
    const std::vector<std::string> settings = {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display,
                                               "QRL_STARTUP_PROBE=wait"};
    const std::vector<std::string> baseWindows = {"minimal"};
    const std::vector<std::string> appWindows = {"startupWindow", "MainWindow"};
    tFigure baseTime{std::string(base.label) + " on screen", {}};
    tFigure splash{"splash on screen", {}}, document{"document window less the wait", {}};
    tFigure afterWait{"  of which after the wait", {}}, wait{"  (splash wait)", {}};
    tFigure baseRss{std::string(base.label), {}}, appRss{app.label, {}};
    auto ignore = [](const tRunResult &) {};
    auto recordBase = [&](const tRunResult &r) {
        baseTime.values.push_back((r.shown.at("minimal") - r.start) * 1000.0);
        baseRss.values.push_back(r.maxRssKiB / 1024.0);
    };
    auto recordApp = [&](const tRunResult &r) {
        const double splashShown = r.shown.at("startupWindow");
        const double documentShown = r.shown.at("MainWindow");
        const double waited = r.waitEnd > splashShown ? r.waitEnd - splashShown : 0.0;
        splash.values.push_back((splashShown - r.start) * 1000.0);
        document.values.push_back((documentShown - r.start - waited) * 1000.0);
        afterWait.values.push_back((documentShown - r.waitEnd) * 1000.0);
        wait.values.push_back(waited * 1000.0);
        appRss.values.push_back(r.maxRssKiB / 1024.0);
    };
    for (int i = 0; i < options.warmups; ++i) {
        if (!Measure(base, settings, baseWindows, ignore) || !Measure(app, settings, appWindows, ignore))
            return false;
    }
    for (int i = 0; i < options.runs; ++i) {
        if (!Measure(base, settings, baseWindows, recordBase) ||
            !Measure(app, settings, appWindows, recordApp))
            return false;
    }
    std::printf("startup (X server %s, splash wait run in full): process start to window on screen, "
                "%d runs each after %d warm-ups\n",
                display.c_str(), options.runs, options.warmups);
    std::printf("  %-34s %9s %9s %9s\n", "", "median", "min", "max");
    PrintFigure(baseTime, "ms");
    PrintFigure(splash, "ms");
    PrintFigure(document, "ms");
    PrintFigure(afterWait, "ms");
    PrintFigure(wait, "ms");
    PrintFigure(baseRss, "MiB peak RSS");
    PrintFigure(appRss, "MiB peak RSS");
    const double baseMedian = Median(baseTime.values);
    PrintRatio("splash", Median(splash.values) / baseMedian, kSplashTarget);
    PrintRatio("document window less the wait", Median(document.values) / baseMedian, kDocumentTarget);
    PrintRatio("peak memory", Median(appRss.values) / Median(baseRss.values), kMemoryTarget);
    return true;
}

// A count from the environment; false when it is set but not a number.
bool CountFromEnvironment(const char *name, int &count)
{
    const char *value = std::getenv(name);
    if (!value || !*value)
        return true;
    char *end = nullptr;
    const long parsed = std::strtol(value, &end, 10);
    if (*end != '\0' || parsed < 0 || parsed > 100000)
        return false;
    count = static_cast<int>(parsed);
    return true;
}

bool ParseOptions(int argc, char **argv, tOptions &options)
{
    if (!CountFromEnvironment("QRL_BENCH_RUNS", options.runs) ||
        !CountFromEnvironment("QRL_BENCH_WARMUPS", options.warmups))
        return false;
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
        std::fprintf(stderr,
                     "usage: %s [--app PATH] [--baseline PATH] [--runs N] [--warmups N]\n"
                     "(QRL_BENCH_RUNS and QRL_BENCH_WARMUPS, when set, are whole numbers)\n",
                     argv[0]);
        return 2;
    }
    if (options.app.empty()) {
        std::printf("startup: no quorlscope executable in this build; nothing to measure\n");
        return 0;
    }
    const tProgram app = {"quorlscope", options.app};
    const tProgram base = {"minimal Qt window", options.baseline};
    XServer server;
    if (StartXServer(server)) {
        const bool ok = RunOnDisplay(app, base, options, server.display);
        StopXServer(server);
        if (!ok)
            return 1;
    } else {
        std::printf("startup (X server): skipped, %s\n", server.problem.c_str());
    }
    return RunOffscreen(app, base, options) ? 0 : 1;
}
