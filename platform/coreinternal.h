// What the platform's Qt Core files share. Program modules never include it.
#pragma once

#include <QStringList>

namespace platform
{

// The user's languages, most preferred first, as bundle folders ("de_DE", "de").
QStringList preferredLanguages();
// Application and organization take the bundle's name: Qt's folders are <name>/<name>.
void nameApplication();
// A command's application object gets the program's name alone: its other
// arguments are file names, never Qt's options (-platform, -reverse ...).
struct CommandArguments {
    int argc = 1;
    char *argv[2] = {nullptr, nullptr};
};
CommandArguments &commandArguments(const char *programName);

} // namespace platform
