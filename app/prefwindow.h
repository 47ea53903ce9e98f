// The preferences window and the one persisted preference, the distance unit.
#pragma once

#include "platform/frontwindow.h"

#include <cstdint>

void BInitPrefWindow();
QWidget *BGetPrefWindowRef();
short BIsPrefWindow(QWidget *theWindow);
void BPreferencesCommandHandler(QWidget *window);
