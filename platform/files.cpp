// File access on POSIX: reference numbers stand for file descriptors, and
// a file's type and creator live in extended attributes.
#include "files.h"

#include "bundle.h"
#include "testing.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace
{

struct OpenFile {
    int fd;
    bool writable;
    FSSpec fileSpec;
};

std::map<short, OpenFile> openFiles;
FSSaveStep saveFault = FSSaveStep::none;
bool readFault = false;
// The system's error number behind the last failure reported.
int lastError = 0;

const char *const kTypeAttribute = "user.type";
const char *const kCreatorAttribute = "user.creator";

OSErr errnoToOSErr(int error)
{
    lastError = error;
    switch (error) {
    case ENOENT:
        return fnfErr;
    case ENOTDIR:
        return dirNFErr;
    case EACCES:
    case EPERM:
        return permErr;
    case EROFS:
        return vLckdErr;
    case EEXIST:
        return dupFNErr;
    case ENAMETOOLONG:
    case EINVAL:
        return bdNamErr;
    case ENOMEM:
        return memFullErr;
    case EBUSY:
        return fBsyErr;
    case ENOSPC:
    case EDQUOT:
        return dskFulErr;
    default:
        return ioErr;
    }
}

OpenFile *lookup(short refNum)
{
    auto it = openFiles.find(refNum);
    return it == openFiles.end() ? nullptr : &it->second;
}

short registerFile(int fd, bool writable, const FSSpec &fileSpec)
{
    short refNum = 1;
    while (openFiles.count(refNum) != 0)
        ++refNum;
    openFiles[refNum] = OpenFile{fd, writable, fileSpec};
    return refNum;
}

// The name ends in the program's document extension, in any case.
bool hasDocumentExtension(const std::string &name)
{
    const std::string extension = GetBundleDocumentExtension();
    if (extension.empty())
        return false;
    const std::string ending = "." + extension;
    const std::size_t n = ending.size();
    return name.size() > n && strcasecmp(name.c_str() + name.size() - n, ending.c_str()) == 0;
}

// A file or folder is locked when nobody may write it: no write bits, or its
// file system is mounted read-only. Root's permission bypass does not count.
bool isLocked(const std::string &path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        return true;
    struct statvfs vfs;
    return statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

// The file a path names, symbolic links followed; the path itself when it
// names nothing (yet).
FSSpec resolvedSpec(const FSSpec &fileSpec)
{
    char *resolved = realpath(fileSpec.path().c_str(), nullptr);
    if (resolved == nullptr)
        return fileSpec;
    FSSpec target;
    FSMakeFSSpec(resolved, &target);
    std::free(resolved);
    return target;
}

// A save replaces the file by a new one made in its folder: the file cannot
// be saved when either is locked, or the folder refuses new entries.
bool isSaveLocked(const FSSpec &fileSpec)
{
    const FSSpec target = resolvedSpec(fileSpec);
    return isLocked(target.path()) || isLocked(target.folder) ||
           access(target.folder.c_str(), W_OK | X_OK) != 0;
}

bool writeAll(int fd, const void *buffer, long count, long *written)
{
    const char *p = static_cast<const char *>(buffer);
    *written = 0;
    while (*written < count) {
        ssize_t n = write(fd, p + *written, std::size_t(count - *written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        *written += n;
    }
    return true;
}

void putCode(const std::string &path, const char *attribute, OSType code, int *error)
{
    const char chars[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    if (setxattr(path.c_str(), attribute, chars, 4, 0) != 0 && errno != ENOTSUP && *error == 0)
        *error = errno;
}

bool getCode(const std::string &path, const char *attribute, OSType *code)
{
    unsigned char chars[4];
    if (getxattr(path.c_str(), attribute, chars, 4) != 4)
        return false;
    *code = (OSType(chars[0]) << 24) | (OSType(chars[1]) << 16) | (OSType(chars[2]) << 8) | OSType(chars[3]);
    return true;
}

OSErr setInfoOnPath(const std::string &path, const FInfo *info)
{
    int error = 0;
    putCode(path, kTypeAttribute, info->fdType, &error);
    putCode(path, kCreatorAttribute, info->fdCreator, &error);
    return error == 0 ? OSErr(noErr) : errnoToOSErr(error);
}

// The temporary file of a save, created beside the target.
struct Temporary {
    std::string path;
    int fd = -1;
};

// The start of the names of the temporaries that saves of the file called
// name make: the common prefix and a hash of the name, so that a save can
// find what earlier saves of the same file left behind, whatever the
// name's length.
std::string temporaryStem(const std::string &name)
{
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return FSTemporaryPrefix() + hex + "-";
}

// The saving process holds a lock on its temporary until the rename, so that
// no other save takes it for one left behind.
OSErr createTemporary(const FSSpec &target, mode_t mode, Temporary *temp)
{
    if (saveFault == FSSaveStep::create)
        return errnoToOSErr(EIO);
    std::string pattern = target.folder + "/" + temporaryStem(target.name) + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    int fd = mkostemp(buffer.data(), O_CLOEXEC);
    if (fd < 0)
        return errnoToOSErr(errno);
    temp->fd = fd;
    temp->path = buffer.data();
    flock(fd, LOCK_EX | LOCK_NB);
    fchmod(fd, mode);
    return noErr;
}

// Removes the temporaries of earlier saves of target that were never renamed
// (a save killed half-way) and that no running process holds.
void removeStaleTemporaries(const FSSpec &target)
{
    const std::string stem = temporaryStem(target.name);
    DIR *folder = opendir(target.folder.c_str());
    if (folder == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent *entry = readdir(folder))
        if (std::strncmp(entry->d_name, stem.c_str(), stem.size()) == 0)
            stale.push_back(target.folder + "/" + entry->d_name);
    closedir(folder);
    for (const std::string &path : stale) {
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        close(fd);
    }
}

void discardTemporary(Temporary *temp)
{
    if (temp->fd >= 0)
        close(temp->fd);
    unlink(temp->path.c_str());
    temp->fd = -1;
}

OSErr fillTemporary(Temporary *temp, const void *buffer, long count, bool flush)
{
    long written = 0;
    if (saveFault == FSSaveStep::write) {
        // Fail half-way, as a full disk would.
        writeAll(temp->fd, buffer, count / 2, &written);
        return errnoToOSErr(ENOSPC);
    }
    if (!writeAll(temp->fd, buffer, count, &written))
        return errnoToOSErr(errno);
    if (saveFault == FSSaveStep::flush)
        return errnoToOSErr(EIO);
    if (flush && fsync(temp->fd) != 0)
        return errnoToOSErr(errno);
    return noErr;
}

OSErr renameTemporary(const Temporary &temp, const std::string &target, bool replacing)
{
    if (saveFault == FSSaveStep::rename)
        return errnoToOSErr(EIO);
    if (replacing) {
        if (rename(temp.path.c_str(), target.c_str()) != 0)
            return errnoToOSErr(errno);
        return noErr;
    }
    // Never replace a file the caller did not mean to replace; a file
    // system without hard links gets a plain rename after a last look.
    if (link(temp.path.c_str(), target.c_str()) == 0) {
        unlink(temp.path.c_str());
        return noErr;
    }
    struct stat st;
    if ((errno != EPERM && errno != ENOTSUP) || lstat(target.c_str(), &st) == 0)
        return errnoToOSErr(errno == EPERM || errno == ENOTSUP ? EEXIST : errno);
    return rename(temp.path.c_str(), target.c_str()) != 0 ? errnoToOSErr(errno) : OSErr(noErr);
}

void syncFolder(const std::string &folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

mode_t defaultFileMode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Renames the complete temporary over target; on failure removes it.
OSErr publishTemporary(Temporary *temp, const FSSpec &target, const FInfo *info, bool replacing, bool flush)
{
    if (saveFault == FSSaveStep::abandon) {
        close(temp->fd);
        return errnoToOSErr(EINTR);
    }
    const OSErr err = renameTemporary(*temp, target.path(), replacing);
    if (err != noErr) {
        discardTemporary(temp);
        return err;
    }
    flock(temp->fd, LOCK_UN);
    // The renamed file is a new inode: record its identity again.
    if (info != nullptr)
        setInfoOnPath(target.path(), info);
    removeStaleTemporaries(target);
    if (flush)
        syncFolder(target.folder);
    return noErr;
}

// Writes the contents through a temporary and renames it over target; on
// success returns the temporary's descriptor, which now names target.
OSErr writeThroughTemporary(const FSSpec &target, mode_t mode, const FInfo *info, const void *buffer,
                            long count, bool replacing, bool flush, int *outFd)
{
    Temporary temp;
    OSErr err = createTemporary(target, mode, &temp);
    if (err != noErr)
        return err;
    err = fillTemporary(&temp, buffer, count, flush);
    if (err != noErr) {
        discardTemporary(&temp);
        return err;
    }
    if (info != nullptr)
        setInfoOnPath(temp.path, info);
    err = publishTemporary(&temp, target, info, replacing, flush);
    if (err == noErr)
        *outFd = temp.fd;
    return err;
}

// What a save replaces: through a symbolic link, the link's target, with
// its status (permissions, owner and group) when it exists.
struct Replaced {
    FSSpec target;
    bool exists = false;
    struct stat status = {};
};

Replaced replacedFile(const FSSpec &fileSpec)
{
    Replaced replaced;
    replaced.target = resolvedSpec(fileSpec);
    replaced.exists = stat(replaced.target.path().c_str(), &replaced.status) == 0;
    return replaced;
}

mode_t replacementMode(const Replaced &replaced)
{
    return replaced.exists ? replaced.status.st_mode & 07777 : defaultFileMode();
}

// The new file fd keeps the replaced file's owner, group and permissions.
void keepOwnership(int fd, const Replaced &replaced)
{
    if (!replaced.exists)
        return;
    if (fchown(fd, replaced.status.st_uid, replaced.status.st_gid) != 0) {
        // Only root may give the file back to its owner; ours it stays.
    }
    // The ownership change may have cleared the set-id bits: set them again.
    fchmod(fd, replaced.status.st_mode & 07777);
}

} // namespace

void FSSetSaveFaultForTesting(FSSaveStep step)
{
    saveFault = step;
}

void FSSetReadFaultForTesting(Boolean fail)
{
    readFault = fail;
}

OSErr FSMakeFSSpec(const std::string &path, FSSpec *outSpec)
{
    if (path.empty())
        return bdNamErr;
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    std::size_t slash = trimmed.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : trimmed.substr(0, slash));
    outSpec->name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    char *resolved = realpath(folder.c_str(), nullptr);
    if (resolved == nullptr) {
        outSpec->folder = folder;
        return dirNFErr;
    }
    outSpec->folder = resolved;
    std::free(resolved);
    struct stat st;
    return stat(outSpec->path().c_str(), &st) == 0 ? OSErr(noErr) : OSErr(fnfErr);
}

OSErr FSpOpenDF(const FSSpec *fileSpec, std::int8_t permission, short *refNum)
{
    const std::string path = fileSpec->path();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errnoToOSErr(errno);
    if (!S_ISREG(st.st_mode)) {
        lastError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return notAFileErr;
    }
    const bool writable = permission != fsRdPerm;
    if (writable && isSaveLocked(*fileSpec)) {
        lastError = EACCES;
        return permErr;
    }
    int fd = open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return errnoToOSErr(errno);
    *refNum = registerFile(fd, writable, *fileSpec);
    return noErr;
}

OSErr FSClose(short refNum)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    int result = close(file->fd);
    openFiles.erase(refNum);
    return result == 0 ? OSErr(noErr) : OSErr(ioErr);
}

OSErr SetFPos(short refNum, short posMode, long posOff)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    if (posMode == fsAtMark)
        return noErr;
    if (posMode != fsFromStart || posOff < 0)
        return paramErr;
    return lseek(file->fd, posOff, SEEK_SET) < 0 ? errnoToOSErr(errno) : OSErr(noErr);
}

OSErr FSRead(short refNum, long *count, void *buffer)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    if (readFault) {
        *count = 0;
        return errnoToOSErr(EIO);
    }
    char *p = static_cast<char *>(buffer);
    long wanted = *count;
    long got = 0;
    while (got < wanted) {
        ssize_t n = read(file->fd, p + got, std::size_t(wanted - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *count = got;
            return errnoToOSErr(errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    *count = got;
    return got < wanted ? OSErr(eofErr) : OSErr(noErr);
}

OSErr FSWrite(short refNum, long *count, const void *buffer)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    if (!file->writable) {
        *count = 0;
        return wrPermErr;
    }
    long written = 0;
    bool ok = writeAll(file->fd, buffer, *count, &written);
    *count = written;
    return ok ? OSErr(noErr) : errnoToOSErr(errno);
}

OSErr FSpGetFInfo(const FSSpec *fileSpec, FInfo *info)
{
    const std::string path = fileSpec->path();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errnoToOSErr(errno);
    if (!S_ISREG(st.st_mode))
        return notAFileErr;
    *info = FInfo{};
    if (!getCode(path, kTypeAttribute, &info->fdType) && hasDocumentExtension(fileSpec->name)) {
        info->fdType = GetBundleDocumentType();
        info->fdCreator = GetBundleSignature();
    }
    getCode(path, kCreatorAttribute, &info->fdCreator);
    return noErr;
}

std::string FSGetTypeExtension(OSType type)
{
    return type != 0 && type == GetBundleDocumentType() ? GetBundleDocumentExtension() : std::string();
}

OSErr FSpSetFInfo(const FSSpec *fileSpec, const FInfo *info)
{
    struct stat st;
    if (stat(fileSpec->path().c_str(), &st) != 0)
        return errnoToOSErr(errno);
    return setInfoOnPath(fileSpec->path(), info);
}

OSErr FSGetFSSpecFromRefNum(short refNum, FSSpec *outSpec)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    *outSpec = file->fileSpec;
    return noErr;
}

short FSFindOpenFile(const FSSpec *fileSpec)
{
    struct stat target;
    if (stat(fileSpec->path().c_str(), &target) != 0)
        return 0;
    for (const auto &entry : openFiles) {
        struct stat st;
        if (fstat(entry.second.fd, &st) == 0 && st.st_dev == target.st_dev && st.st_ino == target.st_ino)
            return entry.first;
    }
    return 0;
}

Boolean FSIsFileOpen(const FSSpec *fileSpec)
{
    return FSFindOpenFile(fileSpec) != 0;
}

std::string FSGetLastErrorText()
{
    return lastError == 0 ? std::string() : std::string(std::strerror(lastError));
}

Boolean FSIsLockedError(OSErr err)
{
    return err == permErr || err == vLckdErr || err == wrPermErr || err == wPrErr || err == fLckdErr;
}

OSErr FSReplaceFileContents(short refNum, const void *buffer, long count, Boolean flush)
{
    OpenFile *file = lookup(refNum);
    if (file == nullptr)
        return rfNumErr;
    if (!file->writable) {
        lastError = EBADF;
        return wrPermErr;
    }
    // Through a symbolic link the link's target is saved, and the link stays.
    Replaced replaced = replacedFile(file->fileSpec);
    const std::string path = replaced.target.path();
    if (isSaveLocked(replaced.target)) {
        lastError = EACCES;
        return permErr;
    }
    if (!replaced.exists && fstat(file->fd, &replaced.status) != 0)
        return errnoToOSErr(errno);
    replaced.exists = true;
    FInfo info;
    bool hasInfo =
        getCode(path, kTypeAttribute, &info.fdType) && getCode(path, kCreatorAttribute, &info.fdCreator);
    int fd = -1;
    OSErr err = writeThroughTemporary(replaced.target, replacementMode(replaced), hasInfo ? &info : nullptr,
                                      buffer, count, true, flush, &fd);
    if (err != noErr)
        return err;
    keepOwnership(fd, replaced);
    close(file->fd);
    file->fd = fd;
    return noErr;
}

OSErr FSWriteFileSafely(const FSSpec *fileSpec, const void *buffer, long count, const FInfo *info,
                        Boolean replacing, Boolean flush, short *refNum)
{
    struct stat st;
    const bool exists = stat(fileSpec->path().c_str(), &st) == 0;
    if (exists && !replacing)
        return errnoToOSErr(EEXIST);
    if (exists && !S_ISREG(st.st_mode)) {
        lastError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return notAFileErr;
    }
    if (exists && isLocked(fileSpec->path())) {
        lastError = EACCES;
        return permErr;
    }
    // An existing file is replaced as a save replaces it.
    const Replaced replaced = replacedFile(*fileSpec);
    int fd = -1;
    const OSErr err = writeThroughTemporary(replaced.target, replacementMode(replaced), info, buffer, count,
                                            replacing, flush, &fd);
    if (err != noErr)
        return err;
    keepOwnership(fd, replaced);
    *refNum = registerFile(fd, true, *fileSpec);
    return noErr;
}

OSErr FSBeginReplacement(const FSSpec *fileSpec, FSReplacement *outReplacement)
{
    const Replaced replaced = replacedFile(*fileSpec);
    Temporary temp;
    // The writer opens it by name: writable for it until the commit.
    const OSErr err = createTemporary(replaced.target, S_IRUSR | S_IWUSR, &temp);
    if (err != noErr)
        return err;
    *outReplacement = FSReplacement{temp.path, replaced.target, temp.fd};
    return noErr;
}

OSErr FSCommitReplacement(FSReplacement *replacement, Boolean flush)
{
    if (replacement->fd < 0)
        return rfNumErr;
    const Replaced replaced = replacedFile(replacement->target);
    Temporary temp{replacement->temporaryPath, replacement->fd};
    *replacement = FSReplacement{};
    if (flush && fsync(temp.fd) != 0) {
        const OSErr err = errnoToOSErr(errno);
        discardTemporary(&temp);
        return err;
    }
    const OSErr err = publishTemporary(&temp, replaced.target, nullptr, true, flush);
    if (err != noErr)
        return err;
    fchmod(temp.fd, replacementMode(replaced));
    keepOwnership(temp.fd, replaced);
    close(temp.fd);
    return noErr;
}

void FSDiscardReplacement(FSReplacement *replacement)
{
    if (replacement->fd < 0)
        return;
    Temporary temp{replacement->temporaryPath, replacement->fd};
    discardTemporary(&temp);
    *replacement = FSReplacement{};
}

OSErr AECoerceToFSSpec(const AEDesc *desc, FSSpec *outSpec)
{
    if (desc == nullptr || !desc->isFile)
        return errAECoercionFail;
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(desc->path, &fileSpec);
    if (err != noErr)
        return err;
    *outSpec = fileSpec;
    return noErr;
}

OSErr AECoerceToFSRef(const AEDesc *desc, FSRef *outRef)
{
    if (desc == nullptr || !desc->isFile)
        return errAECoercionFail;
    char *resolved = realpath(desc->path.c_str(), nullptr);
    if (resolved == nullptr)
        return errnoToOSErr(errno);
    outRef->path = resolved;
    std::free(resolved);
    return noErr;
}

std::string FSTemporaryPrefix()
{
    return "." + GetBundleCommandName() + "-save-";
}
