// A document's calculation record is stored as 280 big-endian bytes.
#include "files/file.h"

#include "document/document.h"
#include "platform/alerts.h"
#include "platform/frontwindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace
{

bool flushToDisk = true;

// The document that holds this file already, however it was reached.
tDocumentPtr documentHoldingFile(const std::string &path)
{
    for (int i = 0; i < BGetNumberOfDocuments(); ++i) {
        tDocumentPtr document = BGetDocumentWindowByIndex(std::int16_t(i));
        if (document && !document->filePath.empty() && platform::isSameFile(document->filePath, path))
            return document;
    }
    return nullptr;
}

// The document has no file any more: nothing is locked, and the next save asks where.
void letGoOfFile(tDocumentPtr document)
{
    document->filePath.clear();
    document->fileLocked = false;
}

// The record written whole through a temporary, with the documents' type and creator.
FileError saveRecord(tDocumentPtr theDocumentPtr, const std::string &path, Replace replace)
{
    std::uint8_t image[kDocumentFileSize];
    BEncodeData(theDocumentPtr->dataPtr, image);
    return SaveFile(path, QByteArray(reinterpret_cast<const char *>(image), kDocumentFileSize), replace,
                    flushToDisk, kDocumentFileTypeName, kDocumentFileCreatorName);
}

} // namespace

void BAlertFileError(const char *message, const char *text, const std::string &path,
                     const std::string &reason)
{
    const QString name = QFileInfo(QString::fromStdString(path)).fileName();
    showAlert(
        message,
        QCoreApplication::translate("Program", text).arg(name, QString::fromStdString(reason)).toStdString());
}

void BSetSaveFlushesToDisk(bool flush)
{
    flushToDisk = flush;
}

FileError BReadFile(tDocumentPtr theDocumentPtr)
{
    if (theDocumentPtr->dataPtr) {
        QByteArray image;
        const FileError error = platform::readFileStart(theDocumentPtr->filePath, kDocumentFileSize, &image);
        if (error.failed())
            return error;
        BDecodeData(reinterpret_cast<const std::uint8_t *>(image.constData()), long(image.size()),
                    theDocumentPtr->dataPtr);
    }
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
    // A file that cannot be written at all is left alone and let go of; on
    // another failure it is intact and the document keeps it, dirty.
    if (error.locked())
        letGoOfFile(theDocumentPtr);
    if (!error.failed())
        BSetDocumentDirtyShown(theDocumentPtr, 0);
    return error;
}

bool BIsDocumentFile(const std::string &path)
{
    return platform::fileType(path) == kDocumentFileType;
}

bool BIsFileInUse(const std::string &path)
{
    return documentHoldingFile(path) != nullptr;
}

bool BRefuseFileInUse(const std::string &target)
{
    if (!BIsFileInUse(target))
        return false;
    showAlert("Could not save the File You like to replace, it is in use", "Please choose another name");
    return true;
}

bool BDoSaveCopy(tDocumentPtr theDocumentPtr, const std::string &target, bool replacing)
{
    // Not even the document itself replaces a file a document holds.
    if (BRefuseFileInUse(target))
        return false;
    if (!theDocumentPtr->dataPtr)
        return true;
    // On failure the document keeps its file, title and changes.
    if (saveRecord(theDocumentPtr, target, replacing ? Replace::unlocked : Replace::never).failed()) {
        showAlert("Could not write Copy", "");
        return false;
    }
    theDocumentPtr->fileLocked = false;
    theDocumentPtr->setCurrentFile(target);
    BSetDocumentDirtyShown(theDocumentPtr, 0);
    return true;
}

FileError BDoOpenFile(const std::string &path)
{
    // One document per file: two would each save over the other's changes.
    if (tDocumentPtr holder = documentHoldingFile(path)) {
        if (holder->isMinimized())
            holder->showNormal();
        platform::selectWindow(holder);
        BSetCurrentDocListIndexFromWindowRef(holder);
        return {};
    }
    if (BGetNumberOfDocuments() == kMaxNumberOfDocuments) {
        showAlert("Could not open File, because the maximum number of documents are open",
                  "Please close some documents");
        return {};
    }
    const auto alertCouldNotOpen = [&path](const std::string &reason) {
        BAlertFileError("Could not open File", "The file \u201c%1\u201d could not be read: %2.", path,
                        reason);
    };
    FileError error = platform::readFileStart(path, 0, nullptr);
    if (error.failed()) {
        alertCouldNotOpen(error.reason());
        return error;
    }
    // The only document takes the file while it has no table yet.
    tDocumentPtr document = BGetNumberOfDocuments() == 1 ? BGetDocumentWindowByIndex(0) : nullptr;
    const bool created = !document || QRLIsDataValid(document->dataPtr);
    if (created && !(document = BInitDocument())) {
        alertCouldNotOpen("no document could be made for it");
        return FileError{ENOMEM};
    }
    // A save replaces the file by a new one made in its folder: it is locked
    // when that cannot be made or the file cannot be opened to write.
    document->fileLocked = IsSaveLocked(path) || access(path.c_str(), W_OK) != 0;
    document->filePath = path;
    error = BReadFile(document);
    if (error.failed()) {
        if (created)
            BCloseDocument(document);
        else
            letGoOfFile(document);
        alertCouldNotOpen(error.reason());
        return error;
    }
    document->setCurrentFile(path);
    BSetCurrentDocListIndexFromWindowRef(document);
    document->show();
    BDrawDocsWindowData(1);
    return {};
}
