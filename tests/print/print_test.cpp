// Printing as a user does it: Page Setup and Print from the File menu, Qt's
// dialogs answered, and the PDF file the print writes, read back as text and
// as a rendered page.
#include "platform/atomicsave.h"
#include "print/printing.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/mounts.h"
#include "tests/support/optics.h"
#include "tests/support/print_driver.h"
#include "tests/support/replaced_files.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;
using namespace expected;

namespace
{

// A page rendered in grey at 72 dots per inch: one pixel a point.
struct Page {
    int width = 0, height = 0;
    std::string pixels;
    int at(int x, int y) const { return static_cast<unsigned char>(pixels[std::size_t(y * width + x)]); }
    bool dark(int x, int y) const { return at(x, y) < 160; }
    // Any ink at all: a one-point rule half on each of two pixel rows is light grey.
    bool inked(int x, int y) const { return at(x, y) < 240; }
};

Page RenderPage(const std::string &pdf)
{
    const std::string base = TempFolder() + "/page";
    RunShell("pdftoppm -r 72 -gray -singlefile " + ShellQuote(pdf) + " " + ShellQuote(base));
    std::istringstream in(ReadText(base + ".pgm"));
    std::string magic;
    int maxValue = 0;
    Page page;
    in >> magic >> page.width >> page.height >> maxValue;
    in.get();
    page.pixels.assign(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(magic == "P5" && maxValue == 255 &&
                page.pixels.size() == std::size_t(page.width * page.height));
    return page;
}

std::string Escaped(const std::string &text)
{
    return std::regex_replace(text, std::regex(R"([.()\[\]*+?^$|\\{}])"), R"(\$&)");
}

// The printed sheet of an empty document, then of a computed one: the
// header's four lines (placeholders and the labels without a unit when
// empty), then the ten rows in order, each a line of its own. The aperture
// 11 is printed with one blank less than the window shows, which the
// printed layout tells as the PDF's text cannot.
TEST(Print, SheetOnPaper)
{
    const struct {
        bool computed;
        Strings header;
    } rows[] = {
        {false,
         {Label("focal") + " +- .*" + Label("distance") + " +-", Escaped(Label("unsharpcircle")) + ".*",
          Label("camera") + ".*",
          Label("aperture") + " +" + Label("neardistance") + " +" + Label("fardistance")}},
        {true,
         {Label("focal") + " +50 .*" + Escaped(Label("distancemeter")) + " +3\\.000",
          Escaped(Label("unsharpcircle")) + " +33\\.0", Label("camera") + " +" + Label("kleinbild"),
          Label("aperture") + " +" + Escaped(Label("neardistancemeter")) + " +" +
              Escaped(Label("fardistancemeter"))}},
    };
    StartApplication();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.computed ? "computed" : "empty");
        if (row.computed)
            ComputeTable({"3", "50", 3, std::nullopt});
        const std::string pdf = TempFolder() + "/table.pdf";
        const ShownPrint shown = PrintTo(pdf);
        EXPECT_EQ(shown.parent, DocumentAt(0));
        EXPECT_EQ(shown.minPage, 1);
        EXPECT_EQ(shown.maxPage, 1);
        EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
        EXPECT_TRUE(AlertMessages().empty());
        std::istringstream text(PdfText(pdf));
        Strings lines;
        for (std::string line; std::getline(text, line);)
            if (line.find_first_not_of(" \f\r") != std::string::npos)
                lines.push_back(line);
        ASSERT_EQ(lines.size(), 14u);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_TRUE(std::regex_match(lines[i], std::regex(" *" + row.header[i] + " *"))) << lines[i];
        const std::vector<Row> figures = Rows(3.0, false, 50.0, 0.000033);
        for (std::size_t i = 0; i < 10; ++i) {
            const std::string near = row.computed ? Words(NearText(figures[i]))[0] : "-";
            const std::string far = row.computed ? Words(FarText(figures[i]))[0] : "-";
            EXPECT_EQ(Words(lines[4 + i]), (Strings{Words(kApertureTexts[i])[0], near, far})) << lines[4 + i];
        }
    }
    QWidget *window = DocumentAt(0);
    const QRect bounds = BSheetBounds(window);
    Strings printed(10);
    for (const SheetItem &item : BLayoutPrintedSheet(bounds, BGetDocumentWindowsDocPtr(window)->dataPtr))
        for (int i = 0; i < 10; ++i)
            if (item.kind == SheetItem::Kind::text &&
                item.frame.topLeft() == bounds.topLeft() + QPoint(30, 150 + 30 * i))
                printed[i] = item.text.toStdString();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(printed[i], i == 6 ? std::string("11  ") : std::string(kApertureTexts[i])) << i;
    EXPECT_EQ(TextAt(window, 30, 150 + 30 * 6), "11   ");
}

