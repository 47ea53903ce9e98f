// One running instance: a later start of the program hands its files to the
// running one and ends with 0. The running instance is this test process
// (headless); the later start is the real program in a second process.
#include "app/opendocuments.h"
#include "document/document.h"
#include "platform/instance.h"
#include "tests/support/app_driver.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

struct Finished {
    int exitCode = -1;
    std::string output;
};

// A runtime folder of the test's own, so no other test's instance answers.
void useFreshRuntimeFolder()
{
    const std::string folder = TempFolder(); // made with mode 0700
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

// Runs the event loop until done() holds or the time is up.
bool runEventsUntil(const std::function<bool()> &done, int timeoutMs)
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

// Starts the program as a file manager would, in folder, and keeps this
// process answering while it runs.
Finished startLater(const std::vector<std::string> &arguments, const std::string &folder)
{
    QProcess process;
    process.setProgram(QStringLiteral(QRL_APP_PATH));
    QStringList list;
    for (const std::string &argument : arguments)
        list << QString::fromStdString(argument);
    process.setArguments(list);
    process.setWorkingDirectory(QString::fromStdString(folder));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    Finished finished;
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "the program did not start";
        return finished;
    }
    if (!runEventsUntil([&]() { return process.state() == QProcess::NotRunning; }, 60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "the later start did not end";
    }
    finished.output = process.readAll().toStdString();
    finished.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return finished;
}

sockaddr_un socketAddress(const std::string &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    EXPECT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    return address;
}

// A socket listening at path, as an instance does; -1 on failure.
int listenAt(const std::string &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = socketAddress(path);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        listen(fd, 1) != 0)
        return -1;
    return fd;
}

// What a crashed instance leaves: a socket file nobody listens on.
void leaveStaleSocket(const std::string &path)
{
    const int fd = listenAt(path);
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_TRUE(fs::is_socket(path));
}

// A connection to the instance's socket, as a later start makes; -1 on failure.
int connectToInstance()
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_un address = socketAddress(instanceSocketPath());
    if (fd >= 0 && connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// Whether fd has something to read, or its other end has gone.
bool readable(int fd, int timeoutMs = 0)
{
    pollfd ready = {fd, POLLIN, 0};
    return poll(&ready, 1, timeoutMs) > 0;
}

// Reads from fd until it holds a whole hand-over message (the magic, the
// length and the paths); false when it ends or stalls first.
bool readWholeMessage(int fd)
{
    std::string buffer;
    for (;;) {
        if (buffer.size() >= 8) {
            std::uint32_t size = 0;
            for (std::size_t i = 4; i < 8; ++i)
                size = (size << 8) | std::uint8_t(buffer[i]);
            if (buffer.size() >= 8 + size)
                return true;
        }
        char chunk[4096];
        if (!readable(fd, 10000))
            return false;
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            return false;
        buffer.append(chunk, std::size_t(n));
    }
}

void startRunningInstance()
{
    useFreshRuntimeFolder();
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    ASSERT_TRUE(fs::is_socket(instanceSocketPath()));
    EXPECT_EQ(fs::path(instanceSocketPath()).parent_path(), fs::path(getenv("XDG_RUNTIME_DIR")));
}

} // namespace

TEST(SingleInstance, LaterStartHandsItsFilesOverAndEndsWithZero)
{
    startRunningInstance();
    const std::string folder = TempFolder();
    CopySavedTable(folder, "first.qrtb");
    CopySavedTable(folder, "second.qrtb");
    // Relative names, as a file manager may pass them: the later start
    // makes them absolute in its own folder.
    const Finished later = startLater({"first.qrtb", "missing.qrtb", "second.qrtb"}, folder);
    EXPECT_EQ(later.exitCode, 0) << later.output;
    EXPECT_EQ(later.output, "");
    ASSERT_TRUE(runEventsUntil([]() { return BGetNumberOfDocuments() == 2; }, 10000))
        << BGetNumberOfDocuments();
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"first.qrtb", "second.qrtb"}));
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "Could not open \u201cmissing.qrtb\u201d");
    EXPECT_EQ(alerts[0].explanation, "There is no such file: " + folder + "/missing.qrtb");
    // The opened windows come to the front.
    EXPECT_EQ(platform::frontWindow(), DocumentAt(1));
    ReleaseSingleInstance();
}

TEST(SingleInstance, LaterStartWithoutFilesOpensNothingAndEndsWithZero)
{
    startRunningInstance();
    const Finished later = startLater({}, TempFolder());
    EXPECT_EQ(later.exitCode, 0) << later.output;
    // Hand-overs are taken in turn: once the next start's file is open, the
    // empty one has been dealt with. The untouched untitled window gives
    // way to the file, as at launch.
    const std::string folder = TempFolder();
    EXPECT_EQ(startLater({CopySavedTable(folder, "next.qrtb")}, folder).exitCode, 0);
    ASSERT_TRUE(runEventsUntil(
        []() { return BGetNumberOfDocuments() >= 1 && DocumentTitles().back() == "next.qrtb"; }, 10000));
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"next.qrtb"}));
    EXPECT_TRUE(TakeShownAlerts().empty());
    ReleaseSingleInstance();
}

TEST(SingleInstance, SocketLeftByACrashedInstanceIsTakenOver)
{
    useFreshRuntimeFolder();
    leaveStaleSocket(instanceSocketPath());
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    const std::string folder = TempFolder();
    const Finished later = startLater({CopySavedTable(folder, "after-crash.qrtb")}, folder);
    EXPECT_EQ(later.exitCode, 0) << later.output;
    ASSERT_TRUE(runEventsUntil(
        []() { return DocumentTitles() == std::vector<std::string>{"after-crash.qrtb"}; }, 10000));
    ReleaseSingleInstance();
    EXPECT_FALSE(fs::exists(instanceSocketPath()));
}

