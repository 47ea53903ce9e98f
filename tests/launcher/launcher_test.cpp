// `quorlscope` starts the command-line program for `table` and `export` and
// the windowed program for everything else, in the same process and with the
// same arguments; the command-line program hands a PDF export to the windowed
// one, with no display needed. Each start runs in a folder laid out as
// installed, with a stand-in that reports how it was started.
#include "tests/support/common.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace qrltest;

TEST(Launcher, RoutesEachStartToItsProgram)
{
    const std::string root = FreshFolder() + "/";
    const fs::path launcher = root + QRL_BINDIR "/quorlscope", programs = root + QRL_PROGRAMS_INSTALL_DIR;
    const fs::path link = root + "elsewhere/quorlscope", cli = programs / "quorlscope-cli";
    const std::string gui = launcher.parent_path().string() + "/" +
                            fs::path(QRL_PROGRAMS_INSTALL_DIR).lexically_relative(QRL_BINDIR).string() +
                            "/quorlscope-gui";
    for (const fs::path &folder : {launcher.parent_path(), programs, link.parent_path()})
        fs::create_directories(folder);
    fs::copy_file(QRL_LAUNCHER, launcher);
    fs::create_symlink(launcher, link); // as in a folder on PATH
    fs::copy_file(QRL_STAND_IN, programs / "quorlscope-gui");
    fs::copy_file(QRL_STAND_IN, cli);
    const Strings table =
        Words("table --distance 3 --focal 50 --camera fullframe --circle 30 --unit m --format csv");
    const struct {
        std::function<void()> setUp; // a step first
        fs::path program;
        Strings arguments;
        std::string platform; // QT_QPA_PLATFORM set, else unset
        int status;
        std::string started, err; // the program the stand-in reports (else no output); a part of the errors
    } rows[] = {
        // clang-format off
        {{}, launcher, table, "", 0, "quorlscope-cli (unset)", ""},
        {{}, launcher, {"export", "my lens.qrtb", "--to", "kit card.json"}, "", 0, "quorlscope-cli (unset)", ""},
        {{}, launcher, {}, "", 0, "quorlscope-gui (unset)", ""},
        {{}, launcher, {"--help"}, "", 0, "quorlscope-gui (unset)", ""},
        {{}, launcher, {"table.qrtb"}, "", 0, "quorlscope-gui (unset)", ""},
        {{}, launcher, {"tables"}, "", 0, "quorlscope-gui (unset)", ""},
        {{}, launcher, {"-platform", "offscreen", "export"}, "", 0, "quorlscope-gui (unset)", ""},
        {{}, link, {"--version"}, "", 0, "quorlscope-gui (unset)", ""},
        // The real command-line program draws no PDF: it hands the export to the windowed program on the
        // offscreen platform, even when the user chose another one.
        {[&] { fs::copy_file(QRL_COMMAND_LINE, cli, fs::copy_options::overwrite_existing); }, cli, {"export", "a.qrtb", "b.qrtb", "--to", "kit card.pdf"}, "", 0, "quorlscope-gui offscreen", ""},
        {{}, cli, {"export", "a.qrtb", "--to=CARD.PDF"}, "", 0, "quorlscope-gui offscreen", ""},
        {{}, cli, {"export", "a.qrtb", "--to", "card.pdf"}, "QT_QPA_PLATFORM=xcb", 0, "quorlscope-gui offscreen", ""},
        {[&] { fs::remove(gui); }, launcher, {"doc.qrtb"}, "", 127, "", "quorlscope: cannot start " + gui + ": No such file or directory\n"},
        {[&] { fs::permissions(cli, fs::perms::owner_read); }, launcher, {"table"}, "", 126, "", "quorlscope-cli: Permission denied\n"}};
    // clang-format on
    for (const auto &row : rows) {
        if (row.setUp)
            row.setUp();
        Strings argv = {row.program.string()};
        argv.insert(argv.end(), row.arguments.begin(), row.arguments.end());
        const Ran ran = RunProcess(
            argv, {"DISPLAY", "WAYLAND_DISPLAY", row.platform.empty() ? "QT_QPA_PLATFORM" : row.platform});
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : argv[0]);
        EXPECT_EQ(ran.status, row.status) << ran.err;
        std::string started = "program " + row.started.substr(0, row.started.find(' ')) + "\n";
        for (std::size_t i = 0; i < argv.size(); ++i)
            started += "argv[" + std::to_string(i) + "] " + argv[i] + "\n";
        started += "QT_QPA_PLATFORM " + row.started.substr(row.started.find(' ') + 1) + "\n";
        EXPECT_EQ(ran.out, row.started.empty() ? "" : started);
        EXPECT_TRUE(row.err.empty() ? ran.err.empty() : ran.err.find(row.err) != std::string::npos)
            << ran.err;
    }
}
