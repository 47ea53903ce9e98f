// Page setup and printing of document windows: the printing record each
// document window carries, the page setup and print sheets, and the print
// loop that puts the table sheet on one page.
#pragma once

#include "platform/printing.h"

#include <functional>

class QPainter;

// Paints the document's sheet on the printed page's painter (in points):
// given by whoever makes the record.
using tDrawSheetPageProc = std::function<void(QPainter &painter)>;

struct tDocumentPrintInfo {
    PMPrintSession printSession;
    PMPageFormat pageFormat;
    PMPrintSettings printSettings;
    tDrawSheetPageProc drawSheetPageProc;
    WindowRef docsWindow;
};
using tDocumentPrintInfoPtr = tDocumentPrintInfo *;

// The window property that carries the record.
constexpr OSType kPrintInfoPropertyCreator = FOUR_CHAR_CODE("QORL");
constexpr OSType kPrintInfoPropertyTag = FOUR_CHAR_CODE("Piwp");

// Gives a document window its printing record, whose pages drawSheetPageProc
// draws; alerts and returns a status other than noErr when it cannot.
OSStatus BInitPrintingDialogs(WindowRef theWindow, tDrawSheetPageProc drawSheetPageProc);
OSStatus BSetupPageFormatForPrinting(tDocumentPrintInfoPtr documentPrintInfoPtr);
void BDoPageSetup(const WindowRef parentWindow);
void BPageSetupDoneProc(PMPrintSession printSession, WindowRef documentWindow, Boolean accepted);
void BDoPrint(const WindowRef parentWindow);
void BPrintDialogDoneProc(PMPrintSession printSession, WindowRef documentWindow, Boolean accepted);
void BDoPrintLoop(tDocumentPrintInfoPtr documentPrintInfoPtr);
OSStatus BDrawPrintingPage(QPainter &painter, tDocumentPrintInfoPtr documentPrintInfoPtr,
                           std::uint32_t pageNumber);
std::uint32_t BArePagesInDoc(tDocumentPrintInfoPtr documentPrintInfoPtr);
// The window's printing record, or null.
tDocumentPrintInfoPtr BGetPrintInfoOfWindow(WindowRef window);
// Before a document window is disposed of: an open page setup or print
// sheet is cancelled, and the record and its page format are released.
void BDisposePrintInfoForWindow(WindowRef window);
