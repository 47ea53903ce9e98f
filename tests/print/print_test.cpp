// Printing as a user does it: Page Setup and Print from the File menu, Qt's
// dialogs answered, and the PDF file that the Qt print path writes, read
// back as text and as a rendered page.
#include "document/document.h"
#include "platform/atomicsave.h"
#include "platform/forms.h"
#include "platform/testing.h"
#include "print/printing.h"
#include "print_helpers.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/mounts.h"
#include "tests/support/replaced_files.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <algorithm>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;
using namespace expected;
using namespace printtest;

namespace
{

// The sheet's lines as pdftotext lays them out, blank lines dropped.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.find_first_not_of(" \f\r") != std::string::npos)
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::string Trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::string Escaped(const std::string &text)
{
    return std::regex_replace(text, std::regex(R"([.()\[\]*+?^$|\\{}])"), R"(\$&)");
}

// The ten rows, in order, each on a line of its own: aperture, near, far.
void ExpectRowLines(const std::vector<std::string> &lines, const std::vector<std::string> &nears,
                    const std::vector<std::string> &fars)
{
    size_t from = 0;
    for (int i = 0; i < 10; ++i) {
        const std::regex row("^ *" + Escaped(Trimmed(kApertureTexts[i])) + " +" + Escaped(Trimmed(nears[i])) +
                             " +" + Escaped(Trimmed(fars[i])) + " *$");
        size_t at = from;
        while (at < lines.size() && !std::regex_match(lines[at], row))
            ++at;
        ASSERT_LT(at, lines.size()) << "row " << i << " not found after line " << from;
        from = at + 1;
    }
}

void Compute3Metres()
{
    ComputeTable({"3", "50", 3, std::nullopt});
}

QWidget *DocumentWidget(int index)
{
    return (DocumentAt(index));
}

} // namespace

// A computed table printed on one page: the headings and arguments, then the
// ten rows in the sheet's order and number formats; the job is named after
// the window and goes to the file the user chose.
TEST(Print, ComputedSheetOnOnePage)
{
    StartApplication();
    Compute3Metres();
    const std::string pdf = TempFolder() + "/table.pdf";
    const ShownPrint sheet = PrintTo(pdf);
    EXPECT_EQ(sheet.parent, DocumentWidget(0));
    EXPECT_EQ(sheet.minPage, 1);
    EXPECT_EQ(sheet.maxPage, 1);
    EXPECT_TRUE(OpenPrintDialogs().empty());
    EXPECT_TRUE(AlertMessages().empty());

    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
    EXPECT_EQ(PdfInfo(pdf, "Title"), platform::windowTitleOf(DocumentAt(0)));
    const std::vector<std::string> lines = Lines(PdfText(pdf));
    ASSERT_EQ(lines.size(), 14u); // four header lines, ten rows
    auto has = [&](size_t line, const std::string &text) {
        return line < lines.size() && lines[line].find(text) != std::string::npos;
    };
    // The header: focal length and distance, circle, camera, then the headings.
    EXPECT_TRUE(has(0, Label("focal")) && has(0, "    50") && has(0, Label("distancemeter")) &&
                has(0, "3.000"))
        << lines[0];
    EXPECT_TRUE(has(1, Label("unsharpcircle")) && has(1, "  33.0")) << lines[1];
    EXPECT_TRUE(has(2, Label("camera")) && has(2, Label("kleinbild"))) << lines[2];
    EXPECT_TRUE(has(3, Label("aperture")) && has(3, Label("neardistancemeter")) &&
                has(3, Label("fardistancemeter")))
        << lines[3];
    std::vector<std::string> nears, fars;
    for (const Row &row : Rows(3.0, false, 50.0, 0.000033)) {
        nears.push_back(NearText(row));
        fars.push_back(FarText(row));
    }
    ExpectRowLines(lines, nears, fars);
    EXPECT_EQ(fars[9], "inf");
}

