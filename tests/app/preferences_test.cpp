// The distance unit as stored: a value the program does not know reads as
// metres everywhere, and a choice that cannot be stored is reported.
#include "app/windowmodule.h"
#include "document/document.h"
#include "expected.h"
#include "files/file.h"
#include "platform/prefs.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/mounts.h"

#include <QSettings>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

std::vector<std::uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Where the preferences live: <configuration folder>/<program name>/<program name>.conf.
QString ConfigurationFile()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Quorlscope/Quorlscope.conf";
}

} // namespace

// "Distance Unit" = 7 in the configuration file: the table is computed and
// labelled in metres, the preferences window shows metres, and the saved
// document records metres (1).
TEST(Preferences, UnknownStoredUnitIsMetresEverywhere)
{
    StartApplication();
    {
        QSettings file(ConfigurationFile(), QSettings::IniFormat);
        file.setValue("Distance Unit", "7");
    }
    ASSERT_EQ(platform::preferences().value("Distance Unit").toString(), "7");
    const TableWindowState shown = ComputeTable({"3", "50", {}, {}});
    EXPECT_EQ(shown.distanceLabel, "distance in m: ");
    EXPECT_EQ(QRLGetDistanceUnit(BGetCurrentDocsDataPtr()), 1);
    EXPECT_EQ(TextAt(DocumentAt(0), 308, 20), " 3.000");
    QWidget *prefs = BGetPrefWindowRef();
    EXPECT_EQ(Find<QComboBox>(prefs, "distanceUnitField")->currentIndex(), 0);
    const std::string folder = TempFolder();
    Trigger("Save");
    ASSERT_TRUE(ChooseSaveLocation(OnlyDialog(), folder, "unit"));
    const std::vector<std::uint8_t> bytes = ReadBytes(folder + "/unit.qrtb");
    ASSERT_EQ(bytes.size(), 280u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.begin() + 8),
              (std::vector<std::uint8_t>{0, 0, 0, 1}));
}

// With the configuration folder read-only, choosing feet works for the
// session, and a note says the choice could not be saved and why.
TEST(Preferences, ChoiceThatCannotBeStoredIsReported)
{
    StartApplication();
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    const std::string file = ConfigurationFile().toStdString();
    const std::string folder = std::filesystem::path(file).parent_path();
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(MountReadOnly(folder));
    TakeShownAlerts();
    expected::ChooseDistanceUnit(2);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "Your choice could not be saved");
    EXPECT_EQ(alerts[0].explanation, "The preferences file \u201c" + file +
                                         "\u201d could not be written: " + std::strerror(EROFS) +
                                         ".\nThe choice holds until the application quits.");
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(ComputeTable({"3", "50", {}, {}}).distanceLabel, "distance in ft: ");
    EXPECT_EQ(QRLGetDistanceUnit(BGetCurrentDocsDataPtr()), 2);
}
