// The end of the desktop session and termination signals. Both become the
// application's quit request, so the program's own quit and review decide:
// with nothing unsaved the process ends, otherwise the user is asked.
//
// The session manager asks the application to commit its data and expects
// the answer before the request returns: with interaction allowed the quit
// is delivered and the request waits, in an event loop, until the review
// is over; when the application is still running then, the user called the
// quit off and the logout is cancelled. Without interaction nothing is
// delivered: nothing is written behind the user's back, and the session
// goes on at once.
//
// SIGTERM, SIGHUP and SIGINT only write their number into a pipe; the
// event loop reads it and delivers the quit; those that arrived before the
// question is up (a session manager sends SIGTERM and SIGHUP together) are
// one request. While the review of a signal or of the session's end is
// showing, the signals have their default action, so another one ends the
// process at once; once the review is over, they are caught again.
#include "sessionend.h"

#include "application.h"
#include "dialogs.h"
#include "process.h"
#include "sessiontesting.h"

#include <QApplication>
#include <QEventLoop>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace
{

// What the session end needs of a session manager.
class SessionManagerPort
{
  public:
    virtual ~SessionManagerPort() = default;
    virtual bool allowsInteraction() = 0;
    virtual void cancel() = 0;
};

class QtSessionManager : public SessionManagerPort
{
  public:
    explicit QtSessionManager(QSessionManager &manager) : manager_(manager) {}
    bool allowsInteraction() override { return manager_.allowsInteraction(); }
    void cancel() override { manager_.cancel(); }

  private:
    QSessionManager &manager_;
};

// A quit request whose review may still be showing.
struct QuitRequest {
    bool underWay = false;
    std::uint64_t mark = 0; // dialog run count when it was delivered
};

constexpr int kTerminationSignals[] = {SIGTERM, SIGHUP, SIGINT};
int signalPipe[2] = {-1, -1};
std::vector<int> caughtSignals; // those not ignored at start
QuitRequest signalRequest;
QuitRequest sessionRequest;
QEventLoop *sessionWait = nullptr;
std::function<void()> sessionEndScript;

// The only work done in the handler: the signal's number into the pipe.
void noteSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

void setDisposition(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

void catchSignals(bool caught)
{
    for (int signalNumber : caughtSignals)
        setDisposition(signalNumber, caught ? noteSignal : SIG_DFL);
}

// The signals are caught again once no review of a signal or of the
// session's end is showing.
void catchSignalsUnlessReviewing()
{
    if (!signalRequest.underWay && !sessionRequest.underWay)
        catchSignals(true);
}

bool reviewShowing(const QuitRequest &request)
{
    return request.underWay && platform::dialogsWaitingSince(request.mark) > 0;
}

// A dialog has ended: the review of a request may be over.
void dialogEnded()
{
    if (signalRequest.underWay && !reviewShowing(signalRequest)) {
        signalRequest.underWay = false;
        catchSignalsUnlessReviewing();
    }
    if (sessionWait && !reviewShowing(sessionRequest))
        sessionWait->quit();
}

// Asks the application to quit; true when its review goes on in dialogs it
// opened.
bool deliverQuit(QuitRequest &request)
{
    request.underWay = true;
    request.mark = platform::dialogsShownCount();
    // The dialogs say when they end, which may end the review.
    platform::setDialogEndedListener(dialogEnded);
    RequestQuit();
    request.underWay = reviewShowing(request);
    return request.underWay;
}

int readSignals(std::vector<int> &numbers)
{
    unsigned char buffer[32];
    ssize_t count;
    while ((count = read(signalPipe[0], buffer, sizeof buffer)) > 0)
        numbers.insert(numbers.end(), buffer, buffer + count);
    return int(numbers.size());
}

// Signals read together, or sent before the question is up, are one quit
// request. From the moment they have their default action, any further
// signal ends the process by itself; what is in the pipe then arrived
// earlier and is taken with this request.
int takeSignals()
{
    std::vector<int> numbers;
    if (signalPipe[0] < 0 || readSignals(numbers) == 0)
        return 0;
    catchSignals(false);
    readSignals(numbers);
    if (signalRequest.underWay || sessionRequest.underWay)
        return int(numbers.size()); // the question they ask for is up already
    if (!deliverQuit(signalRequest))
        catchSignalsUnlessReviewing();
    return int(numbers.size());
}

void waitForSessionReview()
{
    if (platform::isHeadless()) {
        if (sessionEndScript)
            sessionEndScript();
        return;
    }
    QEventLoop loop;
    sessionWait = &loop;
    loop.exec();
    sessionWait = nullptr;
}

void handleSessionEnd(SessionManagerPort &manager)
{
    if (!manager.allowsInteraction())
        return;
    // A signal while the question shows ends the process at once, as a
    // second one does during the question of a signal.
    struct Done {
        Done() { catchSignals(false); }
        ~Done()
        {
            sessionRequest.underWay = false;
            catchSignalsUnlessReviewing();
        }
    } done;
    if (deliverQuit(sessionRequest))
        waitForSessionReview();
    // Still running with no review showing: the quit was called off.
    if (!reviewShowing(sessionRequest))
        manager.cancel();
}

bool openSignalPipe()
{
    if (pipe(signalPipe) != 0)
        return false;
    for (int end : signalPipe) {
        fcntl(end, F_SETFD, FD_CLOEXEC);
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

// Opens the pipe and catches the signals not ignored at start: a signal
// ignored by whoever started us (nohup, a background job) stays ignored.
void catchTerminationSignals()
{
    if (signalPipe[0] >= 0 || !openSignalPipe())
        return;
    for (int signalNumber : kTerminationSignals) {
        struct sigaction current = {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler != SIG_IGN)
            caughtSignals.push_back(signalNumber);
    }
    catchSignals(true);
}

void takeSignalsInEventLoop()
{
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] { takeSignals(); });
}

// The session manager's last word after the session's data is committed:
// the process ends without a question.
class SessionDeathFilter : public QObject
{
  public:
    using QObject::QObject;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object == qApp && event->type() == QEvent::Quit)
            platform::exitProcess();
        return false;
    }
};

