// The menu bar, the enabled state of its items, and what each item does.
#pragma once

#include "platform/frontwindow.h"

// True for the auxiliary windows the user opens (preferences, facts,
// about, help); the splash is not one of them. The menus and the quit walk
// both ask this.
bool BIsAuxiliaryWindow(QWidget *window);

void QRLInitMainMenu();
// Sets every item's enabled state from the front window and the documents.
void QRLAdjustMenus();
