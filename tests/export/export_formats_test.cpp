// The export text of tables: CSV read back by a strict RFC 4180 reader, the
// tab-separated text, and JSON read back by Qt's parser and validated against
// docs/export-schema.json by an independent validator (python3-jsonschema);
// every field against the formulas of optics.h.
#include "formats/exportformats.h"
#include "model/figures.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"
#include "tests/support/record.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace qrltest;

namespace
{

using Rows = std::vector<Strings>;

// Lines ended by LF, fields separated by tabs.
Rows ReadTabText(const std::string &text)
{
    Rows rows;
    EXPECT_TRUE(text.empty() || text.back() == '\n') << "the last line is not ended";
    for (const std::string &line : Split(text.substr(0, text.size() - !text.empty()), '\n'))
        rows.push_back(Split(line, '\t'));
    return rows;
}

// A row's figures by the formulas of optics.h, from the record's arguments.
tApertureFigures Expected(tDataPtr data, int i)
{
    const tArgumentList &a = data->argumentList;
    const bool feet = data->distanceUnit == kDistanceUnitFeet;
    const double n = expected::kApertures[i], c = a.unsharpCircleDiameter, inf = INFINITY;
    const expected::Row row = expected::Limits(a.distance, feet, a.focalLength, c, n);
    tApertureFigures e;
    e.aperture = n;
    e.nearDistance = row.nearDistance;
    e.farDistance = row.noFarLimit ? inf : row.farDistance;
    e.hyperfocalDistance = c > 0.0 ? expected::Hyperfocal(feet, a.focalLength, c, n) : inf;
    e.totalDepth = e.farDistance - e.nearDistance;
    e.depthInFront = a.distance - e.nearDistance;
    e.depthBehind = e.farDistance - a.distance;
    e.behindToFrontRatio = c > 0.0 ? e.depthBehind / e.depthInFront : NAN;
    e.airyDiscMicroMeter = 2.44 * 0.55 * n;
    e.diffractionLimited = e.airyDiscMicroMeter > c * 1e6;
    return e;
}

std::string Text(const char *format, double value)
{
    char text[400];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Three decimals, "inf" for no limit.
std::string Figure(double value)
{
    return std::isinf(value) ? "inf" : Text("%.3f", value);
}

Strings Headings(const std::string &unit)
{
    const std::string u = " (" + unit + ")";
    return {"table",
            "camera",
            "focal length (mm)",
            "distance" + u,
            "circle of confusion (µm)",
            "aperture (f-number)",
            "near limit" + u,
            "far limit" + u,
            "hyperfocal distance" + u,
            "total depth" + u,
            "depth in front" + u,
            "depth behind" + u,
            "behind/front ratio",
            "Airy disc (µm)",
            "diffraction-limited"};
}

// The ten rows a computed table must give, in the C locale's notation.
Rows ExpectedRows(const std::string &title, tDataPtr data, const std::string &camera)
{
    const tArgumentList &a = data->argumentList;
    Rows rows;
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tApertureFigures f = Expected(data, i);
        rows.push_back({title, camera, Text("%g", a.focalLength), Text("%g", a.distance),
                        Text("%g", a.unsharpCircleDiameter * 1e6), Text("%g", f.aperture),
                        Figure(f.nearDistance), Figure(f.farDistance), Figure(f.hyperfocalDistance),
                        Figure(f.totalDepth), Figure(f.depthInFront), Figure(f.depthBehind),
                        Figure(f.behindToFrontRatio), Figure(f.airyDiscMicroMeter),
                        f.diffractionLimited ? "yes" : "no"});
    }
    return rows;
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
    if (std::isinf(figure))
        EXPECT_EQ("inf", value.toString().toStdString()) << what;
    else if (std::isnan(figure))
        EXPECT_TRUE(value.isNull()) << what;
    else
        EXPECT_NEAR(figure, value.toDouble(-1e300), std::fabs(figure) * 1e-12 + 1e-12) << what;
}

} // namespace

