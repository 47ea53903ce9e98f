// The preferences window and the one persisted preference, the distance unit.
#pragma once

#include "platform/frontwindow.h"

void BInitPrefWindow();
QWidget *BGetPrefWindowRef();
bool BIsPrefWindow(QWidget *window);
void BPreferencesCommandHandler(QWidget *window);
