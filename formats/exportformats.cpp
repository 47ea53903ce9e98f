// CSV, tab-separated and JSON text of depth-of-field tables with their
// figures per aperture. Numbers are written with a point whatever the
// user's locale.
#include "formats/exportformats.h"

#include "model/figures.h"
#include "platform/strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr int kJSONVersion = 1;

// ---- fields shared by the CSV and the tab-separated text

enum class tSeparated { csv, tabs };

struct tUTF8Sequence {
    std::size_t length; // at least 1
    bool valid;
};

// The UTF-8 sequence at text[i]: a valid one whole, else the longest start
// of one that the bytes there make (a stray continuation byte, an overlong
// form, a surrogate, beyond U+10FFFF, a sequence cut short), at least a byte.
tUTF8Sequence UTF8SequenceAt(const std::string &text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {1, true};
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 1;
    // The second byte's range excludes overlong forms, surrogates and
    // anything beyond U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t k = 1; k < length; ++k) {
        const bool fits = i + k < text.size() &&
                          (k == 1 ? byte(i + k) >= low && byte(i + k) <= high : (byte(i + k) & 0xC0) == 0x80);
        if (!fits)
            return {k, false};
    }
    return {length, length > 1};
}

// A title as valid UTF-8: what is not (a file name in another encoding)
// becomes U+FFFD, one for each broken sequence, so that strict readers of
// the CSV and the JSON accept the file.
std::string ValidUTF8(const std::string &text)
{
    std::string valid;
    for (std::size_t i = 0; i < text.size();) {
        const tUTF8Sequence sequence = UTF8SequenceAt(text, i);
        valid += sequence.valid ? text.substr(i, sequence.length) : std::string("\xEF\xBF\xBD");
        i += sequence.length;
    }
    return valid;
}

// A spreadsheet runs a field beginning with = + - @, a tab or a carriage
// return as a formula: such a title gets a leading apostrophe, which shows
// it as text. Only titles: numbers are never altered.
std::string InertTitle(const std::string &title)
{
    if (!title.empty() && std::string("=+-@\t\r").find(title.front()) != std::string::npos)
        return "'" + title;
    return title;
}

std::vector<std::string> HeadingFields(std::int32_t unit)
{
    const std::string u = std::string(" (") + QRLExportUnitName(unit) + ")";
    return {"table",
            "camera",
            "focal length (mm)",
            "distance" + u,
            "circle of confusion (\xC2\xB5m)",
            "aperture (f-number)",
            "near limit" + u,
            "far limit" + u,
            "hyperfocal distance" + u,
            "total depth" + u,
            "depth in front" + u,
            "depth behind" + u,
            "behind/front ratio",
            "Airy disc (\xC2\xB5m)",
            "diffraction-limited"};
}

// A value of the record as entered (15 significant digits: 50, 3.5, 30);
// empty when it is not a finite number.
std::string ArgumentField(double value)
{
    return std::isfinite(value) ? formatNumber("%.15g", value) : std::string();
}

// A figure with three decimals; "inf" for no limit, empty for no value.
std::string FigureField(double value)
{
    if (value == std::numeric_limits<double>::infinity())
        return "inf";
    return std::isfinite(value) ? formatNumber("%.3f", value) : std::string();
}

std::vector<std::string> RowFields(const tExportTable &table, const tApertureFigures &row)
{
    const tDataPtr data = table.dataPtr;
    return {InertTitle(ValidUTF8(table.title)),
            QRLExportCameraName(QRLGetCameraType(data)),
            ArgumentField(QRLGetFocalLength(data)),
            ArgumentField(QRLGetDistance(data)),
            ArgumentField(QRLGetUnsharpCircleinMicroMeter(data)),
            formatNumber("%g", row.aperture),
            FigureField(row.nearDistance),
            FigureField(row.farDistance),
            FigureField(row.hyperfocalDistance),
            FigureField(row.totalDepth),
            FigureField(row.depthInFront),
            FigureField(row.depthBehind),
            FigureField(row.behindToFrontRatio),
            FigureField(row.airyDiscMicroMeter),
            row.diffractionLimited ? "yes" : "no"};
}

// RFC 4180: a field holding a comma, a quote or a line break is quoted, and
// its quotes doubled.
std::string CSVField(const std::string &field)
{
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string TabField(std::string field)
{
    for (char &c : field)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return field;
}

std::string Line(const std::vector<std::string> &fields, tSeparated style)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += style == tSeparated::csv ? ',' : '\t';
        line += style == tSeparated::csv ? CSVField(fields[i]) : TabField(fields[i]);
    }
    return line + (style == tSeparated::csv ? "\r\n" : "\n");
}

