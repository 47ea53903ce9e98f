// Document files: a document's calculation record stored as 280 big-endian
// bytes, read into and written from the document's open file.
#include "files/file.h"

#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <cstring>

namespace
{

bool flushToDisk = true;
tSaveHooks saveHooks;

void alert(const char *message, const char *explanation)
{
    showAlert(message, explanation);
}

// Names the file and gives the system's reason, in the user's language.
std::string alertExplanation(const char *text, const std::string &name, const std::string &reason)
{
    return QCoreApplication::translate("Program", text)
        .arg(QString::fromStdString(name), QString::fromStdString(reason))
        .toStdString();
}

void alertCouldNotOpen(const FSSpec *theFile, const std::string &reason)
{
    const std::string explanation =
        reason.empty()
            ? QCoreApplication::translate("Program", "The file \u201c%1\u201d could not be read.")
                  .arg(QString::fromStdString(theFile->name))
                  .toStdString()
            : alertExplanation("The file \u201c%1\u201d could not be read: %2.", theFile->name, reason);
    alert("Could not open File", explanation.c_str());
}

// The document that holds this file already, however it was reached.
tDocumentPtr documentHoldingFile(const FSSpec *theFile)
{
    const short refNum = FSFindOpenFile(theFile);
    if (refNum == 0)
        return nullptr;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i) {
        tDocumentPtr document = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(std::int16_t(i)));
        if (document && document->fRefNum == refNum)
            return document;
    }
    return nullptr;
}

void bringToFront(tDocumentPtr document)
{
    if (IsWindowCollapsed(document->theWindow))
        CollapseWindow(document->theWindow, false);
    SelectWindow(document->theWindow);
    BSetCurrentDocListIndexFromWindowRef(document->theWindow);
}

// A save in place that failed: the file and its folder cannot be written,
// or something else went wrong and the system says what.
void alertSaveFailed(tDocumentPtr document, OSErr err, const std::string &reason)
{
    if (FSIsLockedError(err)) {
        alert("Could not save the file because the Volume is locked", "Try to choose another Volume");
        return;
    }
    FSSpec fileSpec;
    const std::string name = FSGetFSSpecFromRefNum(document->fRefNum, &fileSpec) == noErr
                                 ? fileSpec.name
                                 : GetWTitle(document->theWindow);
    const std::string explanation = alertExplanation(
        "The file \u201c%1\u201d could not be written: %2.\nIt keeps its previous contents.", name, reason);
    alert("Could not save the file", explanation.c_str());
}

// The document an opened file goes into: the only document when it has no
// table yet, otherwise a new one.
tDocumentPtr documentForOpening(bool *created)
{
    *created = false;
    if (BGetNumberOfDocuments() == 1) {
        tDocumentPtr only = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(0));
        if (only && !QRLIsDataValid(only->dataPtr))
            return only;
    }
    *created = true;
    return BInitDocument();
}

// Lets go of a file that could not be read, so that no document holds it.
void abandonOpening(tDocumentPtr document, bool created)
{
    if (created) {
        BCloseDocument(document->theWindow);
        return;
    }
    FSClose(document->fRefNum);
    document->fRefNum = -1;
    document->fileLocked = false;
}

OSStatus saveCopyFromDialog(tDocumentPtr document, NavDialogRef dialog)
{
    if (!document)
        return noErr;
    NavReplyRecord reply;
    OSStatus err = NavDialogGetReply(dialog, &reply);
    if (err != noErr) {
        alert("Could not save Copy", "Please use only HFS+ Volumes");
        return err;
    }
    FSRef folder;
    if (!reply.selection.empty() && AECoerceToFSRef(&reply.selection.front(), &folder) == noErr)
        BDoFSRefSave(document, &reply);
    return noErr;
}

} // namespace

void BSetSaveHooks(const tSaveHooks &hooks)
{
    saveHooks = hooks;
}

void BSetSaveFlushesToDisk(Boolean flush)
{
    flushToDisk = flush;
}

OSErr BReadFile(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr->dataPtr) {
        BSetDocumentDirty(theDocumentPtr, 0);
        return noErr;
    }
    OSErr err = SetFPos(theDocumentPtr->fRefNum, fsFromStart, 0);
    if (err != noErr)
        return err;
    std::uint8_t image[kDocumentFileSize];
    long count = kDocumentFileSize;
    err = FSRead(theDocumentPtr->fRefNum, &count, image);
    if (err != noErr && err != eofErr)
        return err;
    BDecodeData(image, count, theDocumentPtr->dataPtr);
    BSetDocumentDirty(theDocumentPtr, 0);
    return noErr;
}

OSErr BWriteFile(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr->fRefNum == -1 || !theDocumentPtr->dataPtr)
        return noErr;
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(theDocumentPtr->dataPtr, image);
    // The new contents replace the file only once they are complete.
    OSErr err = FSReplaceFileContents(theDocumentPtr->fRefNum, image, kDocumentFileSize, flushToDisk);
    if (err != noErr && FSIsLockedError(err)) {
        // A file that cannot be written at all: the document lets go of it;
        // without a file nothing is locked, and the next save asks for a
        // location. The file itself is untouched.
        FSClose(theDocumentPtr->fRefNum);
        theDocumentPtr->fRefNum = -1;
        theDocumentPtr->fileLocked = false;
        return err;
    }
    if (err != noErr)
        return err; // the file is intact and the document keeps it, dirty
    // A file known as a table only by its name carries the type and creator
    // from its first save on.
    FSSpec fileSpec;
    if (FSGetFSSpecFromRefNum(theDocumentPtr->fRefNum, &fileSpec) == noErr) {
        const FInfo identity{kDocumentFileType, kDocumentFileCreator};
        FSpSetFInfo(&fileSpec, &identity);
    }
    BSetDocumentDirtyShown(theDocumentPtr, 0);
    return noErr;
}

