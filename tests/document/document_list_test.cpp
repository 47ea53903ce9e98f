// The document list: slots in order of creation, closing, the dirty count,
// the window titles with their numbers, the ten-document limit, the
// lookups, and what a close event does to a window.
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/dialog_driver.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace qrltest;

namespace
{

tDocumentPtr NewDocument()
{
    Trigger("New");
    return BGetDocumentWindowsDocPtr(platform::frontWindow());
}

std::vector<QWidget *> Slots()
{
    std::vector<QWidget *> windows;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        windows.push_back(DocumentAt(i));
    return windows;
}

} // namespace

TEST(DocumentList, NoneBeforeTheFirstOneAfter)
{
    StartPlatform();
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(DocumentAt(0), nullptr);
    EXPECT_EQ(BGetCurrentDocsDataPtr(), nullptr);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), nullptr);
    EXPECT_EQ(BIsDocumentWindow(nullptr), 0);
    tDocumentPtr document = BInitDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    // Built hidden; the caller shows it.
    EXPECT_FALSE(document->isVisible());
    EXPECT_EQ(BGetDocumentsWindowPtr(document), document);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), document);
    EXPECT_FALSE(QRLIsDataValid(document->dataPtr));
    EXPECT_EQ(document->dirty, 0);
    EXPECT_TRUE(document->filePath.empty());
    EXPECT_FALSE(document->fileLocked);
    EXPECT_FALSE(document->isClosing);
    EXPECT_TRUE(Texts(document).empty());
    document->show(); // a shown window draws its sheet
    EXPECT_EQ(TextAt(document, 140, 150), "-");
}

// Slots in order of creation; closing the first moves the others down and
// the current index stays, naming the document that moved into it; closing
// one in the middle keeps the order; closing the last leaves no current
// document until the next operation makes one current.
TEST(DocumentList, SlotsAndClosing)
{
    StartApplication();
    const std::vector<QWidget *> w = {DocumentAt(0), NewDocument(), NewDocument(), NewDocument()};
    EXPECT_EQ(Slots(), w);
    EXPECT_EQ(BGetNumberOfDocuments(), 4);
    EXPECT_EQ(DocumentAt(4), nullptr);
    EXPECT_EQ(DocumentAt(-1), nullptr);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[3]);
    EXPECT_EQ(BGetCurrentDocListIndex(), 3);
    BCloseDocument(w[0]);
    EXPECT_EQ(Slots(), (std::vector<QWidget *>{w[1], w[2], w[3]}));
    EXPECT_EQ(DocumentAt(3), nullptr);
    EXPECT_EQ(BIsDocumentWindow(w[0]), 0);
    EXPECT_EQ(BGetCurrentDocListIndex(), 0);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[1]);
    BCloseDocument(w[2]);
    EXPECT_EQ(Slots(), (std::vector<QWidget *>{w[1], w[3]}));
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[3]);
    BCloseDocument(w[3]);
    EXPECT_EQ(Slots(), std::vector<QWidget *>{w[1]});
    EXPECT_EQ(BGetCurrentDocsWindowRef(), nullptr);
    EXPECT_EQ(BGetCurrentDocsDataPtr(), nullptr);
    BSetCurrentDocListIndexFromWindowRef(w[1]);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[1]);
    EXPECT_NE(BGetCurrentDocsDataPtr(), nullptr);
}

TEST(DocumentList, ClosingAWindowThatIsNoDocumentDoesNothing)
{
    StartApplication();
    QWidget *prefs = BGetPrefWindowRef();
    BCloseDocument(prefs);
    BCloseDocument(nullptr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_EQ(BIsDocumentWindow(prefs), 0);
    EXPECT_EQ(BIsDocumentDirty(prefs), 0);
    EXPECT_EQ(BGetDocumentWindowsDocPtr(prefs), nullptr);
    EXPECT_EQ(BGetDocumentsWindowPtr(nullptr), nullptr);
    BSetCurrentDocListIndexFromWindowRef(prefs);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), DocumentAt(0));
}

