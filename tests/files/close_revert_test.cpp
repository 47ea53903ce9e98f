// Closing a dirty window (Save / Don't Save / Cancel), Revert, a locked
// file, and saves that fail at every step.
#include "files/file.h"
#include "files_helpers.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/window.h"

#include <sys/stat.h>

using namespace qrltest;
using namespace filetest;

namespace
{

class Closing : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        StartApplication();
        folder = TempFolder();
        window = DocumentWindow(0);
    }
    void TearDown() override { FSSetSaveFaultForTesting(FSSaveStep::none); }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    void saveAs(const std::string &name)
    {
        SendCommand("save");
        ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, name), noErr);
    }
    // Asks to close the window as its close box does; returns the dialog.
    PendingNavDialog closeWindow()
    {
        SendWindowEvent(window, kEventWindowClose);
        return onlyDialog();
    }
    std::string folder;
    WindowRef window = nullptr;
};

TEST_F(Closing, CleanWindowClosesWithoutAsking)
{
    SendCommand("new ");
    window = DocumentWindow(1);
    SendWindowEvent(window, kEventWindowClose);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

TEST_F(Closing, DirtyWindowAsksNamingDocument)
{
    computeInFront("3", "50");
    const PendingNavDialog dialog = closeWindow();
    EXPECT_EQ(dialog.kind, NavDialogKind::askSaveChanges);
    EXPECT_EQ(dialog.saveChangesAction, kNavSaveChangesClosingDocument);
    EXPECT_EQ(dialog.parentWindow, window);
    EXPECT_EQ(dialog.saveFileName, "Untitled ");
    EXPECT_EQ(dialog.clientName, "Quorlscope");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

TEST_F(Closing, SaveWritesFileAndCloses)
{
    computeInFront("3", "50");
    saveAs("kept");
    computeInFront("9", "35");
    const Bytes expected = layout(*documentOf(window)->dataPtr);
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionSaveChanges), noErr);
    EXPECT_EQ(readFile(path("kept.qrtb")), expected);
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
}

TEST_F(Closing, SaveUntitledAsksWhereAndKeepsWindowOpen)
{
    computeInFront("3", "50");
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionSaveChanges), noErr);
    const PendingNavDialog save = onlyDialog();
    ASSERT_EQ(save.kind, NavDialogKind::putFile);
    EXPECT_EQ(save.parentWindow, window);
    EXPECT_EQ(save.saveFileName, "Untitled.qrtb");
    EXPECT_TRUE(documentOf(window)->isClosing);
    ASSERT_EQ(NavTestChooseSaveLocation(save.dialog, folder, "late"), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(GetWTitle(window), "late.qrtb");
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_TRUE(exists(path("late.qrtb")));
}

TEST_F(Closing, SaveUntitledThenCancelKeepsWindowDirty)
{
    computeInFront("3", "50");
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionSaveChanges), noErr);
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_TRUE(folderEntries(folder).empty());
}

TEST_F(Closing, DontSaveClosesWithoutWriting)
{
    computeInFront("3", "50");
    saveAs("kept");
    const Bytes saved = readFile(path("kept.qrtb"));
    computeInFront("9", "35");
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionDontSaveChanges), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_EQ(readFile(path("kept.qrtb")), saved);
}

TEST_F(Closing, CancelChangesNothing)
{
    computeInFront("3", "50");
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionCancel), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_EQ(documentOf(window)->fNavigationConfirmDialog, nullptr);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(FrontWindow(), window);
}

TEST_F(Closing, RevertDiscardReloadsSavedTable)
{
    computeInFront("3", "50");
    saveAs("r");
    const Bytes saved = readFile(path("r.qrtb"));
    computeInFront("9", "35");
    ASSERT_EQ(TextAt(window, 308, 20), " 9.000");
    ASSERT_TRUE(IsCommandEnabled("rvrt"));
    SendCommand("rvrt");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.kind, NavDialogKind::askDiscardChanges);
    EXPECT_EQ(dialog.parentWindow, window);
    EXPECT_EQ(dialog.saveFileName, "r.qrtb");
    ASSERT_EQ(NavTestAnswer(dialog.dialog, kNavUserActionDiscardChanges), noErr);
    EXPECT_EQ(layout(*documentOf(window)->dataPtr), saved);
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(IsWindowModified(window));
    EXPECT_EQ(documentOf(window)->fNavigationConfirmDialog, nullptr);
    // The sheet shows the reverted table: focused at 3 m again.
    EXPECT_EQ(TextAt(window, 308, 20), " 3.000");
}

