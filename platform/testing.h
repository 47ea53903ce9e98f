// The headless test driver: lets a test run the program the way a user
// would, answering alerts and modal windows from a script, and observe what
// the program showed.
#pragma once

#include "alerts.h"
#include "controls.h"
#include "window.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// Thrown by ExitToShell in headless runs instead of ending the process, so a
// test can observe the end.
struct ProcessExitRequested {
};

struct ShownAlert {
    AlertType type;
    std::string message;
    std::string explanation;
    bool movable;
};

// Every alert shown so far, oldest first; the list is kept until taken.
std::vector<ShownAlert> TakeShownAlerts();

// Runs in place of the event loop of an application-modal window: it may set
// fields and send commands to the window; the modal run ends when the script
// returns, whether or not the window quit its loop. Without a script a modal
// run ends at once.
void SetModalScript(std::function<void(WindowRef)> script);
// Whether the last modal window was ended by QuitAppModalLoopForWindow.
bool LastModalLoopQuit();

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

// How many times Beep has sounded.
int GetBeepCount();
// The windows shown so far, by interface name, in order of their first showing.
std::vector<std::string> GetShowLog();

// Clicks the enabled button of the window that sends the command, as a user
// would; false when the window has no such button or it is disabled.
bool ClickCommandButton(WindowRef window, std::uint32_t commandID);
// Chooses item (from 1) of a pop-up as a user would: the pop-up sends its command.
bool ChoosePopupItem(ControlRef popup, std::int32_t item);
// Types text into a field as a user would, replacing what it held.
bool TypeIntoField(ControlRef field, const std::string &text);
// The widget that has the keyboard focus in the window, as a control.
ControlRef GetFocusedControl(WindowRef window);
// Whether the field's whole text is selected.
bool IsFieldTextSelected(ControlRef field);
// The controls that Tab visits in the window, in order, starting at the focus.
std::vector<ControlRef> GetTabChain(WindowRef window);

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
