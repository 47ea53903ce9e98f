// The file layer under the document files: reading, locking, type and
// creator, and saving that never loses the previous version.
#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace
{

class PlatformFiles : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "qrl-files-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        ASSERT_NE(mkdtemp(buffer.data()), nullptr);
        dir = buffer.data();
    }
    void TearDown() override
    {
        FSSetSaveFaultForTesting(FSSaveStep::none);
        std::string command = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string path(const std::string &name) const { return dir + "/" + name; }
    FSSpec fileSpec(const std::string &name) const
    {
        FSSpec s;
        FSMakeFSSpec(path(name), &s);
        return s;
    }
    void put(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string get(const std::string &name) const
    {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        DIR *d = opendir(dir.c_str());
        while (dirent *e = readdir(d)) {
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        }
        closedir(d);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string dir;
};

std::string pattern(char seed, std::size_t count)
{
    std::string s(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        s[i] = char(seed + i * 7);
    return s;
}

TEST_F(PlatformFiles, MakeSpecSplitsFolderAndName)
{
    put("a.qrtb", "x");
    FSSpec s;
    ASSERT_EQ(FSMakeFSSpec(path("a.qrtb"), &s), noErr);
    EXPECT_EQ(s.name, "a.qrtb");
    EXPECT_EQ(s.path(), path("a.qrtb"));
    EXPECT_EQ(FSMakeFSSpec(path("missing"), &s), fnfErr);
    EXPECT_EQ(s.name, "missing");
}

TEST_F(PlatformFiles, ReadStopsAtEndOfFileWithCount)
{
    put("short", "abcde");
    short ref = -1;
    FSSpec s = fileSpec("short");
    ASSERT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), noErr);
    char buffer[16] = {};
    long count = 16;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(std::string(buffer, 5), "abcde");
    ASSERT_EQ(SetFPos(ref, fsFromStart, 1), noErr);
    count = 3;
    EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 3), "bcd");
    EXPECT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);
}

TEST_F(PlatformFiles, WriteAndCutThroughReadWriteReference)
{
    put("f", "0123456789");
    short ref = -1;
    FSSpec s = fileSpec("f");
    ASSERT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), noErr);
    long count = 3;
    ASSERT_EQ(FSWrite(ref, &count, "xyz"), noErr);
    ASSERT_EQ(SetEOF(ref, 4), noErr);
    FSClose(ref);
    EXPECT_EQ(get("f"), "xyz3");
}

TEST_F(PlatformFiles, FileWithoutWriteBitsIsLockedEvenForRoot)
{
    put("locked.qrtb", "data");
    ASSERT_EQ(chmod(path("locked.qrtb").c_str(), 0444), 0);
    short ref = -1;
    FSSpec s = fileSpec("locked.qrtb");
    EXPECT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), permErr);
    ASSERT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), noErr);
    long count = 4;
    EXPECT_EQ(FSWrite(ref, &count, "nope"), wrPermErr);
    EXPECT_EQ(FSReplaceFileContents(ref, "nope", 4, true), wrPermErr);
    FSClose(ref);
    EXPECT_EQ(get("locked.qrtb"), "data");
}

TEST_F(PlatformFiles, MissingFileAndFolderDoNotOpen)
{
    short ref = -1;
    FSSpec s = fileSpec("none");
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), fnfErr);
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    s = fileSpec("sub");
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), notAFileErr);
}

TEST_F(PlatformFiles, TypeAndCreatorFromAttributes)
{
    put("plain", "");
    FSSpec s = fileSpec("plain");
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, 0u);
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")};
    ASSERT_EQ(FSpSetFInfo(&s, &set), noErr);
    char raw[8] = {};
    ASSERT_EQ(getxattr(path("plain").c_str(), "user.type", raw, sizeof raw), 4);
    EXPECT_EQ(std::string(raw, 4), "QRTb");
    ASSERT_EQ(getxattr(path("plain").c_str(), "user.creator", raw, sizeof raw), 4);
    EXPECT_EQ(std::string(raw, 4), "QRLF");
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
}

TEST_F(PlatformFiles, ExtensionStandsInForMissingTypeAttribute)
{
    put("Upper.QRTB", "");
    put("other.qrtb", "");
    put("qrtb", "");
    FSSpec s = fileSpec("Upper.QRTB");
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    s = fileSpec("qrtb");
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, 0u);
    // The attribute wins over the name.
    ASSERT_EQ(setxattr(path("other.qrtb").c_str(), "user.type", "TEXT", 4, 0), 0);
    s = fileSpec("other.qrtb");
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("TEXT"));
}

