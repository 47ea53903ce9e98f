// Nothing lost when the file system says no: a file opened twice, Save As
// and Save failing for real (read-only folders, a full disk, names refused),
// saving through a symbolic link, temporaries of killed saves, and what the
// alerts tell when a file cannot be opened.
#include "app/opendocuments.h"
#include "files_helpers.h"
#include "tests/support/mounts.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;
using namespace filetest;

namespace
{

const std::string kSaveFailedAlert = "Could not save the file";

class KeepingWork : public FileTest
{
  protected:
    // The file holding a table, opened into the start-up window and changed.
    void openChanged(const std::string &name)
    {
        writeFile(path(name), layout(table(4, 50)));
        ASSERT_FALSE(open(name).failed());
        ComputeTable({"9", "35", {}, {}});
        ASSERT_EQ(BIsDocumentDirty(window), 1);
    }
    // A document that kept its file, title and changes after a failed save.
    void expectKept(const std::string &name)
    {
        EXPECT_FALSE(documentOf(window)->filePath.empty());
        EXPECT_TRUE(isOpen(folder, name));
        EXPECT_EQ(platform::windowTitleOf(window), name);
        EXPECT_EQ(BIsDocumentDirty(window), 1);
        EXPECT_TRUE(window->isWindowModified());
        EXPECT_TRUE(IsCommandEnabled("Revert"));
        EXPECT_EQ(readFile(path(name)), layout(table(4, 50)));
    }
    std::vector<ShownAlert> alerts() { return TakeShownAlerts(); }
    Strings temporaries() const
    {
        Strings found;
        for (const std::string &name : folderEntries(folder))
            if (name.rfind(AtomicSave::temporaryPrefix(), 0) == 0)
                found.push_back(name);
        return found;
    }
};

// Opening a file that a document holds, by the Open dialog, the
// open-documents event, a direct open or a symbolic link to it, brings that
// document's window to the front; nothing new is made.
TEST_F(KeepingWork, FileAlreadyOpenComesToTheFront)
{
    writeFile(path("a.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(symlink(path("a.qrtb").c_str(), path("link.qrtb").c_str()), 0);
    ASSERT_FALSE(open("a.qrtb").failed());
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    Trigger("New");
    QWidget *other = DocumentAt(1);
    ASSERT_EQ(platform::frontWindow(), other);
    auto back = [&] {
        platform::selectWindow(other);
        ASSERT_EQ(platform::frontWindow(), other);
    };
    ASSERT_FALSE(open("a.qrtb").failed());
    EXPECT_EQ(platform::frontWindow(), window);
    back();
    Trigger("Open");
    ASSERT_TRUE(ChooseFiles(OnlyDialog(), {path("a.qrtb")}));
    EXPECT_EQ(platform::frontWindow(), window);
    back();
    BOpenHandedOverDocuments({path("link.qrtb")});
    EXPECT_EQ(platform::frontWindow(), window);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), window);
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_TRUE(AlertMessages().empty());
    // The one document kept its changes and its file: Save writes them.
    EXPECT_EQ(record(), changed);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    Trigger("Save");
    EXPECT_EQ(readFile(path("a.qrtb")), changed);
}

// Save As into a read-only folder or over a read-only file: the alert; a
// name too long for the file system: the dialog takes no such name, and the
// user cancels. The document keeps its file, its title and its changes;
// Save still writes the old file.
TEST_F(KeepingWork, FailedSaveAsKeepsTheDocumentsFile)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    openChanged("a.qrtb");
    const std::string locked = TempFolder();
    ASSERT_TRUE(MountReadOnly(locked));
    writeFile(path("target.qrtb"), Bytes(280, 0x33));
    ASSERT_EQ(chmod(path("target.qrtb").c_str(), 0444), 0);
    struct Case {
        std::string folder, name;
        bool taken;
    } cases[] = {
        {locked, "copy", true}, {folder, "target.qrtb", true}, {folder, std::string(300, 'n'), false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.folder + "/" + c.name);
        Trigger("SaveAs");
        const ShownDialog dialog = OnlyDialog();
        ASSERT_EQ(ChooseSaveLocation(dialog, c.folder, c.name), c.taken);
        EXPECT_EQ(AlertMessages(), c.taken ? Strings{"Could not write Copy"} : Strings{});
        EXPECT_TRUE(c.taken || Press(dialog, "Cancel"));
        expectKept("a.qrtb");
    }
    EXPECT_EQ(readFile(path("target.qrtb")), Bytes(280, 0x33));
    EXPECT_TRUE(folderEntries(locked).empty());
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(readFile(path("a.qrtb")), record());
}

