// Start-up: the fixed order in which the application comes up.
#pragma once

void BInitApplication();
// The whole program: start-up, the files named on the command line, the event loop.
int BRunApplication(int argc, char **argv);
