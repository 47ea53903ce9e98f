// The help window: the help book registered at start-up, shown in a window
// of the application with its links followable and Back and Forward.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

void BInitHelpWindow();
WindowRef BGetHelpWindowRef();
Boolean BIsHelpWindow(WindowRef theWindow);
// Shows the help window at the book's front page, or brings it to the
// front as it is when it is already showing.
void BHelpCommandHandler(WindowRef window);
