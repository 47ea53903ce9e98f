// Installing into a prefix: the tree, the desktop entry, the file type, the
// metainfo and the icons, checked with the desktop's own tools; and the
// installed program's command line without a display.
#include "install_helpers.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <set>

using namespace installtest;
namespace fs = std::filesystem;

namespace
{

const std::string kId = QRL_APP_ID;

std::vector<int> iconSizes()
{
    std::vector<int> sizes;
    std::istringstream in(QRL_ICON_SIZES);
    for (int size; in >> size;)
        sizes.push_back(size);
    return sizes;
}

std::set<std::string> filesUnder(const std::string &root)
{
    std::set<std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory())
            files.insert(fs::relative(entry.path(), root).string());
    return files;
}

struct PngHeader {
    std::uint32_t width = 0, height = 0;
    int colourType = -1;
};

// Width, height and colour type from the PNG's first chunk (IHDR).
PngHeader pngHeader(const std::string &path)
{
    const std::string bytes = readFile(path);
    PngHeader header;
    if (bytes.size() < 26 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return header;
    auto big = [&](std::size_t at) {
        return std::uint32_t(std::uint8_t(bytes[at])) << 24 |
               std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
               std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint32_t(std::uint8_t(bytes[at + 3]));
    };
    header.width = big(16);
    header.height = big(20);
    header.colourType = std::uint8_t(bytes[25]);
    return header;
}

// The installed program, run with no display at all, in the locale that
// LANG names, or with no locale at all (as from cron) when none is given:
// what it prints is its own either way.
Ran runWithoutDisplay(const std::string &prefix, const std::string &arguments, const std::string &locale = "")
{
    const std::string language = locale.empty() ? "-u LANG" : "LANG=" + quote(locale);
    return run("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_ALL -u LC_CTYPE -u LC_MESSAGES "
               "-u LANGUAGE " +
               language + " " + quote(prefix + "/bin/quorlscope") + " " + arguments);
}

} // namespace

TEST(Install, PutsExactlyTheProgramAndItsDesktopFilesIntoThePrefix)
{
    const std::string prefix = installedPrefix();
    std::set<std::string> expected = {
        "bin/quorlscope",
        "libexec/quorlscope/quorlscope-gui",
        "libexec/quorlscope/quorlscope-cli",
        "share/applications/" + kId + ".desktop",
        "share/mime/packages/" + kId + ".xml",
        "share/metainfo/" + kId + ".metainfo.xml",
        "share/man/man1/quorlscope.1.gz",
        "share/doc/quorlscope/copyright",
        "share/doc/quorlscope/changelog.gz",
    };
    for (int size : iconSizes()) {
        const std::string folder = "share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size);
        expected.insert(folder + "/apps/" + kId + ".png");
        expected.insert(folder + "/mimetypes/" QRL_MIME_ICON ".png");
    }
    EXPECT_EQ(filesUnder(prefix), expected);
    for (const char *program :
         {"bin/quorlscope", "libexec/quorlscope/quorlscope-gui", "libexec/quorlscope/quorlscope-cli"}) {
        const fs::perms perms = fs::status(prefix + "/" + program).permissions();
        EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none) << program;
    }
}

// What keeps `quorlscope table` as quick as a bare core application: the
// launcher needs the C library alone, the command-line program no more of
// Qt than Core.
TEST(Install, LauncherAndCommandLineProgramLoadNoWindowSystem)
{
    const std::string prefix = installedPrefix();
    const auto needed = [&](const std::string &program) {
        const Ran ran = run("readelf -d " + quote(prefix + "/" + program));
        EXPECT_EQ(ran.exitCode, 0) << ran.output;
        std::set<std::string> libraries;
        std::istringstream lines(ran.output);
        for (std::string line; std::getline(lines, line);)
            if (line.find("(NEEDED)") != std::string::npos)
                libraries.insert(line.substr(line.find('[') + 1, line.find(']') - line.find('[') - 1));
        return libraries;
    };
    EXPECT_EQ(needed("bin/quorlscope"), std::set<std::string>{"libc.so.6"});
    const std::set<std::string> commandLine = needed("libexec/quorlscope/quorlscope-cli");
    EXPECT_EQ(commandLine.count("libQt6Core.so.6"), 1u);
    for (const std::string &library : commandLine)
        EXPECT_TRUE(library.rfind("libQt6", 0) != 0 || library == "libQt6Core.so.6") << library;
    EXPECT_EQ(needed("libexec/quorlscope/quorlscope-gui").count("libQt6Widgets.so.6"), 1u);
}

