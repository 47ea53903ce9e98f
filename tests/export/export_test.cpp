// Tables printed, exported (CSV, JSON against docs/export-schema.json, PDF), copied, and from
// `quorlscope table` and `quorlscope export`; every figure against the formulas of optics.h.
#include "cli/subcommands.h"
#include "formats/exportformats.h"
#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

#include <QtGui>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <list>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;

namespace
{

using Grid = std::vector<Strings>;

// A document's arguments (circle in µm); distance 0: not computed.
struct Table {
    std::string title;
    bool feet;
    double distance, focal, circle;
    tCameraType camera;
};

const char *const kCameraNames[] = {"APS-C digital", "full-frame digital", "35 mm film", "medium format"};

std::string Figure(double value, const char *format = "%.3f")
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return std::isinf(value) ? "inf" : text;
}

// The exports' headings, then the ten rows of each computed table.
Grid Expected(const std::vector<Table> &tables, const std::string &unit)
{
    const std::string u = " (" + unit + ")";
    Grid grid = {{"table", "camera", "focal length (mm)", "distance" + u, "circle of confusion (µm)",
                  "aperture (f-number)", "near limit" + u, "far limit" + u, "hyperfocal distance" + u,
                  "total depth" + u, "depth in front" + u, "depth behind" + u, "behind/front ratio",
                  "Airy disc (µm)", "diffraction-limited"}};
    for (const Table &t : tables)
        for (int i = 0; i < (t.distance > 0 ? 10 : 0); ++i) {
            const double n = expected::kApertures[i], airy = 2.44 * 0.55 * n;
            const expected::Row row = expected::Limits(t.distance, t.feet, t.focal, t.circle * 1e-6, n);
            const double near = row.nearDistance, far = row.noFarLimit ? INFINITY : row.farDistance;
            grid.push_back({t.title, kCameraNames[t.camera], Figure(t.focal, "%g"), Figure(t.distance, "%g"),
                            Figure(t.circle, "%g"), Figure(n, "%g"), Figure(near), Figure(far),
                            Figure(expected::Hyperfocal(t.feet, t.focal, t.circle * 1e-6, n)),
                            Figure(far - near), Figure(t.distance - near), Figure(far - t.distance),
                            Figure((far - t.distance) / (t.distance - near)), Figure(airy),
                            airy > t.circle ? "yes" : "no"});
        }
    return grid;
}

// The JSON's rows as the CSV's, after the headings without a unit.
Grid JSONRows(const std::string &json)
{
    const auto text = [](const QJsonValue &value, const char *format) {
        return value.isString() ? value.toString().toStdString()
               : value.isBool() ? (value.toBool() ? "yes" : "no")
                                : Figure(value.toDouble(), format);
    };
    Grid grid = {Expected({}, "")[0]};
    for (const QJsonValue t : QJsonDocument::fromJson(QByteArray::fromStdString(json))["tables"].toArray())
        for (const QJsonValue row : t["rows"].toArray()) {
            Strings fields = {text(t["title"], ""), text(t["camera"]["name"], "")};
            for (const char *name : {"focalLengthMillimetres", "distance", "circleOfConfusionMicrometres"})
                fields.push_back(text(t["arguments"][QLatin1String(name)], "%g"));
            for (const char *name :
                 {"aperture", "near", "far", "hyperfocal", "totalDepth", "depthInFront", "depthBehind",
                  "behindToFrontRatio", "airyDiscMicrometres", "diffractionLimited"})
                fields.push_back(text(row[QLatin1String(name)], fields.size() == 5 ? "%g" : "%.3f"));
            grid.push_back(fields);
        }
    return grid;
}

// The CSV's grid as the clipboard's text has it: tabs between the fields of a line.
std::string TabText(const std::string &csv)
{
    return std::regex_replace(std::regex_replace(csv, std::regex(","), "\t"), std::regex("\r\n"), "\n");
}

Ran RunCommand(const Strings &arguments)
{
    Ran ran;
    ran.status = QRLRunSubcommand(arguments, &ran.out, &ran.err);
    return ran;
}

// docs/portrait-50mm.qrtb, the document CopySavedTable copies; and the window's table in the tests.
const Table kPortrait{"portrait", false, 3, 50, 30, fullFrameDigital},
    kFilm{"Untitled", false, 3, 50, 33, thirtyFive};

} // namespace

