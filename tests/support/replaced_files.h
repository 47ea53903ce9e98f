// Existing files that an export or a printout replaces, and the check that
// each was replaced as a document save replaces a file: a symbolic link
// stays a link and its target gets the new contents; a private file stays
// private; as root, a file of another user stays theirs. Header-only, so
// that the command-line tests, which link no test support, use it too.
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

constexpr char kOldContents[] = "old contents";
constexpr uid_t kOtherOwner = 1234;
constexpr gid_t kOtherGroup = 5678;

// "link.<extension>", a symbolic link to "kept/target.<extension>", and
// "private.<extension>" with mode 0600 (as root, owned by another user);
// both hold kOldContents.
inline std::vector<ExistingFile> MakeExistingFiles(const std::string &folder, const std::string &extension)
{
    std::filesystem::create_directory(folder + "/kept");
    const std::string target = folder + "/kept/target." + extension;
    const std::string secret = folder + "/private." + extension;
    for (const std::string &path : {target, secret})
        std::ofstream(path) << kOldContents;
    std::filesystem::create_symlink(target, folder + "/link." + extension);
    ::chmod(secret.c_str(), 0600);
    if (::geteuid() == 0) {
        EXPECT_EQ(::chown(secret.c_str(), kOtherOwner, kOtherGroup), 0);
    }
    return {{"link", target, true}, {"private", secret, false}};
}

// Empty when file was replaced as a save does; otherwise what is wrong.
inline std::string ReplacedAsASaveDoes(const std::string &folder, const std::string &extension,
                                       const ExistingFile &file)
{
    const std::string written = folder + "/" + file.stem + "." + extension;
    struct stat st;
    if (::lstat(written.c_str(), &st) != 0 || S_ISLNK(st.st_mode) != file.isLink)
        return written + ": not a " + (file.isLink ? "symbolic link" : "plain file") + " any more";
    std::ifstream in(file.holder, std::ios::binary);
    const std::string contents{std::istreambuf_iterator<char>(in), {}};
    if (contents.empty() || contents == kOldContents)
        return file.holder + ": the new contents are not there";
    if (::stat(file.holder.c_str(), &st) != 0 || (!file.isLink && (st.st_mode & 07777) != 0600))
        return file.holder + ": lost its permissions 0600";
    if (!file.isLink && ::geteuid() == 0 && (st.st_uid != kOtherOwner || st.st_gid != kOtherGroup))
        return file.holder + ": lost its owner or group";
    return {};
}

} // namespace qrltest
