// An Xvfb of the benchmark's own, on a display number the server picks
// itself among the free ones.
#pragma once

#include <string>
#include <sys/types.h>

struct XServer {
    pid_t pid = -1;
    std::string display; // ":N" once started
    std::string problem; // why it did not start
};

// Starts Xvfb when it is on the PATH; false (with the reason in problem)
// when it is missing or does not come up.
bool StartXServer(XServer &server);
void StopXServer(XServer &server);
