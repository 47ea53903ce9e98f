// The menu bar: built from its form, kept in step with the front
// window and the documents, and the dispatch of every menu command.
#include "app/mainmenu.h"

#include "app/aboutwindow.h"
#include "app/applevent.h"
#include "app/factswindow.h"
#include "app/helpwindow.h"
#include "app/prefwindow.h"
#include "app/tablewindow.h"
#include "document/document.h"
#include "files/export.h"
#include "files/file.h"
#include "files/navigation.h"
#include "platform/alerts.h"
#include "platform/forms.h"
#include "platform/process.h"
#include "platform/window.h"
#include "print/printing.h"
#include "ui_menubar.h"

#include <QMainWindow>

namespace
{

// Item positions in the File, Edit and Table menus (separators count).
enum : MenuItemIndex {
    kNewItem = 1,
    kOpenItem = 2,
    kCloseItem = 4,
    kSaveItem = 5,
    kSaveAsItem = 6,
    kRevertItem = 7,
    kPageSetupItem = 9,
    kPrintItem = 10,
    kExportItem = 11,
    kCopyItem = 4,
    kComputeItem = 1,
    kFactsItem = 3,
    kAboutItem = 1,
};

[[noreturn]] void alertAndExit(const char *message)
{
    showAlert(message, "Please reinstall Your Application");
    ExitToShell();
}

void setItem(MenuRef menu, MenuItemIndex item, bool enabled)
{
    if (enabled)
        EnableMenuItem(menu, item);
    else
        DisableMenuItem(menu, item);
}

struct Menus {
    MenuRef app, file, edit, func;
};

void setNewAndOpen(const Menus &menus)
{
    const bool room = BGetNumberOfDocuments() != kMaxNumberOfDocuments;
    setItem(menus.file, kNewItem, room);
    setItem(menus.file, kOpenItem, room);
}

// The rows of the enabling table: what each kind of front window allows.
void setDocumentItems(const Menus &menus, bool close, tDocumentPtr document)
{
    const bool isDocument = document != nullptr;
    setItem(menus.file, kCloseItem, close);
    setItem(menus.file, kSaveItem, isDocument && document->dirty && !document->fileLocked);
    setItem(menus.file, kSaveAsItem, isDocument && QRLIsDataValid(document->dataPtr));
    setItem(menus.file, kRevertItem, isDocument && document->dirty && !document->filePath.empty());
    setItem(menus.file, kPageSetupItem, isDocument);
    setItem(menus.file, kPrintItem, isDocument);
    setItem(menus.file, kExportItem, isDocument);
    // Copy takes the table; other windows copy from their text fields.
    setItem(menus.edit, kCopyItem, isDocument && QRLIsDataValid(document->dataPtr));
    setItem(menus.func, kComputeItem, isDocument);
    EnableMenuItem(menus.func, kFactsItem);
    EnableMenuItem(menus.app, kAboutItem);
}

void dispatchNew()
{
    if (tDocumentPtr document = BInitDocument())
        ShowWindow(BGetDocumentsWindowPtr(document));
}

OSStatus dispatchCommand(std::uint32_t commandID)
{
    switch (commandID) {
    case FOUR_CHAR_CODE("abou"):
        BAboutBoxCommandHandler(BGetAboutWindowRef());
        return noErr;
    case FOUR_CHAR_CODE("new "):
        dispatchNew();
        return noErr;
    case FOUR_CHAR_CODE("open"):
        BDoCreateOpenPanel();
        return noErr;
    case FOUR_CHAR_CODE("save"):
        BDoSaveDocument(BGetDocumentWindowsDocPtr(FrontWindow()));
        return noErr;
    case FOUR_CHAR_CODE("svas"):
        BDoCreateSavePanel(BGetDocumentWindowsDocPtr(FrontWindow()));
        return noErr;
    case FOUR_CHAR_CODE("rvrt"):
        BDoCreateRevertPanel(BGetDocumentWindowsDocPtr(FrontWindow()));
        return noErr;
    case FOUR_CHAR_CODE("page"):
        BDoPageSetup(FrontWindow());
        return noErr;
    case FOUR_CHAR_CODE("prnt"):
        BDoPrint(FrontWindow());
        return noErr;
    case FOUR_CHAR_CODE("expt"):
        BDoCreateExportPanel(BGetDocumentWindowsDocPtr(FrontWindow()));
        return noErr;
    case kHICommandCopy:
        // With a document window in front the table is copied; elsewhere
        // the platform copies from the text field that has the focus.
        if (!BIsDocumentWindow(FrontWindow()))
            return eventNotHandledErr;
        QRLCopyTable(BGetDocumentWindowsDocPtr(FrontWindow()));
        return noErr;
    case FOUR_CHAR_CODE("qorl"):
        QRLComputeTableCommandHandler(FrontWindow());
        return noErr;
    case FOUR_CHAR_CODE("fact"):
        QRLDepthFactsCommandHandler(QRLGetFactsWindowRef());
        return noErr;
    case kHICommandAppHelp:
        BHelpCommandHandler(BGetHelpWindowRef());
        return noErr;
    case kHICommandPreferences:
        if (WindowRef window = BGetPrefWindowRef())
            BPreferencesCommandHandler(window);
        return noErr;
    case kHICommandQuit:
        BHandleQuitApplication();
        return noErr;
    default:
        return eventNotHandledErr;
    }
}

} // namespace

