// Figures per aperture from a computed table: hyperfocal distance, depth of
// field and its split around the subject, and the diffraction hint.
#include "model/figures.h"

#include <limits>

namespace
{

constexpr double kNoLimit = std::numeric_limits<double>::infinity();

// Focal length and circle of confusion in the table's distance unit.
struct tLensInUnit {
    double focalLength;
    double circle;
};

tLensInUnit LensInUnit(tDataPtr dataPtr)
{
    const double perUnit = QRLGetDistanceUnit(dataPtr) == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    return tLensInUnit{QRLGetFocalLength(dataPtr) * 0.001 / perUnit,
                       dataPtr->argumentList.unsharpCircleDiameter / perUnit};
}

// The hyperfocal distance and the far denominator that vanishes there are
// each known to a few units in the last place; a focusing distance closer to
// H than that counts as at H. (A far limit computed there is some 10^15
// times the distance: rounding noise, not a distance.)
constexpr double kAtHyperfocal = 1.0 - 8.0 * std::numeric_limits<double>::epsilon();

// The far limit as the sheet means it, with +infinity for "no limit", then
// made infinite from the hyperfocal distance on.
tDistance FarLimit(tDataPtr dataPtr, int row, tDistance distance, tDistance hyperfocal, double circle)
{
    const tDistance stored = QRLGetTableElementFarDistance(dataPtr, row);
    if (stored == -1.0)
        return kNoLimit;
    if (circle > 0.0 && distance >= hyperfocal * kAtHyperfocal)
        return kNoLimit;
    return stored;
}

tApertureFigures RowFigures(tDataPtr dataPtr, int row, const tLensInUnit &lens)
{
    tApertureFigures figures;
    const tAperture n = kTableApertures[row];
    const tDistance distance = QRLGetDistance(dataPtr);
    figures.aperture = n;
    figures.hyperfocalDistance = lens.focalLength * lens.focalLength / (n * lens.circle) + lens.focalLength;
    figures.nearDistance = QRLGetTableElementNearDistance(dataPtr, row);
    figures.farDistance = FarLimit(dataPtr, row, distance, figures.hyperfocalDistance, lens.circle);
    figures.totalDepth = figures.farDistance - figures.nearDistance;
    figures.depthInFront = distance - figures.nearDistance;
    figures.depthBehind = figures.farDistance - distance;
    // behind / front: +infinity with no far limit; no value without depth
    // (a circle of 0, where rounding may leave the two depths a hair apart
    // from zero in opposite directions).
    const bool noDepth = figures.totalDepth == 0.0 || figures.depthInFront == 0.0;
    figures.behindToFrontRatio =
        noDepth ? std::numeric_limits<double>::quiet_NaN() : figures.depthBehind / figures.depthInFront;
    figures.airyDiscMicroMeter = kAiryDiscFactor * kDiffractionWavelength * n * 1000000.0;
    figures.diffractionLimited =
        kAiryDiscFactor * kDiffractionWavelength * n > dataPtr->argumentList.unsharpCircleDiameter;
    return figures;
}

} // namespace

bool QRLGetTableFigures(tDataPtr dataPtr, tTableFigures *figures)
{
    if (dataPtr == nullptr || figures == nullptr || !QRLIsDataValid(dataPtr))
        return false;
    const tLensInUnit lens = LensInUnit(dataPtr);
    for (int row = 0; row < kNumberOfApertures; ++row)
        figures->rows[row] = RowFigures(dataPtr, row, lens);
    return true;
}
