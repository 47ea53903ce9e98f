// Process end, the tick counter, the beep and the busy cursor.
#include "process.h"

#include "application.h"
#include "instance.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace
{

QElapsedTimer &tickClock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer;
}

void (*quitHandler)() = nullptr;
bool tickWaitSkipped = false;
std::vector<TickWait> tickWaits;
int beeps = 0;
bool waitCursorShown = false;
bool waitCursorApplied = false; // shown on screen, not only asked for

// The busy cursor goes up when the thread is about to block, once the
// windows shown by then are on screen: loading the cursor theme does not
// hold up the splash.
void applyWaitCursor()
{
    if (!waitCursorShown || waitCursorApplied)
        return;
    waitCursorApplied = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool everyShownWindowExposed()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !(widget->windowHandle() && widget->windowHandle()->isExposed()))
            return false;
    return true;
}

// Whatever the program drew is put on the screen before the thread blocks,
// as drawing on the old platform reached the screen at once: the shown
// windows are waited for (without spinning, at most a second) until the
// window system has exposed them, and then painted. No user input is
// handled.
void flushDrawing()
{
    const auto flags = QEventLoop::ExcludeUserInputEvents;
    QElapsedTimer waited;
    waited.start();
    QApplication::processEvents(flags);
    while (!everyShownWindowExposed() && waited.elapsed() < 1000) {
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(int(1000 - waited.elapsed()));
        QApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
    }
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            widget->repaint();
    QApplication::processEvents(flags);
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

void ExitToShell()
{
    if (PlatformIsHeadless())
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
        ExitToShell();
    quitHandler();
}

std::uint32_t TickCount()
{
    return std::uint32_t(tickClock().elapsed() * 60 / 1000);
}

void WaitUntilTick(std::uint32_t target, void (*meanwhile)())
{
    const std::uint32_t start = TickCount();
    if (tickWaitSkipped || PlatformIsHeadless() || platform::startupProbeSkipsWait()) {
        tickWaits.push_back({start, target});
        if (meanwhile)
            meanwhile();
        // No time to spare: built as they would be when created.
        platform::buildPreparedWindows(false);
        return;
    }
    const double probeStart = platform::probeClock();
    flushDrawing();
    applyWaitCursor();
    if (meanwhile)
        meanwhile();
    // The time is the program's anyway: what it asked to have ready is built.
    platform::buildPreparedWindows(true);
    // Sleeps rather than polls: the wait must not spin the processor.
    while (TickCount() < target) {
        const std::int64_t remainingMs = (std::int64_t(target) * 1000 + 59) / 60 - tickClock().elapsed();
        std::this_thread::sleep_for(std::chrono::milliseconds(remainingMs > 1 ? remainingMs : 1));
    }
    platform::probeSplashWait(probeStart, platform::probeClock());
}

void SysBeep()
{
    ++beeps;
    if (!PlatformIsHeadless())
        QApplication::beep();
}

void QDDisplayWaitCursor(Boolean show)
{
    if (show == waitCursorShown)
        return;
    waitCursorShown = show;
    if (!show && waitCursorApplied) {
        QApplication::restoreOverrideCursor();
        waitCursorApplied = false;
    }
}

std::vector<TickWait> TakeTickWaits()
{
    std::vector<TickWait> taken;
    taken.swap(tickWaits);
    return taken;
}

void SetTickWaitSkipped(bool skipped)
{
    tickWaitSkipped = skipped;
}
int GetBeepCount()
{
    return beeps;
}
bool IsWaitCursorShown()
{
    return waitCursorShown;
}
