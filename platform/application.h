// Bringing the platform up: the GUI application, or a headless one for tests.
#pragma once

#include "types.h"

#include <string>
#include <vector>

struct PlatformOptions {
    // Run without a display (Qt's offscreen platform) and let the test driver
    // answer alerts, modal windows and file dialogs.
    bool headless = false;
};

// Creates the application object. argc and argv must outlive the platform.
// The command-line arguments that name files are returned, in order.
std::vector<std::string> PlatformInitialize(int &argc, char **argv, const PlatformOptions &options);
// A GUI application that opens no windows, for drawing (PDF documents) from
// the command line: Qt's offscreen platform unless one is chosen, the
// user's language for the program's texts.
void PlatformInitializeForDrawing(int &argc, char **argv);
Boolean PlatformIsHeadless();
// True when the GUI can reach a display; the caller explains otherwise.
Boolean PlatformHasDisplay();