// The rule and the picture stand where the sheet puts them, measured from
// the top-left of the printable area, and the printed sheet is the same on
// A4 and on Letter and with wider margins.
TEST(Print, RenderedPageFollowsThePrintableArea)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    const QRect bounds = BSheetBounds(DocumentAt(0));
    const int width = bounds.width(), height = bounds.height();
    ASSERT_GT(width, 380);
    ASSERT_GT(height, 440);
    const std::string folder = TempFolder();
    const PageChoice choices[] = {
        {"A4", false, 36, 36, 36, 36}, {"Letter", false, 36, 36, 36, 36}, {"A4", false, 72, 90, 54, 54}};
    std::vector<std::string> sheets;
    for (const PageChoice &choice : choices) {
        SCOPED_TRACE(choice.paper + " " + std::to_string(int(choice.left)));
        SetUpPage(choice);
        const std::string pdf = folder + "/" + choice.paper + std::to_string(int(choice.left)) + ".pdf";
        PrintTo(pdf);
        const Page page = RenderPage(pdf);
        ASSERT_EQ(page.width, choice.paper == "A4" ? 595 : 612);
        ASSERT_EQ(page.height, choice.paper == "A4" ? 842 : 792);
        const int left = int(choice.left), top = int(choice.top);
        // The rule at 90, from 10 to R - 10; nothing beyond its ends.
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
        std::string sheet;
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x)
                sheet.push_back(page.pixels[std::size_t(y * page.width + x)]);
        sheets.push_back(sheet);
        for (int x = 0; x < page.width; ++x)
            EXPECT_FALSE(page.inked(x, top - 2)) << x;
    }
    EXPECT_TRUE(sheets[0] == sheets[1]) << "A4 and Letter differ";
    EXPECT_TRUE(sheets[0] == sheets[2]) << "wider margins change the sheet";
}

// The page format chosen in page setup stays with the window: the next page
// setup starts from it, Cancel in either dialog changes and prints nothing,
// and printing uses it; another document starts from the printer's
// defaults. While a sheet is up, Print is disabled.
TEST(Print, PageSetupStaysWithTheWindowAndCancelPrintsNothing)
{
    StartApplication();
    const std::string folder = TempFolder();
    const PageChoice first = SetUpPage({"Letter", true, 50, 40, 30, 20});
    for (const char *command : {"PageSetup", "Print"}) {
        Trigger(command);
        ASSERT_EQ(OpenPrintDialogs().size(), 1u);
        QDialog *sheet = OpenPrintDialogs()[0];
        EXPECT_EQ(sheet->parentWidget(), DocumentAt(0));
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        EXPECT_FALSE(IsCommandEnabled("Print"));
        if (auto *pageSetup = qobject_cast<QPageSetupDialog *>(sheet)) {
            const PageChoice shown = ShownPage(sheet);
            EXPECT_TRUE(shown.paper == "Letter" && shown.landscape && shown.left == 50 && shown.bottom == 20);
            AnswerPageSetup(pageSetup, {"A5", false, 10, 10, 10, 10}, false);
        } else {
            AnswerPrint(static_cast<QPrintDialog *>(sheet), {0, 0, folder + "/no.pdf"}, false);
        }
        EXPECT_TRUE(OpenPrintDialogs().empty());
        EXPECT_TRUE(IsCommandEnabled("Print"));
    }
    EXPECT_TRUE(ListFolder(folder).empty());
    PrintTo(folder + "/letter.pdf");
    EXPECT_EQ(PdfInfo(folder + "/letter.pdf", "Page size"), "792 x 612 pts (letter)");
    EXPECT_EQ(SetUpPage({"A4", false, 36, 36, 36, 36}).paper, "Letter");
    PrintTo(folder + "/a4.pdf");
    EXPECT_EQ(PdfInfo(folder + "/a4.pdf", "Page size"), "595 x 842 pts (A4)");
    Trigger("New");
    const PageChoice fresh = SetUpPage({});
    EXPECT_EQ(fresh.paper, first.paper);
    EXPECT_EQ(fresh.left, first.left);
}

