// Window event handlers and the application event loop.
#pragma once

#include "types.h"
#include "window.h"

#include <vector>

using EventClass = std::uint32_t;
using EventKind = std::uint32_t;
enum : EventClass {
    kEventClassWindow = FOUR_CHAR_CODE("wind"),
};
enum : EventKind {
    kEventWindowShown = 24,
    kEventWindowClose = 72,
};

struct EventTypeSpec {
    EventClass eventClass;
    EventKind eventKind;
};

struct OpaqueEventRef;
using EventRef = OpaqueEventRef *;
struct OpaqueEventHandlerCallRef;
using EventHandlerCallRef = OpaqueEventHandlerCallRef *;
struct OpaqueEventTargetRef;
using EventTargetRef = OpaqueEventTargetRef *;
struct OpaqueEventHandlerRef;
using EventHandlerRef = OpaqueEventHandlerRef *;

using EventHandlerProcPtr = OSStatus (*)(EventHandlerCallRef, EventRef, void *userData);
using EventHandlerUPP = EventHandlerProcPtr;

EventTargetRef GetWindowEventTarget(WindowRef window);
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, int numTypes,
                             const EventTypeSpec *list, void *userData, EventHandlerRef *outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);

EventKind GetEventKind(EventRef event);
// Sends the window event of the given kind to the window's handlers.
OSStatus SendWindowEvent(WindowRef window, EventKind kind);

void RunApplicationEventLoop();
