// What a correct sheet shows, worked out without the program (the textbook
// depth-of-field formula in tests/support/optics.h, the source strings
// table), and the set-up steps the sheet and window tests share.
#pragma once

#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

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
    ASSERT_TRUE(qrltest::ChooseItem(qrltest::Find<QComboBox>(prefs, "distanceUnitField"), item));
    ASSERT_TRUE(qrltest::Click(qrltest::Find<QAbstractButton>(prefs, "okButton")));
    ASSERT_FALSE(IsWindowVisible(prefs));
}

} // namespace expected
