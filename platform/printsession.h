// The records behind the printing system's references, shared by the
// printing system and its side of the test driver. Program modules never
// include it.
#pragma once

#include "atomicsave.h"
#include "internal.h"
#include "printtesting.h"

#include <QDialog>
#include <QPageLayout>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <memory>
#include <string>
#include <vector>

struct OpaquePMPageFormat {
    QPageLayout layout;
    bool defined = false; // given the defaults of a printer
};

struct OpaquePMPrintSettings {
    std::string jobName;
    std::uint32_t minPage = 1, maxPage = kPMPrintAllPages;
    std::uint32_t firstPage = 1, lastPage = kPMPrintAllPages;
};

// The job under way: its output and its pages.
struct PrintJob {
    std::string target;     // the PDF file, or empty for a printer
    AtomicSave replacement; // written first, renamed over the target at the end
    platform::PaintedPages pages;
};

struct OpaquePMPrintSession {
    std::unique_ptr<QPrinter> printer;
    OSStatus error = noErr;
    WindowRef sheetParent = nullptr;
    PMSheetDoneUPP sheetDone = nullptr;
    // The sheet that is up.
    bool dialogOpen = false;
    PrintDialogKind dialogKind = PrintDialogKind::pageSetup;
    PMPageFormat dialogFormat = nullptr;
    PMPrintSettings dialogSettings = nullptr;
    std::string proposedFile;
    platform::DialogWindow sheet;
    std::unique_ptr<PrintJob> job;
};

namespace platform
{

// The sessions that exist now, oldest first.
std::vector<PMPrintSession> &livePrintSessions();
bool printSheetWaiting(PMPrintSession session);
// The sheet has closed: its procedure hears whether the user confirmed it.
void finishPrintSheet(PMPrintSession session, bool accepted);
// What the user chose in the print dialog, read back from the printer.
void takePrintChoice(PMPrintSession session);

// What the finished jobs wrote.
struct PrintLog {
    int completedJobs = 0;
    int printedPages = 0;
};
PrintLog &printLog();

} // namespace platform
