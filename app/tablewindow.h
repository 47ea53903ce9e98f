// The table parameters window, in which the user enters the arguments of a
// table and computes it into the front document.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

void QRLComputeTableCommandHandler(WindowRef window);
void QRLInitTableWindow();
int QRLIsTableWindow();
