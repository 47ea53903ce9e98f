// Saving as the user does it: Save, Save As, the save-changes sheet on
// closing, Revert, and what a failing save leaves on disk.
#include "files/file.h"
#include "files_helpers.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace qrltest;
using namespace filetest;

namespace
{

class Saving : public ::testing::Test
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
    // Saves the untitled front document through its Save sheet.
    void saveAs(const std::string &name, const char (&command)[5] = "save")
    {
        SendCommand(command);
        const PendingNavDialog dialog = onlyDialog();
        ASSERT_EQ(dialog.kind, NavDialogKind::putFile);
        ASSERT_EQ(NavTestChooseSaveLocation(dialog.dialog, folder, name), noErr);
    }
    Bytes record() const { return layout(*documentOf(window)->dataPtr); }
    std::string folder;
    WindowRef window = nullptr;
};

TEST_F(Saving, SaveUntitledAsksWhereProposingTitle)
{
    computeInFront("3", "50");
    EXPECT_TRUE(IsWindowModified(window));
    SendCommand("save");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.kind, NavDialogKind::putFile);
    EXPECT_EQ(dialog.parentWindow, window);
    EXPECT_EQ(dialog.modality, kWindowModalityWindowModal);
    EXPECT_EQ(dialog.clientName, "Quorlscope");
    EXPECT_EQ(dialog.saveFileName, "Untitled.qrtb");
    WindowClass sheetClass = 0;
    GetWindowClass(FrontWindow(), &sheetClass);
    EXPECT_EQ(sheetClass, kSheetWindowClass);
    ASSERT_EQ(NavTestChooseSaveLocation(dialog.dialog, folder, "Portrait"), noErr);

    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(readFile(path("Portrait.qrtb")), record());
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Portrait.qrtb"});
    char attribute[4];
    ASSERT_EQ(getxattr(path("Portrait.qrtb").c_str(), "user.type", attribute, 4), 4);
    EXPECT_EQ(std::string(attribute, 4), "QRTb");
    ASSERT_EQ(getxattr(path("Portrait.qrtb").c_str(), "user.creator", attribute, 4), 4);
    EXPECT_EQ(std::string(attribute, 4), "QRLF");
    EXPECT_EQ(GetWTitle(window), "Portrait.qrtb");
    EXPECT_EQ(GetWindowProxyFilePath(window), path("Portrait.qrtb"));
    EXPECT_FALSE(IsWindowModified(window));
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
    EXPECT_EQ(FrontWindow(), window);
    EXPECT_EQ(NavTestCompletedSaves(), 1);
    EXPECT_TRUE(AlertMessages().empty());
}

TEST_F(Saving, SecondWindowProposesItsNumberedTitle)
{
    SendCommand("new ");
    WindowRef second = DocumentWindow(1);
    ASSERT_EQ(GetWTitle(second), "Untitled 2");
    computeInFront("3", "50");
    SendCommand("save");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.parentWindow, second);
    EXPECT_EQ(dialog.saveFileName, "Untitled 2.qrtb");
    ASSERT_EQ(NavTestChooseSaveLocation(dialog.dialog, folder, "Untitled 2.qrtb"), noErr);
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"Untitled 2.qrtb"});
}

TEST_F(Saving, CancelInSaveSheetLeavesEverything)
{
    computeInFront("3", "50");
    SendCommand("save");
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(IsWindowModified(window));
    EXPECT_EQ(GetWTitle(window), "Untitled ");
    EXPECT_EQ(documentOf(window)->fNavigationSaveDialog, nullptr);
    EXPECT_EQ(documentOf(window)->fRefNum, -1);
}

TEST_F(Saving, CloseBoxOfSaveSheetCancels)
{
    computeInFront("3", "50");
    SendCommand("save");
    WindowRef sheet = FrontWindow();
    ASSERT_NE(sheet, window);
    SendWindowEvent(sheet, kEventWindowClose);
    QCoreApplication::processEvents();
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(FrontWindow(), window);
    EXPECT_EQ(documentOf(window)->fNavigationSaveDialog, nullptr);
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
}