// A full disk: the temporary cannot be written. The file stays as it was,
// the document keeps it and its changes, and the alert names the file and
// the reason, not a locked volume. With room again, Save works.
TEST_F(KeepingWork, SaveOnAFullDiskKeepsFileAndSaysWhy)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    ASSERT_TRUE(MountSmallDisk(folder, 16 * 1024));
    openChanged("full.qrtb");
    ASSERT_GT(FillDisk(folder, "filler"), 0);
    (void)alerts();
    Trigger("Save");
    const std::vector<ShownAlert> shown = alerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].message, kSaveFailedAlert);
    EXPECT_NE(shown[0].explanation.find("\u201cfull.qrtb\u201d"), std::string::npos) << shown[0].explanation;
    EXPECT_NE(shown[0].explanation.find(std::strerror(ENOSPC)), std::string::npos) << shown[0].explanation;
    expectKept("full.qrtb");
    EXPECT_TRUE(IsCommandEnabled("Save"));
    EXPECT_TRUE(temporaries().empty());
    ASSERT_EQ(unlink(path("filler").c_str()), 0);
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(readFile(path("full.qrtb")), record());
    EXPECT_EQ(BIsDocumentDirty(window), 0);
}

// A file whose folder turns read-only while it is open: Save gives the
// locked-volume alert and the file stays as it was.
TEST_F(KeepingWork, SaveIntoAFolderMadeReadOnlyIsLocked)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    openChanged("a.qrtb");
    ASSERT_TRUE(IsCommandEnabled("Save"));
    ASSERT_TRUE(MountReadOnly(folder));
    Trigger("Save");
    EXPECT_EQ(AlertMessages(), Strings{kLockedAlert});
    EXPECT_EQ(readFile(path("a.qrtb")), layout(table(4, 50)));
    EXPECT_EQ(BIsDocumentDirty(window), 1);
}

// A file in a folder that cannot be written (a read-only mount, or a folder
// without write permission) opens as locked: Save is disabled, and saving
// from the save-changes sheet gives the locked-volume alert, after which the
// next Save asks where.
TEST_F(KeepingWork, FileInAnUnwritableFolderOpensLocked)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    const std::string readOnly = TempFolder(), noWriteBits = TempFolder();
    for (const std::string &f : {readOnly, noWriteBits})
        writeFile(f + "/t.qrtb", layout(table(4, 50)));
    ASSERT_TRUE(MountReadOnly(readOnly));
    ASSERT_EQ(chmod(noWriteBits.c_str(), 0555), 0);
    for (const std::string &f : {readOnly, noWriteBits}) {
        SCOPED_TRACE(f);
        ASSERT_FALSE(BDoOpenFile(f + "/t.qrtb").failed());
        QWidget *opened = platform::frontWindow();
        EXPECT_TRUE(documentOf(opened)->fileLocked);
        ComputeTable({"9", "35", {}, {}});
        EXPECT_FALSE(IsCommandEnabled("Save"));
        EXPECT_TRUE(IsCommandEnabled("SaveAs"));
        ClickCloseBox(opened);
        ASSERT_TRUE(Press(OnlyDialog(), "Save"));
        EXPECT_EQ(AlertMessages(), Strings{kLockedAlert});
        EXPECT_EQ(readFile(f + "/t.qrtb"), layout(table(4, 50)));
        EXPECT_EQ(folderEntries(f), Strings{"t.qrtb"});
        EXPECT_TRUE(opened->isVisible());
        EXPECT_TRUE(documentOf(opened)->filePath.empty());
        ASSERT_TRUE(IsCommandEnabled("Save"));
        Trigger("Save");
        const ShownDialog save = OnlyDialog();
        EXPECT_TRUE(save.saves);
        ASSERT_TRUE(Press(save, "Cancel"));
    }
}

// Save through a symbolic link writes the link's target; the link stays a
// link, and the file keeps its permission bits, owner and group.
TEST_F(KeepingWork, SaveThroughASymbolicLinkWritesItsTarget)
{
    const std::string elsewhere = TempFolder();
    const std::string target = elsewhere + "/real.qrtb";
    writeFile(target, layout(table(4, 50)));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(target.c_str(), 1234, 5678), 0);
    }
    ASSERT_EQ(symlink(target.c_str(), path("link.qrtb").c_str()), 0);
    ASSERT_FALSE(open("link.qrtb").failed());
    ComputeTable({"9", "35", {}, {}});
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    struct stat st;
    ASSERT_EQ(lstat(path("link.qrtb").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(target), record());
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (geteuid() == 0) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    EXPECT_EQ(folderEntries(folder), Strings{"link.qrtb"});
    EXPECT_EQ(folderEntries(elsewhere), Strings{"real.qrtb"});
    // The document goes on with the same file: a second save writes it too.
    ComputeTable({"5", "50", {}, {}});
    Trigger("Save");
    EXPECT_EQ(readFile(target), record());
}

