// Start-up measurement for the start-up benchmark. With QRL_STARTUP_PROBE set
// the program reports on standard output, as CLOCK_MONOTONIC seconds:
//
//   startup-probe shown <window name> <t>   a window's first exposure painted
//   startup-probe wait <t0> <t1>            the splash wait, from the splash on
//                                           screen to the end of the wait
//   startup-probe-done                      then the process ends at once
//
// The first document window on screen ends the measurement. With the value
// "1" the splash wait is skipped; with "wait" it runs in full, so that what
// start-up does during the wait is measured as the user meets it.
#include "internal.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

const char *probeValue()
{
    return std::getenv("QRL_STARTUP_PROBE");
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

// Queued: runs once the window has finished handling its exposure (painted
// and handed the picture to the window system).
void reportOnScreenLater(const std::string &name)
{
    QMetaObject::invokeMethod(qApp, [name]() { windowOnScreen(name); }, Qt::QueuedConnection);
}

// Waits for the window's first exposure.
class ExposureWatcher : public QObject
{
  public:
    ExposureWatcher(QWindow *window, std::string name) : QObject(window), name_(std::move(name)) {}

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Expose || !static_cast<QWindow *>(object)->isExposed())
            return false;
        reportOnScreenLater(name_);
        object->removeEventFilter(this);
        deleteLater();
        return false;
    }

  private:
    std::string name_;
};

} // namespace

namespace platform
{

bool startupProbeOn()
{
    return probeValue() != nullptr;
}

bool startupProbeSkipsWait()
{
    const char *value = probeValue();
    return value && std::strcmp(value, "wait") != 0;
}

void probeWindowShown(WindowRef window)
{
    if (!startupProbeOn() || !window || !window->widget || !window->widget->windowHandle())
        return;
    QWindow *handle = window->widget->windowHandle();
    if (handle->property("startupProbed").toBool())
        return;
    handle->setProperty("startupProbed", true);
    // Some windows (the splash) are exposed and painted while being shown.
    if (handle->isExposed())
        reportOnScreenLater(window->nibName);
    else
        handle->installEventFilter(new ExposureWatcher(handle, window->nibName));
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
