// Depth-of-field figures worked out without the program: the textbook
// formula and the sheet's number format, for every test that checks a
// table, and the words of a text, for comparing whole fields.
#pragma once

#include "tests/support/common.h"

#include <cstdio>
#include <string>
#include <vector>

namespace expected
{

constexpr double kApertures[10] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
const char *const kApertureTexts[10] = {" 1.4", " 2  ",  " 2.8", " 4  ", " 5.6",
                                        " 8  ", "11   ", "16  ", "22  ", "32  "};

struct Row {
    double nearDistance, farDistance; // in the table's unit; far meaningless when noFarLimit
    bool noFarLimit;
};

// near = D f² / (f² + N c (D - f)), far = D f² / (f² - N c (D - f)) in metres
// (feet converted with the exact 0.3048); a far denominator of zero or below means
// no far limit.
inline Row Limits(double distance, bool feet, double focalMillimetres, double circleMetres, double n)
{
    const double unit = feet ? 0.3048 : 1.0, d = distance * unit, f = focalMillimetres / 1000.0;
    const double spread = n * circleMetres * (d - f), farDenominator = f * f - spread;
    return {d * f * f / (f * f + spread) / unit, d * f * f / farDenominator / unit, farDenominator <= 0.0};
}

inline std::vector<Row> Rows(double distance, bool feet, double focalMillimetres, double circleMetres)
{
    std::vector<Row> rows;
    for (double n : kApertures)
        rows.push_back(Limits(distance, feet, focalMillimetres, circleMetres, n));
    return rows;
}

// H = f² / (N c) + f: focused there or beyond, the far limit is infinite.
inline double Hyperfocal(bool feet, double focalMillimetres, double circleMetres, double n)
{
    const double f = focalMillimetres / 1000.0;
    return (f * f / (n * circleMetres) + f) / (feet ? 0.3048 : 1.0);
}

inline std::string NearText(const Row &row)
{
    char text[64];
    std::snprintf(text, sizeof text, "%6.3f", row.nearDistance);
    return text;
}

inline std::string FarText(const Row &row)
{
    return row.noFarLimit ? "inf" : NearText({row.farDistance, 0.0, false});
}

using qrltest::Words;

} // namespace expected
