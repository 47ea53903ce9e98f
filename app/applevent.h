// The quit, show-preferences and open-documents Apple events.
#pragma once

#include "platform/appleevents.h"

void BInstallEventHandlers();
OSErr BHandleQuitApplication(const AppleEvent *theAppleEvent, AppleEvent *reply, long handlerRefCon);
OSErr BHandlePreferences(const AppleEvent *theAppleEvent, AppleEvent *reply, long handlerRefCon);
OSErr BHandleOpenDocument(const AppleEvent *theAppleEvent, AppleEvent *reply, long handlerRefCon);
