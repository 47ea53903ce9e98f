// The calculation record: the range check, the thin-lens table, accessors.
#include "model/data.h"

#include <new>

constexpr tDistance kNoFarLimit = -1.0;

tDataPtr QRLNewDataPtr()
{
    return new (std::nothrow) tData{};
}

void QRLDeleteDataPtr(tDataPtr dataPtr)
{
    delete dataPtr;
}

void QRLCalculateTable(tDataPtr dataPtr, std::int32_t distanceUnit, tDistance distance,
                       tFocalLength focalLength, tUnsharpCircleDiameter unsharpCircleDiameter,
                       tCameraType cameraType)
{
    if (dataPtr == nullptr)
        return;
    dataPtr->distanceUnit = distanceUnit;
    dataPtr->argumentList = {distance, focalLength, unsharpCircleDiameter, cameraType};
    // Focal length and circle in the distance unit (dividing by 1.0 is exact):
    // near = aff / (ff - k * ubyawithf), far = aff / (ff + k * ubyawithf).
    const double perUnit = distanceUnit == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    const double ff = ((focalLength * (focalLength * 0.000001)) / perUnit) / perUnit;
    const double ubyawithf = ((focalLength * 0.001) / perUnit - distance) * (unsharpCircleDiameter / perUnit);
    const double aff = distance * ff;
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tAperture k = kTableApertures[i];
        tTableElement &row = dataPtr->table[i];
        row.aperture = k;
        row.nearDistance = aff / (ff - k * ubyawithf);
        row.farDistance = aff / (ff + k * ubyawithf);
        // Beyond the hyperfocal distance everything out to infinity is sharp.
        if (row.farDistance < 0.0)
            row.farDistance = kNoFarLimit;
    }
    dataPtr->valid = 1;
}

tDataRangeErr QRLArgumentsInRange(tDistance distance, tFocalLength focalLength, std::int32_t distanceUnit)
{
    double closest = (focalLength + focalLength) * 0.001;
    if (distanceUnit == kDistanceUnitFeet)
        closest = closest / kMetresPerFoot;
    if (distance > 1000.0)
        return kDistanceTooFar;
    if (distance < closest)
        return kDistanceTooClose;
    if (focalLength > 1000.0)
        return kFocalLengthTooLong;
    if (focalLength < 4.0)
        return kFocalLengthTooShort;
    return kInRange;
}

tUnsharpCircleDiameter QRLFixedUnsharpCircle(tCameraType cameraType)
{
    return cameraType == thirtyFive ? 0.000033 : cameraType == mediumFormat ? 0.0001 : 0.0;
}

bool QRLCircleInRange(double micrometres)
{
    return micrometres >= 1.0 && micrometres <= 1000.0;
}

tDistance QRLGetTableElementNearDistance(tDataPtr dataPtr, int index)
{
    return dataPtr == nullptr ? 0.0 : dataPtr->table[index].nearDistance;
}

// Only a far limit that is not positive means "none"; a short one is real.
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
    return dataPtr == nullptr ? 0 : static_cast<std::int16_t>(dataPtr->argumentList.cameraType & 0xFFFF);
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