void connectSessionManager()
{
    QObject::connect(
        qApp, &QGuiApplication::commitDataRequest, qApp,
        [](QSessionManager &manager) {
            QtSessionManager port(manager);
            handleSessionEnd(port);
        },
        Qt::DirectConnection);
#ifndef Q_OS_MACOS
    // On macOS the same event is the system's own quit request, which must
    // not end the application without its review.
    qApp->installEventFilter(new SessionDeathFilter(qApp));
#endif
}

// A stand-in session manager for the test driver.
class TestSessionManager : public SessionManagerPort
{
  public:
    TestSessionManager(bool interactionAllowed, SessionEndReport *report)
        : interactionAllowed_(interactionAllowed), report_(report)
    {
    }
    bool allowsInteraction() override
    {
        report_->interactionAsked = true;
        return interactionAllowed_;
    }
    void cancel() override { report_->cancelled = true; }

  private:
    bool interactionAllowed_;
    SessionEndReport *report_;
};

} // namespace

namespace platform
{

void installSessionEndHandling()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // Headless runs (tests, fuzzing, benchmarks) leave the signals alone
    // unless a test asks; it then delivers them itself.
    if (!platform::isHeadless()) {
        catchTerminationSignals();
        if (signalPipe[0] >= 0)
            takeSignalsInEventLoop();
    }
    connectSessionManager();
}

SignalsEndProcess::SignalsEndProcess()
{
    catchSignals(false);
    std::vector<int> numbers;
    if (signalPipe[0] >= 0 && readSignals(numbers) > 0)
        raise(numbers.back());
}

SignalsEndProcess::~SignalsEndProcess()
{
    catchSignalsUnlessReviewing();
}

} // namespace platform

void SimulateSessionEnd(bool interactionAllowed, SessionEndReport *report)
{
    TestSessionManager manager(interactionAllowed, report);
    handleSessionEnd(manager);
}

void SetSessionEndScript(std::function<void()> script)
{
    sessionEndScript = std::move(script);
}

void CatchTerminationSignals()
{
    catchTerminationSignals();
}

int DeliverPendingSignals()
{
    return takeSignals();
}

bool IsSignalCaught(int signalNumber)
{
    struct sigaction current = {};
    sigaction(signalNumber, nullptr, &current);
    return current.sa_handler == noteSignal;
}
