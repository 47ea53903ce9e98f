// Key equivalents pressed on the keyboard: they act like their menu items,
// and an item's state is brought up to date at the moment the key is
// pressed, so the key of a disabled item does nothing.
#include "app/mainmenu.h"
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/dialog_driver.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

// The window becomes the active one, as a click on it would make it, and
// gets the key.
void Press(QWidget *window, Qt::Key key)
{
    QWidget *widget = (window);
    platform::selectWindow(window);
    widget->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), widget);
    QTest::keyClick(widget, key, Qt::ControlModifier);
}

// Presses the key and reports whether the table parameters window opened.
bool PressOpensTableWindow(QWidget *window, Qt::Key key)
{
    Press(window, key);
    QWidget *table = OpenTableWindow();
    Click(Find<QAbstractButton>(table, "cancelButton"));
    return table && table->objectName() == QLatin1String("Window");
}

} // namespace

// Ctrl+T, Ctrl+W and Ctrl+I act; in the facts window Ctrl+T (disabled) does
// nothing while Ctrl+N (enabled) still works.
TEST(Keyboard, KeysActLikeTheirItems)
{
    StartApplication();
    EXPECT_TRUE(PressOpensTableWindow(DocumentAt(0), Qt::Key_T));
    Trigger("New");
    QWidget *second = DocumentAt(1);
    Press(second, Qt::Key_W);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(BIsDocumentWindow(second));
    Press(DocumentAt(0), Qt::Key_I);
    QWidget *facts = QRLGetFactsWindowRef();
    ASSERT_EQ(platform::frontWindow(), facts);
    EXPECT_FALSE(PressOpensTableWindow(facts, Qt::Key_T));
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    Press(facts, Qt::Key_N);
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
}

// Ctrl+S on a clean document does nothing. The state the key meets is the
// one of the moment: Save follows a document that became clean, or dirty
// again, at once, without any menu being shown or the front window changing.
TEST(Keyboard, KeyStateIsAdjustedWhenPressed)
{
    StartApplication();
    QWidget *window = DocumentAt(0);
    Press(window, Qt::Key_S);
    EXPECT_TRUE(qrltest::ShownDialogs().empty());
    ComputeTable({"3", "50", 3, std::nullopt});
    ASSERT_TRUE(MenuItem("Save")->isEnabled());
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(window), 0);
    EXPECT_FALSE(MenuItem("Save")->isEnabled());
    Press(window, Qt::Key_S);
    EXPECT_TRUE(qrltest::ShownDialogs().empty());
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(window), 1);
    EXPECT_TRUE(MenuItem("Save")->isEnabled());
    Press(window, Qt::Key_S);
    EXPECT_TRUE(qrltest::OnlyDialog().saves);
}

TEST(Keyboard, CtrlNOpensNumberedWindowsUpToTen)
{
    StartApplication();
    Press(DocumentAt(0), Qt::Key_N);
    ASSERT_EQ(BGetNumberOfDocuments(), 2);
    EXPECT_EQ(platform::windowTitleOf(platform::frontWindow()), "Untitled 2");
    while (BGetNumberOfDocuments() < 10)
        Press(platform::frontWindow(), Qt::Key_N);
    EXPECT_EQ(platform::windowTitleOf(platform::frontWindow()), "Untitled 10");
    Press(platform::frontWindow(), Qt::Key_N);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_TRUE(AlertMessages().empty());
}
