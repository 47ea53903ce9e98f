// The preferences window and the one persisted preference, the distance unit.
#pragma once

#include "platform/events.h"
#include "platform/window.h"

#include <cstdint>

void BInitPrefWindow();
OSStatus BPrefWindowEventHandler(EventHandlerCallRef handlerRef, EventRef event, void *userData);
WindowRef BGetPrefWindowRef();
short BIsPrefWindow(WindowRef theWindow);
void BPreferencesCommandHandler(WindowRef window);

// The stored distance unit: 1 metres, 2 feet; 1 when nothing (or no
// integer) is stored.
std::int32_t BCopyDistanceUnit();

constexpr const char *kDistanceUnitKey = "Distance Unit";
