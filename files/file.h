// Document files: the operations that move a document between memory and
// its file, whose 280-byte image fileimage.h describes.
#pragma once

#include "document/document.h"
#include "formats/fileimage.h"
#include "model/data.h"
#include "platform/files.h"
#include "platform/navigation.h"

#include <cstdint>

// The type and creator of the program's documents, as the bundle's
// information keys declare them ("CFBundleTypeOSTypes", "CFBundleSignature").
constexpr OSType kDocumentFileType = FOUR_CHAR_CODE("QRTb");
constexpr OSType kDocumentFileCreator = FOUR_CHAR_CODE("QRLF");
constexpr char kDocumentFileTypeName[] = "QRTb";
constexpr char kDocumentFileCreatorName[] = "QRLF";

// What a save asks of the dialogs and the quit above it, registered at
// start-up: a location for a document that has no file yet, and the next
// step once a save is done (the quit going on).
struct tSaveHooks {
    void (*askForLocation)(tDocumentPtr document) = nullptr;
    void (*saved)() = nullptr;
};
void BSetSaveHooks(const tSaveHooks &hooks);

// Whether saves wait until the new contents are on disk (the default).
void BSetSaveFlushesToDisk(Boolean flush);

FileError BReadFile(tDocumentPtr theDocumentPtr);
FileError BWriteFile(tDocumentPtr theDocumentPtr);
// Moves the document to the file at path, written whole before it takes the
// name; a file of that name exists only when replacing is set.
FileError BWriteNewFile(tDocumentPtr theDocumentPtr, const std::string &path, Boolean replacing);
// Some document holds the file at path (by whatever path or link it was
// opened): it is not to be replaced.
bool BIsFileInUse(const std::string &path);
OSStatus BDoFSRefSave(tDocumentPtr theDocumentPtr, NavReplyRecord *reply);
OSStatus BDoSaveCopy(tDocumentPtr theDocumentPtr);
OSStatus BDoTerminateSaveCopy(tDocumentPtr theDocumentPtr);
// Opens the file at path (absolute) into a document, or brings the
// document that holds it to the front.
OSStatus BDoOpenFile(const std::string &path);
OSErr BDoSaveDocument(tDocumentPtr theDocumentPtr);
OSStatus BGetFSSpecInfo(const AEDesc *fileObject, FSSpec *returnSpec);
