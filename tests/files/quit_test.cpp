// Quitting with unsaved documents: the review dialog, the walk from the
// front window back, the quit-time save-changes and save sheets.
#include "app/prefwindow.h"
#include "files/appinfo.h"
#include "files_helpers.h"
#include "platform/events.h"
#include "platform/process.h"
#include "tests/support/mounts.h"

using namespace qrltest;
using namespace filetest;

namespace
{

void answer(NavUserAction action)
{
    NavTestAnswer(onlyDialog().dialog, action);
}

using Quitting = FileTest;

// Clean windows in front close at once; the dirty one asks. Cancel there
// stops the quit with the clean ones closed; Save asks where, proposing the
// title, saves there and ends.
TEST_F(Quitting, OneDirtyDocumentCleanOnesInFrontCloseFirst)
{
    ComputeTable({"3", "50", {}, {}});
    const Bytes expected = record();
    Trigger("New");
    Trigger("New");
    for (NavUserAction action : {kNavUserActionCancel, kNavUserActionSaveChanges}) {
        EXPECT_FALSE(EndsProcess(RequestQuit));
        EXPECT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(DocumentAt(0), window);
        EXPECT_TRUE(BGetAppQuittingStatus());
        const PendingNavDialog dialog = onlyDialog();
        EXPECT_EQ(dialog.kind, NavDialogKind::askSaveChanges);
        EXPECT_EQ(dialog.saveChangesAction, kNavSaveChangesQuittingApplication);
        EXPECT_EQ(dialog.parentWindow, window);
        EXPECT_EQ(dialog.saveFileName, "Untitled ");
        EXPECT_FALSE(EndsProcess([&] { NavTestAnswer(dialog.dialog, action); }));
        if (action == kNavUserActionCancel) {
            EXPECT_FALSE(BGetAppQuittingStatus());
            EXPECT_EQ(BIsDocumentDirty(window), 1);
            EXPECT_TRUE(GetPendingNavDialogs().empty());
        }
    }
    const PendingNavDialog save = onlyDialog();
    EXPECT_EQ(save.kind, NavDialogKind::putFile);
    EXPECT_EQ(save.parentWindow, window);
    EXPECT_EQ(save.saveFileName, "Untitled.qrtb");
    EXPECT_TRUE(EndsProcess([&] { NavTestChooseSaveLocation(save.dialog, folder, "atquit"); }));
    EXPECT_EQ(readFile(path("atquit.qrtb")), expected);
}

// Cancel in the quit-time Save sheet stops the quit; a later Save is an
// ordinary one, and the next quit saves to that file and ends.
TEST_F(Quitting, CancelInQuitSaveSheetStopsQuitThenSaveWithFileEnds)
{
    ComputeTable({"3", "50", {}, {}});
    RequestQuit();
    answer(kNavUserActionSaveChanges);
    EXPECT_FALSE(EndsProcess([] { answer(kNavUserActionCancel); }));
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(documentOf(window)->isClosing);
    saveAs("later");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    ComputeTable({"9", "35", {}, {}});
    const Bytes expected = record();
    RequestQuit();
    EXPECT_TRUE(EndsProcess([] { answer(kNavUserActionSaveChanges); }));
    EXPECT_EQ(readFile(path("later.qrtb")), expected);
}

TEST_F(Quitting, FailedSaveStopsQuitAndKeepsDocument)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("f");
    const Bytes saved = readFile(path("f.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    RequestQuit();
    SetSaveFaultForTesting(SaveStep::rename);
    EXPECT_FALSE(EndsProcess([] { answer(kNavUserActionSaveChanges); }));
    EXPECT_EQ(AlertMessages(), Strings{"Could not save the file"});
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(readFile(path("f.qrtb")), saved);
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_FALSE(documentOf(window)->isClosing);
}

// An untitled document whose quit-time Save As fails (the chosen folder is
// read-only): the alert, the quit stops, the document stays with its
// changes; the next quit asks again.
TEST_F(Quitting, FailedQuitTimeSaveAsStopsQuitAndKeepsDocument)
{
    if (!MountsUnavailable().empty())
        GTEST_SKIP() << MountsUnavailable();
    ASSERT_TRUE(MountReadOnly(folder));
    ComputeTable({"3", "50", {}, {}});
    RequestQuit();
    answer(kNavUserActionSaveChanges);
    const PendingNavDialog save = onlyDialog();
    ASSERT_EQ(save.kind, NavDialogKind::putFile);
    EXPECT_FALSE(EndsProcess([&] { NavTestChooseSaveLocation(save.dialog, folder, "atquit"); }));
    EXPECT_EQ(AlertMessages(), Strings{"Could not write Copy"});
    EXPECT_FALSE(BGetAppQuittingStatus());
    // The document's record is read below: a closed one would be gone.
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(documentOf(window)->filePath.empty());
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_FALSE(EndsProcess(RequestQuit));
    EXPECT_EQ(onlyDialog().kind, NavDialogKind::askSaveChanges);
}

// Two dirty documents, one with a file: the application-modal review
// dialog. Cancel leaves everything, Discard ends, Review asks front to back;
// none of them writes the file.
class Reviewing : public FileTest, public ::testing::WithParamInterface<NavUserAction>
{
};

TEST_P(Reviewing, AnswerDecidesAndNothingIsWritten)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("d");
    const Bytes saved = readFile(path("d.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    Trigger("New");
    ComputeTable({"4", "50", {}, {}});
    RequestQuit();
    const PendingNavDialog review = onlyDialog();
    EXPECT_EQ(review.kind, NavDialogKind::askReviewDocuments);
    EXPECT_EQ(review.documentCount, 2u);
    EXPECT_EQ(review.parentWindow, nullptr);
    EXPECT_NE(review.modality, kWindowModalityWindowModal);
    EXPECT_FALSE(BGetAppQuittingStatus());
    if (GetParam() == kNavUserActionCancel) {
        EXPECT_FALSE(EndsProcess([&] { NavTestAnswer(review.dialog, kNavUserActionCancel); }));
        EXPECT_EQ(BGetNumberOfDocuments(), 2);
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
        EXPECT_FALSE(BGetAppQuittingStatus());
        EXPECT_TRUE(GetPendingNavDialogs().empty());
    } else if (GetParam() == kNavUserActionDiscardDocuments) {
        EXPECT_TRUE(EndsProcess([] { answer(kNavUserActionDiscardDocuments); }));
    } else {
        answer(kNavUserActionReviewDocuments);
        EXPECT_EQ(onlyDialog().parentWindow, DocumentAt(1));
        answer(kNavUserActionDontSaveChanges);
        EXPECT_EQ(onlyDialog().parentWindow, window);
        EXPECT_TRUE(EndsProcess([] { answer(kNavUserActionDontSaveChanges); }));
    }
    EXPECT_EQ(readFile(path("d.qrtb")), saved);
}

INSTANTIATE_TEST_SUITE_P(Answers, Reviewing,
                         ::testing::Values(kNavUserActionCancel, kNavUserActionDiscardDocuments,
                                           kNavUserActionReviewDocuments));

TEST_F(Quitting, SheetInFrontStopsWalkWithBeep)
{
    ComputeTable({"3", "50", {}, {}});
    ClickCloseBox(window); // the save-changes sheet of normal work
    const int beeps = GetBeepCount();
    EXPECT_FALSE(EndsProcess(RequestQuit));
    EXPECT_EQ(GetBeepCount(), beeps + 1);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(onlyDialog().saveChangesAction, kNavSaveChangesClosingDocument);
}

// A collapsed front window is expanded and asked; the preferences window
// in front of it is hidden, not closed.
TEST_F(Quitting, CollapsedWindowIsExpandedAndPreferencesHidden)
{
    ComputeTable({"3", "50", {}, {}});
    ASSERT_EQ(CollapseWindow(window, true), noErr);
    Trigger("Preferences");
    WindowRef prefs = BGetPrefWindowRef();
    ASSERT_EQ(FrontWindow(), prefs);
    RequestQuit();
    EXPECT_FALSE(IsWindowVisible(prefs));
    EXPECT_EQ(BGetPrefWindowRef(), prefs);
    EXPECT_FALSE(IsWindowCollapsed(window));
    EXPECT_EQ(onlyDialog().parentWindow, window);
}

} // namespace
