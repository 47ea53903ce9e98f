// The depth-of-field model in metres and feet: every row and figure of a
// table against the textbook formulas of tests/support/optics.h and figures
// worked out by hand, infinity from the hyperfocal distance on, the range
// check at each bound, the record and the unit the preference chooses.
#include "model/figures.h"
#include "platform/prefs.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"
#include "tests/support/record.h"

#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace qrltest;
using namespace expected;

namespace
{

const double kInf = std::numeric_limits<double>::infinity();
const std::int32_t m = kDistanceUnitMeters, ft = kDistanceUnitFeet;

void ExpectClose(double expected, double actual, double tolerance, const std::string &what)
{
    if (std::isinf(expected) || std::isnan(expected))
        EXPECT_TRUE(std::isnan(expected) ? std::isnan(actual) : expected == actual) << what << ": " << actual;
    else
        EXPECT_NEAR(expected, actual, tolerance) << what;
}

tApertureFigures FiguresAt(std::int32_t unit, double distance, double focal, double circle, int row)
{
    const Record r(unit, distance, focal, circle, APSC);
    tTableFigures figures{};
    EXPECT_TRUE(QRLGetTableFigures(r.data, &figures));
    return figures.rows[row];
}

} // namespace

// Every row stored, through the accessors and as figures, against the
// formulas. Units other than feet are metres; 1000 mm at 2 ft is closer than
// the focal length; at 513 m, 1000 mm and 2^-14 m f/32 is exactly hyperfocal.
TEST(Model, TablesFollowTheFormulas)
{
    struct Case {
        std::int32_t unit;
        double distance, focal, circle;
        tCameraType camera;
    };
    // clang-format off
    const Case cases[] = {
        {m, 5.0, 50.0, 30e-6, fullFrameDigital}, {ft, 15.0, 50.0, 30e-6, fullFrameDigital},
        {m, 0.3, 100.0, 20e-6, APSC},   {m, 50.0, 200.0, 10e-6, thirtyFive}, {m, 1000.0, 1000.0, 100e-6, mediumFormat},
        {m, 7.0, 24.0, 100e-6, APSC},   {m, 0.008, 4.0, 30e-6, APSC},        {m, 513.0, 1000.0, std::ldexp(1.0, -14), APSC},
        {ft, 10.0, 85.0, 20e-6, APSC},  {ft, 100.0, 24.0, 33e-6, APSC},      {ft, 1000.0, 1000.0, 100e-6, APSC},
        {ft, 2.0, 1000.0, 30e-6, APSC}, {ft, 40.0, 400.0, 33e-6, APSC},      {3, 5.0, 50.0, 30e-6, APSC},
        {0, 20.0, 16.0, 12.5e-6, APSC}, {m, 7.5, 85.0, 0.0, mediumFormat},   {ft, 7.5, 85.0, 0.0, APSC}};
    // clang-format on
    for (const Case &c : cases) {
        const std::string what = std::to_string(c.distance) + " unit " + std::to_string(c.unit) + " " +
                                 std::to_string(c.focal) + " mm " + std::to_string(c.circle);
        const Record r(c.unit, c.distance, c.focal, c.circle, c.camera);
        EXPECT_TRUE(QRLIsDataValid(r.data)) << what;
        EXPECT_EQ(QRLGetDistanceUnit(r.data), c.unit) << what;
        EXPECT_EQ(QRLGetDistance(r.data), c.distance) << what;
        EXPECT_EQ(QRLGetFocalLength(r.data), c.focal) << what;
        EXPECT_DOUBLE_EQ(QRLGetUnsharpCircleinMicroMeter(r.data), c.circle * 1e6) << what;
        EXPECT_EQ(QRLGetCameraType(r.data), c.camera) << what;
        tTableFigures figures;
        ASSERT_TRUE(QRLGetTableFigures(r.data, &figures)) << what;
        const bool feet = c.unit == ft;
        for (int i = 0; i < kNumberOfApertures; ++i) {
            const double n = kApertures[i];
            const Row e = Limits(c.distance, feet, c.focal, c.circle, n);
            const std::string row = what + " f/" + std::to_string(n);
            const double nearTolerance = e.nearDistance * 1e-9, far = e.noFarLimit ? kInf : e.farDistance;
            EXPECT_EQ(r.data->table[i].aperture, n) << row;
            EXPECT_NEAR(QRLGetTableElementNearDistance(r.data, i), e.nearDistance, nearTolerance) << row;
            // No far limit is -1, or +infinity where the denominator is exactly zero.
            ExpectClose(e.farDistance < 0.0 ? -1.0 : e.farDistance, QRLGetTableElementFarDistance(r.data, i),
                        std::fabs(e.farDistance) * 1e-9, row + " far");
            const tApertureFigures &f = figures.rows[i];
            const double airy = 2.44 * 0.55 * n,
                         hyperfocal = c.circle ? Hyperfocal(feet, c.focal, c.circle, n) : kInf;
            EXPECT_EQ(f.aperture, n) << row;
            EXPECT_NEAR(f.nearDistance, e.nearDistance, nearTolerance) << row;
            ExpectClose(far, f.farDistance, far * 1e-9, row + " far figure");
            ExpectClose(hyperfocal, f.hyperfocalDistance, hyperfocal * 1e-9, row + " hyperfocal");
            ExpectClose(far - e.nearDistance, f.totalDepth, far * 1e-9, row + " total");
            EXPECT_NEAR(f.depthInFront, c.distance - e.nearDistance, c.distance * 1e-9) << row;
            ExpectClose(far - c.distance, f.depthBehind, far * 1e-9, row + " behind");
            const double ratio = c.circle ? (far - c.distance) / (c.distance - e.nearDistance) : NAN;
            ExpectClose(ratio, f.behindToFrontRatio, std::fabs(ratio) * 1e-6, row + " ratio");
            EXPECT_NEAR(f.airyDiscMicroMeter, airy, 1e-9) << row;
            EXPECT_EQ(f.diffractionLimited, airy > c.circle * 1e6) << row;
        }
    }
}

