// `quorlscope` only picks the program, in the same process: `table` and
// `export` go to the command-line program, everything else to the windowed one.
#include "cli/programs.h"

int main(int argc, char **argv)
{
    return QRLRunProgramBeside(QRL_PROGRAMS_FOLDER,
                               QRLIsSubcommand(argc, argv) ? QRL_COMMAND_LINE_PROGRAM : QRL_WINDOWED_PROGRAM,
                               argv);
}
