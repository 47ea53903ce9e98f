// Key equivalents pressed on the keyboard: they act like their menu items,
// and an item's state is brought up to date at the moment the key is
// pressed, so the key of a disabled item does nothing.
#include "app/factswindow.h"
#include "app/mainmenu.h"
#include "document/document.h"
#include "platform/internal.h"
#include "platform/navtesting.h"
#include "tests/support/app_driver.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

// The window becomes the active one, as a click on it would make it.
QWidget *Activate(WindowRef window)
{
    QWidget *widget = platform::widgetOf(window);
    SelectWindow(window);
    widget->activateWindow();
    QApplication::processEvents();
    return widget;
}

void Press(WindowRef window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QWidget *widget = Activate(window);
    EXPECT_EQ(QApplication::activeWindow(), widget);
    QTest::keyClick(widget, key, modifiers);
}

// Presses the key and reports whether the table parameters window opened.
bool PressOpensTableWindow(WindowRef window, Qt::Key key)
{
    bool opened = false;
    SetModalScript([&](WindowRef table) {
        opened = GetWindowNibName(table) == "Window";
        ClickCommandButton(table, kHICommandCancel);
    });
    Press(window, key);
    SetModalScript(nullptr);
    return opened;
}

} // namespace

TEST(Keyboard, CtrlTCtrlWAndCtrlIAct)
{
    StartApplication();
    EXPECT_TRUE(PressOpensTableWindow(DocumentWindow(0), Qt::Key_T));
    SendCommand("new ");
    WindowRef second = DocumentWindow(1);
    Press(second, Qt::Key_W);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(BIsDocumentWindow(second));
    Press(DocumentWindow(0), Qt::Key_I);
    EXPECT_EQ(FrontWindow(), QRLGetFactsWindowRef());
}

TEST(Keyboard, CtrlTInTheFactsWindowDoesNothing)
{
    StartApplication();
    SendCommand("fact");
    WindowRef facts = QRLGetFactsWindowRef();
    ASSERT_EQ(FrontWindow(), facts);
    EXPECT_FALSE(PressOpensTableWindow(facts, Qt::Key_T));
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    // The window does answer the keys of enabled items.
    Press(facts, Qt::Key_N);
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
}

TEST(Keyboard, CtrlSOnACleanDocumentDoesNothing)
{
    StartApplication();
    Press(DocumentWindow(0), Qt::Key_S);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    ComputeTable({"3", "50", 3, std::nullopt});
    Press(DocumentWindow(0), Qt::Key_S);
    const std::vector<PendingNavDialog> dialogs = GetPendingNavDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, NavDialogKind::putFile);
}

// The state the key meets is the one of the moment: a document that became
// clean without any menu being shown or the front window changing.
TEST(Keyboard, KeyStateIsAdjustedWhenPressed)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    ComputeTable({"3", "50", 3, std::nullopt});
    SendMenuPopulateEvent();
    ASSERT_TRUE(IsMenuItemEnabled(GetMenuHandle(fileMenu), 5));
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(window), 0);
    ASSERT_TRUE(IsMenuItemEnabled(GetMenuHandle(fileMenu), 5)); // not yet adjusted
    Press(window, Qt::Key_S);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_FALSE(IsMenuItemEnabled(GetMenuHandle(fileMenu), 5));
}

TEST(Keyboard, CtrlNOpensNumberedWindowsUpToTen)
{
    StartApplication();
    Press(DocumentWindow(0), Qt::Key_N);
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(GetWTitle(FrontWindow()), "Untitled 2");
    while (BGetNumberOfDocuments() < 10)
        Press(FrontWindow(), Qt::Key_N);
    EXPECT_EQ(GetWTitle(FrontWindow()), "Untitled 10");
    Press(FrontWindow(), Qt::Key_N);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_TRUE(AlertMessages().empty());
}
