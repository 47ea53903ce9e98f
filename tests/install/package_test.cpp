// The .deb that `make package` builds: what it installs where, and
// dependencies taken from the shared libraries the program links.
#include "install_helpers.h"

#include <map>

using namespace installtest;

namespace
{

// Builds the package into a folder of its own and returns the .deb's path.
std::string builtPackage()
{
    const std::string folder = tempFolder();
    const Ran ran = run("cpack -G DEB --config " + quote(std::string(QRL_BUILD_DIR) + "/CPackConfig.cmake") +
                        " -B " + quote(folder));
    EXPECT_EQ(ran.exitCode, 0) << ran.output;
    const Ran found = run("ls " + quote(folder) + "/quorlscope_" QRL_VERSION "_*.deb");
    EXPECT_EQ(found.exitCode, 0) << found.output;
    return found.output.substr(0, found.output.find('\n'));
}

// The libraries a program links (its NEEDED entries), each with the Debian
// package that holds the file the loader finds for it, one "library package"
// pair a line. The package's name is the release's own (libqt6core6 on
// Debian 12, libqt6core6t64 on Debian 13); a library found under /lib is
// looked up under /usr/lib too, where a merged /usr system's dpkg knows it.
std::string linkedLibraryPackages(const std::string &program)
{
    const std::string script = "program=" + quote(program) + R"sh(
for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    path=$(ldd "$program" | awk -v library="$library" '$1 == library { print $3 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null || echo "?")
    echo "$library ${owner%%:*}"
done)sh";
    const Ran ran = run("sh -c " + quote(script));
    EXPECT_EQ(ran.exitCode, 0) << ran.output;
    return ran.output;
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
    const std::string deb = builtPackage();
    const Ran listed = run("dpkg-deb --contents " + quote(deb));
    ASSERT_EQ(listed.exitCode, 0) << listed.output;
    for (const std::string path :
         {"./usr/bin/quorlscope", "./usr/libexec/quorlscope/quorlscope-gui",
          "./usr/libexec/quorlscope/quorlscope-cli", "./usr/share/applications/" QRL_APP_ID ".desktop",
          "./usr/share/mime/packages/" QRL_APP_ID ".xml", "./usr/share/metainfo/" QRL_APP_ID ".metainfo.xml",
          "./usr/share/icons/hicolor/512x512/apps/" QRL_APP_ID ".png",
          "./usr/share/icons/hicolor/16x16/mimetypes/" QRL_MIME_ICON ".png",
          "./usr/share/man/man1/quorlscope.1.gz", "./usr/share/doc/quorlscope/copyright",
          "./usr/share/doc/quorlscope/changelog.gz"})
        EXPECT_NE(listed.output.find(path + "\n"), std::string::npos) << path << " missing in:\n"
                                                                      << listed.output;
    // The desktop's caches are the business of their owners' triggers.
    for (const char *cache : {"mime.cache", "mimeinfo.cache", "icon-theme.cache", "globs2"})
        EXPECT_EQ(listed.output.find(cache), std::string::npos) << cache;

    // The licence in Debian's machine-readable copyright format.
    const Ran copyright =
        run("dpkg-deb --fsys-tarfile " + quote(deb) + " | tar -xOf - ./usr/share/doc/quorlscope/copyright");
    EXPECT_EQ(copyright.exitCode, 0) << copyright.output;
    for (const char *line : {"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n",
                             "\nFiles: *\n", "\nLicense: GPL-3+\n", "/usr/share/common-licenses/GPL-3"})
        EXPECT_NE(copyright.output.find(line), std::string::npos) << line << " missing in:\n"
                                                                  << copyright.output;

    // The long description: lines as written, none longer than 80 characters.
    const Ran description = run("dpkg-deb --field " + quote(deb) + " Description");
    EXPECT_EQ(description.exitCode, 0) << description.output;
    std::istringstream descriptionLines(description.output);
    for (std::string line; std::getline(descriptionLines, line);) {
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_NE(line.rfind(" ;", 0), 0u) << line;
    }

    // Debian's own checker finds no error in it.
    const Ran checked = run("lintian --fail-on error " + quote(deb));
    EXPECT_EQ(checked.exitCode, 0) << checked.output;
    EXPECT_EQ(checked.output.find("\nE: "), std::string::npos) << checked.output;

    const Ran fields = run("dpkg-deb --field " + quote(deb) + " Package Version Depends");
    ASSERT_EQ(fields.exitCode, 0) << fields.output;
    EXPECT_NE(fields.output.find("Package: quorlscope\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("Version: " QRL_VERSION "\n"), std::string::npos) << fields.output;
    // The plugins are loaded at run time, so no linker sees them.
    for (const char *dependency : {"qt6-qpa-plugins", "qt6-image-formats-plugins"})
        EXPECT_NE(fields.output.find(dependency), std::string::npos) << dependency << " missing in:\n"
                                                                     << fields.output;

    // Every library the packaged programs link comes from a package the .deb
    // depends on, as dpkg-shlibdeps writes it: versioned where the library's
    // package tells from which version on, as the C libraries and Qt do.
    const std::string unpacked = tempFolder();
    ASSERT_EQ(run("dpkg-deb -x " + quote(deb) + " " + quote(unpacked)).exitCode, 0);
    std::string linked;
    for (const char *program : {"/usr/bin/quorlscope", "/usr/libexec/quorlscope/quorlscope-gui",
                                "/usr/libexec/quorlscope/quorlscope-cli"})
        linked += linkedLibraryPackages(unpacked + program);
    std::map<std::string, std::string> packageOf;
    std::istringstream lines(linked);
    std::string library, package;
    while (lines >> library >> package) {
        packageOf[library] = package;
        EXPECT_NE(dependencyOn(fields.output, package), "")
            << library << " comes from " << package << ", missing in:\n"
            << fields.output;
    }
    for (const char *versioned : {"libc.so.6", "libstdc++.so.6", "libQt6Core.so.6", "libQt6Gui.so.6",
                                  "libQt6Widgets.so.6", "libQt6PrintSupport.so.6"}) {
        ASSERT_EQ(packageOf.count(versioned), 1u) << versioned << " not linked:\n" << linked;
        EXPECT_NE(dependencyOn(fields.output, packageOf[versioned]).find(" (>= "), std::string::npos)
            << versioned << " from " << packageOf[versioned] << " unversioned in:\n"
            << fields.output;
    }
}
