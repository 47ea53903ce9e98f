// The file layer under the document files: reading, locking, type and
// creator, and saving that never loses the previous version.
#include "files_helpers.h"

#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace filetest;

namespace
{

class PlatformFiles : public ::testing::Test
{
  protected:
    void TearDown() override { FSSetSaveFaultForTesting(FSSaveStep::none); }
    std::string path(const std::string &name) const { return dir + "/" + name; }
    FSSpec spec(const std::string &name) const
    {
        FSSpec s;
        FSMakeFSSpec(path(name), &s);
        return s;
    }
    void put(const std::string &name, const std::string &text) const
    {
        writeFile(path(name), Bytes(text.begin(), text.end()));
    }
    std::string get(const std::string &name) const
    {
        const Bytes b = readFile(path(name));
        return std::string(b.begin(), b.end());
    }
    short openFile(const std::string &name, std::int8_t permission) const
    {
        short ref = -1;
        FSSpec s = spec(name);
        EXPECT_EQ(FSpOpenDF(&s, permission, &ref), noErr) << name;
        return ref;
    }
    std::string readAll(short ref, long count) const
    {
        std::string back(std::size_t(count), '\0');
        EXPECT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
        EXPECT_EQ(FSRead(ref, &count, back.data()), noErr);
        return back;
    }
    Strings entries() const { return folderEntries(dir); }
    std::string dir = qrltest::TempFolder();
};

std::string pattern(char seed, std::size_t count)
{
    std::string s(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        s[i] = char(seed + i * 7);
    return s;
}

TEST_F(PlatformFiles, MissingFileAndFolderDoNotOpen)
{
    put("a.qrtb", "x");
    FSSpec s;
    EXPECT_EQ(FSMakeFSSpec(path("a.qrtb"), &s), noErr);
    EXPECT_EQ(s.name, "a.qrtb");
    EXPECT_EQ(FSMakeFSSpec(path("none"), &s), fnfErr);
    EXPECT_EQ(s.name, "none");
    EXPECT_EQ(s.path(), path("none"));
    short ref = -1;
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), fnfErr);
    ASSERT_EQ(mkdir(path("sub").c_str(), 0755), 0);
    s = spec("sub");
    EXPECT_EQ(FSpOpenDF(&s, fsRdPerm, &ref), notAFileErr);
}

TEST_F(PlatformFiles, ReadStopsAtEndOfFileAndWriteCuts)
{
    put("f", "abcde");
    short ref = openFile("f", fsRdWrPerm);
    char buffer[16] = {};
    long count = 16;
    EXPECT_EQ(FSRead(ref, &count, buffer), eofErr);
    EXPECT_EQ(std::string(buffer, std::size_t(count)), "abcde");
    ASSERT_EQ(SetFPos(ref, fsFromStart, 1), noErr);
    count = 3;
    EXPECT_EQ(FSRead(ref, &count, buffer), noErr);
    EXPECT_EQ(std::string(buffer, 3), "bcd");
    ASSERT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
    ASSERT_EQ(FSWrite(ref, &count, "xyz"), noErr);
    ASSERT_EQ(SetEOF(ref, 4), noErr);
    EXPECT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);
    EXPECT_EQ(get("f"), "xyzd");
}

// No write bits means locked, also for root, whom the kernel lets write.
TEST_F(PlatformFiles, FileWithoutWriteBitsIsLocked)
{
    put("doc", "old");
    short writable = openFile("doc", fsRdWrPerm);
    ASSERT_EQ(chmod(path("doc").c_str(), 0444), 0);
    FSSpec s = spec("doc");
    short ref = -1;
    EXPECT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), permErr);
    short readOnly = openFile("doc", fsRdPerm);
    long count = 3;
    EXPECT_EQ(FSWrite(readOnly, &count, "new"), wrPermErr);
    EXPECT_EQ(FSReplaceFileContents(readOnly, "new", 3, true), wrPermErr);
    EXPECT_EQ(FSReplaceFileContents(writable, "new", 3, true), permErr);
    EXPECT_EQ(get("doc"), "old");
    EXPECT_EQ(entries(), Strings{"doc"});
}

TEST_F(PlatformFiles, OpenFileIsInUseUnderAnyNameAndCannotBeDeleted)
{
    put("busy", "x");
    FSSpec s = spec("busy");
    EXPECT_FALSE(FSIsFileOpen(&s));
    short ref = openFile("busy", fsRdPerm);
    EXPECT_TRUE(FSIsFileOpen(&s));
    ASSERT_EQ(link(path("busy").c_str(), path("alias").c_str()), 0);
    EXPECT_TRUE(isOpen(dir, "alias"));
    EXPECT_EQ(FSpDelete(&s), fBsyErr);
    FSClose(ref);
    EXPECT_EQ(FSpDelete(&s), noErr);
    EXPECT_EQ(get("alias"), "x");
}