TEST_F(PlatformFiles, OpenFileIsInUseAndCannotBeDeleted)
{
    put("busy", "x");
    FSSpec s = fileSpec("busy");
    EXPECT_FALSE(FSIsFileOpen(&s));
    short ref = -1;
    ASSERT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), noErr);
    EXPECT_TRUE(FSIsFileOpen(&s));
    // The same file reached through another name is the same file.
    ASSERT_EQ(link(path("busy").c_str(), path("alias").c_str()), 0);
    FSSpec alias = fileSpec("alias");
    EXPECT_TRUE(FSIsFileOpen(&alias));
    EXPECT_EQ(FSpDelete(&s), fBsyErr);
    FSClose(ref);
    EXPECT_EQ(FSpDelete(&s), noErr);
    EXPECT_EQ(get("alias"), "x");
}

TEST_F(PlatformFiles, ReplaceRewritesFileAndKeepsReference)
{
    put("doc.qrtb", pattern('a', 400));
    ASSERT_EQ(chmod(path("doc.qrtb").c_str(), 0640), 0);
    FSSpec s = fileSpec("doc.qrtb");
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")};
    ASSERT_EQ(FSpSetFInfo(&s, &set), noErr);
    short ref = -1;
    ASSERT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), noErr);
    const std::string next = pattern('q', 280);
    ASSERT_EQ(FSReplaceFileContents(ref, next.data(), 280, true), noErr);
    EXPECT_EQ(get("doc.qrtb"), next);
    EXPECT_EQ(entries(), std::vector<std::string>{"doc.qrtb"});
    // The reference now reads the new file, which is the one in use.
    std::string back(280, '\0');
    long count = 280;
    ASSERT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
    ASSERT_EQ(FSRead(ref, &count, back.data()), noErr);
    EXPECT_EQ(back, next);
    EXPECT_TRUE(FSIsFileOpen(&s));
    struct stat st;
    ASSERT_EQ(stat(path("doc.qrtb").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
    FSClose(ref);
}

TEST_F(PlatformFiles, ReplaceRefusesLockedFile)
{
    put("doc", "old");
    FSSpec s = fileSpec("doc");
    short ref = -1;
    ASSERT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), noErr);
    ASSERT_EQ(chmod(path("doc").c_str(), 0444), 0);
    EXPECT_EQ(FSReplaceFileContents(ref, "new", 3, true), permErr);
    EXPECT_EQ(get("doc"), "old");
    EXPECT_EQ(entries(), std::vector<std::string>{"doc"});
    FSClose(ref);
}

TEST_F(PlatformFiles, EveryFailingStepOfReplaceKeepsOldFile)
{
    const std::string old = pattern('o', 280);
    put("doc.qrtb", old);
    FSSpec s = fileSpec("doc.qrtb");
    short ref = -1;
    ASSERT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), noErr);
    const std::string next = pattern('n', 280);
    for (FSSaveStep step : {FSSaveStep::create, FSSaveStep::write, FSSaveStep::flush, FSSaveStep::rename}) {
        FSSetSaveFaultForTesting(step);
        EXPECT_NE(FSReplaceFileContents(ref, next.data(), 280, true), noErr) << int(step);
        EXPECT_EQ(get("doc.qrtb"), old) << int(step);
        EXPECT_EQ(entries(), std::vector<std::string>{"doc.qrtb"}) << int(step);
    }
    // The reference still reads the old file.
    std::string back(280, '\0');
    long count = 280;
    ASSERT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
    ASSERT_EQ(FSRead(ref, &count, back.data()), noErr);
    EXPECT_EQ(back, old);
    FSSetSaveFaultForTesting(FSSaveStep::none);
    EXPECT_EQ(FSReplaceFileContents(ref, next.data(), 280, false), noErr);
    EXPECT_EQ(get("doc.qrtb"), next);
    FSClose(ref);
}

TEST_F(PlatformFiles, NewFileIsWrittenWithIdentityAndOpen)
{
    FSSpec s = fileSpec("new.qrtb");
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")};
    short ref = -1;
    const std::string bytes = pattern('b', 280);
    ASSERT_EQ(FSWriteFileSafely(&s, bytes.data(), 280, &set, false, true, &ref), noErr);
    EXPECT_EQ(get("new.qrtb"), bytes);
    EXPECT_TRUE(FSIsFileOpen(&s));
    EXPECT_TRUE(FSIsWritable(ref));
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
    char raw[4];
    EXPECT_EQ(getxattr(path("new.qrtb").c_str(), "user.type", raw, 4), 4);
    FSSpec fromRef;
    ASSERT_EQ(FSGetFSSpecFromRefNum(ref, &fromRef), noErr);
    EXPECT_EQ(fromRef.path(), s.path());
    FSClose(ref);
}

