// Figures per aperture: hyperfocal distance, depth of field and its split,
// the diffraction hint. Expected values are worked out here from optics, in
// millimetres, and converted to the table's unit (1 ft = 0.3048 m exactly);
// a few are hand-worked to three decimals.
#include "model/data.h"
#include "model/figures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace
{

const double kF[kNumberOfApertures] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
const double kInf = std::numeric_limits<double>::infinity();

struct Record {
    tDataPtr data = QRLNewDataPtr();
    ~Record() { QRLDeleteDataPtr(data); }
};

// Millimetres per unit of the table.
double MillimetresPerUnit(bool feet)
{
    return feet ? 304.8 : 1000.0;
}

// Hyperfocal distance of a lens of focal length fMm at f-number n with a
// circle of confusion of circleUm micrometres: H = f² / (n·c) + f, in mm.
double HyperfocalMm(double fMm, double n, double circleUm)
{
    return fMm * fMm / (n * circleUm / 1000.0) + fMm;
}

// Limits of sharpness from the hyperfocal distance, in mm:
// near = s(H − f)/(H + s − 2f), far = s(H − f)/(H − s), no far limit from H on.
struct Expected {
    double nearMm, farMm, hyperfocalMm;
};

Expected Optics(double subjectMm, double fMm, double n, double circleUm)
{
    const double h = HyperfocalMm(fMm, n, circleUm);
    const double farMm = subjectMm >= h ? kInf : subjectMm * (h - fMm) / (h - subjectMm);
    return Expected{subjectMm * (h - fMm) / (h + subjectMm - 2.0 * fMm), farMm, h};
}

void ExpectClose(double expected, double actual, const std::string &what)
{
    if (std::isinf(expected)) {
        EXPECT_EQ(expected, actual) << what;
        return;
    }
    EXPECT_NEAR(expected, actual, std::fabs(expected) * 1e-9 + 1e-12) << what;
}

// Every figure of every row against the optics above.
void ExpectFiguresFollowOptics(double distance, double fMm, double circleUm, bool feet)
{
    Record r;
    QRLCalculateTable(r.data, feet ? kDistanceUnitFeet : kDistanceUnitMeters, distance, fMm, circleUm / 1e6,
                      fullFrameDigital);
    tTableFigures figures;
    ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
    const double perUnit = MillimetresPerUnit(feet);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const std::string what = "f/" + std::to_string(kF[i]) + " at " + std::to_string(distance) +
                                 (feet ? " ft" : " m") + ", " + std::to_string(fMm) + " mm";
        const Expected e = Optics(distance * perUnit, fMm, kF[i], circleUm);
        const tApertureFigures &row = figures.rows[i];
        const double nearDistance = e.nearMm / perUnit, farDistance = e.farMm / perUnit;
        EXPECT_EQ(kF[i], row.aperture) << what;
        ExpectClose(e.hyperfocalMm / perUnit, row.hyperfocalDistance, what + " hyperfocal");
        ExpectClose(nearDistance, row.nearDistance, what + " near");
        ExpectClose(farDistance, row.farDistance, what + " far");
        ExpectClose(distance - nearDistance, row.depthInFront, what + " in front");
        if (std::isinf(farDistance)) {
            EXPECT_EQ(kInf, row.totalDepth) << what;
            EXPECT_EQ(kInf, row.depthBehind) << what;
            EXPECT_EQ(kInf, row.behindToFrontRatio) << what;
        } else {
            // Differences of nearly equal numbers: compared in absolute terms.
            EXPECT_NEAR(farDistance - nearDistance, row.totalDepth, farDistance * 1e-9) << what;
            EXPECT_NEAR(farDistance - distance, row.depthBehind, farDistance * 1e-9) << what;
            EXPECT_NEAR((farDistance - distance) / (distance - nearDistance), row.behindToFrontRatio,
                        1e-6 * row.behindToFrontRatio)
                << what;
        }
        EXPECT_NEAR(2.44 * 0.55 * kF[i], row.airyDiscMicroMeter, 1e-9) << what;
        EXPECT_EQ(2.44 * 0.55 * kF[i] > circleUm, row.diffractionLimited) << what;
    }
}

} // namespace

