// The menu bar and command dispatch: the menus, their items, commands and key
// equivalents, the enabled state of every item for every kind of front
// window, and what commands do when they are sent.
#include "app/aboutwindow.h"
#include "app/factswindow.h"
#include "app/mainmenu.h"
#include "app/prefwindow.h"
#include "app/tablewindow.h"
#include "document/document.h"
#include "platform/navtesting.h"
#include "tests/support/app_driver.h"

#include <QKeySequence>
#include <array>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qrltest;

namespace
{

std::uint32_t Code(const char (&text)[5])
{
    return FOUR_CHAR_CODE(text);
}

bool Enabled(MenuID menu, MenuItemIndex item)
{
    return IsMenuItemEnabled(GetMenuHandle(menu), item);
}

// One row of the enabling table: new/open, close, save, save as, revert,
// page setup/print, compute.
using Row = std::array<bool, 7>;

// Every item the enabling table addresses, as they stand now.
std::array<bool, 12> Snapshot()
{
    return {Enabled(fileMenu, 1),  Enabled(fileMenu, 2), Enabled(fileMenu, 4), Enabled(fileMenu, 5),
            Enabled(fileMenu, 6),  Enabled(fileMenu, 7), Enabled(fileMenu, 9), Enabled(fileMenu, 10),
            Enabled(fileMenu, 11), Enabled(funcMenu, 1), Enabled(funcMenu, 3), Enabled(appMenu, 1)};
}

// The menus as the user finds them on opening one: adjusted first.
void ExpectRow(const Row &expected)
{
    SendMenuPopulateEvent();
    EXPECT_EQ(Enabled(fileMenu, 1), Enabled(fileMenu, 2));
    EXPECT_EQ(Enabled(fileMenu, 9), Enabled(fileMenu, 10));
    EXPECT_EQ(Enabled(fileMenu, 10), Enabled(fileMenu, 11)); // Export… as Print
    const Row actual = {Enabled(fileMenu, 1), Enabled(fileMenu, 4), Enabled(fileMenu, 5),
                        Enabled(fileMenu, 6), Enabled(fileMenu, 7), Enabled(fileMenu, 9),
                        Enabled(funcMenu, 1)};
    EXPECT_EQ(actual, expected);
    // The facts and about commands are enabled in every row.
    EXPECT_TRUE(Enabled(funcMenu, 3));
    EXPECT_TRUE(Enabled(appMenu, 1));
}

void Compute()
{
    ComputeTable({"3", "50", 3, std::nullopt});
}

// A document with a file: computed, saved as name.qrtb in folder through the
// Save dialog, closed, and opened again through the Open dialog.
WindowRef DocumentWithFile(const std::string &folder, const std::string &name, bool locked)
{
    Compute();
    SendCommand("save");
    std::vector<PendingNavDialog> dialogs = GetPendingNavDialogs();
    EXPECT_EQ(dialogs.size(), 1u);
    if (dialogs.size() != 1)
        return nullptr;
    NavTestChooseSaveLocation(dialogs[0].dialog, folder, name);
    const std::string path = folder + "/" + name + ".qrtb";
    if (locked)
        chmod(path.c_str(), 0444);
    SendCommand("new "); // keeps a window up while the first one closes
    SendWindowEvent(DocumentWindow(0), kEventWindowClose);
    SendCommand("open");
    dialogs = GetPendingNavDialogs();
    EXPECT_EQ(dialogs.size(), 1u);
    if (dialogs.size() != 1)
        return nullptr;
    NavTestChooseFiles(dialogs[0].dialog, {path});
    return FrontWindow();
}

// Saved, reopened (locked or not), then computed again: Save only when the
// file is not locked.
void ExpectRowsOfADocumentWithAFile(bool locked)
{
    StartApplication();
    WindowRef window = DocumentWithFile(TempFolder(), locked ? "locked" : "plain", locked);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(GetWTitle(window), locked ? "locked.qrtb" : "plain.qrtb");
    ASSERT_EQ(bool(BGetDocumentWindowsDocPtr(window)->fileLocked), locked);
    ExpectRow({true, true, false, true, false, true, true});
    Compute();
    ExpectRow({true, true, !locked, true, true, true, true});
}

} // namespace