TEST_F(PlatformFiles, NewFileDoesNotReplaceUnlessAsked)
{
    put("there", "old");
    FSSpec s = fileSpec("there");
    short ref = -1;
    EXPECT_EQ(FSWriteFileSafely(&s, "new", 3, nullptr, false, true, &ref), dupFNErr);
    EXPECT_EQ(get("there"), "old");
    ASSERT_EQ(FSWriteFileSafely(&s, "new", 3, nullptr, true, true, &ref), noErr);
    EXPECT_EQ(get("there"), "new");
    EXPECT_EQ(entries(), std::vector<std::string>{"there"});
    FSClose(ref);
}

TEST_F(PlatformFiles, EveryFailingStepOfNewFileKeepsReplacedFileOrNothing)
{
    const std::string old = pattern('o', 300);
    put("old.qrtb", old);
    const std::string next = pattern('n', 280);
    for (FSSaveStep step : {FSSaveStep::create, FSSaveStep::write, FSSaveStep::flush, FSSaveStep::rename}) {
        FSSetSaveFaultForTesting(step);
        short ref = -1;
        FSSpec replaced = fileSpec("old.qrtb");
        EXPECT_NE(FSWriteFileSafely(&replaced, next.data(), 280, nullptr, true, true, &ref), noErr);
        FSSpec fresh = fileSpec("fresh.qrtb");
        EXPECT_NE(FSWriteFileSafely(&fresh, next.data(), 280, nullptr, false, true, &ref), noErr);
        EXPECT_EQ(get("old.qrtb"), old) << int(step);
        EXPECT_EQ(entries(), std::vector<std::string>{"old.qrtb"}) << int(step);
    }
}

TEST_F(PlatformFiles, LongNamesAreNotCut)
{
    const std::string name = std::string(200, 'n') + ".qrtb";
    FSSpec s = fileSpec(name);
    short ref = -1;
    ASSERT_EQ(FSWriteFileSafely(&s, "x", 1, nullptr, false, true, &ref), noErr);
    EXPECT_EQ(entries(), std::vector<std::string>{name});
    ASSERT_EQ(FSReplaceFileContents(ref, "y", 1, true), noErr);
    EXPECT_EQ(get(name), "y");
    FSClose(ref);
}

TEST_F(PlatformFiles, AppleEventItemsBecomeFileRecords)
{
    put("a.qrtb", "");
    AEDescList list{{path("a.qrtb"), true}, {"", false}};
    FSSpec s;
    ASSERT_EQ(AEGetNthFSSpec(&list, 1, &s), noErr);
    EXPECT_EQ(s.path(), path("a.qrtb"));
    EXPECT_EQ(AEGetNthFSSpec(&list, 2, &s), errAECoercionFail);
    EXPECT_EQ(AEGetNthFSSpec(&list, 3, &s), errAEDescNotFound);
    FSRef folder;
    AEDesc folderDesc{dir, true};
    ASSERT_EQ(AECoerceToFSRef(&folderDesc, &folder), noErr);
    EXPECT_EQ(folder.path + "/a.qrtb", path("a.qrtb"));
}

// A child saves two versions in turn as fast as it can and is killed at a
// random moment; the file is always one version or the other, whole.
TEST_F(PlatformFiles, KilledSaveLeavesOldOrNewFileWhole)
{
    const std::string a = pattern('A', 280);
    const std::string b = pattern('B', 280);
    put("doc.qrtb", a);
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FSSpec s = fileSpec("doc.qrtb");
            short ref = -1;
            if (FSpOpenDF(&s, fsRdWrPerm, &ref) != noErr)
                _exit(2);
            for (unsigned i = 0;; ++i) {
                const std::string &bytes = i % 2 == 0 ? b : a;
                if (FSReplaceFileContents(ref, bytes.data(), 280, i % 3 == 0) != noErr)
                    _exit(3);
            }
        }
        usleep(useconds_t(1000 + random() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "child ended on its own: " << status;
        const std::string now = get("doc.qrtb");
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
        // A killed save may leave its temporary behind; clear it for the next round.
        for (const std::string &name : entries()) {
            if (name != "doc.qrtb")
                unlink(path(name).c_str());
        }
    }
}

} // namespace
