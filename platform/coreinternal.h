// What the platform's files that need only Qt Core share. Program modules
// never include it.
#pragma once

#include <QStringList>

namespace platform
{

// The user's languages, most preferred first, as folder names of the bundle
// ("de_DE", "de").
QStringList preferredLanguages();

} // namespace platform
