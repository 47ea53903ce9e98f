// `quorlscope`: the command users type and the desktop starts. It only
// picks the program: `table` and `export` go to the command-line program,
// which loads Qt Core alone; everything else (documents, --help, --version)
// goes to the windowed program, in the same process.
#include "cli/programs.h"

int main(int argc, char **argv)
{
    return QRLRunProgramBeside(QRL_PROGRAMS_FOLDER,
                               QRLIsSubcommand(argc, argv) ? QRL_COMMAND_LINE_PROGRAM : QRL_WINDOWED_PROGRAM,
                               argv);
}
