// Document files: the 280-byte image of a calculation record, and the
// operations that move a document between memory and its file.
#pragma once

#include "document/document.h"
#include "model/data.h"
#include "platform/appleevents.h"
#include "platform/files.h"
#include "platform/navigation.h"

#include <cstdint>

constexpr long kDocumentFileSize = 280;
// The type and creator of the program's documents, as the bundle's
// information keys declare them ("CFBundleTypeOSTypes", "CFBundleSignature").
constexpr OSType kDocumentFileType = FOUR_CHAR_CODE("QRTb");
constexpr OSType kDocumentFileCreator = FOUR_CHAR_CODE("QRLF");

// The file image of a record: big-endian, fill bytes zero.
void BEncodeData(const tData *dataPtr, std::uint8_t image[kDocumentFileSize]);
// Replaces the first count bytes' worth of fields of the record from an
// image of count bytes (count <= 280); fields the image does not cover keep
// their values. Nothing is validated.
void BDecodeData(const std::uint8_t *image, long count, tData *dataPtr);

// Whether saves wait until the new contents are on disk (the default).
void BSetSaveFlushesToDisk(Boolean flush);

OSErr BReadFile(tDocumentPtr theDocumentPtr);
OSErr BWriteFile(tDocumentPtr theDocumentPtr);
// Moves the document to the file newFileSpec names, written whole before it
// takes the name; a file of that name exists only when replacing is set.
OSErr BWriteNewFile(tDocumentPtr theDocumentPtr, const FSSpec *newFileSpec, Boolean replacing);
OSStatus BDoFSRefSave(tDocumentPtr theDocumentPtr, NavReplyRecord *reply);
OSStatus BDoSaveCopy(tDocumentPtr theDocumentPtr);
OSStatus BDoTerminateSaveCopy(tDocumentPtr theDocumentPtr);
OSStatus BDoOpenFile(const FSSpec *theFile);
OSErr BDoSaveDocument(tDocumentPtr theDocumentPtr);
OSStatus BGetFSSpecInfo(const AEDesc *fileObject, FSSpec *returnSpec);
