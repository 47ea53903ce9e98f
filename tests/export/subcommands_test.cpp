// `quorlscope table` and `quorlscope export`: the output of a good run, and
// every error path with its message, its exit status and nothing written.
#include "cli/subcommands.h"
#include "formats/exportformats.h"
#include "formats/fileimage.h"
#include "model/data.h"
#include "tests/support/optics.h"
#include "tests/support/replaced_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

struct Result {
    int status;
    std::string out, err;
};

Result RunCommand(const std::vector<std::string> &args)
{
    Result result;
    result.status = QRLRunSubcommand(args, &result.out, &result.err);
    return result;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Folder : public ::testing::Test
{
  protected:
    QTemporaryDir folder;
    std::string Path(const std::string &name) const { return folder.path().toStdString() + "/" + name; }
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
        std::ofstream(Path(name), std::ios::binary)
            .write(reinterpret_cast<const char *>(image), kDocumentFileSize);
        return Path(name);
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(folder.path().toStdString()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

const char kRangeMessage[] = "Please Check Your Arguments!\n"
                             "The focal length should be in the range of 4..1000 mm,\n"
                             "the distance from two times of focal length to 1000 m,\n"
                             "and the circle of confusion in the range of 1..1000 \xC2\xB5m.\n";

std::string Trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

// The lines of a CSV text (CR LF) split at commas: the test's titles hold
// no comma or quote.
std::vector<std::vector<std::string>> CSVRows(const std::string &text)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::vector<std::string> fields(1);
        for (char c : text.substr(start, end - start)) {
            if (c == ',')
                fields.emplace_back();
            else
                fields.back().push_back(c);
        }
        rows.push_back(fields);
    }
    return rows;
}

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
    const std::vector<std::vector<std::string>> rows = CSVRows(csv.out);
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

// -h or --help, anywhere before "--": the usage on standard output.
TEST(TableCommand, HelpPrintsTheUsage)
{
    const std::vector<std::string> cases[] = {{"table", "--help"},
                                              {"table", "-h"},
                                              {"table", "--distance", "3", "--help", "--colour", "red"},
                                              {"export", "--help"},
                                              {"export", "a.qrtb", "-h", "--to", "out.csv"}};
    for (const std::vector<std::string> &args : cases) {
        const Result result = RunCommand(args);
        EXPECT_EQ(0, result.status) << args.back();
        EXPECT_EQ("", result.err);
        EXPECT_EQ(0u, result.out.rfind("usage: quorlscope table --distance D", 0)) << result.out;
        EXPECT_NE(std::string::npos, result.out.find("\n       quorlscope export FILE.qrtb... --to "));
    }
}

// The table window's ranges and messages, status 2, nothing printed.
TEST(TableCommand, ArgumentErrors)
{
    const std::vector<std::string> base = {"table", "--focal", "50", "--camera", "apsc", "--circle", "30"};
    struct Case {
        std::vector<std::string> extra;
        std::string message; // the start of stderr
    };
    const Case cases[] = {
        {{"--distance", "0.05"}, kRangeMessage},
        {{"--distance", "1000.5"}, kRangeMessage},
        {{"--distance", "1000.5", "--unit", "ft"}, kRangeMessage},
        {{"--distance", "0.3", "--unit", "ft"}, kRangeMessage}, // 0.328 ft is twice 50 mm
        {{"--distance", "5", "--focal", "3"}, kRangeMessage},
        {{"--distance", "5", "--focal", "1001"}, kRangeMessage},
        {{"--distance", "5", "--circle", "0"}, kRangeMessage},
        {{"--distance", "5", "--circle", "-30"}, kRangeMessage},
        {{"--distance", "5", "--circle", "0.99"}, kRangeMessage},
        {{"--distance", "5", "--circle", "1000.01"}, kRangeMessage},
        {{"--distance", "5", "--circle", "5000"}, kRangeMessage},
        {{"--distance", "5", "--circle", "1e300"}, kRangeMessage},
        {{"--distance", "5", "--circle", "inf"}, "quorlscope: --circle inf: not a number\n"},
        {{}, "quorlscope: --distance is needed\n"},
        {{"--distance", "3,5"}, "quorlscope: --distance 3,5: not a number\n"},
        {{"--distance", "5m"}, "quorlscope: --distance 5m: not a number\n"},
        {{"--distance", "nan"}, "quorlscope: --distance nan: not a number\n"},
        {{"--distance", "5", "--camera", "phone"}, "quorlscope: unknown camera phone\n"},
        {{"--distance", "5", "--unit", "yd"}, "quorlscope: --unit is m or ft\n"},
        {{"--distance", "5", "--format", "xml"}, "quorlscope: --format is text, csv or json\n"},
        {{"--distance", "5", "--colour", "red"}, "quorlscope: unknown option --colour\n"},
        {{"--distance", "5", "extra"}, "quorlscope: unexpected argument extra\n"},
        {{"--distance"}, "quorlscope: --distance needs a value\n"}};
    for (const Case &c : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const Result result = RunCommand(args);
        EXPECT_EQ(2, result.status) << c.message;
        EXPECT_EQ("", result.out) << c.message;
        EXPECT_EQ(0u, result.err.rfind(c.message, 0)) << result.err;
    }
    const Result noCircle =
        RunCommand({"table", "--distance", "5", "--focal", "50", "--camera", "fullframe"});
    EXPECT_EQ(2, noCircle.status);
    EXPECT_EQ(0u, noCircle.err.rfind("quorlscope: --circle is needed for apsc and fullframe\n", 0));
    EXPECT_EQ(0, RunCommand({"table", "--distance", "1000", "--focal", "4", "--camera", "medium"}).status);
    for (const char *circle : {"1", "1000"})
        EXPECT_EQ(0, RunCommand({"table", "--distance", "5", "--focal", "50", "--camera", "apsc", "--circle",
                                 circle})
                         .status)
            << circle;
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
    const std::vector<std::vector<std::string>> rows = CSVRows(ReadFile(Path("kit.csv")));
    ASSERT_EQ(21u, rows.size()); // the headings, then the computed tables' rows
    EXPECT_EQ("near limit (m)", rows[0][6]);
    ExpectCSVTable(rows, 1, "portrait", portrait);
    ExpectCSVTable(rows, 11, "Wide", wide);
    EXPECT_EQ(0, RunCommand({"export", a, b, c, "--to=" + Path("kit.JSON")}).status);
    const QJsonArray tables = JSONTables(ReadFile(Path("kit.JSON")));
    ASSERT_EQ(3, tables.size());
    EXPECT_EQ(QStringList({"portrait", "Wide", "new"}),
              QStringList({tables[0]["title"].toString(), tables[1]["title"].toString(),
                           tables[2]["title"].toString()}));
    ExpectJSONTable(tables[0].toObject(), portrait);
    ExpectJSONTable(tables[1].toObject(), wide);
    EXPECT_FALSE(tables[2]["computed"].toBool());
    // An existing file is replaced whole; "--" ends the options.
    std::ofstream(Path("old.csv")) << std::string(5000, 'x');
    EXPECT_EQ(0, RunCommand({"export", "--to", Path("old.csv"), "--", a}).status);
    const std::vector<std::vector<std::string>> replaced = CSVRows(ReadFile(Path("old.csv")));
    ASSERT_EQ(11u, replaced.size());
    ExpectCSVTable(replaced, 1, "portrait", portrait);
}

// Each failure names its cause, has its status, and writes nothing: no new
// file, an existing target untouched, no temporary left behind.
TEST_F(Folder, ExportErrorsWriteNothing)
{
    const std::string good = SaveDocument("good.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const std::string feet = SaveDocument("feet.qrtb", kDistanceUnitFeet, 10.0, 50.0, 0.00003, APSC);
    std::filesystem::create_directory(Path("folder.qrtb"));
    std::filesystem::create_directory(Path("locked"));
    ::chmod(Path("locked").c_str(), 0555);
    std::ofstream(Path("keep.csv")) << "precious";
    ASSERT_EQ(0, ::mkfifo(Path("fifo.qrtb").c_str(), 0600));
    const std::string longName = Path(std::string(300, 'n') + ".csv");
    const std::vector<std::string> before = Files();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{"export", good, Path("missing.qrtb"), "--to", Path("out.csv")},
         1,
         "quorlscope: cannot read " + Path("missing.qrtb") + ": No such file or directory\n"},
        {{"export", good, Path("missing.qrtb"), "--to", Path("keep.csv")},
         1,
         "quorlscope: cannot read " + Path("missing.qrtb") + ": No such file or directory\n"},
        {{"export", Path("folder.qrtb"), "--to", Path("out.json")},
         1,
         "quorlscope: cannot read " + Path("folder.qrtb") + ": it is a folder\n"},
        {{"export", good, Path("fifo.qrtb"), "--to", Path("out.json")},
         1,
         "quorlscope: cannot read " + Path("fifo.qrtb") + ": not a file\n"},
        {{"export", good, "--to", longName},
         1,
         "quorlscope: cannot write " + longName + ": File name too long\n"},
        {{"export", good, feet, "--to", Path("keep.csv")},
         1,
         "quorlscope: " + Path("keep.csv") +
             ": tables in metres and in feet cannot share one CSV file's headings; "
             "export them to separate files or to JSON\n"},
        {{"export", good, "--to", Path("nowhere/out.csv")},
         1,
         "quorlscope: cannot write " + Path("nowhere/out.csv") + ": no such folder\n"},
        {{"export", good, "--to", Path("folder.qrtb")},
         2,
         "quorlscope: " + Path("folder.qrtb") + ": the name must end"},
        {{"export", good, "--to", Path("out.txt")},
         2,
         "quorlscope: " + Path("out.txt") + ": the name must end"},
        {{"export", good}, 2, "quorlscope: --to OUT is needed\n"},
        {{"export", "--to", Path("out.csv")}, 2, "quorlscope: no document to export\n"},
        {{"export", good, "--to"}, 2, "quorlscope: --to needs a value\n"},
        {{"export", good, "--into", Path("out.csv")}, 2, "quorlscope: unknown option --into\n"}};
    for (const Case &c : cases) {
        const Result result = RunCommand(c.args);
        EXPECT_EQ(c.status, result.status) << c.message;
        EXPECT_EQ(0u, result.err.rfind(c.message, 0)) << result.err;
        EXPECT_EQ("", result.out);
        EXPECT_EQ(before, Files()) << c.message;
        EXPECT_EQ("precious", ReadFile(Path("keep.csv")));
    }
    if (::geteuid() != 0) { // root writes into a folder without write bits
        const Result locked = RunCommand({"export", good, "--to", Path("locked/out.csv")});
        EXPECT_EQ(1, locked.status);
        EXPECT_TRUE(std::filesystem::is_empty(Path("locked")));
    }
    ::chmod(Path("locked").c_str(), 0755);
}

