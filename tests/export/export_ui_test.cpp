// File ▸ Export… and Edit ▸ Copy as a user works them: the command from the
// menu, the Export sheet answered by the test driver, then the file read
// back (CSV by a reader of this test's own, JSON against the schema by
// python3-jsonschema, PDF by poppler's pdftotext), and the clipboard read
// back in both of its flavors.
#include "app/main.h"
#include "app/mainmenu.h"
#include "app/windowmodule.h"
#include "document/document.h"
#include "files/export.h"
#include "platform/application.h"
#include "platform/files.h"
#include "platform/forms.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/mounts.h"
#include "tests/support/optics.h"
#include "tests/support/replaced_files.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qrltest;
using namespace expected;

namespace
{

const char kExportAlert[] = "Could not export the table";

void ComputeFilm3Metres()
{
    ComputeTable({"3", "50", 3, std::nullopt});
}

// The one Export sheet that is up.
ShownDialog ExportSheet()
{
    const ShownDialog sheet = OnlyDialog();
    EXPECT_TRUE(sheet.saves) << "no single Save sheet";
    return sheet;
}

// Export… from the menu, the format chosen and the file named in folder;
// the path the sheet settled on.
std::string ExportAs(std::uint32_t format, const std::string &folder, const std::string &name)
{
    EXPECT_TRUE(Trigger("Export"));
    const ShownDialog sheet = ExportSheet();
    if (!sheet.dialog)
        return "";
    EXPECT_TRUE(ChooseFormat(sheet, int(format)));
    EXPECT_TRUE(ChooseSaveLocation(sheet, folder, name));
    const char *const extensions[] = {".csv", ".json", ".pdf"};
    return folder + "/" + name + extensions[format];
}

std::size_t Column(const Strings &heading, const std::string &name)
{
    const auto at = std::find(heading.begin(), heading.end(), name);
    EXPECT_NE(at, heading.end()) << name;
    return std::size_t(at - heading.begin());
}

// What the window's sheet shows in the near and far columns.
Strings SheetColumn(QWidget *window, short x)
{
    Strings texts;
    for (int i = 0; i < 10; ++i)
        texts.push_back(Trimmed(TextAt(window, x, short(150 + 30 * i)).value_or("?")));
    return texts;
}

std::string Clipboard(const char *flavor)
{
    const QString type = QString::fromLatin1(flavor);
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(type))
        return "<none>";
    return mime->data(type).toStdString();
}

} // namespace

// Export… follows Print: the item after it (its key is checked with the
// others in the menu tests), enabled exactly
// when Print is, for every kind of front window.
TEST(ExportMenu, ItemAfterPrintEnabledLikePrint)
{
    StartApplication();
    ASSERT_NE(Menu("fileMenu"), nullptr);
    const QList<QAction *> file = Menu("fileMenu")->actions();
    ASSERT_EQ(file.size(), 11);
    EXPECT_EQ(file[9], MenuItem("Print"));
    EXPECT_EQ(file[10], MenuItem("Export"));
    EXPECT_EQ(file[10]->text().toStdString(), "Export…");
    const auto same = [&](const char *when) {
        EXPECT_EQ(IsCommandEnabled("Export"), IsCommandEnabled("Print")) << when;
        return IsCommandEnabled("Export");
    };
    EXPECT_TRUE(same("fresh document"));
    Trigger("Preferences");
    EXPECT_FALSE(same("preferences window"));
    platform::selectWindow(DocumentAt(0));
    Trigger("Export");
    EXPECT_FALSE(same("the Export sheet"));
    EXPECT_TRUE(Press(ExportSheet(), "Cancel"));
    EXPECT_TRUE(NoDialogShown());
    DocumentAt(0)->hide();
    BGetPrefWindowRef()->hide();
    ASSERT_EQ(platform::frontWindow(), nullptr);
    EXPECT_FALSE(same("no window"));
    EXPECT_FALSE(Trigger("Export"));
}

