// Saving through a temporary renamed over the file; unlike QSaveFile it
// keeps a symbolic link, the type attributes, the mode and the owner.
#pragma once

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>

// Why a file operation failed.
struct FileError {
    int number = 0;        // errno; 0 when nothing failed
    bool notAFile = false; // a folder or a device where a file was wanted
    bool failed() const { return number != 0; }
    // The file or its folder cannot be written at all.
    bool locked() const { return number == EACCES || number == EPERM || number == EROFS; }
    // The system's reason ("No space left on device").
    std::string reason() const { return number == 0 ? std::string() : std::string(std::strerror(number)); }
};

// What a save may do to a file that exists already.
enum class Replace {
    never,    // fail with EEXIST, even when the file appears during the save
    unlocked, // replace a plain file that can be written
    any,      // replace whatever is there
};

// The steps a test can make fail; abandon leaves the temporary as a killed save would.
enum class SaveStep { none, create, write, flush, rename, abandon };
void SetSaveFaultForTesting(SaveStep step);

class AtomicSave
{
  public:
    AtomicSave() = default;
    Q_DISABLE_COPY(AtomicSave)
    ~AtomicSave() { discard(); }

    // Makes the temporary for the file at path; the file stays untouched.
    FileError begin(const std::string &path, Replace replace);
    FileError write(const QByteArray &bytes);
    // Renames the temporary over the file, keeping its mode and owner, then
    // removes unheld temporaries of earlier saves.
    FileError commit(bool flush, const QByteArray &type = {}, const QByteArray &creator = {});
    // Removes the temporary; the file stays as it was.
    void discard();
    // Where another writer may put the contents by name before the commit.
    const std::string &temporaryPath() const { return temporary; }
    // The prefix of every temporary's name, which the Open dialog hides.
    static std::string temporaryPrefix();

  private:
    FileError fail(int number);

    std::string target; // symbolic links followed
    std::string temporary;
    int fd = -1;
    Replace replace = Replace::never;
    bool existed = false;
    struct stat replaced = {};
};

// The whole save at once, with the type and creator when given.
FileError SaveFile(const std::string &path, const QByteArray &bytes, Replace replace, bool flush,
                   const QByteArray &type = {}, const QByteArray &creator = {});

// No write bits on the file or its folder, a read-only file system, or a folder refusing new entries.
bool IsSaveLocked(const std::string &path);
