// The headless test driver: lets a test run the program the way a user
// would, answering modal windows from a script, and observe what
// the program showed.
#pragma once

#include "window.h"

#include <functional>
#include <string>
#include <vector>

// Thrown by ExitToShell in headless runs instead of ending the process, so a
// test can observe the end.
struct ProcessExitRequested {
};

// Runs in place of the event loop of an application-modal window: it may set
// fields and send commands to the window; the modal run ends when the script
// returns, whether or not the window quit its loop. Without a script a modal
// run ends at once.
void SetModalScript(std::function<void(WindowRef)> script);
// Whether the last modal window was ended by QuitAppModalLoopForWindow.
bool LastModalLoopQuit();

// Start-up waits for ticks; headless runs skip the wait and record it.
struct TickWait {
    std::uint32_t start;
    std::uint32_t target;
};
std::vector<TickWait> TakeTickWaits();
void SetTickWaitSkipped(bool skipped);

// How many times SysBeep has sounded.
int GetBeepCount();
// Whether the busy cursor is showing.
bool IsWaitCursorShown();
// The windows shown so far, by interface name, in order of their first showing.
std::vector<std::string> GetShowLog();

// Lets Qt finish what it deferred (widgets of disposed windows are deleted
// later); headless runs have no event loop to do it.
void ProcessPendingEvents();

// Files: the steps of a save that a test can make fail. abandon stops after
// the temporary is written, leaving it behind unheld, as a save killed
// before its rename does.
enum class FSSaveStep { none, create, write, flush, rename, abandon };
void FSSetSaveFaultForTesting(FSSaveStep step);
// FSRead fails with ioErr while set.
void FSSetReadFaultForTesting(Boolean fail);