// Figures worked out by hand to three decimals (NAN: not worked out): the
// formulas of the tests themselves are checked here. 50 mm, 30 µm: H at f/16
// is 5.258 m, at f/22 3.838 m; 15 ft at f/16 reaches 113.830 ft.
TEST(Model, HandWorkedFigures)
{
    struct Case {
        std::int32_t unit;
        double distance, focal, circle;
        int row;
        double nearDistance, farDistance, hyperfocal;
    };
    // clang-format off
    const Case cases[] = {
        {m, 5.0, 50.0, 30e-6, 0, 4.616, 5.454, NAN}, {m, 5.0, 50.0, 30e-6, 5, 3.389, 9.527, 10.467},
        {m, 5.0, 50.0, 30e-6, 7, 2.564, 100.806, 5.258}, {m, 5.0, 50.0, 30e-6, 8, 2.168, kInf, 3.838},
        {m, 5.0, 50.0, 30e-6, 9, 1.724, kInf, NAN}, {m, 3.0, 50.0, 33e-6, 6, 2.100, 5.248, NAN},
        {m, 3.0, 50.0, 33e-6, 8, NAN, 20.932, NAN}, {m, 10.0, 50.0, 33e-6, 0, 8.447, 12.253, NAN},
        {m, 10.0, 50.0, 33e-6, 4, NAN, 37.808, NAN}, {m, 10.0, 50.0, 33e-6, 5, NAN, kInf, NAN},
        {ft, 15.0, 50.0, 30e-6, 0, 13.941, 16.233, NAN}, {ft, 15.0, 50.0, 30e-6, 5, 10.459, 26.507, 34.339},
        {ft, 15.0, 50.0, 30e-6, 7, 8.029, 113.830, 17.252}, {ft, 15.0, 50.0, 30e-6, 8, NAN, kInf, NAN},
        {m, 0.008, 4.0, 30e-6, 0, NAN, 0.0080849, NAN}, {m, 0.008, 4.0, 30e-6, 9, NAN, 0.0105263, NAN}};
    // clang-format on
    for (const Case &c : cases) {
        const tApertureFigures f = FiguresAt(c.unit, c.distance, c.focal, c.circle, c.row);
        const std::string what = std::to_string(c.distance) + " row " + std::to_string(c.row);
        const double tolerance = c.distance < 0.01 ? 5e-8 : 5e-4;
        EXPECT_TRUE(std::isnan(c.nearDistance) || std::fabs(f.nearDistance - c.nearDistance) <= tolerance)
            << what << ": " << f.nearDistance;
        ExpectClose(c.farDistance, f.farDistance, tolerance, what + " far");
        EXPECT_TRUE(std::isnan(c.hyperfocal) || std::fabs(f.hyperfocalDistance - c.hyperfocal) <= tolerance)
            << what << ": " << f.hyperfocalDistance;
    }
}

