// The menu bar, the enabled state of its items, and command dispatch.
#pragma once

#include "platform/events.h"
#include "platform/menus.h"

enum : MenuID { appMenu = 128, fileMenu = 129, editMenu = 130, funcMenu = 131 };

// True for the auxiliary windows the user opens (preferences, facts,
// about, help); the splash is not one of them. The menus and the quit walk
// both ask this.
bool BIsAuxiliaryWindow(WindowRef window);

void QRLInitMainMenu();
void QRLAdjustMenus();
OSStatus QRLMainMenuEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);
