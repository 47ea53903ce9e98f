// What a depth-of-field table implies beyond its near and far limits, per
// aperture: the hyperfocal distance, the depth of the sharp zone and how it
// splits around the subject, and whether diffraction already softens the
// image. Computed from a calculation record on demand; never stored.
#pragma once

#include "model/data.h"

// Wavelength of the light diffraction is judged with (green, the eye's
// most sensitive), in metres, and the factor from wavelength times f-number
// to the diameter of the Airy disc up to its first dark ring.
constexpr double kDiffractionWavelength = 0.55e-6;
constexpr double kAiryDiscFactor = 2.44;

// One row. Distances are in the table's unit (feet for unit 2, metres for
// any other). +infinity stands for "no limit" ("inf" on the sheet); NaN for
// a figure that has no value (a ratio of two zero depths, or any figure of
// a record holding numbers that are not finite).
struct tApertureFigures {
    tAperture aperture;           // f-number of the row
    tDistance nearDistance;       // as stored
    tDistance farDistance;        // +infinity from the hyperfocal distance on
    tDistance hyperfocalDistance; // f²/(N·c) + f
    tDistance totalDepth;         // far − near
    tDistance depthInFront;       // distance − near
    tDistance depthBehind;        // far − distance
    double behindToFrontRatio;    // depthBehind / depthInFront
    double airyDiscMicroMeter;    // 2.44 · 0.55 µm · N
    bool diffractionLimited;      // the Airy disc is larger than the circle of confusion
};

struct tTableFigures {
    tApertureFigures rows[kNumberOfApertures];
};

// Fills figures for the ten rows of a computed record. False, leaving
// figures untouched, when the record is null or holds no computed table.
// The far limit is +infinity where the stored table has none and wherever
// the focusing distance is at or beyond the row's hyperfocal distance
// (for a positive circle of confusion; within the few units in the last
// place H is known to), so that "from H on" holds even where rounding
// leaves the stored far limit a huge finite number.
bool QRLGetTableFigures(tDataPtr dataPtr, tTableFigures *figures);
