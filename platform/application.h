// Bringing the platform up: the GUI application, or a headless one for tests.
#pragma once

namespace platform
{

struct StartOptions {
    bool headless = false;              // offscreen, the test driver answers the dialogs
    const char *startupProbe = nullptr; // the start-up measurement asked for (probe.cpp), or null
};

// Creates the application object; argc and argv must outlive it.
void initialize(int &argc, char **argv, const StartOptions &options);
// An offscreen GUI application that only draws (PDF from the command line),
// with no arguments but the program's name, which must outlive it.
void initializeForDrawing(const char *programName);
// Ends windows and application object before the exit handlers take Qt's plugin.
void shutDown();
// Owns a run's application object: it ends with the owner's scope.
struct ApplicationGuard {
    ApplicationGuard() = default;
    ApplicationGuard(const ApplicationGuard &) = delete;
    ApplicationGuard &operator=(const ApplicationGuard &) = delete;
    ~ApplicationGuard() { shutDown(); }
};
// Runs Qt's event loop; headless runs return at once.
void runEventLoop();
// True when the GUI can reach a display; the caller explains otherwise.
bool hasDisplay();

} // namespace platform
