// `quorlscope table` and `quorlscope export`: the output of a good run, and
// every error path with its message, its exit status and nothing written.
#include "cli/subcommands.h"
#include "formats/exportformats.h"
#include "formats/fileimage.h"
#include "model/data.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"
#include "tests/support/replaced_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace qrltest;

namespace
{

using Result = Ran;

Result RunCommand(const std::vector<std::string> &args)
{
    Result result;
    result.status = QRLRunSubcommand(args, &result.out, &result.err);
    return result;
}

class Folder : public ::testing::Test
{
  protected:
    ScratchFolder folder;
    std::string Path(const std::string &name) const { return folder / name; }
    // A document file as the application saves it.
    std::string SaveDocument(const std::string &name, std::int32_t unit, double distance, double focal,
                             double circle, tCameraType camera, bool computed = true)
    {
        tDataPtr data = QRLNewDataPtr();
        if (computed)
            QRLCalculateTable(data, unit, distance, focal, circle, camera);
        std::uint8_t image[kDocumentFileSize];
        BEncodeData(data, image);
        QRLDeleteDataPtr(data);
        EXPECT_TRUE(WriteBytes(Path(name), Bytes(image, image + kDocumentFileSize)));
        return Path(name);
    }
    Strings Files() const { return ListFolder(folder.path()); }
};

const char kRangeMessage[] = "Please Check Your Arguments!\n"
                             "The focal length should be in the range of 4..1000 mm,\n"
                             "the distance from two times of focal length to 1000 m,\n"
                             "and the circle of confusion in the range of 1..1000 \xC2\xB5m.\n";

// The rows of one table against the formula: title, aperture, near and far
// limits as whole fields.
void ExpectCSVTable(const std::vector<std::vector<std::string>> &rows, std::size_t first,
                    const std::string &title, const std::vector<expected::Row> &optics)
{
    ASSERT_GE(rows.size(), first + optics.size());
    for (std::size_t i = 0; i < optics.size(); ++i) {
        const std::vector<std::string> &row = rows[first + i];
        ASSERT_EQ(15u, row.size()) << title << " " << i;
        char aperture[16];
        std::snprintf(aperture, sizeof aperture, "%g", expected::kApertures[i]);
        EXPECT_EQ(title, row[0]);
        EXPECT_EQ(aperture, row[5]);
        EXPECT_EQ(Trimmed(expected::NearText(optics[i])), row[6]) << title << " " << aperture;
        EXPECT_EQ(Trimmed(expected::FarText(optics[i])), row[7]) << title << " " << aperture;
    }
}

// A JSON table's near and far limits against the formula.
void ExpectJSONTable(const QJsonObject &table, const std::vector<expected::Row> &optics)
{
    const QJsonArray rows = table["rows"].toArray();
    ASSERT_EQ(optics.size(), std::size_t(rows.size()));
    for (std::size_t i = 0; i < optics.size(); ++i) {
        const QJsonObject row = rows[qsizetype(i)].toObject();
        EXPECT_EQ(expected::kApertures[i], row["aperture"].toDouble());
        EXPECT_NEAR(optics[i].nearDistance, row["near"].toDouble(), 1e-9) << i;
        if (optics[i].noFarLimit)
            EXPECT_EQ("inf", row["far"].toString().toStdString()) << i;
        else
            EXPECT_NEAR(optics[i].farDistance, row["far"].toDouble(), 1e-9) << i;
    }
}

QJsonArray JSONTables(const std::string &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(QJsonParseError::NoError, error.error) << text;
    return document["tables"].toArray();
}

} // namespace