// Focused at a row's hyperfocal distance or anywhere beyond it the far limit
// is infinite, and so are the depth behind, the total and the ratio; the
// near limit is half of H. A hair closer the far limit is a distance.
TEST(Model, InfinityFromTheHyperfocalDistanceOn)
{
    const std::pair<double, double> lenses[] = {{50.0, 30e-6}, {24.0, 10e-6}, {135.0, 33e-6}, {80.0, 1e-4}};
    for (const std::int32_t unit : {m, ft})
        for (const auto &[focal, circle] : lenses)
            for (int i = 0; i < kNumberOfApertures; ++i) {
                const std::string what = std::to_string(focal) + " mm f/" + std::to_string(kApertures[i]);
                const double h = Hyperfocal(unit == ft, focal, circle, kApertures[i]);
                const double reported = FiguresAt(unit, h, focal, circle, i).hyperfocalDistance;
                for (const double distance : {reported, std::nextafter(reported, kInf), 3.0 * reported}) {
                    const tApertureFigures f = FiguresAt(unit, distance, focal, circle, i);
                    EXPECT_EQ(f.farDistance, kInf) << what << " at " << distance;
                    EXPECT_EQ(f.totalDepth, kInf) << what;
                    EXPECT_EQ(f.depthBehind, kInf) << what;
                    EXPECT_EQ(f.behindToFrontRatio, kInf) << what;
                }
                EXPECT_NEAR(FiguresAt(unit, reported, focal, circle, i).nearDistance, h / 2.0, h * 1e-9)
                    << what;
                // About (H − f)·1e6: each rounding error magnified a million times.
                const double closer = h * (1.0 - 1e-6);
                const Row e = Limits(closer, unit == ft, focal, circle, kApertures[i]);
                EXPECT_NEAR(FiguresAt(unit, closer, focal, circle, i).farDistance, e.farDistance,
                            e.farDistance * 1e-6)
                    << what;
                EXPECT_TRUE(std::isfinite(FiguresAt(unit, h * (1.0 - 1e-12), focal, circle, i).farDistance))
                    << what;
            }
}

// The Airy disc against the circle at the threshold: equal is not beyond.
TEST(Model, DiffractionThreshold)
{
    for (const std::int32_t unit : {m, ft})
        for (int i = 0; i < kNumberOfApertures; ++i) {
            const double airy = 2.44 * 0.55e-6 * kApertures[i];
            EXPECT_FALSE(FiguresAt(unit, 10.0, 50.0, airy * (1.0 + 1e-9), i).diffractionLimited) << i;
            EXPECT_TRUE(FiguresAt(unit, 10.0, 50.0, airy * (1.0 - 1e-9), i).diffractionLimited) << i;
            EXPECT_FALSE(
                FiguresAt(unit, 10.0, 50.0, std::nextafter(airy, 1.0) * (1.0 + 1e-12), i).diffractionLimited);
        }
}

