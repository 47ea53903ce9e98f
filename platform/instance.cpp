// A later start sends "QRL1", a 32-bit big-endian length and its paths, each
// ended by a NUL, and waits for 'A'. The lock file makes "connect, or else
// listen" one step. Plain sockets: Qt Network would load at every start.
#include "instance.h"

#include "bundle.h"
#include "frontwindow.h"
#include "internal.h"

#include <QApplication>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

const QByteArray kMagic = QByteArrayLiteral("QRL1");
constexpr char kAnswer = 'A';
constexpr qsizetype kHeaderSize = 8;          // magic and length
constexpr quint32 kMaxMessageSize = 1u << 20; // far beyond any real list of files

int listeningFd = -1;
std::string listeningPath;
QPointer<QSocketNotifier> listener;
HandedOverFilesProc handedOverReceiver = nullptr;

// The files wait for the event loop (they open after the first document, as
// at launch) and for any modal window to close: the table window computes
// into the current document, which opening a file would change.
void deliver(const std::vector<std::string> &files)
{
    if (!platform::eventLoopRunning() || QApplication::activeModalWidget()) {
        QTimer::singleShot(50, qApp, [files]() { deliver(files); });
        return;
    }
    if (handedOverReceiver)
        handedOverReceiver(files);
    // The window the files opened in comes up, so the user sees them.
    QWidget *widget = platform::frontWindow();
    if (widget && widget->isMinimized() && QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->showNormal();
    platform::selectWindow(widget);
}

// One sender's connection: answered once its message is complete, dropped
// when it sends what is not ours or stalls. Deletes itself when done.
class Connection : public QObject
{
  public:
    explicit Connection(int fd) : QObject(qApp), fd_(fd), notifier_(fd, QSocketNotifier::Read)
    {
        connect(&notifier_, &QSocketNotifier::activated, this, &Connection::readAvailable);
        QTimer::singleShot(10000, this, &Connection::finish);
    }
    ~Connection() override { close(fd_); }

  private:
    void readAvailable()
    {
        char chunk[4096];
        for (;;) {
            const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return; // the notifier calls again
            if (n <= 0)
                return finish(); // the sender went away
            buffer_.append(chunk, n);
            if (buffer_.size() < kHeaderSize)
                continue;
            const auto size = qFromBigEndian<quint32>(buffer_.constData() + 4);
            if (!buffer_.startsWith(kMagic) || size > kMaxMessageSize)
                return finish();
            if (buffer_.size() < kHeaderSize + qsizetype(size))
                continue;
            [[maybe_unused]] const ssize_t sent = send(fd_, &kAnswer, 1, MSG_NOSIGNAL);
            std::vector<std::string> files;
            for (const QByteArray &file : buffer_.mid(kHeaderSize, size).split('\0'))
                if (!file.isEmpty())
                    files.push_back(file.toStdString());
            // Opening may show alerts; the sender is answered first.
            QTimer::singleShot(0, qApp, [files]() { deliver(files); });
            return finish();
        }
    }

    void finish()
    {
        notifier_.setEnabled(false);
        deleteLater();
    }

    int fd_;
    QSocketNotifier notifier_;
    QByteArray buffer_;
};

// Empty once listening, else why later starts will not reach this one.
std::string listen(const std::string &path, const sockaddr_un &address)
{
    if (!address.sun_path[0])
        return "the socket path " + path + " is too long";
    unlink(path.c_str()); // a socket left by a crash answers no one
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // The socket is the user's alone, as the runtime folder is.
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) ||
        chmod(path.c_str(), S_IRUSR | S_IWUSR) || ::listen(fd, 16)) {
        const std::string fault = "cannot listen on " + path + ": " + std::strerror(errno);
        if (fd >= 0) {
            close(fd);
            unlink(path.c_str());
        }
        return fault;
    }
    listeningFd = fd;
    listeningPath = path;
    listener = new QSocketNotifier(fd, QSocketNotifier::Read, qApp);
    QObject::connect(listener, &QSocketNotifier::activated, qApp, []() {
        int connection;
        while ((connection = accept4(listeningFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0 ||
               errno == EINTR)
            if (connection >= 0)
                new Connection(connection);
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            // Out of descriptors the connection stays queued and the socket
            // readable: the notifier rests a moment rather than fire at once again.
            listener->setEnabled(false);
            QTimer::singleShot(100, listener, []() { listener->setEnabled(true); });
        }
    });
    return {};
}

