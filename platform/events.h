// Event handlers, command events and the application event loop.
#pragma once

#include "types.h"
#include "window.h"

#include <vector>

using EventClass = std::uint32_t;
using EventKind = std::uint32_t;
enum : EventClass {
    kEventClassCommand = FOUR_CHAR_CODE("cmds"),
    kEventClassMenu = FOUR_CHAR_CODE("menu"),
    kEventClassWindow = FOUR_CHAR_CODE("wind"),
};
enum : EventKind {
    kEventCommandProcess = 1,
    kEventMenuPopulate = 9,
    kEventWindowShown = 24,
    kEventWindowClose = 72,
};

struct EventTypeSpec {
    EventClass eventClass;
    EventKind eventKind;
};

// Standard command IDs the platform itself knows.
enum : std::uint32_t {
    kHICommandOK = FOUR_CHAR_CODE("ok  "),
    kHICommandCancel = FOUR_CHAR_CODE("not!"),
    kHICommandQuit = FOUR_CHAR_CODE("quit"),
    kHICommandPreferences = FOUR_CHAR_CODE("pref"),
    kHICommandClose = FOUR_CHAR_CODE("clos"),
    kHICommandUndo = FOUR_CHAR_CODE("undo"),
    kHICommandCut = FOUR_CHAR_CODE("cut "),
    kHICommandCopy = FOUR_CHAR_CODE("copy"),
    kHICommandPaste = FOUR_CHAR_CODE("past"),
    kHICommandClear = FOUR_CHAR_CODE("clea"),
    kHICommandSelectAll = FOUR_CHAR_CODE("sall"),
    kHICommandAppHelp = FOUR_CHAR_CODE("ahlp"),
};

struct HICommand {
    std::uint32_t commandID = 0;
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
EventTargetRef GetApplicationEventTarget();
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, int numTypes,
                             const EventTypeSpec *list, void *userData, EventHandlerRef *outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);

EventClass GetEventClass(EventRef event);
EventKind GetEventKind(EventRef event);
// The command of a command event (kEventParamDirectObject, typeHICommand).
OSStatus GetEventCommand(EventRef event, HICommand *outCommand);
// The window of a window event.

// Sends a command as the menu or a control would: the menus are adjusted
// first, a command whose menu item is disabled is dropped, then the command
// goes to the given window's handlers (the front window when none is given)
// and on to the application's. Commands nobody handles fall to the
// platform's own behaviour (quit, preferences, close, editing).
OSStatus ProcessHICommand(const HICommand &command, WindowRef target = nullptr);
// Sends the window event of the given kind to the window's handlers.
OSStatus SendWindowEvent(WindowRef window, EventKind kind);
// Asks the application's handlers to bring the menus up to date.
void SendMenuPopulateEvent();

void RunApplicationEventLoop();
// Shows the window application-modal and returns once
// QuitAppModalLoopForWindow has been called for it.
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);
