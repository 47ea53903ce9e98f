// The help window, built on first request from its form and
// hidden rather than closed, like the other auxiliary windows.
#include "app/helpwindow.h"

#include "app/windowmodule.h"
#include "document/document.h"
#include "platform/alerts.h"
#include "platform/bundle.h"
#include "platform/forms.h"
#include "ui_helpwindow.h"

#include <QDialog>
#include <QTextBrowser>
#include <QUrl>

namespace
{

using HelpForm = AuxiliaryWindow<Ui::HelpWindow>;
HelpForm *helpForm = nullptr;
QWidget *helpWindow = nullptr;
std::int32_t helpWindowExist = 0;

} // namespace

void BInitHelpWindow()
{
    helpForm = new HelpForm;
    BLoadWindow(helpForm, "Window");
    helpWindow = helpForm;
    helpWindowExist = 1;
}

QWidget *BGetHelpWindowRef()
{
    if (!helpWindowExist)
        BInitHelpWindow();
    return helpWindow;
}

bool BIsHelpWindow(QWidget *theWindow)
{
    return theWindow && theWindow == helpWindow;
}

void BHelpCommandHandler(QWidget *window)
{
    if (!window)
        return;
    if (!window->isVisible()) {
        const std::string book = platform::helpPage().toStdString();
        if (book.empty() || window != helpWindow) {
            showAlert("Could not load Resource", "Please reinstall Your Application");
            return;
        }
        // A bundle path (":/bundle/...") is a resource, anything else a file.
        const QString path = QString::fromStdString(book);
        helpForm->ui.helpText->setSource(path.startsWith(QLatin1Char(':'))
                                             ? QUrl(QStringLiteral("qrc") + path)
                                             : QUrl::fromLocalFile(path));
    }
    BShowAuxiliaryWindow(window);
}
