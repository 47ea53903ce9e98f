// The headless test driver: runs the program as a user would, and observes it.
#pragma once

#include <chrono>
#include <string>
#include <vector>

class QImage;

// Thrown by platform::exitProcess in headless runs instead of ending the process.
struct ProcessExitRequested {
};
// Throws the process end held while a Qt widget's own code was on the stack.
void ThrowHeldExit();

// A splash shown without its wait (headless): how long it was meant to stay.
struct SplashWait {
    std::string window; // the splash's object name
    int width;
    int height;
    std::chrono::milliseconds duration;
    bool busyCursor;
};
std::vector<SplashWait> TakeSplashWaits();
void SetSplashWaitSkipped(bool skipped);
// What the last splash showed.
QImage GetSplashPicture();

// How many times Beep has sounded.
int GetBeepCount();
// The windows shown so far, by interface name, in order of their first showing.
std::vector<std::string> GetShowLog();

// Lets Qt finish what it deferred; headless runs have no event loop to do it.
void ProcessPendingEvents();
