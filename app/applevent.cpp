// The application's answers when asked to quit (the Quit command, the last
// window closing, a signal, the session's end) and to open documents.
#include "app/applevent.h"

#include "document/document.h"
#include "files/appinfo.h"
#include "files/file.h"
#include "platform/files.h"
#include "platform/process.h"

void BHandleQuitApplication()
{
    if (BGetNumberOfDirtyDocuments() <= 0)
        platform::exitProcess();
    if (BGetNumberOfDirtyDocuments() <= 1)
        BDoQuitApp();
    else
        BDoCreateReviewPanel();
}

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
