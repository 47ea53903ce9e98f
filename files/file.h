// Document files: moving a document between memory and its 280-byte file.
#pragma once

#include "document/document.h"
#include "formats/fileimage.h"
#include "model/data.h"
#include "platform/files.h"

#include <cstdint>

// The documents' type and creator as the bundle declares them, by name and as numbers.
constexpr char kDocumentFileTypeName[] = "QRTb";
constexpr char kDocumentFileCreatorName[] = "QRLF";
constexpr std::uint32_t kDocumentFileType = 0x51525462;
constexpr std::uint32_t kDocumentFileCreator = 0x51524c46;

// Whether saves wait until the new contents are on disk (the default).
void BSetSaveFlushesToDisk(bool flush);

FileError BReadFile(tDocumentPtr theDocumentPtr);
FileError BWriteFile(tDocumentPtr theDocumentPtr);
// Some document holds the file at path, by whatever path or link.
bool BIsFileInUse(const std::string &path);
// Alerts and returns true when a document holds target, which no save replaces.
bool BRefuseFileInUse(const std::string &target);
// The file at path is a table document (by its type or extension).
bool BIsDocumentFile(const std::string &path);
// Moves the document to target, written whole first; false (alerted) on failure.
bool BDoSaveCopy(tDocumentPtr theDocumentPtr, const std::string &target, bool replacing);
// Opens the file at path, or brings the document holding it to the front.
FileError BDoOpenFile(const std::string &path);
// Alerts message; text names the file at path (%1) and gives reason (%2).
void BAlertFileError(const char *message, const char *text, const std::string &path,
                     const std::string &reason);
