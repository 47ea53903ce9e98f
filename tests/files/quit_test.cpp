// Quitting with unsaved documents: the review dialog, the walk from the
// front window back, the quit-time save-changes and save sheets.
#include "app/windowmodule.h"
#include "files/appinfo.h"
#include "files_helpers.h"
#include "platform/process.h"
#include "tests/support/mounts.h"

using namespace qrltest;
using namespace filetest;

namespace
{

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
    for (const std::string button : {"Cancel", "Save"}) {
        EXPECT_FALSE(EndsProcess(RequestQuit));
        EXPECT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(DocumentAt(0), window);
        EXPECT_TRUE(BGetAppQuittingStatus());
        const ShownDialog dialog = OnlyDialog();
        EXPECT_EQ(dialog.text, quitQuestion("Untitled"));
        EXPECT_EQ(dialog.parent, sheetParent());
        EXPECT_FALSE(EndsProcess([&] { Press(dialog, button); }));
        if (button == "Cancel") {
            EXPECT_FALSE(BGetAppQuittingStatus());
            EXPECT_EQ(BIsDocumentDirty(window), 1);
            EXPECT_TRUE(NoDialogShown());
        }
    }
    const ShownDialog save = OnlyDialog();
    EXPECT_TRUE(save.saves);
    EXPECT_EQ(save.parent, sheetParent());
    EXPECT_EQ(save.name, "Untitled.qrtb");
    EXPECT_TRUE(EndsProcess([&] { ChooseSaveLocation(save, folder, "atquit"); }));
    EXPECT_EQ(readFile(path("atquit.qrtb")), expected);
}

// Cancel in the quit-time Save sheet stops the quit; a later Save is an
// ordinary one, and the next quit saves to that file and ends.
TEST_F(Quitting, CancelInQuitSaveSheetStopsQuitThenSaveWithFileEnds)
{
    ComputeTable({"3", "50", {}, {}});
    RequestQuit();
    answer("Save");
    EXPECT_FALSE(EndsProcess([] { answer("Cancel"); }));
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(documentOf(window)->isClosing);
    saveAs("later");
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(window), 0);
    ComputeTable({"9", "35", {}, {}});
    const Bytes expected = record();
    RequestQuit();
    EXPECT_TRUE(EndsProcess([] { answer("Save"); }));
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
    EXPECT_FALSE(EndsProcess([] { answer("Save"); }));
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
    answer("Save");
    const ShownDialog save = OnlyDialog();
    ASSERT_TRUE(save.saves);
    EXPECT_FALSE(EndsProcess([&] { ChooseSaveLocation(save, folder, "atquit"); }));
    EXPECT_EQ(AlertMessages(), Strings{"Could not write Copy"});
    EXPECT_FALSE(BGetAppQuittingStatus());
    // The document's record is read below: a closed one would be gone.
    ASSERT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(BIsDocumentDirty(window), 1);
    EXPECT_TRUE(documentOf(window)->filePath.empty());
    EXPECT_FALSE(documentOf(window)->isClosing);
    EXPECT_TRUE(NoDialogShown());
    EXPECT_TRUE(folderEntries(folder).empty());
    EXPECT_FALSE(EndsProcess(RequestQuit));
    EXPECT_EQ(OnlyDialog().text, quitQuestion("Untitled"));
}

// Two dirty documents, one with a file: the application-modal review
// dialog. Cancel leaves everything, Discard ends, Review asks front to back;
// none of them writes the file.
class Reviewing : public FileTest, public ::testing::WithParamInterface<std::string>
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
    const ShownDialog review = OnlyDialog();
    EXPECT_EQ(review.text, "You have 2 documents with unsaved changes. Do you want to review these changes "
                           "before quitting?");
    EXPECT_EQ(review.buttons, (Strings{"Review Changes…", "Discard Changes", "Cancel"}));
    EXPECT_EQ(review.parent, nullptr);
    EXPECT_EQ(review.modality, Qt::ApplicationModal);
    EXPECT_FALSE(BGetAppQuittingStatus());
    if (GetParam() == "Cancel") {
        EXPECT_FALSE(EndsProcess([&] { Press(review, "Cancel"); }));
        EXPECT_EQ(BGetNumberOfDocuments(), 2);
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
        EXPECT_FALSE(BGetAppQuittingStatus());
        EXPECT_TRUE(NoDialogShown());
    } else if (GetParam() == "Discard Changes") {
        EXPECT_TRUE(EndsProcess([] { answer("Discard Changes"); }));
    } else {
        answer("Review Changes…");
        EXPECT_EQ(OnlyDialog().parent, (DocumentAt(1)));
        answer("Don’t Save");
        EXPECT_EQ(OnlyDialog().parent, sheetParent());
        EXPECT_TRUE(EndsProcess([] { answer("Don’t Save"); }));
    }
    EXPECT_EQ(readFile(path("d.qrtb")), saved);
}

INSTANTIATE_TEST_SUITE_P(Answers, Reviewing,
                         ::testing::Values("Cancel", "Discard Changes", "Review Changes…"),
                         [](const auto &info) { return std::to_string(info.index); });

TEST_F(Quitting, SheetInFrontStopsWalkWithBeep)
{
    ComputeTable({"3", "50", {}, {}});
    ClickCloseBox(window); // the save-changes sheet of normal work
    const int beeps = GetBeepCount();
    EXPECT_FALSE(EndsProcess(RequestQuit));
    EXPECT_EQ(GetBeepCount(), beeps + 1);
    EXPECT_FALSE(BGetAppQuittingStatus());
    EXPECT_EQ(OnlyDialog().text, "Do you want to save the changes you made in the document “Untitled”?");
}

// A collapsed front window is expanded and asked; the preferences window
// in front of it is hidden, not closed.
TEST_F(Quitting, CollapsedWindowIsExpandedAndPreferencesHidden)
{
    ComputeTable({"3", "50", {}, {}});
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    Trigger("Preferences");
    QWidget *prefs = BGetPrefWindowRef();
    ASSERT_EQ(platform::frontWindow(), prefs);
    RequestQuit();
    EXPECT_FALSE(prefs->isVisible());
    EXPECT_EQ(BGetPrefWindowRef(), prefs);
    EXPECT_FALSE(window->isMinimized());
    EXPECT_EQ(OnlyDialog().parent, sheetParent());
}

} // namespace
