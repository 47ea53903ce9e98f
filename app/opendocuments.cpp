// Files from the command line: checked one by one, so that one missing or
// unreadable file is reported by name and does not stop the others.
#include "app/opendocuments.h"

#include "app/applevent.h"
#include "platform/alerts.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>

namespace
{

// Why path cannot be opened, in the user's language.
std::string reasonFor(const FileError &error, const std::string &path)
{
    const char *reason = QT_TRANSLATE_NOOP("Program", "It cannot be read: %1");
    if (error.notAFile)
        reason = QT_TRANSLATE_NOOP("Program", "It is not a file: %1");
    else if (error.number == ENOENT || error.number == ENOTDIR || error.number == ENAMETOOLONG ||
             error.number == ELOOP)
        reason = QT_TRANSLATE_NOOP("Program", "There is no such file: %1");
    else if (error.number == EACCES || error.number == EPERM)
        reason = QT_TRANSLATE_NOOP("Program", "You are not allowed to read it: %1");
    return QCoreApplication::translate("Program", reason).arg(QString::fromStdString(path)).toStdString();
}

// The files that can be read; an alert for each of the others, in the
// order given.
std::vector<std::string> readableOf(const std::vector<std::string> &files)
{
    std::vector<std::string> readable;
    for (const std::string &path : files) {
        const FileError error = platform::readFileStart(path, 0, nullptr);
        if (!error.failed()) {
            readable.push_back(path);
            continue;
        }
        const std::size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        showAlert(QCoreApplication::translate("Program", "Could not open “%1”")
                      .arg(QString::fromStdString(name))
                      .toStdString(),
                  reasonFor(error, path));
    }
    return readable;
}

} // namespace

void BOpenDocumentsAtLaunch(const std::vector<std::string> &files)
{
    const std::vector<std::string> readable = readableOf(files);
    if (!readable.empty())
        QTimer::singleShot(0, qApp, [readable]() { BHandleOpenDocument(readable); });
}

void BOpenHandedOverDocuments(const std::vector<std::string> &files)
{
    const std::vector<std::string> readable = readableOf(files);
    if (!readable.empty())
        BHandleOpenDocument(readable);
}
