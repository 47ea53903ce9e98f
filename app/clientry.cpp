// The command-line program: `table` and `export` with Qt Core alone; a PDF
// needs Qt's painting and goes to the windowed program.
#include "cli/programs.h"
#include "cli/subcommands.h"
#include "platform/coreapplication.h"

#include <cstdlib>

int main(int argc, char **argv)
{
    platform::chooseUTF8CharacterType();
    if (QRLSubcommandNeedsPainting(argc, argv)) {
        // Offscreen: the export never waits on, or fails for, an X server.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return QRLRunProgramBeside(".", QRL_WINDOWED_PROGRAM, argv);
    }
    return QRLRunSubcommandProcess(argc, argv);
}
