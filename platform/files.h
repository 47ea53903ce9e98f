// Files by path: a file's type and creator, kept as extended attributes or
// told by the name extension; reading a file without blocking; the same
// file however it is reached.
#pragma once

#include "atomicsave.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform
{

// A file's type and creator: four characters each in one number, the first
// in the most significant byte; 0 when the file has none.
struct FileCodes {
    std::uint32_t type = 0;
    std::uint32_t creator = 0;
};

// The path with its folder made absolute and free of links, the file's own
// name kept; nothing when the folder or the file does not exist.
std::optional<std::string> existingPath(const std::string &path);
// Type and creator of the plain file at path: the extended attributes
// "user.type" and "user.creator" where the file system keeps them; lacking
// the type attribute, a name ending in the bundle's document extension (any
// case) reports the bundle's document type and creator. Nothing when path
// is not a plain file.
std::optional<FileCodes> fileCodes(const std::string &path);
// The file's type, 0 when it has none or is not a plain file.
std::uint32_t fileType(const std::string &path);
// The name extension that marks files of this type, without the dot: the
// bundle's document extension for its document type; empty for any other.
std::string typeExtension(std::uint32_t type);

// Reads up to maxBytes from the start of the file at path into bytes (when
// given). Opened without blocking, so that a FIFO or a device is reported as
// not a file instead of waiting for a writer.
FileError readFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes);
// Reading fails with EIO while set.
void setReadFaultForTesting(bool fail);
// Both paths name the same file (device and inode), however it is reached.
bool isSameFile(const std::string &path, const std::string &other);

} // namespace platform
