// The help window: the help book registered at start-up, shown in a window
// of the application with its links followable and Back and Forward.
#pragma once

#include "platform/frontwindow.h"

void BInitHelpWindow();
QWidget *BGetHelpWindowRef();
bool BIsHelpWindow(QWidget *theWindow);
// Shows the help window at the book's front page, or brings it to the
// front as it is when it is already showing.
void BHelpCommandHandler(QWidget *window);
