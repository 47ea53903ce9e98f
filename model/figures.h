// What a table implies per aperture beyond its near and far limits, computed on demand.
#pragma once

#include "model/data.h"

// One row, distances in the table's unit. +infinity stands for "no limit";
// NaN for a figure without a value (a ratio of two zero depths, or a record
// holding numbers that are not finite).
struct tApertureFigures {
    tAperture aperture;
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

// Fills figures for a computed record, else false; far is +infinity where none is stored and from H on.
bool QRLGetTableFigures(tDataPtr dataPtr, tTableFigures *figures);
