// Files by path: type and creator, reading without blocking, file identity.
#pragma once

#include "atomicsave.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform
{

// Four characters each in one number, first in the top byte; 0 when none.
struct FileCodes {
    std::uint32_t type = 0;
    std::uint32_t creator = 0;
};

// The path with its folder made absolute and free of links; nothing when no such file.
std::optional<std::string> existingPath(const std::string &path);
// From the attributes "user.type" and "user.creator", else the document's when the name has
// its extension (any case). Nothing when path is not a plain file.
std::optional<FileCodes> fileCodes(const std::string &path);
// The file's type, 0 when it has none or is not a plain file.
std::uint32_t fileType(const std::string &path);
// The document extension for the document type, else empty.
std::string typeExtension(std::uint32_t type);

// Reads up to maxBytes into bytes (when given); opened without blocking, so a FIFO is not a file.
FileError readFileStart(const std::string &path, qsizetype maxBytes, QByteArray *bytes);
// Reading fails with EIO while set.
void setReadFaultForTesting(bool fail);
// Both paths name the same file (device and inode).
bool isSameFile(const std::string &path, const std::string &other);

} // namespace platform
