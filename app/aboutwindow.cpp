// The about box window: built on first request, hidden when closed, and
// redrawn whenever it is shown.
#include "app/aboutwindow.h"

#include "app/windowmodule.h"
#include "document/mainwindow.h"
#include "files/file.h"
#include "platform/bundle.h"
#include "platform/forms.h"

#include <QCoreApplication>

namespace
{

QWidget *aboutWindow = nullptr;
std::int32_t existAboutWindow = 0;

} // namespace

std::string BCopyInfoString()
{
    const QByteArray text = platform::infoValue("CFBundleGetInfoString").toUtf8();
    // The information string's translations are in the context "Info".
    return !text.isEmpty() ? QCoreApplication::translate("Info", text.constData()).toStdString()
                           : QCoreApplication::translate("Program", "Nameless Application").toStdString();
}

void BShowWindowInFront(QWidget *window)
{
    window->show();
    platform::selectWindow(window);
}

void BInitAboutWindow()
{
    aboutWindow = BLoadAboutBox();
    existAboutWindow = aboutWindow ? 1 : 0;
}

QWidget *BGetAboutWindowRef()
{
    if (!existAboutWindow)
        BInitAboutWindow();
    return aboutWindow;
}

short BIsAboutWindow(QWidget *theWindow)
{
    return theWindow && theWindow == aboutWindow ? 1 : 0;
}
