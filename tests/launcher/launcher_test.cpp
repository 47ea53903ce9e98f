// `quorlscope` starts the command-line program for `table` and `export` and
// the windowed program for everything else, in the same process and with
// the same arguments; the command-line program hands a PDF export to the
// windowed one, with no display needed. The test lays out a folder as the
// install does, with a stand-in that reports how it was started.
#include "tests/support/common.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

using namespace qrltest;

namespace
{

// What the stand-in prints when started as program with these arguments.
std::string Started(const std::string &program, const std::vector<std::string> &argv,
                    const std::string &platform)
{
    std::string text = "program " + program + "\n";
    for (std::size_t i = 0; i < argv.size(); ++i)
        text += "argv[" + std::to_string(i) + "] " + argv[i] + "\n";
    return text + "QT_QPA_PLATFORM " + platform + "\n";
}

} // namespace

// One row per start: the program (argv[0]), its arguments and environment,
// and its status, output and errors, in a folder laid out as installed.
TEST(Launcher, RoutesEachStartToItsProgram)
{
    std::string pattern = (fs::temp_directory_path() / "qrl-launcher-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern, launcher = root / QRL_BINDIR / "quorlscope";
    const fs::path programs = root / QRL_PROGRAMS_INSTALL_DIR, link = root / "elsewhere" / "quorlscope";
    const std::string cli = (programs / "quorlscope-cli").string();
    fs::create_directories(launcher.parent_path());
    fs::create_directories(programs);
    fs::create_directories(link.parent_path());
    fs::copy_file(QRL_LAUNCHER, launcher);
    fs::create_symlink(launcher, link); // as in a folder on PATH
    fs::copy_file(QRL_STAND_IN, programs / "quorlscope-gui");
    fs::copy_file(QRL_STAND_IN, cli);
    const std::string missing = (root / "none.qrtb").string(), csv = (root / "out.csv").string();
    const std::string guiPath = (launcher.parent_path() / "").string() +
                                fs::path(QRL_PROGRAMS_INSTALL_DIR).lexically_relative(QRL_BINDIR).string() +
                                "/quorlscope-gui";
    const std::vector<std::string> table = {"table",    "--distance", "3",        "--focal", "50",
                                            "--camera", "fullframe",  "--circle", "30"};
    std::vector<std::string> csvTable = table;
    csvTable.insert(csvTable.end(), {"--unit", "m", "--format", "csv"});
    // clang-format off
    const struct {
        std::function<void()> setUp; // a step first
        fs::path program;
        std::vector<std::string> arguments;
        std::string environment; // QT_QPA_PLATFORM set, else unset
        int status;
        std::string started; // the program the stand-in reports, with the same arguments
        std::string out, err; // else: a part of the output, and of the errors ("" for none)
    } rows[] = {
        {{}, launcher, table, "", 0, "quorlscope-cli (unset)", "", ""},
        {{}, launcher, {"export", "my lens.qrtb", "--to", "kit card.json"}, "", 0, "quorlscope-cli (unset)", "", ""},
        {{}, launcher, {}, "", 0, "quorlscope-gui (unset)", "", ""},
        {{}, launcher, {"--help"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {{}, launcher, {"table.qrtb"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {{}, launcher, {"tables"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {{}, launcher, {"-platform", "offscreen", "export"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {{}, link, {"--version"}, "", 0, "quorlscope-gui (unset)", "", ""},
        // The real command-line program draws no PDF: it hands the export to
        // the windowed program on the offscreen platform, even when the user
        // chose another one; other formats it writes itself.
        {[&] { fs::copy_file(QRL_COMMAND_LINE, cli, fs::copy_options::overwrite_existing); }, cli, {"export", "a.qrtb", "b.qrtb", "--to", "kit card.pdf"}, "", 0, "quorlscope-gui offscreen", "", ""},
        {{}, cli, {"export", "a.qrtb", "--to=CARD.PDF"}, "", 0, "quorlscope-gui offscreen", "", ""},
        {{}, cli, {"export", "a.qrtb", "--to", "card.pdf"}, "QT_QPA_PLATFORM=xcb", 0, "quorlscope-gui offscreen", "", ""},
        {{}, cli, {"export", missing, "--to", csv}, "", 1, "", "", "quorlscope: cannot read " + missing + ": No such file or directory\n"},
        {{}, cli, csvTable, "", 0, "", "table,full-frame digital,50,3,30,1.4,2.858,3.156,", ""},
        {[&] { fs::remove(guiPath); }, launcher, {"doc.qrtb"}, "", 127, "", "", "quorlscope: cannot start " + guiPath + ": No such file or directory\n"},
        {[&] { fs::permissions(cli, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read); }, launcher, {"table"}, "", 126, "", "", "quorlscope-cli: Permission denied\n"}};
    // clang-format on
    for (const auto &row : rows) {
        if (row.setUp)
            row.setUp();
        std::vector<std::string> argv = {row.program.string()};
        argv.insert(argv.end(), row.arguments.begin(), row.arguments.end());
        const Ran ran = RunProcess(argv, {"DISPLAY", "WAYLAND_DISPLAY",
                                          row.environment.empty() ? "QT_QPA_PLATFORM" : row.environment});
        const std::string &out = ran.out, &err = ran.err;
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : argv[0]);
        EXPECT_EQ(ran.status, row.status) << err;
        if (!row.started.empty()) {
            const std::size_t space = row.started.find(' ');
            EXPECT_EQ(out, Started(row.started.substr(0, space), argv, row.started.substr(space + 1)));
        } else {
            EXPECT_TRUE(row.out.empty() ? out.empty() : out.find(row.out) != std::string::npos) << out;
        }
        EXPECT_TRUE(row.err.empty() ? err.empty() : err.find(row.err) != std::string::npos) << err;
    }
    EXPECT_FALSE(fs::exists(csv));
    fs::remove_all(root);
}
