// The depth-of-field model in metres and feet against the formulas of
// tests/support/optics.h: limits and hyperfocal distances, infinity from the
// hyperfocal distance on and the range check at each bound.
#include "model/figures.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"

#include <gtest/gtest.h>

using namespace qrltest;
using namespace expected;

namespace
{

const std::int32_t m = kDistanceUnitMeters, ft = kDistanceUnitFeet;

tApertureFigures FiguresAt(std::int32_t unit, double distance, double focal, double circle, int row)
{
    tTableFigures figures{};
    EXPECT_TRUE(QRLGetTableFigures(Record(unit, distance, focal, circle, APSC).data, &figures));
    return figures.rows[row];
}

} // namespace

// Every row in metres, feet and another unit (which is metres), for lenses
// from 4 to 1000 mm, against the formulas: at distances closer than the focal
// length and ordinary ones, a hair closer than H (each rounding error there is
// magnified about (H − f)·1e6 times), and from H on, where the far limit, the
// total, the depth behind and the ratio are infinite.
TEST(Model, LimitsAndInfinityFromTheHyperfocalDistanceOn)
{
    const double lenses[][2] = {{50.0, 30e-6}, {24.0, 10e-6}, {135.0, 33e-6}, {4.0, 30e-6}, {1000.0, 1e-4}};
    for (const std::int32_t unit : {m, ft, 3})
        for (const auto &[focal, circle] : lenses)
            for (int i = 0; i < kNumberOfApertures; ++i) {
                const double h = Hyperfocal(unit == ft, focal, circle, kApertures[i]),
                             closer = h * (1.0 - 1e-6);
                const double reported = FiguresAt(unit, h, focal, circle, i).hyperfocalDistance;
                ExpectClose(h, reported);
                for (const double distance : {0.008, 2.0, 15.0, closer, reported,
                                              std::nextafter(reported, INFINITY), 3.0 * reported}) {
                    SCOPED_TRACE(testing::Message() << distance << " unit " << unit << ", " << focal
                                                    << " mm f/" << kApertures[i]);
                    const tApertureFigures f = FiguresAt(unit, distance, focal, circle, i);
                    const Row e = Limits(distance, unit == ft, focal, circle, kApertures[i]);
                    EXPECT_EQ(f.aperture, kApertures[i]);
                    ExpectClose(e.nearDistance, f.nearDistance);
                    if (distance < reported)
                        ExpectClose(e.farDistance, f.farDistance, distance == closer ? 1e-6 : 1e-9);
                    else
                        EXPECT_EQ(std::vector<double>(
                                      {f.farDistance, f.totalDepth, f.depthBehind, f.behindToFrontRatio}),
                                  std::vector<double>(4, INFINITY));
                }
                EXPECT_TRUE(std::isfinite(FiguresAt(unit, h * (1.0 - 1e-12), focal, circle, i).farDistance));
            }
}

// What the table window and the command line cannot tell apart: which failing check wins, the bounds
// just past 1000 and at the shortest lens in feet; units other than feet, and the unit left out, are metres.
TEST(Model, RangeBounds)
{
    const double past1000 = std::nextafter(1000.0, 2000.0);
    // clang-format off
    const struct {
        double distance, focal;
        std::int32_t unit;
        tDataRangeErr result;
    } cases[] = {
        {past1000, 50.0, m, kDistanceTooFar}, {2000.0, 2.0, m, kDistanceTooFar}, {0.001, 2000.0, m, kDistanceTooClose},
        {500.0, 1200.0, m, kFocalLengthTooLong}, {0.026247, 4.0, ft, kInRange}, {0.026246, 4.0, ft, kDistanceTooClose},
        {1000.001, 50.0, ft, kDistanceTooFar}, {0.0999, 50.0, 3, kDistanceTooClose}, {0.2, 50.0, -1, kInRange},
        {0.1, 50.0, 7, kInRange}};
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(QRLArgumentsInRange(c.distance, c.focal, c.unit), c.result)
            << c.distance << " at " << c.focal << " mm, unit " << c.unit;
    EXPECT_EQ(QRLArgumentsInRange(0.1, 50.0), kInRange);
}