TEST(Menus, MenusAndTheirItems)
{
    StartApplication();
    for (MenuID id : {appMenu, fileMenu, editMenu, funcMenu})
        EXPECT_NE(GetMenuHandle(id), nullptr) << id;
    EXPECT_NE(GetMenuHandle(132), nullptr); // Help, after the Table menu
    EXPECT_EQ(GetMenuHandle(133), nullptr);

    EXPECT_EQ(GetMenuItemCommandID(GetMenuHandle(appMenu), 1), Code("abou"));
    // Separators (command 0) have no text; Close is left to the platform.
    const std::pair<MenuID, std::vector<std::uint32_t>> menus[] = {
        {fileMenu,
         {Code("new "), Code("open"), 0, kHICommandClose, Code("save"), Code("svas"), Code("rvrt"), 0,
          Code("page"), Code("prnt"), Code("expt")}},
        {funcMenu, {Code("qorl"), 0, Code("fact")}}};
    for (const auto &[id, commands] : menus) {
        MenuRef menu = GetMenuHandle(id);
        ASSERT_EQ(CountMenuItems(menu), MenuItemIndex(commands.size())) << "menu " << id;
        for (MenuItemIndex item = 1; item <= CountMenuItems(menu); ++item) {
            EXPECT_EQ(GetMenuItemCommandID(menu, item), commands[item - 1])
                << "menu " << id << " item " << item;
            EXPECT_EQ(GetMenuItemText(menu, item).empty(), commands[item - 1] == 0)
                << "menu " << id << " item " << item;
        }
    }
}

TEST(Menus, KeyEquivalents)
{
    StartApplication();
    auto keys = [](MenuID menu, std::uint32_t command) {
        MenuRef ref = GetMenuHandle(menu);
        for (MenuItemIndex item = 1; item <= CountMenuItems(ref); ++item)
            if (GetMenuItemCommandID(ref, item) == command)
                return GetMenuItemKeyEquivalent(ref, item);
        return std::string("<no item>");
    };
    auto portable = [](const char *text) {
        return QKeySequence::fromString(QString::fromLatin1(text), QKeySequence::PortableText)
            .toString(QKeySequence::PortableText)
            .toStdString();
    };
    const std::tuple<MenuID, std::uint32_t, const char *> cases[] = {
        {fileMenu, Code("new "), "Ctrl+N"},         {fileMenu, Code("open"), "Ctrl+O"},
        {fileMenu, kHICommandClose, "Ctrl+W"},      {fileMenu, Code("save"), "Ctrl+S"},
        {fileMenu, Code("svas"), "Shift+Ctrl+S"},   {fileMenu, Code("page"), "Shift+Ctrl+P"},
        {fileMenu, Code("prnt"), "Ctrl+P"},         {fileMenu, Code("expt"), "Shift+Ctrl+E"},
        {funcMenu, Code("qorl"), "Ctrl+T"},         {funcMenu, Code("fact"), "Ctrl+I"},
        {appMenu, kHICommandPreferences, "Ctrl+,"}, {appMenu, kHICommandQuit, "Ctrl+Q"},
        {editMenu, kHICommandUndo, "Ctrl+Z"},       {editMenu, kHICommandCut, "Ctrl+X"},
        {editMenu, kHICommandCopy, "Ctrl+C"},       {editMenu, kHICommandPaste, "Ctrl+V"},
        {editMenu, kHICommandSelectAll, "Ctrl+A"},
    };
    for (const auto &[menu, command, expected] : cases)
        EXPECT_EQ(keys(menu, command), portable(expected)) << expected;
}

// Every row of the enabling table, with one document and with ten (New
// disabled): a fresh document, a computed one, the preferences, about and
// facts windows in front, a save-changes sheet; then, with room again, no
// window (as with a global menu bar, where the application stays up).
TEST(Menus, RowsForEachFrontWindow)
{
    const struct {
        char command[5];
        WindowRef (*window)();
    } auxiliaries[] = {
        {"pref", BGetPrefWindowRef}, {"abou", BGetAboutWindowRef}, {"fact", QRLGetFactsWindowRef}};
    StartApplication();
    for (int documents : {1, 10}) {
        SCOPED_TRACE(std::to_string(documents) + " documents");
        while (BGetNumberOfDocuments() < documents)
            SendCommand("new ");
        const bool room = documents < 10;
        WindowRef document = FrontWindow();
        ASSERT_TRUE(BIsDocumentWindow(document));
        ExpectRow({room, true, false, false, false, true, true});
        Compute();
        ExpectRow({room, true, true, true, false, true, true});
        for (const auto &c : auxiliaries) {
            SCOPED_TRACE(c.command);
            SendCommand(c.command);
            ASSERT_EQ(FrontWindow(), c.window());
            ExpectRow({room, true, false, false, false, false, false});
        }
        SelectWindow(document);
        SendCommand("clos");
        ASSERT_EQ(GetPendingNavDialogs().size(), 1u);
        WindowClass windowClass = 0;
        ASSERT_NE(FrontWindow(), nullptr);
        GetWindowClass(FrontWindow(), &windowClass);
        ASSERT_EQ(windowClass, kSheetWindowClass);
        ExpectRow({room, false, false, false, false, false, false});
        NavTestAnswer(GetPendingNavDialogs()[0].dialog, kNavUserActionCancel);
    }
    // New then does nothing, by menu or by command.
    EXPECT_EQ(SendCommand("new "), eventNotHandledErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 10);
    EXPECT_TRUE(AlertMessages().empty());
    // Closing a clean one makes room again; the computed document comes to the front.
    SelectWindow(DocumentWindow(1));
    SendCommand("clos");
    ASSERT_EQ(BGetNumberOfDocuments(), 9);
    ASSERT_EQ(FrontWindow(), DocumentWindow(8));
    ExpectRow({true, true, true, true, false, true, true});
    for (int i = 0; i < 9; ++i)
        HideWindow(DocumentWindow(i));
    for (const auto &c : auxiliaries)
        HideWindow(c.window());
    ASSERT_EQ(FrontWindow(), nullptr);
    ExpectRow({true, false, false, false, false, false, false});
}

