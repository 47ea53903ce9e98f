// One document's record: the table's arguments, the distance unit and the ten computed rows.
#pragma once

#include <cstdint>

using tDistance = double;
using tFocalLength = double;
using tUnsharpCircleDiameter = double;
using tAperture = double;
using tDataRangeErr = std::int32_t;

enum tCameraType : std::int32_t { APSC = 0, fullFrameDigital = 1, thirtyFive = 2, mediumFormat = 3 };

enum : std::int32_t { kDistanceUnitMeters = 1, kDistanceUnitFeet = 2 };
constexpr double kMetresPerFoot = 0.3048;

enum : tDataRangeErr {
    kInRange = 0,
    kFocalLengthTooLong = 1,
    kFocalLengthTooShort = 2,
    kDistanceTooFar = 3,
    kDistanceTooClose = 4,
};

constexpr int kNumberOfApertures = 10;
// The f-numbers of the ten rows, in order.
inline constexpr tAperture kTableApertures[kNumberOfApertures] = {1.4, 2.0,  2.8,  4.0,  5.6,
                                                                  8.0, 11.0, 16.0, 22.0, 32.0};

struct tArgumentList {
    tDistance distance;
    tFocalLength focalLength;
    tUnsharpCircleDiameter unsharpCircleDiameter;
    tCameraType cameraType;
};

struct tTableElement {
    tAperture aperture;
    tDistance nearDistance;
    tDistance farDistance; // -1.0: no far limit
};

struct tData {
    std::uint8_t valid; // 1 once computed; a file may hold any byte here
    std::int32_t distanceUnit;
    tArgumentList argumentList;
    tTableElement table[kNumberOfApertures];
};
using tDataPtr = tData *;

// A new zero-filled record; null when memory is exhausted.
tDataPtr QRLNewDataPtr();
void QRLDeleteDataPtr(tDataPtr dataPtr);

// Fills the record: feet (2) are computed in feet, any other unit as metres.
void QRLCalculateTable(tDataPtr dataPtr, std::int32_t distanceUnit, tDistance distance,
                       tFocalLength focalLength, tUnsharpCircleDiameter unsharpCircleDiameter,
                       tCameraType cameraType);
// kInRange when 2 x focal length <= distance <= 1000 and 4 <= focal length
// <= 1000 mm; otherwise the code of the first failing test.
tDataRangeErr QRLArgumentsInRange(tDistance distance, tFocalLength focalLength,
                                  std::int32_t distanceUnit = kDistanceUnitMeters);
// True for a circle of confusion of 1 to 1000 µm (false for NaN).
bool QRLCircleInRange(double micrometres);
// The circle of confusion a film format always takes, in metres; 0 for the
// digital formats, whose circle the user gives.
tUnsharpCircleDiameter QRLFixedUnsharpCircle(tCameraType cameraType);

// The accessors give 0, 0.0 or false for a null record; index is 0..9.
tDistance QRLGetTableElementNearDistance(tDataPtr dataPtr, int index);
// The stored far limit, or -1.0 (no far limit) when it is not positive.
tDistance QRLGetTableElementFarDistance(tDataPtr dataPtr, int index);
tFocalLength QRLGetFocalLength(tDataPtr dataPtr);
tDistance QRLGetDistance(tDataPtr dataPtr);
double QRLGetUnsharpCircleinMicroMeter(tDataPtr dataPtr);
// The low 16 bits of the stored camera type.
std::int16_t QRLGetCameraType(tDataPtr dataPtr);
void QRLSetDataValid(tDataPtr dataPtr, bool valid);
bool QRLIsDataValid(tDataPtr dataPtr);
std::int32_t QRLGetDistanceUnit(tDataPtr dataPtr);
