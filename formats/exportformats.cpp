// Export text of tables and bracketing plans; numbers with a point whatever the user's locale.
#include "formats/exportformats.h"

#include "model/figures.h"
#include "platform/strings.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

const char *UnitName(std::int32_t distanceUnit)
{
    return distanceUnit == kDistanceUnitFeet ? "ft" : "m";
}

// Fixed English whatever the interface language.
const char *CameraName(std::int16_t cameraType)
{
    static const char *const names[] = {"APS-C digital", "full-frame digital", "35 mm film", "medium format"};
    return cameraType >= APSC && cameraType <= mediumFormat ? names[cameraType] : "digital camera";
}

// The title as valid UTF-8, so that strict readers accept the file: each
// broken sequence (the longest start of one, at least a byte) becomes U+FFFD.
std::string ValidUTF8(const std::string &text)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    std::string valid;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        // The second byte's range rules out overlong forms, surrogates, > U+10FFFF.
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        std::size_t k = 1;
        while (k < length && i + k < text.size() &&
               (k == 1 ? byte(i + k) >= low && byte(i + k) <= high : (byte(i + k) & 0xC0) == 0x80))
            ++k;
        valid += k == length ? text.substr(i, length) : std::string("\xEF\xBF\xBD");
        i += k;
    }
    return valid;
}

// A spreadsheet runs a field beginning with = + - @, a tab or a carriage
// return as a formula: such a title gets an apostrophe to show it as text.
std::string InertTitle(const std::string &title)
{
    return !title.empty() && std::string("=+-@\t\r").find(title.front()) != std::string::npos ? "'" + title
                                                                                              : title;
}

// A number in format; infinite for no limit, none for no finite value.
std::string Number(double value, const char *format, const char *infinite, const char *none)
{
    return value == kNoLimit ? infinite : std::isfinite(value) ? formatNumber(format, value) : none;
}

std::string FigureField(double value)
{
    return Number(value, "%.3f", "inf", "");
}

std::string JSONNumber(double value)
{
    return Number(value, "%.15g", "null", "null");
}

std::string JSONFigure(double value)
{
    return Number(value, "%.15g", "\"inf\"", "null");
}

std::vector<std::string> RowFields(const tExportTable &table, const tApertureFigures &row)
{
    const tDataPtr data = table.dataPtr;
    std::vector<std::string> fields = {InertTitle(ValidUTF8(table.title)),
                                       CameraName(QRLGetCameraType(data)),
                                       Number(QRLGetFocalLength(data), "%.15g", "", ""),
                                       Number(QRLGetDistance(data), "%.15g", "", ""),
                                       Number(QRLGetUnsharpCircleinMicroMeter(data), "%.15g", "", ""),
                                       formatNumber("%g", row.aperture)};
    for (double value : {row.nearDistance, row.farDistance, row.hyperfocalDistance, row.totalDepth,
                         row.depthInFront, row.depthBehind, row.behindToFrontRatio, row.airyDiscMicroMeter})
        fields.push_back(FigureField(value));
    fields.push_back(row.diffractionLimited ? "yes" : "no");
    return fields;
}

// RFC 4180 quoting for the CSV; blanks for tabs and line breaks otherwise.
std::string Line(const std::vector<std::string> &fields, bool csv)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += csv ? ',' : '\t';
        const bool quoted = csv && fields[i].find_first_of(",\"\r\n") != std::string::npos;
        line += quoted ? "\"" : "";
        for (char c : fields[i]) {
            if (quoted && c == '"')
                line += '"';
            line += !csv && (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
        }
        line += quoted ? "\"" : "";
    }
    return line + (csv ? "\r\n" : "\n");
}

