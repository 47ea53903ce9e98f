// The .deb that `make package` builds: what it installs where, and
// dependencies taken from the shared libraries the program links.
#include "tests/support/common.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace qrltest;

namespace
{

// The output of a command, standard error after standard output.
Ran Output(const Strings &command)
{
    Ran ran = RunProcess(command);
    ran.out += ran.err;
    return ran;
}

// Builds the package into the folder and returns the .deb's path.
std::string BuiltPackage(const std::string &folder)
{
    const Ran ran =
        Output({"cpack", "-G", "DEB", "--config", QRL_BUILD_DIR "/CPackConfig.cmake", "-B", folder});
    EXPECT_EQ(ran.status, 0) << ran.out;
    for (const std::string &name : ListFolder(folder))
        if (name.rfind("quorlscope_" QRL_VERSION "_", 0) == 0 && name.size() > 4 &&
            name.compare(name.size() - 4, 4, ".deb") == 0)
            return folder + "/" + name;
    ADD_FAILURE() << "no package in " << folder;
    return "";
}

// The libraries a program links (its NEEDED entries), each with the Debian
// package that holds the file the loader finds for it, one "library package"
// pair a line. The package's name is the release's own (libqt6core6 on
// Debian 12, libqt6core6t64 on Debian 13); a library found under /lib is
// looked up under /usr/lib too, where a merged /usr system's dpkg knows it.
std::string linkedLibraryPackages(const std::string &program)
{
    const std::string script = "program=" + ShellQuote(program) + R"sh(
for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(ldd "$program" | awk -v library="$library" '$1 == library { print $3 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || echo "?")
    echo "$library ${owner%%:*}"
done)sh";
    const Ran ran = RunShell(script);
    EXPECT_EQ(ran.status, 0) << ran.err;
    return ran.out;
}

// The entry of the Depends field that names package ("libc6 (>= 2.36)"),
// or "" when none does.
std::string dependencyOn(const std::string &fields, const std::string &package)
{
    const std::string field = "Depends: ";
    const std::size_t start = fields.find(field);
    if (start == std::string::npos)
        return "";
    std::istringstream entries(
        fields.substr(start + field.size(), fields.find('\n', start) - start - field.size()));
    for (std::string entry; std::getline(entries, entry, ',');) {
        entry.erase(0, entry.find_first_not_of(' '));
        if (entry == package || entry.rfind(package + " (", 0) == 0)
            return entry;
    }
    return "";
}

} // namespace

// One package build for all checks: dpkg-shlibdeps and stripping take a while.
TEST(Package, DebHoldsTheInstalledFilesAndDependsOnWhatTheProgramLinks)
{
    const ScratchFolder folder, unpacked;
    const std::string deb = BuiltPackage(folder.path());
    const Ran listed = Output({"dpkg-deb", "--contents", deb});
    ASSERT_EQ(listed.status, 0) << listed.out;
    for (const std::string path :
         {"./usr/bin/quorlscope", "./usr/libexec/quorlscope/quorlscope-gui",
          "./usr/libexec/quorlscope/quorlscope-cli", "./usr/share/applications/" QRL_APP_ID ".desktop",
          "./usr/share/mime/packages/" QRL_APP_ID ".xml", "./usr/share/metainfo/" QRL_APP_ID ".metainfo.xml",
          "./usr/share/icons/hicolor/512x512/apps/" QRL_APP_ID ".png",
          "./usr/share/icons/hicolor/16x16/mimetypes/" QRL_MIME_ICON ".png",
          "./usr/share/man/man1/quorlscope.1.gz", "./usr/share/doc/quorlscope/copyright",
          "./usr/share/doc/quorlscope/changelog.gz"})
        EXPECT_NE(listed.out.find(path + "\n"), std::string::npos) << path << " missing in:\n" << listed.out;
    // The desktop's caches are the business of their owners' triggers.
    for (const char *cache : {"mime.cache", "mimeinfo.cache", "icon-theme.cache", "globs2"})
        EXPECT_EQ(listed.out.find(cache), std::string::npos) << cache;

    // The licence in Debian's machine-readable copyright format.
    const Ran copyright = RunShell("dpkg-deb --fsys-tarfile " + ShellQuote(deb) +
                                   " | tar -xOf - ./usr/share/doc/quorlscope/copyright");
    EXPECT_EQ(copyright.status, 0) << copyright.out;
    for (const char *line : {"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n",
                             "\nFiles: *\n", "\nLicense: GPL-3+\n", "/usr/share/common-licenses/GPL-3"})
        EXPECT_NE(copyright.out.find(line), std::string::npos) << line << " missing in:\n" << copyright.out;

    // The long description: lines as written, none longer than 80 characters.
    const Ran description = Output({"dpkg-deb", "--field", deb, "Description"});
    EXPECT_EQ(description.status, 0) << description.out;
    std::istringstream descriptionLines(description.out);
    for (std::string line; std::getline(descriptionLines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_NE(line.rfind(" ;", 0), 0u) << line;
    }

    // Debian's own checker finds no error in it.
    const Ran checked = Output({"lintian", "--fail-on", "error", deb});
    EXPECT_EQ(checked.status, 0) << checked.out;
    EXPECT_EQ(checked.out.find("\nE: "), std::string::npos) << checked.out;

    const Ran fields = Output({"dpkg-deb", "--field", deb, "Package", "Version", "Depends"});
    ASSERT_EQ(fields.status, 0) << fields.out;
    EXPECT_NE(fields.out.find("Package: quorlscope\n"), std::string::npos) << fields.out;
    EXPECT_NE(fields.out.find("Version: " QRL_VERSION "\n"), std::string::npos) << fields.out;
    // The plugins are loaded at run time, so no linker sees them.
    for (const char *dependency : {"qt6-qpa-plugins", "qt6-image-formats-plugins"})
        EXPECT_NE(fields.out.find(dependency), std::string::npos) << dependency << " missing in:\n"
                                                                  << fields.out;

    // Every library the packaged programs link comes from a package the .deb
    // depends on, as dpkg-shlibdeps writes it: versioned where the library's
    // package tells from which version on, as the C libraries and Qt do.
    ASSERT_EQ(RunProcess({"dpkg-deb", "-x", deb, unpacked.path()}).status, 0);
    std::string linked;
    for (const char *program : {"/usr/bin/quorlscope", "/usr/libexec/quorlscope/quorlscope-gui",
                                "/usr/libexec/quorlscope/quorlscope-cli"})
        linked += linkedLibraryPackages(unpacked.path() + program);
    std::map<std::string, std::string> packageOf;
    std::istringstream lines(linked);
    std::string library, package;
    while (lines >> library >> package) {
        packageOf[library] = package;
        EXPECT_NE(dependencyOn(fields.out, package), "")
            << library << " comes from " << package << ", missing in:\n"
            << fields.out;
    }
    for (const char *versioned : {"libc.so.6", "libstdc++.so.6", "libQt6Core.so.6", "libQt6Gui.so.6",
                                  "libQt6Widgets.so.6", "libQt6PrintSupport.so.6"}) {
        ASSERT_EQ(packageOf.count(versioned), 1u) << versioned << " not linked:\n" << linked;
        EXPECT_NE(dependencyOn(fields.out, packageOf[versioned]).find(" (>= "), std::string::npos)
            << versioned << " from " << packageOf[versioned] << " unversioned in:\n"
            << fields.out;
    }
}
