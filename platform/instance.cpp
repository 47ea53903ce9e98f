// One running instance through QLocalServer and QLocalSocket. A later
// instance connects, sends its files and waits for the running one to take
// them. The message is "QRL1", a 32-bit big-endian length and the paths in
// UTF-8, each ended by a NUL; the answer is one byte, 'A'. A lock file
// beside the socket makes "connect, or else listen" one step, so two
// instances starting together never both listen.
#include "instance.h"

#include "bundle.h"
#include "internal.h"
#include "window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDataStream>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace
{

const QByteArray kMagic = QByteArrayLiteral("QRL1");
constexpr char kAnswer = 'A';
constexpr int kHeaderSize = 8;                // magic and length
constexpr quint32 kMaxMessageSize = 1u << 20; // far beyond any real list of files
constexpr int kConnectTimeoutMs = 2000;
constexpr int kAnswerTimeoutMs = 30000; // the running instance may be in its splash wait
constexpr int kLockTimeoutMs = 10000;
constexpr int kClientTimeoutMs = 10000; // a sender that stalls is dropped
constexpr int kLoopWaitMs = 50;

QPointer<QLocalServer> server;
HandedOverFilesProc handedOverReceiver = nullptr;

QString socketPath()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const std::string id = GetBundlePreferencesDomain();
    return runtime + QLatin1Char('/') + QString::fromStdString(id) + QStringLiteral(".socket");
}

QByteArray encode(const std::vector<std::string> &files)
{
    QByteArray body;
    for (const std::string &file : files) {
        body.append(file.data(), qsizetype(file.size()));
        body.append('\0');
    }
    QByteArray message = kMagic;
    QDataStream(&message, QIODevice::Append) << quint32(body.size());
    return message + body;
}

// The files of a complete message; false while more is to come, or for a
// message that is not ours (then *bad is set).
bool decode(const QByteArray &buffer, std::vector<std::string> *files, bool *bad)
{
    if (buffer.size() < kHeaderSize)
        return false;
    quint32 size = 0;
    QDataStream(buffer.mid(4, 4)) >> size;
    if (!buffer.startsWith(kMagic) || size > kMaxMessageSize) {
        *bad = true;
        return false;
    }
    if (buffer.size() < kHeaderSize + qsizetype(size))
        return false;
    const QByteArray body = buffer.mid(kHeaderSize, size);
    for (const QByteArray &path : body.split('\0'))
        if (!path.isEmpty())
            files->push_back(path.toStdString());
    return true;
}

// Brings the front window up, unminimized, so the user sees the files open.
void bringFrontWindowUp()
{
    WindowRef front = FrontWindow();
    if (!front || !front->widget || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    QWidget *widget = front->widget;
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

void receive(QLocalSocket *socket)
{
    struct Received {
        QByteArray buffer;
        bool answered = false; // one message per connection
    };
    auto received = std::make_shared<Received>();
    QTimer::singleShot(kClientTimeoutMs, socket, [socket]() { socket->abort(); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received]() {
        const QByteArray data = socket->readAll();
        if (received->answered)
            return;
        received->buffer.append(data);
        std::vector<std::string> files;
        bool bad = false;
        const bool complete = decode(received->buffer, &files, &bad);
        if (bad) {
            socket->abort();
            return;
        }
        if (!complete)
            return;
        received->answered = true;
        socket->write(&kAnswer, 1);
        socket->flush();
        socket->disconnectFromServer();
        // Opening may show alerts; the sender is answered first.
        QTimer::singleShot(0, qApp, [files]() { deliver(files); });
    });
}

enum class HandOver { noInstance, done, noAnswer };

HandOver handOver(const QString &path, const std::vector<std::string> &files)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return HandOver::noInstance;
    socket.write(encode(files));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(kAnswerTimeoutMs))
            return HandOver::noAnswer;
    char answer = 0;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return HandOver::noAnswer;
    socket.read(&answer, 1);
    return answer == kAnswer ? HandOver::done : HandOver::noAnswer;
}

bool listen(const QString &path)
{
    // Whatever is at the path answers no one: a socket left by a crash.
    QLocalServer::removeServer(path);
    auto *listening = new QLocalServer(qApp);
    listening->setSocketOptions(QLocalServer::UserAccessOption);
    if (!listening->listen(path)) {
        std::fprintf(stderr, "%s: cannot listen on %s: %s; later starts will not reach this one\n",
                     GetBundleCommandName().c_str(), qPrintable(path), qPrintable(listening->errorString()));
        delete listening;
        return false;
    }
    QObject::connect(listening, &QLocalServer::newConnection, listening, [listening]() {
        while (QLocalSocket *socket = listening->nextPendingConnection())
            receive(socket);
    });
    server = listening;
    return true;
}

} // namespace

InstanceRole ClaimSingleInstance(const std::vector<std::string> &files, HandedOverFilesProc receiver)
{
    handedOverReceiver = receiver;
    const QString path = socketPath();
    if (path.isEmpty()) {
        std::fprintf(stderr, "%s: no runtime folder; running on its own\n", GetBundleCommandName().c_str());
        return InstanceRole::running;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    // Without the lock (a stuck holder) the worst case is two instances.
    const bool locked = lock.tryLock(kLockTimeoutMs);
    switch (handOver(path, files)) {
    case HandOver::done:
        return InstanceRole::handedOver;
    case HandOver::noAnswer:
        std::fprintf(stderr, "%s: the running %s did not answer (%s)\n", GetBundleCommandName().c_str(),
                     GetBundleName().c_str(), qPrintable(path));
        return InstanceRole::failed;
    case HandOver::noInstance:
        break;
    }
    listen(path);
    if (locked)
        lock.unlock();
    return InstanceRole::running;
}

std::string GetInstanceSocketPath()
{
    return socketPath().toStdString();
}

void ReleaseSingleInstance()
{
    if (server) {
        server->close();
        delete server.data();
    }
    handedOverReceiver = nullptr;
}
