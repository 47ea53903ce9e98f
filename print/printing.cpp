// Page setup and printing. Each document window keeps its printing record
// in a small object among its children. The page layout stays with the
// window; a printer lives only while a dialog is up or a job runs. The
// dialogs are window-modal: the commands return while they are up, and
// their answers finish the work.
#include "print/printing.h"

#include "platform/alerts.h"
#include "platform/bundle.h"
#include "platform/dialogs.h"
#include "print/pages.h"
#include "print/printoutput.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace
{

const char *const kRecordName = "printRecord";

// The record, a child of its window, and whether one of its dialogs is up.
class PrintRecord : public QObject
{
  public:
    using QObject::QObject;
    tDocumentPrintInfo info;
    bool dialogUp = false;
};

PrintRecord *recordOf(QWidget *window)
{
    if (!window)
        return nullptr;
    return dynamic_cast<PrintRecord *>(
        window->findChild<QObject *>(QLatin1String(kRecordName), Qt::FindDirectChildrenOnly));
}

// A printer for one dialog and its job, with the window's page layout; the
// first gives the window the printer's defaults. Without a print server,
// jobs go to PDF files.
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

// The window's title without the place of its modified mark.
QString titleOf(QWidget *window)
{
    return window->windowTitle().remove(QStringLiteral("[*]"));
}

// The PDF file a job proposes: the title without its trailing blanks and
// document extension, in the document's folder or the home folder.
QString proposedOutputFile(QWidget *window)
{
    QString name = titleOf(window).trimmed();
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
// shown with open(), its fields are read here: paper, orientation, margins
// in the unit chosen. The printer then makes the layout fit the paper.
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

QPrintDialog *printDialog(QPrinter *printer, QWidget *window, int pages)
{
    auto *dialog = new QPrintDialog(printer, window);
    dialog->setMinMax(1, pages);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog;
}

// The pages the user chose, from first to last; first beyond last when none.
std::pair<int, int> chosenPages(const QPrinter &printer, int pagesInDoc)
{
    if (printer.printRange() != QPrinter::PageRange)
        return {1, pagesInDoc};
    return {std::max(printer.fromPage(), 1), std::min(std::max(printer.toPage(), 1), pagesInDoc)};
}

} // namespace

bool BInitPrintingDialogs(QWidget *theWindow, tDrawSheetPageProc drawSheetPageProc)
{
    if (theWindow) {
        auto *record = new PrintRecord(theWindow);
        record->setObjectName(QLatin1String(kRecordName));
        record->info.drawSheetPageProc = std::move(drawSheetPageProc);
        record->info.docsWindow = theWindow;
        return true;
    }
    showAlert("Printing Setup Error", "Can not setup printing!");
    return false;
}

void BDoPageSetup(QWidget *parentWindow)
{
    PrintRecord *record = recordOf(parentWindow);
    // A dialog already up on the window keeps the window.
    if (!record || record->dialogUp)
        return;
    const std::shared_ptr<QPrinter> printer = printerFor(record->info);
    auto *dialog = new QPageSetupDialog(printer.get(), parentWindow);
    record->dialogUp = true;
    platform::showDialog(dialog, parentWindow,
                         [record = QPointer<PrintRecord>(record), dialog, printer](int result) {
                             if (!record)
                                 return;
                             record->dialogUp = false;
                             // Cancelled: the page layout stays as it was.
                             if (result == QDialog::Accepted)
                                 record->info.pageFormat = chosenLayout(*dialog);
                         });
}

void BDoPrint(QWidget *parentWindow)
{
    PrintRecord *record = recordOf(parentWindow);
    if (!record || record->dialogUp)
        return;
    const std::shared_ptr<QPrinter> printer = printerFor(record->info);
    // The job is named after the window as the command is given.
    printer->setDocName(titleOf(parentWindow));
    if (printer->outputFormat() == QPrinter::PdfFormat)
        printer->setOutputFileName(proposedOutputFile(parentWindow));
    printer->setPrintRange(QPrinter::AllPages);
    QPrintDialog *dialog = printDialog(printer.get(), parentWindow, BArePagesInDoc(record->info));
    record->dialogUp = true;
    platform::showDialog(dialog, parentWindow, [record = QPointer<PrintRecord>(record), printer](int result) {
        if (!record)
            return;
        record->dialogUp = false;
        if (result == QDialog::Accepted && record->info.docsWindow)
            BDoPrintLoop(*printer, record->info);
    });
}

void BDoPrintLoop(QPrinter &printer, const tDocumentPrintInfo &documentPrintInfo)
{
    const auto [firstPage, lastPage] = chosenPages(printer, BArePagesInDoc(documentPrintInfo));
    PrintOutput output(printer);
    if (!output.begin())
        return;
    PaintedPages pages;
    for (int pageNumber = firstPage; pageNumber <= lastPage; ++pageNumber) {
        // Page coordinates are points from the top-left of the printable area.
        if (!pages.beginPage(printer, printer.resolution() / 72.0)) {
            output.fail(pageNumber == firstPage ? "The printing system did not accept the job."
                                                : "The printing system did not accept another page.");
            return;
        }
        BDrawPrintingPage(*pages.painter, documentPrintInfo, pageNumber);
        pages.endPage();
    }
    if (!pages.painter)
        return; // no page: nothing is written
    if (!pages.finish())
        output.fail("The printing system could not finish the job.", true);
    else
        output.finish();
}

bool BDrawPrintingPage(QPainter &painter, const tDocumentPrintInfo &documentPrintInfo, int)
{
    if (!documentPrintInfo.docsWindow || !documentPrintInfo.drawSheetPageProc)
        return false;
    documentPrintInfo.drawSheetPageProc(painter);
    return true;
}

int BArePagesInDoc(const tDocumentPrintInfo &)
{
    return 1;
}

tDocumentPrintInfo *BGetPrintInfoOfWindow(QWidget *window)
{
    PrintRecord *record = recordOf(window);
    return record ? &record->info : nullptr;
}

void BDisposePrintInfoForWindow(QWidget *window)
{
    PrintRecord *record = recordOf(window);
    if (!record)
        return;
    // The record no longer names the window, so nothing prints into it; a
    // dialog up on the window ends as cancelled.
    record->info.docsWindow = nullptr;
    if (record->dialogUp)
        for (QDialog *dialog : window->findChildren<QDialog *>(QString(), Qt::FindDirectChildrenOnly))
            if (qobject_cast<QPageSetupDialog *>(dialog) || qobject_cast<QPrintDialog *>(dialog))
                dialog->reject();
    delete record;
}