// A compute marks only the front document; setting a flag twice counts once;
// closing a clean one leaves the count, closing a dirty one lowers it.
TEST(DocumentList, DirtyCount)
{
    StartApplication();
    tDocumentPtr first = BGetDocumentWindowsDocPtr(DocumentAt(0));
    tDocumentPtr second = NewDocument();
    tDocumentPtr third = NewDocument();
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(third), 1);
    EXPECT_EQ(BIsDocumentDirty(first), 0);
    const std::tuple<tDocumentPtr, int, int> steps[] = {{first, 1, 2},  {first, 1, 2},  {second, 1, 3},
                                                        {second, 0, 2}, {second, 0, 2}, {nullptr, 1, 2},
                                                        {third, 1, 2}};
    for (const auto &[document, dirty, count] : steps) {
        BSetDocumentDirty(document, dirty);
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), count) << "after setting " << dirty;
    }
    EXPECT_EQ(BIsDocumentDirty(first), 1);
    BCloseDocument(second);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    BCloseDocument(first);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentAt(0)), 1);
}

// Window titles carry their numbers, never reused; an eleventh document is
// refused with an alert, and with one closed there is room again.
TEST(DocumentList, TitlesAndTenDocumentsAtMost)
{
    StartApplication();
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(0)), "Untitled ");
    for (int number = 2; number <= 10; ++number) {
        tDocumentPtr document = NewDocument();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(platform::windowTitleOf(document), "Untitled " + std::to_string(number));
    }
    const std::vector<QWidget *> before = Slots();
    TakeShownAlerts();
    EXPECT_EQ(BInitDocument(), nullptr);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(std::tie(alerts[0].icon, alerts[0].message, alerts[0].explanation),
              std::make_tuple(QMessageBox::Information, "Cannot create new Document", "InitDocErr"));
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(Slots(), before);
    EXPECT_EQ(platform::windowsFrontToBack().size(), 10u);
    EXPECT_EQ(DocumentAt(10), nullptr);
    BCloseDocument(before[4]);
    tDocumentPtr again = BInitDocument();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(DocumentAt(9), again);
    EXPECT_EQ(platform::windowTitleOf(again), "Untitled 11");
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(0)), "Untitled ");
}

// The close event, and the close box that sends it, close a clean window
// at once and ask before closing a dirty one.
TEST(DocumentList, CloseEventAndCloseBox)
{
    StartApplication();
    QWidget *first = DocumentAt(0);
    QWidget *second = NewDocument(), *third = NewDocument();
    ClickCloseBox(second);
    EXPECT_EQ(BIsDocumentWindow(second), 0);
    third->close();
    EXPECT_EQ(BIsDocumentWindow(third), 0);
    EXPECT_EQ(Slots(), std::vector<QWidget *>{first});
    EXPECT_TRUE(ShownDialogs().empty());
    ComputeTable({"3", "50", 3, std::nullopt});
    ClickCloseBox(first);
    EXPECT_EQ(BIsDocumentWindow(first), 1);
    EXPECT_TRUE(first->isVisible());
    const ShownDialog asked = OnlyDialog();
    EXPECT_EQ(asked.text, "Do you want to save the changes you made in the document “Untitled”?");
    EXPECT_EQ(asked.parent, (first));
    Press(asked, "Cancel");
    EXPECT_TRUE(NoDialogShown());
    first->close();
    EXPECT_EQ(BIsDocumentWindow(first), 1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(ShownDialogs().size(), 1u);
}

// Without a global menu bar nothing is left to work with once the last
// window has gone: the application quits.
TEST(DocumentList, ClosingTheLastWindowQuits)
{
#ifdef __APPLE__
    GTEST_SKIP() << "the global menu bar keeps the application up";
#endif
    StartApplication();
    ClickCloseBox(DocumentAt(0));
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(platform::frontWindow(), nullptr);
    EXPECT_TRUE(EndsProcess(ProcessPendingEvents));
}

// Closing the front one of two documents leaves the menus set for the
// document that comes to the front, as they stand, before any other event.
TEST(DocumentList, ClosingTheFrontDocumentAdjustsMenusForTheNextOne)
{
    StartApplication();
    QWidget *first = DocumentAt(0);
    QWidget *second = NewDocument();
    second->show();
    ComputeTable({"3", "50", 3, std::nullopt}); // into the second, now dirty
    platform::selectWindow(first);
    ASSERT_FALSE(IsCommandEnabled("Save"));
    ASSERT_FALSE(IsCommandEnabled("SaveAs"));
    ClickCloseBox(first);
    ASSERT_EQ(Slots(), std::vector<QWidget *>{second});
    EXPECT_EQ(platform::frontWindow(), second);
    // What the menu bar shows now, without asking the menus to adjust.
    EXPECT_TRUE(MenuItem("Save")->isEnabled());
    EXPECT_TRUE(MenuItem("SaveAs")->isEnabled());
    EXPECT_TRUE(MenuItem("Close")->isEnabled());
}