bool BIsAuxiliaryWindow(WindowRef window)
{
    return BIsPrefWindow(window) || BIsAboutWindow(window) || QRLIsFactsWindow(window) ||
           BIsHelpWindow(window);
}

void QRLInitMainMenu()
{
    static const EventTypeSpec menuEvents[] = {{kEventClassMenu, kEventMenuPopulate},
                                               {kEventClassCommand, kEventCommandProcess}};
    OSStatus status = InstallEventHandler(GetApplicationEventTarget(), QRLMainMenuEventHandler, 2, menuEvents,
                                          nullptr, nullptr);
    if (status != noErr)
        alertAndExit("Could not load Resource");
    auto *holder = new FormWindow<QMainWindow, Ui::MenuBar>;
    platform::installMenuBar(holder, holder->ui.menuBar);
}

void QRLAdjustMenus()
{
    const Menus menus{GetMenuHandle(appMenu), GetMenuHandle(fileMenu), GetMenuHandle(editMenu),
                      GetMenuHandle(funcMenu)};
    if (!menus.app || !menus.file || !menus.edit || !menus.func)
        alertAndExit("Could not load Menus");
    WindowRef front = FrontWindow();
    WindowClass windowClass = kSheetWindowClass; // a class that cannot be read counts as a sheet
    if (front)
        GetWindowClass(front, &windowClass);

    if (!front) {
        setNewAndOpen(menus);
        setDocumentItems(menus, false, nullptr);
    } else if (BIsAuxiliaryWindow(front)) {
        setNewAndOpen(menus);
        setDocumentItems(menus, true, nullptr);
    } else if (BIsDocumentWindow(front)) {
        setNewAndOpen(menus);
        setDocumentItems(menus, true, BGetDocumentWindowsDocPtr(front));
    } else if (windowClass == kSheetWindowClass) {
        setNewAndOpen(menus);
        setDocumentItems(menus, false, nullptr);
    } else {
        // Any other window (the table parameters window) leaves the items as
        // they were, but for Copy, which copies from its text fields.
        EnableMenuItem(menus.edit, kCopyItem);
    }
}

OSStatus QRLMainMenuEventHandler(EventHandlerCallRef, EventRef event, void *)
{
    QRLAdjustMenus();
    if (GetEventClass(event) == kEventClassMenu)
        return eventNotHandledErr;
    HICommand command;
    if (GetEventCommand(event, &command) != noErr)
        return eventNotHandledErr;
    return dispatchCommand(command.commandID);
}
