#include "app/main.h"
#include "cli/programs.h"
#include "cli/subcommands.h"
#include "document/document.h"
#include "platform/application.h"
#include "platform/coreapplication.h"
#include "print/pdfexport.h"

namespace
{

// The command line's PDF: the sheet as printed; ok false when it cannot be made.
std::string tablesAsPDFDocument(const std::vector<tExportTable> &tables, bool *ok)
{
    std::optional<std::string> pdf = QRLTablesAsPDF(tables, QRLDefaultSheetBounds());
    *ok = pdf.has_value();
    return pdf.value_or(std::string());
}

} // namespace

int main(int argc, char **argv)
{
    platform::chooseUTF8CharacterType();
    // `table` and `export` come here for a PDF, drawn with Qt's painting on the
    // offscreen platform (Qt sees none of their arguments), or when started directly.
    if (QRLIsSubcommand(argc, argv)) {
        if (QRLSubcommandNeedsPainting(argc, argv)) {
            platform::initializeForDrawing(argv[0]);
            QRLSetSubcommandPDFRenderer(tablesAsPDFDocument);
        }
        return QRLRunSubcommandProcess(argc, argv);
    }
    return BRunApplication(argc, argv);
}
