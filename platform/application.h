// Bringing the platform up: the GUI application, or a headless one for tests.
#pragma once

#include <string>
#include <vector>

namespace platform
{

struct StartOptions {
    // Run without a display (Qt's offscreen platform) and let the test driver
    // answer alerts, modal windows and file dialogs.
    bool headless = false;
    // The start-up measurement the program asks for, or null (see probe.cpp):
    // "wait" keeps the splash wait, any other value skips it.
    const char *startupProbe = nullptr;
};

// Creates the application object. argc and argv must outlive the platform.
// The command-line arguments that name files are returned, in order.
std::vector<std::string> initialize(int &argc, char **argv, const StartOptions &options);
// A GUI application that opens no windows, for drawing (PDF documents) from
// the command line: always Qt's offscreen platform, whatever the
// environment names, the user's language for the program's texts. Qt gets
// the program's name (which must outlive it) and none of the command's
// arguments.
void initializeForDrawing(const char *programName);
// Ends the application object that platform::initialize or
// platform::initializeForDrawing made, before the process's exit handlers take
// Qt's platform plugin and its window data away: the deletes Qt has deferred
// run, every top-level widget goes, and then the application object.
// Nothing of the platform is used afterwards; without an application object
// it does nothing.
void shutDown();
// The owner of a run's application object: it ends with the owner's scope.
struct ApplicationGuard {
    ApplicationGuard() = default;
    ApplicationGuard(const ApplicationGuard &) = delete;
    ApplicationGuard &operator=(const ApplicationGuard &) = delete;
    ~ApplicationGuard() { shutDown(); }
};
// True when platform::initialize was asked for a headless application.
bool isHeadless();
// Runs Qt's event loop; headless runs return at once (the test driver
// dispatches from then on).
void runEventLoop();
// True when the GUI can reach a display; the caller explains otherwise.
bool hasDisplay();

} // namespace platform
