// Document files: the operations that move a document between memory and
// its file, whose 280-byte image fileimage.h describes.
#pragma once

#include "document/document.h"
#include "formats/fileimage.h"
#include "model/data.h"
#include "platform/files.h"

#include <cstdint>

// The type and creator of the program's documents, four characters read as
// a big-endian number, as the bundle's information keys declare them
// ("CFBundleTypeOSTypes", "CFBundleSignature").
constexpr std::uint32_t BFileCode(const char (&code)[5])
{
    return std::uint32_t(std::uint8_t(code[0])) << 24 | std::uint32_t(std::uint8_t(code[1])) << 16 |
           std::uint32_t(std::uint8_t(code[2])) << 8 | std::uint32_t(std::uint8_t(code[3]));
}
constexpr std::uint32_t kDocumentFileType = BFileCode("QRTb");
constexpr std::uint32_t kDocumentFileCreator = BFileCode("QRLF");
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
void BSetSaveFlushesToDisk(bool flush);

FileError BReadFile(tDocumentPtr theDocumentPtr);
FileError BWriteFile(tDocumentPtr theDocumentPtr);
// Moves the document to the file at path, written whole before it takes the
// name; a file of that name exists only when replacing is set.
FileError BWriteNewFile(tDocumentPtr theDocumentPtr, const std::string &path, bool replacing);
// Some document holds the file at path (by whatever path or link it was
// opened): it is not to be replaced.
bool BIsFileInUse(const std::string &path);
// The file at path is a table document (by its type, or lacking one, its
// extension).
bool BIsDocumentFile(const std::string &path);
// Moves the document to the file at target, chosen in a Save dialog: not a
// file some document holds, replaced only when replacing. A failure is
// alerted; false then.
bool BDoSaveCopy(tDocumentPtr theDocumentPtr, const std::string &target, bool replacing);
// Opens the file at path (absolute) into a document, or brings the
// document that holds it to the front. A failure is alerted; it returns
// the reason then.
FileError BDoOpenFile(const std::string &path);
// Saves the document in place, or asks for a location when it has no file
// yet; false when the save failed (alerted).
bool BDoSaveDocument(tDocumentPtr theDocumentPtr);
