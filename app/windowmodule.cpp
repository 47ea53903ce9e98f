// Showing and hiding the auxiliary windows.
#include "app/windowmodule.h"

void BShowAuxiliaryWindow(QWidget *window)
{
    window->show();
    platform::selectWindow(window);
}

void BHideAndSelectFront(QWidget *window)
{
    window->hide();
    platform::selectWindow(platform::frontWindow());
}
