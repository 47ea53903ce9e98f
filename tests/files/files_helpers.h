// What the document-file tests share: an encoding of the file layout written
// out field by field, file contents, and the dialogs that are up.
#pragma once

#include "document/document.h"
#include "model/data.h"
#include "platform/navtesting.h"
#include "tests/support/app_driver.h"

#include <cstring>
#include <dirent.h>
#include <endian.h>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace filetest
{

using Bytes = std::vector<std::uint8_t>;

inline void putInt(Bytes &b, std::size_t offset, std::int32_t value)
{
    const std::uint32_t big = htobe32(std::uint32_t(value));
    std::memcpy(b.data() + offset, &big, 4);
}

inline void putDouble(Bytes &b, std::size_t offset, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, 8);
    const std::uint64_t big = htobe64(bits);
    std::memcpy(b.data() + offset, &big, 8);
}

// The layout table, one field at a time; fill bytes zero.
inline Bytes layout(const tData &d)
{
    Bytes b(280, 0);
    b[0] = d.valid ? 1 : 0;
    putInt(b, 4, d.distanceUnit);
    putDouble(b, 8, d.argumentList.distance);
    putDouble(b, 16, d.argumentList.focalLength);
    putDouble(b, 24, d.argumentList.unsharpCircleDiameter);
    putInt(b, 32, d.argumentList.cameraType);
    for (std::size_t i = 0; i < 10; ++i) {
        putDouble(b, 40 + 24 * i, d.table[i].aperture);
        putDouble(b, 48 + 24 * i, d.table[i].nearDistance);
        putDouble(b, 56 + 24 * i, d.table[i].farDistance);
    }
    return b;
}

inline Bytes readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

inline bool exists(const std::string &path)
{
    std::ifstream in(path);
    return in.good();
}

inline std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *d = opendir(folder.c_str());
    while (dirent *e = readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// The one dialog that is up; a failure when there is not exactly one.
inline PendingNavDialog onlyDialog()
{
    const std::vector<PendingNavDialog> pending = GetPendingNavDialogs();
    EXPECT_EQ(pending.size(), 1u);
    return pending.empty() ? PendingNavDialog{} : pending.front();
}

inline tDocumentPtr documentOf(WindowRef window)
{
    return BGetDocumentWindowsDocPtr(window);
}

// A record made by the model with these arguments, in metres.
inline tData table(double distance, double focalLength)
{
    tData d{};
    QRLCalculateTableInUnit(&d, kDistanceUnitMeters, distance, focalLength, 10e-6, fullFrameDigital);
    return d;
}

// Computes a table in the front document through the table parameters
// window, as the user does.
inline void computeInFront(const std::string &distance, const std::string &focalLength)
{
    qrltest::TableEntry entry;
    entry.distance = distance;
    entry.focalLength = focalLength;
    qrltest::ComputeTable(entry);
}

} // namespace filetest