// The sixth aperture on paper is "11" and two blanks, one blank less than in
// the window; the other nine are the window's. The blanks leave no mark in
// the PDF's text, so the printed sheet's layout is read as well.
TEST(Print, PrintedApertureTexts)
{
    StartApplication();
    const std::string pdf = TempFolder() + "/apertures.pdf";
    PrintTo(pdf);
    QWidget *window = DocumentAt(0);
    const QRect bounds = BSheetBounds(window);
    std::vector<std::string> printed(10);
    for (const SheetItem &item : BLayoutPrintedSheet(bounds, BGetDocumentWindowsDocPtr(window)->dataPtr))
        for (int i = 0; i < 10; ++i)
            if (item.kind == SheetItem::Kind::text &&
                item.frame.topLeft() == bounds.topLeft() + QPoint(30, 150 + 30 * i))
                printed[i] = item.text.toStdString();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(printed[i], i == 6 ? std::string("11  ") : std::string(kApertureTexts[i])) << i;
    EXPECT_EQ(TextAt(DocumentAt(0), 30, 150 + 30 * 6), "11   ");
    const std::vector<std::string> lines = Lines(PdfText(pdf));
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string &line) { return std::regex_match(line, std::regex(" *11 +- +- *")); }),
              1);
}

// An empty document prints its placeholders and the generic labels.
TEST(Print, EmptyDocumentPrintsPlaceholders)
{
    StartApplication();
    const std::string pdf = TempFolder() + "/empty.pdf";
    PrintTo(pdf);
    const std::vector<std::string> lines = Lines(PdfText(pdf));
    ASSERT_GE(lines.size(), 14u);
    EXPECT_NE(lines[0].find(Label("distance")), std::string::npos) << lines[0];
    EXPECT_EQ(lines[0].find(Label("distancemeter")), std::string::npos) << lines[0];
    EXPECT_NE(lines[3].find(Label("neardistance")), std::string::npos) << lines[3];
    ExpectRowLines(lines, std::vector<std::string>(10, "-"), std::vector<std::string>(10, "-"));
    const std::regex twoDashes(".* - .* - *$");
    EXPECT_TRUE(std::regex_match(lines[0], twoDashes)) << lines[0];
}

// The rule and the picture stand where the sheet puts them, measured from
// the top-left of the printable area, and the printed sheet is the same on
// A4 and on Letter and with wider margins.
TEST(Print, RenderedPageFollowsThePrintableArea)
{
    StartApplication();
    Compute3Metres();
    const QRect bounds = BSheetBounds(DocumentAt(0));
    const int width = bounds.width(), height = bounds.height();
    ASSERT_GT(width, 380);
    ASSERT_GT(height, 440);
    const std::string folder = TempFolder();
    const PageChoice choices[] = {
        {"A4", false, 36, 36, 36, 36}, {"Letter", false, 36, 36, 36, 36}, {"A4", false, 72, 90, 54, 54}};
    std::vector<std::vector<unsigned char>> sheets;
    for (const PageChoice &choice : choices) {
        SCOPED_TRACE(choice.paper + " " + std::to_string(int(choice.left)));
        SetUpPage(choice);
        const std::string pdf = folder + "/" + choice.paper + std::to_string(int(choice.left)) + ".pdf";
        PrintTo(pdf);
        const Page page = RenderPage(pdf);
        ASSERT_EQ(page.width, choice.paper == "A4" ? 595 : 612);
        ASSERT_EQ(page.height, choice.paper == "A4" ? 842 : 792);
        const int left = int(choice.left), top = int(choice.top);
        // The rule at 90, from 10 to R - 10; nothing dark beyond its ends.
        int ruleRow = -1;
        for (int y = top + 88; y <= top + 91 && ruleRow < 0; ++y) {
            bool across = true;
            for (int x = left + 11; x < left + width - 11 && across; ++x)
                across = page.inked(x, y);
            if (across)
                ruleRow = y;
        }
        EXPECT_TRUE(ruleRow == top + 89 || ruleRow == top + 90) << ruleRow;
        EXPECT_FALSE(page.inked(left + 7, ruleRow));
        EXPECT_FALSE(page.inked(left + width - 7, ruleRow));
        // Picture 128 in the square (312, 62)-(344, 94): drawn inside, white around it.
        int inside = 0;
        for (int y = top + 62; y < top + 88; ++y)
            for (int x = left + 312; x < left + 344; ++x)
                inside += page.dark(x, y) ? 1 : 0;
        EXPECT_GT(inside, 30);
        for (int y = top + 60; y < top + 88; ++y) {
            EXPECT_FALSE(page.inked(left + 308, y)) << y;
            EXPECT_FALSE(page.inked(left + 348, y)) << y;
        }
        // The sheet's area, cut out of the page.
        std::vector<unsigned char> sheet;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                sheet.push_back(page.at(x, y));
        sheets.push_back(sheet);
        // Nothing is printed above or to the left of the printable area.
        for (int x = 0; x < page.width; ++x)
            EXPECT_FALSE(page.inked(x, top - 2)) << x;
    }
    EXPECT_TRUE(sheets[0] == sheets[1]) << "A4 and Letter differ";
    EXPECT_TRUE(sheets[0] == sheets[2]) << "wider margins change the sheet";
}

