// The help window, built on first request from its interface file and
// hidden rather than closed, like the other auxiliary windows.
#include "app/helpwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "platform/alerts.h"
#include "platform/bundle.h"
#include "platform/controls.h"

namespace
{

WindowRef helpWindow = nullptr;
std::int32_t helpWindowExist = 0;

} // namespace

void BInitHelpWindow()
{
    static const EventTypeSpec helpSpec[] = {{kEventClassWindow, kEventWindowClose}};
    helpWindow = BLoadWindowWithHandler("helpwindow", "Window", BHelpWindowEventHandler, 1, helpSpec);
    helpWindowExist = helpWindow ? 1 : 0;
}

OSStatus BHelpWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    if (GetEventKind(event) != kEventWindowClose)
        return eventNotHandledErr;
    BHideAndSelectFront(static_cast<WindowRef>(userData));
    return noErr;
}

WindowRef BGetHelpWindowRef()
{
    if (!helpWindowExist)
        BInitHelpWindow();
    return helpWindow;
}

Boolean BIsHelpWindow(WindowRef theWindow)
{
    return theWindow && theWindow == helpWindow;
}

void BHelpCommandHandler(WindowRef window)
{
    if (!window)
        return;
    if (!IsWindowVisible(window)) {
        const std::string book = platform::helpPage().toStdString();
        ControlRef browser = nullptr;
        const ControlID browserID{FOUR_CHAR_CODE("help"), 128};
        if (book.empty() || GetControlByID(window, &browserID, &browser) != noErr) {
            StandardAlert(kAlertNoteAlert, "Could not load Resource", "Please reinstall Your Application");
            return;
        }
        SetControlURL(browser, book);
    }
    BShowAuxiliaryWindow(window);
}
