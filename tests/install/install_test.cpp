// Installing into a prefix: the tree, the desktop entry, the file type, the
// metainfo and the icons, checked with the desktop's own tools; and the
// installed program's command line without a display.
#include "tests/support/common.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

using namespace qrltest;
namespace fs = std::filesystem;

namespace
{

const std::string kId = QRL_APP_ID;

// The output of a command, standard error after standard output.
Ran Output(const Strings &command)
{
    Ran ran = RunProcess(command);
    ran.out += ran.err;
    return ran;
}

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
    const std::string bytes = ReadText(path);
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
Ran RunWithoutDisplay(const std::string &prefix, Strings arguments, const std::string &locale = "")
{
    arguments.insert(arguments.begin(), prefix + "/bin/quorlscope");
    Ran ran = RunProcess(arguments, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_CTYPE",
                                     "LC_MESSAGES", "LANGUAGE", locale.empty() ? "LANG" : "LANG=" + locale});
    ran.out += ran.err;
    return ran;
}

void PutsExactlyTheProgramAndItsDesktopFilesIntoThePrefix(const std::string &prefix)
{
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
void LauncherAndCommandLineProgramLoadNoWindowSystem(const std::string &prefix)
{
    const auto needed = [&](const std::string &program) {
        const Ran ran = Output({"readelf", "-d", prefix + "/" + program});
        EXPECT_EQ(ran.status, 0) << ran.out;
        std::set<std::string> libraries;
        std::istringstream lines(ran.out);
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

void IconsHaveTheSizeOfTheirFolderAndTransparency(const std::string &prefix)
{
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
    EXPECT_NE(ReadText(folder + "/apps/" + kId + ".png"),
              ReadText(folder + "/mimetypes/" QRL_MIME_ICON ".png"));
}

void DesktopEntryValidatesAndOpensTheDocumentType(const std::string &prefix)
{
    const std::string entry = prefix + "/share/applications/" + kId + ".desktop";
    const Ran validated = Output({"desktop-file-validate", entry});
    EXPECT_EQ(validated.status, 0) << validated.out;
    EXPECT_EQ(validated.out, "");
    const std::string text = ReadText(entry);
    EXPECT_NE(text.find("\nExec=quorlscope %F\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nIcon=" + kId + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nMimeType=" QRL_MIME_TYPE ";\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCategories=Graphics;Photography;\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nName[de]=" QRL_APP_NAME "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nComment[de]=Schärfentiefe-Tabellen für Fotografen\n"), std::string::npos) << text;
    // The desktop's own index maps the document type to the entry.
    const Ran indexed = Output({"update-desktop-database", prefix + "/share/applications"});
    EXPECT_EQ(indexed.status, 0) << indexed.out;
    EXPECT_NE(
        ReadText(prefix + "/share/applications/mimeinfo.cache").find(QRL_MIME_TYPE "=" + kId + ".desktop"),
        std::string::npos);
}

void MimePackageTeachesTheDesktopTheDocumentType(const std::string &prefix)
{
    // With the prefix in the search path, as a desktop using it would have.
    const Ran updated =
        Output({"env", "XDG_DATA_DIRS=" + prefix + "/share", "update-mime-database", prefix + "/share/mime"});
    ASSERT_EQ(updated.status, 0) << updated.out;
    EXPECT_EQ(updated.out, "");
    const std::string globs = ReadText(prefix + "/share/mime/globs2");
    EXPECT_NE(globs.find(":" QRL_MIME_TYPE ":*.qrtb"), std::string::npos) << globs;
    const std::string type = ReadText(prefix + "/share/mime/" QRL_MIME_TYPE ".xml");
    EXPECT_NE(type.find("<comment>Depth-of-field table</comment>"), std::string::npos) << type;
    // Files of the type show the installed document icon.
    EXPECT_NE(ReadText(prefix + "/share/mime/icons").find(QRL_MIME_TYPE ":" QRL_MIME_ICON "\n"),
              std::string::npos);
}

void MetainfoValidatesWithTheReleaseOfThisVersion(const std::string &prefix)
{
    const std::string metainfo = prefix + "/share/metainfo/" + kId + ".metainfo.xml";
    const Ran validated = Output({"appstreamcli", "validate", "--no-net", "--no-color", metainfo});
    EXPECT_EQ(validated.status, 0) << validated.out;
    EXPECT_NE(validated.out.find("Validation was successful"), std::string::npos) << validated.out;
    const std::string text = ReadText(metainfo);
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
void ManualPageNamesEveryOptionOfTheCommands(const std::string &prefix)
{
    const Ran page = RunProcess({"gzip", "-dc", prefix + "/share/man/man1/quorlscope.1.gz"});
    ASSERT_EQ(page.status, 0) << page.out;
    for (const char *section :
         {".SH SYNOPSIS", ".SH OPTIONS", ".SS table", ".SS export", ".SH FILES", ".SH EXIT STATUS"})
        EXPECT_NE(page.out.find(std::string("\n") + section + "\n"), std::string::npos) << section;
    const Ran usage = RunWithoutDisplay(prefix, {"table"});
    EXPECT_EQ(usage.status, 2) << usage.out;
    std::set<std::string> options = {"help", "version"};
    std::istringstream words(usage.out);
    for (std::string word; words >> word;) {
        const std::size_t dashes = word.find("--");
        if (dashes != std::string::npos)
            options.insert(word.substr(
                dashes + 2, word.find_first_not_of("abcdefghijklmnopqrstuvwxyz", dashes + 2) - (dashes + 2)));
    }
    EXPECT_GE(options.size(), 9u) << usage.out;
    for (const std::string &option : options)
        EXPECT_NE(page.out.find("\\-\\-" + option), std::string::npos) << "--" << option << " undocumented";
}

// --help and --version without a display, in the language of the locale.
void HelpAndVersionNeedNoDisplayAndSpeakTheUsersLanguage(const std::string &prefix)
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
    for (const Case &c : cases) {
        const Ran ran = RunWithoutDisplay(prefix, {c.arguments}, c.locale);
        EXPECT_EQ(ran.status, 0) << c.arguments << " " << c.locale << ":\n" << ran.out;
        EXPECT_EQ(ran.out.rfind(c.firstLine, 0), 0u) << c.arguments << " " << c.locale << ":\n" << ran.out;
        for (const std::string &part : c.parts)
            EXPECT_NE(ran.out.find(part), std::string::npos)
                << part << " missing for " << c.arguments << " " << c.locale << ":\n"
                << ran.out;
    }
}

void TableAndExportRunWithoutDisplay(const std::string &prefix)
{
    const Ran table =
        RunWithoutDisplay(prefix, {"table", "--distance", "3", "--focal", "50", "--camera", "fullframe",
                                   "--circle", "30", "--unit", "m", "--format", "csv"});
    EXPECT_EQ(table.status, 0) << table.out;
    EXPECT_NE(table.out.find("table,full-frame digital,50,3,30,1.4,2.858,3.156,"), std::string::npos)
        << table.out;
    const Ran missing =
        RunWithoutDisplay(prefix, {"export", prefix + "/none.qrtb", "--to", prefix + "/out.json"});
    EXPECT_EQ(missing.status, 1) << missing.out;
    EXPECT_EQ(missing.out, "quorlscope: cannot read " + prefix + "/none.qrtb: No such file or directory\n");
    EXPECT_FALSE(fs::exists(prefix + "/out.json"));
}

void WithoutDisplayAFileGetsAnExplanationNotACrash(const std::string &prefix)
{
    const Ran ran = RunWithoutDisplay(prefix, {"table.qrtb"});
    EXPECT_EQ(ran.status, 1) << ran.out;
    EXPECT_NE(ran.out.find("no display"), std::string::npos) << ran.out;
}

void UnknownOptionIsAUsageError(const std::string &prefix)
{
    const Ran ran = Output({"env", "QT_QPA_PLATFORM=offscreen", prefix + "/bin/quorlscope", "--bogus"});
    EXPECT_EQ(ran.status, 2) << ran.out;
    EXPECT_NE(ran.out.find("Unknown option 'bogus'"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("quorlscope --help"), std::string::npos) << ran.out;
}

} // namespace

// The build installed once, as `make install PREFIX=...` does, and every
// check on the one tree; those that add the desktop's caches come last.
TEST(Install, TheInstalledTree)
{
    const ScratchFolder folder;
    const std::string prefix = folder / "prefix";
    const Ran installed = RunProcess({"cmake", "--install", QRL_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
    const std::pair<const char *, void (*)(const std::string &)> checks[] = {
        {"PutsExactlyTheProgramAndItsDesktopFilesIntoThePrefix",
         PutsExactlyTheProgramAndItsDesktopFilesIntoThePrefix},
        {"LauncherAndCommandLineProgramLoadNoWindowSystem", LauncherAndCommandLineProgramLoadNoWindowSystem},
        {"IconsHaveTheSizeOfTheirFolderAndTransparency", IconsHaveTheSizeOfTheirFolderAndTransparency},
        {"DesktopEntryValidatesAndOpensTheDocumentType", DesktopEntryValidatesAndOpensTheDocumentType},
        {"MimePackageTeachesTheDesktopTheDocumentType", MimePackageTeachesTheDesktopTheDocumentType},
        {"MetainfoValidatesWithTheReleaseOfThisVersion", MetainfoValidatesWithTheReleaseOfThisVersion},
        {"ManualPageNamesEveryOptionOfTheCommands", ManualPageNamesEveryOptionOfTheCommands},
        {"HelpAndVersionNeedNoDisplayAndSpeakTheUsersLanguage",
         HelpAndVersionNeedNoDisplayAndSpeakTheUsersLanguage},
        {"TableAndExportRunWithoutDisplay", TableAndExportRunWithoutDisplay},
        {"WithoutDisplayAFileGetsAnExplanationNotACrash", WithoutDisplayAFileGetsAnExplanationNotACrash},
        {"UnknownOptionIsAUsageError", UnknownOptionIsAUsageError},
    };
    for (const auto &[name, check] : checks) {
        SCOPED_TRACE(name);
        check(prefix);
    }
}
