// The document list: slots in order of creation, closing, the dirty count,
// the window titles with their numbers, the ten-document limit, the
// lookups, and what a close event does to a window.
#include "app/prefwindow.h"
#include "document/document.h"
#include "platform/appleevents.h"
#include "platform/internal.h"
#include "platform/navtesting.h"
#include "tests/support/app_driver.h"

#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

tDocumentPtr NewDocument()
{
    SendCommand("new ");
    return BGetDocumentWindowsDocPtr(FrontWindow());
}

std::vector<WindowRef> Slots()
{
    std::vector<WindowRef> windows;
    for (int i = 0; i < BGetNumberOfDocuments(); ++i)
        windows.push_back(DocumentWindow(i));
    return windows;
}

} // namespace

TEST(DocumentList, NoneBeforeTheFirstOneAfter)
{
    StartPlatform();
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(DocumentWindow(0), nullptr);
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
    EXPECT_EQ(document->fRefNum, -1);
    EXPECT_FALSE(document->fileLocked);
    EXPECT_FALSE(document->isClosing);
}

TEST(DocumentList, ShownWindowDrawsItsSheet)
{
    StartPlatform();
    tDocumentPtr document = BInitDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(Texts(document->theWindow).empty());
    ShowWindow(document->theWindow);
    EXPECT_EQ(TextAt(document->theWindow, 140, 150), "-");
}

TEST(DocumentList, SlotsInOrderOfCreation)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    tDocumentPtr second = NewDocument();
    tDocumentPtr third = NewDocument();
    EXPECT_EQ(Slots(), (std::vector<WindowRef>{first, second->theWindow, third->theWindow}));
    EXPECT_EQ(BGetNumberOfDocuments(), 3);
    EXPECT_EQ(DocumentWindow(3), nullptr);
    EXPECT_EQ(DocumentWindow(-1), nullptr);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), third->theWindow);
    EXPECT_EQ(BGetCurrentDocListIndex(), 2);
}

TEST(DocumentList, ClosingTheFirstMovesTheOthersDown)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    WindowRef second = NewDocument()->theWindow;
    WindowRef third = NewDocument()->theWindow;
    BCloseDocument(first);
    EXPECT_EQ(Slots(), (std::vector<WindowRef>{second, third}));
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(DocumentWindow(2), nullptr);
    EXPECT_EQ(BIsDocumentWindow(first), 0);
    // The current index stays: it now names the document that moved into it.
    EXPECT_EQ(BGetCurrentDocListIndex(), 0);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), second);
}

TEST(DocumentList, ClosingTheMiddleOneKeepsTheOrder)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    WindowRef second = NewDocument()->theWindow;
    WindowRef third = NewDocument()->theWindow;
    WindowRef fourth = NewDocument()->theWindow;
    BCloseDocument(second);
    EXPECT_EQ(Slots(), (std::vector<WindowRef>{first, third, fourth}));
    EXPECT_EQ(BGetCurrentDocsWindowRef(), third);
}

TEST(DocumentList, ClosingTheLastLeavesNoCurrentDocument)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    WindowRef second = NewDocument()->theWindow;
    BCloseDocument(second);
    EXPECT_EQ(Slots(), std::vector<WindowRef>{first});
    EXPECT_EQ(BGetCurrentDocsWindowRef(), nullptr);
    EXPECT_EQ(BGetCurrentDocsDataPtr(), nullptr);
    // The next operation makes one current again.
    BSetCurrentDocListIndexFromWindowRef(first);
    EXPECT_EQ(BGetCurrentDocsWindowRef(), first);
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
    EXPECT_EQ(BGetCurrentDocsWindowRef(), DocumentWindow(0));
}

TEST(DocumentList, DirtyCount)
{
    StartApplication();
    tDocumentPtr first = BGetDocumentWindowsDocPtr(DocumentWindow(0));
    tDocumentPtr second = NewDocument();
    tDocumentPtr third = NewDocument();
    BSetDocumentDirty(first, 1);
    BSetDocumentDirty(first, 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(first->theWindow), 1);
    BSetDocumentDirty(second, 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    BSetDocumentDirty(second, 0);
    BSetDocumentDirty(second, 0);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    BSetDocumentDirty(nullptr, 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    BSetDocumentDirty(third, 1);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    // Closing a clean one leaves the count; closing a dirty one lowers it.
    BCloseDocument(second->theWindow);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 2);
    BCloseDocument(first->theWindow);
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentWindow(0)), 1);
}

