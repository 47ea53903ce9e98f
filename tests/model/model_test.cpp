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
#include <vector>

namespace
{

const double kApertureList[kNumberOfApertures] = {1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 22.0, 32.0};
const double kInfinity = std::numeric_limits<double>::infinity();
const char kUnitKey[] = "Distance Unit";
const double kThreeDecimals = 0.0005; // half a unit of the last hand-worked digit

struct Limits {
    double nearDistance, farDistance; // far -1.0: no far limit
};

// near = D f² / (f² + N c (D − f)), far = D f² / (f² − N c (D − f)); past the
// hyperfocal distance the far denominator is negative and there is no limit.
Limits Textbook(double distance, double focalLengthMm, double circle, double aperture, bool feet)
{
    const double unit = feet ? 0.3048 : 1.0;
    const double d = distance * unit, f = focalLengthMm / 1000.0;
    const double spread = aperture * circle * (d - f);
    const double farDenominator = f * f - spread;
    return Limits{d * f * f / (f * f + spread) / unit,
                  farDenominator > 0.0 ? d * f * f / farDenominator / unit : -1.0};
}

void ExpectNearlyEqual(double expected, double actual, const std::string &what)
{
    EXPECT_NEAR(expected, actual, std::fabs(expected) * 1e-9) << what;
}

// Every row, stored and through the accessors, against the textbook formulas.
void ExpectRowsFollowTextbook(tDataPtr data, double distance, double focalLengthMm, double circle, bool feet)
{
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const Limits expected = Textbook(distance, focalLengthMm, circle, kApertureList[i], feet);
        const std::string what = "row " + std::to_string(i) + " D=" + std::to_string(distance) +
                                 " F=" + std::to_string(focalLengthMm) + (feet ? " ft" : " m");
        EXPECT_EQ(kApertureList[i], data->table[i].aperture) << what;
        ExpectNearlyEqual(expected.nearDistance, data->table[i].nearDistance, what + " near");
        ExpectNearlyEqual(expected.nearDistance, QRLGetTableElementNearDistance(data, i), what + " near");
        if (expected.farDistance < 0.0) {
            EXPECT_EQ(-1.0, data->table[i].farDistance) << what << " far";
            EXPECT_EQ(-1.0, QRLGetTableElementFarDistance(data, i)) << what << " far";
        } else {
            ExpectNearlyEqual(expected.farDistance, data->table[i].farDistance, what + " far");
            ExpectNearlyEqual(expected.farDistance, QRLGetTableElementFarDistance(data, i), what + " far");
        }
    }
}

struct Record {
    tDataPtr data = QRLNewDataPtr();
    ~Record() { QRLDeleteDataPtr(data); }
};

// A preference store in a temporary folder, never the user's own.
class PreferenceTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        static QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        const QByteArray path = folder.path().toLocal8Bit();
        qputenv("XDG_CONFIG_HOME", path);
        ASSERT_TRUE(platform::preferences().fileName().startsWith(folder.path() + "/"))
            << platform::preferences().fileName().toStdString();
        platform::preferences().remove(kUnitKey);
        ASSERT_TRUE(record.data != nullptr);
    }
    Record record;
};

} // namespace