// The job is named after the window's title, and the PDF file proposed
// follows it: untitled in the home folder, once saved the file's name in its
// folder. Every page range prints the one page. Printing a document that is
// not the current one prints its sheet and makes it current.
TEST(Print, PrintDialogNamesTheJobAndPrintsOnePage)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    const std::string folder = TempFolder();
    ShownPrint shown = PrintTo("");
    EXPECT_EQ(shown.jobName, "Untitled ");
    EXPECT_EQ(shown.outputFile, std::string(getenv("HOME")) + "/Untitled.pdf");
    EXPECT_EQ(PdfInfo(shown.outputFile, "Title"), "Untitled"); // the reader trims the title
    Trigger("Save");
    ASSERT_TRUE(ChooseSaveLocation(OnlyDialog(), folder, "trip"));
    shown = PrintTo("");
    EXPECT_EQ(shown.jobName, "trip.qrtb");
    EXPECT_EQ(shown.outputFile, folder + "/trip.pdf");
    EXPECT_EQ(PdfInfo(folder + "/trip.pdf", "Title"), "trip.qrtb");
    for (const auto &[first, last] : {std::pair{1, 1}, std::pair{2, 5}}) {
        const std::string pdf = folder + "/" + std::to_string(first) + ".pdf";
        PrintTo(pdf, first, last);
        EXPECT_EQ(PdfInfo(pdf, "Pages"), "1") << first;
    }
    Trigger("New");
    ASSERT_EQ(BGetCurrentDocListIndex(), 1);
    platform::selectWindow(DocumentAt(0));
    ASSERT_EQ(BGetCurrentDocListIndex(), 1);
    PrintTo(folder + "/first.pdf");
    EXPECT_EQ(BGetCurrentDocListIndex(), 0);
    EXPECT_NE(PdfText(folder + "/first.pdf").find(" 3.000"), std::string::npos);
    EXPECT_TRUE(AlertMessages().empty());
}

// Page setup and print do nothing with the preferences or facts window in
// front, whether asked through the menu or directly.
TEST(Print, NothingWithAnAuxiliaryWindowInFront)
{
    StartApplication();
    for (const char *command : {"Preferences", "Facts"}) {
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

// The PDF is written as a document is saved: into a folder that cannot be
// written, or failing at its start or at the rename, the alert names the
// file and the reason and no file, whole, partial or temporary, is left; an
// existing file is replaced through a symbolic link, keeping its
// permissions (and, as root, its owner).
TEST(Print, WritesThePdfAsASaveDoes)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    const std::string locked = TempFolder(), folder = TempFolder();
    ASSERT_TRUE(MakeUnwritable(locked)) << MountsUnavailable();
    const std::string denied = geteuid() == 0 ? "Read-only file system." : "Permission denied.";
    const struct {
        std::string folder;
        SaveStep fault;
        std::string explanation;
    } rows[] = {
        {locked, SaveStep::none, "The folder \u201c" + locked + "\u201d cannot be written: " + denied},
        {folder, SaveStep::create, "Input/output error."},
        {folder, SaveStep::rename, "Input/output error."}};
    for (const auto &row : rows) {
        SCOPED_TRACE(int(row.fault));
        SetSaveFaultForTesting(row.fault);
        PrintTo(row.folder + "/failed.pdf");
        SetSaveFaultForTesting(SaveStep::none);
        const std::vector<ShownAlert> alerts = TakeShownAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0].icon, QMessageBox::Information);
        EXPECT_EQ(alerts[0].message, "The table could not be printed to \u201cfailed.pdf\u201d.");
        EXPECT_NE(alerts[0].explanation.find(row.explanation), std::string::npos) << alerts[0].explanation;
        EXPECT_TRUE(ListFolder(row.folder).empty());
    }
    EXPECT_TRUE(OpenPrintDialogs().empty());
    for (const ExistingFile &file : MakeExistingFiles(folder, "pdf")) {
        PrintTo(folder + "/" + file.stem + ".pdf");
        EXPECT_EQ(ReplacedAsASaveDoes(folder, "pdf", file), "");
        EXPECT_NE(PdfText(file.holder).find(" 3.000"), std::string::npos) << file.stem;
    }
    EXPECT_EQ(ListFolder(folder), (Strings{"kept", "link.pdf", "private.pdf"}));
    EXPECT_TRUE(AlertMessages().empty());
}

// Closing a page setup or print dialog by its close box cancels it, and
// the document stays; closing a document with a dialog up cancels the
// dialog first. With the last window gone the application quits.
TEST(Print, ClosingTheWindowCancelsItsSheet)
{
    const struct {
        const char *command;
        bool closeDocument; // false: the sheet's own close box
        int documentsLeft;
    } rows[] = {{"PageSetup", false, 2}, {"Print", false, 2}, {"PageSetup", true, 1}, {"Print", true, 0}};
    StartApplication();
    Trigger("New");
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.command) + (row.closeDocument ? ", document closed" : ", sheet closed"));
        QWidget *document = platform::frontWindow();
        Trigger(row.command);
        ASSERT_EQ(OpenPrintDialogs().size(), 1u);
        if (row.closeDocument) {
            BCloseDocument(document);
        } else {
            ClickCloseBox(platform::frontWindow());
            ProcessPendingEvents();
        }
        EXPECT_TRUE(OpenPrintDialogs().empty());
        EXPECT_EQ(BGetNumberOfDocuments(), row.documentsLeft);
    }
    EXPECT_TRUE(EndsProcess(ProcessPendingEvents));
}

} // namespace
