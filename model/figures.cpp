// Hyperfocal distance, depth of field and its split, and the diffraction hint per aperture.
#include "model/figures.h"

#include <limits>

constexpr double kNoLimit = std::numeric_limits<double>::infinity();
// The Airy disc's diameter per f-number: 2.44 x 0.55 µm (green light), in m.
constexpr double kAiryDiscPerFNumber = 2.44 * 0.55e-6;
// H is known to a few units in the last place; closer than that counts as at H.
constexpr double kAtHyperfocal = 1.0 - 8.0 * std::numeric_limits<double>::epsilon();

bool QRLGetTableFigures(tDataPtr dataPtr, tTableFigures *figures)
{
    if (dataPtr == nullptr || figures == nullptr || !QRLIsDataValid(dataPtr))
        return false;
    const double perUnit = QRLGetDistanceUnit(dataPtr) == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    const double focalLength = QRLGetFocalLength(dataPtr) * 0.001 / perUnit;
    const double circle = dataPtr->argumentList.unsharpCircleDiameter / perUnit;
    const tDistance distance = QRLGetDistance(dataPtr);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        tApertureFigures &row = figures->rows[i];
        const tAperture n = kTableApertures[i];
        row.aperture = n;
        row.hyperfocalDistance = focalLength * focalLength / (n * circle) + focalLength;
        row.nearDistance = QRLGetTableElementNearDistance(dataPtr, i);
        row.farDistance = QRLGetTableElementFarDistance(dataPtr, i);
        if (row.farDistance == -1.0 || (circle > 0.0 && distance >= row.hyperfocalDistance * kAtHyperfocal))
            row.farDistance = kNoLimit;
        row.totalDepth = row.farDistance - row.nearDistance;
        row.depthInFront = distance - row.nearDistance;
        row.depthBehind = row.farDistance - distance;
        // No ratio without depth: with a circle of 0 rounding may leave the
        // two depths a hair from zero in opposite directions.
        const bool noDepth = row.totalDepth == 0.0 || row.depthInFront == 0.0;
        row.behindToFrontRatio =
            noDepth ? std::numeric_limits<double>::quiet_NaN() : row.depthBehind / row.depthInFront;
        row.airyDiscMicroMeter = kAiryDiscPerFNumber * n * 1000000.0;
        row.diffractionLimited = kAiryDiscPerFNumber * n > dataPtr->argumentList.unsharpCircleDiameter;
    }
    return true;
}
