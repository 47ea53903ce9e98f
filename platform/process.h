// Process, time and cursor.
#pragma once

#include "types.h"

// Ends the process at once; does not return.
[[noreturn]] void ExitToShell();
// Ticks since start-up, 60 per second.
std::uint32_t TickCount();
// Blocks the calling thread, handling no events, until TickCount reaches target.
void WaitUntilTick(std::uint32_t target);
void SysBeep(short duration);
void QDDisplayWaitCursor(Boolean forceUpdate);
// Puts what was drawn into the shown windows on the screen now, waiting for
// the window system to show them (at most a second); handles no user input.
// Offscreen there is no screen to wait for.
struct GrafPort;
void QDFlushPortBuffer(GrafPort *port);
OSErr AEInteractWithUser(std::int32_t timeOutInTicks, void *notification, void *idleProc);
constexpr std::int32_t kNoTimeOut = -2;
