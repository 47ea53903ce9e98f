// The document file image: a calculation record as 280 big-endian bytes.
// Needs neither windows nor files, so the command line shares it.
#include "formats/fileimage.h"

#include <cstring>

namespace
{

// Field offsets in the file image.
constexpr long kValidOffset = 0;
constexpr long kUnitOffset = 4;
constexpr long kDistanceOffset = 8;
constexpr long kFocalLengthOffset = 16;
constexpr long kCircleOffset = 24;
constexpr long kCameraOffset = 32;
constexpr long kTableOffset = 40;
constexpr long kRowSize = 24;

void put32(std::uint8_t *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (24 - 8 * i));
}

void put64(std::uint8_t *p, double d)
{
    std::uint64_t v;
    std::memcpy(&v, &d, sizeof v);
    for (int i = 0; i < 8; ++i)
        p[i] = std::uint8_t(v >> (56 - 8 * i));
}

std::uint32_t get32(const std::uint8_t *p)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | p[i];
    return v;
}

double get64(const std::uint8_t *p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | p[i];
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}

void decodeWhole(const std::uint8_t *image, tData *data)
{
    data->valid = image[kValidOffset]; // kept as read: only 1 marks a computed table
    data->distanceUnit = std::int32_t(get32(image + kUnitOffset));
    data->argumentList.distance = get64(image + kDistanceOffset);
    data->argumentList.focalLength = get64(image + kFocalLengthOffset);
    data->argumentList.unsharpCircleDiameter = get64(image + kCircleOffset);
    data->argumentList.cameraType = tCameraType(std::int32_t(get32(image + kCameraOffset)));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const std::uint8_t *row = image + kTableOffset + kRowSize * i;
        data->table[i].aperture = get64(row);
        data->table[i].nearDistance = get64(row + 8);
        data->table[i].farDistance = get64(row + 16);
    }
}

} // namespace

void BEncodeData(const tData *dataPtr, std::uint8_t image[kDocumentFileSize])
{
    std::memset(image, 0, kDocumentFileSize);
    image[kValidOffset] = dataPtr->valid;
    put32(image + kUnitOffset, std::uint32_t(dataPtr->distanceUnit));
    put64(image + kDistanceOffset, dataPtr->argumentList.distance);
    put64(image + kFocalLengthOffset, dataPtr->argumentList.focalLength);
    put64(image + kCircleOffset, dataPtr->argumentList.unsharpCircleDiameter);
    put32(image + kCameraOffset, std::uint32_t(dataPtr->argumentList.cameraType));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        std::uint8_t *row = image + kTableOffset + kRowSize * i;
        put64(row, dataPtr->table[i].aperture);
        put64(row + 8, dataPtr->table[i].nearDistance);
        put64(row + 16, dataPtr->table[i].farDistance);
    }
}

void BDecodeData(const std::uint8_t *image, long count, tData *dataPtr)
{
    // Bytes the image lacks keep what the record held: start from the
    // record's own image and lay the given bytes over its leading part.
    std::uint8_t whole[kDocumentFileSize];
    BEncodeData(dataPtr, whole);
    if (count > kDocumentFileSize)
        count = kDocumentFileSize;
    if (count > 0)
        std::memcpy(whole, image, std::size_t(count));
    decodeWhole(whole, dataPtr);
}
