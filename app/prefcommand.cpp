// Showing the preferences window.
#include "app/prefwindow.h"
#include "app/windowmodule.h"

void BPreferencesCommandHandler(WindowRef window)
{
    if (window)
        BShowAuxiliaryWindow(window);
}
