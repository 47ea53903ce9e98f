// Showing the preferences window.
#include "app/prefwindow.h"
#include "app/windowmodule.h"

void BPreferencesCommandHandler(QWidget *window)
{
    if (window)
        BShowAuxiliaryWindow(window);
}
