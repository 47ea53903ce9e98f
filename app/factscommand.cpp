// Showing the facts window, expanding it when it was collapsed.
#include "app/factswindow.h"

#include <QWidget>

void QRLDepthFactsCommandHandler(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    platform::selectWindow(window);
}
