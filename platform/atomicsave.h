// Saving a file without ever destroying its previous version, and what Qt's
// QSaveFile does not keep: the type attributes, a symbolic link, the mode,
// the owner and group. The contents go into a temporary beside the file
// (through a symbolic link, beside its target), which is renamed over it
// once complete. Any failure leaves the file as it was and removes the
// temporary.
#pragma once

#include <QByteArray>
#include <string>
#include <sys/stat.h>

// Why a file operation failed: the system's error number and its reason.
struct FileError {
    int number = 0;        // errno; 0 when nothing failed
    bool notAFile = false; // a folder or a device where a file was wanted
    bool failed() const { return number != 0; }
    // The file or its folder cannot be written at all.
    bool locked() const;
    // The system's reason as a sentence fragment ("No space left on device").
    std::string reason() const;
};

// What a save may do to a file that exists already.
enum class Replace {
    never,    // fail with EEXIST, even when the file appears during the save
    unlocked, // replace a plain file that can be written
    any,      // replace whatever is there
};

// The steps of a save that a test can make fail. abandon stops after the
// temporary is written, leaving it behind unheld, as a save killed before
// its rename does.
enum class SaveStep { none, create, write, flush, rename, abandon };
void SetSaveFaultForTesting(SaveStep step);

class AtomicSave
{
  public:
    AtomicSave() = default;
    AtomicSave(const AtomicSave &) = delete;
    AtomicSave &operator=(const AtomicSave &) = delete;
    ~AtomicSave() { discard(); }

    // Makes the temporary for the file at path; the file stays untouched.
    FileError begin(const std::string &path, Replace replace);
    FileError write(const QByteArray &bytes);
    // The type and creator ("user.type", "user.creator") the file gets.
    void setTypeAttributes(const QByteArray &type, const QByteArray &creator);
    // Renames the temporary over the file, with the replaced file's mode and
    // (as root) owner and group; with flush, the contents and the folder
    // reach the disk first. Then removes the temporaries that earlier saves
    // of the file left behind and no running process holds.
    FileError commit(bool flush);
    // Removes the temporary; the file stays as it was.
    void discard();
    // Where another writer may put the contents by name before the commit.
    const std::string &temporaryPath() const { return temporary; }

    // The prefix of every temporary's name (".<command>-save-"): the Open
    // dialog leaves them out.
    static std::string temporaryPrefix();

  private:
    FileError fail(int number);
    void keepStatus() const;
    FileError publish(bool flush);

    std::string target; // symbolic links followed
    std::string temporary;
    int fd = -1;
    Replace replace = Replace::never;
    bool existed = false;
    struct stat replaced = {};
    QByteArray type, creator;
};

// The whole save at once: the file at path gets bytes, and the type and
// creator when they are given.
FileError SaveFile(const std::string &path, const QByteArray &bytes, Replace replace, bool flush,
                   const QByteArray &type = {}, const QByteArray &creator = {});

// A file cannot be saved, whoever runs the program: it or its folder has
// no write permission bits, is on a read-only file system, or the folder
// refuses new entries.
bool IsSaveLocked(const std::string &path);
