// Closing a window (Save / Don't Save / Cancel on the save-changes sheet)
// and Revert (Revert / Cancel).
#include "files_helpers.h"

using namespace qrltest;
using namespace filetest;

namespace
{

using Closing = FileTest;

const std::vector<std::string> kSaveChangesButtons = {"Save", "Don’t Save", "Cancel"};

// Asks to close the window as its close box does; returns the sheet.
ShownDialog closeWindow(QWidget *window)
{
    ClickCloseBox(window);
    return OnlyDialog();
}

TEST_F(Closing, CleanWindowClosesWithoutAsking)
{
    Trigger("New");
    ClickCloseBox(DocumentAt(1));
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}

// Save on an untitled document asks where and, once saved, keeps the
// window open; Cancel there leaves it dirty.
TEST_F(Closing, SaveUntitledAsksWhereAndKeepsWindowOpen)
{
    ComputeTable({"3", "50", {}, {}});
    for (bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "case cancel" : "case save");
        const ShownDialog ask = closeWindow(window);
        EXPECT_EQ(ask.text, "Do you want to save the changes you made in the document “Untitled”?");
        EXPECT_EQ(ask.detail, "Your changes will be lost if you don’t save them.");
        EXPECT_EQ(ask.buttons, kSaveChangesButtons);
        EXPECT_EQ(ask.parent, sheetParent());
        EXPECT_EQ(ask.title, "Quorlscope");
        ASSERT_TRUE(Press(ask, "Save"));
        const ShownDialog save = OnlyDialog();
        ASSERT_TRUE(save.saves);
        EXPECT_EQ(save.parent, sheetParent());
        EXPECT_EQ(save.name, "Untitled.qrtb");
        EXPECT_TRUE(documentOf(window)->isClosing);
        ASSERT_TRUE(cancel ? Press(save, "Cancel") : ChooseSaveLocation(save, folder, "late"));
        EXPECT_EQ(BGetNumberOfDocuments(), 1);
        EXPECT_EQ(BIsDocumentDirty(window), cancel ? 1 : 0);
        EXPECT_FALSE(documentOf(window)->isClosing);
        EXPECT_EQ(folderEntries(folder), cancel ? Strings{} : Strings{"late.qrtb"});
    }
    EXPECT_EQ(platform::windowTitleOf(window), "late.qrtb");
}

// The three answers for a document with a file and unsaved changes.
class ClosingDirty : public FileTest, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(ClosingDirty, AnswerDecidesWhatIsWrittenAndWhetherItCloses)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("kept");
    const Bytes saved = readFile(path("kept.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    ASSERT_TRUE(Press(closeWindow(window), GetParam()));
    const bool closes = GetParam() != "Cancel";
    EXPECT_EQ(readFile(path("kept.qrtb")), GetParam() == "Save" ? changed : saved);
    EXPECT_EQ(BGetNumberOfDocuments(), closes ? 0 : 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), closes ? 0 : 1);
    EXPECT_TRUE(NoDialogShown());
    if (!closes) {
        EXPECT_FALSE(documentOf(window)->isClosing);
        EXPECT_EQ(platform::frontWindow(), window);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ClosingDirty, ::testing::ValuesIn(kSaveChangesButtons),
                         [](const auto &info) { return std::to_string(info.index); });

// Cancel keeps the changes; Revert reloads the saved table and shows it.
TEST_F(Closing, RevertCancelKeepsChangesRevertReloads)
{
    ComputeTable({"3", "50", {}, {}});
    saveAs("r");
    const Bytes saved = readFile(path("r.qrtb"));
    ComputeTable({"9", "35", {}, {}});
    const Bytes changed = record();
    struct Case {
        const char *button;
        const Bytes &expected;
        const char *value;
    } cases[] = {{"Cancel", changed, " 9.000"}, {"Revert", saved, " 3.000"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_TRUE(IsCommandEnabled("Revert"));
        Trigger("Revert");
        const ShownDialog ask = OnlyDialog();
        EXPECT_EQ(ask.text, "Do you want to discard the changes you made to the document “r.qrtb”?");
        EXPECT_EQ(ask.detail, "The document goes back to its last saved version.");
        EXPECT_EQ(ask.buttons, (Strings{"Revert", "Cancel"}));
        EXPECT_EQ(ask.parent, sheetParent());
        ASSERT_TRUE(Press(ask, c.button));
        EXPECT_EQ(record(), c.expected);
        EXPECT_EQ(BIsDocumentDirty(window), &c.expected == &changed);
        EXPECT_EQ(window->isWindowModified(), &c.expected == &changed);
        EXPECT_EQ(TextAt(window, 308, 20), c.value);
        EXPECT_TRUE(NoDialogShown());
    }
}

} // namespace
