// `quorlscope` starts the command-line program for `table` and `export` and
// the windowed program for everything else, in the same process and with
// the same arguments; the command-line program hands a PDF export to the
// windowed one, with no display needed. The test lays out a folder as the
// install does, with a stand-in that reports how it was started.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

std::string Quote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

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
        std::string setUp; // a shell step first
        fs::path program;
        std::vector<std::string> arguments;
        std::string environment;
        int status;
        std::string started; // the program the stand-in reports, with the same arguments
        std::string out, err; // else: a part of the output, and of the errors ("" for none)
    } rows[] = {
        {"", launcher, table, "", 0, "quorlscope-cli (unset)", "", ""},
        {"", launcher, {"export", "my lens.qrtb", "--to", "kit card.json"}, "", 0, "quorlscope-cli (unset)", "", ""},
        {"", launcher, {}, "", 0, "quorlscope-gui (unset)", "", ""},
        {"", launcher, {"--help"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {"", launcher, {"table.qrtb"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {"", launcher, {"tables"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {"", launcher, {"-platform", "offscreen", "export"}, "", 0, "quorlscope-gui (unset)", "", ""},
        {"", link, {"--version"}, "", 0, "quorlscope-gui (unset)", "", ""},
        // The real command-line program draws no PDF: it hands the export to
        // the windowed program on the offscreen platform, even when the user
        // chose another one; other formats it writes itself.
        {"cp " + Quote(QRL_COMMAND_LINE) + " " + Quote(cli), cli, {"export", "a.qrtb", "b.qrtb", "--to", "kit card.pdf"}, "", 0, "quorlscope-gui offscreen", "", ""},
        {"", cli, {"export", "a.qrtb", "--to=CARD.PDF"}, "", 0, "quorlscope-gui offscreen", "", ""},
        {"", cli, {"export", "a.qrtb", "--to", "card.pdf"}, "QT_QPA_PLATFORM=xcb", 0, "quorlscope-gui offscreen", "", ""},
        {"", cli, {"export", missing, "--to", csv}, "", 1, "", "", "quorlscope: cannot read " + missing + ": No such file or directory\n"},
        {"", cli, csvTable, "", 0, "", "table,full-frame digital,50,3,30,1.4,2.858,3.156,", ""},
        {"rm " + Quote(guiPath), launcher, {"doc.qrtb"}, "", 127, "", "", "quorlscope: cannot start " + guiPath + ": No such file or directory\n"},
        {"chmod 444 " + Quote(cli), launcher, {"table"}, "", 126, "", "", "quorlscope-cli: Permission denied\n"}};
    // clang-format on
    for (const auto &row : rows) {
        ASSERT_EQ(std::system(row.setUp.c_str()), 0);
        std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + row.environment +
                              " " + Quote(row.program.string());
        for (const std::string &argument : row.arguments)
            command += " " + Quote(argument);
        SCOPED_TRACE(command);
        FILE *pipe = popen((command + " 2>" + Quote((root / "stderr").string())).c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, got);
        const int status = pclose(pipe);
        std::ifstream errors(root / "stderr");
        const std::string err((std::istreambuf_iterator<char>(errors)), {});
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, row.status) << err;
        if (!row.started.empty()) {
            std::vector<std::string> argv = {row.program.string()};
            argv.insert(argv.end(), row.arguments.begin(), row.arguments.end());
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