// CSV and the clipboard's tab-separated grid, field by field: the headings
// with the unit, then ten rows per computed table (an empty one has none),
// figures to three decimals and points even in a comma locale.
TEST(ExportText, GridsHoldTheTables)
{
    Record portrait(kDistanceUnitMeters, 5.0, 50.0, 30e-6, fullFrameDigital), empty, emptyFeet;
    Record feet(kDistanceUnitFeet, 15.0, 50.0, 30e-6, APSC),
        film(kDistanceUnitFeet, 10.0, 50.0, 33e-6, thirtyFive);
    Record comma(kDistanceUnitMeters, 3.5, 50.5, 12.5e-6, mediumFormat);
    emptyFeet.data->distanceUnit = kDistanceUnitFeet;
    struct Case {
        std::vector<tExportTable> tables;
        std::string unit;
        Strings cameras; // the names of the computed tables' cameras
        bool commaLocale = false;
    };
    const Case cases[] = {
        {{{"Portrait 50mm", portrait.data}}, "m", {"full-frame digital"}},
        {{{"a", feet.data}, {"empty", empty.data}, {"b", film.data}}, "ft", {"APS-C digital", "35 mm film"}},
        {{{"Untitled", empty.data}}, "m", {}},
        {{}, "m", {}},
        {{{"Untitled", emptyFeet.data}}, "ft", {}},
        {{{"t", comma.data}}, "m", {"medium format"}, true}};
    for (const Case &c : cases) {
        if (c.commaLocale) {
            ASSERT_TRUE(UseCommaDecimalLocale());
            ASSERT_EQ(Text("%.1f", 1.5), "1,5"); // the locale is in force
        }
        const std::optional<std::string> csv = QRLTablesAsCSV(c.tables), tabs = QRLTablesAsTabText(c.tables);
        std::setlocale(LC_ALL, "C");
        ASSERT_TRUE(csv && tabs);
        Rows expected = {Headings(c.unit)};
        auto camera = c.cameras.begin();
        for (const tExportTable &table : c.tables)
            if (QRLIsDataValid(table.dataPtr)) {
                const Rows rows = ExpectedRows(table.title, table.dataPtr, *camera++);
                expected.insert(expected.end(), rows.begin(), rows.end());
            }
        EXPECT_EQ(ReadCSV(*csv), expected) << c.unit;
        EXPECT_EQ(ReadTabText(*tabs), expected) << c.unit;
    }
}

// Commas, quotes and line breaks in a title survive quoting. A title a
// spreadsheet would run as a formula gets a leading apostrophe, in the CSV
// and the clipboard's text; bytes that are not UTF-8 become U+FFFD.
TEST(ExportText, TitlesAreQuoted)
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
// Empty tables do not count, and units other than feet are metres.
TEST(ExportText, MixedUnitsAreRefused)
{
    Record m(kDistanceUnitMeters, 5.0, 50.0, 30e-6, APSC), ft(kDistanceUnitFeet, 5.0, 50.0, 30e-6, APSC);
    Record other(3, 5.0, 50.0, 30e-6, APSC), empty;
    empty.data->distanceUnit = kDistanceUnitFeet;
    EXPECT_FALSE(QRLTablesAsCSV({{"m", m.data}, {"ft", ft.data}}));
    EXPECT_FALSE(QRLTablesAsTabText({{"ft", ft.data}, {"m", m.data}}));
    EXPECT_FALSE(QRLExportHeadingUnit({{"ft", ft.data}, {"3", other.data}}));
    EXPECT_TRUE(QRLTablesAsCSV({{"m", m.data}, {"3", other.data}, {"empty", empty.data}}));
    EXPECT_EQ(Headings("m"), ReadCSV(*QRLTablesAsCSV({{"empty", empty.data}, {"m", m.data}}))[0]);
}

