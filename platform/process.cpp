// Process end, the quit request, the splash's wait and the alert sound.
#include "process.h"

#include "instance.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace
{

void (*quitHandler)() = nullptr;
bool exitHeld = false;
bool splashWaitSkipped = false;
std::vector<SplashWait> splashWaits;
QImage splashPicture;
int beeps = 0;

// The splash's wait leaves the user's input and the sockets (a later start's
// files, a termination signal) for later.
constexpr QEventLoop::ProcessEventsFlags kSplashWaitFlags =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;

// Waits (at most a second) for the window system to expose the splash, and
// paints it: it is on screen before anything else is done.
void putOnScreen(QWidget &splash)
{
    const QDeadlineTimer deadline(1000);
    QApplication::processEvents(kSplashWaitFlags);
    while (!splash.windowHandle()->isExposed() && !deadline.hasExpired()) {
        QTimer wake; // wakes the wait below when the time is up
        wake.start(int(deadline.remainingTime()));
        QApplication::processEvents(kSplashWaitFlags | QEventLoop::WaitForMoreEvents);
    }
    splash.repaint();
    platform::probeWidgetPainted(&splash, splash.objectName().toStdString());
    QApplication::processEvents(kSplashWaitFlags);
}

} // namespace

void platform::lastWindowClosed()
{
    // Without a global menu bar nothing is left to work with.
    if (eventLoopRunning())
        QMetaObject::invokeMethod(qApp, &RequestQuit, Qt::QueuedConnection);
}

void platform::runHoldingExit(const std::function<void()> &fn)
{
    if (!platform::isHeadless())
        return fn();
    try {
        fn();
    } catch (const ProcessExitRequested &) {
        exitHeld = true;
    }
}

void ThrowHeldExit()
{
    if (std::exchange(exitHeld, false))
        throw ProcessExitRequested{};
}

void platform::exitProcess()
{
    if (platform::isHeadless())
        throw ProcessExitRequested{};
    ReleaseSingleInstance(); // the next start need not take over a dead socket
    std::fflush(nullptr);
    std::_Exit(0);
}

void SetQuitHandler(void (*handler)())
{
    quitHandler = handler;
}

void RequestQuit()
{
    if (!quitHandler)
        platform::exitProcess();
    quitHandler();
}

void ShowSplashFor(QWidget &splash, std::chrono::milliseconds duration, void (*meanwhile)())
{
    const bool wait = !splashWaitSkipped && !platform::isHeadless() && !platform::startupProbeSkipsWait();
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(duration);
    const double probeStart = platform::probeClock();
    splash.show();
    if (wait)
        putOnScreen(splash);
    // Once the splash is on screen: loading the cursor theme does not hold it up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (wait) {
        QApplication::processEvents(kSplashWaitFlags);
    } else {
        // No time to spare: what showed is recorded for the tests.
        splashWaits.push_back(SplashWait{splash.objectName().toStdString(), splash.width(), splash.height(),
                                         duration,
                                         QApplication::overrideCursor()->shape() == Qt::WaitCursor});
        splashPicture = splash.grab().toImage();
    }
    meanwhile();
    // The windows asked for are built, and readied too when the wait leaves time.
    platform::buildPreparedWindows(wait);
    if (wait) {
        QEventLoop loop;
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        if (timer.isActive())
            loop.exec(kSplashWaitFlags);
        platform::probeSplashWait(probeStart, platform::probeClock());
    }
    QApplication::restoreOverrideCursor();
    splash.hide();
}

void Beep()
{
    ++beeps;
    QApplication::beep();
}

QImage GetSplashPicture()
{
    return splashPicture;
}

std::vector<SplashWait> TakeSplashWaits()
{
    return std::exchange(splashWaits, {});
}

void SetSplashWaitSkipped(bool skipped)
{
    splashWaitSkipped = skipped;
}

int GetBeepCount()
{
    return beeps;
}