// The sheet hangs on the document window and proposes "<title>.csv"; each
// format of its pop-up swaps the extension.
TEST(ExportMenu, SheetProposesTheTitleAndFormatsSwapTheExtension)
{
    StartApplication();
    ComputeFilm3Metres();
    QWidget *window = DocumentAt(0);
    ASSERT_TRUE(Trigger("Export"));
    const ShownDialog sheet = ExportSheet();
    EXPECT_EQ(sheet.parent, (window));
    EXPECT_EQ(sheet.modality, Qt::WindowModal);
    EXPECT_EQ(sheet.name, "Untitled.csv");
    const Strings formats = {"CSV (*.csv)", "JSON (*.json)", "PDF (*.pdf)"};
    EXPECT_EQ(sheet.formats, formats);
    EXPECT_EQ(sheet.format, formats[0]);
    const Strings expected = {"Untitled.json", "Untitled.pdf", "Untitled.csv"};
    for (int format : {1, 2, 0}) {
        ASSERT_TRUE(ChooseFormat(sheet, format));
        EXPECT_EQ(ExportSheet().name, expected[std::size_t(format + 2) % 3]);
        EXPECT_EQ(ExportSheet().format, formats[std::size_t(format)]);
    }
    EXPECT_FALSE(ChooseFormat(sheet, 3));
    // A second Export… while the sheet is up opens no second one.
    Trigger("Export");
    EXPECT_EQ(ShownDialogs().size(), 1u);
    EXPECT_TRUE(Press(sheet, "Cancel"));
    EXPECT_TRUE(NoDialogShown());
    EXPECT_TRUE(AlertMessages().empty());
}

// The CSV parses back into the sheet's own numbers, row by row.
TEST(Export, CSVParsesBackIntoTheSheetsNumbers)
{
    StartApplication();
    ComputeFilm3Metres();
    QWidget *window = DocumentAt(0);
    const std::string folder = FreshFolder();
    const std::string path = ExportAs(kExportCSV, folder, "film");
    EXPECT_EQ(ListFolder(folder), Strings{"film.csv"});
    const std::vector<Strings> rows = ReadCSV(ReadText(path));
    ASSERT_EQ(rows.size(), 11u);
    const Strings &heading = rows[0];
    const std::size_t nearColumn = Column(heading, "near limit (m)"),
                      farColumn = Column(heading, "far limit (m)"),
                      apertureColumn = Column(heading, "aperture (f-number)");
    const Strings nears = SheetColumn(window, 140), fars = SheetColumn(window, 280);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        const Strings &row = rows[std::size_t(i + 1)];
        ASSERT_EQ(row.size(), heading.size());
        EXPECT_EQ(row[0], "Untitled");
        EXPECT_DOUBLE_EQ(std::stod(row[apertureColumn]), kApertures[i]);
        EXPECT_EQ(row[nearColumn], nears[std::size_t(i)]);
        EXPECT_EQ(row[farColumn], fars[std::size_t(i)]);
    }
    // And the sheet's numbers are the optics' (worked out independently).
    const std::vector<Row> optics = Rows(3, false, 50, 0.000033);
    EXPECT_EQ(nears[0], Trimmed(NearText(optics[0])));
    EXPECT_EQ(fars[9], Trimmed(FarText(optics[9])));
    EXPECT_TRUE(AlertMessages().empty());
}

