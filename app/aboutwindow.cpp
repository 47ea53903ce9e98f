// The about box window: built on first request, hidden when closed, and
// redrawn whenever it is shown.
#include "app/aboutwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "files/file.h"
#include "platform/bundle.h"
#include "platform/forms.h"
#include "ui_aboutwindow.h"

#include <QCoreApplication>
#include <QDialog>

namespace
{

WindowRef aboutWindow = nullptr;
std::int32_t existAboutWindow = 0;

} // namespace

std::string BCopyInfoString()
{
    const QByteArray text = platform::infoValue("CFBundleGetInfoString").toUtf8();
    // The information string's translations are in the context "Info".
    return !text.isEmpty() ? QCoreApplication::translate("Info", text.constData()).toStdString()
                           : QCoreApplication::translate("Program", "Nameless Application").toStdString();
}

void BShowWindowInFront(WindowRef window)
{
    ShowWindow(window);
    SelectWindow(window);
}

void BInitAboutWindow()
{
    static const EventTypeSpec aboutSpec[] = {{kEventClassWindow, kEventWindowShown}};
    auto *form = new AuxiliaryWindow<Ui::AboutWindow>;
    aboutWindow = form->window =
        BLoadWindowWithHandler(form, "Window", BAboutWindowEventHandler, 1, aboutSpec);
    existAboutWindow = aboutWindow ? 1 : 0;
}

OSStatus BAboutWindowEventHandler(EventHandlerCallRef, EventRef event, void *userData)
{
    if (GetEventKind(event) != kEventWindowShown)
        return eventNotHandledErr;
    BAboutBoxCommandHandler(static_cast<WindowRef>(userData));
    return noErr;
}

WindowRef BGetAboutWindowRef()
{
    if (!existAboutWindow)
        BInitAboutWindow();
    return aboutWindow;
}

short BIsAboutWindow(WindowRef theWindow)
{
    return theWindow && theWindow == aboutWindow ? 1 : 0;
}
