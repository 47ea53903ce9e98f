// Process end, the quit request, the splash's wait and the alert sound.
#include "process.h"

#include "application.h"
#include "instance.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace
{

void (*quitHandler)() = nullptr;
bool splashWaitSkipped = false;
std::vector<SplashWait> splashWaits;
QImage splashPicture;
int beeps = 0;

// What the splash's wait leaves for later: the user's input, and the
// sockets (a later start handing over its files, a termination signal).
constexpr QEventLoop::ProcessEventsFlags kSplashWaitFlags =
    QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers;

// Shows the splash and waits (without spinning, at most a second) until
// the window system has exposed it, then paints it: it is on screen before
// anything else is done.
void putOnScreen(QWidget &splash)
{
    splash.show();
    QElapsedTimer waited;
    waited.start();
    QApplication::processEvents(kSplashWaitFlags);
    while (!splash.windowHandle()->isExposed() && waited.elapsed() < 1000) {
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(int(1000 - waited.elapsed()));
        QApplication::processEvents(kSplashWaitFlags | QEventLoop::WaitForMoreEvents);
    }
    splash.repaint();
    platform::probeWidgetPainted(&splash, splash.objectName().toStdString());
    QApplication::processEvents(kSplashWaitFlags);
}

// The rest of the wait, if any is left once the work done within it ends.
void waitForTimeout(QTimer &timer)
{
    if (!timer.isActive())
        return;
    QEventLoop loop;
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    loop.exec(kSplashWaitFlags);
}

// No time to spare: what showed is recorded, and the windows asked for are
// built as they would be when created.
void showWithoutWaiting(QWidget &splash, std::chrono::milliseconds duration, void (*meanwhile)())
{
    splash.show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    splashWaits.push_back(SplashWait{splash.objectName().toStdString(), splash.width(), splash.height(),
                                     duration, QApplication::overrideCursor()->shape() == Qt::WaitCursor});
    splashPicture = splash.grab().toImage();
    meanwhile();
    platform::buildPreparedWindows(false);
}

void showFor(QWidget &splash, std::chrono::milliseconds duration, void (*meanwhile)())
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(duration);
    const double probeStart = platform::probeClock();
    putOnScreen(splash);
    // Once the splash is on screen: loading the cursor theme does not hold it up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(kSplashWaitFlags);
    meanwhile();
    // The time is the program's anyway: the windows asked for are readied too.
    platform::buildPreparedWindows(true);
    waitForTimeout(timer);
    platform::probeSplashWait(probeStart, platform::probeClock());
}

} // namespace

namespace platform
{

void lastWindowClosed()
{
#ifndef Q_OS_MACOS
    // Without a global menu bar nothing is left to work with.
    if (eventLoopRunning())
        QMetaObject::invokeMethod(qApp, &RequestQuit, Qt::QueuedConnection);
#endif
}

} // namespace platform

namespace
{
bool exitHeld = false;
} // namespace

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
    if (splashWaitSkipped || platform::isHeadless() || platform::startupProbeSkipsWait())
        showWithoutWaiting(splash, duration, meanwhile);
    else
        showFor(splash, duration, meanwhile);
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
    std::vector<SplashWait> taken;
    taken.swap(splashWaits);
    return taken;
}

void SetSplashWaitSkipped(bool skipped)
{
    splashWaitSkipped = skipped;
}

int GetBeepCount()
{
    return beeps;
}