TEST(Menus, OtherWindowInFrontLeavesEverythingAsItWas)
{
    StartApplication();
    for (int documents : {1, 10}) {
        while (BGetNumberOfDocuments() < documents)
            SendCommand("new ");
        SendMenuPopulateEvent();
        const std::array<bool, 12> before = Snapshot();
        bool ran = false;
        RunTableWindow([&](WindowRef window) {
            ran = true;
            ASSERT_EQ(FrontWindow(), window);
            SendMenuPopulateEvent();
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
    WindowRef dirty = DocumentWindow(0);
    Compute();
    EXPECT_EQ(SendCommand("new "), noErr);
    WindowRef clean = DocumentWindow(1);
    ASSERT_NE(clean, nullptr);
    EXPECT_EQ(FrontWindow(), clean);
    EXPECT_TRUE(IsWindowVisible(clean));
    EXPECT_EQ(GetWTitle(clean), "Untitled 2");
    EXPECT_EQ(TextAt(clean, 140, 150), "-");
    EXPECT_FALSE(Enabled(fileMenu, 5));
    SelectWindow(dirty);
    EXPECT_TRUE(Enabled(fileMenu, 5));
    SelectWindow(clean);
    EXPECT_FALSE(Enabled(fileMenu, 5));
    SendCommand("new ");
    EXPECT_EQ(GetWTitle(DocumentWindow(2)), "Untitled 3");
    EXPECT_EQ(SendCommand("clos"), noErr);
    EXPECT_EQ(SendCommand("clos"), noErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_FALSE(BIsDocumentWindow(clean));
    EXPECT_EQ(FrontWindow(), dirty);
    SendCommand("pref");
    EXPECT_FALSE(Enabled(funcMenu, 1));
}

namespace
{

OSStatus menuHandlerResult = noErr;

// Installed after the menu handler, so it sees each command first: it asks
// the menu handler directly what it makes of the command, then lets the
// command go on its way.
OSStatus AskTheMenuHandler(EventHandlerCallRef, EventRef event, void *)
{
    menuHandlerResult = QRLMainMenuEventHandler(nullptr, event, nullptr);
    return eventNotHandledErr;
}

} // namespace

TEST(Menus, UnknownAndPlatformCommands)
{
    StartApplication();
    static const EventTypeSpec commandEvents[] = {{kEventClassCommand, kEventCommandProcess}};
    ASSERT_EQ(InstallEventHandler(GetApplicationEventTarget(), AskTheMenuHandler, 1, commandEvents, nullptr,
                                  nullptr),
              noErr);
    // An unknown command is reported unhandled, by the menu handler and in the end.
    EXPECT_EQ(SendCommand("zzzz"), eventNotHandledErr);
    EXPECT_EQ(menuHandlerResult, eventNotHandledErr);
    EXPECT_EQ(SendCommand("QRL?"), eventNotHandledErr);
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
    EXPECT_TRUE(AlertMessages().empty());
    // The menu handler takes Preferences and Quit itself; Quit ends the
    // process there (nothing is dirty).
    SendCommand("pref");
    EXPECT_EQ(menuHandlerResult, noErr);
    EXPECT_EQ(FrontWindow(), BGetPrefWindowRef());
    EXPECT_TRUE(EndsProcess([] { SendCommand("quit"); }));
}

// Disabled commands do nothing; facts and about show their windows, and
// Close closes the front one.
TEST(Menus, DisabledCommandsAndAuxiliaryWindows)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(SendCommand("save"), eventNotHandledErr);
    EXPECT_EQ(SendCommand("svas"), eventNotHandledErr);
    EXPECT_EQ(SendCommand("rvrt"), eventNotHandledErr);
    EXPECT_TRUE(GetPendingNavDialogs().empty());
    EXPECT_EQ(BIsDocumentDirty(window), 0);

    EXPECT_EQ(SendCommand("fact"), noErr);
    ASSERT_EQ(FrontWindow(), QRLGetFactsWindowRef());
    bool opened = false;
    SetModalScript([&](WindowRef) { opened = true; });
    EXPECT_EQ(SendCommand("qorl"), eventNotHandledErr);
    SetModalScript(nullptr);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
    EXPECT_EQ(TextAt(window, 140, 150), "-");
    EXPECT_EQ(SendCommand("abou"), noErr);
    EXPECT_EQ(FrontWindow(), BGetAboutWindowRef());
    SendCommand("clos");
    EXPECT_EQ(FrontWindow(), QRLGetFactsWindowRef());
    EXPECT_EQ(BGetNumberOfDocuments(), 1);
}
