// The window of facts about depth of field.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

void QRLInitFactsWindow();
WindowRef QRLGetFactsWindowRef();
Boolean QRLIsFactsWindow(WindowRef theWindow);
void QRLDepthFactsCommandHandler(WindowRef window);
