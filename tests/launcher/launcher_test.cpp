// `quorlscope` starts the command-line program for `table` and `export` and
// the windowed program for everything else, in the same process and with
// the same arguments; the command-line program hands a PDF export to the
// windowed one, with no display needed. Each test lays out a folder as the
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

struct Ran {
    int status = -1;
    std::string out, err;
};

std::string quote(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Installed : public ::testing::Test
{
  protected:
    fs::path root;
    fs::path launcher, programs;

    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qrl-launcher-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        launcher = root / QRL_BINDIR / "quorlscope";
        programs = root / QRL_PROGRAMS_INSTALL_DIR;
        fs::create_directories(launcher.parent_path());
        fs::create_directories(programs);
        fs::copy_file(QRL_LAUNCHER, launcher);
        fs::copy_file(QRL_STAND_IN, programs / "quorlscope-gui");
        fs::copy_file(QRL_STAND_IN, programs / "quorlscope-cli");
    }
    void TearDown() override { fs::remove_all(root); }

    // Runs the program with the arguments (already quoted for the shell),
    // its argv[0] as given, without any display.
    Ran Run(const fs::path &program, const std::string &arguments, const std::string &environment = "")
    {
        const std::string errors = (root / "stderr").string();
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment +
                                    " " + quote(program.string()) + " " + arguments + " 2>" + quote(errors);
        Ran ran;
        FILE *pipe = popen(command.c_str(), "r");
        if (!pipe) {
            ADD_FAILURE() << "cannot run " << command;
            return ran;
        }
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            ran.out.append(buffer, got);
        const int status = pclose(pipe);
        ran.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ran.err = readFile(errors);
        return ran;
    }

    // What the stand-in prints when started as `program` with these arguments.
    static std::string Started(const std::string &program, const std::vector<std::string> &argv,
                               const std::string &platform = "(unset)")
    {
        std::string text = "program " + program + "\n";
        for (std::size_t i = 0; i < argv.size(); ++i)
            text += "argv[" + std::to_string(i) + "] " + argv[i] + "\n";
        return text + "QT_QPA_PLATFORM " + platform + "\n";
    }
};

} // namespace

TEST_F(Installed, TableAndExportGoToTheCommandLineProgram)
{
    const std::string self = launcher.string();
    const Ran table = Run(launcher, "table --distance 3 --focal 50 --camera fullframe --circle 30");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(table.out, Started("quorlscope-cli", {self, "table", "--distance", "3", "--focal", "50",
                                                    "--camera", "fullframe", "--circle", "30"}));
    const Ran exported = Run(launcher, "export 'my lens.qrtb' --to 'kit card.json'");
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out,
              Started("quorlscope-cli", {self, "export", "my lens.qrtb", "--to", "kit card.json"}));
    EXPECT_EQ(table.err + exported.err, "");
}

TEST_F(Installed, EverythingElseGoesToTheWindowedProgram)
{
    const std::string self = launcher.string();
    const std::vector<std::vector<std::string>> cases = {
        {}, {"--help"}, {"--version"}, {"table.qrtb"}, {"tables"}, {"-platform", "offscreen", "export"}};
    for (const std::vector<std::string> &arguments : cases) {
        std::string quoted;
        for (const std::string &argument : arguments)
            quoted += " " + quote(argument);
        std::vector<std::string> argv = {self};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const Ran ran = Run(launcher, quoted);
        EXPECT_EQ(ran.status, 0) << quoted << ": " << ran.err;
        EXPECT_EQ(ran.out, Started("quorlscope-gui", argv)) << quoted;
    }
}

// A link to the launcher (as in a folder on PATH) still finds the programs
// beside the launcher's own file.
TEST_F(Installed, FindsItsProgramsThroughALink)
{
    fs::create_directories(root / "elsewhere");
    fs::create_symlink(launcher, root / "elsewhere" / "quorlscope");
    const Ran ran = Run(root / "elsewhere" / "quorlscope", "--version");
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_EQ(ran.out,
              Started("quorlscope-gui", {(root / "elsewhere" / "quorlscope").string(), "--version"}));
}

TEST_F(Installed, AMissingProgramIsNamedWithTheShellsStatus)
{
    fs::remove(programs / "quorlscope-gui");
    const Ran ran = Run(launcher, "doc.qrtb");
    EXPECT_EQ(ran.status, 127);
    EXPECT_EQ(ran.out, "");
    EXPECT_EQ(ran.err, "quorlscope: cannot start " + (launcher.parent_path() / "").string() +
                           fs::path(QRL_PROGRAMS_INSTALL_DIR).lexically_relative(QRL_BINDIR).string() +
                           "/quorlscope-gui: No such file or directory\n");
    fs::permissions(programs / "quorlscope-cli", fs::perms::owner_read | fs::perms::group_read);
    const Ran notRunnable = Run(launcher, "table");
    EXPECT_EQ(notRunnable.status, 126);
    EXPECT_NE(notRunnable.err.find("quorlscope-cli: Permission denied\n"), std::string::npos)
        << notRunnable.err;
}

// The real command-line program draws no PDF: it hands the export, with the
// same arguments, to the windowed program on the offscreen platform, which
// needs no display. Other formats it writes itself.
TEST_F(Installed, CommandLineProgramHandsAPDFExportToTheWindowedProgram)
{
    const fs::path commandLine = programs / "quorlscope-cli";
    fs::remove(commandLine);
    fs::copy_file(QRL_COMMAND_LINE, commandLine);
    const std::string self = commandLine.string();
    const Ran pdf = Run(commandLine, "export a.qrtb b.qrtb --to 'kit card.pdf'");
    EXPECT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_EQ(pdf.out, Started("quorlscope-gui", {self, "export", "a.qrtb", "b.qrtb", "--to", "kit card.pdf"},
                               "offscreen"));
    const Ran upper = Run(commandLine, "export a.qrtb --to=CARD.PDF");
    EXPECT_EQ(upper.out, Started("quorlscope-gui", {self, "export", "a.qrtb", "--to=CARD.PDF"}, "offscreen"));
    // A platform the user chose for windows does not draw the PDF: without
    // a display it would abort the export.
    const Ran chosen = Run(commandLine, "export a.qrtb --to card.pdf", "QT_QPA_PLATFORM=xcb");
    EXPECT_EQ(chosen.out,
              Started("quorlscope-gui", {self, "export", "a.qrtb", "--to", "card.pdf"}, "offscreen"));

    const Ran csv = Run(commandLine, "export " + quote((root / "none.qrtb").string()) + " --to " +
                                         quote((root / "out.csv").string()));
    EXPECT_EQ(csv.status, 1);
    EXPECT_EQ(csv.out, "");
    EXPECT_EQ(csv.err,
              "quorlscope: cannot read " + (root / "none.qrtb").string() + ": No such file or directory\n");
    EXPECT_FALSE(fs::exists(root / "out.csv"));
    const Ran table =
        Run(commandLine, "table --distance 3 --focal 50 --camera fullframe --circle 30 --unit m "
                         "--format csv");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("table,full-frame digital,50,3,30,1.4,2.858,3.156,"), std::string::npos)
        << table.out;
}
