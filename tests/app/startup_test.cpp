// Start-up as a user sees it: the splash, then one untitled window; the
// files named on the command line, each one that cannot be read named in an
// alert while the others still open; and the command line's options.
#include "app/opendocuments.h"
#include "document/document.h"
#include "platform/commandline.h"
#include "platform/icon.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplashScreen>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qrltest;
namespace fs = std::filesystem;

// The splash, 300 by 200 pixels, is up for 170 ticks of 1/60 s under the
// busy cursor and goes; then one untitled window, like one New makes later.
TEST(Startup, SplashThenOneUntitledWindow)
{
    StartApplication();
    const std::vector<SplashWait> waits = TakeSplashWaits();
    ASSERT_EQ(waits.size(), 1u);
    EXPECT_EQ(std::make_tuple(waits[0].window, waits[0].width, waits[0].height, waits[0].busyCursor),
              std::make_tuple("startupWindow", 300, 200, true));
    EXPECT_EQ(waits[0].duration.count(), std::lround(std::ceil(170 * 1000.0 / 60)));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    for (QWidget *widget : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<QSplashScreen *>(widget) && widget->isVisible());
    EXPECT_EQ(GetShowLog(), std::vector<std::string>{"MainWindow"});
    EXPECT_EQ(DocumentTitles(), std::vector<std::string>{"Untitled "});
    QWidget *first = DocumentAt(0);
    EXPECT_EQ(platform::frontWindow(), first);
    EXPECT_TRUE(AlertMessages().empty());
    Trigger("New");
    QWidget *second = DocumentAt(1);
    EXPECT_EQ(Texts(first), Texts(second));
    EXPECT_EQ(platform::contentBounds(first).size(), platform::contentBounds(second).size());
    auto menuTitles = [](QWidget *window) {
        QStringList titles;
        for (QAction *menu : qobject_cast<QMainWindow *>(window)->menuBar()->actions())
            titles << menu->text();
        return titles;
    };
    EXPECT_EQ(menuTitles(first).size(), 5);
    EXPECT_EQ(menuTitles(first), menuTitles(second));
}

// One row per list of files named: the alerts (message, explanation) shown
// at once, and the documents once the event loop runs; the first readable
// file takes the launch's empty window, which stays when none is readable.
TEST(CommandLineFiles, EachFileThatCannotBeReadIsNamedAndTheOthersStillOpen)
{
    StartApplication();
    const std::string folder = FreshFolder();
    const std::string first = CopySavedTable(folder, "first.qrtb"),
                      second = CopySavedTable(folder, "second.qrtb");
    fs::create_directory(folder + "/folder.qrtb");
    const struct {
        std::vector<std::string> files, alerts, titles;
    } rows[] = {
        {{folder + "/gone.qrtb"},
         {"Could not open \u201cgone.qrtb\u201d", "There is no such file: " + folder + "/gone.qrtb"},
         {"Untitled "}},
        {{first, folder + "/missing.qrtb", folder + "/folder.qrtb", second},
         {"Could not open \u201cmissing.qrtb\u201d", "There is no such file: " + folder + "/missing.qrtb",
          "Could not open \u201cfolder.qrtb\u201d", "It is not a file: " + folder + "/folder.qrtb"},
         {"first.qrtb", "second.qrtb"}}};
    for (const auto &row : rows) {
        const std::vector<std::string> before = DocumentTitles();
        BOpenDocumentsAtLaunch(row.files);
        EXPECT_EQ(Alerts(), row.alerts);
        EXPECT_EQ(DocumentTitles(), before); // not before the event loop runs
        ProcessPendingEvents();
        EXPECT_EQ(DocumentTitles(), row.titles);
        EXPECT_TRUE(AlertMessages().empty());
    }
}

// Root reads every file: as root, the test runs again in a child process
// that may not ignore file modes, which must pass it.
TEST(CommandLineFiles, UnreadableFileIsNamedAndTheOthersStillOpen)
{
    if (IgnoresFileModes()) {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        const Ran child = RunProcess(
            Unprivileged({fs::read_symlink("/proc/self/exe").string(),
                          "--gtest_filter=" + std::string(test->test_suite_name()) + "." + test->name()}),
            {"XDG_RUNTIME_DIR"});
        EXPECT_EQ(child.status, 0) << child.out << child.err;
        EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << child.out;
        return;
    }
    StartApplication();
    const std::string folder = FreshFolder();
    const std::string locked = CopySavedTable(folder, "locked.qrtb");
    fs::permissions(locked, fs::perms::none);
    BOpenDocumentsAtLaunch({locked, CopySavedTable(folder, "open.qrtb")});
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"Could not open \u201clocked.qrtb\u201d",
                                                  "You are not allowed to read it: " + locked}));
    ProcessPendingEvents();
    EXPECT_EQ(DocumentTitles(), std::vector<std::string>{"open.qrtb"});
}

TEST(CommandLineFiles, TheAlertSpeaksTheUsersLanguage)
{
    UseSystemLocale("de_DE.UTF-8");
    StartApplication();
    const std::string folder = FreshFolder();
    BOpenDocumentsAtLaunch({folder + "/fehlt.qrtb"});
    EXPECT_EQ(Alerts(), (std::vector<std::string>{"\u201e"
                                                  "fehlt.qrtb\u201c konnte nicht ge\u00f6ffnet werden",
                                                  "Diese Datei gibt es nicht: " + folder + "/fehlt.qrtb"}));
}

// Files become absolute, in order, keeping their bytes whatever the
// encoding, and may start with a dash after "--"; an unknown option ends
// with status 2 and says so.
TEST(CommandLineOptions, FilesAndUnknownOptions)
{
    const auto parsed = [](std::vector<std::string> arguments) {
        std::vector<char *> argv;
        for (std::string &argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        return CheckCommandLineOptions(int(arguments.size()), argv.data());
    };
    const std::string cwd = fs::current_path().string();
    const CommandLine files =
        parsed({"quorlscope", "b.qrtb", "/tmp/../tmp/a.qrtb", "./\xFF\xFE.qrtb", "--", "-c.qrtb"});
    EXPECT_FALSE(files.finished);
    EXPECT_EQ(files.files, (std::vector<std::string>{cwd + "/b.qrtb", "/tmp/a.qrtb", cwd + "/\xFF\xFE.qrtb",
                                                     cwd + "/-c.qrtb"}));
    testing::internal::CaptureStderr();
    const CommandLine unknown = parsed({"quorlscope", "--frobnicate", "a.qrtb"});
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::make_tuple(unknown.finished, unknown.exitCode, unknown.files.size()),
              std::make_tuple(true, 2, 0u));
    EXPECT_NE(printed.find("Unknown option 'frobnicate'"), std::string::npos) << printed;
}
