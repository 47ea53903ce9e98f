// The calculation record: allocation, the range check, the depth-of-field
// table and the accessors that the sheet, the menus and the files use.
#include "model/data.h"

#include <new>

namespace
{

constexpr tDistance kNoFarLimit = -1.0;
constexpr tDistance kLongestDistance = 1000.0;
constexpr tFocalLength kLongestFocalLength = 1000.0;
constexpr tFocalLength kShortestFocalLength = 4.0;

// The three quantities of the thin-lens formula, with f the focal length and
// c the circle of confusion in the distance unit:
//   ff = f², ubyawithf = c·(f − D), aff = D·f²
// so that near = aff / (ff − k·ubyawithf) and far = aff / (ff + k·ubyawithf).
struct tLensTerms {
    double ff;
    double ubyawithf;
    double aff;
};

tLensTerms LensTermsInMetres(tDistance distance, tFocalLength focalLength, tUnsharpCircleDiameter circle)
{
    tLensTerms terms;
    terms.ff = focalLength * (focalLength * 0.000001);
    terms.ubyawithf = circle * (focalLength * 0.001 - distance);
    terms.aff = distance * terms.ff;
    return terms;
}

// The distance is already in feet; focal length and circle are converted.
tLensTerms LensTermsInFeet(tDistance distance, tFocalLength focalLength, tUnsharpCircleDiameter circle)
{
    tLensTerms terms;
    terms.ff = ((focalLength * (focalLength * 0.000001)) / kMetresPerFoot) / kMetresPerFoot;
    terms.ubyawithf = ((focalLength * 0.001) / kMetresPerFoot - distance) * (circle / kMetresPerFoot);
    terms.aff = distance * terms.ff;
    return terms;
}

} // namespace

tDataPtr QRLNewDataPtr()
{
    return new (std::nothrow) tData{};
}

void QRLDeleteDataPtr(tDataPtr dataPtr)
{
    delete dataPtr;
}

// Units other than feet are computed as metres, as the parameters window
// labels them; the record keeps the unit as given.
void QRLCalculateTable(tDataPtr dataPtr, std::int32_t distanceUnit, tDistance distance,
                       tFocalLength focalLength, tUnsharpCircleDiameter unsharpCircleDiameter,
                       tCameraType cameraType)
{
    if (dataPtr == nullptr)
        return;
    dataPtr->distanceUnit = distanceUnit;
    dataPtr->argumentList.cameraType = cameraType;
    dataPtr->argumentList.distance = distance;
    dataPtr->argumentList.focalLength = focalLength;
    dataPtr->argumentList.unsharpCircleDiameter = unsharpCircleDiameter;

    const tLensTerms terms = distanceUnit == kDistanceUnitFeet
                                 ? LensTermsInFeet(distance, focalLength, unsharpCircleDiameter)
                                 : LensTermsInMetres(distance, focalLength, unsharpCircleDiameter);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tAperture k = kTableApertures[i];
        tTableElement &row = dataPtr->table[i];
        row.aperture = k;
        row.nearDistance = terms.aff / (terms.ff - k * terms.ubyawithf);
        row.farDistance = terms.aff / (terms.ff + k * terms.ubyawithf);
        // Beyond the hyperfocal distance the far denominator turns negative:
        // everything out to infinity is sharp.
        if (row.farDistance < 0.0)
            row.farDistance = kNoFarLimit;
    }
    dataPtr->valid = 1;
}

// The first failing test gives the result. The distance must be at least
// twice the focal length, both in the distance unit.
tDataRangeErr QRLArgumentsInRange(tDistance distance, tFocalLength focalLength, std::int32_t distanceUnit)
{
    double closest = (focalLength + focalLength) * 0.001;
    if (distanceUnit == kDistanceUnitFeet)
        closest = closest / kMetresPerFoot;
    if (distance > kLongestDistance)
        return kDistanceTooFar;
    if (distance < closest)
        return kDistanceTooClose;
    if (focalLength > kLongestFocalLength)
        return kFocalLengthTooLong;
    if (focalLength < kShortestFocalLength)
        return kFocalLengthTooShort;
    return kInRange;
}

tDistance QRLGetTableElementNearDistance(tDataPtr dataPtr, int index)
{
    return dataPtr == nullptr ? 0.0 : dataPtr->table[index].nearDistance;
}

// Only a far limit that is not positive (the -1.0 marker, or 0) means "no far
// limit"; a short real far limit, as with a very short lens focused close, is
// a distance.
tDistance QRLGetTableElementFarDistance(tDataPtr dataPtr, int index)
{
    if (dataPtr == nullptr)
        return 0.0;
    const tDistance far = dataPtr->table[index].farDistance;
    return far > 0.0 ? far : kNoFarLimit;
}

tFocalLength QRLGetFocalLength(tDataPtr dataPtr)
{
    return dataPtr == nullptr ? 0.0 : dataPtr->argumentList.focalLength;
}

tDistance QRLGetDistance(tDataPtr dataPtr)
{
    return dataPtr == nullptr ? 0.0 : dataPtr->argumentList.distance;
}

double QRLGetUnsharpCircleinMicroMeter(tDataPtr dataPtr)
{
    return dataPtr == nullptr ? 0.0 : dataPtr->argumentList.unsharpCircleDiameter * 1000000.0;
}

std::int16_t QRLGetCameraType(tDataPtr dataPtr)
{
    if (dataPtr == nullptr)
        return 0;
    const auto stored = static_cast<std::uint32_t>(dataPtr->argumentList.cameraType);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(stored & 0xFFFFu));
}

void QRLSetDataValid(tDataPtr dataPtr, bool valid)
{
    if (dataPtr != nullptr)
        dataPtr->valid = valid ? 1 : 0;
}

// A record read from a file may hold any byte in the flag; any but 0 counts.
bool QRLIsDataValid(tDataPtr dataPtr)
{
    return dataPtr != nullptr && dataPtr->valid != 0;
}

std::int32_t QRLGetDistanceUnit(tDataPtr dataPtr)
{
    return dataPtr == nullptr ? 0 : dataPtr->distanceUnit;
}
