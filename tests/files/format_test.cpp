// The document file image: 280 bytes, big-endian, fill bytes zero, checked
// against the layout encoded field by field in files_helpers.h.
#include "files_helpers.h"

using namespace filetest;

namespace
{

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
    QRLCalculateTable(&d, unit, 15.0, 50.0, 30e-6, fullFrameDigital);
    return d;
}

TEST(FileFormat, ComputedTableMatchesLayout)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        const tData d = computed(unit);
        ASSERT_TRUE(d.valid);
        EXPECT_EQ(encode(d), layout(d)) << "unit " << unit;
    }
}

// Pins the layout encoding itself to bytes written out by hand.
TEST(FileFormat, KnownBytesOfFirstFields)
{
    tData d{};
    d.valid = true;
    d.distanceUnit = 2;
    d.argumentList.distance = 1.0;
    d.argumentList.cameraType = mediumFormat;
    d.table[9].farDistance = -1.0;
    const Bytes b = encode(d);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 16),
              (Bytes{1, 0, 0, 0, 0, 0, 0, 2, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 40), (Bytes{0, 0, 0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(Bytes(b.end() - 8, b.end()), (Bytes{0xBF, 0xF0, 0, 0, 0, 0, 0, 0}));
}

// layout() writes the bits of every field, so equal layouts mean every
// field came back bit for bit.
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
    EXPECT_EQ(layout(back), layout(d));
    EXPECT_EQ(encode(back), b);
}

// A short image replaces only the bytes it has; an empty one nothing.
TEST(FileFormat, ShortAndEmptyImagesReplaceOnlyLeadingBytes)
{
    tData other{};
    other.valid = true;
    other.distanceUnit = 2;
    other.argumentList.distance = 7.0;
    const Bytes image = layout(other);
    for (std::size_t length : {0, 12, 279}) {
        tData record = computed(length ? kDistanceUnitMeters : kDistanceUnitFeet);
        Bytes expected = encode(record);
        std::copy(image.begin(), image.begin() + long(length), expected.begin());
        BDecodeData(length ? image.data() : nullptr, length, &record);
        EXPECT_EQ(encode(record), expected) << "case " << length << " bytes";
    }
}

} // namespace
