// What a correct sheet shows, worked out without the program: the textbook
// depth-of-field formula in metres, the number formats of the sheet, and the
// labels of the strings table read from the source tree.
#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace expected
{

constexpr double kMetresPerFoot = 0.3048;
constexpr double kApertures[10] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
const char *const kApertureTexts[10] = {" 1.4", " 2  ",  " 2.8", " 4  ", " 5.6",
                                        " 8  ", "11   ", "16  ", "22  ", "32  "};

struct Row {
    double nearDistance; // in the table's unit
    double farDistance;  // in the table's unit; meaningless when noFarLimit
    bool noFarLimit;
};

// near = D f² / (f² + N c (D - f)), far = D f² / (f² - N c (D - f)), with
// D, f and c in metres; a far denominator below zero means no far limit.
// Feet are converted to metres and back with the exact 0.3048.
inline std::vector<Row> Rows(double distance, bool feet, double focalMillimetres, double circleMetres)
{
    const double unit = feet ? kMetresPerFoot : 1.0;
    const double d = distance * unit;
    const double f = focalMillimetres / 1000.0;
    std::vector<Row> rows;
    for (double n : kApertures) {
        const double spread = n * circleMetres * (d - f);
        const double nearM = d * f * f / (f * f + spread);
        const double farDenominator = f * f - spread;
        Row row{nearM / unit, 0.0, farDenominator < 0.0};
        if (!row.noFarLimit)
            row.farDistance = d * f * f / farDenominator / unit;
        rows.push_back(row);
    }
    return rows;
}

inline std::string Format(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

inline std::string NearText(const Row &row)
{
    return Format("%6.3f", row.nearDistance);
}

inline std::string FarText(const Row &row)
{
    return row.noFarLimit ? std::string("inf") : Format("%6.3f", row.farDistance);
}

inline std::string SourceFile(const std::string &relativePath)
{
    std::ifstream in(std::string(QRL_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The "key" = "value"; pairs of the source strings table.
inline std::map<std::string, std::string> StringsTable()
{
    std::string text = SourceFile("resources/Localizable.strings");
    text = std::regex_replace(text, std::regex(R"(/\*[^*]*\*+(?:[^/*][^*]*\*+)*/)"), "");
    static const std::regex entry(R"re("([^"]*)"\s*=\s*"([^"]*)"\s*;)re");
    std::map<std::string, std::string> table;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), entry); it != std::sregex_iterator(); ++it)
        table[(*it)[1]] = (*it)[2];
    return table;
}

// What the sheet shows for a label key: its entry, or the key itself.
inline std::string Label(const std::string &key)
{
    static const std::map<std::string, std::string> table = StringsTable();
    const auto it = table.find(key);
    return it == table.end() ? key : it->second;
}

} // namespace expected