// 50 mm, 30 µm: H at f/8 is 10.467 m, at f/16 5.258 m (beyond 5 m, so a far
// limit of 100.806 m), at f/22 3.838 m (5 m is past it: no far limit).
TEST(Figures, HandWorkedMetres)
{
    Record r;
    QRLCalculateTable(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
    tTableFigures figures;
    ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
    const tApertureFigures &f8 = figures.rows[5], &f16 = figures.rows[7], &f22 = figures.rows[8];
    EXPECT_NEAR(10.467, f8.hyperfocalDistance, 0.0005);
    EXPECT_NEAR(9.527 - 3.389, f8.totalDepth, 0.001);
    EXPECT_NEAR(5.0 - 3.389, f8.depthInFront, 0.0005);
    EXPECT_NEAR(9.527 - 5.0, f8.depthBehind, 0.0005);
    EXPECT_NEAR(4.527 / 1.611, f8.behindToFrontRatio, 0.001);
    EXPECT_NEAR(5.258, f16.hyperfocalDistance, 0.0005);
    EXPECT_NEAR(100.806, f16.farDistance, 0.0005);
    EXPECT_NEAR(3.838, f22.hyperfocalDistance, 0.0005);
    EXPECT_EQ(kInf, f22.farDistance);
    EXPECT_EQ(kInf, f22.totalDepth);
    EXPECT_NEAR(5.0 - 2.168, f22.depthInFront, 0.0005);
}

// The same lens at 15 ft: H at f/16 is 5.2583 m = 17.252 ft, beyond 15 ft.
TEST(Figures, HandWorkedFeet)
{
    Record r;
    QRLCalculateTable(r.data, kDistanceUnitFeet, 15.0, 50.0, 0.00003, fullFrameDigital);
    tTableFigures figures;
    ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
    EXPECT_NEAR(17.252, figures.rows[7].hyperfocalDistance, 0.0005);
    EXPECT_NEAR(113.830, figures.rows[7].farDistance, 0.0005);
    EXPECT_NEAR(34.339, figures.rows[5].hyperfocalDistance, 0.0005); // 10.4667 m
    EXPECT_EQ(kInf, figures.rows[8].farDistance);
}

TEST(Figures, FollowOpticsInMetresAndFeet)
{
    struct Case {
        double distance, fMm, circleUm;
    };
    const Case cases[] = {{5.0, 50.0, 30.0},  {3.0, 50.0, 33.0},   {10.0, 50.0, 33.0},
                          {0.3, 100.0, 20.0}, {50.0, 200.0, 10.0}, {2.5, 35.0, 10.0},
                          {1.0, 300.0, 33.0}, {7.0, 24.0, 100.0},  {1000.0, 1000.0, 100.0},
                          {0.5, 85.0, 30.0},  {20.0, 16.0, 12.5},  {100.0, 600.0, 30.0}};
    for (bool feet : {false, true})
        for (const Case &c : cases)
            ExpectFiguresFollowOptics(c.distance, c.fMm, c.circleUm, feet);
}

// A foot is exactly 0.3048 m: the same lens gives the same hyperfocal
// distance in both units.
TEST(Figures, FeetAreExactlyPointThreeZeroFourEightMetres)
{
    Record metres, feet;
    QRLCalculateTable(metres.data, kDistanceUnitMeters, 5.0, 85.0, 0.00002, APSC);
    QRLCalculateTable(feet.data, kDistanceUnitFeet, 5.0 / 0.3048, 85.0, 0.00002, APSC);
    tTableFigures m, ft;
    ASSERT_TRUE(QRLGetTableFigures(metres.data, &m));
    ASSERT_TRUE(QRLGetTableFigures(feet.data, &ft));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        EXPECT_NEAR(m.rows[i].hyperfocalDistance, ft.rows[i].hyperfocalDistance * 0.3048,
                    m.rows[i].hyperfocalDistance * 1e-12);
        EXPECT_NEAR(m.rows[i].nearDistance, ft.rows[i].nearDistance * 0.3048, 1e-12);
        EXPECT_NEAR(m.rows[i].depthInFront, ft.rows[i].depthInFront * 0.3048, 1e-12);
    }
}

