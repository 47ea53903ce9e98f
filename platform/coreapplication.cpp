// The command line's application object: Qt Core only, so that a run that
// prints a table loads none of the window system's libraries.
#include "coreapplication.h"

#include "bundle.h"
#include "coreinternal.h"

#include <QCoreApplication>

namespace
{

int argc = 0;
char *argv[2] = {nullptr, nullptr};

} // namespace

namespace platform
{

void startCoreApplication(const char *programName)
{
    if (!QCoreApplication::instance())
        new QCoreApplication(commandArgc(programName), commandArgv()); // never destroyed
    nameApplication();
}

int &commandArgc(const char *programName)
{
    static char name[] = "quorlscope";
    argv[0] = programName ? const_cast<char *>(programName) : name;
    argc = 1;
    return argc;
}

char **commandArgv()
{
    return argv;
}

void nameApplication()
{
    const QString name = QString::fromStdString(platform::bundleName());
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setOrganizationName(name);
}

} // namespace platform
