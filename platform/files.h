// Files as the dialogs name them (FSSpec: folder and name), reading a file
// without blocking, and the type and creator kept as extended attributes
// and the name extension.
#pragma once

#include "atomicsave.h"
#include "types.h"

#include <string>
#include <vector>

// One item of a file dialog's reply: a file path, or something that is not
// a file at all (which cannot be coerced to a file).
struct AEDesc {
    std::string path;
    bool isFile = true;
};
using AEDescList = std::vector<AEDesc>;

enum : OSStatus {
    bdNamErr = -37,
    dirNFErr = -120,
    notAFileErr = -1302,
};

struct FSSpec {
    std::string folder; // absolute path of the parent folder
    std::string name;   // file name, any length the file system accepts
    std::string path() const { return folder.empty() ? name : folder + "/" + name; }
};

// A folder or file that exists, by absolute path.
struct FSRef {
    std::string path;
};

struct FInfo {
    OSType fdType = 0;
    OSType fdCreator = 0;
};

// Fills outSpec for path (the folder made absolute); fnfErr when the file
// does not exist, with outSpec filled all the same.
OSErr FSMakeFSSpec(const std::string &path, FSSpec *outSpec);
// Type and creator: the extended attributes "user.type" and "user.creator"
// (four characters each) where the file system keeps them; lacking the type
// attribute, a name ending in the bundle's document extension (any case)
// reports the bundle's document type and creator.
OSErr FSpGetFInfo(const FSSpec *fileSpec, FInfo *info);
// The name extension that marks files of this type, without the dot: the
// bundle's document extension for its document type; empty for any other.
std::string FSGetTypeExtension(OSType type);

// Reads up to maxBytes from the start of the file at path into bytes (when
// given). Opened without blocking, so that a FIFO or a device is reported as
// not a file instead of waiting for a writer.
FileError ReadFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes);
// Reading fails with EIO while set.
void SetReadFaultForTesting(bool fail);
// Both paths name the same file (device and inode), however it is reached.
bool IsSameFile(const std::string &path, const std::string &other);

// Items of a dialog reply, as files and folders.
OSErr AECoerceToFSSpec(const AEDesc *desc, FSSpec *outSpec);
OSErr AECoerceToFSRef(const AEDesc *desc, FSRef *outRef);
