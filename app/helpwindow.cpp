// The help window: the help book in a browser of its own.
#include "app/windowmodule.h"
#include "platform/alerts.h"
#include "platform/bundle.h"
#include "ui_helpwindow.h"

#include <QTextBrowser>
#include <QUrl>

using Help = Auxiliary<AuxiliaryWindow<Ui::HelpWindow>>;

QWidget *BGetHelpWindowRef()
{
    return Help::ref();
}

bool BIsHelpWindow(QWidget *theWindow)
{
    return theWindow && theWindow == Help::window;
}

void BHelpCommandHandler()
{
    QWidget *window = BGetHelpWindowRef();
    if (!window->isVisible()) {
        const QString path = platform::helpPage();
        if (path.isEmpty()) {
            showAlert("Could not load Resource", "Please reinstall Your Application");
            return;
        }
        // A bundle path (":/bundle/...") is a resource, anything else a file.
        Help::window->ui.helpText->setSource(path.startsWith(QLatin1Char(':'))
                                                 ? QUrl(QStringLiteral("qrc") + path)
                                                 : QUrl::fromLocalFile(path));
    }
    BShowAuxiliaryWindow(window);
}