// The page format chosen in page setup stays with the window: the next page
// setup starts from it, Cancel leaves it, and printing uses it.
TEST(Print, PageFormatStaysWithTheWindow)
{
    StartApplication();
    const PageChoice first = SetUpPage({"Letter", true, 50, 40, 30, 20});
    EXPECT_TRUE(OpenPrintDialogs().empty());
    Trigger("PageSetup");
    QPageSetupDialog *sheet = WaitForPageSetup();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->parentWidget(), DocumentWidget(0));
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_FALSE(IsCommandEnabled("Print")); // the sheet is in front
    const PageChoice shown = ShownPage(sheet);
    EXPECT_EQ(shown.paper, "Letter");
    EXPECT_TRUE(shown.landscape);
    EXPECT_EQ(shown.left, 50);
    EXPECT_EQ(shown.bottom, 20);
    // Cancelled with another paper showing: nothing changes.
    AnswerPageSetup(sheet, {"A5", false, 10, 10, 10, 10}, false);
    EXPECT_TRUE(OpenPrintDialogs().empty());
    const std::string folder = TempFolder();
    PrintTo(folder + "/letter.pdf");
    EXPECT_EQ(PdfInfo(folder + "/letter.pdf", "Page size"), "792 x 612 pts (letter)");
    EXPECT_EQ(SetUpPage({"A4", false, 36, 36, 36, 36}).paper, "Letter");
    PrintTo(folder + "/a4.pdf");
    EXPECT_EQ(PdfInfo(folder + "/a4.pdf", "Page size"), "595 x 842 pts (A4)");

    // Another document starts from the printer's defaults, not this one's choice.
    Trigger("New");
    Trigger("PageSetup");
    sheet = WaitForPageSetup();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(ShownPage(sheet).paper, first.paper);
    EXPECT_EQ(ShownPage(sheet).left, first.left);
    AnswerPageSetup(sheet, {}, false);
}

// Printing before any page setup gives the window the default page format,
// which the next page setup then starts from.
TEST(Print, PrintingFirstKeepsTheDefaultFormat)
{
    StartApplication();
    const tDocumentPrintInfo *record = BGetPrintInfoOfWindow(DocumentWidget(0));
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->pageFormat.has_value());
    PrintTo(TempFolder() + "/first.pdf");
    ASSERT_TRUE(record->pageFormat.has_value());
    const QPageLayout kept = *record->pageFormat;
    Trigger("PageSetup");
    QPageSetupDialog *sheet = WaitForPageSetup();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(record->pageFormat->isEquivalentTo(kept));
    EXPECT_EQ(ShownPage(sheet).paper, PageChoiceOf(kept).paper);
    AnswerPageSetup(sheet, PageChoiceOf(kept), false);
}