OSErr BWriteNewFile(tDocumentPtr theDocumentPtr, const FSSpec *newFileSpec, Boolean replacing)
{
    if (!theDocumentPtr->dataPtr)
        return noErr;
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(theDocumentPtr->dataPtr, image);
    const FInfo identity{kDocumentFileType, kDocumentFileCreator};
    short refNum = -1;
    OSErr err =
        FSWriteFileSafely(newFileSpec, image, kDocumentFileSize, &identity, replacing, flushToDisk, &refNum);
    // The document lets go of its old file only once the new one is
    // complete: on failure it keeps its file, title and changes.
    if (err != noErr)
        return err;
    if (theDocumentPtr->fRefNum != -1)
        FSClose(theDocumentPtr->fRefNum);
    theDocumentPtr->fileLocked = false;
    theDocumentPtr->fRefNum = refNum;
    BSetDocumentDirtyShown(theDocumentPtr, 0);
    SetWTitle(theDocumentPtr->theWindow, newFileSpec->name);
    SetWindowProxyFilePath(theDocumentPtr->theWindow, newFileSpec->path());
    return noErr;
}

OSStatus BDoFSRefSave(tDocumentPtr theDocumentPtr, NavReplyRecord *reply)
{
    FSRef folder;
    if (reply->selection.empty())
        return errAEDescNotFound;
    OSStatus err = AECoerceToFSRef(&reply->selection.front(), &folder);
    if (err != noErr)
        return err;
    if (reply->saveFileName.empty())
        return noErr;
    const FSSpec target{folder.path, reply->saveFileName};
    // A file that a document holds open is not replaced, not even by the
    // document itself.
    if (FSIsFileOpen(&target)) {
        alert("Could not save the File You like to replace, it is in use", "Please choose another name");
        return fBsyErr;
    }
    err = BWriteNewFile(theDocumentPtr, &target, reply->replacing);
    if (err != noErr) {
        alert("Could not write Copy", "");
        return err;
    }
    return NavCompleteSave(reply);
}

OSStatus BDoSaveCopy(tDocumentPtr theDocumentPtr)
{
    return saveCopyFromDialog(theDocumentPtr,
                              theDocumentPtr ? theDocumentPtr->fNavigationSaveDialog : nullptr);
}

OSStatus BDoTerminateSaveCopy(tDocumentPtr theDocumentPtr)
{
    return saveCopyFromDialog(theDocumentPtr,
                              theDocumentPtr ? theDocumentPtr->fNavigationTerminateSaveDialog : nullptr);
}

OSStatus BDoOpenFile(const FSSpec *theFile)
{
    // One document per file: two would each save over the other's changes.
    if (tDocumentPtr holder = documentHoldingFile(theFile)) {
        bringToFront(holder);
        return noErr;
    }
    if (BGetNumberOfDocuments() == kMaxNumberOfDocuments) {
        alert("Could not open File, because the maximum number of documents are open",
              "Please close some documents");
        return noErr;
    }
    bool fileLocked = false;
    short refNum = -1;
    OSErr err = FSpOpenDF(theFile, fsRdWrPerm, &refNum);
    if (err != noErr) {
        fileLocked = true;
        err = FSpOpenDF(theFile, fsRdPerm, &refNum);
    }
    if (err != noErr) {
        alertCouldNotOpen(theFile, FSGetLastErrorText());
        return err;
    }
    bool created = false;
    tDocumentPtr document = documentForOpening(&created);
    if (!document) {
        FSClose(refNum);
        alertCouldNotOpen(theFile, "no document could be made for it");
        return memFullErr;
    }
    if (document->fRefNum != -1)
        FSClose(document->fRefNum);
    document->fileLocked = fileLocked;
    document->fRefNum = refNum;
    err = BReadFile(document);
    if (err != noErr) {
        const std::string reason = FSGetLastErrorText();
        abandonOpening(document, created);
        alertCouldNotOpen(theFile, reason);
        return err;
    }
    SetWTitle(document->theWindow, theFile->name);
    BSetCurrentDocListIndexFromWindowRef(document->theWindow);
    ShowWindow(document->theWindow);
    SetWindowProxyFilePath(document->theWindow, theFile->path());
    BDrawDocsWindowData(1);
    return noErr;
}

OSErr BDoSaveDocument(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return noErr;
    if (theDocumentPtr->fRefNum == -1) {
        if (saveHooks.askForLocation)
            saveHooks.askForLocation(theDocumentPtr);
        return noErr;
    }
    OSErr err = BWriteFile(theDocumentPtr);
    if (err != noErr) {
        alertSaveFailed(theDocumentPtr, err, FSGetLastErrorText());
        // The window stays open: a later save is an ordinary one.
        theDocumentPtr->isClosing = false;
        return err;
    }
    if (theDocumentPtr->isClosing)
        BCloseDocument(theDocumentPtr->theWindow);
    if (saveHooks.saved)
        saveHooks.saved();
    return noErr;
}

OSStatus BGetFSSpecInfo(const AEDesc *fileObject, FSSpec *returnSpec)
{
    OSStatus err = AECoerceToFSSpec(fileObject, returnSpec);
    if (err != noErr)
        alert("BGetFSSpecInfoErr", "Please contact the manufacturer");
    return err;
}
