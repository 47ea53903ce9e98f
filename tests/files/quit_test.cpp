// Quitting with unsaved documents: the review dialog, the walk from the
// front window back, the quit-time save-changes and save sheets.
#include "app/prefwindow.h"
#include "files/appinfo.h"
#include "files/file.h"
#include "files_helpers.h"
#include "platform/appleevents.h"
#include "platform/events.h"
#include "platform/files.h"
#include "platform/window.h"

using namespace qrltest;
using namespace filetest;

namespace
{

class Quitting : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        StartApplication();
        folder = TempFolder();
    }
    void TearDown() override { FSSetSaveFaultForTesting(FSSaveStep::none); }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    static void quit()
    {
        AppleEvent event;
        event.eventID = kAEQuitApplication;
        AESendAppleEvent(event);
    }
    void saveFront(const std::string &name)
    {
        SendCommand("save");
        ASSERT_EQ(NavTestChooseSaveLocation(onlyDialog().dialog, folder, name), noErr);
    }
    std::string folder;
};

TEST_F(Quitting, OneDirtyDocumentCleanOnesInFrontCloseFirst)
{
    computeInFront("3", "50");
    WindowRef dirty = DocumentWindow(0);
    SendCommand("new ");
    SendCommand("new ");
    EXPECT_FALSE(EndsProcess(quit));
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(DocumentWindow(0), dirty);
    EXPECT_TRUE(BGetAppQuittingStatus());
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.kind, NavDialogKind::askSaveChanges);
    EXPECT_EQ(dialog.saveChangesAction, kNavSaveChangesQuittingApplication);
    EXPECT_EQ(dialog.parentWindow, dirty);
    EXPECT_EQ(dialog.saveFileName, "Untitled ");
    EXPECT_TRUE(EndsProcess([&] { NavTestAnswer(dialog.dialog, kNavUserActionDontSaveChanges); }));
}

TEST_F(Quitting, SaveWithFileWritesThenEnds)
{
    computeInFront("3", "50");
    saveFront("q");
    computeInFront("9", "35");
    const Bytes expected = layout(*documentOf(DocumentWindow(0))->dataPtr);
    quit();
    EXPECT_TRUE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionSaveChanges); }));
    EXPECT_EQ(readFile(path("q.qrtb")), expected);
}

TEST_F(Quitting, SaveUntitledAsksWhereThenEnds)
{
    computeInFront("3", "50");
    const Bytes expected = layout(*documentOf(DocumentWindow(0))->dataPtr);
    quit();
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionSaveChanges), noErr);
    const PendingNavDialog save = onlyDialog();
    EXPECT_EQ(save.kind, NavDialogKind::putFile);
    EXPECT_EQ(save.parentWindow, DocumentWindow(0));
    EXPECT_EQ(save.saveFileName, "Untitled.qrtb");
    EXPECT_TRUE(EndsProcess([&] { NavTestChooseSaveLocation(save.dialog, folder, "atquit"); }));
    EXPECT_EQ(readFile(path("atquit.qrtb")), expected);
}

TEST_F(Quitting, CancelInQuitSaveSheetStopsQuit)
{
    computeInFront("3", "50");
    quit();
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionSaveChanges), noErr);
    EXPECT_FALSE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel); }));
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(documentOf(DocumentWindow(0))->isClosing);
    // A later Save is an ordinary one: after it the window stays.
    saveFront("later");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentWindow(0)), 0);
}

TEST_F(Quitting, CancelInQuitSaveChangesKeepsClosedOnesClosed)
{
    computeInFront("3", "50");
    SendCommand("new ");
    quit();
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentWindow(0)), 1);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
}

TEST_F(Quitting, FailedSaveStopsQuitAndKeepsDocument)
{
    computeInFront("3", "50");
    saveFront("f");
    const Bytes saved = readFile(path("f.qrtb"));
    computeInFront("9", "35");
    quit();
    FSSetSaveFaultForTesting(FSSaveStep::rename);
    EXPECT_FALSE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionSaveChanges); }));
    EXPECT_EQ(AlertMessages(),
              std::vector<std::string>{"Could not save the file because the Volume is locked"});
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(readFile(path("f.qrtb")), saved);
}

TEST_F(Quitting, SeveralDirtyShowReviewDialog)
{
    computeInFront("3", "50");
    SendCommand("new ");
    computeInFront("4", "50");
    quit();
    const PendingNavDialog review = onlyDialog();
    EXPECT_EQ(review.kind, NavDialogKind::askReviewDocuments);
    EXPECT_EQ(review.documentCount, 2u);
    EXPECT_EQ(review.parentWindow, nullptr);
    EXPECT_NE(review.modality, kWindowModalityWindowModal);
    EXPECT_FALSE(BGetAppQuittingStatus());
}

TEST_F(Quitting, ReviewDiscardEndsWithoutSaving)
{
    computeInFront("3", "50");
    saveFront("d");
    const Bytes saved = readFile(path("d.qrtb"));
    computeInFront("9", "35");
    SendCommand("new ");
    computeInFront("4", "50");
    quit();
    EXPECT_TRUE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionDiscardDocuments); }));
    EXPECT_EQ(readFile(path("d.qrtb")), saved);
}

TEST_F(Quitting, ReviewCancelLeavesEverything)
{
    computeInFront("3", "50");
    SendCommand("new ");
    computeInFront("4", "50");
    quit();
    EXPECT_FALSE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel); }));
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_TRUE(GetPendingNavDialogs().empty());
}

TEST_F(Quitting, ReviewAsksFrontToBack)
{
    computeInFront("3", "50");
    WindowRef back = DocumentWindow(0);
    SendCommand("new ");
    computeInFront("4", "50");
    WindowRef front = DocumentWindow(1);
    quit();
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionReviewDocuments), noErr);
    EXPECT_EQ(onlyDialog().parentWindow, front);
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionDontSaveChanges), noErr);
    EXPECT_EQ(onlyDialog().parentWindow, back);
    EXPECT_TRUE(EndsProcess([] { NavTestAnswer(onlyDialog().dialog, kNavUserActionDontSaveChanges); }));
}

TEST_F(Quitting, SheetInFrontStopsWalkWithBeep)
{
    computeInFront("3", "50");
    WindowRef window = DocumentWindow(0);
    SendWindowEvent(window, kEventWindowClose); // the save-changes sheet of normal work
    const int beeps = GetBeepCount();
    EXPECT_FALSE(EndsProcess(quit));
    EXPECT_EQ(GetBeepCount(), beeps + 1);
    EXPECT_FALSE(BGetAppQuittingStatus());
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.saveChangesAction, kNavSaveChangesClosingDocument);
}

TEST_F(Quitting, CollapsedFrontWindowIsExpandedAndAsked)
{
    computeInFront("3", "50");
    WindowRef window = DocumentWindow(0);
    ASSERT_EQ(CollapseWindow(window, true), noErr);
    quit();
    EXPECT_FALSE(IsWindowCollapsed(window));
    EXPECT_EQ(onlyDialog().parentWindow, window);
}

TEST_F(Quitting, PreferencesWindowIsHiddenNotClosed)
{
    computeInFront("3", "50");
    SendCommand("pref");
    WindowRef prefs = BGetPrefWindowRef();
    ASSERT_EQ(FrontWindow(), prefs);
    quit();
    EXPECT_FALSE(IsWindowVisible(prefs));
    EXPECT_EQ(BGetPrefWindowRef(), prefs);
    EXPECT_EQ(onlyDialog().parentWindow, DocumentWindow(0));
}

} // namespace
