// The facts window: its whole content comes from its form; the
// program only shows and hides it.
#include "app/factswindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "platform/forms.h"
#include "ui_factswindow.h"

#include <QDialog>

namespace
{

WindowRef factsWindow = nullptr;
std::int32_t factsWindowExist = 0;

} // namespace

void QRLInitFactsWindow()
{
    auto *form = new AuxiliaryWindow<Ui::FactsWindow>;
    factsWindow = form->window = BLoadWindow(form, "Window");
    factsWindowExist = factsWindow ? 1 : 0;
}

WindowRef QRLGetFactsWindowRef()
{
    if (!factsWindowExist)
        QRLInitFactsWindow();
    return factsWindow;
}

Boolean QRLIsFactsWindow(WindowRef theWindow)
{
    return theWindow && theWindow == factsWindow;
}
