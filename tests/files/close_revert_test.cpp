// Closing a window (Save / Don't Save / Cancel on the save-changes sheet)
// and Revert (Discard / Cancel).
#include "files_helpers.h"
#include "platform/events.h"

using namespace qrltest;
using namespace filetest;

namespace
{

using Closing = FileTest;

// Asks to close the window as its close box does; returns the sheet.
PendingNavDialog closeWindow(WindowRef window)
{
    ClickCloseBox(window);
    return onlyDialog();
}

TEST_F(Closing, CleanWindowClosesWithoutAsking)
{
    Trigger("New");
    ClickCloseBox(DocumentAt(1));
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

// Save on an untitled document asks where and, once saved, keeps the
// window open; Cancel there leaves it dirty.
TEST_F(Closing, SaveUntitledAsksWhereAndKeepsWindowOpen)
{
    ComputeTable({"3", "50", {}, {}});
    for (bool cancel : {true, false}) {
        const PendingNavDialog ask = closeWindow(window);
        EXPECT_EQ(ask.kind, NavDialogKind::askSaveChanges);
        EXPECT_EQ(ask.saveChangesAction, kNavSaveChangesClosingDocument);
        EXPECT_EQ(ask.parentWindow, window);
        EXPECT_EQ(ask.saveFileName, "Untitled ");
        EXPECT_EQ(ask.clientName, "Quorlscope");
        ASSERT_EQ(NavTestAnswer(ask.dialog, kNavUserActionSaveChanges), noErr);
        const PendingNavDialog save = onlyDialog();
        ASSERT_EQ(save.kind, NavDialogKind::putFile);
        EXPECT_EQ(save.parentWindow, window);
        EXPECT_EQ(save.saveFileName, "Untitled.qrtb");
        EXPECT_TRUE(documentOf(window)->isClosing);
        ASSERT_EQ(cancel ? NavTestAnswer(save.dialog, kNavUserActionCancel)
                         : NavTestChooseSaveLocation(save.dialog, folder, "late"),
                  noErr);
        SCOPED_TRACE(cancel ? "case cancel" : "case save");
        EXPECT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(BIsDocumentDirty(window), cancel ? 1 : 0);
        EXPECT_FALSE(documentOf(window)->isClosing);
        EXPECT_EQ(folderEntries(folder), cancel ? Strings{} : Strings{"late.qrtb"});
    }
    EXPECT_EQ(GetWTitle(window), "late.qrtb");
}

// The three answers for a document with a file and unsaved changes.
class ClosingDirty : public FileTest, public ::testing::WithParamInterface<NavUserAction>
{
};

TEST_P(ClosingDirty, AnswerDecidesWhatIsWrittenAndWhetherItCloses)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("kept");
    const Bytes saved = readFile(path("kept.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    ASSERT_EQ(NavTestAnswer(closeWindow(window).dialog, GetParam()), noErr);
    const bool closes = GetParam() != kNavUserActionCancel;
    EXPECT_EQ(readFile(path("kept.qrtb")), GetParam() == kNavUserActionSaveChanges ? changed : saved);
    EXPECT_EQ(BGetNumberOfDocuments(), closes ? 0 : 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), closes ? 0 : 1);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    if (!closes) {
        EXPECT_FALSE(documentOf(window)->isClosing);
        EXPECT_EQ(documentOf(window)->fNavigationConfirmDialog, nullptr);
        EXPECT_EQ(FrontWindow(), window);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ClosingDirty,
                         ::testing::Values(kNavUserActionSaveChanges, kNavUserActionDontSaveChanges,
                                           kNavUserActionCancel));

// Cancel keeps the changes; Discard reloads the saved table and shows it.
TEST_F(Closing, RevertCancelKeepsChangesDiscardReloads)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("r");
    const Bytes saved = readFile(path("r.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    ASSERT_EQ(TextAt(window, 308, 20), " 9.000");
    ASSERT_TRUE(IsCommandEnabled("Revert"));
    Trigger("Revert");
    ASSERT_EQ(NavTestAnswer(onlyDialog().dialog, kNavUserActionCancel), noErr);
    EXPECT_EQ(record(), changed);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(IsWindowModified(window));
    Trigger("Revert");
    const PendingNavDialog dialog = onlyDialog();
    EXPECT_EQ(dialog.kind, NavDialogKind::askDiscardChanges);
    EXPECT_EQ(dialog.parentWindow, window);
    EXPECT_EQ(dialog.saveFileName, "r.qrtb");
    ASSERT_EQ(NavTestAnswer(dialog.dialog, kNavUserActionDiscardChanges), noErr);
    EXPECT_EQ(record(), saved);
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    EXPECT_FALSE(IsWindowModified(window));
    EXPECT_EQ(documentOf(window)->fNavigationConfirmDialog, nullptr);
    EXPECT_EQ(TextAt(window, 308, 20), " 3.000");
}

} // namespace
