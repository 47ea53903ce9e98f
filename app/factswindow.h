// The window of facts about depth of field.
#pragma once

#include "platform/frontwindow.h"

void QRLInitFactsWindow();
QWidget *QRLGetFactsWindowRef();
bool QRLIsFactsWindow(QWidget *theWindow);
void QRLDepthFactsCommandHandler(QWidget *window);
