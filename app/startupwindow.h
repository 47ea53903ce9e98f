// The start-up splash: the application icon, name and information string.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

void BInitStartupWindow();
OSStatus BStartupWindowEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);
WindowRef BGetStartupWindowRef();
void BStartupBoxHandler(WindowRef window);
