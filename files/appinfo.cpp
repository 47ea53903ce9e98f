// Quitting: the quitting flag, the review of unsaved documents, and the
// walk over the windows from front to back that closes what can be closed
// and asks about each dirty document in turn.
#include "files/appinfo.h"

#include "files/file.h"
#include "files/navigation.h"
#include "platform/dialogs.h"
#include "platform/frontwindow.h"
#include "platform/process.h"

namespace
{

bool quittingStatus = false;

tAuxiliaryWindowTest isAuxiliaryWindow = nullptr;

// A front window that stops the quit: a dialog, or a window the walk does
// not know how to close.
void refuseQuit()
{
    Beep();
    quittingStatus = false;
}

void stopQuit(tDocumentPtr document)
{
    quittingStatus = false;
    document->isClosing = false;
}

// After the quit-time Save dialog: a saved document closes and the quit goes
// on; one still dirty stays open and the quit stops.
void savedWhileQuitting(tDocumentPtr document, const tSaveLocation &location)
{
    BDoSaveCopy(document, location.path, location.replacing);
    if (document->dirty) {
        stopQuit(document);
        return;
    }
    quittingStatus = true;
    BCloseDocument(document);
    BDoQuitApp();
}

void askForSaveLocation(tDocumentPtr document)
{
    if (quittingStatus)
        BDoCreateTerminateSavePanel(document);
    else
        BDoCreateSavePanel(document);
}

void continueQuitAfterSave()
{
    if (quittingStatus)
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

bool BGetAppQuittingStatus()
{
    return quittingStatus;
}

void BDoQuitApp()
{
    quittingStatus = true;
    for (;;) {
        QWidget *window = platform::frontWindow();
        if (!window)
            platform::exitProcess();
        if (window->isMinimized()) {
            window->showNormal();
            continue;
        }
        if (platform::isWaitingDialog(window)) {
            refuseQuit();
            return;
        }
        if (isAuxiliaryWindow && isAuxiliaryWindow(window)) {
            window->hide();
            continue;
        }
        if (!BIsDocumentWindow(window)) {
            refuseQuit();
            return;
        }
        if (BIsDocumentDirty(window)) {
            BDoCreateTerminateConfirmPanel(BGetDocumentWindowsDocPtr(window));
            return;
        }
        BCloseDocument(window);
        if (BGetNumberOfDocuments() == 0)
            platform::exitProcess();
    }
}

void BDoCreateReviewPanel()
{
    BRunReviewQuestion(BGetNumberOfDirtyDocuments(), [](tReviewAnswer answer) {
        if (answer == tReviewAnswer::review)
            BDoQuitApp();
        else if (answer == tReviewAnswer::discard)
            platform::exitProcess();
    });
}

void BDoCreateTerminateConfirmPanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    BRunSaveChangesQuestion(theDocumentPtr, tSaveChangesMoment::quitting,
                            [theDocumentPtr](tSaveChangesAnswer answer) {
                                theDocumentPtr->isClosing = answer != tSaveChangesAnswer::cancel;
                                if (answer == tSaveChangesAnswer::cancel) {
                                    quittingStatus = false;
                                } else if (answer == tSaveChangesAnswer::save) {
                                    // A failed save (its alert shown) ends the quit; the document stays.
                                    if (!BDoSaveDocument(theDocumentPtr))
                                        stopQuit(theDocumentPtr);
                                } else {
                                    BCloseDocument(theDocumentPtr);
                                    BDoQuitApp();
                                }
                            });
}

void BDoCreateTerminateSavePanel(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return;
    BRunSaveDialog(theDocumentPtr, BProposedFileName(platform::windowTitleOf(theDocumentPtr)), {},
                   [theDocumentPtr](const std::optional<tSaveLocation> &location) {
                       if (location)
                           savedWhileQuitting(theDocumentPtr, *location);
                       else
                           stopQuit(theDocumentPtr);
                   });
}
