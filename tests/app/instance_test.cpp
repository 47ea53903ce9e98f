// One running instance: a later start of the program hands its files to the
// running one and ends with 0. The running instance is this test process
// (headless); the later starts are the real program in second processes.
#include "app/opendocuments.h"
#include "document/document.h"
#include "platform/instance.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

// Runs the event loop until done() holds or the time is up.
bool RunEventsUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&]() {
        if (done() || elapsed.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(10);
    if (!done())
        loop.exec();
    return done();
}

// The program started in folder, as a file manager starts it, offscreen.
std::unique_ptr<QProcess> Start(const std::vector<std::string> &arguments, const std::string &folder = "/")
{
    auto process = std::make_unique<QProcess>();
    QStringList list;
    for (const std::string &argument : arguments)
        list << QString::fromStdString(argument);
    process->setWorkingDirectory(QString::fromStdString(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QStringLiteral(QRL_APP_PATH), list);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
}

// A later start run to its end while this process keeps answering: its
// status (-1 for a crash) and output.
std::pair<int, std::string> StartLater(const std::vector<std::string> &arguments, const std::string &folder)
{
    const std::unique_ptr<QProcess> process = Start(arguments, folder);
    if (!RunEventsUntil([&]() { return process->state() == QProcess::NotRunning; }, 60000))
        ADD_FAILURE() << "the later start did not end";
    const int status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    return {status, process->readAll().toStdString()};
}

// A socket at path: listening (as an instance does) or connected to it; -1 on failure.
int Socket(const std::string &path, bool listening)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const auto *at = reinterpret_cast<const sockaddr *>(&address);
    if (fd >= 0 && (listening ? bind(fd, at, sizeof address) == 0 && listen(fd, 1) == 0
                              : connect(fd, at, sizeof address) == 0))
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// Whether fd has something to read, or its other end has gone.
bool Readable(int fd, int timeoutMs = 0)
{
    pollfd ready = {fd, POLLIN, 0};
    return poll(&ready, 1, timeoutMs) > 0;
}

// A runtime folder of the test's own, so no other test's instance answers.
void UseFreshRuntimeFolder()
{
    setenv("XDG_RUNTIME_DIR", FreshFolder().c_str(), 1);
}

} // namespace

// One row per later start, in turn, on an instance that took over the
// socket a crashed one left: its arguments, status and output, then the
// documents open and the alerts shown.
TEST(SingleInstance, LaterStartsHandTheirFilesOver)
{
    UseFreshRuntimeFolder();
    close(Socket(instanceSocketPath(), true)); // what a crash leaves: a socket file nobody listens on
    ASSERT_TRUE(fs::is_socket(instanceSocketPath()));
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    EXPECT_EQ(fs::path(instanceSocketPath()).parent_path(), fs::path(getenv("XDG_RUNTIME_DIR")));
    const std::string folder = FreshFolder();
    for (const char *name : {"first.qrtb", "second.qrtb", "later.qrtb"})
        CopySavedTable(folder, name);
    const std::string tooLong = std::string(4000, 'n') + ".qrtb"; // 300 of them: 1.2 MB
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string output;
        std::vector<std::string> titles, alerts;
    } rows[] = {
        // clang-format off
        {{}, 0, "", {"Untitled "}, {}},
        // Relative names, made absolute in the later start's folder; the
        // untouched untitled window gives way to the files.
        {{"first.qrtb", "missing.qrtb", "second.qrtb"}, 0, "", {"first.qrtb", "second.qrtb"},
         {"Could not open \u201cmissing.qrtb\u201d", "There is no such file: " + folder + "/missing.qrtb"}},
        {std::vector<std::string>(300, tooLong), 1,
         "quorlscope: the list of files is too long to hand to the running Quorlscope (more than 1048576 bytes)\n",
         {"first.qrtb", "second.qrtb"}, {}}};
    // clang-format on
    for (const auto &row : rows) {
        const auto [status, output] = StartLater(row.arguments, folder);
        EXPECT_EQ(status, row.status) << output;
        EXPECT_TRUE(row.output.empty() ? output.empty() : output.find(row.output) != std::string::npos)
            << output;
        RunEventsUntil([&]() { return DocumentTitles() == row.titles; });
        EXPECT_EQ(DocumentTitles(), row.titles);
        EXPECT_EQ(Alerts(), row.alerts);
    }
    EXPECT_EQ(platform::frontWindow(), DocumentAt(1)); // the opened windows come to the front
    // Foreign bytes are dropped without an answer, and open nothing.
    const int fd = Socket(instanceSocketPath(), false);
    const char junk[] = "GET / HTTP/1.0\r\n\r\n/etc/passwd";
    ASSERT_EQ(write(fd, junk, sizeof junk), ssize_t(sizeof junk));
    ASSERT_TRUE(RunEventsUntil([&]() { return Readable(fd); }));
    char answer = 0;
    EXPECT_EQ(read(fd, &answer, 1), 0);
    close(fd);
    // While the table parameters window is up (it computes into the current
    // document), handed-over files wait, and open once it has gone.
    RunTableWindow([&](QWidget *) {
        EXPECT_EQ(StartLater({"later.qrtb"}, folder).first, 0);
        EXPECT_EQ(StartLater({}, folder).first, 0); // answered after the first one's files came in
        EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"first.qrtb", "second.qrtb"}));
    });
    EXPECT_TRUE(RunEventsUntil([]() { return BGetNumberOfDocuments() == 3; }));
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"first.qrtb", "second.qrtb", "later.qrtb"}));
    ReleaseSingleInstance();
    EXPECT_FALSE(fs::exists(instanceSocketPath()));
}

