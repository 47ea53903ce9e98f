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
    void TearDown() override { SetSaveFaultForTesting(SaveStep::none); }
    std::string path(const std::string &name) const { return dir + "/" + name; }
    void put(const std::string &name, const std::string &text) const
    {
        writeFile(path(name), Bytes(text.begin(), text.end()));
    }
    std::string get(const std::string &name) const
    {
        const Bytes b = readFile(path(name));
        return std::string(b.begin(), b.end());
    }
    FileError save(const std::string &name, const std::string &text, Replace replace, bool flush = true) const
    {
        return SaveFile(path(name), QByteArray::fromStdString(text), replace, flush, "QRTb", "QRLF");
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
    EXPECT_FALSE(IsSaveLocked(path("doc")));
    ASSERT_EQ(chmod(path("doc").c_str(), 0444), 0);
    EXPECT_TRUE(IsSaveLocked(path("doc")));
    const FileError error = save("doc", "new", Replace::unlocked);
    EXPECT_EQ(error.number, EACCES);
    EXPECT_TRUE(error.locked());
    EXPECT_EQ(get("doc"), "old");
    EXPECT_EQ(folderEntries(dir), Strings{"doc"});
}

// A save failing at any step, in place, over a closed file or to a new
// name, leaves the old file as it was and no temporary. The save that then
// succeeds keeps the mode and sets the type and creator; a new file never
// silently replaces an existing one.
TEST_F(PlatformFiles, EveryFailingStepOfASaveKeepsOldFile)
{
    const std::string old = pattern('o', 280);
    const std::string closed = pattern('c', 300);
    const std::string next = pattern('n', 280);
    put("doc.qrtb", old);
    put("closed.qrtb", closed);
    ASSERT_EQ(chmod(path("doc.qrtb").c_str(), 0640), 0);
    for (SaveStep step : kSaveSteps) {
        SetSaveFaultForTesting(step);
        EXPECT_TRUE(save("doc.qrtb", next, Replace::any).failed()) << "case " << int(step);
        EXPECT_TRUE(save("closed.qrtb", next, Replace::unlocked).failed()) << "case " << int(step);
        EXPECT_TRUE(save("fresh.qrtb", next, Replace::never).failed()) << "case " << int(step);
        EXPECT_EQ(get("doc.qrtb"), old) << "case " << int(step);
        EXPECT_EQ(get("closed.qrtb"), closed) << "case " << int(step);
        EXPECT_EQ(folderEntries(dir), (Strings{"closed.qrtb", "doc.qrtb"})) << "case " << int(step);
    }
    SetSaveFaultForTesting(SaveStep::none);
    EXPECT_FALSE(save("doc.qrtb", next, Replace::any, false).failed());
    EXPECT_EQ(get("doc.qrtb"), next);
    struct stat st;
    ASSERT_EQ(stat(path("doc.qrtb").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(attribute(path("doc.qrtb"), "user.type"), "QRTb");
    EXPECT_EQ(attribute(path("doc.qrtb"), "user.creator"), "QRLF");
    EXPECT_EQ(save("closed.qrtb", "new", Replace::never).number, EEXIST);
    EXPECT_EQ(get("closed.qrtb"), closed);
    EXPECT_EQ(folderEntries(dir), (Strings{"closed.qrtb", "doc.qrtb"}));
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
            for (unsigned i = 0;; ++i)
                if (save("doc.qrtb", i % 2 == 0 ? b : a, Replace::any, i % 3 == 0).failed())
                    _exit(3);
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
