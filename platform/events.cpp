// The application's event loop, and what headless runs do in its place.
#include "application.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>

namespace
{

bool running = false;

} // namespace

namespace platform
{

bool eventLoopRunning()
{
    return running;
}
void setEventLoopRunning(bool isRunning)
{
    running = isRunning;
}

} // namespace platform

void RunApplicationEventLoop()
{
    platform::setEventLoopRunning(true);
    if (PlatformIsHeadless())
        return; // the test driver dispatches from here on
    QApplication::exec();
}

void ProcessPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
