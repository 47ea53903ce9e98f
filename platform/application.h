// Bringing the platform up: the GUI application, or a headless one for tests.
#pragma once

#include "types.h"

#include <string>
#include <vector>

struct PlatformOptions {
    // Run without a display (Qt's offscreen platform) and let the test driver
    // answer alerts, modal windows and file dialogs.
    bool headless = false;
    // The start-up measurement the program asks for, or null (see probe.cpp):
    // "wait" keeps the splash wait, any other value skips it.
    const char *startupProbe = nullptr;
};

// Creates the application object. argc and argv must outlive the platform.
// The command-line arguments that name files are returned, in order.
std::vector<std::string> PlatformInitialize(int &argc, char **argv, const PlatformOptions &options);
// A GUI application that opens no windows, for drawing (PDF documents) from
// the command line: always Qt's offscreen platform, whatever the
// environment names, the user's language for the program's texts. Qt gets
// the program's name (which must outlive it) and none of the command's
// arguments.
void PlatformInitializeForDrawing(const char *programName);
// Ends the application object that PlatformInitialize or
// PlatformInitializeForDrawing made, before the process's exit handlers take
// Qt's platform plugin and its window data away: the deletes Qt has deferred
// run, every top-level widget goes, and then the application object.
// Nothing of the platform is used afterwards; without an application object
// it does nothing.
void PlatformTerminate();
// The owner of a run's application object: it ends with the owner's scope.
struct PlatformRun {
    PlatformRun() = default;
    PlatformRun(const PlatformRun &) = delete;
    PlatformRun &operator=(const PlatformRun &) = delete;
    ~PlatformRun() { PlatformTerminate(); }
};
// True when PlatformInitialize was asked for a headless application.
bool PlatformIsHeadless();
// Runs Qt's event loop; headless runs return at once (the test driver
// dispatches from then on).
void PlatformRunEventLoop();
// True when the GUI can reach a display; the caller explains otherwise.
bool PlatformHasDisplay();
