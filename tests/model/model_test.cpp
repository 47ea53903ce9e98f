// The depth-of-field model: worked examples, the infinity rules, the range
// check, the accessors and the distance unit taken from the preference.
//
// Expected values come from two independent sources: figures worked out by
// hand to three decimals, and the textbook thin-lens formulas evaluated here
// in metres (feet tables are converted to metres and back, 1 ft = 0.3048 m).
#include "model/data.h"
#include "platform/prefs.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <new>
#include <string>

namespace
{

const double kApertureList[kNumberOfApertures] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
const double kInfinity = std::numeric_limits<double>::infinity();
const char kUnitKey[] = "Distance Unit";

// Three-decimal figures are checked to within half a unit of the last digit.
const double kThreeDecimals = 0.0005;

struct Limits {
    double nearDistance;
    double farDistance; // -1.0: no far limit
};

// near = D f² / (f² + N c (D − f)), far = D f² / (f² − N c (D − f)); past the
// hyperfocal distance the far denominator is negative and there is no limit.
Limits TextbookLimitsInMetres(double distance, double focalLengthMm, double circle, double aperture)
{
    const double f = focalLengthMm / 1000.0;
    const double spread = aperture * circle * (distance - f);
    const double numerator = distance * f * f;
    const double farDenominator = f * f - spread;
    return Limits{numerator / (f * f + spread), farDenominator > 0.0 ? numerator / farDenominator : -1.0};
}

Limits TextbookLimitsInFeet(double distanceFt, double focalLengthMm, double circle, double aperture)
{
    const Limits metres = TextbookLimitsInMetres(distanceFt * 0.3048, focalLengthMm, circle, aperture);
    return Limits{metres.nearDistance / 0.3048,
                  metres.farDistance > 0.0 ? metres.farDistance / 0.3048 : -1.0};
}

void ExpectNearlyEqual(double expected, double actual, const std::string &what)
{
    EXPECT_NEAR(expected, actual, std::fabs(expected) * 1e-9) << what;
}

// Every row against the textbook formulas, in metres or in feet.
void ExpectRowsFollowTextbook(tDataPtr data, double distance, double focalLengthMm, double circle, bool feet)
{
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const double k = kApertureList[i];
        const Limits expected = feet ? TextbookLimitsInFeet(distance, focalLengthMm, circle, k)
                                     : TextbookLimitsInMetres(distance, focalLengthMm, circle, k);
        const std::string what = "row " + std::to_string(i) + " D=" + std::to_string(distance) +
                                 " F=" + std::to_string(focalLengthMm) + (feet ? " ft" : " m");
        EXPECT_EQ(k, data->table[i].aperture) << what;
        ExpectNearlyEqual(expected.nearDistance, data->table[i].nearDistance, what + " near");
        if (expected.farDistance < 0.0)
            EXPECT_EQ(-1.0, data->table[i].farDistance) << what << " far";
        else
            ExpectNearlyEqual(expected.farDistance, data->table[i].farDistance, what + " far");
    }
}

struct Record {
    tDataPtr data = QRLNewDataPtr();
    ~Record() { QRLDeleteDataPtr(data); }
};

// The preference store lives in a temporary folder for the whole process, so
// the tests never touch the user's own preferences.
QTemporaryDir &PreferencesFolder()
{
    static QTemporaryDir folder;
    return folder;
}

class PreferenceTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(PreferencesFolder().isValid());
        const QByteArray path = PreferencesFolder().path().toLocal8Bit();
        qputenv("XDG_CONFIG_HOME", path);
        ASSERT_EQ(0u, GetPreferencesFilePath().rfind(path.toStdString() + "/", 0))
            << "preferences would be written to " << GetPreferencesFilePath();
        CFPreferencesSetAppValue(kUnitKey, std::nullopt);
        ASSERT_TRUE(record.data != nullptr);
    }
    Record record;
};

} // namespace

// ---------------------------------------------------------------- worked examples

