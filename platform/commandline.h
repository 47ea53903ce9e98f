// The command line: --help and --version, answered without a display, and the files to open.
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

// Answers --help and --version before the application exists; other options may be the window system's.
CommandLine ParseCommandLine(int argc, char **argv);
// After the application took its own options: a usage error on an unknown one, else the files.
CommandLine CheckCommandLineOptions(int argc, char **argv);
