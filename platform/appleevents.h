// Apple events: quit, show preferences and open documents, with their handlers.
#pragma once

#include "types.h"

#include <string>
#include <vector>

using AEEventClass = FourCharCode;
using AEEventID = FourCharCode;
enum : FourCharCode {
    kCoreEventClass = FOUR_CHAR_CODE("aevt"),
    kAEQuitApplication = FOUR_CHAR_CODE("quit"),
    kAEShowPreferences = FOUR_CHAR_CODE("pref"),
    kAEOpenDocuments = FOUR_CHAR_CODE("odoc"),
    keyDirectObject = FOUR_CHAR_CODE("----"),
    typeAEList = FOUR_CHAR_CODE("list"),
};

// One item of an event's direct parameter: a file path, or something that is
// not a file at all (which cannot be coerced to a file).
struct AEDesc {
    std::string path;
    bool isFile = true;
};

struct AppleEvent {
    AEEventClass eventClass = kCoreEventClass;
    AEEventID eventID = 0;
    std::vector<AEDesc> directObject;
};
using AEDescList = std::vector<AEDesc>;

using AEEventHandlerProcPtr = OSErr (*)(const AppleEvent *theAppleEvent, AppleEvent *reply,
                                        long handlerRefCon);
using AEEventHandlerUPP = AEEventHandlerProcPtr;

OSErr AEInstallEventHandler(AEEventClass theAEEventClass, AEEventID theAEEventID, AEEventHandlerUPP handler,
                            long handlerRefcon);
OSErr AEGetParamDesc(const AppleEvent *theAppleEvent, FourCharCode keyword, FourCharCode desiredType,
                     AEDescList *result);
OSErr AECountItems(const AEDescList *list, long *count);

// Delivers the event to its installed handler and returns the handler's
// result; errAEEventNotHandled when none is installed.
OSErr AESendAppleEvent(const AppleEvent &event);
// Delivers the event once the event loop runs.
void AEPostAppleEvent(const AppleEvent &event);
// Delivers the posted events now; returns how many.
int DeliverPostedAppleEvents();
