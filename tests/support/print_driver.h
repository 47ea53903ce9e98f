// Page Setup and Print answered as a user does it: the driver finds the
// open QPageSetupDialog or QPrintDialog, reads what it starts from, fills
// in the paper, orientation and margins, or the pages and the PDF file to
// print into, and confirms or cancels it.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <string>
#include <vector>

class QPageSetupDialog;
class QPrintDialog;

namespace qrltest
{

// Paper (Qt's page size key: "A4", "Letter" ...), orientation and margins
// in points.
struct PageChoice {
    std::string paper = "A4";
    bool landscape = false;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

// The pages (firstPage 0: all pages) and the PDF file (empty: the one the
// dialog proposes) to print into.
struct PrintChoice {
    int firstPage = 0;
    int lastPage = 0;
    std::string outputFile;
};

// The page setup and print dialogs on screen now.
std::vector<QDialog *> OpenPrintDialogs();
// What the dialog starts from: its printer's page layout.
PageChoice ShownPage(QDialog *dialog);

// What a print dialog showed as it opened.
struct ShownPrint {
    QWidget *parent = nullptr;
    std::string jobName;
    std::string outputFile; // the PDF file proposed
    int minPage = 0, maxPage = 0;
};

// Fills in the page setup dialog (margins in points), then presses OK, or
// Cancel when not confirming.
void AnswerPageSetup(QPageSetupDialog *dialog, const PageChoice &choice, bool confirm = true);
// Chooses printing to a PDF file with the pages, then presses Print (as it
// does once the dialog's own checks of the file have passed), or Cancel.
void AnswerPrint(QPrintDialog *dialog, const PrintChoice &choice, bool confirm = true);

// Page Setup on the front window, confirmed with the choice; what the
// dialog started from.
PageChoice SetUpPage(const PageChoice &choice);
// Print on the front window, confirmed into the file; what the dialog showed.
ShownPrint PrintTo(const std::string &pdf, int firstPage = 0, int lastPage = 0);

} // namespace qrltest