std::optional<std::string> SeparatedText(const std::vector<tExportTable> &tables, tSeparated style)
{
    const std::optional<std::int32_t> unit = QRLExportHeadingUnit(tables);
    if (!unit)
        return std::nullopt;
    std::string text = Line(HeadingFields(*unit), style);
    for (const tExportTable &table : tables) {
        tTableFigures figures;
        if (!QRLGetTableFigures(table.dataPtr, &figures))
            continue;
        for (const tApertureFigures &row : figures.rows)
            text += Line(RowFields(table, row), style);
    }
    return text;
}

// ---- JSON

std::string JSONString(const std::string &text)
{
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// A finite number; null otherwise.
std::string JSONNumber(double value)
{
    return std::isfinite(value) ? formatNumber("%.15g", value) : "null";
}

// A distance or ratio: "inf" for no limit, null for no value.
std::string JSONFigure(double value)
{
    return value == std::numeric_limits<double>::infinity() ? "\"inf\"" : JSONNumber(value);
}

std::string JSONMember(const char *name, const std::string &value)
{
    return std::string("\"") + name + "\": " + value;
}

std::string JSONRow(const tApertureFigures &row)
{
    return "{" + JSONMember("aperture", JSONNumber(row.aperture)) + ", " +
           JSONMember("near", JSONFigure(row.nearDistance)) + ", " +
           JSONMember("far", JSONFigure(row.farDistance)) + ", " +
           JSONMember("hyperfocal", JSONFigure(row.hyperfocalDistance)) + ", " +
           JSONMember("totalDepth", JSONFigure(row.totalDepth)) + ", " +
           JSONMember("depthInFront", JSONFigure(row.depthInFront)) + ", " +
           JSONMember("depthBehind", JSONFigure(row.depthBehind)) + ", " +
           JSONMember("behindToFrontRatio", JSONFigure(row.behindToFrontRatio)) + ", " +
           JSONMember("airyDiscMicrometres", JSONNumber(row.airyDiscMicroMeter)) + ", " +
           JSONMember("diffractionLimited", row.diffractionLimited ? "true" : "false") + "}";
}

std::string JSONComputedMembers(const tExportTable &table, const tTableFigures &figures)
{
    const tDataPtr data = table.dataPtr;
    const std::int16_t camera = QRLGetCameraType(data);
    std::string members;
    members += ",\n      " + JSONMember("unit", JSONString(QRLExportUnitName(QRLGetDistanceUnit(data))));
    members += ",\n      " +
               JSONMember("camera", "{" + JSONMember("type", std::to_string(camera)) + ", " +
                                        JSONMember("name", JSONString(QRLExportCameraName(camera))) + "}");
    members +=
        ",\n      " +
        JSONMember("arguments",
                   "{" + JSONMember("distance", JSONNumber(QRLGetDistance(data))) + ", " +
                       JSONMember("focalLengthMillimetres", JSONNumber(QRLGetFocalLength(data))) + ", " +
                       JSONMember("circleOfConfusionMicrometres",
                                  JSONNumber(QRLGetUnsharpCircleinMicroMeter(data))) +
                       "}");
    members += ",\n      \"rows\": [";
    for (int i = 0; i < kNumberOfApertures; ++i)
        members += std::string(i == 0 ? "\n        " : ",\n        ") + JSONRow(figures.rows[i]);
    return members + "\n      ]";
}

std::string JSONTable(const tExportTable &table)
{
    tTableFigures figures;
    const bool computed = QRLGetTableFigures(table.dataPtr, &figures);
    std::string text = "    {\n      " + JSONMember("title", JSONString(ValidUTF8(table.title))) +
                       ",\n      " + JSONMember("computed", computed ? "true" : "false");
    if (computed)
        text += JSONComputedMembers(table, figures);
    return text + "\n    }";
}

// ---- plain text

std::string TextHeader(const tExportTable &table, bool computed)
{
    const tDataPtr data = table.dataPtr;
    const std::string unit = QRLExportUnitName(QRLGetDistanceUnit(data));
    const std::string title = ValidUTF8(table.title);
    if (!computed)
        return title + ": focal length - mm, distance -, circle of confusion - \xC2\xB5m, camera -\n";
    return title + ": focal length " + formatNumber("%.15g", QRLGetFocalLength(data)) + " mm, distance " +
           formatNumber("%.15g", QRLGetDistance(data)) + " " + unit + ", circle of confusion " +
           formatNumber("%.15g", QRLGetUnsharpCircleinMicroMeter(data)) + " \xC2\xB5m, camera " +
           QRLExportCameraName(QRLGetCameraType(data)) + "\n";
}

// The characters text shows (the micro sign is one character in two bytes).
std::size_t Shown(const std::string &text)
{
    std::size_t shown = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++shown;
    return shown;
}

// Right-aligned in a column of width characters.
std::string Column(const std::string &text, std::size_t width)
{
    const std::size_t shown = Shown(text);
    return std::string(shown < width ? width - shown : 0, ' ') + text;
}

using tTextLine = std::vector<std::string>;

// Each column as wide as its usual width, or wider where a heading or a
// figure needs it, with a blank before its widest cell.
std::vector<std::size_t> ColumnWidths(const std::vector<tTextLine> &lines)
{
    std::vector<std::size_t> widths(lines.front().size(), 15);
    widths[0] = 5;
    for (const tTextLine &line : lines)
        for (std::size_t i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], Shown(line[i]) + 1);
    return widths;
}

