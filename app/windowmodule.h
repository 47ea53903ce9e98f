// What the auxiliary windows (preferences, facts, about, splash) share: each
// is built once from its form and hidden rather than closed.
// Which windows are auxiliary is decided with the menus (mainmenu.h).
#pragma once

#include "platform/events.h"
#include "platform/window.h"

#include <string>

// Shows the window, brings it to the front, and leaves the current port as it was.
void BShowAuxiliaryWindow(WindowRef window);
// Hides the window and activates the window that is then in front.
void BHideAndSelectFront(WindowRef window);
