// Starts the windowed or command-line program beside it; C library only, for a cheap start-up.
#pragma once

#define QRL_WINDOWED_PROGRAM "quorlscope-gui"
#define QRL_COMMAND_LINE_PROGRAM "quorlscope-cli"

// True when the first argument is "table", "stack" or "export".
bool QRLIsSubcommand(int argc, char **argv);

// Replaces this process with `name` in `folder`, relative to this
// executable's own folder, with the same arguments. Returns only on failure,
// after saying why, with a shell's status: 127 not there, 126 not started.
int QRLRunProgramBeside(const char *folder, const char *name, char **argv);
