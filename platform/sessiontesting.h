// The test driver's side of the session end and the termination signals.
#pragma once

#include <functional>

// What the application told the session manager.
struct SessionEndReport {
    bool interactionAsked = false; // it asked to talk to the user
    bool cancelled = false;        // it asked for the logout to be called off
};

// Ends the session as a session manager would; the report holds even when the process ends.
void SimulateSessionEnd(bool interactionAllowed, SessionEndReport *report);
// Runs instead of the event loop that waits for the quit review (it may
// answer the dialogs); without a script the wait ends at once.
void SetSessionEndScript(std::function<void()> script);
// Catches the termination signals as the application does (headless runs do not).
void CatchTerminationSignals();
// Delivers the signals that arrived since the last call; returns how many.
int DeliverPendingSignals();
// Whether the signal's handler is the application's own, not the default action.
bool IsSignalCaught(int signalNumber);
