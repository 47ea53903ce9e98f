// The menu bar and command dispatch: the menus, their items, commands and key
// equivalents, the enabled state of every item for every kind of front
// window, and what commands do when they are sent.
#include "app/mainmenu.h"
#include "app/tablewindow.h"
#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/internal.h"
#include "tests/support/app_driver.h"
#include "tests/support/dialog_driver.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <array>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qrltest;

namespace
{

// The item's enabled state as it stands, without opening the menus.
bool Enabled(const std::string &name)
{
    QAction *item = MenuItem(name);
    return item && item->isEnabled();
}

// The items of the menu by name ("Save" for actionSave), "" for a separator.
std::vector<std::string> ItemNames(const char *menu)
{
    std::vector<std::string> names;
    if (QMenu *found = Menu(menu))
        for (QAction *item : found->actions())
            names.push_back(item->isSeparator() ? std::string() : item->objectName().mid(6).toStdString());
    return names;
}

// One row of the enabling table: new/open, close, save, save as, revert,
// page setup/print, compute.
using Row = std::array<bool, 7>;

// Every item the enabling table addresses, as they stand now.
std::vector<bool> Snapshot()
{
    std::vector<bool> enabled;
    for (const char *name : {"New", "Open", "Close", "Save", "SaveAs", "Revert", "PageSetup", "Print",
                             "Export", "ComputeTable", "Facts", "About"})
        enabled.push_back(Enabled(name));
    return enabled;
}

// The menus as the user finds them on opening one: adjusted first.
void ExpectRow(const Row &expected)
{
    OpenMenus();
    EXPECT_EQ(Enabled("New"), Enabled("Open"));
    EXPECT_EQ(Enabled("PageSetup"), Enabled("Print"));
    EXPECT_EQ(Enabled("Print"), Enabled("Export")); // Export… as Print
    const Row actual = {Enabled("New"),    Enabled("Close"),     Enabled("Save"),        Enabled("SaveAs"),
                        Enabled("Revert"), Enabled("PageSetup"), Enabled("ComputeTable")};
    EXPECT_EQ(actual, expected);
    // The facts and about commands are enabled in every row.
    EXPECT_TRUE(Enabled("Facts"));
    EXPECT_TRUE(Enabled("About"));
}

void Compute()
{
    ComputeTable({"3", "50", 3, std::nullopt});
}

// A document with a file: computed, saved as name.qrtb in folder through the
// Save dialog, closed, and opened again through the Open dialog.
QWidget *DocumentWithFile(const std::string &folder, const std::string &name, bool locked)
{
    Compute();
    Trigger("Save");
    EXPECT_TRUE(ChooseSaveLocation(OnlyDialog(), folder, name));
    const std::string path = folder + "/" + name + ".qrtb";
    if (locked)
        chmod(path.c_str(), 0444);
    Trigger("New"); // keeps a window up while the first one closes
    ClickCloseBox(DocumentAt(0));
    Trigger("Open");
    EXPECT_TRUE(ChooseFiles(OnlyDialog(), {path}));
    return platform::frontWindow();
}

// Saved, reopened (locked or not), then computed again: Save only when the
// file is not locked.
void ExpectRowsOfADocumentWithAFile(bool locked)
{
    StartApplication();
    QWidget *window = DocumentWithFile(TempFolder(), locked ? "locked" : "plain", locked);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(platform::windowTitleOf(window), locked ? "locked.qrtb" : "plain.qrtb");
    ASSERT_EQ(bool(BGetDocumentWindowsDocPtr(window)->fileLocked), locked);
    ExpectRow({true, true, false, true, false, true, true});
    Compute();
    ExpectRow({true, true, !locked, true, true, true, true});
}

} // namespace

