// Page setup and printing of document windows: the printing record each
// document window keeps among its children, the window-modal Page Setup and
// Print dialogs, and the print loop that puts the table sheet on one page.
#pragma once

#include <QPageLayout>
#include <functional>
#include <optional>

class QPainter;
class QPrinter;
class QWidget;

// Paints the document's sheet on the printed page's painter (in points):
// given by whoever makes the record.
using tDrawSheetPageProc = std::function<void(QPainter &painter)>;

// What printing keeps for a document window.
struct tDocumentPrintInfo {
    // The paper, orientation and margins; none before the first page setup
    // or print, which give it the printer's defaults.
    std::optional<QPageLayout> pageFormat;
    tDrawSheetPageProc drawSheetPageProc;
    QWidget *docsWindow = nullptr; // null once the window is going
};

// Gives a document window its printing record, whose pages drawSheetPageProc
// draws; alerts and returns false when it cannot.
bool BInitPrintingDialogs(QWidget *theWindow, tDrawSheetPageProc drawSheetPageProc);
// Page Setup and Print on the window: each opens its dialog on the window
// and returns; nothing when the window has no record or a dialog is up.
void BDoPageSetup(QWidget *parentWindow);
void BDoPrint(QWidget *parentWindow);
// Prints the document's pages the printer's range asks for, as the printer
// was set up by the print dialog; a PDF file is written as a save is. A job
// that cannot be written is told to the user in a note alert.
void BDoPrintLoop(QPrinter &printer, const tDocumentPrintInfo &documentPrintInfo);
// Draws one page, in points from the top-left of the printable area.
bool BDrawPrintingPage(QPainter &painter, const tDocumentPrintInfo &documentPrintInfo, int pageNumber);
int BArePagesInDoc(const tDocumentPrintInfo &documentPrintInfo);
// The window's printing record, or null.
tDocumentPrintInfo *BGetPrintInfoOfWindow(QWidget *window);
// Before a document window is disposed of: an open page setup or print
// dialog is cancelled, and the record goes.
void BDisposePrintInfoForWindow(QWidget *window);
