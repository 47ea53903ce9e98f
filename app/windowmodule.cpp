#include "app/windowmodule.h"

void BShowAuxiliaryWindow(WindowRef window)
{
    ShowHide(window, true);
    SelectWindow(window);
}

void BHideAndSelectFront(WindowRef window)
{
    ShowHide(window, false);
    SelectWindow(FrontWindow());
}
