// Files named on the command line: each one that cannot be read gets an
// alert naming it, and the others still open.
#include "app/opendocuments.h"
#include "document/document.h"
#include "platform/commandline.h"
#include "tests/support/app_driver.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

CommandLine parsed(std::vector<std::string> arguments)
{
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return CheckCommandLineOptions(int(arguments.size()), argv.data());
}

} // namespace

TEST(CommandLineFiles, MissingFileAndFolderAreNamedAndTheOthersStillOpen)
{
    StartApplication();
    const std::string folder = TempFolder();
    const std::string first = CopySavedTable(folder, "first.qrtb");
    const std::string second = CopySavedTable(folder, "second.qrtb");
    fs::create_directory(folder + "/folder.qrtb");
    BOpenDocumentsAtLaunch({first, folder + "/missing.qrtb", folder + "/folder.qrtb", second});
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].message, "Could not open \u201cmissing.qrtb\u201d");
    EXPECT_EQ(alerts[0].explanation, "There is no such file: " + folder + "/missing.qrtb");
    EXPECT_EQ(alerts[1].message, "Could not open \u201cfolder.qrtb\u201d");
    EXPECT_EQ(alerts[1].explanation, "It is not a file: " + folder + "/folder.qrtb");
    // The readable files open once the event loop runs: the first into the
    // empty window of the launch.
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"Untitled "}));
    ProcessPendingEvents();
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"first.qrtb", "second.qrtb"}));
    EXPECT_TRUE(AlertMessages().empty());
}

TEST(CommandLineFiles, UnreadableFileIsNamedAndTheOthersStillOpen)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    StartApplication();
    const std::string folder = TempFolder();
    const std::string locked = CopySavedTable(folder, "locked.qrtb");
    fs::permissions(locked, fs::perms::none);
    BOpenDocumentsAtLaunch({locked, CopySavedTable(folder, "open.qrtb")});
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "Could not open \u201clocked.qrtb\u201d");
    EXPECT_EQ(alerts[0].explanation, "You are not allowed to read it: " + locked);
    ProcessPendingEvents();
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"open.qrtb"}));
}

TEST(CommandLineFiles, NothingReadableLeavesTheEmptyWindow)
{
    StartApplication();
    BOpenDocumentsAtLaunch({TempFolder() + "/gone.qrtb"});
    EXPECT_EQ(TakeShownAlerts().size(), 1u);
    ProcessPendingEvents();
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"Untitled "}));
}

// A name's bytes are kept, whatever their encoding.
TEST(CommandLineOptions, FilesBecomeAbsoluteInOrderAndMayStartWithADashAfterTwoDashes)
{
    const std::string cwd = fs::current_path().string();
    const CommandLine commandLine =
        parsed({"quorlscope", "b.qrtb", "/tmp/../tmp/a.qrtb", "./\xFF\xFE.qrtb", "--", "-c.qrtb"});
    EXPECT_FALSE(commandLine.finished);
    EXPECT_EQ(commandLine.files, (std::vector<std::string>{cwd + "/b.qrtb", "/tmp/a.qrtb",
                                                           cwd + "/\xFF\xFE.qrtb", cwd + "/-c.qrtb"}));
}

TEST(CommandLineOptions, UnknownOptionEndsWithAUsageError)
{
    testing::internal::CaptureStderr();
    const CommandLine commandLine = parsed({"quorlscope", "--frobnicate", "a.qrtb"});
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(commandLine.finished);
    EXPECT_EQ(commandLine.exitCode, 2);
    EXPECT_TRUE(commandLine.files.empty());
    EXPECT_NE(printed.find("Unknown option 'frobnicate'"), std::string::npos) << printed;
}

TEST(CommandLineFiles, TheAlertSpeaksTheUsersLanguage)
{
    UseSystemLocale("de_DE.UTF-8");
    StartApplication();
    const std::string folder = TempFolder();
    BOpenDocumentsAtLaunch({folder + "/fehlt.qrtb"});
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "\u201e"
                                 "fehlt.qrtb\u201c konnte nicht ge\u00f6ffnet werden");
    EXPECT_EQ(alerts[0].explanation, "Diese Datei gibt es nicht: " + folder + "/fehlt.qrtb");
}
