// Files from the command line: checked one by one, so that one missing or
// unreadable file is reported by name and does not stop the others.
#include "app/opendocuments.h"

#include "app/applevent.h"
#include "platform/alerts.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QTimer>

namespace
{

// Why path cannot be opened, in the user's language.
std::string reasonFor(OSErr err, const std::string &path)
{
    switch (err) {
    case fnfErr:
    case dirNFErr:
    case bdNamErr:
        return QCoreApplication::translate("Program", "There is no such file: %1")
            .arg(QString::fromStdString(path))
            .toStdString();
    case notAFileErr:
        return QCoreApplication::translate("Program", "It is not a file: %1")
            .arg(QString::fromStdString(path))
            .toStdString();
    case permErr:
        return QCoreApplication::translate("Program", "You are not allowed to read it: %1")
            .arg(QString::fromStdString(path))
            .toStdString();
    default:
        return QCoreApplication::translate("Program", "It cannot be read: %1")
            .arg(QString::fromStdString(path))
            .toStdString();
    }
}

// Opens the file for reading and closes it again; noErr when it can be read.
OSErr checkReadable(const std::string &path)
{
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(path, &fileSpec);
    if (err != noErr)
        return err;
    short refNum = -1;
    err = FSpOpenDF(&fileSpec, fsRdPerm, &refNum);
    if (err == noErr)
        FSClose(refNum);
    return err;
}

// The files that can be read; an alert for each of the others, in the
// order given.
std::vector<std::string> readableOf(const std::vector<std::string> &files)
{
    std::vector<std::string> readable;
    for (const std::string &path : files) {
        const OSErr err = checkReadable(path);
        if (err == noErr) {
            readable.push_back(path);
            continue;
        }
        const std::size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        showAlert(QCoreApplication::translate("Program", "Could not open “%1”")
                      .arg(QString::fromStdString(name))
                      .toStdString(),
                  reasonFor(err, path));
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