// Hand-worked figures (row, near, far; NAN: not worked out) and every row by
// the formulas. At 15 ft (4.572 m) 50 mm, 30 µm, f/16 reaches 34.695 m =
// 113.830 ft.
TEST(ModelTable, WorkedExamples)
{
    struct Spot {
        int row;
        double nearDistance, farDistance;
    };
    struct Case {
        std::int32_t unit;
        double distance, focalLength, circle;
        tCameraType type;
        std::vector<Spot> spots;
    };
    // clang-format off
    const Case cases[] = {
        {kDistanceUnitMeters, 5.0, 50.0, 0.00003, fullFrameDigital,
         {{0, 4.616, 5.454}, {1, 4.469, 5.674}, {2, 4.287, 5.998}, {3, 4.040, 6.558}, {4, 3.752, 7.492},
          {5, 3.389, 9.527}, {6, 3.024, 14.426}, {7, 2.564, 100.806}, {8, 2.168, -1.0}, {9, 1.724, -1.0}}},
        {kDistanceUnitMeters, 3.0, 50.0, 0.000033, thirtyFive,
         {{0, 2.845, 3.173}, {6, 2.100, 5.248}, {8, NAN, 20.932}, {9, 1.336, -1.0}}},
        {kDistanceUnitMeters, 10.0, 50.0, 0.000033, thirtyFive,
         {{0, 8.447, 12.253}, {4, NAN, 37.808}, {5, NAN, -1.0}, {9, NAN, -1.0}}},
        {kDistanceUnitFeet, 15.0, 50.0, 0.00003, fullFrameDigital,
         {{0, 13.941, 16.233}, {5, 10.459, 26.507}, {7, 8.029, 113.830}, {8, NAN, -1.0}, {9, NAN, -1.0}}}};
    // clang-format on
    Record r; // each case recalculates the one record: every field is replaced
    QRLCalculateTable(r.data, kDistanceUnitFeet, 100.0, 24.0, 0.0001, mediumFormat);
    for (const Case &c : cases) {
        SCOPED_TRACE("case D=" + std::to_string(c.distance) + " unit " + std::to_string(c.unit));
        QRLCalculateTable(r.data, c.unit, c.distance, c.focalLength, c.circle, c.type);
        for (const Spot &s : c.spots) {
            if (!std::isnan(s.nearDistance)) {
                EXPECT_NEAR(s.nearDistance, QRLGetTableElementNearDistance(r.data, s.row), kThreeDecimals)
                    << s.row;
            }
            if (s.farDistance == -1.0) {
                EXPECT_EQ(-1.0, r.data->table[s.row].farDistance) << s.row;
            }
            EXPECT_NEAR(s.farDistance, QRLGetTableElementFarDistance(r.data, s.row), kThreeDecimals) << s.row;
        }
        EXPECT_TRUE(QRLIsDataValid(r.data));
        EXPECT_EQ(c.unit, QRLGetDistanceUnit(r.data));
        EXPECT_EQ(c.distance, QRLGetDistance(r.data));
        EXPECT_EQ(c.focalLength, QRLGetFocalLength(r.data));
        EXPECT_EQ(c.circle, r.data->argumentList.unsharpCircleDiameter);
        EXPECT_EQ(c.type, QRLGetCameraType(r.data));
        EXPECT_DOUBLE_EQ(c.circle * 1e6, QRLGetUnsharpCircleinMicroMeter(r.data));
        ExpectRowsFollowTextbook(r.data, c.distance, c.focalLength, c.circle, c.unit == kDistanceUnitFeet);
    }
}

// Includes 1000 mm at 2 ft, closer than the focal length: not clamped.
TEST(ModelTable, RowsFollowTextbookFormulas)
{
    struct Case {
        bool feet;
        double distance, focalLength, circle;
    };
    const Case cases[] = {
        {false, 0.3, 100.0, 0.00002},   {false, 50.0, 200.0, 0.00001}, {false, 1000.0, 1000.0, 0.0001},
        {false, 2.5, 35.0, 0.00001},    {false, 1.0, 300.0, 0.000033}, {false, 7.0, 24.0, 0.0001},
        {true, 10.0, 85.0, 0.00002},    {true, 100.0, 24.0, 0.000033}, {true, 1.0, 100.0, 0.0001},
        {true, 1000.0, 1000.0, 0.0001}, {true, 3.0, 135.0, 0.00001},   {true, 40.0, 400.0, 0.000033},
        {true, 2.0, 1000.0, 0.00003}};
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (bool feet : {false, true})
        for (double distance : {0.5, 2.0, 5.0, 20.0, 100.0, 1000.0})
            all.push_back({feet, distance, 50.0, 0.00003});
    for (const Case &c : all) {
        Record r;
        QRLCalculateTable(r.data, c.feet ? kDistanceUnitFeet : kDistanceUnitMeters, c.distance, c.focalLength,
                          c.circle, APSC);
        ExpectRowsFollowTextbook(r.data, c.distance, c.focalLength, c.circle, c.feet);
    }
}

