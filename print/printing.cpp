// Page setup and printing. Each document window carries its printing record
// as a window property. The page format stays with the window; the session
// and the print settings live only while a sheet is open or a job runs. The
// sheets are asynchronous: the commands return while they are up, and the
// sheet procedures finish the work.
#include "print/printing.h"

#include "platform/alerts.h"

#include <QPainter>
#include <algorithm>
#include <new>
#include <utility>

namespace
{

// The record of the window: status of the property read, record in outRecord.
OSStatus findPrintInfo(WindowRef window, tDocumentPrintInfoPtr *outRecord)
{
    void *value = nullptr;
    *outRecord = nullptr;
    const OSStatus status =
        GetWindowProperty(window, kPrintInfoPropertyCreator, kPrintInfoPropertyTag, &value);
    if (status == noErr)
        *outRecord = static_cast<tDocumentPrintInfoPtr>(value);
    return status;
}

void releaseSession(tDocumentPrintInfoPtr record)
{
    if (record->printSession) {
        PMRelease(record->printSession);
        record->printSession = nullptr;
    }
}

void releaseSettingsAndSession(tDocumentPrintInfoPtr record)
{
    if (record->printSettings) {
        PMRelease(record->printSettings);
        record->printSettings = nullptr;
    }
    releaseSession(record);
}

// New print settings, named after the window, move into the record once
// they are complete; then they offer the document's pages in the print sheet.
OSStatus prepareAndOpenPrintSheet(tDocumentPrintInfoPtr record, WindowRef parentWindow,
                                  PMPrintSettings *localSettings)
{
    OSStatus status = PMCreatePrintSettings(localSettings);
    if (status == noErr)
        status = PMSetJobNameCFString(*localSettings, GetWTitle(parentWindow));
    if (status != noErr)
        return status;
    record->printSettings = std::exchange(*localSettings, nullptr);
    status = PMSetPageRange(record->printSettings, 1, BArePagesInDoc(record));
    if (status != noErr)
        return status;
    PMSessionUseSheets(record->printSession, parentWindow, BPrintDialogDoneProc);
    return PMSessionPrintDialog(record->printSession, record->printSettings, record->pageFormat);
}

// Step 6 of the print loop: the pages from first to last, each ended once begun.
OSStatus printPages(tDocumentPrintInfoPtr record, std::uint32_t firstPage, std::uint32_t lastPage)
{
    OSStatus status = noErr;
    for (std::uint32_t pageNumber = firstPage;
         pageNumber <= lastPage && status == noErr && PMSessionError(record->printSession) == noErr;
         ++pageNumber) {
        status = PMSessionBeginPage(record->printSession);
        if (status != noErr)
            break;
        void *pagePainter = nullptr;
        status = PMSessionGetGraphicsContext(record->printSession, &pagePainter);
        if (status == noErr)
            status = BDrawPrintingPage(*static_cast<QPainter *>(pagePainter), record, pageNumber);
        const OSStatus endStatus = PMSessionEndPage(record->printSession);
        if (status == noErr)
            status = endStatus;
        if (pageNumber == lastPage)
            break; // the last page may be the largest page number there is
    }
    return status;
}

} // namespace

OSStatus BInitPrintingDialogs(WindowRef theWindow, tDrawSheetPageProc drawSheetPageProc)
{
    auto *record = new (std::nothrow) tDocumentPrintInfo{};
    if (record) {
        record->drawSheetPageProc = std::move(drawSheetPageProc);
        record->docsWindow = theWindow;
        if (SetWindowProperty(theWindow, kPrintInfoPropertyCreator, kPrintInfoPropertyTag, record) == noErr)
            return noErr;
        delete record;
    }
    showAlert("Printing Setup Error", "Can not setup printing!");
    return 1;
}

OSStatus BSetupPageFormatForPrinting(tDocumentPrintInfoPtr documentPrintInfoPtr)
{
    PMPrintSession printSession = nullptr;
    OSStatus status = PMCreateSession(&printSession);
    if (status != noErr)
        return status;
    if (documentPrintInfoPtr->pageFormat) {
        status = PMSessionValidatePageFormat(printSession, documentPrintInfoPtr->pageFormat);
        if (status == noErr)
            documentPrintInfoPtr->printSession = printSession;
        else
            PMRelease(printSession);
        return status;
    }
    PMPageFormat pageFormat = nullptr;
    status = PMCreatePageFormat(&pageFormat);
    if (status == noErr && !pageFormat)
        status = kPMGeneralError;
    if (status != noErr) {
        PMRelease(printSession);
        return status;
    }
    status = PMSessionDefaultPageFormat(printSession, pageFormat);
    if (status != noErr) {
        PMRelease(pageFormat);
        PMRelease(printSession);
        return status;
    }
    documentPrintInfoPtr->pageFormat = pageFormat;
    documentPrintInfoPtr->printSession = printSession;
    return noErr;
}