// JSON validates against the published schema and carries the rows; an
// empty document has neither arguments nor rows, not zeros.
TEST(Export, JSONValidatesAndAnEmptyDocumentHasNoRows)
{
    StartApplication();
    ComputeFilm3Metres();
    const std::string folder = FreshFolder();
    const std::string computed = ExportAs(kExportJSON, folder, "computed");
    Trigger("New");
    const std::string empty = ExportAs(kExportJSON, folder, "empty");
    EXPECT_EQ(ListFolder(folder), (Strings{"computed.json", "empty.json"}));
    EXPECT_EQ(SchemaErrors({ReadText(computed), ReadText(empty)}), Strings(2, ""));
    const QJsonObject table =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadText(computed)))["tables"][0].toObject();
    EXPECT_EQ(table["title"].toString(), "Untitled");
    EXPECT_TRUE(table["computed"].toBool());
    const std::vector<Row> optics = Rows(3, false, 50, 0.000033);
    const QJsonArray rows = table["rows"].toArray();
    ASSERT_EQ(rows.size(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(rows[i]["near"].toDouble(), optics[std::size_t(i)].nearDistance, 1e-9) << i;
    const QJsonObject none =
        QJsonDocument::fromJson(QByteArray::fromStdString(ReadText(empty)))["tables"][0].toObject();
    EXPECT_EQ(none["title"].toString(), "Untitled 2");
    EXPECT_FALSE(none["computed"].toBool());
    EXPECT_FALSE(none.contains("rows"));
    EXPECT_FALSE(none.contains("arguments"));
}

// The PDF holds the printed sheet (arguments, apertures, near and far
// limits) and the figures block with the title, on one page.
TEST(Export, PDFHoldsTheSheetAndTheFigures)
{
    StartApplication();
    ComputeFilm3Metres();
    QWidget *window = DocumentAt(0);
    const std::string pdf = ExportAs(kExportPDF, FreshFolder(), "card");
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Untitled");
    const std::string text = PdfText(pdf);
    const Strings words = expected::Words(text);
    const auto shows = [&](const std::string &word) {
        return std::find(words.begin(), words.end(), word) != words.end();
    };
    for (const char *aperture : {"1.4", "2.8", "5.6", "11", "22", "32"})
        EXPECT_TRUE(shows(aperture)) << aperture;
    for (const Strings &column : {SheetColumn(window, 140), SheetColumn(window, 280)})
        for (const std::string &value : column)
            EXPECT_TRUE(shows(value)) << value;
    EXPECT_NE(text.find("Untitled"), std::string::npos);
    EXPECT_NE(text.find("Hyperfocal"), std::string::npos) << text;
    EXPECT_NE(text.find("distances in metres"), std::string::npos) << text;
    EXPECT_TRUE(AlertMessages().empty());
}

// A file that exists is replaced whole once the user has confirmed it, as
// a saved document is: through a symbolic link, keeping its permissions.
TEST(Export, ReplacesAnExistingFileWhole)
{
    StartApplication();
    ComputeFilm3Metres();
    const std::string folder = FreshFolder();
    WriteText(folder + "/old.csv", std::string(100000, 'x'));
    const std::string path = ExportAs(kExportCSV, folder, "old");
    EXPECT_EQ(ReadCSV(ReadText(path)).size(), 11u);
    for (const ExistingFile &file : MakeExistingFiles(folder, "csv")) {
        ExportAs(kExportCSV, folder, file.stem);
        EXPECT_EQ(ReplacedAsASaveDoes(folder, "csv", file), "");
        EXPECT_EQ(ReadCSV(ReadText(file.holder)).size(), 11u) << file.stem;
    }
    EXPECT_EQ(ListFolder(folder), (Strings{"kept", "link.csv", "old.csv", "private.csv"}));
    EXPECT_TRUE(AlertMessages().empty());
}

// A write that fails gives the alert, naming the file and the system's
// reason, and leaves no file behind, partial or temporary.
TEST(Export, FailuresAlertAndLeaveNoFile)
{
    StartApplication();
    ComputeFilm3Metres();
    const std::string folder = FreshFolder();
    std::vector<ShownAlert> shown;
    std::filesystem::remove(folder);
    ExportAs(kExportPDF, folder, "gone");
    shown = TakeShownAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, kExportAlert);
    EXPECT_EQ(shown[0].explanation,
              "The file \u201cgone.pdf\u201d could not be written: No such file or directory.");
    EXPECT_FALSE(std::filesystem::exists(folder));

    // A step that fails after the temporary file is written (the failure of
    // every step is the save tests' business): the old file stays as it was.
    std::filesystem::create_directory(folder);
    WriteText(folder + "/keep.json", "precious");
    SetSaveFaultForTesting(SaveStep::rename);
    ExportAs(kExportJSON, folder, "keep");
    SetSaveFaultForTesting(SaveStep::none);
    shown = TakeShownAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, kExportAlert);
    EXPECT_EQ(shown[0].explanation.rfind("The file \u201ckeep.json\u201d could not be written: ", 0), 0u)
        << shown[0].explanation;
    EXPECT_EQ(ListFolder(folder), Strings{"keep.json"});
    EXPECT_EQ(ReadText(folder + "/keep.json"), "precious");
}

