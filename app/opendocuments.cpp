// Files from the command line: checked one by one, so that one missing or
// unreadable file is reported by name and does not stop the others.
#include "app/opendocuments.h"

#include "platform/alerts.h"
#include "platform/appleevents.h"
#include "platform/files.h"

#include <QCoreApplication>

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

// The open-documents event for the files that can be read; an alert for
// each of the others, in the order given.
AppleEvent openDocumentsEventFor(const std::vector<std::string> &files)
{
    AppleEvent event{kCoreEventClass, kAEOpenDocuments, {}};
    for (const std::string &path : files) {
        const OSErr err = checkReadable(path);
        if (err == noErr) {
            event.directObject.push_back(AEDesc{path, true});
            continue;
        }
        const std::size_t slash = path.rfind('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        showAlert(QCoreApplication::translate("Program", "Could not open “%1”")
                      .arg(QString::fromStdString(name))
                      .toStdString(),
                  reasonFor(err, path));
    }
    return event;
}

} // namespace

void BOpenDocumentsAtLaunch(const std::vector<std::string> &files)
{
    const AppleEvent event = openDocumentsEventFor(files);
    if (!event.directObject.empty())
        AEPostAppleEvent(event);
}

void BOpenHandedOverDocuments(const std::vector<std::string> &files)
{
    const AppleEvent event = openDocumentsEventFor(files);
    if (!event.directObject.empty())
        AESendAppleEvent(event);
}