// Every bound in metres and feet (twice F in feet: 50 mm is 0.3280840 ft,
// 1000 mm 6.5617 ft, 4 mm 0.026247 ft); the first failing check wins, and
// units other than feet are metres.
TEST(Model, RangeBounds)
{
    const double feetBound = 0.1 / 0.3048;
    struct Case {
        double distance, focalLength;
        std::int32_t unit;
        tDataRangeErr result;
    };
    // clang-format off
    const Case cases[] = {
        {1000.0, 50.0, m, kInRange},  {1000.001, 50.0, m, kDistanceTooFar},
        {std::nextafter(1000.0, 2000.0), 50.0, m, kDistanceTooFar},
        {0.1, 50.0, m, kInRange},     {0.0999, 50.0, m, kDistanceTooClose},   {0.2, 50.0, m, kInRange},
        {5.0, 1000.0, m, kInRange},   {5.0, 1000.5, m, kFocalLengthTooLong},
        {5.0, 4.0, m, kInRange},      {5.0, 3.9, m, kFocalLengthTooShort},
        {2.0, 1000.0, m, kInRange},   {1.999, 1000.0, m, kDistanceTooClose},
        {0.008, 4.0, m, kInRange},    {0.0079, 4.0, m, kDistanceTooClose},
        {2000.0, 2.0, m, kDistanceTooFar},   {0.001, 2000.0, m, kDistanceTooClose},
        {1500.0, 3000.0, m, kDistanceTooFar}, {0.0, 3.0, m, kDistanceTooClose},
        {500.0, 1200.0, m, kFocalLengthTooLong},
        {0.328084, 50.0, ft, kInRange},  {0.328083, 50.0, ft, kDistanceTooClose},
        {feetBound, 50.0, ft, kInRange}, {std::nextafter(feetBound, 0.0), 50.0, ft, kDistanceTooClose},
        {0.2, 50.0, ft, kDistanceTooClose},    {2.0, 1000.0, ft, kDistanceTooClose},
        {6.561, 1000.0, ft, kDistanceTooClose}, {6.562, 1000.0, ft, kInRange},
        {0.026247, 4.0, ft, kInRange},  {0.026246, 4.0, ft, kDistanceTooClose},
        {1000.0, 50.0, ft, kInRange},   {1000.001, 50.0, ft, kDistanceTooFar},
        {15.0, 1000.0, ft, kInRange},   {15.0, 1000.5, ft, kFocalLengthTooLong},
        {15.0, 4.0, ft, kInRange},      {15.0, 3.9, ft, kFocalLengthTooShort},
        {2000.0, 2.0, ft, kDistanceTooFar}, {0.001, 2000.0, ft, kDistanceTooClose},
        {0.1, 50.0, 0, kInRange}, {0.0999, 50.0, 3, kDistanceTooClose}, {0.2, 50.0, -1, kInRange},
        {0.1, 50.0, 7, kInRange}};
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(QRLArgumentsInRange(c.distance, c.focalLength, c.unit), c.result)
            << c.distance << " at " << c.focalLength << " mm, unit " << c.unit;
    EXPECT_EQ(QRLArgumentsInRange(0.1, 50.0), kInRange); // the unit left out means metres
}

// A new record holds zeros, even in a heap block that held other bytes, and
// no figures until a table is computed into it.
TEST(Model, NewRecordIsEmpty)
{
    void *block = ::operator new(sizeof(tData));
    std::memset(block, 0xA5, sizeof(tData));
    ::operator delete(block);
    Record r;
    tData zeros;
    std::memset(&zeros, 0, sizeof zeros);
    ASSERT_NE(r.data, nullptr);
    EXPECT_EQ(std::memcmp(r.data, &zeros, sizeof zeros), 0);
    tTableFigures figures;
    figures.rows[0].aperture = 99.0;
    EXPECT_FALSE(QRLGetTableFigures(nullptr, &figures));
    EXPECT_FALSE(QRLGetTableFigures(r.data, &figures));
    QRLCalculateTable(r.data, m, 5.0, 50.0, 30e-6, APSC);
    EXPECT_FALSE(QRLGetTableFigures(r.data, nullptr));
    QRLSetDataValid(r.data, false);
    EXPECT_FALSE(QRLGetTableFigures(r.data, &figures));
    EXPECT_EQ(figures.rows[0].aperture, 99.0);
}

// The preference, read at every calculation: only 2 is feet; missing, any
// other integer and anything not exactly a 32-bit integer compute metres.
TEST(Model, UnitFromThePreference)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
    ASSERT_TRUE(platform::preferences().fileName().startsWith(folder.path() + "/"));
    const std::pair<std::optional<const char *>, std::int32_t> cases[] = {
        {std::nullopt, m}, {"1", m},    {"2", ft}, {"0", m},          {"3", m},   {"-1", m},
        {"2.5", m},        {"feet", m}, {"", m},   {"4294967298", m}, {"2 ft", m}};
    for (const auto &[value, unit] : cases) {
        if (value)
            platform::preferences().setValue("Distance Unit", *value);
        else
            platform::preferences().remove("Distance Unit");
        platform::preferences().sync();
        const Record r(QRLReadDistanceUnit(), 15.0, 50.0, 30e-6, APSC);
        EXPECT_EQ(QRLGetDistanceUnit(r.data), unit) << value.value_or("none");
        // 15 m is beyond f/16's hyperfocal distance, 15 ft is not.
        const Row e = Limits(15.0, unit == ft, 50.0, 30e-6, 16.0);
        EXPECT_NEAR(QRLGetTableElementFarDistance(r.data, 7), e.noFarLimit ? -1.0 : e.farDistance, 1e-6)
            << value.value_or("none");
    }
}
