// The command line: --help and --version, answered without a display, and
// the files to open.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    // The files named after the options, as absolute paths, in order.
    std::vector<std::string> files;
    // The process is done (help, version or a printed usage error) and ends with exitCode.
    bool finished = false;
    int exitCode = 0;
};

// Runs before the application object exists and answers --help and
// --version; other options may be the window system's (-platform ...).
CommandLine ParseCommandLine(int argc, char **argv);
// Once the application has taken its own options, an unknown option is a
// printed usage error; otherwise the files.
CommandLine CheckCommandLineOptions(int argc, char **argv);
