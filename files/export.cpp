// Exports are saved as documents are, so that a failure leaves no partial file.
#include "files/export.h"

#include "document/document.h"
#include "files/file.h"
#include "files/filedialogs.h"
#include "formats/exportformats.h"
#include "platform/frontwindow.h"
#include "print/pdfexport.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <optional>

namespace
{

// The window's title without trailing blanks and the table document's extension.
std::string exportTitle(tDocumentPtr document)
{
    QString title = QString::fromStdString(platform::windowTitleOf(document));
    while (title.endsWith(QLatin1Char(' ')))
        title.chop(1);
    const QString extension = "." + QString::fromStdString(platform::typeExtension(kDocumentFileType));
    if (title.size() > extension.size() && title.endsWith(extension, Qt::CaseInsensitive))
        title.chop(extension.size());
    return title.isEmpty() ? "Untitled" : title.toStdString();
}

// The file's contents, or nullopt when they cannot be made.
std::optional<std::string> exportBytes(tDocumentPtr document, tExportFormat format)
{
    const std::vector<tExportTable> tables{{exportTitle(document), document->dataPtr}};
    if (format == kExportPDF) // the sheet laid out as the window shows it
        return QRLTablesAsPDF(tables, BSheetBounds(document));
    return format == kExportJSON ? QRLTablesAsJSON(tables) : QRLTablesAsCSV(tables);
}

// Writes the table to target; a table document that is open is not replaced.
void exportDocument(tDocumentPtr document, const std::string &target, tExportFormat format, bool replacing)
{
    if (BRefuseFileInUse(target))
        return;
    const std::optional<std::string> bytes = exportBytes(document, format);
    const Replace replace = replacing ? Replace::unlocked : Replace::never;
    // The reason is empty when the file was written.
    const std::string reason =
        bytes ? SaveFile(target, QByteArray::fromStdString(*bytes), replace, true).reason()
              : QCoreApplication::translate("Program", "its contents could not be made").toStdString();
    if (!reason.empty())
        BAlertFileError("Could not export the table", "The file \u201c%1\u201d could not be written: %2.",
                        target, reason);
}

} // namespace

void BDoCreateExportPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    // The folder as the dialog names it: one that has gone meanwhile fails
    // the write, which says why.
    BRunSaveDialog(theDocumentPtr, exportTitle(theDocumentPtr) + ".csv",
                   {{"CSV", "csv"}, {"JSON", "json"}, {"PDF", "pdf"}},
                   [theDocumentPtr](const std::optional<tSaveLocation> &location) {
                       if (location)
                           exportDocument(theDocumentPtr, location->path, tExportFormat(location->format),
                                          location->replacing);
                   });
}

bool QRLCopyTable(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr || !QRLIsDataValid(theDocumentPtr->dataPtr))
        return false;
    const std::vector<tExportTable> tables{{exportTitle(theDocumentPtr), theDocumentPtr->dataPtr}};
    const std::optional<std::string> tabText = QRLTablesAsTabText(tables);
    const std::optional<std::string> csv = QRLTablesAsCSV(tables);
    if (!tabText || !csv)
        return false;
    // Both flavors as one item: a paste picks the one it understands.
    auto *mime = new QMimeData; // the clipboard takes it over
    mime->setText(QString::fromStdString(*tabText));
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(*csv));
    QGuiApplication::clipboard()->setMimeData(mime);
    return true;
}