// Saves that died before their rename leave temporaries; the next good
// save of that file removes them, except one another process still holds
// and those of other files. The Open dialog never lists them, though they
// carry the table's type as the saved file does.
TEST_F(KeepingWork, NextSaveRemovesTemporariesOfKilledSaves)
{
    writeFile(path("other.qrtb"), layout(table(6, 85)));
    openChanged("t.qrtb");
    // Saved once, the file carries the table's type, and so do the
    // temporaries of its later saves: only their names set them apart.
    Trigger("Save");
    ComputeTable({"7", "50", {}, {}});
    SetSaveFaultForTesting(SaveStep::abandon);
    for (int i = 0; i < 3; ++i)
        Trigger("Save");
    SetSaveFaultForTesting(SaveStep::none);
    const Strings left = temporaries();
    ASSERT_EQ(left.size(), 3u);
    ASSERT_EQ(attribute(path(left[0]), "user.type"), "QRTb");
    ASSERT_FALSE(BDoOpenFile(path("other.qrtb")).failed());
    ComputeTable({"5", "50", {}, {}});
    SetSaveFaultForTesting(SaveStep::abandon);
    Trigger("Save");
    SetSaveFaultForTesting(SaveStep::none);
    Strings all = temporaries();
    ASSERT_EQ(all.size(), 4u);
    std::string otherTemporary;
    for (const std::string &name : all)
        if (std::find(left.begin(), left.end(), name) == left.end())
            otherTemporary = name;
    Trigger("Open");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_EQ(ListFolder(dialog, folder), (Strings{"other.qrtb", "t.qrtb"}));
    // Hidden files shown, the temporaries still stay out.
    EXPECT_EQ(ListFolder(dialog, folder, true), (Strings{"other.qrtb", "t.qrtb"}));
    ASSERT_TRUE(Press(dialog, "Cancel"));
    // Another process still writing one of them: it stays.
    const int held = ::open(path(left[1]).c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    platform::selectWindow(window);
    (void)alerts();
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(readFile(path("t.qrtb")), record());
    EXPECT_EQ(temporaries(), (Strings{std::min(left[1], otherTemporary), std::max(left[1], otherTemporary)}));
    close(held);
    ComputeTable({"6", "50", {}, {}});
    Trigger("Save");
    EXPECT_EQ(temporaries(), Strings{otherTemporary});
}

// A file that cannot be opened or read: the alert names it and gives the
// system's reason.
TEST_F(KeepingWork, OpenFailureNamesFileAndReason)
{
    writeFile(path("secret.qrtb"), layout(table(4, 50)));
    writeFile(path("broken.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(mkdir(path("folder.qrtb").c_str(), 0755), 0);
    struct Case {
        std::string name;
        int reason;
    } cases[] = {{"missing.qrtb", ENOENT}, {"folder.qrtb", EISDIR}, {"broken.qrtb", EIO}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        platform::setReadFaultForTesting(c.reason == EIO);
        EXPECT_TRUE(open(c.name).failed());
        platform::setReadFaultForTesting(false);
        const std::vector<ShownAlert> shown = alerts();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].message, "Could not open File");
        EXPECT_EQ(shown[0].explanation,
                  "The file \u201c" + c.name + "\u201d could not be read: " + std::strerror(c.reason) + ".");
    }
    // Chosen in the Open dialog by a user who may not read it.
    if (geteuid() != 0)
        GTEST_SKIP() << "a file root cannot read needs root to give up its rights";
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    ASSERT_EQ(chmod(path("secret.qrtb").c_str(), 0), 0);
    Trigger("Open");
    const ShownDialog dialog = OnlyDialog();
    ASSERT_EQ(seteuid(65534), 0);
    ChooseFiles(dialog, {path("secret.qrtb")});
    ASSERT_EQ(seteuid(0), 0);
    const std::vector<ShownAlert> shown = alerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].explanation, "The file \u201csecret.qrtb\u201d could not be read: " +
                                        std::string(std::strerror(EACCES)) + ".");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(documentOf(window)->filePath.empty());
}

} // namespace
