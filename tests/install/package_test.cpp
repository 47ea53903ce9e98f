// The .deb that `make package` builds: what it installs where, and
// dependencies taken from the shared libraries the program links.
#include "install_helpers.h"

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
    std::istringstream lines(description.output);
    for (std::string line; std::getline(lines, line);) {
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
    // Versioned, as dpkg-shlibdeps writes them, not a hand-written list;
    // the plugins are loaded at run time, so no linker sees them.
    for (const char *dependency :
         {"libc6 (>= ", "libqt6core6 (>= ", "libqt6gui6 (>= ", "libqt6widgets6 (>= ",
          "libqt6printsupport6 (>= ", "libstdc++6 (>= ", "qt6-qpa-plugins", "qt6-image-formats-plugins"})
        EXPECT_NE(fields.output.find(dependency), std::string::npos) << dependency << " missing in:\n"
                                                                     << fields.output;
}
