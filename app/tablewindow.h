// The table parameters window, in which the user enters the arguments of a
// table and computes it into the front document.
#pragma once

#include "platform/frontwindow.h"

void QRLComputeTableCommandHandler(QWidget *window);
void QRLInitTableWindow();
int QRLIsTableWindow();