TEST(TableCommand, PrintsTheTableInEachFormat)
{
    const Result text = RunCommand({"table", "--distance", "3", "--focal", "50", "--camera", "fullframe",
                                    "--circle", "30", "--unit", "m"});
    EXPECT_EQ(0, text.status) << text.err;
    EXPECT_EQ("", text.err);
    EXPECT_EQ(0u, text.out.rfind(
                      "table: focal length 50 mm, distance 3 m, circle of confusion 30 \xC2\xB5m, camera "
                      "full-frame digital\n",
                      0))
        << text.out;
    EXPECT_NE(std::string::npos, text.out.find("  1.4          2.858          3.156         59.574"))
        << text.out;
    EXPECT_NE(std::string::npos, text.out.find("   32          1.407            inf")) << text.out;
    EXPECT_EQ(12, std::count(text.out.begin(), text.out.end(), '\n'));
    // Each heading stands apart from the next, in metres and in feet.
    for (const char *unit : {"m", "ft"}) {
        const Result table =
            RunCommand({"table", "--distance", "3", "--focal", "50", "--camera", "film", "--unit", unit});
        const std::string headings = table.out.substr(table.out.find('\n') + 1);
        const std::string u = std::string(" (") + unit + ")";
        for (const std::string &heading :
             std::vector<std::string>{"f/", "near" + u, "far" + u, "hyperfocal" + u, "depth" + u,
                                      "in front" + u, "behind" + u, "Airy (\xC2\xB5m)"})
            EXPECT_NE(std::string::npos, headings.find(" " + heading + (heading[0] == 'A' ? "\n" : " ")))
                << heading << "\n"
                << headings;
    }

    const std::vector<expected::Row> optics = expected::Rows(15.0, true, 50.0, 0.000033);
    const Result csv =
        RunCommand({"table", "--distance=15", "--focal=50", "--camera=film", "--unit=ft", "--format=csv"});
    EXPECT_EQ(0, csv.status) << csv.err;
    const std::vector<std::vector<std::string>> rows = ReadCSV(csv.out);
    ASSERT_EQ(11u, rows.size()) << csv.out;
    EXPECT_EQ("near limit (ft)", rows[0][6]);
    ExpectCSVTable(rows, 1, "table", optics);
    const Result json = RunCommand({"table", "--distance", "15", "--focal", "50", "--camera", "35mm",
                                    "--circle", "5", "--unit", "ft", "--format", "json"});
    EXPECT_EQ(0, json.status) << json.err;
    const QJsonArray tables = JSONTables(json.out);
    ASSERT_EQ(1, tables.size());
    // The film's 33 µm, whatever --circle says.
    EXPECT_EQ(33.0, tables[0]["arguments"]["circleOfConfusionMicrometres"].toDouble());
    ExpectJSONTable(tables[0].toObject(), optics);
}