// Focused exactly at a row's hyperfocal distance, or anywhere beyond it, the
// far limit is "inf" (and so are the depth behind and the total depth), and
// the near limit is half of H; a hair closer, the far limit is finite.
TEST(Figures, FarIsInfiniteExactlyFromTheHyperfocalDistanceOn)
{
    struct Lens {
        double fMm, circleUm;
    };
    for (bool feet : {false, true})
        for (const Lens lens : {Lens{50.0, 30.0}, Lens{24.0, 10.0}, Lens{135.0, 33.0}, Lens{80.0, 100.0}})
            for (int i = 0; i < kNumberOfApertures; ++i) {
                const std::string what =
                    std::to_string(lens.fMm) + " mm f/" + std::to_string(kF[i]) + (feet ? " ft" : " m");
                const double h = HyperfocalMm(lens.fMm, kF[i], lens.circleUm) / MillimetresPerUnit(feet);
                Record r;
                const auto compute = [&](double distance) {
                    QRLCalculateTable(r.data, feet ? kDistanceUnitFeet : kDistanceUnitMeters, distance,
                                      lens.fMm, lens.circleUm / 1e6, fullFrameDigital);
                    tTableFigures figures;
                    EXPECT_TRUE(QRLGetTableFigures(r.data, &figures));
                    return figures.rows[i];
                };
                const tApertureFigures at = compute(h);
                EXPECT_NEAR(h, at.hyperfocalDistance, h * 1e-12) << what;
                const double reported = at.hyperfocalDistance;
                const tApertureFigures atReported = compute(reported);
                EXPECT_EQ(kInf, atReported.farDistance) << what;
                EXPECT_EQ(kInf, atReported.totalDepth) << what;
                EXPECT_EQ(kInf, atReported.depthBehind) << what;
                EXPECT_EQ(kInf, atReported.behindToFrontRatio) << what;
                EXPECT_NEAR(h / 2.0, atReported.nearDistance, h * 1e-9) << what;
                EXPECT_EQ(kInf, compute(h).farDistance) << what;
                EXPECT_EQ(kInf, compute(std::nextafter(reported, kInf)).farDistance) << what;
                EXPECT_EQ(kInf, compute(reported * 3.0).farDistance) << what;
                const double closerDistance = h * (1.0 - 1e-6);
                const tApertureFigures closer = compute(closerDistance);
                ASSERT_TRUE(std::isfinite(closer.farDistance)) << what;
                // About (H − f)·1e6, each rounding error magnified a million times.
                const double perUnit = MillimetresPerUnit(feet);
                const double farDistance =
                    Optics(closerDistance * perUnit, lens.fMm, kF[i], lens.circleUm).farMm;
                EXPECT_NEAR(farDistance / perUnit, closer.farDistance, closer.farDistance * 1e-6) << what;
                EXPECT_GT(closer.behindToFrontRatio, 1e5) << what;
                EXPECT_TRUE(std::isfinite(compute(h * (1.0 - 1e-12)).farDistance)) << what;
            }
}

// The Airy disc, 2.44 · 0.55 µm · N, against the circle of confusion: 30 µm
// only f/32 (42.944 µm; f/22 gives 29.524 µm), 33 µm f/32 too, 100 µm none,
// 10 µm f/8 (10.736 µm) and smaller apertures.
TEST(Figures, DiffractionHint)
{
    struct Case {
        double circleUm;
        int firstLimitedRow; // 10: none
    };
    const Case cases[] = {{30.0, 9}, {33.0, 9}, {100.0, 10}, {10.0, 5}, {29.5, 8}, {1.0, 0}};
    for (const Case &c : cases) {
        Record r;
        QRLCalculateTable(r.data, kDistanceUnitMeters, 5.0, 50.0, c.circleUm / 1e6, APSC);
        tTableFigures figures;
        ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
        for (int i = 0; i < kNumberOfApertures; ++i)
            EXPECT_EQ(i >= c.firstLimitedRow, figures.rows[i].diffractionLimited)
                << c.circleUm << " µm, row " << i;
        EXPECT_NEAR(42.944, figures.rows[9].airyDiscMicroMeter, 1e-9);
        EXPECT_NEAR(10.736, figures.rows[5].airyDiscMicroMeter, 1e-9);
    }
}

