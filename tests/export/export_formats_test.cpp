// The export text of tables: CSV read back by a reader of this test's own
// (RFC 4180), the tab-separated text, and JSON read back by Qt's parser and
// validated against docs/export-schema.json by an independent validator
// (python3-jsonschema).
#include "formats/exportformats.h"
#include "model/data.h"
#include "model/figures.h"
#include "tests/support/common.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using namespace qrltest;

namespace
{

using Rows = std::vector<std::vector<std::string>>;

struct Record {
    tDataPtr data = QRLNewDataPtr();
    Record() = default;
    Record(std::int32_t unit, double distance, double focal, double circle, tCameraType type)
    {
        QRLCalculateTable(data, unit, distance, focal, circle, type);
    }
    ~Record() { QRLDeleteDataPtr(data); }
    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
};

Rows ReadTabText(const std::string &text)
{
    Rows rows;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        EXPECT_NE(std::string::npos, end) << "last line not ended";
        const std::string line = text.substr(start, end - start);
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            fields.push_back(line.substr(from, tab - from));
        fields.push_back(line.substr(from));
        rows.push_back(fields);
        start = end + 1;
    }
    return rows;
}

double Number(const std::string &field)
{
    std::size_t used = 0;
    const double value = std::stod(field, &used);
    EXPECT_EQ(field.size(), used) << "not a plain number: " << field;
    EXPECT_EQ(std::string::npos, field.find(',')) << field;
    return value;
}

// A distance field with three decimals, "inf" for no limit.
void ExpectFigureField(double figure, const std::string &field, const std::string &what)
{
    if (std::isinf(figure)) {
        EXPECT_EQ("inf", field) << what;
        return;
    }
    const std::size_t point = field.find('.');
    ASSERT_NE(std::string::npos, point) << what << ": " << field;
    EXPECT_EQ(3u, field.size() - point - 1) << what << ": " << field;
    EXPECT_NEAR(figure, Number(field), 0.0005) << what;
}

const std::vector<std::string> kColumns = {"table",
                                           "camera",
                                           "focal length (mm)",
                                           "distance (U)",
                                           "circle of confusion (µm)",
                                           "aperture (f-number)",
                                           "near limit (U)",
                                           "far limit (U)",
                                           "hyperfocal distance (U)",
                                           "total depth (U)",
                                           "depth in front (U)",
                                           "depth behind (U)",
                                           "behind/front ratio",
                                           "Airy disc (µm)",
                                           "diffraction-limited"};

std::vector<std::string> Headings(const std::string &unit)
{
    std::vector<std::string> headings = kColumns;
    for (std::string &heading : headings)
        if (const std::size_t u = heading.find("(U)"); u != std::string::npos)
            heading.replace(u + 1, 1, unit);
    return headings;
}

// The ten rows of one table, starting at rows[first], against its figures.
void ExpectTableRows(const Rows &rows, std::size_t first, const std::string &title, tDataPtr data,
                     const std::string &camera)
{
    tTableFigures figures;
    ASSERT_TRUE(QRLGetTableFigures(data, &figures));
    ASSERT_GE(rows.size(), first + kNumberOfApertures);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const std::vector<std::string> &row = rows[first + i];
        const tApertureFigures &f = figures.rows[i];
        const std::string what = title + " row " + std::to_string(i);
        ASSERT_EQ(kColumns.size(), row.size()) << what;
        EXPECT_EQ(title, row[0]);
        EXPECT_EQ(camera, row[1]);
        EXPECT_EQ(QRLGetFocalLength(data), Number(row[2])) << what;
        EXPECT_EQ(QRLGetDistance(data), Number(row[3])) << what;
        EXPECT_NEAR(QRLGetUnsharpCircleinMicroMeter(data), Number(row[4]), 1e-9) << what;
        EXPECT_EQ(kTableApertures[i], Number(row[5])) << what;
        ExpectFigureField(f.nearDistance, row[6], what + " near");
        ExpectFigureField(f.farDistance, row[7], what + " far");
        ExpectFigureField(f.hyperfocalDistance, row[8], what + " hyperfocal");
        ExpectFigureField(f.totalDepth, row[9], what + " total");
        ExpectFigureField(f.depthInFront, row[10], what + " front");
        ExpectFigureField(f.depthBehind, row[11], what + " behind");
        ExpectFigureField(f.behindToFrontRatio, row[12], what + " ratio");
        ExpectFigureField(f.airyDiscMicroMeter, row[13], what + " airy");
        EXPECT_EQ(f.diffractionLimited ? "yes" : "no", row[14]) << what;
    }
}