// With F = 1000 mm, f² is exactly 1 m²; with c = 2^-14 m and D = 513 m the
// f/32 row gives 32 · 2^-14 · (1 − 513) = −1: the far denominator is exactly
// zero and the far limit +infinity.
TEST(ModelInfinity, ExactHyperfocalStoresPositiveInfinity)
{
    ASSERT_EQ(1.0, 1000.0 * (1000.0 * 0.000001));
    Record r;
    const double circle = std::ldexp(1.0, -14);
    QRLCalculateTable(r.data, kDistanceUnitMeters, 513.0, 1000.0, circle, mediumFormat);
    EXPECT_EQ(kInfinity, r.data->table[9].farDistance);
    EXPECT_EQ(kInfinity, QRLGetTableElementFarDistance(r.data, 9));
    EXPECT_NEAR(513.0 / 2.0, r.data->table[9].nearDistance, 1e-9);
    ExpectNearlyEqual(Textbook(513.0, 1000.0, circle, 22.0, false).farDistance, r.data->table[8].farDistance,
                      "f/22 far");
}

TEST(ModelInfinity, FarAccessorReportsOnlyNonPositiveAsNoLimit)
{
    const std::pair<double, double> cases[] = {{-1.0, -1.0}, {0.0, -1.0},  {0.005, 0.005}, {0.01, 0.01},
                                               {-0.0, -1.0}, {-2.5, -1.0}, {1e-9, 1e-9},   {123.25, 123.25}};
    Record r;
    for (const auto &[stored, reported] : cases) {
        r.data->table[3].farDistance = stored;
        EXPECT_EQ(reported, QRLGetTableElementFarDistance(r.data, 3)) << "case " << stored;
    }
}

// A 4 mm lens focused at 8 mm: every far limit is a few millimetres beyond
// the subject (8.085 mm at f/1.4 up to 10.526 mm at f/32), never infinity.
TEST(ModelInfinity, ShortFarLimitIsADistance)
{
    Record r;
    QRLCalculateTable(r.data, kDistanceUnitMeters, 0.008, 4.0, 0.00003, APSC);
    ExpectRowsFollowTextbook(r.data, 0.008, 4.0, 0.00003, false);
    EXPECT_NEAR(0.0080849, QRLGetTableElementFarDistance(r.data, 0), 0.00000005);
    EXPECT_NEAR(0.0105263, QRLGetTableElementFarDistance(r.data, 9), 0.00000005);
}

TEST(ModelInfinity, ZeroCircleGivesSubjectDistance)
{
    for (std::int32_t unit : {kDistanceUnitMeters, kDistanceUnitFeet}) {
        Record r;
        QRLCalculateTable(r.data, unit, 7.5, 85.0, 0.0, fullFrameDigital);
        for (const tTableElement &row : r.data->table) {
            EXPECT_EQ(row.nearDistance, row.farDistance) << unit;
            EXPECT_DOUBLE_EQ(7.5, row.nearDistance) << unit;
        }
        EXPECT_EQ(0.0, QRLGetUnsharpCircleinMicroMeter(r.data));
    }
}

// Every bound in metres and feet (twice F converted to feet: 50 mm is
// 0.3280840 ft, 1000 mm 6.5617 ft, 4 mm 0.026247 ft), and the first failing
// test wins. Units other than feet are checked as metres.
TEST(ModelRange, BoundsAndOrder)
{
    const std::int32_t m = kDistanceUnitMeters, ft = kDistanceUnitFeet;
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
        {2000.0, 2.0, ft, kDistanceTooFar}, {0.001, 2000.0, ft, kDistanceTooClose}};
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(c.result, QRLArgumentsInRange(c.distance, c.focalLength, c.unit))
            << "case " << c.distance << " at " << c.focalLength << " mm, unit " << c.unit;
    EXPECT_EQ(kInRange, QRLArgumentsInRange(0.1, 50.0)); // the unit left out means metres
    for (std::int32_t unit : {0, 3, 7, -1}) {
        EXPECT_EQ(kInRange, QRLArgumentsInRange(0.1, 50.0, unit)) << unit;
        EXPECT_EQ(kInRange, QRLArgumentsInRange(0.2, 50.0, unit)) << unit;
        EXPECT_EQ(kDistanceTooClose, QRLArgumentsInRange(0.0999, 50.0, unit)) << unit;
    }
}

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
    QRLCalculateTable(none, kDistanceUnitMeters, 5.0, 50.0, 0.00003, APSC);
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
        EXPECT_EQ(0, r.data->distanceUnit);
        const tArgumentList &a = r.data->argumentList;
        EXPECT_TRUE(a.distance == 0.0 && a.focalLength == 0.0 && a.unsharpCircleDiameter == 0.0 &&
                    a.cameraType == 0);
        for (const tTableElement &row : r.data->table)
            EXPECT_TRUE(row.aperture == 0.0 && row.nearDistance == 0.0 && row.farDistance == 0.0);
        QRLSetDataValid(r.data, true);
        EXPECT_TRUE(QRLIsDataValid(r.data));
        QRLSetDataValid(r.data, false);
        EXPECT_FALSE(QRLIsDataValid(r.data));
    }
}

