#include "app/main.h"
#include "cli/programs.h"
#include "cli/subcommands.h"
#include "document/mainwindow.h"
#include "platform/application.h"
#include "platform/coreapplication.h"
#include "print/pdfexport.h"

namespace
{

// The command line's PDF: the sheet as printed, laid out as a document
// window first opens; ok false (and nothing) when it cannot be made.
std::string tablesAsPDFDocument(const std::vector<tExportTable> &tables, bool *ok)
{
    std::optional<std::string> pdf = QRLTablesAsPDF(tables, QRLDefaultSheetBounds(), BDrawPrintedSheet);
    *ok = pdf.has_value();
    return pdf.value_or(std::string());
}

} // namespace

int main(int argc, char **argv)
{
    platform::chooseUTF8CharacterType();
    // `table` and `export` need no display. They come here for a PDF, which
    // the command-line program hands over, or when started directly. A PDF
    // is drawn with Qt's painting, always on the offscreen platform; Qt sees
    // none of the command's arguments.
    if (QRLIsSubcommand(argc, argv)) {
        if (QRLSubcommandNeedsPainting(argc, argv)) {
            platform::initializeForDrawing(argv[0]);
            QRLSetSubcommandPDFRenderer(tablesAsPDFDocument);
        }
        return QRLRunSubcommandProcess(argc, argv);
    }
    return BRunApplication(argc, argv);
}
