// Showing the facts window, expanding it when it was collapsed.
#include "app/factswindow.h"
#include "platform/quickdraw.h"

void QRLDepthFactsCommandHandler(WindowRef window)
{
    if (!window)
        return;
    GrafPtr originalPort;
    GetPort(&originalPort);
    if (IsWindowCollapsed(window))
        CollapseWindow(window, false);
    else
        ShowHide(window, true);
    SelectWindow(window);
    SetPort(originalPort);
}
