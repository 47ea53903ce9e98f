// The command-line program: `table` and `export` with Qt Core alone. A PDF
// is drawn through the printing path, which needs Qt's painting: that
// export goes to the windowed program, which runs it without a display.
#include "cli/programs.h"
#include "cli/subcommands.h"
#include "platform/coreapplication.h"

#include <cstdlib>

int main(int argc, char **argv)
{
    platform::chooseUTF8CharacterType();
    if (QRLSubcommandNeedsPainting(argc, argv)) {
        // The offscreen platform draws the same page with no window system,
        // so the export never waits on, or fails for, an X server, whatever
        // platform the user's environment names.
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return QRLRunProgramBeside(".", QRL_WINDOWED_PROGRAM, argv);
    }
    return QRLRunSubcommandProcess(argc, argv);
}
