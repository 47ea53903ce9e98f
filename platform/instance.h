// One running instance per user: a later start hands its files to the
// running one and ends.
#pragma once

#include <string>
#include <vector>

enum class InstanceRole {
    running,    // this process is the running instance (or runs on its own)
    handedOver, // the running instance took the files; end with 0
    failed,     // a running instance exists but did not take the files; printed
};

// Receives the files a later instance handed over, from the event loop,
// once the application's event loop runs.
using HandedOverFilesProc = void (*)(const std::vector<std::string> &files);

// Becomes the running instance, listening on a local socket in the user's
// runtime folder, or hands files to the instance already listening there.
// A socket left by an instance that crashed is taken over. Needs the
// application object. Without a runtime folder the process runs on its own.
InstanceRole ClaimSingleInstance(const std::vector<std::string> &files, HandedOverFilesProc receiver);
// Where the socket is: "<runtime folder>/<bundle identifier>.socket".
std::string instanceSocketPath();
// Stops listening and removes the socket (tests).
void ReleaseSingleInstance();
