// Command-line benchmark: `quorlscope table ...` from process start to exit
// against a bare core application, run alternately, medians compared; the
// same command in the windowed program started directly, as it ran before
// the launcher, for reference; then `quorlscope export` of ten documents
// into one file. With valgrind on PATH, the instructions each executes
// (callgrind), which the machine's load does not change.
//
//   bench_cli [--runs N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
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

// Runs the program with its standard output discarded and its standard
// error into errors (when given); the exit status, or -1.
int Run(const std::vector<std::string> &args, const char *errors = nullptr)
{
    std::vector<char *> argv;
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (errors)
        posix_spawn_file_actions_addopen(&actions, 2, errors, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Seconds from spawning the program to its exit; negative when it failed.
double TimeRun(const std::vector<std::string> &args)
{
    const double start = Now();
    const int status = Run(args);
    const double seconds = Now() - start;
    return status == 0 ? seconds : -1.0;
}

// The instructions the program executes (callgrind's count; a program
// replaced by another through exec counts only what runs after it), or 0
// when that cannot be had.
double Instructions(const std::vector<std::string> &args, const std::string &folder)
{
    std::vector<std::string> command = {"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"};
    command.insert(command.end(), args.begin(), args.end());
    const std::string errors = folder + "/callgrind.txt";
    Run(command, errors.c_str());
    double count = 0.0;
    if (FILE *in = std::fopen(errors.c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, in))
            if (const char *at = std::strstr(line, "Collected :"))
                count = std::atof(at + std::strlen("Collected :"));
        std::fclose(in);
    }
    return count;
}

bool HaveValgrind()
{
    return Run({"valgrind", "--version"}) == 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Callgrind's counts: the launcher alone (a copy in a folder without the
// programs, so it does all its work and then fails to start one), the
// command-line program's table and the bare application.
void ReportInstructions(const std::vector<std::string> &table, const std::vector<std::string> &bare,
                        const std::string &folder)
{
    if (!HaveValgrind()) {
        std::puts("instructions: skipped, valgrind is not installed");
        return;
    }
    const std::string lonely = folder + "/quorlscope";
    const std::string copy = "cp " + table[0] + " " + lonely;
    if (std::system(copy.c_str()) != 0)
        return;
    std::vector<std::string> alone = table, program = table, windowed = table;
    alone[0] = lonely;
    program[0] = QRL_CLI_PATH;
    windowed[0] = QRL_GUI_PATH;
    const double launcher = Instructions(alone, folder), cli = Instructions(program, folder),
                 base = Instructions(bare, folder), before = Instructions(windowed, folder);
    if (launcher <= 0 || cli <= 0 || base <= 0 || before <= 0) {
        std::puts("instructions: callgrind gave no count");
        return;
    }
    std::printf("instructions (callgrind): launcher %.0f + quorlscope-cli table %.0f = %.0f\n", launcher, cli,
                launcher + cli);
    std::printf("  bare QCoreApplication %.0f; the windowed program's table %.0f\n", base, before);
    const double ratio = (launcher + cli) / base;
    std::printf("  ratio %.2f (target <= %.1f): %s; the windowed program's table %.2f\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "NOT met", before / base);
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
    std::vector<std::string> windowedTable = table;
    windowedTable[0] = QRL_GUI_PATH;
    const std::vector<std::string> bare = {QRL_MINIMAL_APP_PATH};
    std::vector<double> tableTimes, bareTimes, windowedTimes;
    for (int i = 0; i < runs + 2; ++i) {
        const double t = TimeRun(table), b = TimeRun(bare), w = TimeRun(windowedTable);
        if (t < 0 || b < 0 || w < 0) {
            std::puts("bench_cli: a run failed");
            return 1;
        }
        if (i >= 2) { // two warm-up rounds
            tableTimes.push_back(t);
            bareTimes.push_back(b);
            windowedTimes.push_back(w);
        }
    }
    const double ratio = Median(tableTimes) / Median(bareTimes);
    std::printf("quorlscope table:      %.2f ms (median of %d, alternating)\n", Median(tableTimes) * 1e3,
                runs);
    std::printf("bare QCoreApplication: %.2f ms\n", Median(bareTimes) * 1e3);
    std::printf("ratio %.2f (target <= %.1f): %s\n", ratio, kTargetRatio,
                ratio <= kTargetRatio ? "met" : "NOT met");
    std::printf("the windowed program's table, for reference: %.2f ms, ratio %.2f\n",
                Median(windowedTimes) * 1e3, Median(windowedTimes) / Median(bareTimes));

    char folder[] = "/tmp/qrl-bench-cli-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    ReportInstructions(table, bare, folder);

    // Ten copies of the sample table into one JSON file.
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
