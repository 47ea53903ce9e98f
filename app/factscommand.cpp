// Showing the facts window, expanding it when it was collapsed.
#include "app/factswindow.h"

void QRLDepthFactsCommandHandler(WindowRef window)
{
    if (!window)
        return;
    if (IsWindowCollapsed(window))
        CollapseWindow(window, false);
    else
        ShowHide(window, true);
    SelectWindow(window);
}
