// The command line's application object: Qt Core only, so that a run that
// prints a table loads none of the window system's libraries.
#include "coreapplication.h"

#include <QCoreApplication>

void PlatformInitializeWithoutDisplay(int &argc, char **argv)
{
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // never destroyed, as the GUI's
    QCoreApplication::setApplicationName(QStringLiteral("Quorlscope"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorlscope"));
}