TEST(DocumentList, ComputingMakesTheDocumentDirty)
{
    StartApplication();
    NewDocument();
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(BGetNumberOfDirtyDocuments(), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentWindow(1)), 1);
    EXPECT_EQ(BIsDocumentDirty(DocumentWindow(0)), 0);
}

TEST(DocumentList, WindowTitlesCarryTheirNumbers)
{
    StartApplication();
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
    WindowRef second = NewDocument()->theWindow;
    EXPECT_EQ(GetWTitle(second), "Untitled 2");
    BCloseDocument(second);
    EXPECT_EQ(GetWTitle(NewDocument()->theWindow), "Untitled 3");
    EXPECT_EQ(GetWTitle(NewDocument()->theWindow), "Untitled 4");
    EXPECT_EQ(GetWTitle(DocumentWindow(0)), "Untitled ");
}

TEST(DocumentList, TenDocumentsAtMost)
{
    StartApplication();
    while (BGetNumberOfDocuments() < 10)
        ASSERT_NE(NewDocument(), nullptr);
    const std::vector<WindowRef> before = Slots();
    TakeShownAlerts();
    EXPECT_EQ(BInitDocument(), nullptr);
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].type, kAlertNoteAlert);
    EXPECT_EQ(alerts[0].message, "Cannot create new Document");
    EXPECT_EQ(alerts[0].explanation, "InitDocErr");
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(Slots(), before);
    WindowRef visible[16];
    EXPECT_EQ(GetVisibleWindowsFrontToBack(visible, 16), 10);
    EXPECT_EQ(DocumentWindow(10), nullptr);
    // With one closed there is room again.
    BCloseDocument(before[4]);
    tDocumentPtr again = BInitDocument();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_EQ(DocumentWindow(9), again->theWindow);
    EXPECT_EQ(GetWTitle(again->theWindow), "Untitled 11");
}

TEST(DocumentList, CloseEventOnADirtyWindowAsksFirst)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(SendWindowEvent(window, kEventWindowClose), noErr);
    EXPECT_EQ(BIsDocumentWindow(window), 1);
    EXPECT_TRUE(IsWindowVisible(window));
    const std::vector<PendingNavDialog> dialogs = GetPendingNavDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, NavDialogKind::askSaveChanges);
    EXPECT_EQ(dialogs[0].parentWindow, window);
}

TEST(DocumentList, CloseEventOnACleanWindowClosesIt)
{
    StartApplication();
    WindowRef second = NewDocument()->theWindow;
    EXPECT_EQ(SendWindowEvent(second, kEventWindowClose), noErr);
    EXPECT_EQ(BIsDocumentWindow(second), 0);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
}

TEST(DocumentList, CloseBoxIsTheCloseEvent)
{
    StartApplication();
    WindowRef first = DocumentWindow(0);
    WindowRef second = NewDocument()->theWindow;
    platform::widgetOf(second)->close();
    EXPECT_EQ(BIsDocumentWindow(second), 0);
    EXPECT_EQ(Slots(), std::vector<WindowRef>{first});
    ComputeTable({"3", "50", 3, std::nullopt});
    platform::widgetOf(first)->close();
    EXPECT_EQ(BIsDocumentWindow(first), 1);
    EXPECT_EQ(GetPendingNavDialogs().size(), 1u);
}

// Without a global menu bar nothing is left to work with once the last
// window has gone: the application quits.
TEST(DocumentList, ClosingTheLastWindowQuits)
{
#ifdef __APPLE__
    GTEST_SKIP() << "the global menu bar keeps the application up";
#endif
    StartApplication();
    SendWindowEvent(DocumentWindow(0), kEventWindowClose);
    EXPECT_EQ(BGetNumberOfDocuments(), 0);
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_TRUE(EndsProcess([] { DeliverPostedAppleEvents(); }));
}
