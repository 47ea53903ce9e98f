// Files on POSIX: a file's type and creator live in extended attributes,
// and a file is identified by its device and inode.
#include "files.h"

#include "bundle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{

bool readFault = false;

// The name ends in the program's document extension, in any case.
bool hasDocumentExtension(const std::string &name)
{
    const std::string extension = platform::documentExtension();
    if (extension.empty())
        return false;
    const std::string ending = "." + extension;
    const std::size_t n = ending.size();
    return name.size() > n && strcasecmp(name.c_str() + name.size() - n, ending.c_str()) == 0;
}

bool getCode(const std::string &path, const char *attribute, OSType *code)
{
    unsigned char chars[4];
    if (getxattr(path.c_str(), attribute, chars, 4) != 4)
        return false;
    *code = (OSType(chars[0]) << 24) | (OSType(chars[1]) << 16) | (OSType(chars[2]) << 8) | OSType(chars[3]);
    return true;
}

// Why the open file is not one a document can be read from.
FileError checkPlainFile(int fd)
{
    struct stat st;
    if (fstat(fd, &st) != 0)
        return FileError{errno};
    if (!S_ISREG(st.st_mode))
        return FileError{S_ISDIR(st.st_mode) ? EISDIR : EINVAL, true};
    return {};
}

FileError readAtMost(int fd, qsizetype maxBytes, QByteArray *bytes)
{
    if (readFault)
        return FileError{EIO};
    bytes->resize(maxBytes);
    qsizetype got = 0;
    while (got < maxBytes) {
        const ssize_t n = read(fd, bytes->data() + got, std::size_t(maxBytes - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FileError{errno};
        if (n == 0)
            break;
        got += n;
    }
    bytes->resize(got);
    return {};
}

} // namespace

void SetReadFaultForTesting(bool fail)
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

FileError ReadFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileError{errno};
    FileError error = checkPlainFile(fd);
    if (!error.failed() && bytes != nullptr)
        error = readAtMost(fd, maxBytes, bytes);
    close(fd);
    return error;
}

bool IsSameFile(const std::string &path, const std::string &other)
{
    struct stat a, b;
    return stat(path.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

OSErr FSpGetFInfo(const FSSpec *fileSpec, FInfo *info)
{
    const std::string path = fileSpec->path();
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? fnfErr : ioErr;
    if (!S_ISREG(st.st_mode))
        return notAFileErr;
    *info = FInfo{};
    if (!getCode(path, "user.type", &info->fdType) && hasDocumentExtension(fileSpec->name)) {
        info->fdType = platform::documentType();
        info->fdCreator = platform::documentCreator();
    }
    getCode(path, "user.creator", &info->fdCreator);
    return noErr;
}

std::string FSGetTypeExtension(OSType type)
{
    return type != 0 && type == platform::documentType() ? platform::documentExtension() : std::string();
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
        return errno == ENOENT ? fnfErr : ioErr;
    outRef->path = resolved;
    std::free(resolved);
    return noErr;
}
