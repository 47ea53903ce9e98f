// Process end, the application's quit, the start-up splash's wait and the
// alert sound.
#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace platform
{
// Ends the process at once; does not return.
[[noreturn]] void exitProcess();
} // namespace platform

// What the application does when its last window closes, a termination
// signal arrives or the session ends; set once at start-up.
void SetQuitHandler(void (*handler)());
// Asks the application to quit now; with no handler set, the process ends.
void RequestQuit();

// Shows the splash and keeps it up for duration under the busy cursor,
// running the event loop for nothing but painting and timers: the user's
// input and the sockets (files from a later start, a signal) wait. meanwhile
// runs once the splash is on screen: work that would otherwise hold it up.
// The splash is hidden at the end. Headless runs skip the wait and record it.
void ShowSplashFor(QWidget &splash, std::chrono::milliseconds duration, void (*meanwhile)());

// The alert sound.
void Beep();

namespace platform
{
// Runs fn, the program's answer to a Qt widget's signal. A headless run's end
// of the process asked for inside fn is held until the widget's own code has
// returned: the test driver then throws it (ThrowHeldExit in testing.h).
void runHoldingExit(const std::function<void()> &fn);
} // namespace platform
