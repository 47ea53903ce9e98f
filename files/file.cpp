// Document files: a document's calculation record stored as 280 big-endian
// bytes, read into and written from the document's open file.
#include "files/file.h"

#include "document/document.h"
#include "platform/alerts.h"
#include "platform/frontwindow.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace
{

bool flushToDisk = true;
tSaveHooks saveHooks;

// Names the file and gives the system's reason, in the user's language.
std::string alertExplanation(const char *text, const std::string &name, const std::string &reason)
{
    return QCoreApplication::translate("Program", text)
        .arg(QString::fromStdString(name), QString::fromStdString(reason))
        .toStdString();
}

std::string fileNameOf(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

void alertCouldNotOpen(const std::string &path, const std::string &reason)
{
    const std::string explanation =
        reason.empty()
            ? QCoreApplication::translate("Program", "The file \u201c%1\u201d could not be read.")
                  .arg(QString::fromStdString(fileNameOf(path)))
                  .toStdString()
            : alertExplanation("The file \u201c%1\u201d could not be read: %2.", fileNameOf(path), reason);
    showAlert("Could not open File", explanation);
}

// The document that holds this file already, however it was reached.
tDocumentPtr documentHoldingFile(const std::string &path)
{
    for (int i = 0; i < BGetNumberOfDocuments(); ++i) {
        tDocumentPtr document = BGetDocumentWindowsDocPtr(BGetDocumentWindowByIndex(std::int16_t(i)));
        if (document && !document->filePath.empty() && platform::isSameFile(document->filePath, path))
            return document;
    }
    return nullptr;
}

// The document has no file any more: nothing is locked, and the next save
// asks for a location.
void letGoOfFile(tDocumentPtr document)
{
    document->filePath.clear();
    document->fileLocked = false;
}

// A save replaces the file by a new one made in its folder: it is locked
// when the new one cannot be made or the file could not be opened to write.
bool isLockedForSaving(const std::string &path)
{
    return IsSaveLocked(path) || access(path.c_str(), W_OK) != 0;
}

void bringToFront(tDocumentPtr document)
{
    if (document->isMinimized())
        document->showNormal();
    platform::selectWindow(document);
    BSetCurrentDocListIndexFromWindowRef(document);
}

// A save in place that failed: the file and its folder cannot be written,
// or something else went wrong and the system says what.
void alertSaveFailed(tDocumentPtr document, const FileError &error)
{
    if (error.locked()) {
        showAlert("Could not save the file because the Volume is locked", "Try to choose another Volume");
        return;
    }
    const std::string name =
        document->filePath.empty() ? platform::windowTitleOf(document) : fileNameOf(document->filePath);
    const std::string explanation =
        alertExplanation("The file \u201c%1\u201d could not be written: %2.\nIt keeps its previous contents.",
                         name, error.reason());
    showAlert("Could not save the file", explanation);
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
        BCloseDocument(document);
        return;
    }
    letGoOfFile(document);
}

// The document's record as the file's bytes, written whole through a
// temporary; the file gets the document's type and creator.
FileError saveRecord(tDocumentPtr theDocumentPtr, const std::string &path, Replace replace)
{
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(theDocumentPtr->dataPtr, image);
    return SaveFile(path, QByteArray(reinterpret_cast<const char *>(image), kDocumentFileSize), replace,
                    flushToDisk, kDocumentFileTypeName, kDocumentFileCreatorName);
}

} // namespace

void BSetSaveHooks(const tSaveHooks &hooks)
{
    saveHooks = hooks;
}

void BSetSaveFlushesToDisk(bool flush)
{
    flushToDisk = flush;
}

FileError BReadFile(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr->dataPtr) {
        BSetDocumentDirty(theDocumentPtr, 0);
        return {};
    }
    QByteArray image;
    const FileError error = platform::readFileStart(theDocumentPtr->filePath, kDocumentFileSize, &image);
    if (error.failed())
        return error;
    BDecodeData(reinterpret_cast<const std::uint8_t *>(image.constData()), long(image.size()),
                theDocumentPtr->dataPtr);
    BSetDocumentDirty(theDocumentPtr, 0);
    return {};
}

