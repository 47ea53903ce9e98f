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

using HandedOverFilesProc = void (*)(const std::vector<std::string> &files);

// Hands the files to the instance listening in the runtime folder, or else
// listens there itself (taking over a socket left by a crash). Without a
// runtime folder the process runs on its own.
InstanceRole ClaimSingleInstance(const std::vector<std::string> &files, HandedOverFilesProc receiver);
// "<runtime folder>/<bundle identifier>.socket".
std::string instanceSocketPath();
// Stops listening and removes the socket.
void ReleaseSingleInstance();
