// The document list: slots in order of creation, closing, the dirty count,
// the window titles with their numbers, the ten-document limit, the
// lookups, and what a close event does to a window.
#include "app/prefwindow.h"
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
    return BGetDocumentWindowsDocPtr(FrontWindow());
}

std::vector<WindowRef> Slots()
{
    std::vector<WindowRef> windows;
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
    EXPECT_FALSE(IsWindowVisible(document->theWindow));
    EXPECT_EQ(BGetDocumentsWindowPtr(document), document->theWindow);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), document->theWindow);
    EXPECT_FALSE(QRLIsDataValid(document->dataPtr));
    EXPECT_EQ(document->dirty, 0);
    EXPECT_TRUE(document->filePath.empty());
    EXPECT_FALSE(document->fileLocked);
    EXPECT_FALSE(document->isClosing);
    EXPECT_TRUE(Texts(document->theWindow).empty());
    ShowWindow(document->theWindow); // a shown window draws its sheet
    EXPECT_EQ(TextAt(document->theWindow, 140, 150), "-");
}

// Slots in order of creation; closing the first moves the others down and
// the current index stays, naming the document that moved into it; closing
// one in the middle keeps the order; closing the last leaves no current
// document until the next operation makes one current.
TEST(DocumentList, SlotsAndClosing)
{
    StartApplication();
    const std::vector<WindowRef> w = {DocumentAt(0), NewDocument()->theWindow, NewDocument()->theWindow,
                                      NewDocument()->theWindow};
    EXPECT_EQ(Slots(), w);
    EXPECT_EQ(BGetNumberOfDocuments(), 4);
    EXPECT_EQ(DocumentAt(4), nullptr);
    EXPECT_EQ(DocumentAt(-1), nullptr);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[3]);
    EXPECT_EQ(BGetCurrentDocListIndex(), 3);
    BCloseDocument(w[0]);
    EXPECT_EQ(Slots(), (std::vector<WindowRef>{w[1], w[2], w[3]}));
    EXPECT_EQ(DocumentAt(3), nullptr);
    EXPECT_EQ(BIsDocumentWindow(w[0]), 0);
    EXPECT_EQ(BGetCurrentDocListIndex(), 0);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[1]);
    BCloseDocument(w[2]);
    EXPECT_EQ(Slots(), (std::vector<WindowRef>{w[1], w[3]}));
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[3]);
    BCloseDocument(w[3]);
    EXPECT_EQ(Slots(), std::vector<WindowRef>{w[1]});
    EXPECT_EQ(BGetCurrentDocsWindowRef(), nullptr);
    EXPECT_EQ(BGetCurrentDocsDataPtr(), nullptr);
    BSetCurrentDocListIndexFromWindowRef(w[1]);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), w[1]);
    EXPECT_NE(BGetCurrentDocsDataPtr(), nullptr);
}

TEST(DocumentList, ClosingAWindowThatIsNoDocumentDoesNothing)
{
    StartApplication();
    WindowRef prefs = BGetPrefWindowRef();
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
    EXPECT_EQ(BIsDocumentDirty(third->theWindow), 1);
    EXPECT_EQ(BIsDocumentDirty(first->theWindow), 0);
    const std::tuple<tDocumentPtr, int, int> steps[] = {{first, 1, 2},  {first, 1, 2},  {second, 1, 3},
                                                        {second, 0, 2}, {second, 0, 2}, {nullptr, 1, 2},
                                                        {third, 1, 2}};
    for (const auto &[document, dirty, count] : steps) {
        BSetDocumentDirty(document, dirty);
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), count) << "after setting " << dirty;
    }
    EXPECT_EQ(BIsDocumentDirty(first->theWindow), 1);
    BCloseDocument(second->theWindow);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    BCloseDocument(first->theWindow);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentAt(0)), 1);
}

// Window titles carry their numbers, never reused; an eleventh document is
// refused with an alert, and with one closed there is room again.
TEST(DocumentList, TitlesAndTenDocumentsAtMost)
{
    StartApplication();
    EXPECT_EQ(GetWTitle(DocumentAt(0)), "Untitled ");
    for (int number = 2; number <= 10; ++number) {
        tDocumentPtr document = NewDocument();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(GetWTitle(document->theWindow), "Untitled " + std::to_string(number));
    }
    const std::vector<WindowRef> before = Slots();
    TakeShownAlerts();
    EXPECT_EQ(BInitDocument(), nullptr);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(std::tie(alerts[0].icon, alerts[0].message, alerts[0].explanation),
              std::make_tuple(QMessageBox::Information, "Cannot create new Document", "InitDocErr"));
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(Slots(), before);
    WindowRef visible[16];
    EXPECT_EQ(GetVisibleWindowsFrontToBack(visible, 16), 10);
    EXPECT_EQ(DocumentAt(10), nullptr);
    BCloseDocument(before[4]);
    tDocumentPtr again = BInitDocument();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(DocumentAt(9), again->theWindow);
    EXPECT_EQ(GetWTitle(again->theWindow), "Untitled 11");
    EXPECT_EQ(GetWTitle(DocumentAt(0)), "Untitled ");
}

// The close event, and the close box that sends it, close a clean window
// at once and ask before closing a dirty one.
TEST(DocumentList, CloseEventAndCloseBox)
{
    StartApplication();
    WindowRef first = DocumentAt(0);
    WindowRef second = NewDocument()->theWindow, third = NewDocument()->theWindow;
    ClickCloseBox(second);
    EXPECT_EQ(BIsDocumentWindow(second), 0);
    platform::widgetOf(third)->close();
    EXPECT_EQ(BIsDocumentWindow(third), 0);
    EXPECT_EQ(Slots(), std::vector<WindowRef>{first});
    EXPECT_TRUE(ShownDialogs().empty());
    ComputeTable({"3", "50", 3, std::nullopt});
    ClickCloseBox(first);
    EXPECT_EQ(BIsDocumentWindow(first), 1);
    EXPECT_TRUE(IsWindowVisible(first));
    const ShownDialog asked = OnlyDialog();
    EXPECT_EQ(asked.text, "Do you want to save the changes you made in the document “Untitled”?");
    EXPECT_EQ(asked.parent, platform::widgetOf(first));
    Press(asked, "Cancel");
    EXPECT_TRUE(NoDialogShown());
    platform::widgetOf(first)->close();
    EXPECT_EQ(BIsDocumentWindow(first), 1);
    EXPECT_TRUE(IsWindowVisible(first));
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
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_TRUE(EndsProcess(ProcessPendingEvents));
}

// Closing the front one of two documents leaves the menus set for the
// document that comes to the front, as they stand, before any other event.
TEST(DocumentList, ClosingTheFrontDocumentAdjustsMenusForTheNextOne)
{
    StartApplication();
    WindowRef first = DocumentAt(0);
    WindowRef second = NewDocument()->theWindow;
    ShowWindow(second);
    ComputeTable({"3", "50", 3, std::nullopt}); // into the second, now dirty
    SelectWindow(first);
    ASSERT_FALSE(IsCommandEnabled("Save"));
    ASSERT_FALSE(IsCommandEnabled("SaveAs"));
    ClickCloseBox(first);
    ASSERT_EQ(Slots(), std::vector<WindowRef>{second});
    EXPECT_EQ(FrontWindow(), second);
    // What the menu bar shows now, without asking the menus to adjust.
    EXPECT_TRUE(MenuItem("Save")->isEnabled());
    EXPECT_TRUE(MenuItem("SaveAs")->isEnabled());
    EXPECT_TRUE(MenuItem("Close")->isEnabled());
}
