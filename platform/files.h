// File access by file record (FSSpec: folder and name) and reference number, with the type and
// creator kept as extended attributes and the name extension.
#pragma once

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
    rfNumErr = -51,
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

enum : std::int8_t { fsRdPerm = 1, fsRdWrPerm = 3 };
enum : short { fsAtMark = 0, fsFromStart = 1 };

// Fills outSpec for path (the folder made absolute); fnfErr when the file
// does not exist, with outSpec filled all the same.
OSErr FSMakeFSSpec(const std::string &path, FSSpec *outSpec);
// Opens the file. Asking for write access fails with permErr for a file
// that cannot be saved: one without write permission bits, in a folder
// without them or that refuses new files, or on a read-only file system,
// whoever runs the program.
OSErr FSpOpenDF(const FSSpec *fileSpec, std::int8_t permission, short *refNum);
OSErr FSClose(short refNum);
OSErr SetFPos(short refNum, short posMode, long posOff);
// Reads up to *count bytes; eofErr with *count set to what was read when
// the file ends first.
OSErr FSRead(short refNum, long *count, void *buffer);
OSErr FSWrite(short refNum, long *count, const void *buffer);
// Type and creator: the extended attributes "user.type" and "user.creator"
// (four characters each) where the file system keeps them; lacking the type
// attribute, a name ending in the bundle's document extension (any case)
// reports the bundle's document type and creator.
OSErr FSpGetFInfo(const FSSpec *fileSpec, FInfo *info);
// The name extension that marks files of this type, without the dot: the
// bundle's document extension for its document type; empty for any other.
std::string FSGetTypeExtension(OSType type);
// Sets both attributes; succeeds without them on a file system that keeps
// no extended attributes.
OSErr FSpSetFInfo(const FSSpec *fileSpec, const FInfo *info);
// The FSSpec of an open file.
OSErr FSGetFSSpecFromRefNum(short refNum, FSSpec *outSpec);
// True when some reference number holds the file open.
Boolean FSIsFileOpen(const FSSpec *fileSpec);
// The reference number that holds the file (the same file, by whatever path
// or link it was opened); 0 when none does.
short FSFindOpenFile(const FSSpec *fileSpec);
// The system's reason for the last failure a file operation reported, as a
// sentence fragment ("No space left on device"); empty when there was none.
std::string FSGetLastErrorText();
// Whether a failure means the file or its folder cannot be written at all
// (a locked file or folder, a read-only volume, permission refused).
Boolean FSIsLockedError(OSErr err);

// Saving without ever destroying the previous version: the contents go into
// a temporary file beside the target, are flushed to disk when flush is set,
// and the temporary is renamed over the target. Any failure leaves the
// target exactly as it was and removes the temporary.
//
// Replaces the contents of the open file refNum; the reference then refers
// to the new file, positioned at its end, with the old file's type, creator,
// permissions and (when run as root) owner and group. Through a symbolic
// link, the link's target at the time of the save is replaced and the link
// stays; a hard link is split. A reference opened read-only gets wrPermErr,
// a file that cannot be saved (see FSpOpenDF) permErr, and nothing is
// written. After a successful save, temporaries that earlier saves of the
// same file left behind (killed before their rename) and that no running
// process holds are removed.
OSErr FSReplaceFileContents(short refNum, const void *buffer, long count, Boolean flush);
// Writes the file named by fileSpec, which must not exist unless replacing is
// set, records info on it when given, and opens it for reading and writing.
// A file replaced is replaced as FSReplaceFileContents does: through a
// symbolic link its target, keeping permissions, owner and group.
OSErr FSWriteFileSafely(const FSSpec *fileSpec, const void *buffer, long count, const FInfo *info,
                        Boolean replacing, Boolean flush, short *refNum);

// A replacement whose contents another writer puts into temporaryPath by
// name (the printing system's PDF output). The temporary lies beside the
// file that fileSpec names (through a symbolic link, the link's target);
// FSCommitReplacement renames it over that file as FSReplaceFileContents
// does, keeping the file's permissions and (when run as root) owner and
// group. Until then the file is untouched; FSDiscardReplacement removes the
// temporary. Both end the replacement.
struct FSReplacement {
    std::string temporaryPath;
    FSSpec target; // symbolic links followed
    int fd = -1;   // holds the temporary until its rename
};
OSErr FSBeginReplacement(const FSSpec *fileSpec, FSReplacement *outReplacement);
OSErr FSCommitReplacement(FSReplacement *replacement, Boolean flush);
void FSDiscardReplacement(FSReplacement *replacement);

// The prefix of the names of a save's temporary files (".<command>-save-"):
// the Open dialog leaves them out and tests look for strays.
std::string FSTemporaryPrefix();

// Items of a dialog reply, as files and folders.
OSErr AECoerceToFSSpec(const AEDesc *desc, FSSpec *outSpec);
OSErr AECoerceToFSRef(const AEDesc *desc, FSRef *outRef);
