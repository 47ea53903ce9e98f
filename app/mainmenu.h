// The menu bar, the enabled state of its items, and command dispatch.
#pragma once

#include "platform/events.h"
#include "platform/menus.h"

enum : MenuID { appMenu = 128, fileMenu = 129, editMenu = 130, funcMenu = 131 };

void QRLInitMainMenu();
void QRLAdjustMenus();
OSStatus QRLMainMenuEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);
