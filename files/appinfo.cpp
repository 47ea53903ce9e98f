// Quitting: the quitting flag, the review of unsaved documents, and the
// walk over the windows from front to back that closes what can be closed
// and asks about each dirty document in turn.
#include "files/appinfo.h"

#include "files/file.h"
#include "files/navigation.h"
#include "platform/process.h"
#include "platform/window.h"

namespace
{

tAppInfo appInfo = {false};
NavDialogRef navigationReviewDialog = nullptr;
// The last action in a quit-time save dialog was not a save.
bool cancel = true;

tAuxiliaryWindowTest isAuxiliaryWindow = nullptr;

// A front window that stops the quit: a dialog, or a window the walk does
// not know how to close.
void refuseQuit()
{
    Beep();
    appInfo.quittingStatus = false;
}

void stopQuit(tDocumentPtr document)
{
    appInfo.quittingStatus = false;
    if (document)
        document->isClosing = false;
    cancel = true;
}

// The review's answers: review each document in turn, or discard them all.
void reviewEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms, void *)
{
    if (callBackSelector != kNavCBTerminate)
        return;
    if (callBackParms->userAction == kNavUserActionReviewDocuments)
        BDoQuitApp();
    else if (callBackParms->userAction == kNavUserActionDiscardDocuments)
        ExitToShell();
}

void askForSaveLocation(tDocumentPtr document)
{
    if (appInfo.quittingStatus)
        BDoCreateTerminateSavePanel(document);
    else
        BDoCreateSavePanel(document);
}

void continueQuitAfterSave()
{
    if (appInfo.quittingStatus)
        BDoQuitApp();
}

} // namespace

void BInitQuitting()
{
    BSetSaveHooks({askForSaveLocation, continueQuitAfterSave});
}

void BSetAuxiliaryWindowTest(tAuxiliaryWindowTest test)
{
    isAuxiliaryWindow = test;
}

Boolean BGetAppQuittingStatus()
{
    return appInfo.quittingStatus;
}

OSStatus BDoQuitApp()
{
    appInfo.quittingStatus = true;
    for (;;) {
        WindowRef window = FrontWindow();
        if (!window)
            ExitToShell();
        if (IsWindowCollapsed(window)) {
            CollapseWindow(window, false);
            continue;
        }
        WindowClass windowClass = kSheetWindowClass;
        GetWindowClass(window, &windowClass);
        if (windowClass == kSheetWindowClass || windowClass == kMovableModalWindowClass) {
            refuseQuit();
            return noErr;
        }
        if (isAuxiliaryWindow && isAuxiliaryWindow(window)) {
            HideWindow(window);
            continue;
        }
        if (!BIsDocumentWindow(window)) {
            refuseQuit();
            return noErr;
        }
        if (BIsDocumentDirty(window)) {
            BDoCreateTerminateConfirmPanel(BGetDocumentWindowsDocPtr(window));
            return noErr;
        }
        BCloseDocument(window);
        if (BGetNumberOfDocuments() == 0)
            ExitToShell();
    }
}

void BDoCreateReviewPanel()
{
    // The previous review dialog has ended; it goes now.
    if (navigationReviewDialog)
        NavDialogDispose(navigationReviewDialog);
    navigationReviewDialog = nullptr;
    const NavDialogCreationOptions options{};
    OSStatus err = NavCreateAskReviewDocumentsDialog(&options, std::uint32_t(BGetNumberOfDirtyDocuments()),
                                                     reviewEventProc, nullptr, &navigationReviewDialog);
    BRunNavDialog(err, &navigationReviewDialog);
}

void BDoCreateTerminateConfirmPanel(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr)
        BCreateSaveChangesDialog(theDocumentPtr, kNavSaveChangesQuittingApplication,
                                 BNavTerminateConfirmEventProc,
                                 &theDocumentPtr->fNavigationTerminateConfirmDialog);
}

void BDoCreateTerminateSavePanel(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr)
        BCreateDocumentSaveDialog(theDocumentPtr, BNavTerminateEventProc,
                                  &theDocumentPtr->fNavigationTerminateSaveDialog);
}

void BNavTerminateConfirmEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                                   void *callBackUD)
{
    auto document = static_cast<tDocumentPtr>(callBackUD);
    if (callBackSelector != kNavCBTerminate || !document)
        return;
    document->isClosing = true;
    if (!document->fNavigationTerminateConfirmDialog)
        return;
    const NavUserAction action = callBackParms->userAction;
    if (action != kNavUserActionSaveChanges && action != kNavUserActionDontSaveChanges) {
        document->isClosing = false;
        appInfo.quittingStatus = false;
    }
    NavDialogDispose(document->fNavigationTerminateConfirmDialog);
    document->fNavigationTerminateConfirmDialog = nullptr;
    if (action == kNavUserActionSaveChanges) {
        // A failed save (its alert shown) ends the quit; the document stays.
        if (BDoSaveDocument(document) != noErr)
            stopQuit(document);
    } else if (action == kNavUserActionDontSaveChanges) {
        BCloseDocument(document->theWindow);
        BDoQuitApp();
    }
}

void BNavTerminateEventProc(NavEventCallbackMessage callBackSelector, NavCBRecPtr callBackParms,
                            void *callBackUD)
{
    auto document = static_cast<tDocumentPtr>(callBackUD);
    if (callBackSelector == kNavCBUserAction) {
        NavReplyRecord reply;
        if (NavDialogGetReply(callBackParms->context, &reply) != noErr)
            return;
        switch (NavDialogGetUserAction(callBackParms->context)) {
        case kNavUserActionSaveAs:
            BDoTerminateSaveCopy(document);
            // A document the save did not reach stays open, and the quit
            // stops, rather than its changes being lost.
            if (document && document->dirty) {
                stopQuit(document);
                break;
            }
            appInfo.quittingStatus = true;
            if (document)
                document->isClosing = true;
            cancel = false;
            break;
        case kNavUserActionNewFolder:
            break;
        default:
            stopQuit(document);
            break;
        }
    } else if (callBackSelector == kNavCBTerminate) {
        if (!document)
            return;
        if (document->fNavigationTerminateSaveDialog)
            NavDialogDispose(document->fNavigationTerminateSaveDialog);
        document->fNavigationTerminateSaveDialog = nullptr;
        if (appInfo.quittingStatus && document->isClosing && !cancel) {
            BCloseDocument(document->theWindow);
            BDoQuitApp();
        }
    }
}