// A running program ended by SIGTERM ends with 0 and removes its socket.
TEST(SingleInstance, QuittingRemovesTheSocket)
{
    UseFreshRuntimeFolder();
    StartPlatform();
    const std::unique_ptr<QProcess> running = Start({});
    const std::string socketPath = instanceSocketPath();
    // Its handler is in place once the status file's SigCgt has SIGTERM.
    const auto catchesTerm = [&]() {
        std::ifstream status("/proc/" + std::to_string(running->processId()) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigCgt:", 0) == 0)
                return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
        return 0ull;
    };
    EXPECT_TRUE(RunEventsUntil([&]() { return fs::is_socket(socketPath) && catchesTerm(); }, 30000));
    kill(pid_t(running->processId()), SIGTERM);
    ASSERT_TRUE(running->waitForFinished(30000));
    EXPECT_EQ(std::make_pair(running->exitStatus(), running->exitCode()),
              std::make_pair(QProcess::NormalExit, 0));
    EXPECT_FALSE(fs::exists(socketPath));
}

// A running instance that takes the files and never answers: Ctrl+C or
// SIGTERM ends the later start's wait at once, by that signal.
TEST(SingleInstance, SignalEndsALaterStartWaitingForTheAnswer)
{
    UseFreshRuntimeFolder();
    StartPlatform();
    const int listener = Socket(instanceSocketPath(), true);
    ASSERT_GE(listener, 0);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const std::unique_ptr<QProcess> later = Start({"waiting.qrtb"});
        ASSERT_TRUE(Readable(listener, 30000)) << "no connection";
        const int connection = accept(listener, nullptr, nullptr);
        // The whole message read (the magic, the length, the paths): it now waits for the answer.
        std::string message;
        const auto whole = [&]() {
            std::size_t size = 0;
            for (std::size_t i = 4; i < 8 && message.size() >= 8; ++i)
                size = size << 8 | std::uint8_t(message[i]);
            return message.size() >= 8 && message.size() >= 8 + size;
        };
        char chunk[4096];
        for (ssize_t n;
             !whole() && Readable(connection, 10000) && (n = read(connection, chunk, sizeof chunk)) > 0;)
            message.append(chunk, std::size_t(n));
        ASSERT_TRUE(whole());
        kill(pid_t(later->processId()), signalNumber);
        // Well before the answer's own time limit (30 s) runs out.
        EXPECT_TRUE(later->waitForFinished(10000)) << signalNumber;
        EXPECT_EQ(later->exitStatus(), QProcess::CrashExit) << signalNumber;
        EXPECT_EQ(later->exitCode(), signalNumber); // for a crash: the signal that ended it
        later->kill();
        later->waitForFinished();
        close(connection);
    }
    close(listener);
}

// Out of descriptors, the running instance cannot take a connection: it
// waits without spinning (few wake-ups of its event loop) and takes the
// connection once descriptors are free again.
TEST(SingleInstance, OutOfDescriptorsWaitsWithoutSpinning)
{
#ifdef __SANITIZE_ADDRESS__
    // The undefined-behaviour checks take a pipe to look at an object's
    // type: with no descriptor left they report a fault that is none.
    GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    UseFreshRuntimeFolder();
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    const int client = Socket(instanceSocketPath(), false);
    ASSERT_GE(client, 0);
    ASSERT_EQ(write(client, "QRL1\0\0\0\0", 8), 8); // no files
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit exhausted = saved;
    exhausted.rlim_cur = rlim_t(dup(0)); // the lowest free descriptor: none is left from here on
    close(int(exhausted.rlim_cur));
    int wakeUps = 0;
    QObject counter;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, &counter,
                     [&]() { ++wakeUps; });
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &exhausted), 0);
    QTimer::singleShot(500, &counter, [&]() { setrlimit(RLIMIT_NOFILE, &saved); });
    const bool answered = RunEventsUntil([&]() { return Readable(client); });
    setrlimit(RLIMIT_NOFILE, &saved);
    ASSERT_TRUE(answered);
    char answer = 0;
    EXPECT_EQ(read(client, &answer, 1), 1);
    EXPECT_EQ(answer, 'A');
    // The test's own 10 ms polling wakes it some 50 times in 500 ms; a
    // notifier firing again at once, thousands of times.
    EXPECT_LT(wakeUps, 300);
    close(client);
    ReleaseSingleInstance();
}
