// Menus and keys: each menu's items and key equivalents, which items are
// enabled for each kind of front window, keys pressed on the keyboard, and
// the document windows that New and Close make and end, ten at most.
#include "app/opendocuments.h"
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qrltest;

namespace
{

const char *const kCommands[] = {"New",       "Open",  "Close",  "Save",         "SaveAs", "Revert",
                                 "PageSetup", "Print", "Export", "ComputeTable", "Facts",  "About"};

// The enabled state of kCommands, '+' or '-' each: as the menu bar stands
// (the program adjusts it on every change of the front window or of a
// document), or as the menus show it once opened.
std::string Enabled(bool opened = true)
{
    std::string state;
    for (const char *name : kCommands)
        state +=
            (opened ? IsCommandEnabled(name) : MenuItem(name) && MenuItem(name)->isEnabled()) ? '+' : '-';
    return state;
}

// The window becomes the active one, as a click on it makes it, and gets
// Ctrl and the key.
void PressKey(QWidget *window, Qt::Key key)
{
    platform::selectWindow(window);
    window->activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), window);
    QTest::keyClick(window, key, Qt::ControlModifier);
}

// Whether pressing the key opened the table parameters window (then cancelled).
bool KeyOpensTableWindow(QWidget *window)
{
    PressKey(window, Qt::Key_T);
    QWidget *table = OpenTableWindow();
    Click(Find<QAbstractButton>(table, "cancelButton"));
    return table != nullptr;
}

void Compute()
{
    ComputeTable({"3", "50", 3, std::nullopt});
}

// Saved through the Save dialog, closed, and opened again through Open;
// locked: the file is made read-only before it opens again.
void ReopenSaved(bool locked)
{
    const std::string folder = FreshFolder();
    Compute();
    Trigger("Save");
    ASSERT_TRUE(ChooseSaveLocation(OnlyDialog(), folder, "table"));
    if (locked)
        chmod((folder + "/table.qrtb").c_str(), 0444);
    QWidget *saved = platform::frontWindow();
    Trigger("New");
    ClickCloseBox(saved);
    Trigger("Open");
    ASSERT_TRUE(ChooseFiles(OnlyDialog(), {folder + "/table.qrtb"}));
    ASSERT_EQ(platform::windowTitleOf(platform::frontWindow()), "table.qrtb");
}

} // namespace

// The menu bar's menus in order, each with its items (by name, "|" for a
// separator) and their keys; every item has a text.
TEST(Menus, ItemsAndKeys)
{
    StartApplication();
    // clang-format off
    const std::pair<const char *, std::string> menus[] = {
        {"appMenu", "About | Preferences:Ctrl+, | Quit:Ctrl+Q"},
        {"fileMenu", "New:Ctrl+N Open:Ctrl+O | Close:Ctrl+W Save:Ctrl+S SaveAs:Ctrl+Shift+S Revert | "
                     "PageSetup:Ctrl+Shift+P Print:Ctrl+P Export:Ctrl+Shift+E"},
        {"editMenu", "Undo:Ctrl+Z | Cut:Ctrl+X Copy:Ctrl+C Paste:Ctrl+V Delete | SelectAll:Ctrl+A"},
        {"funcMenu", "ComputeTable:Ctrl+T | Facts:Ctrl+I"},
        {"helpMenu", "Help:F1"}};
    // clang-format on
    const QList<QAction *> bar = qobject_cast<QMainWindow *>(DocumentAt(0))->menuBar()->actions();
    ASSERT_EQ(bar.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const auto &[menu, items] = menus[i];
        ASSERT_TRUE(bar[i]->menu()) << menu;
        EXPECT_EQ(bar[i]->menu()->objectName().toStdString(), menu);
        std::string shown;
        for (QAction *item : bar[i]->menu()->actions()) {
            const std::string name = item->objectName().mid(6).toStdString(), key = KeyOf(name);
            shown += (shown.empty() ? "" : " ") +
                     (item->isSeparator() ? "|" : name + (key.empty() ? "" : ":" + key));
            EXPECT_NE(item->isSeparator(), !item->text().isEmpty()) << name;
        }
        EXPECT_EQ(shown, items);
    }
}

