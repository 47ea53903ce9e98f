// Focus bracketing with the table's thin-lens model: H' = f²/(N c),
// near(s) = s H'/(H' + s − f), far(s) = s H'/(H' − s + f), the far limit
// without end from the hyperfocal distance H' + f on.
#include "model/bracketing.h"

#include <cmath>
#include <limits>

// Marks the refusals for translation where the window shows them; the model stays Qt-free.
#define QT_TRANSLATE_NOOP(context, text) text

namespace
{

constexpr double kNoLimit = std::numeric_limits<double>::infinity();
// A near limit this close above A counts as reaching it: the plan's figures
// carry a few units in the last place of rounding per shot.
constexpr double kReachesNearLimit = 1.0 + 1e-12;

tBracketingRefusal CheckArguments(const tBracketingArguments &arguments)
{
    const double perUnit = arguments.distanceUnit == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    // The table's check, in metres: A lies where a table's distance may (to 1000 m).
    const tDataRangeErr range =
        QRLArgumentsInRange(arguments.nearLimit * perUnit, arguments.focalLength, kDistanceUnitMeters);
    // The table's check lets a focal length that is not a number through.
    if (range == kFocalLengthTooLong || range == kFocalLengthTooShort || std::isnan(arguments.focalLength))
        return kPlanFocalLengthOutOfRange;
    if (!QRLCircleInRange(arguments.unsharpCircleDiameter * 1000000.0))
        return kPlanCircleOutOfRange;
    if (!(arguments.aperture >= 1.0 && arguments.aperture <= 64.0))
        return kPlanApertureOutOfRange;
    if (range == kDistanceTooClose || std::isnan(arguments.nearLimit))
        return kPlanNearLimitTooClose;
    if (range == kDistanceTooFar)
        return kPlanNearLimitTooFar;
    if (!(arguments.farLimit > arguments.nearLimit))
        return kPlanFarLimitNotBeyondNear;
    if (!(arguments.overlap >= 0.0 && arguments.overlap <= 0.9))
        return kPlanOverlapOutOfRange;
    return kPlanMade;
}

} // namespace

tBracketingPlan QRLPlanBracketing(const tBracketingArguments &arguments)
{
    tBracketingPlan plan{CheckArguments(arguments), 0.0, {}};
    if (plan.refusal != kPlanMade)
        return plan;
    const double perUnit = arguments.distanceUnit == kDistanceUnitFeet ? kMetresPerFoot : 1.0;
    const double f = arguments.focalLength * 0.001 / perUnit;
    const double h = f * f / (arguments.aperture * (arguments.unsharpCircleDiameter / perUnit));
    plan.hyperfocalDistance = h + f;
    // Each shot from the far limit it must reach, in dioptres (0 for none):
    // far(s) = 1/farDioptres gives s = (H' + f) / (H' farDioptres + 1).
    double farDioptres = 1.0 / arguments.farLimit;
    while (plan.shots.size() < kMostBracketingShots) {
        const double s = farDioptres == 0.0 ? plan.hyperfocalDistance : (h + f) / (h * farDioptres + 1.0);
        const tBracketingShot shot = {s, s * h / (h + s - f), s >= h + f ? kNoLimit : s * h / (h - s + f)};
        plan.shots.push_back(shot);
        if (shot.nearDistance <= arguments.nearLimit * kReachesNearLimit)
            return plan;
        const double nearDioptres = 1.0 / shot.nearDistance;
        farDioptres = nearDioptres - arguments.overlap * (nearDioptres - 1.0 / shot.farDistance);
    }
    plan.refusal = kPlanTooManyShots;
    plan.shots.clear();
    return plan;
}

const char *QRLBracketingRefusalText(tBracketingRefusal refusal)
{
    switch (refusal) {
    case kPlanMade:
        return "";
    case kPlanFocalLengthOutOfRange:
        return QT_TRANSLATE_NOOP("Program", "The focal length should be in the range of 4..1000 mm.");
    case kPlanCircleOutOfRange:
        return QT_TRANSLATE_NOOP("Program",
                                 "The circle of confusion should be in the range of 1..1000 \u00b5m.");
    case kPlanApertureOutOfRange:
        return QT_TRANSLATE_NOOP("Program", "The f-number should be in the range of 1..64.");
    case kPlanNearLimitTooClose:
        return QT_TRANSLATE_NOOP("Program", "The near limit should be at least two times the focal length.");
    case kPlanNearLimitTooFar:
        return QT_TRANSLATE_NOOP("Program", "The near limit should be at most 1000 m (3280.84 ft).");
    case kPlanFarLimitNotBeyondNear:
        return QT_TRANSLATE_NOOP("Program", "The far limit should be beyond the near limit.");
    case kPlanOverlapOutOfRange:
        return QT_TRANSLATE_NOOP("Program", "The overlap should be in the range of 0..0.9.");
    case kPlanTooManyShots:
        return QT_TRANSLATE_NOOP(
            "Program",
            "The plan would need more than 99 shots: choose a smaller aperture (a larger f-number), "
            "a smaller overlap or a farther near limit.");
    }
    return "";
}