TEST(ModelRecord, CameraTypeIsLowSixteenBits)
{
    Record r;
    for (tCameraType type : {APSC, fullFrameDigital, thirtyFive, mediumFormat}) {
        QRLCalculateTable(r.data, kDistanceUnitMeters, 5.0, 50.0, 0.00003, type);
        EXPECT_EQ(type, r.data->argumentList.cameraType);
        EXPECT_EQ(static_cast<std::int16_t>(type), QRLGetCameraType(r.data));
    }
    const std::pair<std::int32_t, std::int16_t> cases[] = {
        {0x00010002, 2}, {0x0000FFFF, -1}, {-2, -2}, {0x7FFF8000, -32768}};
    for (const auto &[stored, reported] : cases) {
        r.data->argumentList.cameraType = static_cast<tCameraType>(stored);
        EXPECT_EQ(reported, QRLGetCameraType(r.data)) << "case " << stored;
    }
}

// Read at every calculation: missing, 1 and any integer other than 2 compute
// metres (the unit kept as read); a value that is not exactly a 32-bit
// integer means metres.
TEST_F(PreferenceTest, UnitFromThePreference)
{
    struct Case {
        std::optional<QString> value;
        std::int32_t unitStored;
    };
    std::vector<Case> cases = {{std::nullopt, kDistanceUnitMeters}};
    // Only 2 is feet; any other stored number is metres, and recorded as 1.
    for (std::int32_t unit : {1, 2, 0, 3, 7, -1})
        cases.push_back(
            {QString::number(unit), unit == kDistanceUnitFeet ? kDistanceUnitFeet : kDistanceUnitMeters});
    for (const char *text : {"2.5", "feet", "", "4294967298", "2 ft"})
        cases.push_back({QString::fromLatin1(text), kDistanceUnitMeters});
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE("case " + std::to_string(n++));
        if (c.value)
            platform::preferences().setValue(kUnitKey, *c.value);
        else
            platform::preferences().remove(kUnitKey);
        const bool feet = c.unitStored == kDistanceUnitFeet;
        const double distance = feet ? 15.0 : 5.0;
        QRLCalculateTable(record.data, QRLReadDistanceUnit(), distance, 50.0, 0.00003, fullFrameDigital);
        EXPECT_EQ(c.unitStored, QRLGetDistanceUnit(record.data));
        EXPECT_TRUE(QRLIsDataValid(record.data));
        EXPECT_EQ(distance, QRLGetDistance(record.data));
        EXPECT_NEAR(feet ? 113.830 : 100.806, QRLGetTableElementFarDistance(record.data, 7), kThreeDecimals);
        if (!feet) {
            EXPECT_NEAR(2.564, QRLGetTableElementNearDistance(record.data, 7), kThreeDecimals);
        }
        ExpectRowsFollowTextbook(record.data, distance, 50.0, 0.00003, feet);
    }
    platform::preferences().setValue(kUnitKey, 2);
    platform::preferences().sync(); // written out and read back
    ASSERT_EQ(platform::preferences().status(), QSettings::NoError);
    QRLCalculateTable(record.data, QRLReadDistanceUnit(), 15.0, 50.0, 0.00003, APSC);
    EXPECT_EQ(kDistanceUnitFeet, QRLGetDistanceUnit(record.data));
}
