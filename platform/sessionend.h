// The end of the desktop session and termination signals, turned into the
// application's quit request. What the platform's own files share; program modules
// never include it.
#pragma once

namespace platform
{

// Connects the session manager's requests and catches SIGTERM, SIGHUP and
// SIGINT (those not ignored at start) through a self-pipe read by the event
// loop. Called once the application object exists.
void installSessionEndHandling();

// While it lives, the termination signals the application catches have
// their default action, and one that arrived before ends the process at
// once: a start that waits outside the event loop (handing its files to
// the running instance) stops on Ctrl+C.
class SignalsEndProcess
{
  public:
    SignalsEndProcess();
    ~SignalsEndProcess();
    SignalsEndProcess(const SignalsEndProcess &) = delete;
    SignalsEndProcess &operator=(const SignalsEndProcess &) = delete;
};

} // namespace platform
