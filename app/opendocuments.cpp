// Files from the command line or a later start: each unreadable one is
// reported by name and does not stop the others.
#include "app/opendocuments.h"

#include "document/document.h"
#include "files/file.h"
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

// The files that can be read; an alert for each of the others, in order.
std::vector<std::string> readableOf(const std::vector<std::string> &files)
{
    std::vector<std::string> readable;
    for (const std::string &path : files) {
        const FileError error = platform::readFileStart(path, 0, nullptr);
        if (!error.failed())
            readable.push_back(path);
        else
            showAlert(QCoreApplication::translate("Program", "Could not open “%1”")
                          .arg(QString::fromStdString(path).section(QLatin1Char('/'), -1))
                          .toStdString(),
                      reasonFor(error, path));
    }
    return readable;
}

// Opens the table documents among the files, the first into the empty window.
void BHandleOpenDocument(const std::vector<std::string> &paths)
{
    if (BGetNumberOfDocuments() == kMaxNumberOfDocuments)
        return;
    for (const std::string &path : paths) {
        const std::optional<std::string> file = platform::existingPath(path);
        if (!file)
            return;
        if (platform::fileType(*file) == kDocumentFileType)
            BDoOpenFile(*file);
    }
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
    BHandleOpenDocument(readableOf(files));
}