QJsonObject ParseJSON(const std::string &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(QJsonParseError::NoError, error.error) << error.errorString().toStdString();
    return document.object();
}

void ExpectJSONFigure(double figure, const QJsonValue &value, const std::string &what)
{
    if (std::isinf(figure)) {
        EXPECT_EQ("inf", value.toString().toStdString()) << what;
    } else if (std::isnan(figure)) {
        EXPECT_TRUE(value.isNull()) << what;
    } else {
        ASSERT_TRUE(value.isDouble()) << what;
        EXPECT_NEAR(figure, value.toDouble(), std::fabs(figure) * 1e-14) << what;
    }
}

} // namespace

// The worked example of 50 mm at 5 m with 30 µm, read back from the CSV: a
// header row with the unit in the headings, ten rows, the sheet's figures to
// three decimals, and the hyperfocal distance f²/(N·c) + f.
TEST(ExportCSV, ReadsBackAsTheTable)
{
    Record metres(kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
    const std::optional<std::string> csv = QRLTablesAsCSV({{"Portrait 50mm", metres.data}});
    ASSERT_TRUE(csv);
    const Rows rows = ReadCSV(*csv);
    ASSERT_EQ(11u, rows.size());
    EXPECT_EQ(Headings("m"), rows[0]);
    ExpectTableRows(rows, 1, "Portrait 50mm", metres.data, "full-frame digital");
    const std::string hand[][3] = {{"1.4", "4.616", "5.454"},
                                   {"8", "3.389", "9.527"},
                                   {"16", "2.564", "100.806"},
                                   {"22", "2.168", "inf"},
                                   {"32", "1.724", "inf"}};
    for (const auto &[aperture, nearDistance, farDistance] : hand) {
        bool found = false;
        for (const auto &row : rows)
            if (row[5] == aperture) {
                found = true;
                EXPECT_EQ(nearDistance, row[6]) << aperture;
                EXPECT_EQ(farDistance, row[7]) << aperture;
            }
        EXPECT_TRUE(found) << aperture;
    }
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const double n = kTableApertures[i];
        EXPECT_NEAR(50.0 * 50.0 / (n * 0.030) / 1000.0 + 0.05, Number(rows[1 + i][8]), 0.0005) << n;
    }
    EXPECT_EQ("50", rows[1][2]);
    EXPECT_EQ("5", rows[1][3]);
    EXPECT_EQ("30", rows[1][4]);
    EXPECT_EQ("no", rows[9][14]);   // f/22: 29.524 µm
    EXPECT_EQ("yes", rows[10][14]); // f/32: 42.944 µm
}

TEST(ExportCSV, FeetAndSeveralTables)
{
    Record feet(kDistanceUnitFeet, 15.0, 50.0, 0.00003, APSC);
    Record film(kDistanceUnitFeet, 10.0, 50.0, 0.000033, thirtyFive);
    Record empty;
    const std::optional<std::string> csv =
        QRLTablesAsCSV({{"a", feet.data}, {"empty", empty.data}, {"b", film.data}});
    ASSERT_TRUE(csv);
    const Rows rows = ReadCSV(*csv);
    ASSERT_EQ(21u, rows.size());
    EXPECT_EQ(Headings("ft"), rows[0]);
    ExpectTableRows(rows, 1, "a", feet.data, "APS-C digital");
    ExpectTableRows(rows, 11, "b", film.data, "35 mm film");
    EXPECT_EQ("16.233", rows[1][7]);  // 15 ft, f/1.4
    EXPECT_EQ("77.291", rows[19][7]); // 10 ft = 3.048 m, 33 µm, f/22: H = 3.4935 m, far 23.558 m
    EXPECT_EQ("inf", rows[20][7]);
}

// An empty document has no arguments and no rows: the header alone.
TEST(ExportCSV, EmptyDocumentIsTheHeaderAlone)
{
    Record empty;
    for (const std::vector<tExportTable> &tables :
         {std::vector<tExportTable>{{"Untitled", empty.data}}, std::vector<tExportTable>{}}) {
        const std::optional<std::string> csv = QRLTablesAsCSV(tables);
        ASSERT_TRUE(csv);
        const Rows rows = ReadCSV(*csv);
        ASSERT_EQ(1u, rows.size());
        EXPECT_EQ(Headings("m"), rows[0]);
    }
    empty.data->distanceUnit = kDistanceUnitFeet;
    EXPECT_EQ(Headings("ft"), ReadCSV(*QRLTablesAsCSV({{"Untitled", empty.data}}))[0]);
}

