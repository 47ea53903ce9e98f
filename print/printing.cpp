// Page setup and printing. A printer lives only while a dialog is up or a job
// runs; the dialogs are window-modal, so their answers finish the work.
#include "print/printing.h"

#include "platform/alerts.h"
#include "platform/atomicsave.h"
#include "platform/bundle.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <algorithm>
#include <memory>

namespace
{

const char *const kRecordName = "printRecord";
constexpr int kPagesInDoc = 1; // the sheet fits one page

// A printer with the window's page layout; the first gives the window the
// printer's defaults. Without a print server, jobs go to PDF files.
std::shared_ptr<QPrinter> printerFor(tDocumentPrintInfo &record)
{
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    if (printer->outputFormat() != QPrinter::PdfFormat && QPrinterInfo::availablePrinterNames().isEmpty())
        printer->setOutputFormat(QPrinter::PdfFormat);
    if (record.pageFormat)
        printer->setPageLayout(*record.pageFormat);
    record.pageFormat = printer->pageLayout();
    return printer;
}

// Puts dialog up on the window; done gets the answer while the record lasts.
void showRecordDialog(tDocumentPrintInfo *record, QDialog *dialog, QWidget *window,
                      const std::function<void(tDocumentPrintInfo &record, int result)> &done)
{
    record->dialogUp = true;
    platform::showDialog(dialog, window, [record = QPointer<tDocumentPrintInfo>(record), done](int result) {
        if (!record)
            return;
        record->dialogUp = false;
        done(*record, result);
    });
}

// The PDF file a job proposes: the title without its trailing blanks and
// document extension, in the document's folder or the home folder.
QString proposedOutputFile(QWidget *window, const QString &title)
{
    QString name = title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString extension = QLatin1Char('.') + QString::fromStdString(platform::documentExtension());
    if (extension.size() > 1 && name.endsWith(extension, Qt::CaseInsensitive))
        name.chop(extension.size());
    if (name.isEmpty())
        name = QStringLiteral("Untitled");
    const QString document = window->windowFilePath();
    const QString folder = document.isEmpty() ? QDir::homePath() : QFileInfo(document).absolutePath();
    return folder + QLatin1Char('/') + name + QStringLiteral(".pdf");
}

// Qt's page setup dialog gives its printer the user's choice only in exec();
// shown with open(), its fields are read here. The printer then makes the
// layout fit the paper.
QPageLayout chosenLayout(QPageSetupDialog &dialog)
{
    QPrinter *printer = dialog.printer();
    const auto *paper = dialog.findChild<QComboBox *>(QStringLiteral("pageSizeCombo"));
    const auto *unit = dialog.findChild<QComboBox *>(QStringLiteral("unitCombo"));
    const auto *landscape = dialog.findChild<QRadioButton *>(QStringLiteral("landscape"));
    const char *names[4] = {"leftMargin", "topMargin", "rightMargin", "bottomMargin"};
    double margins[4] = {};
    for (int side = 0; side < 4; ++side) {
        const auto *field = dialog.findChild<QDoubleSpinBox *>(QLatin1String(names[side]));
        if (!field)
            return printer->pageLayout();
        margins[side] = field->value();
    }
    if (!paper || !unit || !landscape)
        return printer->pageLayout();
    const QPageSize chosenPaper = qvariant_cast<QPageSize>(paper->currentData());
    printer->setPageLayout(
        QPageLayout(chosenPaper.isValid() ? chosenPaper : printer->pageLayout().pageSize(),
                    landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(margins[0], margins[1], margins[2], margins[3]),
                    qvariant_cast<QPageLayout::Unit>(unit->currentData())));
    return printer->pageLayout();
}

// Prints the page as the print dialog set the printer up. A PDF file is written as a save is, so that no
// partial file is left; a job that cannot be written is told in a note alert.
void BDoPrintLoop(QPrinter &printer, const tDocumentPrintInfo &documentPrintInfo)
{
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const std::string target = toFile ? printer.outputFileName().toStdString() : std::string();
    AtomicSave replacement;
    // wholePath names the file by its path rather than its name.
    const auto fail = [&](const std::string &reason, bool wholePath = false) {
        replacement.discard();
        const QString name =
            target.empty() ? printer.printerName() : QFileInfo(QString::fromStdString(target)).fileName();
        const std::string what = wholePath && !target.empty() ? target : name.toStdString();
        // Built before the call, so that it stays out of the translated texts:
        // this alert has always shown it in English.
        const std::string message = "The table could not be printed to \u201c" + what + "\u201d.";
        showAlert(message, reason);
    };
    if (!target.empty()) {
        if (const FileError error = replacement.begin(target, Replace::any); error.failed())
            return fail("The folder \u201c" +
                        QFileInfo(QString::fromStdString(target)).absolutePath().toStdString() +
                        "\u201d cannot be written: " + error.reason() + ".");
        printer.setOutputFileName(QString::fromStdString(replacement.temporaryPath()));
    }
    // The sheet is one page: a range from a later page on prints nothing.
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > kPagesInDoc)
        return;
    QPainter painter;
    if (!painter.begin(&printer))
        return fail("The printing system did not accept the job.");
    // Page coordinates are points from the top-left of the printable area.
    painter.scale(printer.resolution() / 72.0, printer.resolution() / 72.0);
    if (documentPrintInfo.drawSheetPageProc)
        documentPrintInfo.drawSheetPageProc(
            painter, QRectF(QPointF(0, 0), printer.pageLayout().paintRect(QPageLayout::Point).size()));
    if (!painter.end())
        return fail("The printing system could not finish the job.", true);
    if (target.empty())
        return;
    // A complete PDF file ends with its end-of-file marker; a full disk leaves it short.
    QFile file(QString::fromStdString(replacement.temporaryPath()));
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8 ||
        !file.seek(std::max<qint64>(0, file.size() - 32)) || !file.readAll().contains("%%EOF"))
        return fail("The file could not be written completely; the disk may be full.");
    // Not flushed to the disk: a printout can be made again.
    if (const FileError error = replacement.commit(false); error.failed())
        fail(error.reason() + ".");
}

} // namespace

