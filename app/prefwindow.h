// The preferences window and the one persisted preference, the distance unit.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

#include <cstdint>

void BInitPrefWindow();
WindowRef BGetPrefWindowRef();
short BIsPrefWindow(WindowRef theWindow);
void BPreferencesCommandHandler(WindowRef window);
