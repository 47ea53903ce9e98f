// The window of facts about depth of field.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

void QRLInitFactsWindow();
OSStatus QRLFactsWindowEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);
WindowRef QRLGetFactsWindowRef();
Boolean QRLIsFactsWindow(WindowRef theWindow);
void QRLDepthFactsCommandHandler(WindowRef window);
