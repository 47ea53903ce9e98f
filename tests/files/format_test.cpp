// The document file image: 280 bytes, big-endian, fill bytes zero, checked
// against an encoding of the layout written out here field by field.
#include "files/file.h"

#include <cmath>
#include <cstring>
#include <endian.h>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

void putInt(Bytes &b, std::size_t offset, std::int32_t value)
{
    const std::uint32_t big = htobe32(std::uint32_t(value));
    std::memcpy(b.data() + offset, &big, 4);
}

void putDouble(Bytes &b, std::size_t offset, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, 8);
    const std::uint64_t big = htobe64(bits);
    std::memcpy(b.data() + offset, &big, 8);
}

// The layout table, one field at a time.
Bytes layout(const tData &d)
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

Bytes encode(const tData &d)
{
    Bytes b(280, 0xAA);
    BEncodeData(&d, b.data());
    return b;
}

tData computed(std::int32_t unit)
{
    tData d;
    std::memset(&d, 0x5C, sizeof d); // fill bytes hold something other than zero
    QRLCalculateTableInUnit(&d, unit, 15.0, 50.0, 30e-6, fullFrameDigital);
    return d;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(FileFormat, ComputedTableMatchesLayout)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        const tData d = computed(unit);
        ASSERT_TRUE(d.valid);
        EXPECT_EQ(encode(d), layout(d)) << "unit " << unit;
    }
}

TEST(FileFormat, KnownBytesOfFirstFields)
{
    tData d{};
    d.valid = true;
    d.distanceUnit = 2;
    d.argumentList.distance = 1.0;
    d.argumentList.cameraType = mediumFormat;
    d.table[9].farDistance = -1.0;
    const Bytes b = encode(d);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(Bytes(b.begin() + 1, b.begin() + 8), (Bytes{0, 0, 0, 0, 0, 0, 2}));
    // 1.0 is 0x3FF0000000000000.
    EXPECT_EQ(Bytes(b.begin() + 8, b.begin() + 16), (Bytes{0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 40), (Bytes{0, 0, 0, 3, 0, 0, 0, 0}));
    // -1.0 is 0xBFF0000000000000, the last eight bytes of the file.
    EXPECT_EQ(Bytes(b.end() - 8, b.end()), (Bytes{0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
}

TEST(FileFormat, RoundTripKeepsEveryField)
{
    tData d{};
    d.valid = true;
    d.distanceUnit = 2;
    d.argumentList = {3.25, 85.5, 19e-6, thirtyFive};
    for (int i = 0; i < 10; ++i)
        d.table[i] = {1.4 * (i + 1), 0.1 + i, i == 9 ? -1.0 : 10.0 + i};
    const Bytes b = encode(d);
    tData back;
    std::memset(&back, 0, sizeof back);
    BDecodeData(b.data(), 280, &back);
    EXPECT_EQ(back.valid, d.valid);
    EXPECT_EQ(back.distanceUnit, d.distanceUnit);
    EXPECT_TRUE(sameBits(back.argumentList.distance, d.argumentList.distance));
    EXPECT_TRUE(sameBits(back.argumentList.focalLength, d.argumentList.focalLength));
    EXPECT_TRUE(sameBits(back.argumentList.unsharpCircleDiameter, d.argumentList.unsharpCircleDiameter));
    EXPECT_EQ(back.argumentList.cameraType, d.argumentList.cameraType);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(sameBits(back.table[i].aperture, d.table[i].aperture)) << i;
        EXPECT_TRUE(sameBits(back.table[i].nearDistance, d.table[i].nearDistance)) << i;
        EXPECT_TRUE(sameBits(back.table[i].farDistance, d.table[i].farDistance)) << i;
    }
    EXPECT_EQ(encode(back), b);
}

TEST(FileFormat, ShortImageReplacesOnlyLeadingBytes)
{
    tData record = computed(kDistanceUnitMeters);
    const Bytes before = encode(record);
    tData other{};
    other.valid = true;
    other.distanceUnit = 2;
    other.argumentList.distance = 7.0;
    const Bytes image = layout(other);
    // 12 bytes: valid, fill, unit and the first half of the distance.
    BDecodeData(image.data(), 12, &record);
    Bytes expected = before;
    std::copy(image.begin(), image.begin() + 12, expected.begin());
    EXPECT_EQ(encode(record), expected);
    EXPECT_EQ(record.distanceUnit, 2);
}

TEST(FileFormat, EmptyImageChangesNothing)
{
    tData record = computed(kDistanceUnitFeet);
    const Bytes before = encode(record);
    BDecodeData(nullptr, 0, &record);
    EXPECT_EQ(encode(record), before);
}

TEST(FileFormat, GarbageIsTakenAsItIs)
{
    Bytes image(280, 0);
    image[0] = 2; // neither false nor true
    putInt(image, 4, 7);
    putDouble(image, 8, std::numeric_limits<double>::quiet_NaN());
    putDouble(image, 16, std::numeric_limits<double>::infinity());
    putDouble(image, 24, -std::numeric_limits<double>::infinity());
    putInt(image, 32, 99);
    tData d{};
    BDecodeData(image.data(), 280, &d);
    EXPECT_EQ(d.valid, 2);
    EXPECT_EQ(d.distanceUnit, 7);
    EXPECT_TRUE(std::isnan(d.argumentList.distance));
    EXPECT_TRUE(std::isinf(d.argumentList.focalLength));
    EXPECT_EQ(int(d.argumentList.cameraType), 99);
    // Written back, every byte is as it was read.
    EXPECT_EQ(encode(d), image);
}

} // namespace
