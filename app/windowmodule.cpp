#include "app/windowmodule.h"

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
