// Process, time and cursor.
#pragma once

#include "types.h"

// Ends the process at once; does not return.
[[noreturn]] void ExitToShell();
// What the application does when its last window closes, a termination
// signal arrives or the session ends; set once at start-up.
void SetQuitHandler(void (*handler)());
// Asks the application to quit now; with no handler set, the process ends.
void RequestQuit();
// Ticks since start-up, 60 per second.
std::uint32_t TickCount();
// Blocks the calling thread, handling no events, until TickCount reaches target.
// meanwhile, when given, runs first, once the windows shown so far are on
// screen: work that would otherwise hold them up, done within the wait.
void WaitUntilTick(std::uint32_t target, void (*meanwhile)() = nullptr);
void SysBeep();
void QDDisplayWaitCursor(Boolean forceUpdate);