TEST_F(PlatformFiles, ReplaceRewritesFileAndKeepsReference)
{
    put("doc.qrtb", pattern('a', 400));
    ASSERT_EQ(chmod(path("doc.qrtb").c_str(), 0640), 0);
    FSSpec s = spec("doc.qrtb");
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")}, info;
    ASSERT_EQ(FSpSetFInfo(&s, &set), noErr);
    short ref = openFile("doc.qrtb", fsRdWrPerm);
    const std::string next = pattern('q', 280);
    ASSERT_EQ(FSReplaceFileContents(ref, next.data(), 280, true), noErr);
    EXPECT_EQ(get("doc.qrtb"), next);
    EXPECT_EQ(entries(), Strings{"doc.qrtb"});
    EXPECT_EQ(readAll(ref, 280), next); // the reference reads the new file
    EXPECT_TRUE(FSIsFileOpen(&s));
    struct stat st;
    ASSERT_EQ(stat(path("doc.qrtb").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
}

// A new file gets its type and creator and stays open; its name is not cut;
// an existing file is replaced only when asked.
TEST_F(PlatformFiles, NewFileIsWrittenWithIdentityAndOpen)
{
    const std::string name = std::string(200, 'n') + ".qrtb";
    FSSpec s = spec(name);
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")}, info;
    short ref = -1;
    const std::string bytes = pattern('b', 280);
    ASSERT_EQ(FSWriteFileSafely(&s, bytes.data(), 280, &set, false, true, &ref), noErr);
    EXPECT_EQ(get(name), bytes);
    EXPECT_TRUE(FSIsFileOpen(&s));
    EXPECT_TRUE(FSIsWritable(ref));
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
    EXPECT_EQ(attribute(path(name), "user.type"), "QRTb");
    FSSpec fromRef;
    ASSERT_EQ(FSGetFSSpecFromRefNum(ref, &fromRef), noErr);
    EXPECT_EQ(fromRef.path(), s.path());
    ASSERT_EQ(FSReplaceFileContents(ref, "y", 1, true), noErr);
    EXPECT_EQ(get(name), "y");
    FSClose(ref);
    EXPECT_EQ(FSWriteFileSafely(&s, "new", 3, nullptr, false, true, &ref), dupFNErr);
    EXPECT_EQ(get(name), "y");
    ASSERT_EQ(FSWriteFileSafely(&s, "new", 3, nullptr, true, true, &ref), noErr);
    EXPECT_EQ(get(name), "new");
    EXPECT_EQ(entries(), Strings{name});
}

// A save failing at any step, in place, over a closed file or to a new
// name, leaves the old file as it was and no temporary.
TEST_F(PlatformFiles, EveryFailingStepOfASaveKeepsOldFile)
{
    const std::string old = pattern('o', 280);
    const std::string closed = pattern('c', 300);
    const std::string next = pattern('n', 280);
    put("doc.qrtb", old);
    put("closed.qrtb", closed);
    short ref = openFile("doc.qrtb", fsRdWrPerm);
    for (FSSaveStep step : kSaveSteps) {
        FSSetSaveFaultForTesting(step);
        EXPECT_NE(FSReplaceFileContents(ref, next.data(), 280, true), noErr) << "case " << int(step);
        short newRef = -1;
        FSSpec replaced = spec("closed.qrtb"), fresh = spec("fresh.qrtb");
        EXPECT_NE(FSWriteFileSafely(&replaced, next.data(), 280, nullptr, true, true, &newRef), noErr);
        EXPECT_NE(FSWriteFileSafely(&fresh, next.data(), 280, nullptr, false, true, &newRef), noErr);
        EXPECT_EQ(get("doc.qrtb"), old) << "case " << int(step);
        EXPECT_EQ(get("closed.qrtb"), closed) << "case " << int(step);
        EXPECT_EQ(entries(), (Strings{"closed.qrtb", "doc.qrtb"})) << "case " << int(step);
    }
    EXPECT_EQ(readAll(ref, 280), old);
    FSSetSaveFaultForTesting(FSSaveStep::none);
    EXPECT_EQ(FSReplaceFileContents(ref, next.data(), 280, false), noErr);
    EXPECT_EQ(get("doc.qrtb"), next);
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
    EXPECT_EQ(folder.path, dir);
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
            FSSpec s = spec("doc.qrtb");
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
        for (const std::string &name : entries()) // a killed save may leave its temporary
            if (name != "doc.qrtb")
                unlink(path(name).c_str());
    }
}

} // namespace
