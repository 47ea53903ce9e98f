// mkostemp beside the target, flock to mark the temporary as held, and link
// instead of rename where nothing may be replaced.
#include "atomicsave.h"

#include "bundle.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{

SaveStep saveFault = SaveStep::none;

// No write bits, or a read-only file system; root's bypass does not count.
bool isLocked(const std::string &path)
{
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0)
        return true;
    struct statvfs vfs;
    return statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

// Symbolic links followed; the path itself when it names nothing yet.
std::string resolved(const std::string &path)
{
    char *real = realpath(path.c_str(), nullptr);
    const std::string result = real != nullptr ? real : path;
    std::free(real);
    return result;
}

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// The prefix and an FNV-1a hash of the file's name, so that a save finds
// what earlier saves of the same file left, whatever the name's length.
std::string temporaryStem(const std::string &path)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : path.substr(path.rfind('/') + 1)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return AtomicSave::temporaryPrefix() +
           QByteArray::number(hash, 16).rightJustified(16, '0').toStdString() + "-";
}

// Removes the temporaries of killed saves of the file that no process holds.
void removeStaleTemporaries(const std::string &target)
{
    const std::string folder = folderOf(target);
    const std::string stem = temporaryStem(target);
    DIR *entries = opendir(folder.c_str());
    if (entries == nullptr)
        return;
    while (const dirent *entry = readdir(entries)) {
        if (std::string_view(entry->d_name).substr(0, stem.size()) != stem)
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        struct stat st;
        if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlink(path.c_str());
        if (fd >= 0)
            close(fd);
    }
    closedir(entries);
}

// Without replacing: a link, which fails when the target exists, or where
// the file system has no hard links a rename after a last look.
int moveInto(const std::string &temporary, const std::string &target, bool replacing)
{
    if (!replacing) {
        if (link(temporary.c_str(), target.c_str()) == 0) {
            unlink(temporary.c_str());
            return 0;
        }
        const int error = errno;
        struct stat st;
        if (error != EPERM && error != ENOTSUP)
            return error;
        if (lstat(target.c_str(), &st) == 0)
            return EEXIST;
    }
    return rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}

} // namespace

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
    return error.failed() ? error : save.commit(flush, type, creator);
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
    std::string name = folderOf(target) + "/" + temporaryStem(target) + "XXXXXX";
    fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return FileError{errno};
    temporary = name;
    // Held until the rename, so that no other save takes it for one left behind.
    flock(fd, LOCK_EX | LOCK_NB);
    return {};
}

FileError AtomicSave::write(const QByteArray &bytes)
{
    if (fd < 0)
        return FileError{EBADF};
    // The fault fails half-way, as a full disk would.
    const qsizetype count = saveFault == SaveStep::write ? bytes.size() / 2 : bytes.size();
    for (qsizetype done = 0; done < count;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(count - done));
        if (n <= 0 && !(n < 0 && errno == EINTR))
            return fail(saveFault == SaveStep::write ? ENOSPC : errno);
        done += n > 0 ? n : 0;
    }
    return saveFault == SaveStep::write ? fail(ENOSPC) : FileError{};
}

FileError AtomicSave::commit(bool flush, const QByteArray &type, const QByteArray &creator)
{
    if (fd < 0)
        return FileError{EBADF};
    if (saveFault == SaveStep::flush)
        return fail(EIO);
    if (flush && fsync(fd) != 0)
        return fail(errno);
    const std::pair<const char *, QByteArray> attributes[] = {{"user.type", type}, {"user.creator", creator}};
    for (const auto &[name, value] : attributes)
        if (!value.isEmpty())
            fsetxattr(fd, name, value.constData(), std::size_t(value.size()), 0);
    // Only root may give the file back to its owner; otherwise it stays ours.
    if (existed && fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
    }
    // The mode after the owner, whose change may clear the set-id bits.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, existed ? replaced.st_mode & 07777 : 0666 & ~mask);
    if (saveFault == SaveStep::abandon) {
        temporary.clear(); // left behind, unheld once closed
        return fail(EINTR);
    }
    if (saveFault == SaveStep::rename)
        return fail(EIO);
    const int error = moveInto(temporary, target, replace != Replace::never);
    if (error != 0)
        return fail(error);
    temporary.clear();
    discard();
    removeStaleTemporaries(target);
    const int folder = flush ? open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
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
