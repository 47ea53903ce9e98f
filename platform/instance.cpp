// One running instance through a Unix-domain socket in the user's runtime
// folder. A later instance connects, sends its files and waits for the
// running one to take them. The message is "QRL1", a 32-bit big-endian
// length and the paths in UTF-8, each ended by a NUL; the answer is one
// byte, 'A'. A lock file beside the socket makes "connect, or else listen"
// one step, so two instances starting together never both listen.
//
// Plain sockets watched by QSocketNotifier: Qt's network module would load
// itself and the libraries it brings (Kerberos, proxy lookup) at every
// start, for this alone.
#include "instance.h"

#include "bundle.h"
#include "frontwindow.h"
#include "internal.h"
#include "sessionend.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLockFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace
{

const std::string kMagic = "QRL1";
constexpr char kAnswer = 'A';
constexpr std::size_t kHeaderSize = 8;              // magic and length
constexpr std::uint32_t kMaxMessageSize = 1u << 20; // far beyond any real list of files
constexpr int kConnectTimeoutMs = 2000;
constexpr int kConnectRetryMs = 10;
constexpr int kAnswerTimeoutMs = 30000; // the running instance may be in its splash wait
constexpr int kLockTimeoutMs = 10000;
constexpr int kClientTimeoutMs = 10000; // a sender that stalls is dropped
constexpr int kLoopWaitMs = 50;
constexpr int kBacklog = 16;
constexpr int kAcceptPauseMs = 100; // out of descriptors: the next try

struct Listening {
    int fd = -1;
    std::string path;
    QPointer<QSocketNotifier> notifier;
};
Listening listening;
HandedOverFilesProc handedOverReceiver = nullptr;

} // namespace

std::string instanceSocketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    return runtime.toStdString() + '/' + platform::preferencesDomain() + ".socket";
}

namespace
{

// False when the path does not fit a socket address.
bool socketAddress(const std::string &path, sockaddr_un *address)
{
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address->sun_path)
        return false;
    path.copy(address->sun_path, path.size());
    return true;
}

std::string encode(const std::vector<std::string> &files)
{
    std::string body;
    for (const std::string &file : files) {
        body += file;
        body += '\0';
    }
    const auto size = std::uint32_t(body.size());
    std::string message = kMagic;
    for (int shift = 24; shift >= 0; shift -= 8)
        message += char((size >> shift) & 0xff);
    return message + body;
}

// The files of a complete message; false while more is to come, or for a
// message that is not ours (then *bad is set).
bool decode(const std::string &buffer, std::vector<std::string> *files, bool *bad)
{
    if (buffer.size() < kHeaderSize)
        return false;
    std::uint32_t size = 0;
    for (std::size_t i = 4; i < kHeaderSize; ++i)
        size = (size << 8) | std::uint8_t(buffer[i]);
    if (buffer.compare(0, kMagic.size(), kMagic) != 0 || size > kMaxMessageSize) {
        *bad = true;
        return false;
    }
    if (buffer.size() < kHeaderSize + size)
        return false;
    std::size_t from = kHeaderSize;
    const std::size_t end = kHeaderSize + size;
    while (from < end) {
        std::size_t nul = buffer.find('\0', from);
        if (nul == std::string::npos || nul > end)
            nul = end;
        if (nul > from)
            files->push_back(buffer.substr(from, nul - from));
        from = nul + 1;
    }
    return true;
}

