// Depth-of-field figures and focus bracketing plans worked out without the
// program, in metres (feet by the exact 0.3048).
// With D the focusing distance, near = D f² / (f² + N c (D − f)) and
// far = D f² / (f² − N c (D − f)), no far limit from H = f² / (N c) + f on.
#pragma once

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace expected
{
constexpr double kApertures[10] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};

struct Row {
    double nearDistance, farDistance; // in the table's unit; far meaningless when noFarLimit
    bool noFarLimit;
};

inline Row Limits(double distance, bool feet, double focalMillimetres, double circleMetres, double n)
{
    const double unit = feet ? 0.3048 : 1.0, d = distance * unit, f = focalMillimetres / 1000.0;
    const double spread = n * circleMetres * (d - f), farDenominator = f * f - spread;
    return {d * f * f / (f * f + spread) / unit, d * f * f / farDenominator / unit, farDenominator <= 0.0};
}

inline double Hyperfocal(bool feet, double focalMillimetres, double circleMetres, double n)
{
    const double f = focalMillimetres / 1000.0;
    return (f * f / (n * circleMetres) + f) / (feet ? 0.3048 : 1.0);
}

// Within the relative tolerance (and a picometre); infinities and NANs exactly.
inline void ExpectClose(double expected, double actual, double relative = 1e-9)
{
    if (std::isfinite(expected))
        EXPECT_NEAR(expected, actual, std::fabs(expected) * relative + 1e-12);
    else
        EXPECT_TRUE(expected == actual || (std::isnan(expected) && std::isnan(actual))) << actual;
}

struct Shot {
    double focus, nearDistance, farDistance; // in the plan's unit; +infinity for no far limit
};

struct Plan {
    double hyperfocal;
    std::vector<Shot> shots;
};

// Each shot focuses where its far limit is the one wanted, D = F f (f + N c) / (f² + F N c), the
// first at H for an endless scene; the next far limit reaches back into the shot's sharp zone by the
// overlap, in dioptres. The plan ends at the first near limit at or below A (to 1 in 10⁹) or at `most`.
inline Plan BracketingPlan(double focalMillimetres, double aperture, double circleMetres, double nearLimit,
                           double farLimit, double overlap, bool feet, std::size_t most = 1000)
{
    const double unit = feet ? 0.3048 : 1.0, f = focalMillimetres / 1000.0, nc = aperture * circleMetres;
    const double hyperfocal = f * f / nc + f, a = nearLimit * unit;
    Plan plan{hyperfocal / unit, {}};
    for (double far = farLimit * unit; plan.shots.size() < most;) {
        const double d = std::isinf(far) ? hyperfocal : far * f * (f + nc) / (f * f + far * nc);
        const double nearD = d * f * f / (f * f + nc * (d - f));
        const double farD = d >= hyperfocal ? INFINITY : d * f * f / (f * f - nc * (d - f));
        plan.shots.push_back({d / unit, nearD / unit, farD / unit});
        if (nearD <= a * (1.0 + 1e-9))
            break;
        far = 1.0 / (1.0 / nearD - overlap * (1.0 / nearD - 1.0 / farD));
    }
    return plan;
}
} // namespace expected
