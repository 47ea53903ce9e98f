// Existing files that an export or a printout replaces, and the check that
// each was replaced as a document save replaces a file. Header-only, so that
// the command-line tests, which link no test support, use it too.
#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qrltest
{

struct ExistingFile {
    std::string stem;   // the name written to, in the folder, without the extension
    std::string holder; // the file that must get the new contents
    bool isLink = false;
};

// "link.<extension>", a symbolic link to "kept/target.<extension>", and
// "private.<extension>" with mode 0600 (as root, owned by user 1234, group
// 5678); both hold "old contents".
inline std::vector<ExistingFile> MakeExistingFiles(const std::string &folder, const std::string &extension)
{
    std::filesystem::create_directory(folder + "/kept");
    const std::string target = folder + "/kept/target." + extension,
                      secret = folder + "/private." + extension;
    std::ofstream(target) << "old contents";
    std::ofstream(secret) << "old contents";
    std::filesystem::create_symlink(target, folder + "/link." + extension);
    ::chmod(secret.c_str(), 0600);
    EXPECT_EQ(::geteuid() == 0 ? ::chown(secret.c_str(), 1234, 5678) : 0, 0);
    return {{"link", target, true}, {"private", secret, false}};
}

// Empty when file was replaced as a save does: a link stays a link and its
// target gets the new contents; a private file keeps its mode, owner and
// group. Otherwise what is wrong.
inline std::string ReplacedAsASaveDoes(const std::string &folder, const std::string &extension,
                                       const ExistingFile &file)
{
    const std::string written = folder + "/" + file.stem + "." + extension;
    std::ifstream in(file.holder, std::ios::binary);
    const std::string contents{std::istreambuf_iterator<char>(in), {}};
    struct stat st;
    if (::lstat(written.c_str(), &st) != 0 || S_ISLNK(st.st_mode) != file.isLink)
        return written + ": not a " + (file.isLink ? "symbolic link" : "plain file") + " any more";
    if (contents.empty() || contents == "old contents")
        return file.holder + ": the new contents are not there";
    if (::stat(file.holder.c_str(), &st) != 0 || (!file.isLink && (st.st_mode & 07777) != 0600))
        return file.holder + ": lost its permissions 0600";
    if (!file.isLink && ::geteuid() == 0 && (st.st_uid != 1234 || st.st_gid != 5678))
        return file.holder + ": lost its owner or group";
    return {};
}

} // namespace qrltest
