// A core application for the command line: no display, no windows.
#pragma once

// Creates the core application object. argc and argv must outlive it.
void PlatformInitializeWithoutDisplay(int &argc, char **argv);
