// The command line's start: a UTF-8 character type whatever the environment,
// and an application object of Qt Core only, so that a run that prints a
// table loads none of the window system's libraries.
#include "coreapplication.h"

#include "bundle.h"
#include "coreinternal.h"

#include <QCoreApplication>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>

void platform::chooseUTF8CharacterType()
{
    // The C library's own locale is left as the program got it.
    const bool utf8 = std::setlocale(LC_CTYPE, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, "C");
    if (utf8)
        return;
    if (const char *all = std::getenv("LC_ALL"); all && *all) {
        for (const char *category :
             {"LC_COLLATE", "LC_MESSAGES", "LC_MONETARY", "LC_NUMERIC", "LC_TIME", "LC_PAPER", "LC_NAME",
              "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"})
            setenv(category, all, 1);
        unsetenv("LC_ALL");
    }
    setenv("LC_CTYPE", "C.UTF-8", 1);
}

void platform::startCoreApplication(const char *programName)
{
    CommandArguments &arguments = commandArguments(programName);
    if (!QCoreApplication::instance())
        new QCoreApplication(arguments.argc, arguments.argv); // never destroyed
    nameApplication();
}

platform::CommandArguments &platform::commandArguments(const char *programName)
{
    static char name[] = "quorlscope";
    static CommandArguments arguments; // lives as long as the process
    arguments.argv[0] = programName ? const_cast<char *>(programName) : name;
    return arguments;
}

void platform::nameApplication()
{
    const QString name = QString::fromStdString(platform::bundleName());
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setOrganizationName(name);
}
