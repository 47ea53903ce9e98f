// The facts window: its whole content comes from its form.
#include "app/windowmodule.h"
#include "ui_factswindow.h"

using Facts = Auxiliary<AuxiliaryWindow<Ui::FactsWindow>>;

QWidget *QRLGetFactsWindowRef()
{
    return Facts::ref();
}

void QRLDepthFactsCommandHandler()
{
    QWidget *window = QRLGetFactsWindowRef();
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    platform::selectWindow(window);
}