std::optional<std::string> SeparatedText(const std::vector<tExportTable> &tables, bool csv)
{
    const std::optional<std::int32_t> unit = QRLExportHeadingUnit(tables);
    if (!unit)
        return std::nullopt;
    const std::string u = std::string(" (") + UnitName(*unit) + ")";
    std::string text =
        Line({"table", "camera", "focal length (mm)", "distance" + u, "circle of confusion (\xC2\xB5m)",
              "aperture (f-number)", "near limit" + u, "far limit" + u, "hyperfocal distance" + u,
              "total depth" + u, "depth in front" + u, "depth behind" + u, "behind/front ratio",
              "Airy disc (\xC2\xB5m)", "diffraction-limited"},
             csv);
    for (const tExportTable &table : tables) {
        tTableFigures figures;
        if (QRLGetTableFigures(table.dataPtr, &figures))
            for (const tApertureFigures &row : figures.rows)
                text += Line(RowFields(table, row), csv);
    }
    return text;
}

std::string JSONString(const std::string &text)
{
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (byte < 0x20) {
            static const char hex[] = "0123456789abcdef";
            quoted += std::string("\\u00") + hex[byte >> 4] + hex[byte & 0xF];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string Joined(const std::vector<std::string> &items, const char *open, const char *separator,
                   const char *close)
{
    std::string text = open;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i > 0 ? separator : "") + items[i];
    return text + close;
}

using tMembers = std::vector<std::pair<const char *, std::string>>;

std::string JSONObject(const tMembers &members, const char *open = "{", const char *separator = ", ",
                       const char *close = "}")
{
    std::vector<std::string> items;
    for (const auto &[name, value] : members)
        items.push_back(std::string("\"") + name + "\": " + value);
    return Joined(items, open, separator, close);
}

std::string JSONRow(const tApertureFigures &row)
{
    return JSONObject({{"aperture", JSONNumber(row.aperture)},
                       {"near", JSONFigure(row.nearDistance)},
                       {"far", JSONFigure(row.farDistance)},
                       {"hyperfocal", JSONFigure(row.hyperfocalDistance)},
                       {"totalDepth", JSONFigure(row.totalDepth)},
                       {"depthInFront", JSONFigure(row.depthInFront)},
                       {"depthBehind", JSONFigure(row.depthBehind)},
                       {"behindToFrontRatio", JSONFigure(row.behindToFrontRatio)},
                       {"airyDiscMicrometres", JSONNumber(row.airyDiscMicroMeter)},
                       {"diffractionLimited", row.diffractionLimited ? "true" : "false"}});
}

std::string JSONTable(const tExportTable &table)
{
    const tDataPtr data = table.dataPtr;
    tTableFigures figures;
    const bool computed = QRLGetTableFigures(data, &figures);
    tMembers members = {{"title", JSONString(ValidUTF8(table.title))},
                        {"computed", computed ? "true" : "false"}};
    if (computed) {
        const std::int16_t camera = QRLGetCameraType(data);
        std::vector<std::string> rows;
        for (const tApertureFigures &row : figures.rows)
            rows.push_back(JSONRow(row));
        members.push_back({"unit", JSONString(UnitName(QRLGetDistanceUnit(data)))});
        members.push_back({"camera", JSONObject({{"type", std::to_string(camera)},
                                                 {"name", JSONString(CameraName(camera))}})});
        members.push_back(
            {"arguments", JSONObject({{"distance", JSONNumber(QRLGetDistance(data))},
                                      {"focalLengthMillimetres", JSONNumber(QRLGetFocalLength(data))},
                                      {"circleOfConfusionMicrometres",
                                       JSONNumber(QRLGetUnsharpCircleinMicroMeter(data))}})});
        members.push_back({"rows", Joined(rows, "[\n        ", ",\n        ", "\n      ]")});
    }
    return JSONObject(members, "    {\n      ", ",\n      ", "\n    }");
}

// Cells right-aligned in columns 15 wide (5 for the first), or one more than
// their widest cell; the micro sign is one character in two bytes.
std::vector<std::string> Aligned(const std::vector<std::vector<std::string>> &lines)
{
    const auto shown = [](const std::string &cell) {
        return std::size_t(
            std::count_if(cell.begin(), cell.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    std::vector<std::size_t> widths(lines.front().size(), 15);
    widths[0] = 5;
    for (const auto &line : lines)
        for (std::size_t i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], shown(line[i]) + 1);
    std::vector<std::string> aligned;
    for (const auto &line : lines) {
        aligned.emplace_back();
        for (std::size_t i = 0; i < line.size(); ++i)
            aligned.back() += std::string(widths[i] - shown(line[i]), ' ') + line[i];
    }
    return aligned;
}

std::string TextTable(const tExportTable &table)
{
    const tDataPtr data = table.dataPtr;
    const std::string unit = UnitName(QRLGetDistanceUnit(data));
    std::string text = ValidUTF8(table.title);
    tTableFigures figures;
    if (!QRLGetTableFigures(data, &figures))
        return text + ": focal length - mm, distance -, circle of confusion - \xC2\xB5m, camera -\n";
    text += ": focal length " + formatNumber("%.15g", QRLGetFocalLength(data)) + " mm, distance " +
            formatNumber("%.15g", QRLGetDistance(data)) + " " + unit + ", circle of confusion " +
            formatNumber("%.15g", QRLGetUnsharpCircleinMicroMeter(data)) + " \xC2\xB5m, camera " +
            CameraName(QRLGetCameraType(data)) + "\n";
    const std::string u = "(" + unit + ")";
    std::vector<std::vector<std::string>> lines = {{"f/", "near " + u, "far " + u, "hyperfocal " + u,
                                                    "depth " + u, "in front " + u, "behind " + u,
                                                    "Airy (\xC2\xB5m)"}};
    for (const tApertureFigures &row : figures.rows) {
        lines.push_back({formatNumber("%g", row.aperture)});
        for (double value : {row.nearDistance, row.farDistance, row.hyperfocalDistance, row.totalDepth,
                             row.depthInFront, row.depthBehind, row.airyDiscMicroMeter})
            lines.back().push_back(FigureField(value).empty() ? "-" : FigureField(value));
    }
    const std::vector<std::string> aligned = Aligned(lines);
    for (std::size_t l = 0; l < aligned.size(); ++l)
        text += aligned[l] + (l > 0 && figures.rows[l - 1].diffractionLimited ? "  diffraction\n" : "\n");
    return text;
}

} // namespace

std::vector<std::vector<std::string>> QRLPlanRows(const tBracketingPlan &plan)
{
    std::vector<std::vector<std::string>> rows;
    for (std::size_t i = 0; i < plan.shots.size(); ++i) {
        const tBracketingShot &shot = plan.shots[i];
        rows.push_back({std::to_string(i + 1), FigureField(shot.focusDistance),
                        FigureField(shot.nearDistance), FigureField(shot.farDistance)});
    }
    return rows;
}

std::string QRLPlanAsText(const tBracketingArguments &arguments, const tBracketingPlan &plan)
{
    const std::string unit = UnitName(arguments.distanceUnit);
    const std::string u = "(" + unit + ")";
    std::string text =
        "stack: focal length " + formatNumber("%.15g", arguments.focalLength) + " mm, f/" +
        formatNumber("%g", arguments.aperture) + ", circle of confusion " +
        formatNumber("%.15g", arguments.unsharpCircleDiameter * 1000000.0) + " \xC2\xB5m, camera " +
        CameraName(arguments.cameraType) + ", near limit " + formatNumber("%.15g", arguments.nearLimit) +
        " " + unit + ", far limit " +
        (arguments.farLimit == kNoLimit ? "inf" : formatNumber("%.15g", arguments.farLimit) + " " + unit) +
        ", overlap " + formatNumber("%g", arguments.overlap) + "\n" + "hyperfocal distance " +
        FigureField(plan.hyperfocalDistance) + " " + unit + ", " + std::to_string(plan.shots.size()) +
        (plan.shots.size() == 1 ? " shot\n" : " shots\n");
    std::vector<std::vector<std::string>> lines = {{"shot", "focus " + u, "near " + u, "far " + u}};
    for (const std::vector<std::string> &row : QRLPlanRows(plan))
        lines.push_back(row);
    for (const std::string &line : Aligned(lines))
        text += line + "\n";
    return text;
}

std::string QRLPlanAsCSV(const tBracketingArguments &arguments, const tBracketingPlan &plan)
{
    const std::string u = std::string(" (") + UnitName(arguments.distanceUnit) + ")";
    std::string text = Line(
        {"shot", "focus distance" + u, "near limit" + u, "far limit" + u, "hyperfocal distance" + u}, true);
    for (std::vector<std::string> row : QRLPlanRows(plan)) {
        row.push_back(FigureField(plan.hyperfocalDistance));
        text += Line(row, true);
    }
    return text;
}

std::string QRLPlanFigure(double distance)
{
    return FigureField(distance);
}

std::string QRLPlanAsJSON(const tBracketingArguments &arguments, const tBracketingPlan &plan)
{
    std::vector<std::string> shots;
    for (std::size_t i = 0; i < plan.shots.size(); ++i)
        shots.push_back(JSONObject({{"shot", std::to_string(i + 1)},
                                    {"focus", JSONNumber(plan.shots[i].focusDistance)},
                                    {"near", JSONNumber(plan.shots[i].nearDistance)},
                                    {"far", JSONFigure(plan.shots[i].farDistance)}}));
    const tMembers members = {
        {"format", "\"quorlscope-bracketing\""},
        {"version", "1"},
        {"unit", JSONString(UnitName(arguments.distanceUnit))},
        {"camera", JSONObject({{"type", std::to_string(arguments.cameraType)},
                               {"name", JSONString(CameraName(arguments.cameraType))}})},
        {"arguments", JSONObject({{"focalLengthMillimetres", JSONNumber(arguments.focalLength)},
                                  {"aperture", JSONNumber(arguments.aperture)},
                                  {"circleOfConfusionMicrometres",
                                   JSONNumber(arguments.unsharpCircleDiameter * 1000000.0)},
                                  {"nearLimit", JSONNumber(arguments.nearLimit)},
                                  {"farLimit", JSONFigure(arguments.farLimit)},
                                  {"overlap", JSONNumber(arguments.overlap)}})},
        {"hyperfocal", JSONNumber(plan.hyperfocalDistance)},
        {"shots", shots.empty() ? "[]" : Joined(shots, "[\n    ", ",\n    ", "\n  ]")}};
    return JSONObject(members, "{\n  ", ",\n  ", "\n}\n");
}

// Units compare by name: 0, 1 and 3 are all metres.
std::optional<std::int32_t> QRLExportHeadingUnit(const std::vector<tExportTable> &tables)
{
    std::optional<std::int32_t> unit;
    for (const tExportTable &table : tables) {
        const std::int32_t tableUnit = QRLGetDistanceUnit(table.dataPtr);
        if (QRLIsDataValid(table.dataPtr) && !unit)
            unit = tableUnit;
        else if (QRLIsDataValid(table.dataPtr) && std::string(UnitName(*unit)) != UnitName(tableUnit))
            return std::nullopt;
    }
    if (!unit)
        unit = tables.empty() ? kDistanceUnitMeters : QRLGetDistanceUnit(tables.front().dataPtr);
    return unit;
}

std::optional<std::string> QRLTablesAsCSV(const std::vector<tExportTable> &tables)
{
    return SeparatedText(tables, true);
}

std::optional<std::string> QRLTablesAsTabText(const std::vector<tExportTable> &tables)
{
    return SeparatedText(tables, false);
}

std::string QRLTablesAsText(const std::vector<tExportTable> &tables)
{
    std::string text;
    for (std::size_t i = 0; i < tables.size(); ++i)
        text += (i > 0 ? "\n" : "") + TextTable(tables[i]);
    return text;
}

std::string QRLTablesAsJSON(const std::vector<tExportTable> &tables)
{
    std::vector<std::string> items;
    for (const tExportTable &table : tables)
        items.push_back(JSONTable(table));
    const std::string list = tables.empty() ? "[]" : Joined(items, "[\n", ",\n", "\n  ]");
    return JSONObject({{"format", "\"quorlscope-tables\""}, {"version", "1"}, {"tables", list}}, "{\n  ",
                      ",\n  ", "\n}\n");
}