// The blocking socket's waits (connecting to a full backlog, sending, the
// answer) end after ms.
void setTimeouts(int fd, int ms)
{
    const timeval limit = {ms / 1000, (ms % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

// Empty when the files were handed over, nothing when no instance listens,
// else what went wrong.
std::optional<std::string> handOver(const std::string &path, const sockaddr_un &address,
                                    const std::vector<std::string> &files)
{
    const int fd = address.sun_path[0] ? socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
    if (fd < 0)
        return std::nullopt;
    const std::string name = platform::bundleName();
    QByteArray body;
    for (const std::string &file : files)
        body.append(file.data(), qsizetype(file.size())).append('\0');
    // A full backlog (many starts queued up) is waited for a while, then
    // counts as not answering.
    setTimeouts(fd, 2000);
    std::optional<std::string> fault = "the running " + name + " did not answer (" + path + ")";
    int connected;
    do // a signal's handler interrupts the wait; the socket is then still unconnected
        connected = connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    while (connected != 0 && errno == EINTR);
    if (connected != 0) {
        if (errno != EAGAIN)
            fault.reset();
    } else if (body.size() > qsizetype(kMaxMessageSize)) {
        fault = "the list of files is too long to hand to the running " + name + " (more than " +
                std::to_string(kMaxMessageSize) + " bytes)";
    } else {
        setTimeouts(fd, 30000); // the running instance may be in its splash wait
        char length[4];
        qToBigEndian(quint32(body.size()), length);
        const QByteArray message = kMagic + QByteArray(length, 4) + body;
        char answer = 0;
        if (send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL) == message.size() &&
            TEMP_FAILURE_RETRY(recv(fd, &answer, 1, 0)) == 1 && answer == kAnswer)
            fault = "";
    }
    close(fd);
    return fault;
}

} // namespace

std::string instanceSocketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? std::string()
                             : runtime.toStdString() + '/' + platform::preferencesDomain() + ".socket";
}

InstanceRole ClaimSingleInstance(const std::vector<std::string> &files, HandedOverFilesProc receiver)
{
    handedOverReceiver = receiver;
    const std::string path = instanceSocketPath();
    const std::string command = platform::commandName();
    if (path.empty()) {
        std::fprintf(stderr, "%s: no runtime folder; running on its own\n", command.c_str());
        return InstanceRole::running;
    }
    sockaddr_un address = {AF_UNIX, {}};
    if (path.size() < sizeof address.sun_path) // else empty: the path does not fit
        path.copy(address.sun_path, path.size());
    QLockFile lock(QString::fromStdString(path + ".lock"));
    std::optional<std::string> fault;
    {
        // The waits may be long (the running instance in its splash wait, a
        // stuck holder of the lock): a termination signal ends the process.
        const platform::SignalsEndProcess stopOnSignal;
        lock.tryLock(10000); // without the lock the worst case is two instances
        fault = handOver(path, address, files);
    }
    if (fault && fault->empty())
        return InstanceRole::handedOver;
    if (fault) {
        std::fprintf(stderr, "%s: %s\n", command.c_str(), fault->c_str());
        return InstanceRole::failed;
    }
    if (const std::string why = listen(path, address); !why.empty())
        std::fprintf(stderr, "%s: %s; later starts will not reach this one\n", command.c_str(), why.c_str());
    return InstanceRole::running;
}

void ReleaseSingleInstance()
{
    if (listeningFd >= 0) {
        delete listener.data();
        close(listeningFd);
        unlink(listeningPath.c_str());
        listeningFd = -1;
    }
    handedOverReceiver = nullptr;
}
