// Process end, the application's quit, the splash's wait and the alert sound.
#pragma once

#include <chrono>
#include <functional>

class QWidget;

namespace platform
{
// Ends the process at once; does not return.
[[noreturn]] void exitProcess();
// Runs fn, the answer to a Qt widget's signal. A headless run's process end
// inside fn is held until the widget's code has returned (ThrowHeldExit).
void runHoldingExit(const std::function<void()> &fn);
} // namespace platform

// What the application does when asked to quit; set once at start-up.
void SetQuitHandler(void (*handler)());
// Asks the application to quit now; with no handler set, the process ends.
void RequestQuit();

// Shows the splash for duration under the busy cursor (input and sockets
// wait) and runs meanwhile once it is on screen. Headless runs skip the wait.
void ShowSplashFor(QWidget &splash, std::chrono::milliseconds duration, void (*meanwhile)());

// The alert sound.
void Beep();
