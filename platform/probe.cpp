// Start-up measurement for bench/startup, in CLOCK_MONOTONIC seconds: each
// window first on screen ("shown"), the splash wait ("wait"), and the end at
// the first document window. The value "wait" keeps the splash wait; any
// other skips it.
#include "internal.h"

#include <QCoreApplication>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace platform
{

static std::optional<std::string> probe; // the measurement asked for

// Never inlined: an instruction profiler stops counting at it
// (bench/startup/instructions).
Q_NEVER_INLINE void probeWindowOnScreen(const std::string &name)
{
    std::printf("startup-probe shown %s %.6f\n", name.c_str(), probeClock());
    if (name == "MainWindow") {
        std::puts("startup-probe-done");
        std::fflush(stdout);
        std::_Exit(0); // teardown is not start-up
    }
    std::fflush(stdout);
}

void setStartupProbe(const char *value)
{
    probe = value ? std::optional<std::string>(value) : std::nullopt;
}

bool startupProbeSkipsWait()
{
    return probe && *probe != "wait";
}

void probeWidgetPainted(QWidget *widget, const std::string &name)
{
    QWindow *handle = probe && widget ? widget->windowHandle() : nullptr;
    if (!handle || !handle->isExposed() || handle->property("startupProbed").toBool())
        return;
    handle->setProperty("startupProbed", true);
    // Queued: once the painting under way is handed to the window system.
    QMetaObject::invokeMethod(
        qApp, [name]() { probeWindowOnScreen(name); }, Qt::QueuedConnection);
}

void probeSplashWait(double start, double end)
{
    if (probe) {
        std::printf("startup-probe wait %.6f %.6f\n", start, end);
        std::fflush(stdout);
    }
}

double probeClock()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace platform
