// Start-up measurement for the start-up benchmark. When the program asks
// for it (platform::StartOptions::startupProbe, which it takes from its
// environment) the platform reports on standard output, as CLOCK_MONOTONIC seconds:
//
//   startup-probe shown <window name> <t>   a window first on screen with
//                                           what the program drew in it
//   startup-probe wait <t0> <t1>            the splash wait, from the splash on
//                                           screen to the end of the wait
//   startup-probe-done                      then the process ends at once
//
// The first document window on screen ends the measurement. With the value
// "1" the splash wait is skipped; with "wait" it runs in full, so that what
// start-up does during the wait is measured as the user meets it.
#include "internal.h"

#include <QCoreApplication>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <time.h>

namespace
{

const char *const kLastWindow = "MainWindow";

double monotonicNow()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The measurement asked for, if any.
std::optional<std::string> &probeValue()
{
    static std::optional<std::string> value;
    return value;
}

void windowOnScreen(const std::string &name)
{
    std::printf("startup-probe shown %s %.6f\n", name.c_str(), monotonicNow());
    if (name != kLastWindow) {
        std::fflush(stdout);
        return;
    }
    std::puts("startup-probe-done");
    std::fflush(stdout);
    // Teardown is not start-up.
    std::_Exit(0);
}

} // namespace

namespace platform
{

// A function of its own, never inlined: an instruction profiler stops
// counting at it (bench/startup/instructions).
Q_NEVER_INLINE void probeWindowOnScreen(const std::string &name)
{
    windowOnScreen(name);
}

} // namespace platform

namespace
{

// Queued: runs once the painting under way is finished and handed to the
// window system.
void reportOnScreenLater(const std::string &name)
{
    QMetaObject::invokeMethod(
        qApp, [name]() { platform::probeWindowOnScreen(name); }, Qt::QueuedConnection);
}

} // namespace

namespace platform
{

void setStartupProbe(const char *value)
{
    probeValue() = value ? std::optional<std::string>(value) : std::nullopt;
}

bool startupProbeOn()
{
    return probeValue().has_value();
}

bool startupProbeSkipsWait()
{
    return probeValue() && *probeValue() != "wait";
}

void probeWidgetPainted(QWidget *widget, const std::string &name)
{
    if (!startupProbeOn() || !widget)
        return;
    QWindow *handle = widget->windowHandle();
    if (!handle || !handle->isExposed() || handle->property("startupProbed").toBool())
        return;
    handle->setProperty("startupProbed", true);
    reportOnScreenLater(name);
}

void probeSplashWait(double start, double end)
{
    if (!startupProbeOn())
        return;
    std::printf("startup-probe wait %.6f %.6f\n", start, end);
    std::fflush(stdout);
}

double probeClock()
{
    return monotonicNow();
}

} // namespace platform
