// The quit walks the windows front to back, closing what it can, asking about dirty documents.
#include "files/appinfo.h"

#include "files/file.h"
#include "files/filedialogs.h"
#include "platform/alerts.h"
#include "platform/dialogs.h"
#include "platform/frontwindow.h"
#include "platform/process.h"

namespace
{

bool quittingStatus = false;

tAuxiliaryWindowTest isAuxiliaryWindow = nullptr;

// While quitting, the quit goes on unless the answer is Cancel or the save fails.
void askToSaveChanges(tDocumentPtr document, bool quitting)
{
    enum { save, dontSave, cancel };
    if (!document)
        return;
    BAsk(document,
         quitting
             ? Navigation::tr("Do you want to save the changes you made in the document %1 before quitting?")
             : Navigation::tr("Do you want to save the changes you made in the document %1?"),
         Navigation::tr("Your changes will be lost if you don’t save them."),
         {Navigation::tr("Save"), Navigation::tr("Don’t Save"), Navigation::tr("Cancel")},
         [document, quitting](int answer) {
             document->isClosing = answer != cancel;
             if (answer == dontSave) {
                 BCloseDocument(document);
                 if (quitting)
                     BDoQuitApp();
             } else if ((answer == cancel || !BDoSaveDocument(document)) && quitting) {
                 quittingStatus = false;
             }
         });
}

} // namespace

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
        if (isAuxiliaryWindow && isAuxiliaryWindow(window)) {
            window->hide();
            continue;
        }
        // A dialog, or a window the walk does not know how to close, stops the quit.
        if (platform::isWaitingDialog(window) || !BIsDocumentWindow(window)) {
            Beep();
            quittingStatus = false;
            return;
        }
        if (BIsDocumentDirty(window)) {
            askToSaveChanges(BGetDocumentWindowsDocPtr(window), true);
            return;
        }
        BCloseDocument(window);
        if (BGetNumberOfDocuments() == 0)
            platform::exitProcess();
    }
}

void BDoCreateReviewPanel()
{
    enum { review, discard };
    BAsk(nullptr,
         Navigation::tr("You have %1 documents with unsaved changes. Do you want to review these changes "
                        "before quitting?")
             .arg(BGetNumberOfDirtyDocuments()),
         Navigation::tr("If you don’t review your documents, all your changes will be lost."),
         {Navigation::tr("Review Changes…"), Navigation::tr("Discard Changes"), Navigation::tr("Cancel")},
         [](int answer) {
             if (answer == review)
                 BDoQuitApp();
             else if (answer == discard)
                 platform::exitProcess();
         });
}

bool BDoSaveDocument(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return true;
    if (theDocumentPtr->filePath.empty()) {
        BDoCreateSavePanel(theDocumentPtr, quittingStatus);
        return true;
    }
    const FileError error = BWriteFile(theDocumentPtr);
    if (error.locked())
        showAlert("Could not save the file because the Volume is locked", "Try to choose another Volume");
    else if (error.failed())
        BAlertFileError("Could not save the file",
                        "The file \u201c%1\u201d could not be written: %2.\nIt keeps its previous contents.",
                        theDocumentPtr->filePath, error.reason());
    if (error.failed()) {
        theDocumentPtr->isClosing = false; // the window stays open
        return false;
    }
    if (theDocumentPtr->isClosing)
        BCloseDocument(theDocumentPtr);
    if (quittingStatus)
        BDoQuitApp();
    return true;
}

void BDoCreateSavePanel(tDocumentPtr document, bool quitting)
{
    if (!document)
        return;
    BRunSaveDialog(document, platform::windowTitleOf(document), {},
                   [document, quitting](const std::optional<tSaveLocation> &location) {
                       if (location)
                           BDoSaveCopy(document, location->path, location->replacing);
                       if (quitting && location && !document->dirty) {
                           quittingStatus = true;
                           BCloseDocument(document);
                           BDoQuitApp();
                           return;
                       }
                       document->isClosing = false;
                       if (quitting)
                           quittingStatus = false;
                   });
}

void BDoCreateConfirmPanel(tDocumentPtr theDocumentPtr)
{
    askToSaveChanges(theDocumentPtr, false);
}
