// The headless test driver: lets a test run the program the way a user
// would and observe what the program showed.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Thrown by platform::exitProcess in headless runs instead of ending the process, so a
// test can observe the end.
struct ProcessExitRequested {
};
// Throws the end of the process the program asked for while a Qt widget's
// own code was on the stack (a dialog's button), once that code has returned;
// nothing when none is held.
void ThrowHeldExit();

// The start-up splash: headless runs skip its wait and record what showed,
// how long it was meant to stay and whether the busy cursor was up.
struct SplashWait {
    std::string window; // the splash's object name
    int width;
    int height;
    std::chrono::milliseconds duration;
    bool busyCursor;
};
std::vector<SplashWait> TakeSplashWaits();
void SetSplashWaitSkipped(bool skipped);
// What the last splash showed while it was up.
class QImage;
QImage GetSplashPicture();

// How many times Beep has sounded.
int GetBeepCount();
// The windows shown so far, by interface name, in order of their first showing.
std::vector<std::string> GetShowLog();

// Lets Qt finish what it deferred (widgets of disposed windows are deleted
// later); headless runs have no event loop to do it.
void ProcessPendingEvents();
