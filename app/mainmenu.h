// The menu bar, the enabled state of its items, and what each item does.
#pragma once

#include "platform/frontwindow.h"

// True for the auxiliary windows (preferences, facts, about, help).
bool BIsAuxiliaryWindow(QWidget *window);
// With nothing unsaved the process ends; one unsaved document is asked
// about, more are reviewed.
void BHandleQuitApplication();
void QRLInitMainMenu();
// Sets every item's enabled state from the front window and the documents.
void QRLAdjustMenus();
