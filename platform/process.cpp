// Process end, the tick counter, the beep and the busy cursor.
#include "process.h"

#include "application.h"
#include "instance.h"
#include "testing.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QWidget>
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

bool tickWaitSkipped = false;
std::vector<TickWait> tickWaits;
int beeps = 0;
bool waitCursorShown = false;

// Whatever the program drew is put on the screen before the thread blocks,
// as drawing on the old platform reached the screen at once. No user input
// is handled.
void flushDrawing()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            widget->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

void ExitToShell()
{
    if (PlatformIsHeadless())
        throw ProcessExitRequested{};
    ReleaseSingleInstance(); // the next start need not take over a dead socket
    std::fflush(nullptr);
    std::_Exit(0);
}

std::uint32_t TickCount()
{
    return std::uint32_t(tickClock().elapsed() * 60 / 1000);
}

void WaitUntilTick(std::uint32_t target)
{
    const std::uint32_t start = TickCount();
    if (tickWaitSkipped || PlatformIsHeadless() || std::getenv("QRL_STARTUP_PROBE")) {
        tickWaits.push_back({start, target});
        return;
    }
    flushDrawing();
    // Sleeps rather than polls: the wait must not spin the processor.
    while (TickCount() < target) {
        const std::int64_t remainingMs = (std::int64_t(target) * 1000 + 59) / 60 - tickClock().elapsed();
        std::this_thread::sleep_for(std::chrono::milliseconds(remainingMs > 1 ? remainingMs : 1));
    }
}

void SysBeep(short)
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
    if (show)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

OSErr AEInteractWithUser(std::int32_t, void *, void *)
{
    return noErr;
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