TEST(Export, IntoAReadOnlyFolderAlertsAndLeavesNoFile)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    StartApplication();
    ComputeFilm3Metres();
    const std::string folder = FreshFolder();
    ASSERT_TRUE(MountReadOnly(folder));
    ExportAs(kExportCSV, folder, "table");
    const std::vector<ShownAlert> shown = TakeShownAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, kExportAlert);
    EXPECT_EQ(shown[0].explanation,
              "The file \u201ctable.csv\u201d could not be written: Read-only file system.");
    EXPECT_TRUE(ListFolder(folder).empty());
}

// Copy puts the computed table on the clipboard as tab-separated text and
// as CSV at once; it is disabled, and leaves the clipboard alone, for an
// empty table and for windows that are not documents.
TEST(Copy, PutsTabTextAndCSVOnTheClipboard)
{
    StartApplication();
    ASSERT_NE(Menu("editMenu"), nullptr);
    ASSERT_EQ(Menu("editMenu")->actions().value(3), MenuItem("Copy"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    EXPECT_FALSE(IsCommandEnabled("Copy"));
    EXPECT_FALSE(Trigger("Copy"));
    EXPECT_EQ(Clipboard("text/plain"), "before");

    ComputeFilm3Metres();
    QWidget *window = DocumentAt(0);
    EXPECT_TRUE(IsCommandEnabled("Copy"));
    EXPECT_TRUE(Trigger("Copy"));
    const std::string tabs = Clipboard("text/plain"), csv = Clipboard("text/csv");
    const std::vector<Strings> rows = ReadCSV(csv);
    ASSERT_EQ(rows.size(), 11u);
    const std::size_t nearColumn = Column(rows[0], "near limit (m)");
    const Strings nears = SheetColumn(window, 140);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(rows[std::size_t(i + 1)][nearColumn], nears[std::size_t(i)]) << i;
    // The same grid, tab-separated, one line per row.
    std::string expectedTabs;
    for (const Strings &row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            expectedTabs += (i ? "\t" : "") + row[i];
        expectedTabs += "\n";
    }
    EXPECT_EQ(tabs, expectedTabs);

    Trigger("Preferences");
    EXPECT_FALSE(IsCommandEnabled("Copy"));
    Trigger("New");
    EXPECT_FALSE(IsCommandEnabled("Copy"));
    platform::selectWindow(window);
    EXPECT_TRUE(IsCommandEnabled("Copy"));
}

namespace
{

int argc = 1;
char programName[] = "quorlscope-test";
char *argv[] = {programName, nullptr};

} // namespace

// Qt's own file dialog, not the test driver's stand-in: a window-modal sheet
// whose file type choice swaps the extension of the name in its field, and
// whose Save writes the chosen format.
TEST(ExportRealDialog, FileTypeChoiceSwapsTheExtension)
{
    const std::string home = FreshFolder();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    platform::initialize(argc, argv, platform::StartOptions{false});
    SetSplashWaitSkipped(true);
    BInitApplication();
    ASSERT_NE(DocumentAt(0), nullptr);
    Trigger("Export");
    QFileDialog *dialog = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *files = qobject_cast<QFileDialog *>(widget); files && files->isVisible())
            dialog = files;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->nameFilters(), (QStringList{"CSV (*.csv)", "JSON (*.json)", "PDF (*.pdf)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), "CSV (*.csv)");
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(field, nullptr);
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(field->text().toStdString(), "Untitled.csv");
    types->setCurrentIndex(2);
    emit types->activated(2); // as the user's choice in the list does
    EXPECT_EQ(field->text().toStdString(), "Untitled.pdf");
    field->setText(QStringLiteral("card.json"));
    types->setCurrentIndex(1);
    emit types->activated(1);
    EXPECT_EQ(field->text().toStdString(), "card.json");
    types->setCurrentIndex(0);
    emit types->activated(0);
    EXPECT_EQ(field->text().toStdString(), "card.csv");
    dialog->setDirectory(QString::fromStdString(home));
    field->setText(QStringLiteral("card"));
    QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection); // the Save button
    EXPECT_TRUE(ShownDialogs().empty());
    // An empty document: the header row only.
    const std::vector<Strings> rows = ReadCSV(ReadText(home + "/card.csv"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "table");
    EXPECT_TRUE(TakeShownAlerts().empty());
}
