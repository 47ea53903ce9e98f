#include "app/windowmodule.h"

#include "app/aboutwindow.h"
#include "app/factswindow.h"
#include "app/helpwindow.h"
#include "app/prefwindow.h"
#include "document/mainwindow.h"
#include "platform/quickdraw.h"

WindowRef BBuildAuxiliaryWindow(const std::string &nibName, const std::string &windowName,
                                EventHandlerUPP handler, int numTypes, const EventTypeSpec *eventTypes)
{
    WindowRef window = BLoadWindowWithHandler(nibName, windowName, handler, numTypes, eventTypes);
    if (!window)
        return nullptr;
    WindowAttributes attributes = 0;
    GetWindowAttributes(window, &attributes);
    ChangeWindowAttributes(window, attributes, kWindowInWindowMenuAttribute);
    return window;
}

void BShowAuxiliaryWindow(WindowRef window)
{
    GrafPtr originalPort;
    GetPort(&originalPort);
    ShowHide(window, true);
    SelectWindow(window);
    SetPortWindowPort(window);
    SetPort(originalPort);
}

void BHideAndSelectFront(WindowRef window)
{
    ShowHide(window, false);
    SelectWindow(FrontWindow());
}

Boolean BIsAuxiliaryWindow(WindowRef window)
{
    return BIsPrefWindow(window) || BIsAboutWindow(window) || QRLIsFactsWindow(window) ||
           BIsHelpWindow(window);
}
