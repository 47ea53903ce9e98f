// Saving and keeping work: Save and Save As as the user does them, and
// every way the file system can say no, checked by the alert, the file's
// bytes and the folder's entries afterwards.
#include "files_helpers.h"
#include "tests/support/mounts.h"

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qrltest;
using namespace filetest;

namespace
{

class Saving : public FileTest
{
  protected:
    // The file holding a table, opened into the start-up window and changed.
    void openChanged(const std::string &name)
    {
        WriteBytes(path(name), layout(table(4, 50)));
        ASSERT_FALSE(open(name).failed());
        ComputeTable({"9", "35", {}, {}});
    }
    // After a failed save the document keeps its file, title and changes,
    // and the file its previous contents.
    void expectKept(const std::string &name)
    {
        EXPECT_TRUE(isOpen(folder, name));
        EXPECT_EQ(platform::windowTitleOf(window), name);
        EXPECT_EQ(BIsDocumentDirty(window), 1);
        EXPECT_TRUE(window->isWindowModified());
        EXPECT_EQ(ReadBytes(path(name)), layout(table(4, 50)));
    }
    Strings temporaries() const
    {
        Strings found;
        for (const std::string &name : ListFolder(folder))
            if (name.rfind(AtomicSave::temporaryPrefix(), 0) == 0)
                found.push_back(name);
        return found;
    }
};

// The Save sheet of a second window proposes its numbered title; Cancel,
// an empty name and the sheet's close box leave everything; a name saves
// the record there with the table's type and creator.
TEST_F(Saving, SaveAsksWhereProposingTheTitle)
{
    Trigger("New");
    window = DocumentAt(1);
    ComputeTable({"3", "50", {}, {}});
    Trigger("Save");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_TRUE(dialog.saves);
    EXPECT_EQ(dialog.parent, window);
    EXPECT_EQ(dialog.modality, Qt::WindowModal);
    EXPECT_EQ(dialog.title, "Quorlscope");
    EXPECT_EQ(dialog.name, "Untitled 2.qrtb");
    ASSERT_TRUE(Press(dialog, "Cancel"));
    Trigger("Save");
    EXPECT_FALSE(ChooseSaveLocation(OnlyDialog(), folder, ""));
    ClickCloseBox(platform::frontWindow());
    EXPECT_TRUE(NoDialogShown());
    EXPECT_TRUE(ListFolder(folder).empty());
    EXPECT_EQ(platform::windowTitleOf(window), "Untitled 2");
    EXPECT_TRUE(window->isWindowModified());
    saveAs("Portrait");
    EXPECT_EQ(ReadBytes(path("Portrait.qrtb")), record());
    EXPECT_EQ(ListFolder(folder), Strings{"Portrait.qrtb"});
    EXPECT_EQ(attribute(path("Portrait.qrtb"), "user.type"), "QRTb");
    EXPECT_EQ(attribute(path("Portrait.qrtb"), "user.creator"), "QRLF");
    EXPECT_EQ(platform::windowTitleOf(window), "Portrait.qrtb");
    EXPECT_EQ(window->windowFilePath().toStdString(), path("Portrait.qrtb"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_EQ(platform::frontWindow(), window);
    EXPECT_TRUE(AlertMessages().empty());
}

// Save rewrites an opened file whole (a longer one is cut to the record,
// one removed meanwhile is written again, one known by its name only gets
// the type); Save As replaces a closed file, keeps a long name whole and
// moves the document, leaving the old file.
TEST_F(Saving, SaveRewritesTheFileAndSaveAsMovesTheDocument)
{
    Bytes longer = layout(table(4, 50));
    longer.resize(1000, 0x77);
    WriteBytes(path("t.qrtb"), longer);
    WriteBytes(path("closed.qrtb"), Bytes(500, 0x11));
    ASSERT_FALSE(open("t.qrtb").failed());
    EXPECT_EQ(record(), layout(table(4, 50)));
    for (bool removed : {false, true}) {
        if (removed) {
            ASSERT_EQ(unlink(path("t.qrtb").c_str()), 0);
        }
        ComputeTable({removed ? "5" : "7", "85", {}, {}});
        Trigger("Save");
        EXPECT_EQ(ReadBytes(path("t.qrtb")), record());
        EXPECT_EQ(attribute(path("t.qrtb"), "user.type"), "QRTb");
        EXPECT_EQ(BIsDocumentDirty(window), 0);
    }
    const std::string name = std::string(120, 'L') + " long table name.qrtb";
    for (const std::string &to : {std::string("closed.qrtb"), name}) {
        const Bytes before = ReadBytes(path("t.qrtb"));
        ComputeTable({"9", "35", {}, {}});
        saveAs(to, "SaveAs");
        EXPECT_EQ(ReadBytes(path(to)), record());
        EXPECT_EQ(ReadBytes(path("t.qrtb")), before);
        EXPECT_EQ(platform::windowTitleOf(window), to);
        EXPECT_FALSE(isOpen(folder, "t.qrtb"));
    }
    EXPECT_EQ(ListFolder(folder), (Strings{name, "closed.qrtb", "t.qrtb"}));
    EXPECT_TRUE(AlertMessages().empty());
}

// A save failing at one step, to a chosen file (over a closed one or new)
// and in place, keeps every previous file and leaves no temporary; in place
// the alert gives the system's reason, and the next Save works.
class FailingStep : public Saving, public ::testing::WithParamInterface<SaveStep>
{
};

TEST_P(FailingStep, KeepsPreviousFilesAndLeavesNoTemporary)
{
    WriteBytes(path("victim.qrtb"), Bytes(280, 0x42));
    openChanged("a.qrtb");
    SetSaveFaultForTesting(GetParam());
    saveAs("victim", "SaveAs");
    saveAs("fresh", "SaveAs");
    Trigger("Save");
    SetSaveFaultForTesting(SaveStep::none);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 3u);
    EXPECT_EQ(alerts[0].message, "Could not write Copy");
    EXPECT_EQ(alerts[1].message, "Could not write Copy");
    EXPECT_EQ(alerts[2].message, "Could not save the file");
    const std::string reason = std::strerror(GetParam() == SaveStep::write ? ENOSPC : EIO);
    EXPECT_EQ(alerts[2].explanation, "The file \u201ca.qrtb\u201d could not be written: " + reason +
                                         ".\nIt keeps its previous contents.");
    EXPECT_EQ(ReadBytes(path("victim.qrtb")), Bytes(280, 0x42));
    EXPECT_EQ(ListFolder(folder), (Strings{"a.qrtb", "victim.qrtb"}));
    expectKept("a.qrtb");
    Trigger("Save");
    EXPECT_EQ(ReadBytes(path("a.qrtb")), record());
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStep, ::testing::ValuesIn(kSaveSteps));

// Save As refused: into a folder that cannot be written, over a read-only
// file, over a file this or another document holds, or a name too long for
// the file system, which the dialog does not take. Then Save into the
// folder made unwritable meanwhile: the locked-volume alert. The document
// keeps its file and changes throughout.
TEST_F(Saving, RefusedSaveKeepsTheDocumentsFile)
{
    openChanged("a.qrtb");
    WriteBytes(path("held.qrtb"), layout(table(6, 85)));
    ASSERT_FALSE(open("held.qrtb").failed());
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    platform::selectWindow(window);
    const std::string locked = TempFolder();
    ASSERT_TRUE(MakeUnwritable(locked)) << MountsUnavailable();
    WriteBytes(path("target.qrtb"), Bytes(280, 0x33));
    ASSERT_EQ(chmod(path("target.qrtb").c_str(), 0444), 0);
    const struct {
        std::string folder, name;
        bool taken;
        Strings alerts;
    } rows[] = {
        {locked, "copy", true, {"Could not write Copy"}},
        {folder, "target.qrtb", true, {"Could not write Copy"}},
        {folder, "a.qrtb", true, {kInUseAlert}},
        {folder, "held.qrtb", true, {kInUseAlert}},
        {folder, std::string(300, 'n'), false, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.folder + "/" + row.name);
        Trigger("SaveAs");
        const ShownDialog dialog = OnlyDialog();
        ASSERT_EQ(ChooseSaveLocation(dialog, row.folder, row.name), row.taken);
        EXPECT_EQ(AlertMessages(), row.alerts);
        EXPECT_TRUE(row.taken || Press(dialog, "Cancel"));
        expectKept("a.qrtb");
    }
    EXPECT_EQ(ReadBytes(path("target.qrtb")), Bytes(280, 0x33));
    EXPECT_EQ(ReadBytes(path("held.qrtb")), layout(table(6, 85)));
    EXPECT_TRUE(ListFolder(locked).empty());
    ASSERT_TRUE(MakeUnwritable(folder));
    Trigger("Save");
    EXPECT_EQ(AlertMessages(), Strings{kLockedAlert});
    EXPECT_EQ(ReadBytes(path("a.qrtb")), layout(table(4, 50)));
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_EQ(ListFolder(folder), (Strings{"a.qrtb", "held.qrtb", "target.qrtb"}));
}

// A file without write bits, in a folder without them, or on a read-only
// mount opens locked: Save is disabled, saving from the save-changes sheet
// gives the locked-volume alert and the document lets go of the file; the
// next Save asks where.
TEST_F(Saving, LockedFileOpensLockedAndIsNeverWritten)
{
    const std::string noWriteBits = TempFolder(), readOnly = TempFolder();
    const struct {
        std::string file;
        std::function<bool()> lock;
    } rows[] = {
        {path("locked.qrtb"), [&] { return chmod(path("locked.qrtb").c_str(), 0444) == 0; }},
        {noWriteBits + "/t.qrtb", [&] { return chmod(noWriteBits.c_str(), 0555) == 0; }},
        {readOnly + "/t.qrtb", [&] { return MountReadOnly(readOnly) || !MountsUnavailable().empty(); }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        WriteBytes(row.file, layout(table(4, 50)));
        ASSERT_TRUE(row.lock());
        if (!MountsUnavailable().empty() && row.file.rfind(readOnly, 0) == 0)
            GTEST_SKIP() << "the read-only mount needs root: " << MountsUnavailable();
        ASSERT_FALSE(BDoOpenFile(row.file).failed());
        QWidget *opened = platform::frontWindow();
        EXPECT_TRUE(documentOf(opened)->fileLocked);
        ComputeTable({"9", "35", {}, {}});
        EXPECT_FALSE(IsCommandEnabled("Save"));
        EXPECT_TRUE(IsCommandEnabled("SaveAs"));
        ClickCloseBox(opened);
        ASSERT_TRUE(Press(OnlyDialog(), "Save"));
        EXPECT_EQ(AlertMessages(), Strings{kLockedAlert});
        EXPECT_EQ(ReadBytes(row.file), layout(table(4, 50)));
        EXPECT_EQ(ListFolder(std::filesystem::path(row.file).parent_path()).size(), 1u);
        EXPECT_TRUE(opened->isVisible());
        EXPECT_TRUE(documentOf(opened)->filePath.empty());
        EXPECT_EQ(BIsDocumentDirty(opened), 1);
        Trigger("Save");
        ASSERT_TRUE(Press(OnlyDialog(), "Cancel"));
    }
}

// A full disk: the alert names the file and the reason, not a locked
// volume; file and document stay, no temporary is left; with room again
// Save works.
TEST_F(Saving, FullDiskKeepsTheFileAndSaysWhy)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << "a full disk is a small file system mounted, which needs root: "
                     << MountsUnavailable();
    ASSERT_TRUE(MountSmallDisk(folder, 16 * 1024));
    openChanged("full.qrtb");
    ASSERT_GT(FillDisk(folder, "filler"), 0);
    (void)TakeShownAlerts();
    Trigger("Save");
    const std::vector<ShownAlert> shown = TakeShownAlerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, "Could not save the file");
    EXPECT_EQ(shown[0].explanation,
              "The file \u201cfull.qrtb\u201d could not be written: " + std::string(std::strerror(ENOSPC)) +
                  ".\nIt keeps its previous contents.");
    expectKept("full.qrtb");
    EXPECT_TRUE(IsCommandEnabled("Save"));
    EXPECT_TRUE(temporaries().empty());
    ASSERT_EQ(unlink(path("filler").c_str()), 0);
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(ReadBytes(path("full.qrtb")), record());
}

// Save through a symbolic link writes its target, twice; the link stays a
// link and the file keeps its mode and (as root) owner and group.
TEST_F(Saving, SaveThroughASymbolicLinkWritesItsTarget)
{
    const std::string elsewhere = TempFolder(), target = elsewhere + "/real.qrtb";
    WriteBytes(target, layout(table(4, 50)));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(chown(target.c_str(), geteuid() == 0 ? 1234 : geteuid(), geteuid() == 0 ? 5678 : getegid()), 0);
    ASSERT_EQ(symlink(target.c_str(), path("link.qrtb").c_str()), 0);
    ASSERT_FALSE(open("link.qrtb").failed());
    for (const char *distance : {"9", "5"}) {
        ComputeTable({distance, "35", {}, {}});
        Trigger("Save");
        EXPECT_EQ(ReadBytes(target), record());
    }
    EXPECT_TRUE(AlertMessages().empty());
    struct stat st;
    ASSERT_EQ(lstat(path("link.qrtb").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_uid, geteuid() == 0 ? 1234u : geteuid());
    EXPECT_EQ(st.st_gid, geteuid() == 0 ? 5678u : getegid());
    EXPECT_EQ(ListFolder(folder), Strings{"link.qrtb"});
    EXPECT_EQ(ListFolder(elsewhere), Strings{"real.qrtb"});
}

// Saves that died before their rename leave temporaries with the table's
// type; the Open dialog never lists them, and the next good save of that
// file removes them, except one another process still holds and those of
// other files.
TEST_F(Saving, NextSaveRemovesTemporariesOfKilledSaves)
{
    WriteBytes(path("other.qrtb"), layout(table(6, 85)));
    openChanged("t.qrtb");
    Trigger("Save");
    const auto abandon = [&](int times) {
        ComputeTable({"7", "50", {}, {}});
        SetSaveFaultForTesting(SaveStep::abandon);
        for (int i = 0; i < times; ++i)
            Trigger("Save");
        SetSaveFaultForTesting(SaveStep::none);
    };
    abandon(3);
    const Strings left = temporaries();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(attribute(path(left[0]), "user.type"), "QRTb");
    ASSERT_FALSE(BDoOpenFile(path("other.qrtb")).failed());
    abandon(1);
    Strings others;
    for (const std::string &name : temporaries())
        if (std::find(left.begin(), left.end(), name) == left.end())
            others.push_back(name);
    ASSERT_EQ(others.size(), 1u);
    Trigger("Open");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_EQ(ListFolder(dialog, folder), (Strings{"other.qrtb", "t.qrtb"}));
    EXPECT_EQ(ListFolder(dialog, folder, true), (Strings{"other.qrtb", "t.qrtb"}));
    ASSERT_TRUE(Press(dialog, "Cancel"));
    const int held = ::open(path(left[1]).c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    platform::selectWindow(window);
    (void)TakeShownAlerts();
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(ReadBytes(path("t.qrtb")), record());
    Strings expected{left[1], others[0]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(temporaries(), expected);
    close(held);
    ComputeTable({"6", "50", {}, {}});
    Trigger("Save");
    EXPECT_EQ(temporaries(), others);
}

// The file layer alone: no write bits means locked, also for root; a new
// file never replaces one that appeared meanwhile; a save killed at any
// moment leaves the old version or the new one, whole.
TEST(SaveFile, LockedNeverReplacingAndKilledSaves)
{
    const std::string dir = TempFolder(), doc = dir + "/doc.qrtb";
    const auto save = [&](const std::string &text, Replace replace, bool flush = true) {
        return SaveFile(doc, QByteArray::fromStdString(text), replace, flush, "QRTb", "QRLF");
    };
    const std::string a(280, 'A'), b(300, 'B');
    WriteBytes(doc, Bytes(a.begin(), a.end()));
    EXPECT_EQ(save(b, Replace::never).number, EEXIST);
    ASSERT_EQ(chmod(doc.c_str(), 0444), 0);
    EXPECT_TRUE(IsSaveLocked(doc));
    EXPECT_EQ(save(b, Replace::unlocked).number, EACCES);
    EXPECT_EQ(ReadBytes(doc), Bytes(a.begin(), a.end()));
    EXPECT_EQ(ListFolder(dir), Strings{"doc.qrtb"});
    ASSERT_EQ(chmod(doc.c_str(), 0644), 0);
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (unsigned i = 0;; ++i)
                if (save(i % 2 ? a : b, Replace::any, i % 3 == 0).failed())
                    _exit(3);
        usleep(useconds_t(1000 + random() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended on its own: " << status;
        const Bytes now = ReadBytes(doc);
        EXPECT_TRUE(now == Bytes(a.begin(), a.end()) || now == Bytes(b.begin(), b.end()))
            << "round " << round;
        for (const std::string &name : ListFolder(dir)) // a killed save may leave its temporary
            if (name != "doc.qrtb")
                unlink((dir + "/" + name).c_str());
    }
}

} // namespace