// Commas, quotes and line breaks in a title survive quoting. A title a
// spreadsheet would run as a formula gets a leading apostrophe, in the CSV
// and the clipboard's text; bytes that are not UTF-8 become U+FFFD.
TEST(ExportCSV, TitlesAreQuoted)
{
    Record table(kDistanceUnitMeters, 3.0, 35.0, 0.00002, APSC);
    const std::string replacement = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"kit, wide", "kit, wide"},
        {"the \"nifty\" one", "the \"nifty\" one"},
        {"two\r\nlines", "two\r\nlines"},
        {"plain", "plain"},
        {"Ünïcödé 50 mm", "Ünïcödé 50 mm"},
        {"a = b - c", "a = b - c"},
        {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
        {"+1", "'+1"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"\r=1", "'\r=1"},
        {"\xFF\xFE.qrtb", replacement + replacement + ".qrtb"},
        {"\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82", // overlong, surrogate, too high, cut short
         replacement + replacement + " " + replacement + replacement + replacement + " " + replacement +
             replacement + replacement + replacement + " " + replacement},
        {"\xF0\x9F\x93\xB7 \xE2\x82\xAC", "\xF0\x9F\x93\xB7 \xE2\x82\xAC"}};
    for (const auto &[title, field] : cases) {
        const Rows rows = ReadCSV(*QRLTablesAsCSV({{title, table.data}}));
        ASSERT_EQ(11u, rows.size()) << title;
        std::vector<std::string> titles;
        for (std::size_t i = 1; i < rows.size(); ++i)
            titles.push_back(rows[i][0]);
        EXPECT_EQ(std::vector<std::string>(10, field), titles);
        std::string tabField = field;
        std::replace_if(
            tabField.begin(), tabField.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
            ' ');
        EXPECT_EQ(tabField, ReadTabText(*QRLTablesAsTabText({{title, table.data}}))[1][0]) << title;
    }
}

// One heading row cannot name metres and feet: tables in both are refused.
// Empty tables do not count, and units 0 and 3 are metres.
TEST(ExportCSV, MixedUnitsAreRefused)
{
    Record m(kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC), ft(kDistanceUnitFeet, 5.0, 50.0, 0.00003, APSC);
    Record other(3, 5.0, 50.0, 0.00003, APSC), empty;
    empty.data->distanceUnit = kDistanceUnitFeet;
    EXPECT_FALSE(QRLTablesAsCSV({{"m", m.data}, {"ft", ft.data}}));
    EXPECT_FALSE(QRLTablesAsTabText({{"ft", ft.data}, {"m", m.data}}));
    EXPECT_FALSE(QRLExportHeadingUnit({{"ft", ft.data}, {"3", other.data}}));
    EXPECT_TRUE(QRLTablesAsCSV({{"m", m.data}, {"3", other.data}, {"empty", empty.data}}));
    EXPECT_EQ(Headings("m"), ReadCSV(*QRLTablesAsCSV({{"empty", empty.data}, {"m", m.data}}))[0]);
}

// Points, never the locale's comma.
TEST(ExportCSV, PointDecimalsInACommaLocale)
{
    ASSERT_TRUE(UseCommaDecimalLocale());
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    ASSERT_STREQ("1,5", text); // the locale is in force
    Record table(kDistanceUnitMeters, 3.5, 50.5, 0.0000125, APSC);
    const Rows rows = ReadCSV(*QRLTablesAsCSV({{"t", table.data}}));
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(11u, rows.size());
    ExpectTableRows(rows, 1, "t", table.data, "APS-C digital");
    EXPECT_EQ("3.5", rows[1][3]);
    EXPECT_EQ("12.5", rows[1][4]);
}