TEST(ModelTable, WorkedExampleMetres)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital);
    const double nearLimits[] = {4.616, 4.469, 4.287, 4.040, 3.752, 3.389, 3.024, 2.564, 2.168, 1.724};
    const double farLimits[] = {5.454, 5.674, 5.998, 6.558, 7.492, 9.527, 14.426, 100.806, -1.0, -1.0};
    for (int i = 0; i < kNumberOfApertures; ++i) {
        EXPECT_EQ(kApertureList[i], r.data->table[i].aperture) << i;
        EXPECT_NEAR(nearLimits[i], QRLGetTableElementNearDistance(r.data, i), kThreeDecimals) << i;
        EXPECT_NEAR(farLimits[i], QRLGetTableElementFarDistance(r.data, i), kThreeDecimals) << i;
    }
    EXPECT_EQ(-1.0, r.data->table[8].farDistance);
    EXPECT_EQ(-1.0, r.data->table[9].farDistance);
    EXPECT_TRUE(QRLIsDataValid(r.data));
    EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(r.data));
    EXPECT_EQ(5.0, QRLGetDistance(r.data));
    EXPECT_EQ(50.0, QRLGetFocalLength(r.data));
    EXPECT_EQ(0.00003, r.data->argumentList.unsharpCircleDiameter);
    EXPECT_EQ(fullFrameDigital, QRLGetCameraType(r.data));
}

TEST(ModelTable, SheetExampleThreeMetresFilm)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 3.0, 50.0, 0.000033, thirtyFive);
    EXPECT_NEAR(2.845, QRLGetTableElementNearDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(3.173, QRLGetTableElementFarDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(2.100, QRLGetTableElementNearDistance(r.data, 6), kThreeDecimals);
    EXPECT_NEAR(5.248, QRLGetTableElementFarDistance(r.data, 6), kThreeDecimals);
    EXPECT_NEAR(20.932, QRLGetTableElementFarDistance(r.data, 8), kThreeDecimals);
    EXPECT_NEAR(1.336, QRLGetTableElementNearDistance(r.data, 9), kThreeDecimals);
    EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, 9));
    ExpectRowsFollowTextbook(r.data, 3.0, 50.0, 0.000033, false);
}

TEST(ModelTable, SheetExampleTenMetresFilm)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 10.0, 50.0, 0.000033, thirtyFive);
    EXPECT_NEAR(8.447, QRLGetTableElementNearDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(12.253, QRLGetTableElementFarDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(37.808, QRLGetTableElementFarDistance(r.data, 4), kThreeDecimals);
    for (int i = 5; i < kNumberOfApertures; ++i) {
        EXPECT_EQ(-1.0, r.data->table[i].farDistance) << i;
        EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, i)) << i;
    }
    ExpectRowsFollowTextbook(r.data, 10.0, 50.0, 0.000033, false);
}

TEST(ModelTable, MetresFollowTextbookFormulas)
{
    struct Case {
        double distance, focalLength, circle;
    };
    const Case cases[] = {{5.0, 50.0, 0.00003},     {0.3, 100.0, 0.00002}, {50.0, 200.0, 0.00001},
                          {1000.0, 1000.0, 0.0001}, {2.5, 35.0, 0.00001},  {0.008, 4.0, 0.00003},
                          {1.0, 300.0, 0.000033},   {7.0, 24.0, 0.0001}};
    for (const Case &c : cases) {
        Record r;
        QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, c.distance, c.focalLength, c.circle, APSC);
        ExpectRowsFollowTextbook(r.data, c.distance, c.focalLength, c.circle, false);
    }
}

