// Focus bracketing plans worked out without the program, from the textbook
// depth-of-field formulas in metres: each shot is the focusing distance whose
// far limit is the one wanted, the next far limit reaching back into the
// shot's sharp zone by the overlap, measured in dioptres.
#pragma once

#include <cmath>
#include <vector>

namespace expected
{

struct Shot {
    double focus, nearDistance, farDistance; // in the plan's unit; far is +infinity without a limit
};

struct Plan {
    double hyperfocal;
    std::vector<Shot> shots;
};

// With D the focusing distance: near = D f² / (f² + N c (D − f)),
// far = D f² / (f² − N c (D − f)), no far limit from H = f²/(N c) + f on.
// Solving far = F for D gives D = F f (f + N c) / (f² + F N c). The plan ends
// at the first shot whose near limit reaches A (to a part in 10⁹), or after
// `most` shots.
inline Plan BracketingPlan(double focalMillimetres, double aperture, double circleMetres, double nearLimit,
                           double farLimit, double overlap, bool feet, std::size_t most = 1000)
{
    const double unit = feet ? 0.3048 : 1.0, f = focalMillimetres / 1000.0, nc = aperture * circleMetres;
    const double hyperfocal = f * f / nc + f, a = nearLimit * unit;
    Plan plan{hyperfocal / unit, {}};
    double far = farLimit * unit;
    while (plan.shots.size() < most) {
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
