// Window event handlers: each window event goes to its window's handlers.
#include "application.h"
#include "internal.h"
#include "testing.h"

#include <QApplication>

struct OpaqueEventRef {
    EventClass eventClass;
    EventKind eventKind;
    WindowRef window;
};

namespace
{

bool running = false;

bool handles(const HandlerEntry &entry, EventClass eventClass, EventKind kind)
{
    for (const EventTypeSpec &type : entry.types)
        if (type.eventClass == eventClass && type.eventKind == kind)
            return true;
    return false;
}

// Calls the target's handlers for the event, newest first, until one
// handles it.
OSStatus sendToTarget(OpaqueEventTargetRef &target, OpaqueEventRef &event)
{
    // Handlers may install or remove handlers while they run: walk a copy.
    std::vector<HandlerEntry> entries;
    for (auto it = target.handlers.rbegin(); it != target.handlers.rend(); ++it)
        entries.push_back(**it);
    for (const HandlerEntry &entry : entries) {
        if (!handles(entry, event.eventClass, event.eventKind))
            continue;
        const OSStatus result = entry.proc(nullptr, &event, entry.userData);
        if (result != eventNotHandledErr)
            return result;
    }
    return eventNotHandledErr;
}

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

bool handlesWindowEvent(WindowRef window, EventKind kind)
{
    for (const auto &entry : window->target.handlers)
        if (handles(*entry, kEventClassWindow, kind))
            return true;
    return false;
}

} // namespace platform

EventTargetRef GetWindowEventTarget(WindowRef window)
{
    return window ? &window->target : nullptr;
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, int numTypes,
                             const EventTypeSpec *list, void *userData, EventHandlerRef *outRef)
{
    if (!target || !handler || numTypes <= 0 || !list)
        return paramErr;
    auto entry = std::make_unique<HandlerEntry>();
    entry->proc = handler;
    entry->types.assign(list, list + numTypes);
    entry->userData = userData;
    entry->target = target;
    if (outRef)
        *outRef = reinterpret_cast<EventHandlerRef>(entry.get());
    target->handlers.push_back(std::move(entry));
    return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handler)
{
    auto *entry = reinterpret_cast<HandlerEntry *>(handler);
    if (!entry)
        return paramErr;
    auto &handlers = entry->target->handlers;
    for (auto it = handlers.begin(); it != handlers.end(); ++it) {
        if (it->get() == entry) {
            handlers.erase(it);
            return noErr;
        }
    }
    return paramErr;
}

EventKind GetEventKind(EventRef event)
{
    return event ? event->eventKind : 0;
}
OSStatus SendWindowEvent(WindowRef window, EventKind kind)
{
    if (!window)
        return paramErr;
    OpaqueEventRef event{kEventClassWindow, kind, window};
    const OSStatus result = sendToTarget(window->target, event);
    // The close box of a window nobody looks after: a window with a cancel
    // button cancels, any other closes as its own close event decides.
    if (result != eventNotHandledErr || kind != kEventWindowClose || platform::clickCancelButton(window))
        return result;
    window->widget->close(); // the record may be gone after this
    return noErr;
}

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
