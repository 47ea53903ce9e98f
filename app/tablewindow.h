// The table parameters window, which computes a table into the front document.
#pragma once

#include "platform/frontwindow.h"

void QRLComputeTableCommandHandler(QWidget *window);
int QRLIsTableWindow();
