// The build installed once, as `make install PREFIX=...` does, checked with
// the desktop's own tools and run without a display; and the .deb that
// `make package` builds, once.
#include "tests/support/common.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace qrltest;
namespace fs = std::filesystem;

TEST(Install, TheInstalledTree)
{
    const std::string folder = FreshFolder() + "/";
    const std::string prefix = folder + "prefix", share = prefix + "/share/", id = QRL_APP_ID;
    const Ran installed = RunProcess({"cmake", "--install", QRL_BUILD_DIR, "--prefix", prefix});
    ASSERT_EQ(installed.status, 0) << installed.err;
    std::set<std::string> found, expected = {"bin/quorlscope",
                                             "libexec/quorlscope/quorlscope-gui",
                                             "libexec/quorlscope/quorlscope-cli",
                                             "share/man/man1/quorlscope.1.gz",
                                             "share/doc/quorlscope/copyright",
                                             "share/doc/quorlscope/changelog.gz"};
    for (const std::string &file : {"applications/" + id + ".desktop", "mime/packages/" + id + ".xml",
                                    "metainfo/" + id + ".metainfo.xml"})
        expected.insert("share/" + file);
    for (const std::string &size : Words(QRL_ICON_SIZES))
        for (const std::string &icon : Strings{"apps/" + id, "mimetypes/" QRL_MIME_ICON})
            expected.insert("share/icons/hicolor/" + size + "x" + size + "/" + icon + ".png");
    for (const auto &entry : fs::recursive_directory_iterator(prefix))
        if (!entry.is_directory())
            found.insert(fs::relative(entry.path(), prefix).string());
    EXPECT_EQ(found, expected);
    // The desktop's validators and indexes pass, then the file each checked or made holds the parts.
    const std::pair<Strings, Strings> tools[] = {
        // clang-format off
        {{"desktop-file-validate", share + "applications/" + id + ".desktop"}, {"applications/" + id + ".desktop", "\nExec=quorlscope %F\n", "\nMimeType=" QRL_MIME_TYPE ";\n", "\nName[de]=" QRL_APP_NAME "\n"}},
        {{"update-desktop-database", share + "applications"}, {"applications/mimeinfo.cache", QRL_MIME_TYPE "=" + id + ".desktop"}},
        {{"env", "XDG_DATA_DIRS=" + share, "update-mime-database", share + "mime"}, {"mime/globs2", ":" QRL_MIME_TYPE ":*.qrtb"}},
        {{"appstreamcli", "validate", "--no-net", "--no-color", share + "metainfo/" + id + ".metainfo.xml"}, {"metainfo/" + id + ".metainfo.xml", "<release version=\"" QRL_VERSION "\""}}};
    // clang-format on
    for (const auto &[command, parts] : tools) {
        const Ran ran = RunProcess(command);
        const std::string said = ran.out + ran.err;
        EXPECT_EQ(ran.status, 0) << said;
        EXPECT_TRUE(said.empty() || said.find("Validation was successful") != std::string::npos) << said;
        ExpectContains(ReadText(share + parts[0]), Strings(parts.begin() + 1, parts.end()));
    }
    // The installed command line with no display, and no locale unless a row
    // sets one: status, the output's start and its parts; nothing written where it fails.
    const std::string version = QRL_APP_NAME " " QRL_VERSION "\n", missing = prefix + "/none.qrtb";
    const struct {
        Strings arguments;
        std::string locale;
        int status;
        std::string start, part;
    } cases[] = {
        // clang-format off
        {{"--version"}, "LANG=C.UTF-8", 0, version, "\nLicense GPL-3.0-or-later: GNU GPL version 3 or later <https://"},
        {{"-v"}, "LANG=de_DE.UTF-8", 0, version, "\nLizenz GPL-3.0-or-later: GNU GPL Version 3 oder neuer"},
        {{"--help"}, "LANG=de_DE.UTF-8", 0, "Aufruf: quorlscope [Optionen] [Dateien...]\n", "Diese Hilfe zeigen und beenden."},
        {Words("table --distance 3 --focal 50 --camera fullframe --circle 30 --unit m --format csv"), "", 0, "", "\ntable,full-frame digital,50,3,30,1.4,2.858,3.156,"},
        {{"export", missing, "--to", prefix + "/out.json"}, "", 1, "quorlscope: cannot read " + missing + ": No such file or directory\n", ""},
        {{"table.qrtb"}, "", 1, "", "no display"}};
    // clang-format on
    for (const auto &c : cases) {
        Strings command = {prefix + "/bin/quorlscope"};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        const Ran ran = RunProcess(command, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL",
                                             "LC_MESSAGES", "LANGUAGE", "LANG", c.locale});
        const std::string said = ran.out + ran.err;
        EXPECT_EQ(ran.status, c.status) << said;
        EXPECT_EQ(said.rfind(c.start, 0), 0u) << said;
        ExpectContains(said, {c.part});
    }
    EXPECT_FALSE(fs::exists(prefix + "/out.json"));
}

