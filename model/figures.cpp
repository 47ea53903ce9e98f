// Hyperfocal distance, depth of field and its split, and the diffraction
// hint per aperture.
#include "model/figures.h"

#include <limits>

namespace
{

constexpr double kNoLimit = std::numeric_limits<double>::infinity();
// The Airy disc's diameter in metres per f-number: 2.44 times green light's
// wavelength, 0.55 µm.
constexpr double kAiryDiscPerFNumber = 2.44 * 0.55e-6;
// H and the far denominator that vanishes there are known to a few units in
// the last place; a distance closer to H than that counts as at H.
constexpr double kAtHyperfocal = 1.0 - 8.0 * std::numeric_limits<double>::epsilon();

tApertureFigures RowFigures(tDataPtr dataPtr, int row, double focalLength, double circle)
{
    tApertureFigures figures;
    const tAperture n = kTableApertures[row];
    const tDistance distance = QRLGetDistance(dataPtr);
    figures.aperture = n;
    figures.hyperfocalDistance = focalLength * focalLength / (n * circle) + focalLength;
    figures.nearDistance = QRLGetTableElementNearDistance(dataPtr, row);
    figures.farDistance = QRLGetTableElementFarDistance(dataPtr, row);
    if (figures.farDistance == -1.0 ||
        (circle > 0.0 && distance >= figures.hyperfocalDistance * kAtHyperfocal))
        figures.farDistance = kNoLimit;
    figures.totalDepth = figures.farDistance - figures.nearDistance;
    figures.depthInFront = distance - figures.nearDistance;
    figures.depthBehind = figures.farDistance - distance;
    // No ratio without depth: with a circle of 0 rounding may leave the two
    // depths a hair from zero in opposite directions.
    const bool noDepth = figures.totalDepth == 0.0 || figures.depthInFront == 0.0;
    figures.behindToFrontRatio =
        noDepth ? std::numeric_limits<double>::quiet_NaN() : figures.depthBehind / figures.depthInFront;
    figures.airyDiscMicroMeter = kAiryDiscPerFNumber * n * 1000000.0;
    figures.diffractionLimited = kAiryDiscPerFNumber * n > dataPtr->argumentList.unsharpCircleDiameter;
    return figures;
}

} // namespace

bool QRLGetTableFigures(tDataPtr dataPtr, tTableFigures *figures)
{
    if (dataPtr == nullptr || figures == nullptr || !QRLIsDataValid(dataPtr))
        return false;
    const double perUnit = QRLGetDistanceUnit(dataPtr) == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    const double focalLength = QRLGetFocalLength(dataPtr) * 0.001 / perUnit;
    const double circle = dataPtr->argumentList.unsharpCircleDiameter / perUnit;
    for (int row = 0; row < kNumberOfApertures; ++row)
        figures->rows[row] = RowFigures(dataPtr, row, focalLength, circle);
    return true;
}
