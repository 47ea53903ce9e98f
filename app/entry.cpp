#include "app/main.h"
#include "cli/programs.h"
#include "cli/subcommands.h"
#include "platform/application.h"
#include "platform/charactertype.h"
#include "print/pdfexport.h"

int main(int argc, char **argv)
{
    PlatformChooseUTF8CharacterType();
    // `table` and `export` need no display. They come here for a PDF, which
    // the command-line program hands over, or when started directly. A PDF
    // is drawn with Qt's painting, always on the offscreen platform; Qt sees
    // none of the command's arguments.
    if (QRLIsSubcommand(argc, argv)) {
        if (QRLSubcommandNeedsPainting(argc, argv)) {
            PlatformInitializeForDrawing(argv[0]);
            QRLSetSubcommandPDFRenderer(QRLTablesAsPDFDocument);
        }
        return QRLRunSubcommandProcess(argc, argv);
    }
    return BRunApplication(argc, argv);
}