// The document window's menu bar shows the menus in order, each with its
// items and separators; every item but a separator has a text.
TEST(Menus, MenusAndTheirItems)
{
    StartApplication();
    auto *window = qobject_cast<QMainWindow *>(platform::frontWindow());
    ASSERT_NE(window, nullptr);
    std::vector<std::string> bar;
    for (QAction *menu : window->menuBar()->actions())
        bar.push_back(menu->menu() ? menu->menu()->objectName().toStdString() : std::string());
    EXPECT_EQ(bar, (std::vector<std::string>{"appMenu", "fileMenu", "editMenu", "funcMenu", "helpMenu"}));

    const std::pair<const char *, std::vector<std::string>> menus[] = {
        {"appMenu", {"About", "", "Preferences", "", "Quit"}},
        {"fileMenu",
         {"New", "Open", "", "Close", "Save", "SaveAs", "Revert", "", "PageSetup", "Print", "Export"}},
        {"editMenu", {"Undo", "", "Cut", "Copy", "Paste", "Delete", "", "SelectAll"}},
        {"funcMenu", {"ComputeTable", "", "Facts"}},
        {"helpMenu", {"Help"}}};
    for (const auto &[menu, names] : menus) {
        EXPECT_EQ(ItemNames(menu), names) << menu;
        const std::vector<std::string> texts = ItemTexts(menu);
        ASSERT_EQ(texts.size(), names.size()) << menu;
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(texts[i].empty(), names[i].empty()) << menu << " item " << i + 1;
    }
}