// A record from a damaged file: what is not a finite number is an empty
// field, never "nan"; an unknown camera type is a digital camera.
TEST(ExportText, NumbersThatAreNotFinite)
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
    EXPECT_EQ(1e300, std::stod(rows[4][6]));
    const std::string text = QRLTablesAsText({{"t", table.data}});
    EXPECT_NE(std::string::npos, text.find(" " + rows[4][6] + " ")) << text;
}

// Every value back from the JSON, "inf" and null where the schema says;
// arguments, unit and camera; an empty document has its title alone.
TEST(ExportJSON, ReadsBackAsTheTables)
{
    Record metres(kDistanceUnitMeters, 5.0, 50.0, 30e-6, fullFrameDigital);
    Record feet(kDistanceUnitFeet, 7.5, 85.0, 0.0, mediumFormat), empty;
    const QJsonObject root = ParseJSON(
        QRLTablesAsJSON({{"Portrait \"50\"", metres.data}, {"zero", feet.data}, {"new", empty.data}}));
    EXPECT_EQ("quorlscope-tables", root["format"].toString().toStdString());
    EXPECT_EQ(1, root["version"].toInt());
    const QJsonArray tables = root["tables"].toArray();
    ASSERT_EQ(3, tables.size());
    const std::tuple<tDataPtr, const char *, const char *, int> cases[] = {
        {metres.data, "Portrait \"50\"", "m", fullFrameDigital}, {feet.data, "zero", "ft", mediumFormat}};
    for (int t = 0; t < 2; ++t) {
        const auto &[data, title, unit, camera] = cases[t];
        const QJsonObject table = tables[t].toObject(), arguments = table["arguments"].toObject();
        EXPECT_EQ(title, table["title"].toString().toStdString());
        EXPECT_TRUE(table["computed"].toBool());
        EXPECT_EQ(unit, table["unit"].toString().toStdString());
        EXPECT_EQ(camera, table["camera"].toObject()["type"].toInt());
        EXPECT_EQ(data->argumentList.distance, arguments["distance"].toDouble());
        EXPECT_EQ(data->argumentList.focalLength, arguments["focalLengthMillimetres"].toDouble());
        EXPECT_NEAR(data->argumentList.unsharpCircleDiameter * 1e6,
                    arguments["circleOfConfusionMicrometres"].toDouble(), 1e-12);
        const QJsonArray rows = table["rows"].toArray();
        ASSERT_EQ(kNumberOfApertures, rows.size());
        for (int i = 0; i < kNumberOfApertures; ++i) {
            const QJsonObject row = rows[i].toObject();
            const tApertureFigures f = Expected(data, i);
            const std::string what = std::string(title) + " row " + std::to_string(i);
            EXPECT_EQ(expected::kApertures[i], row["aperture"].toDouble()) << what;
            const std::pair<double, const char *> fields[] = {{f.nearDistance, "near"},
                                                              {f.farDistance, "far"},
                                                              {f.hyperfocalDistance, "hyperfocal"},
                                                              {f.totalDepth, "totalDepth"},
                                                              {f.depthInFront, "depthInFront"},
                                                              {f.depthBehind, "depthBehind"},
                                                              {f.behindToFrontRatio, "behindToFrontRatio"},
                                                              {f.airyDiscMicroMeter, "airyDiscMicrometres"}};
            for (const auto &[figure, name] : fields)
                ExpectJSONFigure(figure, row[name], what + " " + name);
            EXPECT_EQ(f.diffractionLimited, row["diffractionLimited"].toBool()) << what;
        }
    }
    const QJsonObject none = tables[2].toObject();
    EXPECT_EQ(QStringList({"computed", "title"}), none.keys());
    EXPECT_FALSE(none["computed"].toBool());
    EXPECT_EQ(0, ParseJSON(QRLTablesAsJSON({}))["tables"].toArray().size());
    EXPECT_TRUE(ParseJSON(QRLTablesAsJSON({}))["tables"].isArray());
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
