// Exports are saved as documents are, so that a failure leaves no partial
// file; tables and bracketing plans take the same path.
#include "files/export.h"

#include "document/document.h"
#include "files/file.h"
#include "files/filedialogs.h"
#include "formats/exportformats.h"
#include "platform/frontwindow.h"
#include "print/bracketingcard.h"
#include "print/pdfexport.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <functional>
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
using tExportBytes = std::function<std::optional<std::string>(tExportFormat format)>;

std::optional<std::string> tableBytes(tDocumentPtr document, tExportFormat format)
{
    const std::vector<tExportTable> tables{{exportTitle(document), document->dataPtr}};
    if (format == kExportPDF) // the sheet laid out as the window shows it
        return QRLTablesAsPDF(tables, BSheetBounds(document));
    return format == kExportJSON ? QRLTablesAsJSON(tables) : QRLTablesAsCSV(tables);
}

// Writes the chosen format to target; a table document that is open is not replaced.
void exportTo(const std::string &target, tExportFormat format, bool replacing, const tExportBytes &bytesOf,
              const char *failure)
{
    if (BRefuseFileInUse(target))
        return;
    const std::optional<std::string> bytes = bytesOf(format);
    const Replace replace = replacing ? Replace::unlocked : Replace::never;
    // The reason is empty when the file was written.
    const std::string reason =
        bytes ? SaveFile(target, QByteArray::fromStdString(*bytes), replace, true).reason()
              : QCoreApplication::translate("Program", "its contents could not be made").toStdString();
    if (!reason.empty())
        BAlertFileError(failure, "The file \u201c%1\u201d could not be written: %2.", target, reason);
}

// The Export dialog on window proposing "<title>.csv". The folder as the
// dialog names it: one that has gone meanwhile fails the write, which says why.
void runExportDialog(QWidget *window, const std::string &title, const tExportBytes &bytesOf,
                     const char *failure)
{
    BRunSaveDialogOn(window, title + ".csv", {{"CSV", "csv"}, {"JSON", "json"}, {"PDF", "pdf"}},
                     [bytesOf, failure](const std::optional<tSaveLocation> &location) {
                         if (location)
                             exportTo(location->path, tExportFormat(location->format), location->replacing,
                                      bytesOf, failure);
                     });
}

// Both flavors as one item: a paste picks the one it understands.
void putOnClipboard(const std::string &text, const std::string &csv)
{
    auto *mime = new QMimeData; // the clipboard takes it over
    mime->setText(QString::fromStdString(text));
    mime->setData(QStringLiteral("text/csv"), QByteArray::fromStdString(csv));
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace

void BDoCreateExportPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    runExportDialog(
        BGetDocumentsWindowPtr(theDocumentPtr), exportTitle(theDocumentPtr),
        [theDocumentPtr](tExportFormat format) { return tableBytes(theDocumentPtr, format); },
        QT_TRANSLATE_NOOP("Program", "Could not export the table"));
}

void BDoCreatePlanExportPanel(QWidget *window, const tBracketingArguments &arguments,
                              const tBracketingPlan &plan)
{
    const tExportBytes bytesOf = [arguments, plan](tExportFormat format) -> std::optional<std::string> {
        if (format == kExportPDF)
            return QRLBracketingCardAsPDF(arguments, plan);
        return format == kExportJSON ? QRLPlanAsJSON(arguments, plan) : QRLPlanAsCSV(arguments, plan);
    };
    runExportDialog(window, platform::windowTitleOf(window), bytesOf,
                    QT_TRANSLATE_NOOP("Program", "Could not export the plan"));
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
    putOnClipboard(*tabText, *csv);
    return true;
}

void QRLCopyPlan(const tBracketingArguments &arguments, const tBracketingPlan &plan)
{
    putOnClipboard(QRLPlanAsText(arguments, plan), QRLPlanAsCSV(arguments, plan));
}