// At 15 ft (4.572 m) a 50 mm lens with a 30 µm circle at f/16 reaches
// 34.695 m = 113.830 ft; f/22 passes the hyperfocal distance.
TEST(ModelTable, WorkedExampleFeet)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitFeet, 15.0, 50.0, 0.00003, fullFrameDigital);
    EXPECT_NEAR(13.941, QRLGetTableElementNearDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(16.233, QRLGetTableElementFarDistance(r.data, 0), kThreeDecimals);
    EXPECT_NEAR(10.459, QRLGetTableElementNearDistance(r.data, 5), kThreeDecimals);
    EXPECT_NEAR(26.507, QRLGetTableElementFarDistance(r.data, 5), kThreeDecimals);
    EXPECT_NEAR(8.029, QRLGetTableElementNearDistance(r.data, 7), kThreeDecimals);
    EXPECT_NEAR(113.830, QRLGetTableElementFarDistance(r.data, 7), kThreeDecimals);
    EXPECT_EQ(-1.0, r.data->table[8].farDistance);
    EXPECT_EQ(-1.0, r.data->table[9].farDistance);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(r.data));
    EXPECT_EQ(15.0, QRLGetDistance(r.data));
    EXPECT_TRUE(QRLIsDataValid(r.data));
    ExpectRowsFollowTextbook(r.data, 15.0, 50.0, 0.00003, true);
}

TEST(ModelTable, FeetFollowTextbookFormulas)
{
    struct Case {
        double distance, focalLength, circle;
    };
    const Case cases[] = {{15.0, 50.0, 0.00003},  {10.0, 85.0, 0.00002},    {100.0, 24.0, 0.000033},
                          {1.0, 100.0, 0.0001},   {1000.0, 1000.0, 0.0001}, {3.0, 135.0, 0.00001},
                          {40.0, 400.0, 0.000033}};
    for (const Case &c : cases) {
        Record r;
        QRLCalculateTableInUnit(r.data, kDistanceUnitFeet, c.distance, c.focalLength, c.circle, APSC);
        ExpectRowsFollowTextbook(r.data, c.distance, c.focalLength, c.circle, true);
    }
}

// The same focusing distance gives the same limits whichever unit it is
// entered in.
TEST(ModelTable, FeetAndMetresAgree)
{
    Record metres;
    Record feet;
    QRLCalculateTableInUnit(metres.data, kDistanceUnitMeters, 3.048, 85.0, 0.00002, APSC);
    QRLCalculateTableInUnit(feet.data, kDistanceUnitFeet, 10.0, 85.0, 0.00002, APSC);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        ExpectNearlyEqual(metres.data->table[i].nearDistance / 0.3048, feet.data->table[i].nearDistance,
                          "near " + std::to_string(i));
        if (metres.data->table[i].farDistance < 0.0)
            EXPECT_EQ(-1.0, feet.data->table[i].farDistance) << i;
        else
            ExpectNearlyEqual(metres.data->table[i].farDistance / 0.3048, feet.data->table[i].farDistance,
                              "far " + std::to_string(i));
    }
}

// 1000 mm at 2 ft: the focal length (3.28 ft) is longer than the distance;
// the rows still follow the formulas, nothing is clamped.
TEST(ModelTable, FeetCloserThanFocalLengthIsNotClamped)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitFeet, 2.0, 1000.0, 0.00003, fullFrameDigital);
    ExpectRowsFollowTextbook(r.data, 2.0, 1000.0, 0.00003, true);
}

TEST(ModelTable, AperturesAreExact)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        Record r;
        QRLCalculateTableInUnit(r.data, unit, 4.0, 35.0, 0.00001, APSC);
        EXPECT_EQ(1.4, r.data->table[0].aperture);
        EXPECT_EQ(2.0, r.data->table[1].aperture);
        EXPECT_EQ(2.8, r.data->table[2].aperture);
        EXPECT_EQ(4.0, r.data->table[3].aperture);
        EXPECT_EQ(5.6, r.data->table[4].aperture);
        EXPECT_EQ(8.0, r.data->table[5].aperture);
        EXPECT_EQ(11.0, r.data->table[6].aperture);
        EXPECT_EQ(16.0, r.data->table[7].aperture);
        EXPECT_EQ(22.0, r.data->table[8].aperture);
        EXPECT_EQ(32.0, r.data->table[9].aperture);
    }
}

// A second calculation replaces every field of the first.
TEST(ModelTable, RecalculationReplacesEverything)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitFeet, 100.0, 24.0, 0.0001, mediumFormat);
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(r.data));
    EXPECT_EQ(APSC, QRLGetCameraType(r.data));
    EXPECT_EQ(5.0, QRLGetDistance(r.data));
    EXPECT_EQ(50.0, QRLGetFocalLength(r.data));
    ExpectRowsFollowTextbook(r.data, 5.0, 50.0, 0.00003, false);
}