// A record from a damaged file: what is not a finite number is an empty
// field, never "nan"; an unknown camera type is a digital camera.
TEST(ExportCSV, NumbersThatAreNotFinite)
{
    Record table(kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    table.data->argumentList.focalLength = std::numeric_limits<double>::quiet_NaN();
    table.data->table[2].nearDistance = std::numeric_limits<double>::quiet_NaN();
    table.data->argumentList.cameraType = static_cast<tCameraType>(7);
    table.data->table[3].nearDistance = 1e300;
    const Rows rows = ReadCSV(*QRLTablesAsCSV({{"t", table.data}}));
    ASSERT_EQ(11u, rows.size());
    EXPECT_EQ("", rows[1][2]);
    EXPECT_EQ("", rows[3][6]);
    EXPECT_EQ("digital camera", rows[1][1]);
    // A huge figure is written whole: all its 301 digits and three decimals.
    EXPECT_EQ(301u + 4u, rows[4][6].size());
    EXPECT_EQ(1e300, Number(rows[4][6]));
    const std::string text = QRLTablesAsText({{"t", table.data}});
    EXPECT_NE(std::string::npos, text.find(" " + rows[4][6] + " ")) << text;
}

// The clipboard's grid: the same fields, tab-separated, one line each.
TEST(ExportTabText, SameFieldsAsTheCSV)
{
    Record table(kDistanceUnitFeet, 15.0, 50.0, 0.00003, fullFrameDigital);
    const std::vector<tExportTable> tables = {{"with\ttab\nand break", table.data}};
    const Rows tabs = ReadTabText(*QRLTablesAsTabText(tables));
    Rows csv = ReadCSV(*QRLTablesAsCSV(tables));
    for (std::size_t i = 1; i < csv.size(); ++i)
        csv[i][0] = "with tab and break";
    EXPECT_EQ(csv, tabs);
    EXPECT_EQ(Headings("ft"), tabs[0]);
}

// Every value back from the JSON, to 15 digits; "inf" and null where the
// schema says; arguments, unit and camera.
TEST(ExportJSON, ReadsBackAsTheTables)
{
    Record metres(kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
    Record feet(kDistanceUnitFeet, 7.5, 85.0, 0.0, mediumFormat);
    Record empty;
    const std::string json =
        QRLTablesAsJSON({{"Portrait \"50\"", metres.data}, {"zero", feet.data}, {"new", empty.data}});
    const QJsonObject root = ParseJSON(json);
    EXPECT_EQ("quorlscope-tables", root["format"].toString().toStdString());
    EXPECT_EQ(1, root["version"].toInt());
    const QJsonArray tables = root["tables"].toArray();
    ASSERT_EQ(3, tables.size());
    const Record *records[] = {&metres, &feet};
    for (int t = 0; t < 2; ++t) {
        const QJsonObject table = tables[t].toObject();
        const tDataPtr data = records[t]->data;
        EXPECT_TRUE(table["computed"].toBool());
        EXPECT_EQ(t == 0 ? "m" : "ft", table["unit"].toString().toStdString());
        EXPECT_EQ(QRLGetCameraType(data), table["camera"].toObject()["type"].toInt());
        const QJsonObject arguments = table["arguments"].toObject();
        EXPECT_EQ(QRLGetDistance(data), arguments["distance"].toDouble());
        EXPECT_EQ(QRLGetFocalLength(data), arguments["focalLengthMillimetres"].toDouble());
        EXPECT_NEAR(QRLGetUnsharpCircleinMicroMeter(data),
                    arguments["circleOfConfusionMicrometres"].toDouble(), 1e-12);
        tTableFigures figures;
        ASSERT_TRUE(QRLGetTableFigures(data, &figures));
        const QJsonArray rows = table["rows"].toArray();
        ASSERT_EQ(kNumberOfApertures, rows.size());
        for (int i = 0; i < kNumberOfApertures; ++i) {
            const QJsonObject row = rows[i].toObject();
            const tApertureFigures &f = figures.rows[i];
            const std::string what = "table " + std::to_string(t) + " row " + std::to_string(i);
            EXPECT_EQ(kTableApertures[i], row["aperture"].toDouble()) << what;
            ExpectJSONFigure(f.nearDistance, row["near"], what + " near");
            ExpectJSONFigure(f.farDistance, row["far"], what + " far");
            ExpectJSONFigure(f.hyperfocalDistance, row["hyperfocal"], what + " hyperfocal");
            ExpectJSONFigure(f.totalDepth, row["totalDepth"], what + " total");
            ExpectJSONFigure(f.depthInFront, row["depthInFront"], what + " front");
            ExpectJSONFigure(f.depthBehind, row["depthBehind"], what + " behind");
            ExpectJSONFigure(f.behindToFrontRatio, row["behindToFrontRatio"], what + " ratio");
            ExpectJSONFigure(f.airyDiscMicroMeter, row["airyDiscMicrometres"], what + " airy");
            EXPECT_EQ(f.diffractionLimited, row["diffractionLimited"].toBool()) << what;
        }
    }
    EXPECT_EQ("Portrait \"50\"", tables[0].toObject()["title"].toString().toStdString());
    EXPECT_EQ("inf", tables[0].toObject()["rows"].toArray()[9].toObject()["far"].toString().toStdString());
    EXPECT_TRUE(tables[1].toObject()["rows"].toArray()[0].toObject()["behindToFrontRatio"].isNull());
    EXPECT_EQ("inf",
              tables[1].toObject()["rows"].toArray()[0].toObject()["hyperfocal"].toString().toStdString());
    // The empty document: its title and nothing that would read as zeros.
    const QJsonObject none = tables[2].toObject();
    EXPECT_EQ(QStringList({"computed", "title"}), none.keys());
    EXPECT_FALSE(none["computed"].toBool());
}

// Everything the writer produces is valid against the documented schema, and
// the schema is strict enough to refuse what the writer must never produce.
TEST(ExportJSON, ValidAgainstTheSchema)
{
    Record metres(kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
    Record feet(kDistanceUnitFeet, 15.0, 24.0, 0.000033, thirtyFive);
    Record zero(kDistanceUnitMeters, 7.5, 85.0, 0.0, mediumFormat);
    Record damaged(kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC), empty;
    damaged.data->argumentList.distance = std::numeric_limits<double>::infinity();
    damaged.data->table[4].nearDistance = std::numeric_limits<double>::quiet_NaN();
    damaged.data->argumentList.cameraType = static_cast<tCameraType>(-3);
    const std::vector<std::vector<tExportTable>> valid = {
        {{"Portrait 50mm", metres.data}},
        {{"feet", feet.data}, {"zero circle", zero.data}, {"odd \\ \"title\"\n\x01", damaged.data}},
        {{"not UTF-8: \xFF\xFE \xC0\xAF \xED\xA0\x80 \xE2\x82", metres.data}},
        {{"Untitled", empty.data}},
        {}};
    std::vector<std::string> good;
    for (const auto &tables : valid)
        good.push_back(QRLTablesAsJSON(tables));
    EXPECT_EQ(Strings(good.size(), ""), SchemaErrors(good));

    const std::pair<std::string, std::string> edits[] = {
        {"\"computed\": true", "\"computed\": false"}, // computed members on an empty table
        {"\"far\": \"inf\"", "\"far\": \"infinity\""}, // not the "inf" marker
        {"\"unit\": \"m\"", "\"unit\": \"metres\""},   // unknown unit
        {"\"aperture\": 1.4", "\"aperture\": 1.5"},    // not one of the ten
        {"\"diffractionLimited\": false", "\"diffractionLimited\": 0"},
        {"\"version\": 1", "\"version\": 2"}};
    std::vector<std::string> broken;
    for (const auto &[from, to] : edits) {
        std::string json = good[0];
        const std::size_t at = json.find(from);
        ASSERT_NE(std::string::npos, at) << from;
        broken.push_back(json.replace(at, from.size(), to));
    }
    // Zeros in place of an empty table's arguments.
    broken.push_back("{\"format\": \"quorlscope-tables\", \"version\": 1, \"tables\": [{\"title\": \"x\", "
                     "\"computed\": false, \"arguments\": {\"distance\": 0, \"focalLengthMillimetres\": 0, "
                     "\"circleOfConfusionMicrometres\": 0}}]}");
    // A computed table without its rows.
    std::string rowless = good[0];
    rowless.replace(rowless.find(",\n      \"rows\""), std::string::npos, "\n    }\n  ]\n}\n");
    EXPECT_EQ(1, ParseJSON(rowless)["tables"].toArray().size());
    broken.push_back(rowless);
    for (const std::string &errors : SchemaErrors(broken))
        EXPECT_NE(errors, "");
}

TEST(ExportJSON, NoTablesAndNoComputedTable)
{
    const QJsonObject root = ParseJSON(QRLTablesAsJSON({}));
    EXPECT_TRUE(root["tables"].isArray());
    EXPECT_EQ(0, root["tables"].toArray().size());
}
