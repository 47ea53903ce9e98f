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
    static const EventTypeSpec factsSpec[] = {{kEventClassWindow, kEventWindowClose}};
    factsWindow = BLoadWindowWithHandler(new FormWindow<QDialog, Ui::FactsWindow>, "Window",
                                         QRLFactsWindowEventHandler, 1, factsSpec);
    factsWindowExist = factsWindow ? 1 : 0;
}

OSStatus QRLFactsWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    if (GetEventKind(event) != kEventWindowClose)
        return eventNotHandledErr;
    BHideAndSelectFront(static_cast<WindowRef>(userData));
    return noErr;
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
