// What the file layer guarantees beyond what the document flows show:
// locking for every user, and saves that never lose the previous version.
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
    FSSpec fileSpecOf(const std::string &name) const
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
        FSSpec s = fileSpecOf(name);
        EXPECT_EQ(FSpOpenDF(&s, permission, &ref), noErr) << name;
        return ref;
    }
    std::string dir = qrltest::TempFolder();
};

std::string pattern(char seed, std::size_t count)
{
    std::string s(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        s[i] = char(seed + i * 7);
    return s;
}

// No write bits means locked, also for root, whom the kernel lets write.
TEST_F(PlatformFiles, FileWithoutWriteBitsIsLocked)
{
    put("doc", "old");
    short writable = openFile("doc", fsRdWrPerm);
    ASSERT_EQ(chmod(path("doc").c_str(), 0444), 0);
    FSSpec s = fileSpecOf("doc");
    short ref = -1;
    EXPECT_EQ(FSpOpenDF(&s, fsRdWrPerm, &ref), permErr);
    short readOnly = openFile("doc", fsRdPerm);
    long count = 3;
    EXPECT_EQ(FSWrite(readOnly, &count, "new"), wrPermErr);
    EXPECT_EQ(FSReplaceFileContents(readOnly, "new", 3, true), wrPermErr);
    EXPECT_EQ(FSReplaceFileContents(writable, "new", 3, true), permErr);
    EXPECT_EQ(get("doc"), "old");
    EXPECT_EQ(folderEntries(dir), Strings{"doc"});
}

// A save failing at any step, in place, over a closed file or to a new
// name, leaves the old file as it was and no temporary. The save that then
// succeeds keeps the mode, type and creator, and the open reference reads
// the new file; a new file never silently replaces an existing one.
TEST_F(PlatformFiles, EveryFailingStepOfASaveKeepsOldFile)
{
    const std::string old = pattern('o', 280);
    const std::string closed = pattern('c', 300);
    const std::string next = pattern('n', 280);
    put("doc.qrtb", old);
    put("closed.qrtb", closed);
    ASSERT_EQ(chmod(path("doc.qrtb").c_str(), 0640), 0);
    FSSpec s = fileSpecOf("doc.qrtb");
    FInfo set{FOUR_CHAR_CODE("QRTb"), FOUR_CHAR_CODE("QRLF")}, info;
    ASSERT_EQ(FSpSetFInfo(&s, &set), noErr);
    short ref = openFile("doc.qrtb", fsRdWrPerm);
    for (FSSaveStep step : kSaveSteps) {
        FSSetSaveFaultForTesting(step);
        EXPECT_NE(FSReplaceFileContents(ref, next.data(), 280, true), noErr) << "case " << int(step);
        short newRef = -1;
        FSSpec replaced = fileSpecOf("closed.qrtb"), fresh = fileSpecOf("fresh.qrtb");
        EXPECT_NE(FSWriteFileSafely(&replaced, next.data(), 280, nullptr, true, true, &newRef), noErr);
        EXPECT_NE(FSWriteFileSafely(&fresh, next.data(), 280, nullptr, false, true, &newRef), noErr);
        EXPECT_EQ(get("doc.qrtb"), old) << "case " << int(step);
        EXPECT_EQ(get("closed.qrtb"), closed) << "case " << int(step);
        EXPECT_EQ(folderEntries(dir), (Strings{"closed.qrtb", "doc.qrtb"})) << "case " << int(step);
    }
    FSSetSaveFaultForTesting(FSSaveStep::none);
    EXPECT_EQ(FSReplaceFileContents(ref, next.data(), 280, false), noErr);
    EXPECT_EQ(get("doc.qrtb"), next);
    std::string back(280, '\0');
    long count = 280;
    EXPECT_EQ(SetFPos(ref, fsFromStart, 0), noErr);
    EXPECT_EQ(FSRead(ref, &count, back.data()), noErr);
    EXPECT_EQ(back, next);
    EXPECT_TRUE(FSIsFileOpen(&s));
    struct stat st;
    ASSERT_EQ(stat(path("doc.qrtb").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(FSpGetFInfo(&s, &info), noErr);
    EXPECT_EQ(info.fdType, FOUR_CHAR_CODE("QRTb"));
    EXPECT_EQ(info.fdCreator, FOUR_CHAR_CODE("QRLF"));
    FSSpec replaced = fileSpecOf("closed.qrtb");
    short newRef = -1;
    EXPECT_EQ(FSWriteFileSafely(&replaced, "new", 3, nullptr, false, true, &newRef), dupFNErr);
    EXPECT_EQ(get("closed.qrtb"), closed);
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
            FSSpec s = fileSpecOf("doc.qrtb");
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
        for (const std::string &name : folderEntries(dir)) // a killed save may leave its temporary
            if (name != "doc.qrtb")
                unlink(path(name).c_str());
    }
}

} // namespace
