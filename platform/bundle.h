// Resources and information keys, built into the program or, for tests, read from a folder.
#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace platform
{

// The value of an information key ("CFBundleName"); empty when missing.
QString infoValue(const char *key);
// The help page in the user's language, else the English one, else empty.
QString helpPage();

// The program's facts from the information keys. Without a bundle the name
// and command are the executable's, and there is no document type.
std::string bundleName();
// The executable's name in lower case, the stem of the program's files.
std::string commandName();
// The bundle identifier, which names the preferences and desktop files.
std::string preferencesDomain();
// Four characters in one number, the first in the most significant byte.
std::uint32_t documentCreator();
std::uint32_t documentType();
// Without the point.
std::string documentExtension();

// Empty means the resources built into the program.
void setBundleRoot(const std::string &folder);
std::string bundleRoot();

} // namespace platform
