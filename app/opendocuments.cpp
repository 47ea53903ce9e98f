// Files from the command line: checked one by one, so that one missing or
// unreadable file is reported by name and does not stop the others.
#include "app/opendocuments.h"

#include "platform/alerts.h"
#include "platform/appleevents.h"
#include "platform/files.h"

namespace
{

std::string quoted(const std::string &text)
{
    return "\u201c" + text + "\u201d";
}

std::string reasonFor(OSErr err)
{
    switch (err) {
    case fnfErr:
    case dirNFErr:
    case bdNamErr:
        return "There is no such file";
    case notAFileErr:
        return "It is not a file";
    case permErr:
        return "You are not allowed to read it";
    default:
        return "It cannot be read";
    }
}

// Opens the file for reading and closes it again; noErr when it can be read.
OSErr checkReadable(const std::string &path)
{
    FSSpec spec;
    OSErr err = FSMakeFSSpec(path, &spec);
    if (err != noErr)
        return err;
    short refNum = -1;
    err = FSpOpenDF(&spec, fsRdPerm, &refNum);
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
        StandardAlert(kAlertNoteAlert, "Could not open " + quoted(name), reasonFor(err) + ": " + path);
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
