// Export… and Copy. The bytes come from the export writers (CSV, JSON) or
// the PDF renderer; files are written as documents are, through a temporary
// renamed over the target, so that a failure leaves no partial file.
#include "files/export.h"

#include "document/document.h"
#include "files/file.h"
#include "files/navigation.h"
#include "formats/exportformats.h"
#include "platform/alerts.h"
#include "platform/frontwindow.h"
#include "print/pdfexport.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <cctype>
#include <optional>

namespace
{

void alertExportFailed(const std::string &target, const std::string &reason)
{
    const QString name = QString::fromStdString(target.substr(target.rfind('/') + 1));
    const std::string explanation =
        reason.empty()
            ? QCoreApplication::translate("Program", "The file \u201c%1\u201d could not be written.")
                  .arg(name)
                  .toStdString()
            : QCoreApplication::translate("Program", "The file \u201c%1\u201d could not be written: %2.")
                  .arg(name, QString::fromStdString(reason))
                  .toStdString();
    showAlert("Could not export the table", explanation);
}

std::vector<tExportTable> tablesOf(tDocumentPtr document)
{
    return {{BExportTitle(document), document->dataPtr}};
}

// The file's contents, or nullopt when they cannot be made.
std::optional<std::string> exportBytes(tDocumentPtr document, tExportFormat format)
{
    const std::vector<tExportTable> tables = tablesOf(document);
    switch (format) {
    case kExportCSV:
        return QRLTablesAsCSV(tables);
    case kExportJSON:
        return QRLTablesAsJSON(tables);
    case kExportPDF: // the sheet laid out as the window shows it
        return QRLTablesAsPDF(tables, BSheetBounds(document));
    }
    return std::nullopt;
}

} // namespace

std::string BExportTitle(QWidget *window)
{
    std::string title = platform::windowTitleOf(window);
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    const std::string extension = "." + platform::typeExtension(kDocumentFileType);
    if (title.size() > extension.size()) {
        std::string tail = title.substr(title.size() - extension.size());
        for (char &c : tail)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (tail == extension)
            title.resize(title.size() - extension.size());
    }
    return title.empty() ? "Untitled" : title;
}

std::string BProposedExportName(QWidget *window)
{
    return BExportTitle(window) + ".csv";
}

void BDoCreateExportPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    // The folder as the dialog names it: one that has gone meanwhile fails
    // the write, which says why.
    BRunSaveDialog(theDocumentPtr, BProposedExportName(theDocumentPtr),
                   {{"CSV", "csv"}, {"JSON", "json"}, {"PDF", "pdf"}},
                   [theDocumentPtr](const std::optional<tSaveLocation> &location) {
                       if (location)
                           BDoExportDocument(theDocumentPtr, location->path, tExportFormat(location->format),
                                             location->replacing);
                   });
}

bool BDoExportDocument(tDocumentPtr theDocumentPtr, const std::string &target, tExportFormat format,
                       bool replacing)
{
    if (!theDocumentPtr)
        return false;
    // A table document that is open stays whole: it is not replaced by an export.
    if (BIsFileInUse(target)) {
        showAlert("Could not save the File You like to replace, it is in use", "Please choose another name");
        return false;
    }
    const std::optional<std::string> bytes = exportBytes(theDocumentPtr, format);
    if (!bytes) {
        alertExportFailed(
            target, QCoreApplication::translate("Program", "its contents could not be made").toStdString());
        return false;
    }
    const FileError error = SaveFile(target, QByteArray::fromStdString(*bytes),
                                     replacing ? Replace::unlocked : Replace::never, true);
    if (error.failed()) {
        alertExportFailed(target, error.reason());
        return false;
    }
    return true;
}

bool QRLCopyTable(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr || !QRLIsDataValid(theDocumentPtr->dataPtr))
        return false;
    const std::vector<tExportTable> tables = tablesOf(theDocumentPtr);
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
