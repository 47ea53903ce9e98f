// Start-up: the fixed order in which the application comes up.
#pragma once

#include <chrono>

void BInitApplication();
// The whole program: start-up, the files named on the command line, the event loop.
int BRunApplication(int argc, char **argv);

// How long the splash stays up: 170 sixtieths of a second.
constexpr std::chrono::duration<int, std::ratio<1, 60>> kSplashTime(170);