// Cancel in either dialog prints nothing and leaves the page format.
TEST(Print, CancelPrintsNothing)
{
    StartApplication();
    const std::string folder = TempFolder();
    Trigger("Print");
    QPrintDialog *print = WaitForPrint();
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->windowModality(), Qt::WindowModal);
    EXPECT_FALSE(IsCommandEnabled("Print")); // the sheet is in front
    AnswerPrint(print, {0, 0, folder + "/no.pdf"}, false);
    EXPECT_TRUE(IsCommandEnabled("Print"));
    Trigger("PageSetup");
    QPageSetupDialog *pageSetup = WaitForPageSetup();
    ASSERT_NE(pageSetup, nullptr);
    AnswerPageSetup(pageSetup, {"A5", false, 10, 10, 10, 10}, false);
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_TRUE(OpenPrintDialogs().empty());
    EXPECT_NE(BGetPrintInfoOfWindow(DocumentWidget(0))->pageFormat->pageSize().id(), QPageSize::A5);
}

// Pages: all pages and page 1 print the one page; the dialog offers page 1
// only, so asking from page 2 on prints page 1 as well.
TEST(Print, PageRanges)
{
    struct Case {
        int first, last;
    };
    StartApplication();
    const std::string folder = TempFolder();
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{2, 5}}) {
        const std::string pdf = folder + "/" + std::to_string(c.first) + ".pdf";
        PrintTo(pdf, c.first, c.last);
        EXPECT_EQ(PdfInfo(pdf, "Pages"), "1") << c.first;
    }
    EXPECT_EQ(FilesIn(folder).size(), 3u);
    EXPECT_TRUE(AlertMessages().empty());
}

// The job is named after the window's title when the command is given, and
// the PDF file proposed follows it: untitled in the home folder, then, once
// saved, the file's name in the document's folder.
TEST(Print, JobNameFollowsTheTitle)
{
    StartApplication();
    Compute3Metres();
    ShownPrint sheet = PrintTo("");
    EXPECT_EQ(sheet.jobName, platform::windowTitleOf(DocumentAt(0)));
    EXPECT_EQ(sheet.jobName, "Untitled ");
    EXPECT_EQ(sheet.outputFile, std::string(getenv("HOME")) + "/Untitled.pdf");
    EXPECT_EQ(PdfInfo(sheet.outputFile, "Title"), "Untitled ");

    const std::string folder = TempFolder();
    Trigger("Save");
    ASSERT_TRUE(qrltest::ChooseSaveLocation(qrltest::OnlyDialog(), folder, "trip"));
    sheet = PrintTo("");
    EXPECT_EQ(sheet.jobName, "trip.qrtb");
    EXPECT_EQ(sheet.outputFile, folder + "/trip.pdf");
    EXPECT_EQ(PdfInfo(folder + "/trip.pdf", "Title"), "trip.qrtb");
    EXPECT_EQ(PdfInfo(folder + "/trip.pdf", "Pages"), "1");
}

// Printing a document that is not the current one prints its sheet and
// makes it current.
TEST(Print, PrintingMakesTheDocumentCurrent)
{
    StartApplication();
    Compute3Metres();
    Trigger("New");
    ASSERT_EQ(BGetCurrentDocListIndex(), 1);
    platform::selectWindow(DocumentAt(0));
    ASSERT_EQ(platform::frontWindow(), DocumentAt(0));
    ASSERT_EQ(BGetCurrentDocListIndex(), 1);
    const std::string pdf = TempFolder() + "/first.pdf";
    PrintTo(pdf);
    EXPECT_EQ(BGetCurrentDocListIndex(), 0);
    EXPECT_NE(PdfText(pdf).find(" 3.000"), std::string::npos);
}

// Page setup and print do nothing with the preferences or facts window in
// front, whether asked through the menu or directly.
TEST(Print, NothingWithAnAuxiliaryWindowInFront)
{
    StartApplication();
    for (const bool prefs : {true, false}) {
        const char *command = prefs ? "Preferences" : "Facts";
        Trigger(command);
        ASSERT_FALSE(BIsDocumentWindow(platform::frontWindow()));
        EXPECT_FALSE(IsCommandEnabled("PageSetup"));
        EXPECT_FALSE(IsCommandEnabled("Print"));
        Trigger("PageSetup");
        Trigger("Print");
        BDoPageSetup(platform::frontWindow());
        BDoPrint(platform::frontWindow());
        EXPECT_TRUE(OpenPrintDialogs().empty()) << command;
        ClickCloseBox(platform::frontWindow());
    }
    EXPECT_TRUE(AlertMessages().empty());
}

