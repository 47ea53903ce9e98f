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

// Registered from above: asking a location for a document without a file,
// and going on (with the quit) once a save is done.
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
// Some document holds the file at path, by whatever path or link.
bool BIsFileInUse(const std::string &path);
// The file at path is a table document (by its type, or lacking one, its
// extension).
bool BIsDocumentFile(const std::string &path);
// Moves the document to target, chosen in a Save dialog, unless a document
// holds it; false (alerted) on failure.
bool BDoSaveCopy(tDocumentPtr theDocumentPtr, const std::string &target, bool replacing);
// Opens the file at path (absolute), or brings the document holding it to
// the front; a failure is alerted and returned.
FileError BDoOpenFile(const std::string &path);
// Saves the document in place, or asks for a location when it has no file
// yet; false when the save failed (alerted).
bool BDoSaveDocument(tDocumentPtr theDocumentPtr);