TEST_F(Closing, RevertCancelChangesNothing)
{
    computeInFront("3", "50");
    saveAs("r");
    computeInFront("9", "35");
    const Bytes changed = layout(*documentOf(window)->dataPtr);
    SendCommand("rvrt");
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_EQ(layout(*documentOf(window)->dataPtr), changed);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(IsWindowModified(window));
}

TEST_F(Closing, LockedFileCannotBeSavedInPlace)
{
    computeInFront("3", "50");
    saveAs("locked");
    SendWindowEvent(window, kEventWindowClose);
    ASSERT_EQ(chmod(path("locked.qrtb").c_str(), 0444), 0);
    const Bytes saved = readFile(path("locked.qrtb"));
    FSSpec fileSpec{folder, "locked.qrtb"};
    ASSERT_EQ(BDoOpenFile(&fileSpec), noErr);
    window = DocumentWindow(0);
    ASSERT_TRUE(documentOf(window)->fileLocked);
    computeInFront("9", "35");
    EXPECT_FALSE(IsCommandEnabled("save"));
    ASSERT_EQ(NavTestAnswer(closeWindow().dialog, kNavUserActionSaveChanges), noErr);
    EXPECT_EQ(AlertMessages(),
              std::vector<std::string>{"Could not save the file because the Volume is locked"});
    EXPECT_EQ(readFile(path("locked.qrtb")), saved);
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"locked.qrtb"});
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(documentOf(window)->fRefNum, -1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    // Without its file the next save asks for a location.
    ASSERT_TRUE(IsCommandEnabled("save"));
    SendCommand("save");
    EXPECT_EQ(onlyDialog().kind, NavDialogKind::putFile);
}

TEST_F(Closing, FailingInPlaceSaveKeepsPreviousFile)
{
    computeInFront("3", "50");
    saveAs("safe");
    const Bytes saved = readFile(path("safe.qrtb"));
    for (FSSaveStep step : {FSSaveStep::create, FSSaveStep::write, FSSaveStep::flush, FSSaveStep::rename}) {
        // Each failure lets go of the file; open it again for the next step.
        if (documentOf(window)->fRefNum == -1) {
            SendWindowEvent(window, kEventWindowClose);
            NavTestAnswer(onlyDialog().dialog, kNavUserActionDontSaveChanges);
            FSSpec fileSpec{folder, "safe.qrtb"};
            ASSERT_EQ(BDoOpenFile(&fileSpec), noErr);
            window = DocumentWindow(0);
        }
        computeInFront("9", "35");
        FSSetSaveFaultForTesting(step);
        SendCommand("save");
        FSSetSaveFaultForTesting(FSSaveStep::none);
        EXPECT_EQ(AlertMessages(),
                  std::vector<std::string>{"Could not save the file because the Volume is locked"});
        EXPECT_EQ(readFile(path("safe.qrtb")), saved) << int(step);
        EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"safe.qrtb"}) << int(step);
        EXPECT_EQ(BIsDocumentDirty(window), 1);
    }
}

TEST_F(Closing, FailingSaveAsKeepsReplacedFileAndCreatesNothing)
{
    writeFile(path("victim.qrtb"), Bytes(280, 0x42));
    computeInFront("3", "50");
    for (FSSaveStep step : {FSSaveStep::create, FSSaveStep::write, FSSaveStep::flush, FSSaveStep::rename}) {
        FSSetSaveFaultForTesting(step);
        SendCommand("svas");
        ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, "victim"), noErr);
        SendCommand("svas");
        ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, "fresh"), noErr);
        FSSetSaveFaultForTesting(FSSaveStep::none);
        EXPECT_EQ(AlertMessages(),
                  (std::vector<std::string>{"Could not write Copy", "Could not write Copy"}));
        EXPECT_EQ(readFile(path("victim.qrtb")), Bytes(280, 0x42)) << int(step);
        EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"victim.qrtb"}) << int(step);
        EXPECT_EQ(documentOf(window)->fRefNum, -1);
        EXPECT_EQ(BIsDocumentDirty(window), 1);
    }
}

} // namespace