double monotonicMs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// Waits until fd is ready for events; false when the time runs out first.
bool waitFor(int fd, short events, int timeoutMs)
{
    const double deadline = monotonicMs() + timeoutMs;
    for (;;) {
        const int left = int(deadline - monotonicMs());
        if (left < 0)
            return false;
        pollfd ready = {fd, events, 0};
        const int n = poll(&ready, 1, left);
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

// Brings the front window up, unminimized, so the user sees the files open.
void bringFrontWindowUp()
{
    QWidget *widget = platform::frontWindow(); // the window the handed-over files opened in
    if (!widget || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    if (widget->isMinimized())
        widget->showNormal();
    widget->raise();
    widget->activateWindow();
}

// Files arriving during start-up wait for the event loop, so they open
// after the first document exists, like files given at launch. While an
// application-modal window or alert is up they wait too: the table window
// computes into the current document, which opening a file would change.
void deliver(const std::vector<std::string> &files)
{
    if (!platform::eventLoopRunning() || QApplication::activeModalWidget()) {
        QTimer::singleShot(kLoopWaitMs, qApp, [files]() { deliver(files); });
        return;
    }
    if (handedOverReceiver)
        handedOverReceiver(files);
    bringFrontWindowUp();
}

// One sender's connection: read as it arrives, answered once complete,
// dropped when it sends what is not ours or stalls. Deletes itself when done.
class Connection : public QObject
{
  public:
    explicit Connection(int fd)
        : QObject(qApp), fd_(fd), notifier_(new QSocketNotifier(fd, QSocketNotifier::Read, this))
    {
        QObject::connect(notifier_, &QSocketNotifier::activated, this, [this]() { readAvailable(); });
        QTimer::singleShot(kClientTimeoutMs, this, [this]() { finish(); });
    }

  private:
    void readAvailable()
    {
        char chunk[4096];
        while (fd_ >= 0) {
            const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n <= 0) // the sender went away, or the socket failed
                return finish();
            buffer_.append(chunk, std::size_t(n));
            std::vector<std::string> files;
            bool bad = false;
            if (decode(buffer_, &files, &bad))
                return answer(files);
            if (bad)
                return finish();
        }
    }

    void answer(const std::vector<std::string> &files)
    {
        ssize_t sent;
        do
            sent = send(fd_, &kAnswer, 1, MSG_NOSIGNAL);
        while (sent < 0 && errno == EINTR);
        finish();
        // Opening may show alerts; the sender is answered first.
        QTimer::singleShot(0, qApp, [files]() { deliver(files); });
    }

    void finish()
    {
        if (fd_ < 0)
            return;
        notifier_->setEnabled(false);
        close(fd_);
        fd_ = -1;
        deleteLater();
    }

    int fd_;
    std::string buffer_;
    QSocketNotifier *notifier_;
};

bool outOfDescriptors(int error)
{
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

// Without a descriptor to spare the connection stays queued and the socket
// stays readable: the notifier rests a moment rather than fire at once again.
void pauseAccepting()
{
    listening.notifier->setEnabled(false);
    QTimer::singleShot(kAcceptPauseMs, qApp, []() {
        if (listening.notifier)
            listening.notifier->setEnabled(true);
    });
}

void acceptPending()
{
    for (;;) {
        const int fd = accept4(listening.fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0 && errno == EINTR)
            continue;
        if (fd < 0 && outOfDescriptors(errno))
            return pauseAccepting();
        if (fd < 0)
            return;
        new Connection(fd);
    }
}

enum class HandOver { noInstance, done, noAnswer, tooLong };

bool sendAll(int fd, const std::string &message)
{
    std::size_t written = 0;
    while (written < message.size()) {
        if (!waitFor(fd, POLLOUT, kAnswerTimeoutMs))
            return false;
        const ssize_t n = send(fd, message.data() + written, message.size() - written, MSG_NOSIGNAL);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return false;
        written += std::size_t(n);
    }
    return true;
}

char readAnswer(int fd)
{
    char answer = 0;
    for (;;) {
        if (!waitFor(fd, POLLIN, kAnswerTimeoutMs))
            return 0;
        const ssize_t n = recv(fd, &answer, 1, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        return n == 1 ? answer : 0;
    }
}

HandOver handOver(const std::string &path, const std::vector<std::string> &files)
{
    sockaddr_un address;
    if (!socketAddress(path, &address))
        return HandOver::noInstance;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return HandOver::noInstance;
    // A full backlog (EAGAIN) means an instance is there with many starts
    // queued up: it is tried again for a while, then counts as not answering.
    const double deadline = monotonicMs() + kConnectTimeoutMs;
    int connected;
    while ((connected = connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address)) < 0 &&
           (errno == EINTR || (errno == EAGAIN && monotonicMs() < deadline)))
        if (errno == EAGAIN)
            usleep(kConnectRetryMs * 1000);
    const bool backlogFull = connected < 0 && errno == EAGAIN;
    HandOver result = HandOver::noInstance;
    const std::string message = encode(files);
    if (connected == 0 && message.size() > kHeaderSize + kMaxMessageSize)
        result = HandOver::tooLong; // the running instance would refuse it
    else if (connected == 0)
        result = sendAll(fd, message) && readAnswer(fd) == kAnswer ? HandOver::done : HandOver::noAnswer;
    else if (backlogFull)
        result = HandOver::noAnswer;
    close(fd);
    return result;
}

bool listen(const std::string &path)
{
    sockaddr_un address;
    if (!socketAddress(path, &address)) {
        std::fprintf(stderr, "%s: the socket path %s is too long; later starts will not reach this one\n",
                     platform::commandName().c_str(), path.c_str());
        return false;
    }
    // Whatever is at the path answers no one: a socket left by a crash.
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // The socket is the user's alone, as the runtime folder is.
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        chmod(path.c_str(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, kBacklog) != 0) {
        std::fprintf(stderr, "%s: cannot listen on %s: %s; later starts will not reach this one\n",
                     platform::commandName().c_str(), path.c_str(), std::strerror(errno));
        if (fd >= 0) {
            close(fd);
            unlink(path.c_str());
        }
        return false;
    }
    listening.fd = fd;
    listening.path = path;
    listening.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
    QObject::connect(listening.notifier, &QSocketNotifier::activated, qApp, []() { acceptPending(); });
    return true;
}

// Takes the lock beside the socket and hands the files over. The waits may
// be long (a running instance in its splash wait, a stuck holder of the
// lock): a termination signal ends them, and the process, at once.
HandOver lockAndHandOver(QLockFile &lock, const std::string &path, const std::vector<std::string> &files)
{
    const platform::SignalsEndProcess stopOnSignal;
    // Without the lock (a stuck holder) the worst case is two instances.
    lock.tryLock(kLockTimeoutMs);
    return handOver(path, files);
}

void reportHandOverFailure(HandOver failure, const std::string &path)
{
    const std::string command = platform::commandName();
    const std::string name = platform::bundleName();
    if (failure == HandOver::tooLong)
        std::fprintf(stderr,
                     "%s: the list of files is too long to hand to the running %s (more than %u bytes)\n",
                     command.c_str(), name.c_str(), unsigned(kMaxMessageSize));
    else
        std::fprintf(stderr, "%s: the running %s did not answer (%s)\n", command.c_str(), name.c_str(),
                     path.c_str());
}

} // namespace

InstanceRole ClaimSingleInstance(const std::vector<std::string> &files, HandedOverFilesProc receiver)
{
    handedOverReceiver = receiver;
    const std::string path = instanceSocketPath();
    if (path.empty()) {
        std::fprintf(stderr, "%s: no runtime folder; running on its own\n", platform::commandName().c_str());
        return InstanceRole::running;
    }
    QLockFile lock(QString::fromStdString(path + ".lock"));
    const HandOver handed = lockAndHandOver(lock, path, files);
    if (handed == HandOver::done)
        return InstanceRole::handedOver;
    if (handed != HandOver::noInstance) {
        reportHandOverFailure(handed, path);
        return InstanceRole::failed;
    }
    listen(path);
    lock.unlock(); // nothing when it was never taken
    return InstanceRole::running;
}

void ReleaseSingleInstance()
{
    if (listening.fd >= 0) {
        delete listening.notifier.data();
        close(listening.fd);
        unlink(listening.path.c_str());
        listening = Listening{};
    }
    handedOverReceiver = nullptr;
}