// Every field of the CSV, the clipboard's tab text and the JSON; an empty table has the headings
// alone; points even in a comma locale. Metres and feet cannot share the headings.
TEST(Export, FormatsHoldTheTables)
{
    // clang-format off
    const Table feet{"a", true, 10, 50, 30, APSC}, film{"b", true, 10, 50, 33, thirtyFive}, fresh{"new", false, 0, 0, 0, APSC},
        freshFeet{"e", true, 0, 0, 0, APSC}, comma{"t", false, 3.5, 50.5, 12.5, mediumFormat};
    const std::tuple<std::vector<Table>, const char *, bool> cases[] = { // tables, unit (none: refused), comma locale
        {{kPortrait}, "m", false}, {{feet, fresh, film}, "ft", false}, {{fresh}, "m", false}, {{}, "m", false},
        {{freshFeet}, "ft", false}, {{comma}, "m", true}, {{kPortrait, feet}, nullptr, false}};
    // clang-format on
    Strings jsons;
    for (const auto &[tables, unit, commaLocale] : cases) {
        SCOPED_TRACE(jsons.size());
        std::list<Record> records;
        std::vector<tExportTable> exported;
        for (const Table &t : tables) {
            const std::int32_t u = t.feet ? kDistanceUnitFeet : kDistanceUnitMeters;
            Record &r = t.distance > 0
                            ? records.emplace_back(u, t.distance, t.focal, t.circle * 1e-6, t.camera)
                            : records.emplace_back();
            r.data->distanceUnit = u;
            exported.push_back({t.title, r.data});
        }
        ASSERT_TRUE(!commaLocale || UseCommaDecimalLocale());
        const std::optional<std::string> csv = QRLTablesAsCSV(exported), tabs = QRLTablesAsTabText(exported);
        jsons.push_back(QRLTablesAsJSON(exported));
        std::setlocale(LC_ALL, "C");
        ASSERT_EQ(csv && tabs, unit != nullptr);
        if (unit) {
            EXPECT_EQ(ReadCSV(*csv), Expected(tables, unit));
            EXPECT_EQ(*tabs, TabText(*csv)); // no field holds a comma
        }
        EXPECT_EQ(JSONRows(jsons.back()), Expected(tables, ""));
    }
    EXPECT_EQ(SchemaErrors(jsons), Strings(jsons.size(), ""));
}

