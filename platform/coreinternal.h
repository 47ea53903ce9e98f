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

} // namespace platform