// ---------------------------------------------------------------- infinity rules

// With F = 1000 mm the square of the focal length is exactly 1 m²; with
// c = 2^-14 m and D = 513 m the f/32 row gives 32 · 2^-14 · (1 − 513) = −1,
// so the far denominator is exactly zero: the far limit is +infinity.
TEST(ModelInfinity, ExactHyperfocalStoresPositiveInfinity)
{
    ASSERT_EQ(1.0, 1000.0 * (1000.0 * 0.000001));
    ASSERT_EQ(1.0, 1000.0 * 0.001);
    Record r;
    const double circle = std::ldexp(1.0, -14);
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 513.0, 1000.0, circle, mediumFormat);
    EXPECT_EQ(kInfinity, r.data->table[9].farDistance);
    EXPECT_EQ(kInfinity, QRLGetTableElementFarDistance(r.data, 9));
    EXPECT_NEAR(513.0 / 2.0, r.data->table[9].nearDistance, 1e-9);
    ExpectNearlyEqual(TextbookLimitsInMetres(513.0, 1000.0, circle, 22.0).farDistance,
                      r.data->table[8].farDistance, "f/22 far");
}

TEST(ModelInfinity, FarAccessorReportsOnlyNonPositiveAsNoLimit)
{
    Record r;
    r.data->table[0].farDistance = -1.0;
    r.data->table[1].farDistance = 0.0;
    r.data->table[2].farDistance = 0.005;
    r.data->table[3].farDistance = 0.01;
    r.data->table[4].farDistance = -0.0;
    r.data->table[5].farDistance = -2.5;
    r.data->table[6].farDistance = 1e-9;
    r.data->table[7].farDistance = 123.25;
    EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, 0));
    EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, 1));
    EXPECT_EQ(0.005, QRLGetTableElementFarDistance(r.data, 2));
    EXPECT_EQ(0.01, QRLGetTableElementFarDistance(r.data, 3));
    EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, 4));
    EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(r.data, 5));
    EXPECT_EQ(1e-9, QRLGetTableElementFarDistance(r.data, 6));
    EXPECT_EQ(123.25, QRLGetTableElementFarDistance(r.data, 7));
}

// A 4 mm lens focused at 8 mm: every far limit is a few millimetres beyond
// the subject (8.085 mm at f/1.4 up to 10.526 mm at f/32), never infinity.
TEST(ModelInfinity, ShortFarLimitIsADistance)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 0.008, 4.0, 0.00003, APSC);
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const Limits expected = TextbookLimitsInMetres(0.008, 4.0, 0.00003, kApertureList[i]);
        ASSERT_GT(expected.farDistance, 0.008);
        ExpectNearlyEqual(expected.farDistance, QRLGetTableElementFarDistance(r.data, i),
                          "far " + std::to_string(i));
        ExpectNearlyEqual(expected.nearDistance, QRLGetTableElementNearDistance(r.data, i),
                          "near " + std::to_string(i));
    }
    EXPECT_NEAR(0.0080849, QRLGetTableElementFarDistance(r.data, 0), 0.00000005);
    EXPECT_NEAR(0.0105263, QRLGetTableElementFarDistance(r.data, 9), 0.00000005);
}

TEST(ModelInfinity, NoStoredFarLimitIsNegativeExceptMarker)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        for (double distance : {0.5, 2.0, 5.0, 20.0, 100.0, 1000.0}) {
            Record r;
            QRLCalculateTableInUnit(r.data, unit, distance, 50.0, 0.00003, APSC);
            for (int i = 0; i < kNumberOfApertures; ++i)
                EXPECT_TRUE(r.data->table[i].farDistance > 0.0 || r.data->table[i].farDistance == -1.0)
                    << unit << " " << distance << " " << i;
        }
    }
}

