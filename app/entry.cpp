#include "app/main.h"
#include "app/programs.h"
#include "app/subcommands.h"

int main(int argc, char **argv)
{
    // `table` and `export` need no display. They come here for a PDF, which
    // the command-line program hands over, or when started directly.
    if (QRLIsSubcommand(argc, argv))
        return QRLRunSubcommandProcess(argc, argv);
    return BRunApplication(argc, argv);
}