TEST(Install, IconsHaveTheSizeOfTheirFolderAndTransparency)
{
    const std::string prefix = installedPrefix();
    const std::vector<int> sizes = iconSizes();
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes.front(), 16);
    EXPECT_EQ(sizes.back(), 512);
    for (int size : sizes) {
        const std::string folder =
            prefix + "/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size);
        for (const std::string &icon :
             {folder + "/apps/" + kId + ".png", folder + "/mimetypes/" QRL_MIME_ICON ".png"}) {
            const PngHeader header = pngHeader(icon);
            EXPECT_EQ(header.width, std::uint32_t(size)) << icon;
            EXPECT_EQ(header.height, std::uint32_t(size)) << icon;
            EXPECT_EQ(header.colourType, 6) << icon << ": not RGBA";
        }
    }
    // The application and the document icon are different pictures.
    const std::string folder = prefix + "/share/icons/hicolor/48x48";
    EXPECT_NE(readFile(folder + "/apps/" + kId + ".png"),
              readFile(folder + "/mimetypes/" QRL_MIME_ICON ".png"));
}

TEST(Install, DesktopEntryValidatesAndOpensTheDocumentType)
{
    const std::string prefix = installedPrefix();
    const std::string entry = prefix + "/share/applications/" + kId + ".desktop";
    const Ran validated = run("desktop-file-validate " + quote(entry));
    EXPECT_EQ(validated.exitCode, 0) << validated.output;
    EXPECT_EQ(validated.output, "");
    const std::string text = readFile(entry);
    EXPECT_NE(text.find("\nExec=quorlscope %F\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nIcon=" + kId + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nMimeType=" QRL_MIME_TYPE ";\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCategories=Graphics;Photography;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nName[de]=" QRL_APP_NAME "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nComment[de]=Schärfentiefe-Tabellen für Fotografen\n"), std::string::npos) << text;
    // The desktop's own index maps the document type to the entry.
    const Ran indexed = run("update-desktop-database " + quote(prefix + "/share/applications"));
    EXPECT_EQ(indexed.exitCode, 0) << indexed.output;
    EXPECT_NE(
        readFile(prefix + "/share/applications/mimeinfo.cache").find(QRL_MIME_TYPE "=" + kId + ".desktop"),
        std::string::npos);
}

TEST(Install, MimePackageTeachesTheDesktopTheDocumentType)
{
    const std::string prefix = installedPrefix();
    // With the prefix in the search path, as a desktop using it would have.
    const Ran updated = run("env XDG_DATA_DIRS=" + quote(prefix + "/share") + " update-mime-database " +
                            quote(prefix + "/share/mime"));
    ASSERT_EQ(updated.exitCode, 0) << updated.output;
    EXPECT_EQ(updated.output, "");
    const std::string globs = readFile(prefix + "/share/mime/globs2");
    EXPECT_NE(globs.find(":" QRL_MIME_TYPE ":*.qrtb"), std::string::npos) << globs;
    const std::string type = readFile(prefix + "/share/mime/" QRL_MIME_TYPE ".xml");
    EXPECT_NE(type.find("<comment>Depth-of-field table</comment>"), std::string::npos) << type;
    // Files of the type show the installed document icon.
    EXPECT_NE(readFile(prefix + "/share/mime/icons").find(QRL_MIME_TYPE ":" QRL_MIME_ICON "\n"),
              std::string::npos);
}

TEST(Install, MetainfoValidatesWithTheReleaseOfThisVersion)
{
    const std::string prefix = installedPrefix();
    const std::string metainfo = prefix + "/share/metainfo/" + kId + ".metainfo.xml";
    const Ran validated = run("appstreamcli validate --no-net --no-color " + quote(metainfo));
    EXPECT_EQ(validated.exitCode, 0) << validated.output;
    EXPECT_NE(validated.output.find("Validation was successful"), std::string::npos) << validated.output;
    const std::string text = readFile(metainfo);
    EXPECT_NE(text.find("<id>" + kId + "</id>"), std::string::npos);
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(text.find("<release version=\"" QRL_VERSION "\""), std::string::npos);
    EXPECT_NE(text.find("<screenshot type=\"default\">"), std::string::npos);
    EXPECT_NE(text.find("<mediatype>" QRL_MIME_TYPE "</mediatype>"), std::string::npos);
    for (const char *element : {"<metadata_license>CC0-1.0</metadata_license>",
                                "<project_license>GPL-3.0-or-later</project_license>",
                                "<name xml:lang=\"de\">" QRL_APP_NAME "</name>",
                                "<summary xml:lang=\"de\">Schärfentiefe-Tabellen für Fotografen</summary>"})
        EXPECT_NE(text.find(element), std::string::npos) << element << " missing in:\n" << text;
}

// The manual page documents every option that the commands' usage names.
TEST(Install, ManualPageNamesEveryOptionOfTheCommands)
{
    const std::string prefix = installedPrefix();
    const Ran page = run("gzip -dc " + quote(prefix + "/share/man/man1/quorlscope.1.gz"));
    ASSERT_EQ(page.exitCode, 0) << page.output;
    for (const char *section :
         {".SH SYNOPSIS", ".SH OPTIONS", ".SS table", ".SS export", ".SH FILES", ".SH EXIT STATUS"})
        EXPECT_NE(page.output.find(std::string("\n") + section + "\n"), std::string::npos) << section;
    const Ran usage = runWithoutDisplay(prefix, "table");
    EXPECT_EQ(usage.exitCode, 2) << usage.output;
    std::set<std::string> options = {"help", "version"};
    std::istringstream words(usage.output);
    for (std::string word; words >> word;) {
        const std::size_t dashes = word.find("--");
        if (dashes != std::string::npos)
            options.insert(word.substr(
                dashes + 2, word.find_first_not_of("abcdefghijklmnopqrstuvwxyz", dashes + 2) - (dashes + 2)));
    }
    EXPECT_GE(options.size(), 9u) << usage.output;
    for (const std::string &option : options)
        EXPECT_NE(page.output.find("\\-\\-" + option), std::string::npos)
            << "--" << option << " undocumented";
}

// --help and --version without a display, in the language of the locale.
TEST(CommandLine, HelpAndVersionNeedNoDisplayAndSpeakTheUsersLanguage)
{
    struct Case {
        const char *arguments, *locale, *firstLine;
        std::vector<std::string> parts;
    };
    const std::string version = QRL_APP_NAME " " QRL_VERSION "\n";
    const std::string licence =
        "GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl-3.0.html>";
    const Case cases[] = {
        {"--version", "C.UTF-8", version.c_str(), {"\nLicense " + licence + "\n", "NO WARRANTY"}},
        {"-v", "C.UTF-8", version.c_str(), {"\nLicense " + licence + "\n"}},
        {"--version",
         "de_DE.UTF-8",
         version.c_str(),
         {"\nLizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer", "KEINE GARANTIE"}},
        {"--help",
         "C.UTF-8",
         "Usage: quorlscope [options] [files...]\n",
         {"\nOptions:\n", "-h, --help", "-v, --version", "files", ".qrtb", "already running",
          "'quorlscope table'", "'quorlscope export FILE.qrtb... --to OUT'"}},
        {"--help",
         "de_DE.UTF-8",
         "Aufruf: quorlscope [Optionen] [Dateien...]\n",
         {"Schärfentiefe-Tabellen für Fotografen", "\nOptionen:\n", "-h, --help",
          "Diese Hilfe zeigen und beenden.", "\nArgumente:\n", "bereits läuft", "'quorlscope table'",
          "'quorlscope export DATEI.qrtb... --to AUSGABE'"}},
    };
    const std::string prefix = installedPrefix();
    for (const Case &c : cases) {
        const Ran ran = runWithoutDisplay(prefix, c.arguments, c.locale);
        EXPECT_EQ(ran.exitCode, 0) << c.arguments << " " << c.locale << ":\n" << ran.output;
        EXPECT_EQ(ran.output.rfind(c.firstLine, 0), 0u) << c.arguments << " " << c.locale << ":\n"
                                                        << ran.output;
        for (const std::string &part : c.parts)
            EXPECT_NE(ran.output.find(part), std::string::npos)
                << part << " missing for " << c.arguments << " " << c.locale << ":\n"
                << ran.output;
    }
}

TEST(CommandLine, TableAndExportRunWithoutDisplay)
{
    const std::string prefix = installedPrefix();
    const Ran table =
        runWithoutDisplay(prefix, "table --distance 3 --focal 50 --camera fullframe --circle 30 "
                                  "--unit m --format csv");
    EXPECT_EQ(table.exitCode, 0) << table.output;
    EXPECT_NE(table.output.find("table,full-frame digital,50,3,30,1.4,2.858,3.156,"), std::string::npos)
        << table.output;
    const Ran missing = runWithoutDisplay(prefix, "export " + quote(prefix + "/none.qrtb") + " --to " +
                                                      quote(prefix + "/out.json"));
    EXPECT_EQ(missing.exitCode, 1) << missing.output;
    EXPECT_EQ(missing.output,
              "quorlscope: cannot read " + prefix + "/none.qrtb: No such file or directory\n");
    EXPECT_FALSE(fs::exists(prefix + "/out.json"));
}

TEST(CommandLine, WithoutDisplayAFileGetsAnExplanationNotACrash)
{
    const Ran ran = runWithoutDisplay(installedPrefix(), "table.qrtb");
    EXPECT_EQ(ran.exitCode, 1) << ran.output;
    EXPECT_NE(ran.output.find("no display"), std::string::npos) << ran.output;
}

TEST(CommandLine, UnknownOptionIsAUsageError)
{
    const std::string prefix = installedPrefix();
    const Ran ran = run("env QT_QPA_PLATFORM=offscreen " + quote(prefix + "/bin/quorlscope") + " --bogus");
    EXPECT_EQ(ran.exitCode, 2) << ran.output;
    EXPECT_NE(ran.output.find("Unknown option 'bogus'"), std::string::npos) << ran.output;
    EXPECT_NE(ran.output.find("quorlscope --help"), std::string::npos) << ran.output;
}
