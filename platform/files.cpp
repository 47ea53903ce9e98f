// The type and creator live in extended attributes; a file is its device and inode.
#include "files.h"

#include "bundle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <strings.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{

bool readFault = false;

bool getCode(const std::string &path, const char *attribute, std::uint32_t *code)
{
    unsigned char chars[4];
    if (getxattr(path.c_str(), attribute, chars, 4) != 4)
        return false;
    *code = std::uint32_t(chars[0]) << 24 | chars[1] << 16 | chars[2] << 8 | chars[3];
    return true;
}

// The path without trailing slashes, and where its file's name starts.
std::pair<std::string, std::size_t> trimmed(const std::string &path)
{
    std::string file = path;
    while (file.size() > 1 && file.back() == '/')
        file.pop_back();
    return {file, file.rfind('/') + 1};
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
    const auto [file, name] = trimmed(path);
    const std::string folder = name == 0 ? "." : name == 1 ? "/" : file.substr(0, name - 1);
    char *real = path.empty() ? nullptr : realpath(folder.c_str(), nullptr);
    if (real == nullptr)
        return std::nullopt;
    const std::string result = std::string(real) + "/" + file.substr(name);
    std::free(real);
    struct stat st;
    return stat(result.c_str(), &st) == 0 ? std::optional(result) : std::nullopt;
}

FileError readFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return FileError{errno};
    FileError error;
    struct stat st;
    if (fstat(fd, &st) != 0)
        error = FileError{errno};
    else if (!S_ISREG(st.st_mode))
        error = FileError{S_ISDIR(st.st_mode) ? EISDIR : EINVAL, true};
    else if (bytes != nullptr && readFault)
        error = FileError{EIO};
    qsizetype got = 0;
    if (bytes != nullptr && !error.failed())
        bytes->resize(maxBytes);
    while (bytes != nullptr && !error.failed() && got < maxBytes) {
        const ssize_t n = read(fd, bytes->data() + got, std::size_t(maxBytes - got));
        if (n < 0 && errno != EINTR)
            error = FileError{errno};
        if (n == 0)
            break;
        if (n > 0)
            got += n;
    }
    if (bytes != nullptr && !error.failed())
        bytes->resize(got);
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
    const auto [file, name] = trimmed(path);
    struct stat st;
    if (path.empty() || stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    FileCodes codes;
    const std::string ending = "." + documentExtension();
    const std::size_t n = ending.size();
    if (!getCode(file, "user.type", &codes.type) && n > 1 && file.size() - name > n &&
        strcasecmp(file.c_str() + file.size() - n, ending.c_str()) == 0) {
        codes.type = documentType();
        codes.creator = documentCreator();
    }
    getCode(file, "user.creator", &codes.creator);
    return codes;
}

std::uint32_t fileType(const std::string &path)
{
    return fileCodes(path).value_or(FileCodes{}).type;
}

std::string typeExtension(std::uint32_t type)
{
    return type != 0 && type == documentType() ? documentExtension() : std::string();
}

} // namespace platform
