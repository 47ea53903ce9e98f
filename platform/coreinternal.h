// What the platform's files that need only Qt Core share. Program modules
// never include it.
#pragma once

#include <QStringList>

namespace platform
{

// The user's languages, most preferred first, as folder names of the bundle
// ("de_DE", "de").
QStringList preferredLanguages();
// The application takes its name from the bundle (the alerts' titles show
// it); the organization has the same name, so that Qt's own folders for the
// program are <name>/<name>, as the preference file's.
void nameApplication();
// The arguments a command's application object is made with: the program's
// name alone. Qt reads options from its arguments (-platform, -reverse,
// -platformpluginpath ...), and a command's arguments are the user's file
// names, never Qt's options. The storage lives as long as the process.
int &commandArgc(const char *programName);
char **commandArgv();

} // namespace platform