namespace
{

std::string Shell(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

struct Setting {
    // A shell command line that runs the program as "$0" "$@" with
    // redirections of its own; empty to run it directly.
    QString shell;
    // Variables set on top of an environment without a display.
    QStringList variables;
    // The working folder; empty for the test's own.
    QString folder;
};

// The real program with no display and no locale, as from cron or a bare
// container: its standard error holds its own messages only.
Result RunProgram(const QStringList &arguments, const Setting &setting = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL", "LC_CTYPE"})
        environment.remove(name);
    for (const QString &variable : setting.variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(setting.folder);
    if (setting.shell.isEmpty())
        program.start(QRL_PROGRAM, arguments);
    else
        program.start("/bin/sh", QStringList{"-c", setting.shell, QRL_PROGRAM} + arguments);
    EXPECT_TRUE(program.waitForFinished(60000));
    return Result{program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                  program.readAllStandardOutput().toStdString(),
                  program.readAllStandardError().toStdString()};
}

} // namespace

// The real program, with no display at all: the subcommands never need one.
TEST_F(Folder, RunsWithoutADisplay)
{
    const QStringList table = {"table",    "--distance", "5",        "--focal", "50",
                               "--camera", "fullframe",  "--circle", "30",      "--unit",
                               "m",        "--format",   "csv"};
    const Result csv = RunProgram(table);
    EXPECT_EQ(0, csv.status) << csv.err;
    EXPECT_EQ("", csv.err);
    EXPECT_NE(std::string::npos, csv.out.find("table,full-frame digital,50,5,30,1.4,4.616,5.454,"))
        << csv.out;
    // Output that cannot be written is a failure, said on standard error.
    const std::pair<QString, std::string> lost[] = {
        {"exec \"$0\" \"$@\" >/dev/full", "quorlscope: write error: No space left on device\n"},
        {"exec \"$0\" \"$@\" >&-", "quorlscope: write error: Bad file descriptor\n"}};
    for (const auto &[shell, message] : lost) {
        const Result result = RunProgram(table, {shell, {}, {}});
        EXPECT_EQ(1, result.status) << shell.toStdString();
        EXPECT_EQ(message, result.err);
    }
    const Result range = RunProgram({"table", "--distance", "5", "--focal", "3", "--camera", "medium"});
    EXPECT_EQ(2, range.status);
    EXPECT_EQ(kRangeMessage, range.err);
    const std::string good = SaveDocument("good.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const Result missing =
        RunProgram({"export", QString::fromStdString(good), QString::fromStdString(Path("gone.qrtb")), "--to",
                    QString::fromStdString(Path("out.json"))});
    EXPECT_EQ(1, missing.status);
    EXPECT_FALSE(std::filesystem::exists(Path("out.json")));
    const Result exported = RunProgram(
        {"export", QString::fromStdString(good), "--to", QString::fromStdString(Path("out.json"))});
    EXPECT_EQ(0, exported.status) << exported.err;
    EXPECT_NE(std::string::npos, ReadFile(Path("out.json")).find("\"title\": \"good\""));
    // A PDF is drawn offscreen whatever platform the user has chosen.
    const Result pdf = RunProgram({"export", QString::fromStdString(good), "--to", "card.pdf"},
                                  {{}, {"QT_QPA_PLATFORM=xcb"}, folder.path()});
    EXPECT_EQ(0, pdf.status) << pdf.err;
    EXPECT_EQ("1\n", Shell("pdfinfo '" + Path("card.pdf") + "' | sed -n 's/^Pages: *//p'"));
}

// A file name is the user's bytes, whatever their encoding: the document
// opens, and its title is valid UTF-8 in the JSON.
TEST_F(Folder, ExportsAFileNamedInAnotherEncoding)
{
    SaveDocument("\xFF\xFE.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const std::string status = Shell("cd '" + folder.path().toStdString() +
                                     "' && '" QRL_PROGRAM "' export \"$(printf '\\377\\376.qrtb')\" " +
                                     "--to out.json 2>&1; echo status $?");
    EXPECT_EQ("status 0\n", status);
    EXPECT_NE(std::string::npos, ReadFile(Path("out.json")).find("\"title\": \"\xEF\xBF\xBD\xEF\xBF\xBD\""));
    std::filesystem::remove(Path("\xFF\xFE.qrtb")); // a name the temporary folder cannot remove
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
    const Setting inFolder = {{}, {}, folder.path()};
    QStringList arguments = {"export"};
    for (const Lens &lens : lenses) {
        const std::string name = lens.name[0] == '-' ? lens.name : lens.name + ".qrtb";
        SaveDocument(name, kDistanceUnitMeters, lens.distance, lens.focal, 0.00003, fullFrameDigital);
        arguments << QString::fromStdString(name);
    }
    const Result missing = RunProgram(QStringList(arguments) << "gone.qrtb"
                                                             << "--to"
                                                             << "kit.pdf",
                                      inFolder);
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(0u, missing.err.rfind("quorlscope: cannot read gone.qrtb", 0)) << missing.err;
    const Result nowhere = RunProgram(QStringList(arguments) << "--to"
                                                             << "nowhere/kit.pdf",
                                      inFolder);
    EXPECT_EQ(1, nowhere.status);
    EXPECT_EQ(Files(), (std::vector<std::string>{"-platform", "-reverse", "tele.qrtb"}));

    const Result kit = RunProgram(QStringList(arguments) << "--to"
                                                         << "kit.pdf",
                                  inFolder);
    ASSERT_EQ(0, kit.status) << kit.err;
    EXPECT_EQ("", kit.out + kit.err);
    const std::string pdf = "'" + Path("kit.pdf") + "'";
    EXPECT_EQ("3\n", Shell("pdfinfo " + pdf + " | sed -n 's/^Pages: *//p'"));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const Lens &lens = lenses[page - 1];
        const std::vector<std::string> words =
            expected::Words(Shell("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                  std::to_string(page) + " " + pdf + " -"));
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
        for (const Lens &other : lenses) {
            if (&other != &lens) {
                EXPECT_FALSE(shows(other.name)) << other.name;
            }
        }
    }
}

// An existing file is replaced as a saved document is: through a symbolic
// link, keeping its permissions (and, as root, its owner).
TEST_F(Folder, ExportReplacesAFileAsASaveDoes)
{
    const std::string document = SaveDocument("a.qrtb", kDistanceUnitMeters, 3.0, 50.0, 0.00003, APSC);
    const std::string here = folder.path().toStdString();
    for (const qrltest::ExistingFile &file : qrltest::MakeExistingFiles(here, "json")) {
        const Result result = RunCommand({"export", document, "--to", Path(file.stem + ".json")});
        EXPECT_EQ(0, result.status) << result.err;
        EXPECT_EQ("", qrltest::ReplacedAsASaveDoes(here, "json", file));
    }
}
