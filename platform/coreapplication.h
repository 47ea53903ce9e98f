// A core application for the command line: no display, no windows.
#pragma once

namespace platform
{

// Creates the core application object, with no arguments but the program's
// name (argv[0], which must outlive it): the command's own arguments are
// never read as Qt's options.
void startCoreApplication(const char *programName);

} // namespace platform
