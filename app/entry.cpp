#include "app/main.h"
#include "app/subcommands.h"

int main(int argc, char **argv)
{
    // `quorlscope table ...` and `quorlscope export ...` need no display.
    if (QRLIsSubcommand(argc, argv))
        return QRLRunSubcommandProcess(argc, argv);
    return BRunApplication(argc, argv);
}