TEST(Menus, KeyEquivalents)
{
    StartApplication();
    auto portable = [](const char *text) {
        return QKeySequence::fromString(QString::fromLatin1(text), QKeySequence::PortableText)
            .toString(QKeySequence::PortableText)
            .toStdString();
    };
    const std::pair<const char *, const char *> cases[] = {
        {"New", "Ctrl+N"},   {"Open", "Ctrl+O"},         {"Close", "Ctrl+W"},
        {"Save", "Ctrl+S"},  {"SaveAs", "Shift+Ctrl+S"}, {"PageSetup", "Shift+Ctrl+P"},
        {"Print", "Ctrl+P"}, {"Export", "Shift+Ctrl+E"}, {"ComputeTable", "Ctrl+T"},
        {"Facts", "Ctrl+I"}, {"Preferences", "Ctrl+,"},  {"Quit", "Ctrl+Q"},
        {"Undo", "Ctrl+Z"},  {"Cut", "Ctrl+X"},          {"Copy", "Ctrl+C"},
        {"Paste", "Ctrl+V"}, {"SelectAll", "Ctrl+A"},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(KeyOf(name), portable(expected)) << name;
    for (const char *name : {"About", "Revert", "Delete"})
        EXPECT_EQ(KeyOf(name), "") << name;
}

// Every row of the enabling table, with one document and with ten (New
// disabled): a fresh document, a computed one, the preferences, about and
// facts windows in front, a save-changes sheet; then, with room again, no
// window (as with a global menu bar, where the application stays up).
TEST(Menus, RowsForEachFrontWindow)
{
    const struct {
        const char *command;
        QWidget *(*window)();
    } auxiliaries[] = {
        {"Preferences", BGetPrefWindowRef}, {"About", BGetAboutWindowRef}, {"Facts", QRLGetFactsWindowRef}};
    StartApplication();
    for (int documents : {1, 10}) {
        SCOPED_TRACE(std::to_string(documents) + " documents");
        while (BGetNumberOfDocuments() < documents)
            Trigger("New");
        const bool room = documents < 10;
        QWidget *document = platform::frontWindow();
        ASSERT_TRUE(BIsDocumentWindow(document));
        ExpectRow({room, true, false, false, false, true, true});
        Compute();
        ExpectRow({room, true, true, true, false, true, true});
        for (const auto &c : auxiliaries) {
            SCOPED_TRACE(c.command);
            Trigger(c.command);
            ASSERT_EQ(platform::frontWindow(), c.window());
            ExpectRow({room, true, false, false, false, false, false});
        }
        platform::selectWindow(document);
        Trigger("Close");
        ASSERT_EQ(ShownDialogs().size(), 1u);
        ASSERT_NE(platform::frontWindow(), nullptr);
        ASSERT_EQ(platform::frontWindow()->windowModality(), Qt::WindowModal);
        ExpectRow({room, false, false, false, false, false, false});
        Press(ShownDialogs()[0], "Cancel");
    }
    // New then does nothing, by menu or by command.
    EXPECT_FALSE(Trigger("New"));
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_TRUE(AlertMessages().empty());
    // Closing a clean one makes room again; the computed document comes to the front.
    platform::selectWindow(DocumentAt(1));
    Trigger("Close");
    ASSERT_EQ(BGetNumberOfDocuments(), 9);
    ASSERT_EQ(platform::frontWindow(), DocumentAt(8));
    ExpectRow({true, true, true, true, false, true, true});
    for (int i = 0; i < 9; ++i)
        DocumentAt(i)->hide();
    for (const auto &c : auxiliaries)
        (c.window())->hide();
    ASSERT_EQ(platform::frontWindow(), nullptr);
    ExpectRow({true, false, false, false, false, false, false});
}

TEST(Menus, OtherWindowInFrontLeavesEverythingAsItWas)
{
    StartApplication();
    for (int documents : {1, 10}) {
        while (BGetNumberOfDocuments() < documents)
            Trigger("New");
        OpenMenus();
        const std::vector<bool> before = Snapshot();
        bool ran = false;
        RunTableWindow([&](QWidget *window) {
            ran = true;
            ASSERT_EQ(Front(), window);
            OpenMenus();
            EXPECT_EQ(Snapshot(), before) << documents << " documents";
            Click(Find<QAbstractButton>(window, "cancelButton"));
        });
        EXPECT_TRUE(ran);
    }
}

TEST(Menus, DocumentWithAFile)
{
    ExpectRowsOfADocumentWithAFile(false);
}

TEST(Menus, DocumentWithALockedFile)
{
    ExpectRowsOfADocumentWithAFile(true);
}

// New opens numbered windows in front; the menus follow each change of the
// front window with no menu opened in between; Close closes the front one.
TEST(Menus, NewCloseAndFrontWindowChanges)
{
    StartApplication();
    QWidget *dirty = DocumentAt(0);
    Compute();
    EXPECT_TRUE(Trigger("New"));
    QWidget *clean = DocumentAt(1);
    ASSERT_NE(clean, nullptr);
    EXPECT_EQ(platform::frontWindow(), clean);
    EXPECT_TRUE(clean->isVisible());
    EXPECT_EQ(platform::windowTitleOf(clean), "Untitled 2");
    EXPECT_EQ(TextAt(clean, 140, 150), "-");
    EXPECT_FALSE(Enabled("Save"));
    platform::selectWindow(dirty);
    EXPECT_TRUE(Enabled("Save"));
    platform::selectWindow(clean);
    EXPECT_FALSE(Enabled("Save"));
    Trigger("New");
    EXPECT_EQ(platform::windowTitleOf(DocumentAt(2)), "Untitled 3");
    EXPECT_TRUE(Trigger("Close"));
    EXPECT_TRUE(Trigger("Close"));
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(BIsDocumentWindow(clean));
    EXPECT_EQ(platform::frontWindow(), dirty);
    Trigger("Preferences");
    EXPECT_FALSE(Enabled("ComputeTable"));
}

// An item no menu has does nothing; Preferences shows its window and Quit
// ends the process (nothing is dirty).
TEST(Menus, UnknownAndApplicationCommands)
{
    StartApplication();
    EXPECT_EQ(MenuItem("Unknown"), nullptr);
    EXPECT_FALSE(Trigger("Unknown"));
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(AlertMessages().empty());
    EXPECT_TRUE(Trigger("Preferences"));
    EXPECT_EQ(platform::frontWindow(), BGetPrefWindowRef());
    EXPECT_TRUE(EndsProcess([] { Trigger("Quit"); }));
}

// Disabled commands do nothing; facts and about show their windows, and
// Close closes the front one.
TEST(Menus, DisabledCommandsAndAuxiliaryWindows)
{
    StartApplication();
    QWidget *window = DocumentAt(0);
    EXPECT_FALSE(Trigger("Save"));
    EXPECT_FALSE(Trigger("SaveAs"));
    EXPECT_FALSE(Trigger("Revert"));
    EXPECT_TRUE(ShownDialogs().empty());
    EXPECT_EQ(BIsDocumentDirty(window), 0);

    EXPECT_TRUE(Trigger("Facts"));
    ASSERT_EQ(platform::frontWindow(), QRLGetFactsWindowRef());
    EXPECT_FALSE(Trigger("ComputeTable"));
    EXPECT_EQ(OpenTableWindow(), nullptr);
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(TextAt(window, 140, 150), "-");
    EXPECT_TRUE(Trigger("About"));
    EXPECT_EQ(platform::frontWindow(), BGetAboutWindowRef());
    Trigger("Close");
    EXPECT_EQ(platform::frontWindow(), QRLGetFactsWindowRef());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}
