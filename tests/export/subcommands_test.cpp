// `quorlscope table` and `quorlscope export`: the output of a good run, and
// every error path with its message, its exit status and nothing written.
#include "app/subcommands.h"
#include "files/exportformats.h"
#include "files/fileimage.h"
#include "model/data.h"

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
            QRLCalculateTableInUnit(data, unit, distance, focal, circle, camera);
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

// The real program with no display and no locale, as from cron or a bare
// container: its standard error holds its own messages only.
Result RunProgram(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL", "LC_CTYPE"})
        environment.remove(name);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QRL_PROGRAM, arguments);
    EXPECT_TRUE(program.waitForFinished(60000));
    return Result{program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                  program.readAllStandardOutput().toStdString(),
                  program.readAllStandardError().toStdString()};
}

const char kRangeMessage[] = "Please Check Your Arguments!\n"
                             "The focal length should be in the range of 4..1000 mm,\n"
                             "and the distance from two times of focal length to 1000 m.\n";

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

    tDataPtr data = QRLNewDataPtr();
    QRLCalculateTableInUnit(data, kDistanceUnitFeet, 15.0, 50.0, 0.000033, thirtyFive);
    const Result csv =
        RunCommand({"table", "--distance=15", "--focal=50", "--camera=film", "--unit=ft", "--format=csv"});
    EXPECT_EQ(0, csv.status) << csv.err;
    EXPECT_EQ(*QRLTablesAsCSV({{"table", data}}), csv.out);
    const Result json = RunCommand({"table", "--distance", "15", "--focal", "50", "--camera", "35mm",
                                    "--circle", "5", "--unit", "ft", "--format", "json"});
    EXPECT_EQ(0, json.status) << json.err;
    EXPECT_EQ(QRLTablesAsJSON({{"table", data}}), json.out); // the film's 33 µm, whatever --circle says
    QRLDeleteDataPtr(data);
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
    tDataPtr first = QRLNewDataPtr(), second = QRLNewDataPtr(), empty = QRLNewDataPtr();
    QRLCalculateTableInUnit(first, kDistanceUnitMeters, 3.0, 50.0, 0.00003, fullFrameDigital);
    QRLCalculateTableInUnit(second, kDistanceUnitMeters, 10.0, 24.0, 0.00002, APSC);
    const std::vector<tExportTable> tables = {{"portrait", first}, {"Wide", second}, {"new", empty}};
    EXPECT_EQ(*QRLTablesAsCSV(tables), ReadFile(Path("kit.csv")));
    EXPECT_EQ(0, RunCommand({"export", a, b, c, "--to=" + Path("kit.JSON")}).status);
    EXPECT_EQ(QRLTablesAsJSON(tables), ReadFile(Path("kit.JSON")));
    // An existing file is replaced whole.
    std::ofstream(Path("old.csv")) << std::string(5000, 'x');
    EXPECT_EQ(0, RunCommand({"export", a, "--to", Path("old.csv")}).status);
    EXPECT_EQ(*QRLTablesAsCSV({tables[0]}), ReadFile(Path("old.csv")));
    QRLDeleteDataPtr(first);
    QRLDeleteDataPtr(second);
    QRLDeleteDataPtr(empty);
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

// The real program, with no display and no locale at all: the subcommands
// never need a display, and standard error holds the program's messages only.
TEST_F(Folder, RunsWithoutADisplay)
{
    const Result table = RunProgram({"table", "--distance", "5", "--focal", "50", "--camera", "fullframe",
                                     "--circle", "30", "--unit", "m", "--format", "csv"});
    EXPECT_EQ(0, table.status) << table.err;
    EXPECT_EQ("", table.err);
    EXPECT_NE(std::string::npos, table.out.find("table,full-frame digital,50,5,30,1.4,4.616,5.454,"))
        << table.out;
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

std::string Trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

} // namespace

// A lens kit: three documents into one PDF, one page per document, each with
// its title, the apertures and its near and far limits as the sheet shows
// them; a failure writes no PDF at all.
TEST_F(Folder, ExportsAKitToOnePDFWithAPagePerDocument)
{
    struct Lens {
        std::string name;
        double distance, focal;
    };
    const Lens lenses[] = {{"wide", 5.0, 24.0}, {"normal", 3.0, 50.0}, {"tele", 10.0, 135.0}};
    QStringList arguments = {"export"};
    for (const Lens &lens : lenses)
        arguments << QString::fromStdString(SaveDocument(
            lens.name + ".qrtb", kDistanceUnitMeters, lens.distance, lens.focal, 0.00003, fullFrameDigital));
    const Result missing =
        RunProgram(QStringList(arguments) << QString::fromStdString(Path("gone.qrtb")) << "--to"
                                          << QString::fromStdString(Path("kit.pdf")));
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ(0u, missing.err.rfind("quorlscope: cannot read " + Path("gone.qrtb"), 0)) << missing.err;
    const Result nowhere =
        RunProgram(QStringList(arguments) << "--to" << QString::fromStdString(Path("nowhere/kit.pdf")));
    EXPECT_EQ(1, nowhere.status);
    EXPECT_EQ(Files(), (std::vector<std::string>{"normal.qrtb", "tele.qrtb", "wide.qrtb"}));

    const Result kit =
        RunProgram(QStringList(arguments) << "--to" << QString::fromStdString(Path("kit.pdf")));
    ASSERT_EQ(0, kit.status) << kit.err;
    EXPECT_EQ("", kit.out + kit.err);
    const std::string pdf = "'" + Path("kit.pdf") + "'";
    EXPECT_EQ("3\n", Shell("pdfinfo " + pdf + " | sed -n 's/^Pages: *//p'"));
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const Lens &lens = lenses[page - 1];
        const std::string text = Shell("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                       std::to_string(page) + " " + pdf + " -");
        EXPECT_NE(std::string::npos, text.find(lens.name)) << text;
        for (const char *aperture : {"1.4", "2.8", "5.6", "11", "16", "22", "32"})
            EXPECT_NE(std::string::npos, text.find(aperture)) << aperture;
        tDataPtr data = QRLNewDataPtr();
        QRLCalculateTableInUnit(data, kDistanceUnitMeters, lens.distance, lens.focal, 0.00003,
                                fullFrameDigital);
        for (int i = 0; i < kNumberOfApertures; ++i) {
            char nearText[32], farText[32];
            std::snprintf(nearText, sizeof nearText, "%6.3f", QRLGetTableElementNearDistance(data, i));
            const double far = QRLGetTableElementFarDistance(data, i);
            std::snprintf(farText, sizeof farText, "%6.3f", far);
            EXPECT_NE(std::string::npos, text.find(Trimmed(nearText))) << nearText;
            EXPECT_NE(std::string::npos, text.find(far == -1.0 ? "inf" : Trimmed(farText))) << farText;
        }
        QRLDeleteDataPtr(data);
        // The other lenses' titles are on their own pages.
        for (const Lens &other : lenses) {
            if (&other != &lens) {
                EXPECT_EQ(std::string::npos, text.find(other.name)) << other.name;
            }
        }
    }
}
