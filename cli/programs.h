// The programs behind `quorlscope`: a small launcher starts either the
// windowed program or the command-line one, which lie in a folder of their
// own beside it (libexec/quorlscope once installed). C library only, so
// that the launcher costs the windowed program's start-up next to nothing.
#pragma once

// The program that draws windows, menus and printouts.
#define QRL_WINDOWED_PROGRAM "quorlscope-gui"
// The program that runs `table` and `export` with Qt Core only.
#define QRL_COMMAND_LINE_PROGRAM "quorlscope-cli"

// True when the first argument names a subcommand ("table" or "export"),
// which runs without a display.
bool QRLIsSubcommand(int argc, char **argv);

// Replaces this process with the program `name` in `folder`, a folder given
// relative to the one this executable lies in; the arguments (argv[0]
// included) stay as they are. Returns only when that fails, after saying
// why on standard error, with the status a shell gives: 127 when the
// program is not there, 126 when it cannot be started.
int QRLRunProgramBeside(const char *folder, const char *name, char **argv);
