// Saving as the user does it: Save, Save As, files in use, a locked file,
// and what a save failing at any step leaves on disk.
#include "files_helpers.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace qrltest;
using namespace filetest;

namespace
{

using Saving = FileTest;

TEST_F(Saving, SaveUntitledAsksWhereProposingTitle)
{
    ComputeTable({"3", "50", {}, {}});
    EXPECT_TRUE(window->isWindowModified());
    Trigger("Save");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_TRUE(dialog.saves);
    EXPECT_EQ(dialog.parent, sheetParent());
    EXPECT_EQ(dialog.modality, Qt::WindowModal);
    EXPECT_EQ(dialog.title, "Quorlscope");
    EXPECT_EQ(dialog.name, "Untitled.qrtb");
    EXPECT_EQ(platform::frontWindow()->windowModality(), Qt::WindowModal);
    ASSERT_TRUE(ChooseSaveLocation(dialog, folder, "Portrait"));
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_EQ(readFile(path("Portrait.qrtb")), record());
    EXPECT_EQ(folderEntries(folder), Strings{"Portrait.qrtb"});
    EXPECT_EQ(attribute(path("Portrait.qrtb"), "user.type"), "QRTb");
    EXPECT_EQ(attribute(path("Portrait.qrtb"), "user.creator"), "QRLF");
    EXPECT_EQ(platform::windowTitleOf(window), "Portrait.qrtb");
    EXPECT_EQ(window->windowFilePath().toStdString(), path("Portrait.qrtb"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_EQ(platform::frontWindow(), window);
    EXPECT_TRUE(AlertMessages().empty());
}

// Cancel and the sheet's close box leave the document as it was, and Save
// takes no empty name; a second window's sheet proposes its numbered title.
TEST_F(Saving, CancelledSaveSheetLeavesEverything)
{
    Trigger("New");
    window = DocumentAt(1);
    ComputeTable({"3", "50", {}, {}});
    Trigger("Save");
    const ShownDialog dialog = OnlyDialog();
    EXPECT_EQ(dialog.parent, sheetParent());
    EXPECT_EQ(dialog.name, "Untitled 2.qrtb");
    ASSERT_TRUE(Press(dialog, "Cancel"));
    Trigger("Save");
    EXPECT_FALSE(ChooseSaveLocation(OnlyDialog(), folder, ""));
    QWidget *sheet = platform::frontWindow();
    ASSERT_NE(sheet, window);
    ClickCloseBox(sheet);
    EXPECT_TRUE(NoDialogShown());
    EXPECT_EQ(platform::frontWindow(), window);
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(platform::windowTitleOf(window), "Untitled 2");
    EXPECT_TRUE(documentOf(window)->filePath.empty());
}

// An opened file longer than a document is read up to 280 bytes; Save
// rewrites it in place, cut to the new record.
TEST_F(Saving, SaveInPlaceRewritesTheFileWhole)
{
    Bytes bytes = layout(table(4, 50));
    const Bytes head = bytes;
    bytes.resize(1000, 0x77);
    writeFile(path("t.qrtb"), bytes);
    ASSERT_FALSE(open("t.qrtb").failed());
    EXPECT_EQ(record(), head);
    ComputeTable({"7", "85", {}, {}});
    ASSERT_TRUE(IsCommandEnabled("Save"));
    Trigger("Save");
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_EQ(readFile(path("t.qrtb")), record());
    EXPECT_EQ(folderEntries(folder), Strings{"t.qrtb"});
    // Known as a table by its name only, it carries the type and creator now.
    EXPECT_EQ(attribute(path("t.qrtb"), "user.type"), "QRTb");
    EXPECT_EQ(attribute(path("t.qrtb"), "user.creator"), "QRLF");
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(isOpen(folder, "t.qrtb"));
    // A file removed meanwhile is written again where it was.
    ASSERT_EQ(unlink(path("t.qrtb").c_str()), 0);
    ComputeTable({"5", "35", {}, {}});
    Trigger("Save");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(readFile(path("t.qrtb")), record());
    EXPECT_EQ(BIsDocumentDirty(window), 0);
}

// Save As moves the document; a name of any length is kept whole.
TEST_F(Saving, SaveAsMovesDocumentAndLeavesOldFile)
{
    const std::string name = std::string(120, 'L') + " long table name.qrtb";
    ComputeTable({"3", "50", {}, {}});
    saveAs("first");
    const Bytes first = readFile(path("first.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    saveAs(name, "SaveAs");
    EXPECT_EQ(readFile(path("first.qrtb")), first);
    EXPECT_EQ(readFile(path(name)), record());
    EXPECT_EQ(folderEntries(folder), (Strings{name, "first.qrtb"}));
    EXPECT_EQ(platform::windowTitleOf(window), name);
    EXPECT_FALSE(isOpen(folder, "first.qrtb"));
    EXPECT_TRUE(isOpen(folder, name));
}

// A closed file is replaced; a file held by this or another document is
// not, with the in-use alert.
TEST_F(Saving, ReplacingAFileInUseIsRefused)
{
    writeFile(path("held.qrtb"), Bytes(500, 0x11));
    ComputeTable({"3", "50", {}, {}});
    saveAs("held");
    EXPECT_TRUE(AlertMessages().empty());
    const Bytes held = readFile(path("held.qrtb"));
    EXPECT_EQ(held, record());
    ComputeTable({"9", "35", {}, {}});
    saveAs("held.qrtb", "SaveAs");
    EXPECT_EQ(AlertMessages(), Strings{kInUseAlert});
    EXPECT_EQ(readFile(path("held.qrtb")), held);
    EXPECT_FALSE(documentOf(window)->filePath.empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    Trigger("New");
    QWidget *second = DocumentAt(1);
    ComputeTable({"5", "35", {}, {}});
    saveAs("held.qrtb");
    EXPECT_EQ(AlertMessages(), Strings{kInUseAlert});
    EXPECT_EQ(readFile(path("held.qrtb")), held);
    EXPECT_EQ(folderEntries(folder), Strings{"held.qrtb"});
    EXPECT_TRUE(documentOf(second)->filePath.empty());
    EXPECT_EQ(BIsDocumentDirty(second), 1);
    // The first document kept its file: Save writes it in place.
    platform::selectWindow(window);
    Trigger("Save");
    EXPECT_EQ(readFile(path("held.qrtb")), record());
}

// A read-only file: Save is disabled, saving from the save-changes sheet
// fails with the alert, the document loses its file and next asks where.
TEST_F(Saving, LockedFileCannotBeSavedInPlace)
{
    writeFile(path("locked.qrtb"), layout(table(4, 50)));
    ASSERT_EQ(chmod(path("locked.qrtb").c_str(), 0444), 0);
    ASSERT_FALSE(open("locked.qrtb").failed());
    ASSERT_TRUE(documentOf(window)->fileLocked);
    EXPECT_FALSE(documentOf(window)->filePath.empty());
    ComputeTable({"9", "35", {}, {}});
    EXPECT_FALSE(IsCommandEnabled("Save"));
    ClickCloseBox(window);
    ASSERT_TRUE(Press(OnlyDialog(), "Save"));
    EXPECT_EQ(AlertMessages(), Strings{kLockedAlert});
    EXPECT_EQ(readFile(path("locked.qrtb")), layout(table(4, 50)));
    EXPECT_EQ(folderEntries(folder), Strings{"locked.qrtb"});
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(documentOf(window)->filePath.empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    ASSERT_TRUE(IsCommandEnabled("Save"));
    Trigger("Save");
    EXPECT_TRUE(OnlyDialog().saves);
}

// A save failing at one step, to a chosen file (over a closed one or new)
// and in place, keeps every previous file and leaves no temporary.
class FailingSave : public FileTest, public ::testing::WithParamInterface<SaveStep>
{
};

TEST_P(FailingSave, KeepsPreviousFilesAndCreatesNothing)
{
    writeFile(path("victim.qrtb"), Bytes(280, 0x42));
    ComputeTable({"3", "50", {}, {}});
    SetSaveFaultForTesting(GetParam());
    saveAs("victim", "SaveAs");
    saveAs("fresh", "SaveAs");
    SetSaveFaultForTesting(SaveStep::none);
    EXPECT_EQ(AlertMessages(), (Strings{"Could not write Copy", "Could not write Copy"}));
    EXPECT_EQ(readFile(path("victim.qrtb")), Bytes(280, 0x42));
    EXPECT_EQ(folderEntries(folder), Strings{"victim.qrtb"});
    EXPECT_TRUE(documentOf(window)->filePath.empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);

    // In place: not a locked volume but the system's reason, and the
    // document keeps its intact file and its changes.
    saveAs("safe");
    const Bytes saved = readFile(path("safe.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    SetSaveFaultForTesting(GetParam());
    Trigger("Save");
    SetSaveFaultForTesting(SaveStep::none);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, "Could not save the file");
    const std::string reason = std::strerror(GetParam() == SaveStep::write ? ENOSPC : EIO);
    EXPECT_EQ(alerts[0].explanation, "The file \u201csafe.qrtb\u201d could not be written: " + reason +
                                         ".\nIt keeps its previous contents.");
    EXPECT_EQ(readFile(path("safe.qrtb")), saved);
    EXPECT_EQ(folderEntries(folder), (Strings{"safe.qrtb", "victim.qrtb"}));
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(isOpen(folder, "safe.qrtb"));
    EXPECT_EQ(platform::windowTitleOf(window), "safe.qrtb");
    ASSERT_TRUE(IsCommandEnabled("Save"));
    Trigger("Save");
    EXPECT_EQ(readFile(path("safe.qrtb")), record());
}

std::string stepName(const ::testing::TestParamInfo<SaveStep> &info)
{
    return std::vector<std::string>{"none", "create", "write", "flush", "rename"}[std::size_t(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FailingSave, ::testing::ValuesIn(kSaveSteps), stepName);

} // namespace
