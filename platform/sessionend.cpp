// The session's end and termination signals become the application's quit
// request. A logout waits for the review and is cancelled if the application
// still runs then. While a review shows, the signals have their default
// action, so another one ends the process at once.
#include "dialogs.h"
#include "internal.h"
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

namespace
{

// A quit request whose review may still be showing.
struct QuitRequest {
    bool underWay = false;
    std::uint64_t mark = 0; // dialog run count when it was delivered
};

int signalPipe[2] = {-1, -1};
std::vector<int> caughtSignals; // those not ignored at start
QuitRequest signalRequest;
QuitRequest sessionRequest;
QEventLoop *sessionWait = nullptr;
std::function<void()> sessionEndScript;

void noteSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(signalPipe[1], &number, 1);
    errno = savedErrno;
}

void catchSignals(bool caught)
{
    struct sigaction action = {};
    action.sa_handler = caught ? noteSignal : SIG_DFL; // blocking nothing more
    action.sa_flags = SA_RESTART;
    for (int signalNumber : caughtSignals)
        sigaction(signalNumber, &action, nullptr);
}

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

// Asks the application to quit; true when its review goes on in dialogs.
bool deliverQuit(QuitRequest &request)
{
    request.underWay = true;
    request.mark = platform::dialogsShownCount();
    platform::setDialogEndedListener(dialogEnded);
    RequestQuit();
    request.underWay = reviewShowing(request);
    return request.underWay;
}

// Adds the signals in the pipe to *count; returns the last one, or 0.
int readSignals(int *count)
{
    unsigned char buffer[32];
    int last = 0;
    for (ssize_t n; signalPipe[0] >= 0 && (n = read(signalPipe[0], buffer, sizeof buffer)) > 0;) {
        *count += int(n);
        last = buffer[n - 1];
    }
    return last;
}

void handleSessionEnd(bool interactionAllowed, const std::function<void()> &cancel)
{
    if (!interactionAllowed)
        return;
    // A signal while the question shows ends the process at once.
    struct Done {
        Done() { catchSignals(false); }
        ~Done()
        {
            sessionRequest.underWay = false;
            catchSignalsUnlessReviewing();
        }
    } done;
    if (deliverQuit(sessionRequest) && platform::isHeadless()) {
        if (sessionEndScript)
            sessionEndScript(); // the test answers the dialogs
    } else if (sessionRequest.underWay) {
        QEventLoop loop;
        sessionWait = &loop;
        loop.exec();
        sessionWait = nullptr;
    }
    // Still running with no review showing: the quit was called off.
    if (!reviewShowing(sessionRequest))
        cancel();
}

// The session manager's last word after the data is committed: the process
// ends without a question.
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

} // namespace

void platform::installSessionEndHandling()
{
    static bool installed = false;
    if (std::exchange(installed, true))
        return;
    // Headless runs (tests, fuzzing, benchmarks) leave the signals alone
    // unless a test asks; it then delivers them itself.
    if (!platform::isHeadless()) {
        CatchTerminationSignals();
        if (signalPipe[0] >= 0)
            QObject::connect(new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp),
                             &QSocketNotifier::activated, qApp, &DeliverPendingSignals);
    }
    QObject::connect(
        qApp, &QGuiApplication::commitDataRequest, qApp,
        [](QSessionManager &manager) {
            handleSessionEnd(manager.allowsInteraction(), [&]() { manager.cancel(); });
        },
        Qt::DirectConnection);
    qApp->installEventFilter(new SessionDeathFilter(qApp));
}

platform::SignalsEndProcess::SignalsEndProcess()
{
    catchSignals(false);
    int count = 0;
    if (const int last = readSignals(&count))
        raise(last);
}

platform::SignalsEndProcess::~SignalsEndProcess()
{
    catchSignalsUnlessReviewing();
}

void SimulateSessionEnd(bool interactionAllowed, SessionEndReport *report)
{
    report->interactionAsked = true;
    handleSessionEnd(interactionAllowed, [report]() { report->cancelled = true; });
}

void SetSessionEndScript(std::function<void()> script)
{
    sessionEndScript = std::move(script);
}

// A signal ignored by whoever started us (nohup, a background job) stays ignored.
void CatchTerminationSignals()
{
    if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction current = {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler != SIG_IGN)
            caughtSignals.push_back(signalNumber);
    }
    catchSignals(true);
}

// Once the signals have their default action a further one ends the
// process by itself; what is in the pipe then came earlier, with this request.
int DeliverPendingSignals()
{
    int count = 0;
    if (!readSignals(&count))
        return 0;
    catchSignals(false);
    readSignals(&count);
    const bool asked = signalRequest.underWay || sessionRequest.underWay; // the question is up already
    if (!asked && !deliverQuit(signalRequest))
        catchSignalsUnlessReviewing();
    return count;
}

bool IsSignalCaught(int signalNumber)
{
    struct sigaction current = {};
    sigaction(signalNumber, nullptr, &current);
    return current.sa_handler == noteSignal;
}