TEST_F(Folder, ExportsDocumentsToCSVAndJSON)
{
    const std::string a =
        SaveDocument("portrait.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, fullFrameDigital);
    const std::string b = SaveDocument("Wide.QRTB", kDistanceUnitMeters, 10.0, 24.0, 0.00002, APSC);
    const std::string c = SaveDocument("new.qrtb", kDistanceUnitMeters, 0, 0, 0, APSC, false);
    const Result csv = RunCommand({"export", a, b, c, "--to", Path("kit.csv")});
    EXPECT_EQ(0, csv.status) << csv.err;
    EXPECT_EQ("", csv.out + csv.err);
    const std::vector<expected::Row> portrait = expected::Rows(3.0, false, 50.0, 0.00003),
                                     wide = expected::Rows(10.0, false, 24.0, 0.00002);
    const std::vector<std::vector<std::string>> rows = ReadCSV(ReadText(Path("kit.csv")));
    ASSERT_EQ(21u, rows.size()); // the headings, then the computed tables' rows
    EXPECT_EQ("near limit (m)", rows[0][6]);
    ExpectCSVTable(rows, 1, "portrait", portrait);
    ExpectCSVTable(rows, 11, "Wide", wide);
    EXPECT_EQ(0, RunCommand({"export", a, b, c, "--to=" + Path("kit.JSON")}).status);
    const QJsonArray tables = JSONTables(ReadText(Path("kit.JSON")));
    ASSERT_EQ(3, tables.size());
    for (const int i : {0, 1, 2})
        EXPECT_EQ(tables[i]["title"].toString().toStdString(), (Strings{"portrait", "Wide", "new"}[i]));
    ExpectJSONTable(tables[0].toObject(), portrait);
    ExpectJSONTable(tables[1].toObject(), wide);
    EXPECT_FALSE(tables[2]["computed"].toBool());
    // An existing file is replaced whole; "--" ends the options.
    WriteText(Path("old.csv"), std::string(5000, 'x'));
    EXPECT_EQ(0, RunCommand({"export", "--to", Path("old.csv"), "--", a}).status);
    const std::vector<std::vector<std::string>> replaced = ReadCSV(ReadText(Path("old.csv")));
    ASSERT_EQ(11u, replaced.size());
    ExpectCSVTable(replaced, 1, "portrait", portrait);
}

// Every argument error and every export failure: its status, its message
// (the start of stderr), nothing on stdout and nothing written (no new file,
// an existing target untouched, no temporary left behind); -h or --help
// anywhere before "--" prints the usage. Ranges and messages are the table
// window's.
TEST_F(Folder, ArgumentsAndFailures)
{
    const std::string good = SaveDocument("good.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const std::string feet = SaveDocument("feet.qrtb", kDistanceUnitFeet, 10.0, 50.0, 0.00003, APSC);
    std::filesystem::create_directory(Path("folder.qrtb"));
    std::filesystem::create_directory(Path("locked"));
    ::chmod(Path("locked").c_str(), 0555);
    WriteText(Path("keep.csv"), "precious");
    ASSERT_EQ(0, ::mkfifo(Path("fifo.qrtb").c_str(), 0600));
    const std::string longName = Path(std::string(300, 'n') + ".csv"),
                      usage = "usage: quorlscope table --distance D";
    const Strings before = Files();
    const auto table = [](const Strings &more) {
        Strings arguments = {"table", "--focal", "50", "--camera", "apsc", "--circle", "30"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const std::string cannotRead = "quorlscope: cannot read ";
    struct Case {
        Strings arguments;
        int status;
        std::string out, err;
    };
    // clang-format off
    const Case cases[] = {
        {{"table", "--help"}, 0, usage, ""},
        {{"table", "-h"}, 0, usage, ""},
        {{"table", "--distance", "3", "--help", "--colour", "red"}, 0, usage, ""},
        {{"export", "--help"}, 0, usage, ""},
        {{"export", "a.qrtb", "-h", "--to", "out.csv"}, 0, usage, ""},
        {table({"--distance", "0.05"}), 2, "", kRangeMessage},
        {table({"--distance", "1000.5"}), 2, "", kRangeMessage},
        {table({"--distance", "1000.5", "--unit", "ft"}), 2, "", kRangeMessage},
        {table({"--distance", "0.3", "--unit", "ft"}), 2, "", kRangeMessage}, // 0.328 ft is twice 50 mm
        {table({"--distance", "5", "--focal", "3"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--focal", "1001"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "0"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "-30"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "0.99"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "1000.01"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "5000"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "1e300"}), 2, "", kRangeMessage},
        {table({"--distance", "5", "--circle", "inf"}), 2, "", "quorlscope: --circle inf: not a number\n"},
        {table({}), 2, "", "quorlscope: --distance is needed\n"},
        {table({"--distance", "3,5"}), 2, "", "quorlscope: --distance 3,5: not a number\n"},
        {table({"--distance", "5m"}), 2, "", "quorlscope: --distance 5m: not a number\n"},
        {table({"--distance", "nan"}), 2, "", "quorlscope: --distance nan: not a number\n"},
        {table({"--distance", "5", "--camera", "phone"}), 2, "", "quorlscope: unknown camera phone\n"},
        {table({"--distance", "5", "--unit", "yd"}), 2, "", "quorlscope: --unit is m or ft\n"},
        {table({"--distance", "5", "--format", "xml"}), 2, "", "quorlscope: --format is text, csv or json\n"},
        {table({"--distance", "5", "--colour", "red"}), 2, "", "quorlscope: unknown option --colour\n"},
        {table({"--distance", "5", "extra"}), 2, "", "quorlscope: unexpected argument extra\n"},
        {table({"--distance"}), 2, "", "quorlscope: --distance needs a value\n"},
        {{"table", "--distance", "5", "--focal", "50", "--camera", "fullframe"}, 2, "",
         "quorlscope: --circle is needed for apsc and fullframe\n"},
        {{"export", good, Path("missing.qrtb"), "--to", Path("out.csv")}, 1, "",
         cannotRead + Path("missing.qrtb") + ": No such file or directory\n"},
        {{"export", good, Path("missing.qrtb"), "--to", Path("keep.csv")}, 1, "",
         cannotRead + Path("missing.qrtb") + ": No such file or directory\n"},
        {{"export", Path("folder.qrtb"), "--to", Path("out.json")}, 1, "", cannotRead + Path("folder.qrtb") + ": it is a folder\n"},
        {{"export", good, Path("fifo.qrtb"), "--to", Path("out.json")}, 1, "", cannotRead + Path("fifo.qrtb") + ": not a file\n"},
        {{"export", good, "--to", longName}, 1, "", "quorlscope: cannot write " + longName + ": File name too long\n"},
        {{"export", good, feet, "--to", Path("keep.csv")}, 1, "",
         "quorlscope: " + Path("keep.csv") + ": tables in metres and in feet cannot share one CSV file's headings; "
         "export them to separate files or to JSON\n"},
        {{"export", good, "--to", Path("nowhere/out.csv")}, 1, "",
         "quorlscope: cannot write " + Path("nowhere/out.csv") + ": no such folder\n"},
        {{"export", good, "--to", Path("folder.qrtb")}, 2, "", "quorlscope: " + Path("folder.qrtb") + ": the name must end"},
        {{"export", good, "--to", Path("out.txt")}, 2, "", "quorlscope: " + Path("out.txt") + ": the name must end"},
        {{"export", good}, 2, "", "quorlscope: --to OUT is needed\n"},
        {{"export", "--to", Path("out.csv")}, 2, "", "quorlscope: no document to export\n"},
        {{"export", good, "--to"}, 2, "", "quorlscope: --to needs a value\n"},
        {{"export", good, "--into", Path("out.csv")}, 2, "", "quorlscope: unknown option --into\n"}};
    // clang-format on
    for (const Case &c : cases) {
        const Result result = RunCommand(c.arguments);
        EXPECT_EQ(c.status, result.status) << c.err;
        EXPECT_EQ(0u, result.err.rfind(c.err, 0)) << result.err;
        EXPECT_EQ(c.err.empty(), result.err.empty()) << result.err;
        EXPECT_EQ(0u, result.out.rfind(c.out, 0)) << result.out;
        EXPECT_EQ(c.out.empty(), result.out.empty()) << result.out;
        EXPECT_EQ(before, Files()) << c.err;
        EXPECT_EQ("precious", ReadText(Path("keep.csv")));
    }
    EXPECT_EQ(0, RunCommand({"table", "--distance", "1000", "--focal", "4", "--camera", "medium"}).status);
    for (const char *circle : {"1", "1000"})
        EXPECT_EQ(0, RunCommand(table({"--distance", "5", "--circle", circle})).status) << circle;
    EXPECT_NE(std::string::npos,
              RunCommand({"table", "-h"}).out.find("\n       quorlscope export FILE.qrtb... --to "));
    // A folder without write bits, as a user other than root (who writes anyway).
    ::chmod(folder.path().c_str(), 0755);
    ::chmod(good.c_str(), 0644);
    const Ran locked =
        RunProcess(Unprivileged({QRL_PROGRAM, "export", good, "--to", Path("locked/out.csv")}));
    EXPECT_EQ(1, locked.status) << locked.err;
    EXPECT_EQ(0u, locked.err.rfind("quorlscope: cannot write " + Path("locked/out.csv") + ": ", 0))
        << locked.err;
    EXPECT_TRUE(std::filesystem::is_empty(Path("locked")));
}

namespace
{

// The real program with no display and no locale, as from cron or a bare
// container: its standard error holds its own messages only. environment
// adds to that; shell, when given, runs the program as "$0" "$@" with
// redirections of its own.
Ran RunProgram(const Strings &arguments, const Strings &environment = {}, const std::string &shell = "")
{
    Strings command = {QRL_PROGRAM};
    if (!shell.empty())
        command = {"/bin/sh", "-c", shell, QRL_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    Strings settings = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL", "LC_CTYPE"};
    settings.insert(settings.end(), environment.begin(), environment.end());
    return RunProcess(command, settings);
}

} // namespace

// Runs the program in the folder, as "$0" "$@" from a shell.
std::string In(const std::string &folder)
{
    return "cd " + ShellQuote(folder) + " && exec \"$0\" \"$@\"";
}

// The real program, with no display at all: the subcommands never need one.
TEST_F(Folder, RunsWithoutADisplay)
{
    const Strings table = {"table",    "--distance", "5",      "--focal", "50",       "--camera", "fullframe",
                           "--circle", "30",         "--unit", "m",       "--format", "csv"};
    const Ran csv = RunProgram(table);
    EXPECT_EQ(0, csv.status) << csv.err;
    EXPECT_EQ("", csv.err);
    EXPECT_NE(std::string::npos, csv.out.find("table,full-frame digital,50,5,30,1.4,4.616,5.454,"))
        << csv.out;
    // Output that cannot be written is a failure, said on standard error.
    const std::pair<std::string, std::string> lost[] = {
        {"exec \"$0\" \"$@\" >/dev/full", "quorlscope: write error: No space left on device\n"},
        {"exec \"$0\" \"$@\" >&-", "quorlscope: write error: Bad file descriptor\n"}};
    for (const auto &[shell, message] : lost) {
        const Ran result = RunProgram(table, {}, shell);
        EXPECT_EQ(1, result.status) << shell;
        EXPECT_EQ(message, result.err);
    }
    const Ran range = RunProgram({"table", "--distance", "5", "--focal", "3", "--camera", "medium"});
    EXPECT_EQ(2, range.status);
    EXPECT_EQ(kRangeMessage, range.err);
    const std::string good = SaveDocument("good.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const Ran missing = RunProgram({"export", good, Path("gone.qrtb"), "--to", Path("out.json")});
    EXPECT_EQ(1, missing.status);
    EXPECT_FALSE(std::filesystem::exists(Path("out.json")));
    const Ran exported = RunProgram({"export", good, "--to", Path("out.json")});
    EXPECT_EQ(0, exported.status) << exported.err;
    EXPECT_NE(std::string::npos, ReadText(Path("out.json")).find("\"title\": \"good\""));
    // A PDF is drawn offscreen whatever platform the user has chosen.
    const Ran pdf =
        RunProgram({"export", good, "--to", "card.pdf"}, {"QT_QPA_PLATFORM=xcb"}, In(folder.path()));
    EXPECT_EQ(0, pdf.status) << pdf.err;
    EXPECT_EQ("1", PdfInfo(Path("card.pdf"), "Pages"));
    // A file name is the user's bytes, whatever their encoding: the document
    // opens, and its title is valid UTF-8 in the JSON.
    SaveDocument("\xFF\xFE.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const Ran named = RunProgram({"export", "\xFF\xFE.qrtb", "--to", "odd.json"}, {}, In(folder.path()));
    EXPECT_EQ(0, named.status) << named.err;
    EXPECT_NE(std::string::npos, ReadText(Path("odd.json")).find("\"title\": \"\xEF\xBF\xBD\xEF\xBF\xBD\""));
}

// A lens kit: three documents into one PDF, one page per document, each with
// its title, the apertures and its near and far limits as the sheet shows
// them; a failure writes no PDF at all. The documents' names look like Qt's
// options: they are files all the same, and never reach Qt.
TEST_F(Folder, ExportsAKitToOnePDFWithAPagePerDocument)
{
    struct Lens {
        std::string name;
        double distance, focal;
    };
    const Lens lenses[] = {{"-reverse", 5.0, 24.0}, {"-platform", 3.0, 50.0}, {"tele", 10.0, 135.0}};
    Strings arguments = {"export"};
    for (const Lens &lens : lenses) {
        arguments.push_back(lens.name[0] == '-' ? lens.name : lens.name + ".qrtb");
        SaveDocument(arguments.back(), kDistanceUnitMeters, lens.distance, lens.focal, 0.00003,
                     fullFrameDigital);
    }
    const auto exportTo = [&](const Strings &more) {
        Strings all = arguments;
        all.insert(all.end(), more.begin(), more.end());
        return RunProgram(all, {}, In(folder.path()));
    };
    const Ran missing = exportTo({"gone.qrtb", "--to", "kit.pdf"});
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(0u, missing.err.rfind("quorlscope: cannot read gone.qrtb", 0)) << missing.err;
    EXPECT_EQ(1, exportTo({"--to", "nowhere/kit.pdf"}).status);
    EXPECT_EQ(Files(), (Strings{"-platform", "-reverse", "tele.qrtb"}));
    const Ran kit = exportTo({"--to", "kit.pdf"});
    ASSERT_EQ(0, kit.status) << kit.err;
    EXPECT_EQ("", kit.out + kit.err);
    EXPECT_EQ("3", PdfInfo(Path("kit.pdf"), "Pages"));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const Lens &lens = lenses[page - 1];
        const std::string number = std::to_string(page);
        const Strings words =
            Words(RunProcess({"pdftotext", "-layout", "-f", number, "-l", number, Path("kit.pdf"), "-"}).out);
        const auto shows = [&](const std::string &word) {
            return std::find(words.begin(), words.end(), word) != words.end();
        };
        EXPECT_TRUE(shows(lens.name)) << lens.name;
        for (const char *aperture : {"1.4", "2.8", "5.6", "11", "16", "22", "32"})
            EXPECT_TRUE(shows(aperture)) << aperture;
        for (const expected::Row &row : expected::Rows(lens.distance, false, lens.focal, 0.00003)) {
            EXPECT_TRUE(shows(Trimmed(expected::NearText(row)))) << expected::NearText(row);
            EXPECT_TRUE(shows(Trimmed(expected::FarText(row)))) << expected::FarText(row);
        }
        // The other lenses' titles are on their own pages.
        for (const Lens &other : lenses)
            EXPECT_TRUE(&other == &lens || !shows(other.name)) << other.name;
    }
}

// An existing file is replaced as a saved document is: through a symbolic
// link, keeping its permissions (and, as root, its owner).
TEST_F(Folder, ExportReplacesAFileAsASaveDoes)
{
    const std::string document = SaveDocument("a.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const std::string here = folder.path();
    for (const ExistingFile &file : MakeExistingFiles(here, "json")) {
        const Result result = RunCommand({"export", document, "--to", Path(file.stem + ".json")});
        EXPECT_EQ(0, result.status) << result.err;
        EXPECT_EQ("", ReplacedAsASaveDoes(here, "json", file));
    }
}
