// Command-line benchmark: `quorlscope table ...` from process start to exit
// against a bare core application, run alternately, medians compared; then
// `quorlscope export` of ten documents into one file.
//
//   bench_cli [--runs N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace
{

const double kTargetRatio = 1.5;

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Seconds from spawning the program to its exit; negative when it failed.
double TimeRun(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const double start = Now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1.0;
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = Now() - start;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1.0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 30;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
#ifndef QRL_APP_PATH
    std::puts("bench_cli: the application was not built");
    return 1;
#else
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const std::vector<std::string> table = {QRL_APP_PATH, "table",     "--distance", "3",  "--focal", "50",
                                            "--camera",   "fullframe", "--circle",   "30", "--unit",  "m"};
    const std::vector<std::string> bare = {QRL_MINIMAL_APP_PATH};
    std::vector<double> tableTimes, bareTimes;
    for (int i = 0; i < runs + 2; ++i) {
        const double t = TimeRun(table), b = TimeRun(bare);
        if (t < 0 || b < 0) {
            std::puts("bench_cli: a run failed");
            return 1;
        }
        if (i >= 2) { // two warm-up rounds
            tableTimes.push_back(t);
            bareTimes.push_back(b);
        }
    }
    const double ratio = Median(tableTimes) / Median(bareTimes);
    std::printf("quorlscope table:      %.2f ms (median of %d)\n", Median(tableTimes) * 1e3, runs);
    std::printf("bare QCoreApplication: %.2f ms\n", Median(bareTimes) * 1e3);
    std::printf("ratio %.2f (target <= %.1f): %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "NOT met");

    // Ten copies of the sample table into one JSON file.
    char folder[] = "/tmp/qrl-bench-cli-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    std::string sample(280, '\0');
    if (FILE *in = std::fopen(QRL_SOURCE_DIR "/docs/portrait-50mm.qrtb", "rb")) {
        sample.resize(std::fread(sample.data(), 1, sample.size(), in));
        std::fclose(in);
    }
    std::vector<std::string> exportArgs = {QRL_APP_PATH, "export"};
    for (int i = 0; i < 10; ++i) {
        exportArgs.push_back(std::string(folder) + "/lens" + std::to_string(i) + ".qrtb");
        if (FILE *out = std::fopen(exportArgs.back().c_str(), "wb")) {
            std::fwrite(sample.data(), 1, sample.size(), out);
            std::fclose(out);
        }
    }
    exportArgs.push_back("--to");
    exportArgs.push_back(std::string(folder) + "/kit.json");
    std::vector<double> exportTimes;
    for (int i = 0; i < runs; ++i)
        exportTimes.push_back(TimeRun(exportArgs));
    std::printf("quorlscope export of 10 documents to JSON: %.2f ms (median of %d), %.2f x the bare start\n",
                Median(exportTimes) * 1e3, runs, Median(exportTimes) / Median(bareTimes));
    std::string cleanup = std::string("rm -rf ") + folder;
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
#endif
}
