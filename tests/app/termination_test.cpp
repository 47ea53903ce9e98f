// The application itself, started as a process of its own with nothing
// unsaved, ends with status 0 on SIGTERM, SIGHUP and SIGINT, taken through
// its event loop; a signal it was started with ignored stays ignored. And
// the session manager's last word ends the application without a question.
#include "document/document.h"
#include "tests/support/app_driver.h"
#include "tests/support/dialog_driver.h"

#include <QApplication>
#include <QEvent>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

struct Started {
    pid_t pid;
    std::string runtime; // its runtime folder, where it listens once it runs
    int signalNumber;
};

// The application under the offscreen platform with a home of its own;
// ignored names a signal it starts with ignored, as under nohup.
Started startApplication(int ignored, int signalNumber)
{
    const std::string home = qrltest::TempFolder();
    // A runtime folder of its own: with a shared one, applications
    // started together would hand over to the first and end.
    const std::string runtime = home + "/runtime";
    mkdir(runtime.c_str(), 0700);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (ignored)
            signal(ignored, SIG_IGN);
        execl(QRL_APP_PATH, QRL_APP_PATH, static_cast<char *>(nullptr));
        std::_Exit(127);
    }
    return {pid, runtime, signalNumber};
}

// A signal mask from the process's status file: caught or ignored signals.
unsigned long long signalMask(pid_t pid, const std::string &field)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stoull(line.substr(field.size() + 1), nullptr, 16);
    return 0;
}

bool inMask(unsigned long long mask, int signalNumber)
{
    return mask & (1ull << (signalNumber - 1));
}

// Whether the process listens as the running instance: until its start-up
// has taken the single-instance socket, a signal ends it at once.
bool listens(const Started &process)
{
    for (const auto &entry : std::filesystem::directory_iterator(process.runtime))
        if (entry.path().extension() == ".socket")
            return true;
    return false;
}

// Waits until the process runs as the instance and catches the signal;
// false after the time-out.
bool waitUntilCaught(const Started &process, int signalNumber)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
        if (listens(process) && inMask(signalMask(process.pid, "SigCgt"), signalNumber))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The process's wait status; -1 when it did not end in time (it is killed).
int waitForEnd(pid_t pid)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    int status = 0;
    while (Clock::now() < deadline) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

// The three run side by side.
TEST(Termination, EachSignalEndsAnApplicationWithNothingUnsavedWithStatusZero)
{
    std::vector<Started> started;
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        started.push_back(startApplication(0, signalNumber));
    for (const Started &process : started) {
        ASSERT_TRUE(waitUntilCaught(process, process.signalNumber)) << process.signalNumber;
        kill(process.pid, process.signalNumber);
    }
    for (const Started &process : started) {
        const int status = waitForEnd(process.pid);
        EXPECT_TRUE(status != -1 && WIFEXITED(status)) << process.signalNumber << ": " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0) << process.signalNumber;
    }
}

TEST(Termination, SignalIgnoredAtStartStaysIgnored)
{
    const Started process = startApplication(SIGHUP, SIGTERM);
    const pid_t pid = process.pid;
    ASSERT_TRUE(waitUntilCaught(process, SIGTERM));
    EXPECT_TRUE(inMask(signalMask(pid, "SigIgn"), SIGHUP));
    EXPECT_FALSE(inMask(signalMask(pid, "SigCgt"), SIGHUP));
    kill(pid, SIGHUP);
    kill(pid, SIGTERM);
    const int status = waitForEnd(pid);
    EXPECT_TRUE(status != -1 && WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// After the session's data was committed (here without interaction, so an
// unsaved table stayed unsaved), the session manager tells the application
// to go: the window system's quit event. It ends at once, asking nothing.
TEST(Termination, SessionManagersLastWordEndsWithoutAQuestion)
{
    qrltest::StartApplication();
    qrltest::ComputeTable({"3", "50", {}, {}});
    ASSERT_EQ(BGetNumberOfDirtyDocuments(), 1);
    QEvent quit(QEvent::Quit);
    EXPECT_TRUE(qrltest::EndsProcess([&] { QApplication::sendEvent(qApp, &quit); }));
    EXPECT_TRUE(qrltest::ShownDialogs().empty());
    EXPECT_TRUE(qrltest::AlertMessages().empty());
}

} // namespace
