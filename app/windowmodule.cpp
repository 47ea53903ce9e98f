#include "app/windowmodule.h"

#include "app/aboutwindow.h"
#include "app/factswindow.h"
#include "app/helpwindow.h"
#include "app/prefwindow.h"
#include "document/mainwindow.h"
#include "platform/quickdraw.h"

void BShowAuxiliaryWindow(WindowRef window)
{
    GrafPtr originalPort;
    GetPort(&originalPort);
    ShowHide(window, true);
    SelectWindow(window);
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