TEST(ModelInfinity, ZeroCircleGivesSubjectDistance)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        Record r;
        QRLCalculateTableInUnit(r.data, unit, 7.5, 85.0, 0.0, fullFrameDigital);
        for (int i = 0; i < kNumberOfApertures; ++i) {
            EXPECT_EQ(r.data->table[i].nearDistance, r.data->table[i].farDistance) << unit << " " << i;
            EXPECT_DOUBLE_EQ(7.5, r.data->table[i].nearDistance) << unit << " " << i;
        }
    }
}

// ---------------------------------------------------------------- range check

TEST(ModelRange, MetresBoundsAreInclusive)
{
    EXPECT_EQ(kInRange, QRLArgumentsInRange(1000.0, 50.0));
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(1000.001, 50.0));
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(std::nextafter(1000.0, 2000.0), 50.0));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.1, 50.0));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.0999, 50.0));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(5.0, 1000.0));
    EXPECT_EQ(kFocalLengthTooLong, QRLArgumentsInRange(5.0, 1000.5));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(5.0, 4.0));
    EXPECT_EQ(kFocalLengthTooShort, QRLArgumentsInRange(5.0, 3.9));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(2.0, 1000.0));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(1.999, 1000.0));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.008, 4.0));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.0079, 4.0));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.1, 50.0, kDistanceUnitMeters));
}

TEST(ModelRange, MetresFirstFailingTestWins)
{
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(2000.0, 2.0));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.001, 2000.0));
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(1500.0, 3000.0));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.0, 3.0));
    EXPECT_EQ(kFocalLengthTooLong, QRLArgumentsInRange(500.0, 1200.0));
}

// Twice 50 mm is 0.1 m = 0.3280840 ft.
TEST(ModelRange, FeetLowerBoundIsTwiceFocalLengthInFeet)
{
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.328084, 50.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.328083, 50.0, kDistanceUnitFeet));
    const double bound = 0.1 / 0.3048;
    EXPECT_EQ(kInRange, QRLArgumentsInRange(bound, 50.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(std::nextafter(bound, 0.0), 50.0, kDistanceUnitFeet));
    // 0.2 passes in metres but is closer than twice 50 mm in feet.
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.2, 50.0, kDistanceUnitMeters));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.2, 50.0, kDistanceUnitFeet));
    // Twice 1000 mm is 6.5617 ft: 2 ft is too close.
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(2.0, 1000.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(6.561, 1000.0, kDistanceUnitFeet));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(6.562, 1000.0, kDistanceUnitFeet));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.026247, 4.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.026246, 4.0, kDistanceUnitFeet));
}

TEST(ModelRange, FeetOtherBoundsAndOrder)
{
    EXPECT_EQ(kInRange, QRLArgumentsInRange(1000.0, 50.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(1000.001, 50.0, kDistanceUnitFeet));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(15.0, 1000.0, kDistanceUnitFeet));
    EXPECT_EQ(kFocalLengthTooLong, QRLArgumentsInRange(15.0, 1000.5, kDistanceUnitFeet));
    EXPECT_EQ(kInRange, QRLArgumentsInRange(15.0, 4.0, kDistanceUnitFeet));
    EXPECT_EQ(kFocalLengthTooShort, QRLArgumentsInRange(15.0, 3.9, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooFar, QRLArgumentsInRange(2000.0, 2.0, kDistanceUnitFeet));
    EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.001, 2000.0, kDistanceUnitFeet));
}

// Units other than feet are checked as metres.
TEST(ModelRange, OtherUnitsUseMetres)
{
    for (std::int32_t unit : {0, 3, 7, -1}) {
        EXPECT_EQ(kInRange, QRLArgumentsInRange(0.1, 50.0, unit)) << unit;
        EXPECT_EQ(kInRange, QRLArgumentsInRange(0.2, 50.0, unit)) << unit;
        EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.0999, 50.0, unit)) << unit;
    }
}

// ---------------------------------------------------------------- records and accessors

