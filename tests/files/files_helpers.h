// What the document-file tests share: the file layout written out field by
// field, file contents, and a started application with a folder.
#pragma once

#include "files/file.h"
#include "platform/forms.h"
#include "platform/testing.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/dialog_driver.h"

#include <algorithm>
#include <cstring>
#include <endian.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sys/xattr.h>

namespace filetest
{

using qrltest::Bytes;
using qrltest::Strings;

constexpr SaveStep kSaveSteps[] = {SaveStep::create, SaveStep::write, SaveStep::flush, SaveStep::rename};
const std::string kLockedAlert = "Could not save the file because the Volume is locked";
const std::string kInUseAlert = "Could not save the File You like to replace, it is in use";

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
    b[0] = d.valid;
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

// A file no program wrote: valid byte 2, unit 7, NaN and infinite arguments,
// camera type 99, far limits NaN and 1e300.
inline Bytes garbageImage()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Bytes b(280, 0);
    b[0] = 2;
    putInt(b, 4, 7);
    putDouble(b, 8, nan);
    putDouble(b, 16, inf);
    putDouble(b, 24, -inf);
    putInt(b, 32, 99);
    for (std::size_t row = 0; row < 10; ++row)
        putDouble(b, 56 + 24 * row, row % 2 ? nan : 1e300);
    return b;
}

// The value of an extended attribute, read straight from the file system.
inline std::string attribute(const std::string &path, const char *name)
{
    char raw[16];
    const ssize_t n = getxattr(path.c_str(), name, raw, sizeof raw);
    return n < 0 ? "" : std::string(raw, std::size_t(n));
}

inline bool isOpen(const std::string &folder, const std::string &name)
{
    return BIsFileInUse(folder + "/" + name);
}

// The quit's save-changes question about the document called name.
inline std::string quitQuestion(const std::string &name)
{
    return "Do you want to save the changes you made in the document “" + name + "” before quitting?";
}

inline tDocumentPtr documentOf(QWidget *window)
{
    return BGetDocumentWindowsDocPtr(window);
}

// A record made by the model with these arguments, in metres.
inline tData table(double distance, double focalLength)
{
    tData d{};
    QRLCalculateTable(&d, kDistanceUnitMeters, distance, focalLength, 10e-6, fullFrameDigital);
    return d;
}

// The application started headless with its untitled window, and a folder.
class FileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        qrltest::StartApplication();
        folder = qrltest::TempFolder();
        window = qrltest::DocumentAt(0);
    }
    void TearDown() override { SetSaveFaultForTesting(SaveStep::none); }
    std::string path(const std::string &name) const { return folder + "/" + name; }
    FileError open(const std::string &name) const { return BDoOpenFile(path(name)); }
    // Answers the Save sheet that the command brings up with this name.
    void saveAs(const std::string &name, const std::string &command = "Save") const
    {
        qrltest::Trigger(command);
        const qrltest::ShownDialog dialog = qrltest::OnlyDialog();
        ASSERT_TRUE(dialog.saves);
        ASSERT_TRUE(qrltest::ChooseSaveLocation(dialog, folder, name));
    }
    Bytes record() const { return layout(*documentOf(window)->dataPtr); }
    std::string folder;
    QWidget *window = nullptr;
};

} // namespace filetest
