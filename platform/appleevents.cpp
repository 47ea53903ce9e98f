// Apple events: handlers by class and ID, sent at once or posted to run
// once the event loop runs.
#include "appleevents.h"

#include "application.h"
#include "internal.h"

#include <QCoreApplication>
#include <QTimer>
#include <deque>
#include <map>

namespace
{

struct InstalledHandler {
    AEEventHandlerUPP handler;
    long refCon;
};

std::map<std::pair<AEEventClass, AEEventID>, InstalledHandler> &handlers()
{
    static std::map<std::pair<AEEventClass, AEEventID>, InstalledHandler> installed;
    return installed;
}

std::deque<AppleEvent> &posted()
{
    static std::deque<AppleEvent> queue;
    return queue;
}

bool drainScheduled = false;

} // namespace

OSErr AEInstallEventHandler(AEEventClass theAEEventClass, AEEventID theAEEventID, AEEventHandlerUPP handler,
                            long handlerRefcon)
{
    if (!handler)
        return paramErr;
    handlers()[{theAEEventClass, theAEEventID}] = InstalledHandler{handler, handlerRefcon};
    return noErr;
}

OSErr AEGetParamDesc(const AppleEvent *theAppleEvent, FourCharCode keyword, FourCharCode desiredType,
                     AEDescList *result)
{
    if (!theAppleEvent || !result)
        return paramErr;
    if (keyword != keyDirectObject)
        return errAEDescNotFound;
    if (desiredType != typeAEList)
        return errAECoercionFail;
    *result = theAppleEvent->directObject;
    return noErr;
}

OSErr AECountItems(const AEDescList *list, long *count)
{
    if (!list || !count)
        return paramErr;
    *count = long(list->size());
    return noErr;
}

OSErr AESendAppleEvent(const AppleEvent &event)
{
    auto it = handlers().find({event.eventClass, event.eventID});
    if (it == handlers().end())
        return errAEEventNotHandled;
    AppleEvent reply;
    return it->second.handler(&event, &reply, it->second.refCon);
}

void AEPostAppleEvent(const AppleEvent &event)
{
    posted().push_back(event);
    platform::schedulePostedEvents();
}

namespace platform
{

// Posted events wait for the event loop; headless runs deliver them when the
// test driver asks (DeliverPostedAppleEvents).
void schedulePostedEvents()
{
    if (!eventLoopRunning() || posted().empty() || drainScheduled || PlatformIsHeadless())
        return;
    drainScheduled = true;
    QTimer::singleShot(0, qApp, []() {
        drainScheduled = false;
        DeliverPostedAppleEvents();
    });
}

void lastWindowClosed()
{
#ifndef Q_OS_MACOS
    // Without a global menu bar nothing is left to work with.
    if (eventLoopRunning())
        AEPostAppleEvent(AppleEvent{kCoreEventClass, kAEQuitApplication, {}});
#endif
}

} // namespace platform

int DeliverPostedAppleEvents()
{
    int delivered = 0;
    while (!posted().empty()) {
        AppleEvent event = posted().front();
        posted().pop_front();
        AESendAppleEvent(event);
        ++delivered;
    }
    return delivered;
}
