// One running instance: a later start (through the launcher) hands its files to this process.
#include "app/opendocuments.h"
#include "platform/instance.h"
#include "tests/support/app_driver.h"

#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

// The program started in folder as a file manager starts it, offscreen as this process.
std::unique_ptr<QProcess> Start(const QStringList &arguments, const std::string &folder = "/")
{
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(QString::fromStdString(folder));
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QStringLiteral(QRL_APP_PATH), arguments);
    EXPECT_TRUE(process->waitForStarted(10000));
    return process;
}

// A later start run to its end while this process answers: status, output.
std::pair<int, std::string> StartLater(const QStringList &arguments, const std::string &folder)
{
    const std::unique_ptr<QProcess> process = Start(arguments, folder);
    EXPECT_TRUE(QTest::qWaitFor([&]() { return process->state() == QProcess::NotRunning; }, 60000));
    return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
            process->readAll().toStdString()};
}

// A socket listening at path as an instance does; -1 on failure.
int Listening(const std::string &path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (fd >= 0 && bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
        listen(fd, 1) == 0)
        return fd;
    close(fd);
    return -1;
}

} // namespace

// One row per later start on an instance that took over the socket a crashed one left: status, output,
// documents, alerts; names made absolute in its folder; the untitled window gives way. Then a signal.
TEST(SingleInstance, LaterStartsHandTheirFilesOverOrEndOnASignal)
{
    setenv("XDG_RUNTIME_DIR", FreshFolder().c_str(), 1); // no other test's instance answers
    close(Listening(instanceSocketPath()));              // what a crash leaves: nobody listens
    StartApplication();
    ASSERT_EQ(ClaimSingleInstance({}, BOpenHandedOverDocuments), InstanceRole::running);
    const std::string folder = FreshFolder(), tooLong = std::string(4000, 'n') + ".qrtb"; // 300: 1.2 MB
    for (const char *name : {"first.qrtb", "second.qrtb"})
        fs::copy_file(QRL_SOURCE_DIR "/docs/portrait-50mm.qrtb", folder + "/" + name);
    fs::create_directory(folder + "/folder.qrtb");
    const struct {
        QStringList arguments;
        int status;
        std::string output;
        std::vector<std::string> titles, alerts;
    } rows[] = {
        // clang-format off
        {{}, 0, "", {"Untitled "}, {}},
        {{"first.qrtb", "missing.qrtb", "folder.qrtb", "second.qrtb"}, 0, "", {"first.qrtb", "second.qrtb"},
         {"Could not open \u201cmissing.qrtb\u201d", "There is no such file: " + folder + "/missing.qrtb",
          "Could not open \u201cfolder.qrtb\u201d", "It is not a file: " + folder + "/folder.qrtb"}},
        {QStringList(300, QString::fromStdString(tooLong)), 1, "quorlscope: the list of files is too long to hand "
         "to the running Quorlscope (more than 1048576 bytes)\n", {"first.qrtb", "second.qrtb"}, {}}};
    // clang-format on
    for (const auto &row : rows) {
        const auto [status, output] = StartLater(row.arguments, folder);
        EXPECT_EQ(status, row.status) << output;
        EXPECT_TRUE(row.output.empty() ? output.empty() : output.find(row.output) != std::string::npos)
            << output;
        EXPECT_TRUE(QTest::qWaitFor([&]() { return DocumentTitles() == row.titles; }, 10000));
        EXPECT_EQ(DocumentTitles(), row.titles);
        EXPECT_EQ(Alerts(), row.alerts);
    }
    EXPECT_EQ(platform::frontWindow(), DocumentAt(1)); // the opened windows come to the front
    ReleaseSingleInstance();
    EXPECT_FALSE(fs::exists(instanceSocketPath()));
    // An instance that takes the files and never answers: SIGINT or SIGTERM ends the later start at once.
    const int listener = Listening(instanceSocketPath());
    ASSERT_GE(listener, 0);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const std::unique_ptr<QProcess> later = Start({"waiting.qrtb"});
        pollfd ready = {listener, POLLIN, 0};
        ASSERT_GT(poll(&ready, 1, 30000), 0) << "no connection";
        const int connection = accept(listener, nullptr, nullptr);
        // The whole message read (magic, length, paths): it now waits for the answer.
        const timeval limit = {10, 0};
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        unsigned char head[8] = {};
        ASSERT_EQ(recv(connection, head, 8, MSG_WAITALL), 8);
        std::vector<char> paths(std::size_t(head[4]) << 24 | head[5] << 16 | head[6] << 8 | head[7]);
        ASSERT_EQ(recv(connection, paths.data(), paths.size(), MSG_WAITALL), ssize_t(paths.size()));
        kill(pid_t(later->processId()), signalNumber);
        EXPECT_TRUE(later->waitForFinished(10000)) << signalNumber; // well before the answer's 30 s
        EXPECT_EQ(std::make_pair(later->exitStatus(), later->exitCode()),
                  std::make_pair(QProcess::CrashExit, signalNumber));
        close(connection);
    }
    close(listener);
}