std::string TextTable(const tExportTable &table)
{
    tTableFigures figures;
    const bool computed = QRLGetTableFigures(table.dataPtr, &figures);
    std::string text = TextHeader(table, computed);
    if (!computed)
        return text;
    const std::string u = std::string("(") + QRLExportUnitName(QRLGetDistanceUnit(table.dataPtr)) + ")";
    std::vector<tTextLine> lines = {{"f/", "near " + u, "far " + u, "hyperfocal " + u, "depth " + u,
                                     "in front " + u, "behind " + u, "Airy (\xC2\xB5m)"}};
    for (const tApertureFigures &row : figures.rows) {
        tTextLine line = {formatNumber("%g", row.aperture)};
        for (double value : {row.nearDistance, row.farDistance, row.hyperfocalDistance, row.totalDepth,
                             row.depthInFront, row.depthBehind, row.airyDiscMicroMeter})
            line.push_back(FigureField(value).empty() ? "-" : FigureField(value));
        lines.push_back(line);
    }
    const std::vector<std::size_t> widths = ColumnWidths(lines);
    for (std::size_t l = 0; l < lines.size(); ++l) {
        for (std::size_t i = 0; i < lines[l].size(); ++i)
            text += Column(lines[l][i], widths[i]);
        text += l > 0 && figures.rows[l - 1].diffractionLimited ? "  diffraction\n" : "\n";
    }
    return text;
}

} // namespace

std::string QRLTablesAsText(const std::vector<tExportTable> &tables)
{
    std::string text;
    for (std::size_t i = 0; i < tables.size(); ++i)
        text += (i > 0 ? "\n" : "") + TextTable(tables[i]);
    return text;
}

const char *QRLExportUnitName(std::int32_t distanceUnit)
{
    return distanceUnit == kDistanceUnitFeet ? "ft" : "m";
}

const char *QRLExportCameraName(std::int16_t cameraType)
{
    switch (cameraType) {
    case APSC:
        return "APS-C digital";
    case fullFrameDigital:
        return "full-frame digital";
    case thirtyFive:
        return "35 mm film";
    case mediumFormat:
        return "medium format";
    default:
        return "digital camera";
    }
}

// Units compare by name: 0, 1 and 3 are all metres.
std::optional<std::int32_t> QRLExportHeadingUnit(const std::vector<tExportTable> &tables)
{
    std::optional<std::int32_t> unit;
    for (const tExportTable &table : tables) {
        if (!QRLIsDataValid(table.dataPtr))
            continue;
        const std::int32_t tableUnit = QRLGetDistanceUnit(table.dataPtr);
        if (unit && std::string(QRLExportUnitName(*unit)) != QRLExportUnitName(tableUnit))
            return std::nullopt;
        if (!unit)
            unit = tableUnit;
    }
    if (unit)
        return unit;
    return tables.empty() ? kDistanceUnitMeters : QRLGetDistanceUnit(tables.front().dataPtr);
}

std::optional<std::string> QRLTablesAsCSV(const std::vector<tExportTable> &tables)
{
    return SeparatedText(tables, tSeparated::csv);
}

std::optional<std::string> QRLTablesAsTabText(const std::vector<tExportTable> &tables)
{
    return SeparatedText(tables, tSeparated::tabs);
}

std::string QRLTablesAsJSON(const std::vector<tExportTable> &tables)
{
    std::string text = "{\n  " + JSONMember("format", "\"quorlscope-tables\"") + ",\n  " +
                       JSONMember("version", std::to_string(kJSONVersion)) + ",\n  \"tables\": [";
    for (std::size_t i = 0; i < tables.size(); ++i)
        text += std::string(i == 0 ? "\n" : ",\n") + JSONTable(tables[i]);
    return text + (tables.empty() ? "]\n}\n" : "\n  ]\n}\n");
}
