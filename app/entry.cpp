#include "app/main.h"
#include "app/programs.h"
#include "app/subcommands.h"
#include "platform/application.h"
#include "platform/charactertype.h"
#include "print/pdfexport.h"

int main(int argc, char **argv)
{
    PlatformChooseUTF8CharacterType();
    // `table` and `export` need no display. They come here for a PDF, which
    // the command-line program hands over, or when started directly. A PDF
    // is drawn with Qt's painting, on the offscreen platform unless another
    // is chosen.
    if (QRLIsSubcommand(argc, argv)) {
        if (QRLSubcommandNeedsPainting(argc, argv)) {
            PlatformInitializeForDrawing(argc, argv);
            QRLSetSubcommandPDFRenderer(QRLTablesAsPDFDocument);
        }
        return QRLRunSubcommandProcess(argc, argv);
    }
    return BRunApplication(argc, argv);
}