TEST(SingleInstance, ForeignBytesOnTheSocketOpenNothing)
{
    startRunningInstance();
    const int fd = connectToInstance();
    ASSERT_GE(fd, 0);
    const char junk[] = "GET / HTTP/1.0\r\n\r\n/etc/passwd";
    ASSERT_EQ(write(fd, junk, sizeof junk), ssize_t(sizeof junk));
    ASSERT_TRUE(runEventsUntil([&]() { return readable(fd); }, 10000));
    char answer = 0;
    EXPECT_EQ(read(fd, &answer, 1), 0); // dropped without an answer
    close(fd);
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"Untitled "}));
    // The running instance still takes a real later start.
    const std::string folder = TempFolder();
    EXPECT_EQ(startLater({CopySavedTable(folder, "still.qrtb")}, folder).exitCode, 0);
    EXPECT_TRUE(runEventsUntil(
        []() { return BGetNumberOfDocuments() == 1 && DocumentTitles()[0] == "still.qrtb"; }, 10000));
    ReleaseSingleInstance();
}

TEST(SingleInstance, FilesWaitWhileTheTableWindowIsUp)
{
    startRunningInstance();
    const std::string folder = TempFolder();
    const std::string file = CopySavedTable(folder, "later.qrtb");
    std::vector<std::string> titlesWhileModal;
    RunTableWindow([&](QWidget *) {
        // The table window computes into the current document: a file
        // opened now would take its place.
        EXPECT_EQ(startLater({file}, folder).exitCode, 0);
        // A second start answered: the first one's files have come to the
        // event loop since and wait there.
        EXPECT_EQ(startLater({}, folder).exitCode, 0);
        titlesWhileModal = DocumentTitles();
    });
    EXPECT_EQ(titlesWhileModal, (std::vector<std::string>{"Untitled "}));
    EXPECT_TRUE(runEventsUntil(
        []() { return BGetNumberOfDocuments() == 1 && DocumentTitles()[0] == "later.qrtb"; }, 10000));
    ReleaseSingleInstance();
}

namespace
{

// Whether the process has a handler for the signal (its status file's SigCgt).
bool catches(qint64 pid, int signalNumber)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return std::stoull(line.substr(7), nullptr, 16) & (1ull << (signalNumber - 1));
    return false;
}

} // namespace

TEST(SingleInstance, QuittingRemovesTheSocket)
{
    useFreshRuntimeFolder();
    StartPlatform(); // for the event loop below
    QProcess running;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    running.setProcessEnvironment(environment);
    running.start(QStringLiteral(QRL_APP_PATH), {});
    ASSERT_TRUE(running.waitForStarted(10000));
    const std::string socketPath = instanceSocketPath();
    EXPECT_TRUE(runEventsUntil(
        [&]() { return fs::is_socket(socketPath) && catches(running.processId(), SIGTERM); }, 30000));
    kill(pid_t(running.processId()), SIGTERM);
    ASSERT_TRUE(running.waitForFinished(30000));
    EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running.exitCode(), 0);
    EXPECT_FALSE(fs::exists(socketPath));
}

// More paths than a hand-over may carry: the later start says so, and ends
// with 1.
TEST(SingleInstance, TooLongAListOfFilesIsSaid)
{
    startRunningInstance();
    const std::vector<std::string> names(300, std::string(4000, 'n') + ".qrtb"); // 1.2 MB
    const Finished later = startLater(names, TempFolder());
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_NE(later.output.find("quorlscope: the list of files is too long to hand to the running Quorlscope "
                                "(more than 1048576 bytes)\n"),
              std::string::npos)
        << later.output;
    ReleaseSingleInstance();
}

// A running instance that takes the files and never answers: Ctrl+C or
// SIGTERM ends the later start's wait at once, by that signal.
TEST(SingleInstance, SignalEndsALaterStartWaitingForTheAnswer)
{
    useFreshRuntimeFolder();
    StartPlatform();
    const int listener = listenAt(instanceSocketPath());
    ASSERT_GE(listener, 0);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        QProcess later;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        later.setProcessEnvironment(environment);
        later.start(QStringLiteral(QRL_APP_PATH), {QStringLiteral("waiting.qrtb")});
        ASSERT_TRUE(later.waitForStarted(10000));
        ASSERT_TRUE(readable(listener, 30000)) << "no connection";
        const int connection = accept(listener, nullptr, nullptr);
        ASSERT_GE(connection, 0);
        ASSERT_TRUE(readWholeMessage(connection)); // it now waits for the answer
        kill(pid_t(later.processId()), signalNumber);
        // Well before the answer's own time limit (30 s) runs out.
        EXPECT_TRUE(later.waitForFinished(10000)) << signalNumber;
        EXPECT_EQ(later.exitStatus(), QProcess::CrashExit) << signalNumber;
        EXPECT_EQ(later.exitCode(), signalNumber); // for a crash: the signal that ended it
        later.kill();
        later.waitForFinished();
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
    startRunningInstance();
    const int client = connectToInstance();
    ASSERT_GE(client, 0);
    const std::string noFiles("QRL1\0\0\0\0", 8);
    ASSERT_EQ(write(client, noFiles.data(), noFiles.size()), ssize_t(noFiles.size()));
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
    const bool answered = runEventsUntil([&]() { return readable(client); }, 10000);
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