// A folder that cannot be written (a read-only mount, as root writes
// anywhere else), or a write that fails at its start or at the rename: the
// printing system's alert names the file and the reason, and no file,
// whole, partial or temporary, is left.
TEST(Print, UnwritableFolderAlertsAndLeavesNoFile)
{
    if (geteuid() == 0 && !MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    StartApplication();
    const std::string folder = TempFolder() + "/locked";
    ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
    if (geteuid() == 0) {
        ASSERT_TRUE(MountReadOnly(folder));
    }
    const std::string target = folder + "/locked.pdf";
    PrintTo(target);
    std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].icon, QMessageBox::Information);
    EXPECT_EQ(alerts[0].message, "The table could not be printed to \u201clocked.pdf\u201d.");
    EXPECT_EQ(alerts[0].explanation, "The folder \u201c" + folder + "\u201d cannot be written: " +
                                         (geteuid() == 0 ? "Read-only file system." : "Permission denied."));
    EXPECT_TRUE(FilesIn(folder).empty());
    const std::string writable = TempFolder();
    for (const SaveStep step : {SaveStep::create, SaveStep::rename}) {
        SetSaveFaultForTesting(step);
        PrintTo(writable + "/failed.pdf");
        SetSaveFaultForTesting(SaveStep::none);
        alerts = TakeShownAlerts();
        ASSERT_EQ(alerts.size(), 1u) << int(step);
        EXPECT_NE(alerts[0].explanation.find("Input/output error."), std::string::npos)
            << alerts[0].explanation;
        EXPECT_TRUE(FilesIn(writable).empty()) << int(step);
    }
    EXPECT_TRUE(OpenPrintDialogs().empty());
    // The window is ready for the next attempt.
    const std::string good = writable + "/good.pdf";
    PrintTo(good);
    EXPECT_TRUE(std::filesystem::exists(good));
}

// A PDF file that exists is replaced as a saved document is: through a
// symbolic link, keeping its permissions (and, as root, its owner).
TEST(Print, ReplacesAnExistingFileAsASaveDoes)
{
    StartApplication();
    Compute3Metres();
    const std::string folder = TempFolder();
    for (const ExistingFile &file : MakeExistingFiles(folder, "pdf")) {
        PrintTo(folder + "/" + file.stem + ".pdf");
        EXPECT_EQ(ReplacedAsASaveDoes(folder, "pdf", file), "");
        EXPECT_NE(PdfText(file.holder).find(" 3.000"), std::string::npos) << file.stem;
    }
    std::vector<std::string> names = FilesIn(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "link.pdf", "private.pdf"}));
    EXPECT_TRUE(AlertMessages().empty());
}

// Closing a page setup or print dialog by its close box cancels it, and
// the document stays; closing a document with a dialog up cancels the dialog
// first. Nothing prints, and the record goes with the window.
TEST(Print, ClosingTheWindowCancelsItsSheet)
{
    struct Case {
        const char *command;
        bool closeDocument; // false: the sheet's own close box
        int documentsLeft;
    };
    const Case cases[] = {
        {"PageSetup", false, 2}, {"Print", false, 2}, {"PageSetup", true, 1}, {"Print", true, 0}};
    StartApplication();
    Trigger("New");
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.closeDocument ? ", document closed" : ", sheet closed"));
        QWidget *document = platform::frontWindow();
        Trigger(c.command);
        ASSERT_EQ(OpenPrintDialogs().size(), 1u);
        EXPECT_EQ(OpenPrintDialogs()[0]->parentWidget(), (document));
        if (c.closeDocument) {
            BCloseDocument(document);
        } else {
            ClickCloseBox(platform::frontWindow());
            ProcessPendingEvents();
        }
        EXPECT_TRUE(OpenPrintDialogs().empty());
        EXPECT_EQ(BGetNumberOfDocuments(), c.documentsLeft);
    }
    // With the last window gone the application quits.
    EXPECT_TRUE(EndsProcess(ProcessPendingEvents));
}
