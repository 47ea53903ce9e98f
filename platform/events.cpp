// Event handlers and dispatch: window events to the window's handlers,
// commands to the target window first and then to the application, and the
// platform's own behaviour for the standard commands nobody handled.
#include "application.h"
#include "internal.h"
#include "menus.h"
#include "testing.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>

struct OpaqueEventRef {
    EventClass eventClass;
    EventKind eventKind;
    HICommand command;
    WindowRef window;
};

namespace
{

OpaqueEventTargetRef &applicationTarget()
{
    static OpaqueEventTargetRef target;
    return target;
}

bool running = false;
std::function<void(WindowRef)> modalScript;
bool lastModalQuit = false;

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

void performEditCommand(std::uint32_t commandID)
{
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!field)
        return;
    switch (commandID) {
    case kHICommandUndo:
        field->undo();
        break;
    case kHICommandCut:
        field->cut();
        break;
    case kHICommandCopy:
        field->copy();
        break;
    case kHICommandPaste:
        field->paste();
        break;
    case kHICommandClear:
        field->del();
        break;
    case kHICommandSelectAll:
        field->selectAll();
        break;
    default:
        break;
    }
}

// What the platform does with a standard command that no handler took.
OSStatus performStandardCommand(const HICommand &command, WindowRef window)
{
    switch (command.commandID) {
    case kHICommandClose:
        if (!window)
            return eventNotHandledErr;
        SendWindowEvent(window, kEventWindowClose);
        return noErr;
    case kHICommandUndo:
    case kHICommandCut:
    case kHICommandCopy:
    case kHICommandPaste:
    case kHICommandClear:
    case kHICommandSelectAll:
        performEditCommand(command.commandID);
        return noErr;
    default:
        return eventNotHandledErr;
    }
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

void frontWindowChanged()
{
    SendMenuPopulateEvent();
}

} // namespace platform

EventTargetRef GetWindowEventTarget(WindowRef window)
{
    return window ? &window->target : nullptr;
}
EventTargetRef GetApplicationEventTarget()
{
    return &applicationTarget();
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

EventClass GetEventClass(EventRef event)
{
    return event ? event->eventClass : 0;
}
EventKind GetEventKind(EventRef event)
{
    return event ? event->eventKind : 0;
}
OSStatus GetEventCommand(EventRef event, HICommand *outCommand)
{
    if (!event || event->eventClass != kEventClassCommand)
        return paramErr;
    *outCommand = event->command;
    return noErr;
}

OSStatus SendWindowEvent(WindowRef window, EventKind kind)
{
    if (!window)
        return paramErr;
    OpaqueEventRef event{kEventClassWindow, kind, {}, window};
    const OSStatus result = sendToTarget(window->target, event);
    // The close box of a window nobody looks after: a modal window cancels
    // (hiding it would leave its loop running with nothing to end it), any
    // other window just goes away.
    if (result == eventNotHandledErr && kind == kEventWindowClose && !platform::clickCancelButton(window))
        HideWindow(window);
    return result;
}

void SendMenuPopulateEvent()
{
    OpaqueEventRef event{kEventClassMenu, kEventMenuPopulate, {}, nullptr};
    sendToTarget(applicationTarget(), event);
}

OSStatus ProcessHICommand(const HICommand &command, WindowRef target)
{
    SendMenuPopulateEvent();
    if (!IsMenuCommandEnabled(command.commandID))
        return eventNotHandledErr;
    WindowRef window = target ? target : FrontWindow();
    OpaqueEventRef event{kEventClassCommand, kEventCommandProcess, command, window};
    OSStatus result = window ? sendToTarget(window->target, event) : eventNotHandledErr;
    if (result == eventNotHandledErr)
        result = sendToTarget(applicationTarget(), event);
    if (result == eventNotHandledErr)
        result = performStandardCommand(command, window);
    return result;
}

void RunApplicationEventLoop()
{
    platform::setEventLoopRunning(true);
    if (PlatformIsHeadless())
        return; // the test driver dispatches from here on
    QApplication::exec();
}

OSStatus RunAppModalLoopForWindow(WindowRef window)
{
    if (!window || !window->widget)
        return paramErr;
    const WindowClass previousClass = window->windowClass;
    window->windowClass = kMovableModalWindowClass;
    window->modalQuit = false;
    window->widget->setWindowModality(Qt::ApplicationModal);
    platform::attachEditMenu(window->widget);
    ShowWindow(window);
    if (PlatformIsHeadless()) {
        if (modalScript)
            modalScript(window);
    } else {
        QEventLoop loop;
        window->modalLoop = &loop;
        loop.exec();
        window->modalLoop = nullptr;
    }
    lastModalQuit = window->modalQuit;
    window->windowClass = previousClass;
    return noErr;
}

OSStatus QuitAppModalLoopForWindow(WindowRef window)
{
    if (!window)
        return paramErr;
    window->modalQuit = true;
    if (window->modalLoop)
        window->modalLoop->quit();
    return noErr;
}

void SetModalScript(std::function<void(WindowRef)> script)
{
    modalScript = std::move(script);
}
bool LastModalLoopQuit()
{
    return lastModalQuit;
}

void ProcessPendingEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
