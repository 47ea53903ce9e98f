// Start-up: the fixed order in which the application comes up.
#pragma once

#include "platform/types.h"

void BInitApplication();
OSStatus BInitHelp();
// The whole program: platform, start-up, the files named on the command
// line, and the event loop.
int BRunApplication(int argc, char **argv);

constexpr std::uint32_t kSplashTicks = 170;