// What the package installs (the desktop's caches are left to their owners'
// triggers), Debian's checker, and the dependencies: the plugins Qt loads at
// run time and, versioned, the packages of the C libraries and Qt.
TEST(Package, DebHoldsTheInstalledFilesAndDependsOnWhatTheProgramLinks)
{
    const std::string folder = FreshFolder() + "/";
    const Ran packed =
        RunProcess({"cpack", "-G", "DEB", "--config", QRL_BUILD_DIR "/CPackConfig.cmake", "-B", folder});
    ASSERT_EQ(packed.status, 0) << packed.out << packed.err;
    const std::string deb =
        folder + ("quorlscope_" QRL_VERSION "_" +
                  Split(RunProcess({"dpkg", "--print-architecture"}).out, '\n')[0] + ".deb");
    const std::string listed = RunProcess({"dpkg-deb", "--contents", deb}).out;
    ExpectContains(listed, {"./usr/bin/quorlscope\n", "./usr/libexec/quorlscope/quorlscope-gui\n",
                            "./usr/share/metainfo/" QRL_APP_ID ".metainfo.xml\n",
                            "./usr/share/icons/hicolor/16x16/mimetypes/" QRL_MIME_ICON ".png\n"});
    for (const char *cache : {"mime.cache", "mimeinfo.cache", "icon-theme.cache", "globs2"})
        EXPECT_EQ(listed.find(cache), std::string::npos) << cache;
    const Ran checked = RunProcess({"lintian", "--fail-on", "error", deb});
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    const std::string depends = RunProcess({"dpkg-deb", "--field", deb, "Depends"}).out;
    ExpectContains(depends, {"qt6-qpa-plugins", "qt6-image-formats-plugins"});
    // Each library's package by the name this release gives it (libqt6core6 or libqt6core6t64), found
    // through the file the loader takes, under /usr too on a merged /usr system.
    const std::string gui = folder + "root/usr/libexec/quorlscope/quorlscope-gui";
    ASSERT_EQ(RunProcess({"dpkg-deb", "-x", deb, folder + "root"}).status, 0);
    for (const std::string library : {"libc.so.6", "libstdc++.so.6", "libQt6Core.so.6", "libQt6Gui.so.6",
                                      "libQt6Widgets.so.6", "libQt6PrintSupport.so.6"}) {
        const std::string owner =
            RunProcess(
                {"sh", "-c",
                 "p=$(ldd " + gui + " | awk '$1 == \"" + library +
                     "\" { print $3 }'); dpkg -S \"$p\" 2>/dev/null || dpkg -S \"$(readlink -f \"$p\")\""})
                .out;
        EXPECT_NE(depends.find(Split(owner, ':')[0] + " (>= "), std::string::npos)
            << library << " from " << owner << depends;
    }
}