TEST(ModelRecord, NullRecordGivesZeroes)
{
    const tDataPtr none = nullptr;
    EXPECT_EQ(0.0, QRLGetTableElementNearDistance(none, 0));
    EXPECT_EQ(0.0, QRLGetTableElementFarDistance(none, 0));
    EXPECT_EQ(0.0, QRLGetTableElementFarDistance(none, 9));
    EXPECT_EQ(0.0, QRLGetFocalLength(none));
    EXPECT_EQ(0.0, QRLGetDistance(none));
    EXPECT_EQ(0.0, QRLGetUnsharpCircleinMicroMeter(none));
    EXPECT_EQ(0, QRLGetCameraType(none));
    EXPECT_EQ(0, QRLGetDistanceUnit(none));
    EXPECT_FALSE(QRLIsDataValid(none));
    QRLSetDataValid(none, true);
    EXPECT_FALSE(QRLIsDataValid(none));
    QRLCalculateTable(none, 5.0, 50.0, 0.00003, APSC);
    QRLCalculateTableInUnit(none, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    QRLDeleteDataPtr(none);
}

// The heap block a new record is likely to reuse is dirtied first, so a
// record that is not cleared would show it.
TEST(ModelRecord, NewRecordIsZeroFilled)
{
    for (int round = 0; round < 4; ++round) {
        void *block = ::operator new(sizeof(tData));
        std::memset(block, 0xA5, sizeof(tData));
        ::operator delete(block);
        Record r;
        ASSERT_TRUE(r.data != nullptr);
        EXPECT_FALSE(r.data->valid);
        EXPECT_FALSE(QRLIsDataValid(r.data));
        EXPECT_EQ(0, r.data->distanceUnit);
        EXPECT_EQ(0.0, r.data->argumentList.distance);
        EXPECT_EQ(0.0, r.data->argumentList.focalLength);
        EXPECT_EQ(0.0, r.data->argumentList.unsharpCircleDiameter);
        EXPECT_EQ(0, r.data->argumentList.cameraType);
        for (const tTableElement &row : r.data->table) {
            EXPECT_EQ(0.0, row.aperture);
            EXPECT_EQ(0.0, row.nearDistance);
            EXPECT_EQ(0.0, row.farDistance);
        }
    }
}

TEST(ModelRecord, ValidFlagRoundTrips)
{
    Record r;
    QRLSetDataValid(r.data, true);
    EXPECT_TRUE(QRLIsDataValid(r.data));
    QRLSetDataValid(r.data, false);
    EXPECT_FALSE(QRLIsDataValid(r.data));
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    EXPECT_TRUE(QRLIsDataValid(r.data));
}

TEST(ModelRecord, CameraTypeIsLowSixteenBits)
{
    Record r;
    for (tCameraType type : {APSC, fullFrameDigital, thirtyFive, mediumFormat}) {
        QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, type);
        EXPECT_EQ(type, r.data->argumentList.cameraType);
        EXPECT_EQ(static_cast<std::int16_t>(type), QRLGetCameraType(r.data));
    }
    r.data->argumentList.cameraType = static_cast<tCameraType>(0x00010002);
    EXPECT_EQ(2, QRLGetCameraType(r.data));
    r.data->argumentList.cameraType = static_cast<tCameraType>(0x0000FFFF);
    EXPECT_EQ(-1, QRLGetCameraType(r.data));
    r.data->argumentList.cameraType = static_cast<tCameraType>(-2);
    EXPECT_EQ(-2, QRLGetCameraType(r.data));
    r.data->argumentList.cameraType = static_cast<tCameraType>(0x7FFF8000);
    EXPECT_EQ(-32768, QRLGetCameraType(r.data));
}

TEST(ModelRecord, ArgumentsAreStoredUnchanged)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitFeet, 12.345, 105.5, 0.0000123, APSC);
    EXPECT_EQ(12.345, QRLGetDistance(r.data));
    EXPECT_EQ(105.5, QRLGetFocalLength(r.data));
    EXPECT_EQ(0.0000123, r.data->argumentList.unsharpCircleDiameter);
    EXPECT_EQ(APSC, r.data->argumentList.cameraType);
}

