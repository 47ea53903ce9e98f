// The command line: --help and --version, answered without a display, and
// the files to open.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    // The files named after the options, as absolute paths, in order.
    std::vector<std::string> files;
    // Set when the process is done after parsing (help, version or a
    // usage error, already printed); exitCode is what it ends with.
    bool finished = false;
    int exitCode = 0;
};

// Reads the options and files. Runs before the application object exists,
// so --help and --version work without a display; options meant for the
// window system (-platform, -display ...) are left for it.
CommandLine ParseCommandLine(int argc, char **argv);
// Checks the command line again once the application object has taken its
// own options away: an option nobody knows is a usage error, printed.
CommandLine CheckCommandLineOptions(int argc, char **argv);