bool BInitPrintingDialogs(QWidget *theWindow, tDrawSheetPageProc drawSheetPageProc)
{
    if (!theWindow) {
        showAlert("Printing Setup Error", "Can not setup printing!");
        return false;
    }
    auto *record = new tDocumentPrintInfo(theWindow);
    record->setObjectName(QLatin1String(kRecordName));
    record->drawSheetPageProc = std::move(drawSheetPageProc);
    return true;
}

void BDoPageSetup(QWidget *parentWindow)
{
    tDocumentPrintInfo *record = BGetPrintInfoOfWindow(parentWindow);
    // A dialog already up on the window keeps the window.
    if (!record || record->dialogUp)
        return;
    const std::shared_ptr<QPrinter> printer = printerFor(*record);
    auto *dialog = new QPageSetupDialog(printer.get(), parentWindow);
    showRecordDialog(record, dialog, parentWindow, [dialog, printer](tDocumentPrintInfo &record, int result) {
        // Cancelled: the page layout stays as it was.
        if (result == QDialog::Accepted)
            record.pageFormat = chosenLayout(*dialog);
    });
}

void BDoPrint(QWidget *parentWindow)
{
    tDocumentPrintInfo *record = BGetPrintInfoOfWindow(parentWindow);
    if (!record || record->dialogUp)
        return;
    const std::shared_ptr<QPrinter> printer = printerFor(*record);
    // The job is named after the window, without the place of its modified mark.
    const QString title = parentWindow->windowTitle().remove(QStringLiteral("[*]"));
    printer->setDocName(title);
    if (printer->outputFormat() == QPrinter::PdfFormat)
        printer->setOutputFileName(proposedOutputFile(parentWindow, title));
    printer->setPrintRange(QPrinter::AllPages);
    auto *dialog = new QPrintDialog(printer.get(), parentWindow);
    dialog->setMinMax(1, kPagesInDoc);
    dialog->setOptions(
        (dialog->options() | QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile) &
        ~(QAbstractPrintDialog::PrintSelection | QAbstractPrintDialog::PrintCurrentPage));
    showRecordDialog(record, dialog, parentWindow, [printer](tDocumentPrintInfo &record, int result) {
        if (result == QDialog::Accepted)
            BDoPrintLoop(*printer, record);
    });
}

tDocumentPrintInfo *BGetPrintInfoOfWindow(QWidget *window)
{
    if (!window)
        return nullptr;
    return dynamic_cast<tDocumentPrintInfo *>(
        window->findChild<QObject *>(QLatin1String(kRecordName), Qt::FindDirectChildrenOnly));
}

void BDisposePrintInfoForWindow(QWidget *window)
{
    tDocumentPrintInfo *record = BGetPrintInfoOfWindow(window);
    if (!record)
        return;
    // Its dialog, the one up on the window, ends as cancelled.
    if (QDialog *dialog = record->dialogUp ? platform::dialogOn(window) : nullptr)
        dialog->reject();
    delete record;
}
