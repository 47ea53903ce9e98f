// A focus bracketing plan: the focus distances, farthest first, whose sharp
// zones together cover a scene from its near to its far limit, with the
// table's thin-lens model.
#pragma once

#include "model/data.h"

#include <vector>

constexpr int kMostBracketingShots = 99;

// Distances in the plan's unit; +infinity for a far limit without end.
struct tBracketingArguments {
    tFocalLength focalLength;                     // mm, 4–1000
    tAperture aperture;                           // any f-number from 1 to 64
    tUnsharpCircleDiameter unsharpCircleDiameter; // m, 1–1000 µm
    tCameraType cameraType;
    tDistance nearLimit; // A: from twice the focal length to 1000 m
    tDistance farLimit;  // B: beyond A, or +infinity
    double overlap;      // 0–0.9 of the previous shot's sharp zone, in dioptres
    std::int32_t distanceUnit;
};

enum tBracketingRefusal : std::int32_t {
    kPlanMade = 0,
    kPlanFocalLengthOutOfRange,
    kPlanCircleOutOfRange,
    kPlanApertureOutOfRange,
    kPlanNearLimitTooClose,
    kPlanNearLimitTooFar,
    kPlanFarLimitNotBeyondNear,
    kPlanOverlapOutOfRange,
    kPlanTooManyShots,
};

struct tBracketingShot {
    tDistance focusDistance;
    tDistance nearDistance;
    tDistance farDistance; // +infinity from the hyperfocal distance on
};

struct tBracketingPlan {
    tBracketingRefusal refusal; // kPlanMade, else why there are no shots
    tDistance hyperfocalDistance;
    std::vector<tBracketingShot> shots; // farthest first
};

// The fewest shots for the overlap, or a refusal without shots.
tBracketingPlan QRLPlanBracketing(const tBracketingArguments &arguments);
// A sentence saying why a plan was refused (English; empty for kPlanMade).
const char *QRLBracketingRefusalText(tBracketingRefusal refusal);