// What `table` prints and `export` writes; a file is replaced as a save does: through a link, keeping a
// file's mode and owner.
TEST(CommandLine, TablesAndFiles)
{
    const Ran csv = RunCommand({"table", "--distance=15", "--focal=50", "--camera=film", "--circle=5",
                                "--unit=ft", "--format=csv"}); // the film's 33 µm, whatever --circle says
    EXPECT_EQ(ReadCSV(csv.out), Expected({{"table", true, 15, 50, 33, thirtyFive}}, "ft"));
    const std::string folder = FreshFolder();
    const Strings docs = {CopySavedTable(folder, "portrait.qrtb"), CopySavedTable(folder, "Wide.QRTB")};
    EXPECT_EQ(RunCommand({"export", "--to", folder + "/kit.csv", "--", docs[0], docs[1]}).status, 0);
    const Table wide{"Wide", false, 3, 50, 30, fullFrameDigital};
    EXPECT_EQ(ReadCSV(ReadText(folder + "/kit.csv")), Expected({kPortrait, wide}, "m"));
    CopySavedTable(folder, "-platform"); // like one of Qt's options, a document all the same
    const Ran pdf = RunProcess({"sh", "-c", "cd \"$0\" && exec \"$@\"", folder, QRL_PROGRAM, "export",
                                "-platform", "Wide.QRTB", "--to", "kit.pdf"},
                               {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb"}); // no display
    EXPECT_EQ(std::to_string(pdf.status) + pdf.err + PdfInfo(folder + "/kit.pdf", "Pages"), "02");
    ExpectContains(PdfText(folder + "/kit.pdf"), {"-platform", "Wide"});
    const std::string link = folder + "/link.csv", target = folder + "/target.csv",
                      secret = folder + "/secret.csv";
    ASSERT_TRUE(WriteText(target, "old") && WriteText(secret, "old"));
    std::filesystem::create_symlink(target, link);
    const bool root = geteuid() == 0; // who alone may give a file to another user
    ASSERT_EQ(::chmod(secret.c_str(), 0600) + (root ? ::chown(secret.c_str(), 1234, 5678) : 0), 0);
    for (const std::string &to : {link, secret})
        EXPECT_EQ(RunCommand({"export", docs[0], "--to", to}).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    for (const std::string &written : {target, secret})
        EXPECT_EQ(ReadCSV(ReadText(written)), Expected({kPortrait}, "m")) << written;
    struct stat st;
    ASSERT_EQ(::stat(secret.c_str(), &st), 0); // the file keeps its mode and owner
    EXPECT_EQ(std::make_tuple(st.st_mode & 07777, st.st_uid, st.st_gid),
              std::make_tuple(0600u, root ? 1234u : getuid(), root ? 5678u : getgid()));
}

// Each argument error and failure: its status and message, and nothing written or left behind.
TEST(CommandLine, ArgumentsAndFailures)
{
    // clang-format off
    const std::string f = FreshFolder(), good = CopySavedTable(f, "good.qrtb"), keep = f + "/keep.csv", q = "quorlscope: ",
        usage = "usage: quorlscope table --distance D", range = "Please Check Your Arguments!\nThe focal length should be in the range of 4..1000 mm,\n";
    WriteText(keep, "precious");
    const auto with = [](Strings arguments, const Strings &more) {
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const Strings table = {"table", "--focal", "50", "--camera", "apsc", "--circle", "30"}, stack = {"stack", "--focal", "50", "--aperture", "8", "--camera", "film"};
    const std::tuple<Strings, int, std::string, std::string> cases[] = { // arguments, status, output, error
        {{"table", "--distance", "3", "-h", "--colour", "red"}, 0, usage, ""},
        {with(table, {"--distance", "1000", "--focal", "4", "--circle", "1"}), 0, "table: focal length 4 mm, distance 1000 m, circle of confusion 1 µm, camera APS-C digital\n", ""},
        {with(table, {"--distance", "0.3", "--unit", "ft"}), 2, "", range},
        {with(table, {"--distance", "5", "--focal", "1001"}), 2, "", range},
        {with(table, {"--distance", "5", "--circle", "0.99"}), 2, "", range},
        {with(table, {"--distance", "3,5"}), 2, "", q + "--distance 3,5: not a number\n"},
        {with(table, {}), 2, "", q + "--distance is needed\n"},
        {with(table, {"--distance", "5", "--camera", "phone"}), 2, "", q + "unknown camera phone\n"},
        {with(table, {"--distance", "5", "--colour", "red"}), 2, "", q + "unknown option --colour\n"},
        {{"table", "--distance", "5", "--focal", "50", "--camera", "fullframe"}, 2, "", q + "--circle is needed for apsc and fullframe\n"},
        {{"export", good, f + "/gone.qrtb", "--to", keep}, 1, "", q + "cannot read " + f + "/gone.qrtb: No such file or directory\n"},
        {{"export", good, "--to", f + "/no/a.csv"}, 1, "", q + "cannot write " + f + "/no/a.csv: no such folder\n"},
        {{"export", good, "--to", f + "/a.txt"}, 2, "", q + f + "/a.txt: the name must end in .csv, .json or .pdf"},
        {{"export", good}, 2, "", q + "--to OUT is needed\n"},
        {{"export", good, "--into", keep}, 2, "", q + "unknown option --into\n"},
        {stack, 2, "", q + "--near is needed\n"}, {with(stack, {"--near", "2", "--far", "inf"}), 2, "", q + "--far inf: not a number\n"},
        {with(stack, {"--near", "2", "--distance", "3"}), 2, "", q + "unknown option --distance\n"}};
    // clang-format on
    const Strings before = ListFolder(f);
    for (const auto &[arguments, status, out, err] : cases) {
        const Ran ran = RunCommand(arguments);
        EXPECT_EQ(ran.status, status) << err;
        EXPECT_TRUE(ran.err.rfind(err, 0) == 0 && err.empty() == ran.err.empty()) << ran.err;
        EXPECT_TRUE(ran.out.rfind(out, 0) == 0 && out.empty() == ran.out.empty()) << ran.out;
        EXPECT_EQ(ListFolder(f), before) << err;
        EXPECT_EQ(ReadText(keep), "precious");
    }
    // A folder without write bits, as a user other than root (who writes anyway).
    std::filesystem::create_directory(f + "/locked");
    ::chmod((f + "/locked").c_str(), 0555);
    const Ran locked = RunProcess(Unprivileged({QRL_PROGRAM, "export", good, "--to", f + "/locked/out.csv"}));
    EXPECT_EQ(locked.status, 1) << locked.err;
    EXPECT_EQ(locked.err.rfind(q + "cannot write " + f + "/locked/out.csv: ", 0), 0u) << locked.err;
    EXPECT_TRUE(std::filesystem::is_empty(f + "/locked"));
}

// A title a spreadsheet would run as a formula gets an apostrophe; commas, quotes and breaks are
// quoted; bytes that are not UTF-8 become U+FFFD.
TEST(Export, TitlesAreQuoted)
{
    Record table(kDistanceUnitMeters, 3.0, 35.0, 0.00002, APSC);
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {{"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"}, {"-2+3", "'-2+3"},
        {"@A1", "'@A1"}, {"\t=1", "'\t=1"}, {"a = b, \"c\"\r\n", "a = b, \"c\"\r\n"}, {"\xFF\xC0\xAF \xE2\x82\xAC", "\uFFFD\uFFFD\uFFFD \u20AC"}};
    // clang-format on
    for (const auto &[title, field] : cases)
        EXPECT_EQ(ReadCSV(*QRLTablesAsCSV({{title, table.data}})).at(10).at(0), field) << title;
}

// The printed sheet on the page setup's paper: the ten rows 30 points apart, as far below the printable
// area's top whatever the margins. Export… proposes the title with each format's extension; the files
// hold the table, replacing a file once confirmed; Copy puts the CSV and the tab text on the clipboard,
// not for an empty table. A failed print or export says why.
TEST(Export, PrintedExportedAndCopied)
{
    StartApplication();
    EXPECT_FALSE(Trigger("Copy"));
    ComputeTable({"3", "50", 3, std::nullopt});
    const std::string folder = FreshFolder(), path = folder + "/film.";
    const Grid figures = Expected({kFilm}, "m");
    const std::pair<PageChoice, std::string> pages[] = {
        {{"Letter", false, 72, 90, 54, 54}, "612 x 792 pts (letter)"},
        {{"A4", true, 36, 36, 36, 36}, "842 x 595 pts (A4)"}};
    std::optional<double> offset; // the first row's top below the printable area's
    for (const auto &[page, size] : pages) {
        SetUpPage(page);
        const std::string pdf = folder + "/" + size + ".pdf";
        PrintTo(pdf);
        EXPECT_EQ(PdfInfo(pdf, "Pages") + PdfInfo(pdf, "Title") + PdfInfo(pdf, "Page size"),
                  "1Untitled " + size); // the title as the window has it
        const std::string html = RunProcess({"pdftotext", "-bbox", pdf, "-"}).out;
        const std::regex box(R"x(yMin="([-\d.]+)"[^>]*>([^<]*)</word>)x");
        std::vector<std::pair<std::string, double>> words; // each word and its top, in reading order
        for (auto at = std::sregex_iterator(html.begin(), html.end(), box); at != std::sregex_iterator();
             ++at)
            words.emplace_back((*at)[2], std::stod((*at)[1]));
        for (std::size_t i = 1, at = 0; i <= 10; ++i) {
            while (at + 2 < words.size() && words[at].first != figures[i][5])
                ++at;
            ASSERT_LT(at + 2, words.size()) << figures[i][5];
            const Strings row = {words[at].first, words[at + 1].first, words[at + 2].first};
            EXPECT_EQ(row, (Strings{figures[i][5], figures[i][6], figures[i][7]}));
            offset = offset.value_or(words[at].second - page.top);
            EXPECT_NEAR(words[at].second - page.top, *offset + 30.0 * (i - 1), 0.5) << size;
        }
    }
    WriteText(path + "csv", std::string(100000, 'x'));
    const Strings extensions = {"csv", "json", "pdf"};
    for (int format = 0; format < 3; ++format) {
        Trigger("Export");
        ChooseFormat(OnlyDialog(), format);
        EXPECT_EQ(OnlyDialog().name, "Untitled." + extensions[format]);
        ChooseSaveLocation(OnlyDialog(), folder, "film");
    }
    EXPECT_EQ(ReadCSV(ReadText(path + "csv")), Expected({kFilm}, "m"));
    EXPECT_EQ(JSONRows(ReadText(path + "json")), Expected({kFilm}, ""));
    ExpectContains(PdfText(path + "pdf"),
                   {figures[1][6], figures[10][7], "Hyperfocal", "distances in metres"});
    EXPECT_TRUE(Trigger("Copy"));
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->data(QStringLiteral("text/csv")).toStdString(), ReadText(path + "csv"));
    EXPECT_EQ(copied->text().toStdString(), TabText(ReadText(path + "csv")));
    EXPECT_TRUE(Alerts().empty());
    const std::string locked = FreshFolder(); // failures leave no file
    ASSERT_TRUE(MakeUnwritable(locked)) << MountsUnavailable();
    PrintTo(locked + "/failed.pdf");
    Trigger("Export");
    ChooseSaveLocation(OnlyDialog(), locked + "/gone", "failed");
    EXPECT_EQ(Alerts(),
              (Strings{"The table could not be printed to \u201cfailed.pdf\u201d.",
                       "The folder \u201c" + locked + "\u201d cannot be written: " +
                           (geteuid() == 0 ? "Read-only file system." : "Permission denied."),
                       "Could not export the table",
                       "The file \u201cfailed.csv\u201d could not be written: No such file or directory."}));
    EXPECT_TRUE(ListFolder(locked).empty());
}