TEST_F(Saving, SaveInPlaceRewritesTheFileWhole)
{
    computeInFront("3", "50");
    saveAs("t");
    // The file grew meanwhile; a save cuts it back to 280 bytes.
    Bytes longer = readFile(path("t.qrtb"));
    longer.resize(400, 0xEE);
    ASSERT_EQ(truncate(path("t.qrtb").c_str(), 0), 0);
    writeFile(path("t.qrtb"), longer);
    computeInFront("7", "85");
    ASSERT_TRUE(IsCommandEnabled("save"));
    SendCommand("save");
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(readFile(path("t.qrtb")), record());
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"t.qrtb"});
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(IsWindowModified(window));
    // The document still holds its file.
    FSSpec fileSpec{folder, "t.qrtb"};
    EXPECT_TRUE(FSIsFileOpen(&fileSpec));
}

TEST_F(Saving, SaveAsMovesDocumentAndLeavesOldFile)
{
    computeInFront("3", "50");
    saveAs("first");
    const Bytes first = readFile(path("first.qrtb"));
    computeInFront("9", "35");
    saveAs("second", "svas");
    EXPECT_EQ(readFile(path("first.qrtb")), first);
    EXPECT_EQ(readFile(path("second.qrtb")), record());
    EXPECT_EQ(GetWTitle(window), "second.qrtb");
    FSSpec old{folder, "first.qrtb"};
    FSSpec now{folder, "second.qrtb"};
    EXPECT_FALSE(FSIsFileOpen(&old));
    EXPECT_TRUE(FSIsFileOpen(&now));
}

TEST_F(Saving, SaveAsOntoOwnFileIsRefusedAsInUse)
{
    computeInFront("3", "50");
    saveAs("mine");
    const Bytes saved = readFile(path("mine.qrtb"));
    computeInFront("9", "35");
    SendCommand("svas");
    ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, "mine.qrtb"), noErr);
    EXPECT_EQ(AlertMessages(),
              std::vector<std::string>{"Could not save the File You like to replace, it is in use"});
    EXPECT_EQ(readFile(path("mine.qrtb")), saved);
    EXPECT_NE(documentOf(window)->fRefNum, -1);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    // The document kept its file: Save writes it in place.
    SendCommand("save");
    EXPECT_EQ(readFile(path("mine.qrtb")), record());
}

TEST_F(Saving, ReplacingAnotherDocumentsFileIsRefused)
{
    computeInFront("3", "50");
    saveAs("held");
    const Bytes held = readFile(path("held.qrtb"));
    SendCommand("new ");
    WindowRef second = DocumentWindow(1);
    computeInFront("9", "35");
    saveAs("held.qrtb");
    EXPECT_EQ(AlertMessages(),
              std::vector<std::string>{"Could not save the File You like to replace, it is in use"});
    EXPECT_EQ(readFile(path("held.qrtb")), held);
    EXPECT_EQ(documentOf(second)->fRefNum, -1);
    EXPECT_EQ(BIsDocumentDirty(second), 1);
}

TEST_F(Saving, ReplacingAClosedFileReplacesIt)
{
    writeFile(path("old.qrtb"), Bytes(500, 0x11));
    computeInFront("3", "50");
    saveAs("old");
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_EQ(readFile(path("old.qrtb")), record());
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{"old.qrtb"});
}

TEST_F(Saving, EmptyNameDoesNothing)
{
    computeInFront("3", "50");
    SendCommand("save");
    ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, ""), noErr);
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_EQ(NavTestCompletedSaves(), 0);
}

TEST_F(Saving, LongFileNameIsKeptWhole)
{
    const std::string name = std::string(120, 'L') + " long table name.qrtb";
    computeInFront("3", "50");
    saveAs(name);
    EXPECT_EQ(folderEntries(folder), std::vector<std::string>{name});
    EXPECT_EQ(GetWTitle(window), name);
}

} // namespace
