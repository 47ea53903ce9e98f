// The printing side of the headless test driver: a test lists the page setup
// and print sheets that are up and answers them as a user would. Answering
// takes the sheet away and runs its sheet procedure, as the shown dialog does.
#pragma once

#include "printing.h"

#include <string>
#include <vector>

enum class PrintDialogKind { pageSetup, print };

// Paper, orientation and margins (points), as the page setup dialog shows
// and sets them. Paper is Qt's page size key: "A4", "Letter" ...
struct PageChoice {
    std::string paper = "A4";
    bool landscape = false;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

struct PendingPrintDialog {
    PMPrintSession session = nullptr;
    PrintDialogKind kind = PrintDialogKind::pageSetup;
    WindowRef parentWindow = nullptr;
    PageChoice page;           // what the dialog starts from
    std::string jobName;       // print dialogs
    std::string outputFile;    // the PDF file the print dialog proposes
    std::uint32_t minPage = 0; // the pages the print dialog offers
    std::uint32_t maxPage = 0;
};

// The sheets that are up and wait for the user, oldest first.
std::vector<PendingPrintDialog> GetPendingPrintDialogs();

// A page setup sheet: OK with this choice, or Cancel (choice ignored).
OSStatus PMTestAnswerPageSetup(PMPrintSession session, bool accept, const PageChoice &choice = {});

// A print sheet: Print with these pages (firstPage 0: all pages) into this
// PDF file (empty: the one proposed), or Cancel.
struct PrintChoice {
    std::uint32_t firstPage = 0;
    std::uint32_t lastPage = 0;
    std::string outputFile;
};
OSStatus PMTestAnswerPrint(PMPrintSession session, bool accept, const PrintChoice &choice = {});

// The paper, orientation and margins of a page format.
PageChoice PMTestGetPageChoice(PMPageFormat format);
// How many print jobs have ended with their output written, and how many
// pages they held in all.
int PMTestCompletedJobs();
int PMTestPrintedPages();
// How many sessions exist now.
int PMTestLiveSessions();
