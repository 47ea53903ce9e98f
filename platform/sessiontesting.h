// The session end's side of the headless test driver: a test ends the
// desktop session as a session manager would, and delivers the termination
// signals the process has received, as the event loop does.
#pragma once

#include <functional>

// What the application told the session manager.
struct SessionEndReport {
    bool interactionAsked = false; // it asked to talk to the user
    bool cancelled = false;        // it asked for the logout to be called off
};

// The session manager asks the application to save its data before the
// session ends, allowing interaction with the user or not. The report is
// filled as the request goes, so it holds even when the request ends the
// process.
void SimulateSessionEnd(bool interactionAllowed, SessionEndReport *report);
// Runs in place of the event loop in which the application, asked by the
// session manager, waits for the quit review to end: it may answer the
// dialogs. Without a script the wait ends at once.
void SetSessionEndScript(std::function<void()> script);

// Headless runs leave termination signals alone: this catches them as the
// application does (those not ignored at start) for the test driver.
void CatchTerminationSignals();
// Delivers the SIGTERM, SIGHUP and SIGINT signals that arrived since the
// last call; returns how many were taken.
int DeliverPendingSignals();
// Whether the handler of this signal is the application's own (false: the
// signal's default action, as while a quit review of a signal is showing).
bool IsSignalCaught(int signalNumber);