// One row per front window, with one document and with ten (New and Open
// off): the items New Open Close Save SaveAs Revert PageSetup Print Export
// ComputeTable Facts About.
TEST(Menus, EnablingForEachFrontWindow)
{
    StartApplication();
    for (const char *room : {"++", "--"}) {
        SCOPED_TRACE(room);
        while (room[0] == '-' && BGetNumberOfDocuments() < kMaxNumberOfDocuments)
            Trigger("New");
        QWidget *document = platform::frontWindow();
        const std::pair<std::function<void()>, std::string> rows[] = {
            {[] {}, "+---++++++"},
            {Compute, "+++-++++++"},
            {[] { Trigger("Preferences"); }, "+-------++"},
            {[] { Trigger("About"); }, "+-------++"},
            {[] { Trigger("Facts"); }, "+-------++"},
            {[] { Trigger("Help"); }, "+-------++"},
            {[&] { platform::selectWindow(document); }, "+++-++++++"},
            {[] { Trigger("Close"); }, "--------++"}}; // the save-changes question in front
        for (const auto &[step, expected] : rows) {
            step();
            EXPECT_EQ(Enabled(false), room + expected);
            EXPECT_EQ(Enabled(), room + expected);
        }
        Press(OnlyDialog(), "Cancel");
        // The table parameters window in front leaves every item as it was.
        const std::string before = Enabled();
        RunTableWindow([&](QWidget *window) {
            EXPECT_EQ(platform::frontWindow(), window);
            EXPECT_EQ(Enabled(), before);
        });
    }
    // Closing a clean one of ten makes room, the computed one comes to the
    // front; with no window shown only New, Open, Facts and About are left
    // (as with a global menu bar).
    platform::selectWindow(DocumentAt(1));
    Trigger("Close");
    EXPECT_EQ(platform::frontWindow(), DocumentAt(8));
    EXPECT_EQ(Enabled(), "+++++-++++++");
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    EXPECT_EQ(Enabled(), "++--------++");
}

// Save only for a file that is not locked; Revert once changed.
TEST(Menus, DocumentWithAFileAndWithALockedOne)
{
    StartApplication();
    for (const bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "locked" : "writable");
        ReopenSaved(locked);
        EXPECT_EQ(Enabled(), "+++-+-++++++");
        Compute();
        EXPECT_EQ(Enabled(), locked ? "+++-++++++++" : "++++++++++++");
        Trigger("New");
    }
}

// Keys act like their items, with the item's state of the moment the key is
// pressed: a disabled item's key does nothing.
TEST(Menus, KeysOnTheKeyboard)
{
    StartApplication();
    QWidget *first = DocumentAt(0);
    EXPECT_TRUE(KeyOpensTableWindow(first));
    Trigger("New");
    PressKey(DocumentAt(1), Qt::Key_W);
    EXPECT_EQ(DocumentTitles(), std::vector<std::string>{"Untitled "});
    PressKey(first, Qt::Key_I);
    QWidget *facts = QRLGetFactsWindowRef();
    ASSERT_EQ(platform::frontWindow(), facts);
    EXPECT_FALSE(KeyOpensTableWindow(facts));
    PressKey(facts, Qt::Key_N);
    EXPECT_EQ(BGetNumberOfDocuments(), 2);
    // Save follows the document's state at once, with no menu opened.
    PressKey(first, Qt::Key_S);
    EXPECT_TRUE(ShownDialogs().empty());
    Compute();
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(first), 0);
    PressKey(first, Qt::Key_S);
    EXPECT_TRUE(ShownDialogs().empty());
    BSetDocumentDirty(BGetDocumentWindowsDocPtr(first), 1);
    PressKey(first, Qt::Key_S);
    EXPECT_TRUE(OnlyDialog().saves);
}

