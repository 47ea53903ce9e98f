// One running instance: a later start of the program hands its files to the
// running one and ends with 0. The running instance is this test process
// (headless); the later start is the real program in a second process.
#include "app/opendocuments.h"
#include "document/document.h"
#include "platform/instance.h"
#include "tests/support/app_driver.h"

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

// What a crashed instance leaves: a socket file nobody listens on.
void leaveStaleSocket(const std::string &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(listen(fd, 1), 0);
    close(fd);
    ASSERT_TRUE(fs::is_socket(path));
}

void startRunningInstance()
{
    useFreshRuntimeFolder();
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    ASSERT_TRUE(fs::is_socket(GetInstanceSocketPath()));
    EXPECT_EQ(fs::path(GetInstanceSocketPath()).parent_path(), fs::path(getenv("XDG_RUNTIME_DIR")));
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
    EXPECT_EQ(FrontWindow(), DocumentWindow(1));
    ReleaseSingleInstance();
}

TEST(SingleInstance, LaterStartWithoutFilesOpensNothingAndEndsWithZero)
{
    startRunningInstance();
    const Finished later = startLater({}, TempFolder());
    EXPECT_EQ(later.exitCode, 0) << later.output;
    runEventsUntil([]() { return false; }, 300);
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"Untitled "}));
    EXPECT_TRUE(TakeShownAlerts().empty());
    ReleaseSingleInstance();
}

TEST(SingleInstance, SocketLeftByACrashedInstanceIsTakenOver)
{
    useFreshRuntimeFolder();
    leaveStaleSocket(GetInstanceSocketPath());
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    const std::string folder = TempFolder();
    const Finished later = startLater({CopySavedTable(folder, "after-crash.qrtb")}, folder);
    EXPECT_EQ(later.exitCode, 0) << later.output;
    ASSERT_TRUE(runEventsUntil(
        []() { return DocumentTitles() == std::vector<std::string>{"after-crash.qrtb"}; }, 10000));
    ReleaseSingleInstance();
    EXPECT_FALSE(fs::exists(GetInstanceSocketPath()));
}

TEST(SingleInstance, ForeignBytesOnTheSocketOpenNothing)
{
    startRunningInstance();
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    GetInstanceSocketPath().copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    const char junk[] = "GET / HTTP/1.0\r\n\r\n/etc/passwd";
    ASSERT_EQ(write(fd, junk, sizeof junk), ssize_t(sizeof junk));
    runEventsUntil([]() { return false; }, 300);
    char answer = 0;
    EXPECT_LE(read(fd, &answer, 1), 0); // dropped without an answer
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
    RunTableWindow([&](WindowRef) {
        // The table window computes into the current document: a file
        // opened now would take its place.
        EXPECT_EQ(startLater({file}, folder).exitCode, 0);
        runEventsUntil([]() { return false; }, 300);
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
    const std::string socketPath = GetInstanceSocketPath();
    EXPECT_TRUE(runEventsUntil(
        [&]() { return fs::is_socket(socketPath) && catches(running.processId(), SIGTERM); }, 30000));
    kill(pid_t(running.processId()), SIGTERM);
    ASSERT_TRUE(running.waitForFinished(30000));
    EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running.exitCode(), 0);
    EXPECT_FALSE(fs::exists(socketPath));
}
