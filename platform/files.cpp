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
#include <utility>

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

bool getCode(const std::string &path, const char *attribute, std::uint32_t *code)
{
    unsigned char chars[4];
    if (getxattr(path.c_str(), attribute, chars, 4) != 4)
        return false;
    *code = (std::uint32_t(chars[0]) << 24) | (std::uint32_t(chars[1]) << 16) |
            (std::uint32_t(chars[2]) << 8) | std::uint32_t(chars[3]);
    return true;
}

// The path without trailing slashes, split into its folder and its name.
std::pair<std::string, std::string> folderAndName(const std::string &path)
{
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return {".", trimmed};
    return {slash == 0 ? "/" : trimmed.substr(0, slash), trimmed.substr(slash + 1)};
}

std::string joined(const std::string &folder, const std::string &name)
{
    return folder.empty() ? name : folder + "/" + name;
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

namespace platform
{

void setReadFaultForTesting(bool fail)
{
    readFault = fail;
}

std::optional<std::string> existingPath(const std::string &path)
{
    if (path.empty())
        return std::nullopt;
    const auto [folder, name] = folderAndName(path);
    char *resolved = realpath(folder.c_str(), nullptr);
    if (resolved == nullptr)
        return std::nullopt;
    const std::string result = joined(resolved, name);
    std::free(resolved);
    struct stat st;
    if (stat(result.c_str(), &st) != 0)
        return std::nullopt;
    return result;
}

FileError readFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes)
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

bool isSameFile(const std::string &path, const std::string &other)
{
    struct stat a, b;
    return stat(path.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::optional<FileCodes> fileCodes(const std::string &path)
{
    const auto [folder, name] = folderAndName(path);
    const std::string file = joined(folder, name);
    struct stat st;
    if (path.empty() || stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileCodes codes;
    if (!getCode(file, "user.type", &codes.type) && hasDocumentExtension(name)) {
        codes.type = documentType();
        codes.creator = documentCreator();
    }
    getCode(file, "user.creator", &codes.creator);
    return codes;
}

std::uint32_t fileType(const std::string &path)
{
    const std::optional<FileCodes> codes = fileCodes(path);
    return codes ? codes->type : 0;
}

std::string typeExtension(std::uint32_t type)
{
    return type != 0 && type == documentType() ? documentExtension() : std::string();
}

} // namespace platform