FileError BWriteFile(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr->filePath.empty() || !theDocumentPtr->dataPtr)
        return {};
    // Through a symbolic link the link's target is saved, and the link stays.
    // A file removed meanwhile is written again where it was.
    const FileError error = theDocumentPtr->fileLocked || IsSaveLocked(theDocumentPtr->filePath)
                                ? FileError{EACCES}
                                : saveRecord(theDocumentPtr, theDocumentPtr->filePath, Replace::any);
    if (error.locked()) {
        // A file that cannot be written at all: the document lets go of it.
        // The file itself is untouched.
        letGoOfFile(theDocumentPtr);
        return error;
    }
    if (error.failed())
        return error; // the file is intact and the document keeps it, dirty
    BSetDocumentDirtyShown(theDocumentPtr, 0);
    return {};
}

FileError BWriteNewFile(tDocumentPtr theDocumentPtr, const std::string &path, bool replacing)
{
    if (!theDocumentPtr->dataPtr)
        return {};
    const FileError error = saveRecord(theDocumentPtr, path, replacing ? Replace::unlocked : Replace::never);
    // The document lets go of its old file only once the new one is
    // complete: on failure it keeps its file, title and changes.
    if (error.failed())
        return error;
    theDocumentPtr->fileLocked = false;
    theDocumentPtr->setCurrentFile(path);
    BSetDocumentDirtyShown(theDocumentPtr, 0);
    return {};
}

bool BIsDocumentFile(const std::string &path)
{
    return platform::fileType(path) == kDocumentFileType;
}

bool BDoSaveCopy(tDocumentPtr theDocumentPtr, const std::string &target, bool replacing)
{
    // A file that a document holds is not replaced, not even by the
    // document itself.
    if (BIsFileInUse(target)) {
        showAlert("Could not save the File You like to replace, it is in use", "Please choose another name");
        return false;
    }
    if (BWriteNewFile(theDocumentPtr, target, replacing).failed()) {
        showAlert("Could not write Copy", "");
        return false;
    }
    return true;
}

FileError BDoOpenFile(const std::string &path)
{
    // One document per file: two would each save over the other's changes.
    if (tDocumentPtr holder = documentHoldingFile(path)) {
        bringToFront(holder);
        return {};
    }
    if (BGetNumberOfDocuments() == kMaxNumberOfDocuments) {
        showAlert("Could not open File, because the maximum number of documents are open",
                  "Please close some documents");
        return {};
    }
    const FileError unreadable = platform::readFileStart(path, 0, nullptr);
    if (unreadable.failed()) {
        alertCouldNotOpen(path, unreadable.reason());
        return unreadable;
    }
    bool created = false;
    tDocumentPtr document = documentForOpening(&created);
    if (!document) {
        alertCouldNotOpen(path, "no document could be made for it");
        return FileError{ENOMEM};
    }
    document->fileLocked = isLockedForSaving(path);
    document->filePath = path;
    const FileError error = BReadFile(document);
    if (error.failed()) {
        abandonOpening(document, created);
        alertCouldNotOpen(path, error.reason());
        return error;
    }
    document->setCurrentFile(path);
    BSetCurrentDocListIndexFromWindowRef(document);
    document->show();
    BDrawDocsWindowData(1);
    return {};
}

bool BDoSaveDocument(tDocumentPtr theDocumentPtr)
{
    if (!theDocumentPtr)
        return true;
    if (theDocumentPtr->filePath.empty()) {
        if (saveHooks.askForLocation)
            saveHooks.askForLocation(theDocumentPtr);
        return true;
    }
    const FileError error = BWriteFile(theDocumentPtr);
    if (error.failed()) {
        alertSaveFailed(theDocumentPtr, error);
        // The window stays open: a later save is an ordinary one.
        theDocumentPtr->isClosing = false;
        return false;
    }
    if (theDocumentPtr->isClosing)
        BCloseDocument(theDocumentPtr);
    if (saveHooks.saved)
        saveHooks.saved();
    return true;
}

bool BIsFileInUse(const std::string &path)
{
    return documentHoldingFile(path) != nullptr;
}
