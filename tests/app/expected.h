// What a correct sheet shows, worked out without the program (the textbook
// depth-of-field formula, the sheet's number formats, the source strings
// table), and the set-up steps the sheet and window tests share.
#pragma once

#include "tests/support/app_driver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
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
// (feet converted with the exact 0.3048); a far denominator below zero means
// no far limit.
inline std::vector<Row> Rows(double distance, bool feet, double focalMillimetres, double circleMetres)
{
    const double unit = feet ? 0.3048 : 1.0, d = distance * unit, f = focalMillimetres / 1000.0;
    std::vector<Row> rows;
    for (double n : kApertures) {
        const double spread = n * circleMetres * (d - f), farDenominator = f * f - spread;
        rows.push_back(
            {d * f * f / (f * f + spread) / unit, d * f * f / farDenominator / unit, farDenominator < 0.0});
    }
    return rows;
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

// The "key" = "value"; pairs of the source strings table.
inline std::map<std::string, std::string> StringsTable()
{
    std::ifstream in(std::string(QRL_SOURCE_DIR) + "/resources/Localizable.strings", std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
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

// A copy of the source bundle the test may break.
inline std::filesystem::path CopyOfTheBundle()
{
    const std::filesystem::path bundle = std::filesystem::path(qrltest::TempFolder()) / "bundle";
    std::filesystem::copy(std::filesystem::path(QRL_SOURCE_DIR) / "resources", bundle,
                          std::filesystem::copy_options::recursive);
    return bundle;
}

// The distance unit chosen as a user does, in the preferences window.
inline void ChooseDistanceUnit(int item)
{
    qrltest::SendCommand("pref");
    WindowRef prefs = FrontWindow();
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(GetWindowNibName(prefs), "PrefWindow");
    ASSERT_TRUE(ChoosePopupItem(qrltest::Control(prefs, "DIUN"), item));
    ASSERT_TRUE(ClickCommandButton(prefs, FOUR_CHAR_CODE("ok  ")));
    ASSERT_FALSE(IsWindowVisible(prefs));
}

} // namespace expected
