// The facts window: its whole content comes from its form; the
// program only shows and hides it.
#include "app/factswindow.h"

#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/forms.h"
#include "ui_factswindow.h"

#include <QDialog>

namespace
{

QWidget *factsWindow = nullptr;
std::int32_t factsWindowExist = 0;

} // namespace

void QRLInitFactsWindow()
{
    auto *form = new AuxiliaryWindow<Ui::FactsWindow>;
    BLoadWindow(form, "Window");
    factsWindow = form;
    factsWindowExist = factsWindow ? 1 : 0;
}

QWidget *QRLGetFactsWindowRef()
{
    if (!factsWindowExist)
        QRLInitFactsWindow();
    return factsWindow;
}

bool QRLIsFactsWindow(QWidget *theWindow)
{
    return theWindow && theWindow == factsWindow;
}