// At the threshold: a circle equal to the Airy disc is not exceeded by it;
// a hair smaller is. The feet unit changes nothing.
TEST(Figures, DiffractionThreshold)
{
    for (bool feet : {false, true})
        for (int i = 0; i < kNumberOfApertures; ++i) {
            const double airyMetres = 2.44 * 0.55e-6 * kF[i];
            const auto limited = [&](double circle) {
                Record r;
                QRLCalculateTable(r.data, feet ? kDistanceUnitFeet : kDistanceUnitMeters, 10.0, 50.0, circle,
                                  fullFrameDigital);
                tTableFigures figures;
                EXPECT_TRUE(QRLGetTableFigures(r.data, &figures));
                return figures.rows[i].diffractionLimited;
            };
            EXPECT_FALSE(limited(airyMetres * (1.0 + 1e-9))) << i;
            EXPECT_TRUE(limited(airyMetres * (1.0 - 1e-9))) << i;
            EXPECT_FALSE(limited(std::nextafter(airyMetres, 1.0) * (1.0 + 1e-12))) << i;
        }
}

// A circle of 0: every depth is 0, no hyperfocal distance, the ratio has no
// value and diffraction always shows.
TEST(Figures, ZeroCircle)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        Record r;
        QRLCalculateTable(r.data, unit, 7.5, 85.0, 0.0, APSC);
        tTableFigures figures;
        ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
        for (const tApertureFigures &row : figures.rows) {
            EXPECT_EQ(kInf, row.hyperfocalDistance) << unit;
            EXPECT_DOUBLE_EQ(7.5, row.farDistance) << unit;
            EXPECT_DOUBLE_EQ(0.0, row.totalDepth) << unit;
            EXPECT_NEAR(0.0, row.depthInFront, 1e-12) << unit;
            EXPECT_TRUE(std::isnan(row.behindToFrontRatio)) << unit;
            EXPECT_TRUE(row.diffractionLimited) << unit;
        }
    }
}

// Units other than feet are metres, as in the calculation.
TEST(Figures, OtherUnitsAreMetres)
{
    for (std::int32_t unit : {0, 3, -1}) {
        Record r, m;
        QRLCalculateTable(r.data, unit, 5.0, 50.0, 0.00003, APSC);
        QRLCalculateTable(m.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
        tTableFigures figures, metres;
        ASSERT_TRUE(QRLGetTableFigures(r.data, &figures));
        ASSERT_TRUE(QRLGetTableFigures(m.data, &metres));
        for (int i = 0; i < kNumberOfApertures; ++i)
            EXPECT_EQ(metres.rows[i].hyperfocalDistance, figures.rows[i].hyperfocalDistance) << unit;
    }
}

// No figures for a record that holds no table: the caller shows the
// placeholders, never zeros.
TEST(Figures, NoneWithoutAComputedTable)
{
    tTableFigures figures;
    figures.rows[0].aperture = 99.0;
    EXPECT_FALSE(QRLGetTableFigures(nullptr, &figures));
    Record r;
    EXPECT_FALSE(QRLGetTableFigures(r.data, &figures));
    EXPECT_EQ(99.0, figures.rows[0].aperture);
    QRLCalculateTable(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    QRLSetDataValid(r.data, false);
    EXPECT_FALSE(QRLGetTableFigures(r.data, &figures));
    EXPECT_FALSE(QRLGetTableFigures(r.data, nullptr));
}
