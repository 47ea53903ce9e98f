// The application bundle: icons, pictures, the information keys and the
// help book. Embedded in the program by
// default; tests can point it at a folder.
#pragma once

#include "types.h"

#include <QString>
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

} // namespace platform

// Reads a whole bundle file by its path relative to the bundle root.
std::optional<std::string> ReadBundleFile(const std::string &relativePath);

// The program's facts, from the information keys. Without a bundle (a test
// of a library alone) the name and command are the executable's, and the
// program has no document type.
// The program's name ("CFBundleName").
std::string GetBundleName();
// The program's command, and the stem of its files: the executable's name
// in lower case ("CFBundleExecutable").
std::string GetBundleCommandName();
// The preferences domain: the bundle identifier, reverse DNS
// ("CFBundleIdentifier"), which also names the desktop's files.
std::string GetBundlePreferencesDomain();
// The creator code of the program's documents ("CFBundleSignature").
OSType GetBundleSignature();
// The type code and the file name extension (without the point) of the
// program's document type, the first of "CFBundleDocumentTypes".
OSType GetBundleDocumentType();
std::string GetBundleDocumentExtension();

// Where the bundle is read from: empty means the resources built into the program.
void SetBundleRoot(const std::string &folder);
std::string GetBundleRoot();