TEST(ModelRecord, CircleInMicrometres)
{
    Record r;
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
    EXPECT_DOUBLE_EQ(30.0, QRLGetUnsharpCircleinMicroMeter(r.data));
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.000033, thirtyFive);
    EXPECT_DOUBLE_EQ(33.0, QRLGetUnsharpCircleinMicroMeter(r.data));
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.0001, mediumFormat);
    EXPECT_DOUBLE_EQ(100.0, QRLGetUnsharpCircleinMicroMeter(r.data));
    QRLCalculateTableInUnit(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.0, APSC);
    EXPECT_EQ(0.0, QRLGetUnsharpCircleinMicroMeter(r.data));
}

// ---------------------------------------------------------------- unit from the preference

TEST_F(PreferenceTest, MissingPreferenceMeansMetres)
{
    QRLCalculateTable(record.data, 5.0, 50.0, 0.00003, fullFrameDigital);
    EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(record.data));
    EXPECT_TRUE(QRLIsDataValid(record.data));
    EXPECT_NEAR(2.564, QRLGetTableElementNearDistance(record.data, 7), kThreeDecimals);
    EXPECT_NEAR(100.806, QRLGetTableElementFarDistance(record.data, 7), kThreeDecimals);
    ExpectRowsFollowTextbook(record.data, 5.0, 50.0, 0.00003, false);
}

TEST_F(PreferenceTest, MetresPreference)
{
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(1));
    QRLCalculateTable(record.data, 3.0, 50.0, 0.000033, thirtyFive);
    EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(record.data));
    EXPECT_NEAR(20.932, QRLGetTableElementFarDistance(record.data, 8), kThreeDecimals);
    ExpectRowsFollowTextbook(record.data, 3.0, 50.0, 0.000033, false);
}

TEST_F(PreferenceTest, FeetPreference)
{
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(2));
    QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, fullFrameDigital);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(record.data));
    EXPECT_TRUE(QRLIsDataValid(record.data));
    EXPECT_EQ(15.0, QRLGetDistance(record.data));
    EXPECT_NEAR(113.830, QRLGetTableElementFarDistance(record.data, 7), kThreeDecimals);
    ExpectRowsFollowTextbook(record.data, 15.0, 50.0, 0.00003, true);
}

// The preference is read again at every calculation.
TEST_F(PreferenceTest, UnitIsReadAtEveryCalculation)
{
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(2));
    QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(record.data));
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(1));
    QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(record.data));
    ExpectRowsFollowTextbook(record.data, 15.0, 50.0, 0.00003, false);
    CFPreferencesSetAppValue(kUnitKey, std::nullopt);
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(2));
    QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(record.data));
    ExpectRowsFollowTextbook(record.data, 15.0, 50.0, 0.00003, true);
}

// Any integer other than 2 is computed as metres and kept as read.
TEST_F(PreferenceTest, OtherIntegersAreComputedAsMetres)
{
    for (std::int32_t unit : {0, 3, 7, -1}) {
        CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(unit));
        QRLCalculateTable(record.data, 5.0, 50.0, 0.00003, APSC);
        EXPECT_EQ(unit, QRLGetDistanceUnit(record.data));
        EXPECT_TRUE(QRLIsDataValid(record.data));
        EXPECT_NEAR(100.806, QRLGetTableElementFarDistance(record.data, 7), kThreeDecimals) << unit;
        ExpectRowsFollowTextbook(record.data, 5.0, 50.0, 0.00003, false);
    }
}

// A value that is not exactly a 32-bit integer means metres.
TEST_F(PreferenceTest, UnreadablePreferenceMeansMetres)
{
    for (const char *text : {"2.5", "feet", "", "4294967298", "2 ft"}) {
        CFPreferencesSetAppValue(kUnitKey, CFPropertyList{text});
        QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, APSC);
        EXPECT_EQ(kDistanceUnitMeters, QRLGetDistanceUnit(record.data)) << '"' << text << '"';
        ExpectRowsFollowTextbook(record.data, 15.0, 50.0, 0.00003, false);
    }
}

// The preference survives being written out and read back from the file.
TEST_F(PreferenceTest, StoredPreferenceIsRead)
{
    CFPreferencesSetAppValue(kUnitKey, CFNumberCreate(2));
    ASSERT_TRUE(CFPreferencesAppSynchronize());
    QRLCalculateTable(record.data, 15.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(record.data));
}
