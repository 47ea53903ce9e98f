// What a correct sheet shows, worked out without the program (the textbook
// depth-of-field formula in tests/support/optics.h, the English labels), and
// the set-up steps the sheet and window tests share.
#pragma once

#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace expected
{

// What the sheet shows in English for a label, by a short name.
inline std::string Label(const std::string &key)
{
    static const std::map<std::string, std::string> labels = {
        {"focal", "Focal length:"},
        {"distance", "Distance:"},
        {"distancemeter", "Dist. (m):"},
        {"distancefeet", "Dist. (ft):"},
        {"unsharpcircle", "Conf. circle (\u00b5m):"},
        {"camera", "Camera:"},
        {"aperture", "Aperture"},
        {"neardistance", "Near limit"},
        {"neardistancemeter", "Near limit (m)"},
        {"neardistancefeet", "Near limit (ft)"},
        {"fardistance", "Far limit"},
        {"fardistancemeter", "Far limit (m)"},
        {"fardistancefeet", "Far limit (ft)"},
        {"apsc", "APS-C digital"},
        {"fullframe", "Full-frame digital"},
        {"kleinbild", "35 mm film"},
        {"mediumformat", "Medium format"},
        {"digitalCamera", "Digital camera"},
    };
    return labels.at(key);
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
    qrltest::Trigger("Preferences");
    QWidget *prefs = platform::frontWindow();
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(prefs->objectName(), QStringLiteral("PrefWindow"));
    ASSERT_TRUE(qrltest::ChooseItem(qrltest::Find<QComboBox>(prefs, "distanceUnitField"), item));
    ASSERT_TRUE(qrltest::Click(qrltest::Find<QAbstractButton>(prefs, "okButton")));
    ASSERT_FALSE(prefs->isVisible());
}

} // namespace expected