void BDoPageSetup(const WindowRef parentWindow)
{
    tDocumentPrintInfoPtr record = nullptr;
    if (findPrintInfo(parentWindow, &record) == noErr) {
        if (!record)
            return;
        // A sheet already up on the window keeps its session.
        if (record->printSession)
            return;
        if (BSetupPageFormatForPrinting(record) == noErr) {
            PMSessionUseSheets(record->printSession, parentWindow, BPageSetupDoneProc);
            if (PMSessionPageSetupDialog(record->printSession, record->pageFormat) == noErr)
                return;
        }
    }
    if (record)
        releaseSession(record);
}

void BPageSetupDoneProc(PMPrintSession, WindowRef documentWindow, Boolean)
{
    tDocumentPrintInfoPtr record = nullptr;
    findPrintInfo(documentWindow, &record);
    if (!record)
        return;
    // Confirmed or cancelled: the page format keeps what the dialog left in it.
    releaseSession(record);
}

void BDoPrint(const WindowRef parentWindow)
{
    tDocumentPrintInfoPtr record = nullptr;
    PMPrintSettings localSettings = nullptr;
    if (findPrintInfo(parentWindow, &record) == noErr) {
        if (!record)
            return;
        if (record->printSession)
            return;
        if (BSetupPageFormatForPrinting(record) == noErr &&
            prepareAndOpenPrintSheet(record, parentWindow, &localSettings) == noErr)
            return;
    }
    if (!record)
        return;
    if (localSettings)
        PMRelease(localSettings);
    else if (record->printSettings) {
        PMRelease(record->printSettings);
        record->printSettings = nullptr;
    }
    releaseSession(record);
}

void BPrintDialogDoneProc(PMPrintSession, WindowRef documentWindow, Boolean accepted)
{
    tDocumentPrintInfoPtr record = nullptr;
    findPrintInfo(documentWindow, &record);
    if (!record)
        return;
    if (accepted)
        BDoPrintLoop(record);
    else
        releaseSettingsAndSession(record);
}

void BDoPrintLoop(tDocumentPrintInfoPtr documentPrintInfoPtr)
{
    std::uint32_t firstPage = 0, lastPage = 0;
    OSStatus status = PMGetFirstPage(documentPrintInfoPtr->printSettings, &firstPage);
    if (status == noErr)
        status = PMGetLastPage(documentPrintInfoPtr->printSettings, &lastPage);
    lastPage = std::min(lastPage, BArePagesInDoc(documentPrintInfoPtr));
    if (status == noErr)
        status =
            PMSessionBeginDocument(documentPrintInfoPtr->printSession, documentPrintInfoPtr->printSettings,
                                   documentPrintInfoPtr->pageFormat);
    if (status == noErr) {
        printPages(documentPrintInfoPtr, firstPage, lastPage);
        PMSessionEndDocument(documentPrintInfoPtr->printSession);
    }
    // Printing reports nothing itself: the printing system has told the user.
    releaseSettingsAndSession(documentPrintInfoPtr);
}

OSStatus BDrawPrintingPage(QPainter &painter, tDocumentPrintInfoPtr documentPrintInfoPtr, std::uint32_t)
{
    PMRect pageRect;
    const OSStatus status = PMGetAdjustedPageRect(documentPrintInfoPtr->pageFormat, &pageRect);
    if (status != noErr)
        return status;
    if (!documentPrintInfoPtr->docsWindow || !documentPrintInfoPtr->drawSheetPageProc)
        return kPMNoPageDrawn;
    documentPrintInfoPtr->drawSheetPageProc(painter);
    return noErr;
}

std::uint32_t BArePagesInDoc(tDocumentPrintInfoPtr)
{
    return 1;
}

tDocumentPrintInfoPtr BGetPrintInfoOfWindow(WindowRef window)
{
    tDocumentPrintInfoPtr record = nullptr;
    findPrintInfo(window, &record);
    return record;
}

void BDisposePrintInfoForWindow(WindowRef window)
{
    tDocumentPrintInfoPtr record = BGetPrintInfoOfWindow(window);
    if (!record)
        return;
    // The sheet's procedure runs as for Cancel and releases what it holds;
    // the record no longer names the window, so nothing prints into it.
    if (record->printSession) {
        record->docsWindow = nullptr;
        PMSessionCancelSheet(record->printSession);
    }
    releaseSettingsAndSession(record);
    if (record->pageFormat)
        PMRelease(record->pageFormat);
    RemoveWindowProperty(window, kPrintInfoPropertyCreator, kPrintInfoPropertyTag);
    delete record;
}