// New makes numbered windows in front, each showing an empty sheet; the
// menus follow the front window; Close and the close box end the front one,
// and the one behind comes to the front.
TEST(Menus, NewAndClose)
{
    StartApplication();
    QWidget *dirty = DocumentAt(0);
    Compute();
    for (int i = 0; i < 3; ++i)
        Trigger("New");
    EXPECT_EQ(DocumentTitles(),
              (std::vector<std::string>{"Untitled ", "Untitled 2", "Untitled 3", "Untitled 4"}));
    EXPECT_EQ(platform::frontWindow(), DocumentAt(3));
    EXPECT_TRUE(DocumentAt(3)->isVisible());
    EXPECT_EQ(TextAt(DocumentAt(3), 140, 150), "-");
    EXPECT_TRUE(dirty->isWindowModified()); // a compute changes the front document only
    EXPECT_FALSE(DocumentAt(3)->isWindowModified());
    QWidget *third = DocumentAt(2);
    ClickCloseBox(DocumentAt(1));
    EXPECT_TRUE(Trigger("Close"));
    EXPECT_EQ(DocumentTitles(), (std::vector<std::string>{"Untitled ", "Untitled 3"}));
    EXPECT_EQ(platform::frontWindow(), third);
    EXPECT_EQ(Enabled(false), "+++---++++++");
    ClickCloseBox(third);
    EXPECT_EQ(platform::frontWindow(), dirty);
    EXPECT_EQ(Enabled(false), "+++++-++++++"); // set for the document now in front, no menu opened
    Trigger("Facts");
    Trigger("About");
    EXPECT_TRUE(Trigger("Close")); // an auxiliary window in front: Close hides it
    EXPECT_EQ(std::make_pair(BGetAboutWindowRef()->isVisible(), platform::frontWindow()),
              std::make_pair(false, QRLGetFactsWindowRef()));
}

// At ten documents New (item or key) and a file handed over do nothing;
// numbers are never reused; of two files handed over at nine documents the
// second is refused with an alert.
TEST(Menus, TenDocumentsAtMost)
{
    StartApplication();
    while (BGetNumberOfDocuments() < 10)
        PressKey(platform::frontWindow(), Qt::Key_N);
    EXPECT_EQ(platform::windowTitleOf(platform::frontWindow()), "Untitled 10");
    const std::string folder = FreshFolder(), x = CopySavedTable(folder, "x.qrtb"),
                      y = CopySavedTable(folder, "y.qrtb");
    const std::function<void()> rows[] = {[] { Trigger("New"); },
                                          [] { PressKey(platform::frontWindow(), Qt::Key_N); },
                                          [&] { BOpenHandedOverDocuments({x}); }};
    for (const auto &step : rows) {
        step();
        EXPECT_EQ(platform::windowTitleOf(DocumentAt(9)), "Untitled 10");
        EXPECT_EQ(BGetNumberOfDocuments(), 10);
    }
    EXPECT_TRUE(AlertMessages().empty());
    ClickCloseBox(DocumentAt(4));
    Trigger("New");
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(9)), "Untitled 11");
    ClickCloseBox(DocumentAt(4));
    BOpenHandedOverDocuments({x, y});
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(9)), "x.qrtb");
    EXPECT_EQ(AlertMessages(), std::vector<std::string>{
                                   "Could not open File, because the maximum number of documents are open"});
}

// Without a global menu bar nothing is left to work with once the last
// window has gone: the application quits.
TEST(Menus, ClosingTheLastWindowQuits)
{
    StartApplication();
    ClickCloseBox(DocumentAt(0));
    EXPECT_EQ(platform::frontWindow(), nullptr);
    EXPECT_TRUE(EndsProcess(ProcessPendingEvents));
}
