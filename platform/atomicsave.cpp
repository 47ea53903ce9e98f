// The atomic save on POSIX: mkostemp beside the target, flock to mark the
// temporary as held, rename (or link, so as never to replace by accident),
// and the extended attributes for the type and creator.
#include "atomicsave.h"

#include "bundle.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace
{

SaveStep saveFault = SaveStep::none;

// No write bits, or a read-only file system. Root's permission bypass does
// not count.
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
std::string resolved(const std::string &path)
{
    char *real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    const std::string result = real;
    std::free(real);
    return result;
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// The start of the names of the temporaries that saves of the file at path
// make: the common prefix and a hash of the name, so that a save finds what
// earlier saves of the same file left behind, whatever the name's length.
std::string temporaryStem(const std::string &path)
{
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : path.substr(path.rfind('/') + 1)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return AtomicSave::temporaryPrefix() + hex + "-";
}

// Removes the temporaries of earlier saves of the file that were never
// renamed (a save killed half-way) and that no running process holds.
void removeStaleTemporaries(const std::string &target)
{
    const std::string folder = folderOf(target);
    const std::string stem = temporaryStem(target);
    DIR *entries = opendir(folder.c_str());
    if (entries == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent *entry = readdir(entries))
        if (std::strncmp(entry->d_name, stem.c_str(), stem.size()) == 0)
            stale.push_back(folder + "/" + entry->d_name);
    closedir(entries);
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

void syncFolder(const std::string &folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

mode_t defaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const char *bytes, qsizetype count)
{
    qsizetype written = 0;
    while (written < count) {
        const ssize_t n = ::write(fd, bytes + written, std::size_t(count - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

void putAttribute(int fd, const char *name, const QByteArray &value)
{
    if (!value.isEmpty())
        fsetxattr(fd, name, value.constData(), std::size_t(value.size()), 0);
}

// Moves the temporary to target; without replacing, a link that fails when
// target exists, and on a file system without hard links a plain rename
// after a last look.
int moveInto(const std::string &temporary, const std::string &target, bool replacing)
{
    if (replacing)
        return rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
    if (link(temporary.c_str(), target.c_str()) == 0) {
        unlink(temporary.c_str());
        return 0;
    }
    struct stat st;
    if ((errno != EPERM && errno != ENOTSUP) || lstat(target.c_str(), &st) == 0)
        return errno == EPERM || errno == ENOTSUP ? EEXIST : errno;
    return rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

} // namespace

bool FileError::locked() const
{
    return number == EACCES || number == EPERM || number == EROFS;
}

std::string FileError::reason() const
{
    return number == 0 ? std::string() : std::string(std::strerror(number));
}

void SetSaveFaultForTesting(SaveStep step)
{
    saveFault = step;
}

bool IsSaveLocked(const std::string &path)
{
    const std::string target = resolved(path);
    const std::string folder = folderOf(target);
    return isLocked(target) || isLocked(folder) || access(folder.c_str(), W_OK | X_OK) != 0;
}

FileError SaveFile(const std::string &path, const QByteArray &bytes, Replace replace, bool flush,
                   const QByteArray &type, const QByteArray &creator)
{
    AtomicSave save;
    FileError error = save.begin(path, replace);
    if (!error.failed())
        error = save.write(bytes);
    save.setTypeAttributes(type, creator);
    return error.failed() ? error : save.commit(flush);
}

std::string AtomicSave::temporaryPrefix()
{
    return "." + platform::commandName() + "-save-";
}

FileError AtomicSave::fail(int number)
{
    discard();
    return FileError{number};
}

FileError AtomicSave::begin(const std::string &path, Replace how)
{
    discard();
    replace = how;
    target = resolved(path);
    existed = stat(target.c_str(), &replaced) == 0;
    if (existed && how == Replace::never)
        return FileError{EEXIST};
    if (existed && how == Replace::unlocked && !S_ISREG(replaced.st_mode))
        return FileError{S_ISDIR(replaced.st_mode) ? EISDIR : EINVAL, true};
    if (existed && how == Replace::unlocked && isLocked(target))
        return FileError{EACCES};
    if (saveFault == SaveStep::create)
        return FileError{EIO};
    std::string pattern = folderOf(target) + "/" + temporaryStem(target) + "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return FileError{errno};
    temporary = name.data();
    // Held until the rename, so that no other save takes it for one left behind.
    flock(fd, LOCK_EX | LOCK_NB);
    return {};
}

FileError AtomicSave::write(const QByteArray &bytes)
{
    if (fd < 0)
        return FileError{EBADF};
    if (saveFault == SaveStep::write) {
        // Fail half-way, as a full disk would.
        writeAll(fd, bytes.constData(), bytes.size() / 2);
        return fail(ENOSPC);
    }
    return writeAll(fd, bytes.constData(), bytes.size()) ? FileError{} : fail(errno);
}

void AtomicSave::setTypeAttributes(const QByteArray &fileType, const QByteArray &fileCreator)
{
    type = fileType;
    creator = fileCreator;
}

// The new file keeps the replaced file's owner, group and permissions.
void AtomicSave::keepStatus() const
{
    if (existed && fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
        // Only root may give the file back to its owner; ours it stays.
    }
    // After the ownership change, as it may have cleared the set-id bits.
    fchmod(fd, existed ? replaced.st_mode & 07777 : defaultFileMode());
}

FileError AtomicSave::commit(bool flush)
{
    if (fd < 0)
        return FileError{EBADF};
    if (saveFault == SaveStep::flush)
        return fail(EIO);
    if (flush && fsync(fd) != 0)
        return fail(errno);
    putAttribute(fd, "user.type", type);
    putAttribute(fd, "user.creator", creator);
    keepStatus();
    return publish(flush);
}

FileError AtomicSave::publish(bool flush)
{
    if (saveFault == SaveStep::abandon) {
        close(fd);
        fd = -1;
        temporary.clear();
        return FileError{EINTR};
    }
    if (saveFault == SaveStep::rename)
        return fail(EIO);
    const int error = moveInto(temporary, target, replace != Replace::never);
    if (error != 0)
        return fail(error);
    close(fd);
    fd = -1;
    temporary.clear();
    removeStaleTemporaries(target);
    if (flush)
        syncFolder(folderOf(target));
    return {};
}

void AtomicSave::discard()
{
    if (fd >= 0)
        close(fd);
    if (!temporary.empty())
        unlink(temporary.c_str());
    fd = -1;
    temporary.clear();
}
