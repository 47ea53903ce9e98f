// The application bundle: icons, pictures, the information keys and the
// help book. Embedded in the program by default; tests can point it at a
// folder.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>

namespace platform
{

// The value of an information key ("CFBundleName"); empty when the bundle
// lacks it.
QString infoValue(const char *key);
// The help page in the user's language when the bundle has it, else the
// English one; empty when the bundle has neither.
QString helpPage();

// Reads a whole bundle file by its path relative to the bundle root.
std::optional<std::string> readBundleFile(const std::string &relativePath);

// The program's facts, from the information keys. Without a bundle (a test
// of a library alone) the name and command are the executable's, and the
// program has no document type.
// The program's name ("CFBundleName").
std::string bundleName();
// The program's command, and the stem of its files: the executable's name
// in lower case ("CFBundleExecutable").
std::string commandName();
// The preferences domain: the bundle identifier, reverse DNS
// ("CFBundleIdentifier"), which also names the desktop's files.
std::string preferencesDomain();
// The creator code of the program's documents ("CFBundleSignature") and the
// type code of its document type (the first of "CFBundleDocumentTypes"):
// four characters in one number, the first in the most significant byte.
std::uint32_t documentCreator();
std::uint32_t documentType();
// The document type's file name extension, without the point.
std::string documentExtension();

// Where the bundle is read from: empty means the resources built into the program.
void setBundleRoot(const std::string &folder);
std::string bundleRoot();

} // namespace platform
