// The table sheet as a user sees it in the document window: the header, the
// rule and the picture, the ten rows, the placeholders of an empty document,
// the labels and their units, and the layout at the window's size.
#include "document/document.h"
#include "document/mainwindow.h"
#include "expected.h"
#include "platform/bundle.h"
#include "platform/internal.h"
#include "platform/prefs.h"
#include "tests/support/app_driver.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qrltest;
using expected::Label;

namespace
{

Rect Bounds(WindowRef window)
{
    Rect bounds;
    GetWindowPortBounds(window, &bounds);
    return bounds;
}

// The items of a kind; with x and y, only those whose frame's top-left
// corner is at (L + x, T + y).
std::vector<PortItem> ItemsOfKind(WindowRef window, PortItem::Kind kind, int x = -1, int y = -1)
{
    const Rect bounds = Bounds(window);
    std::vector<PortItem> found;
    for (const PortItem &item : Contents(window))
        if (item.kind == kind &&
            (x < 0 || (item.frame.left == bounds.left + x && item.frame.top == bounds.top + y)))
            found.push_back(item);
    return found;
}

std::vector<PortItem> TextItemsAt(WindowRef window, short x, short y)
{
    return ItemsOfKind(window, PortItem::Kind::text, x, y);
}

// The one text at (L + x, T + y), or a note of what is there instead.
std::string OnlyTextAt(WindowRef window, short x, short y)
{
    const std::vector<PortItem> items = TextItemsAt(window, x, y);
    return items.size() == 1 ? items[0].text : "<" + std::to_string(items.size()) + " texts>";
}

short RowTop(int row)
{
    return short(150 + 30 * row);
}

// The distance unit chosen as a user does, in the preferences window.
void ChooseDistanceUnit(int item)
{
    SendCommand("pref");
    WindowRef prefs = FrontWindow();
    ASSERT_NE(prefs, nullptr);
    ASSERT_EQ(GetWindowNibName(prefs), "PrefWindow");
    ASSERT_TRUE(ChoosePopupItem(Control(prefs, "DIUN"), item));
    ASSERT_TRUE(ClickCommandButton(prefs, FOUR_CHAR_CODE("ok  ")));
    ASSERT_FALSE(IsWindowVisible(prefs));
}

void ExpectRows(WindowRef window, const std::vector<expected::Row> &rows)
{
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(OnlyTextAt(window, 140, RowTop(i)), expected::NearText(rows[i])) << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 280, RowTop(i)), expected::FarText(rows[i])) << "row " << i;
    }
}

void ExpectUnitLabels(WindowRef window, bool feet)
{
    EXPECT_EQ(OnlyTextAt(window, 210, 20), Label(feet ? "distancefeet" : "distancemeter"));
    EXPECT_EQ(OnlyTextAt(window, 120, 110), Label(feet ? "neardistancefeet" : "neardistancemeter"));
    EXPECT_EQ(OnlyTextAt(window, 260, 110), Label(feet ? "fardistancefeet" : "fardistancemeter"));
}

std::array<int, 4> LTRB(const Rect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// The rule across the window at 90 and picture 128 at (312, 62), fixed
// whatever the port's origin.
void ExpectRuleAndPicture(WindowRef window)
{
    const std::vector<PortItem> lines = ItemsOfKind(window, PortItem::Kind::line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(LTRB(lines[0].frame), (std::array<int, 4>{10, 90, Bounds(window).right - 10, 90}));
    const std::vector<PortItem> pictures = ItemsOfKind(window, PortItem::Kind::picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(LTRB(pictures[0].frame), (std::array<int, 4>{312, 62, 344, 94}));
}

std::filesystem::path CopyOfTheBundle()
{
    const std::filesystem::path bundle = std::filesystem::path(TempFolder()) / "bundle";
    std::filesystem::copy(std::filesystem::path(QRL_SOURCE_DIR) / "resources", bundle,
                          std::filesystem::copy_options::recursive);
    return bundle;
}

// A valid table of the current document, filled field by field.
tDataPtr ValidRecord(std::int32_t unit, std::int32_t cameraType)
{
    tDataPtr data = BGetCurrentDocsDataPtr();
    data->valid = 1;
    data->distanceUnit = unit;
    data->argumentList = tArgumentList{3.0, 50.0, 0.000033, tCameraType(cameraType)};
    for (int i = 0; i < 10; ++i)
        data->table[i] = tTableElement{expected::kApertures[i], 1.0 + i, i < 5 ? 20.0 + i : -1.0};
    return data;
}

} // namespace

// The three worked sheets and a seven-character far limit: the hand-worked
// figures, then every row by the formula. A metre is 3.2808 ft, so 15 ft at
// f/16 reaches 113.8 ft.
TEST(Sheet, WorkedSheets)
{
    struct Spot {
        short x, y;
        std::string text;
    };
    struct Case {
        TableEntry entry;
        bool feet;
        double distance, circle;
        const char *cameraKey;
        std::vector<Spot> spots;
    };
    // clang-format off
    const Case cases[] = {
        {{"3", "50", 3, std::nullopt}, false, 3.0, 0.000033, "kleinbild",
         {{140, 20, "    50"}, {308, 20, " 3.000"}, {175, 45, "  33.0"}, {140, 150, " 2.845"}, {280, 150, " 3.173"},
          {140, RowTop(6), " 2.100"}, {280, RowTop(6), " 5.248"}, {280, RowTop(8), "20.932"},
          {140, RowTop(9), " 1.336"}, {280, RowTop(9), "inf"}}},
        {{"10", "50", 3, std::nullopt}, false, 10.0, 0.000033, "kleinbild",
         {{308, 20, "10.000"}, {140, 150, " 8.447"}, {280, 150, "12.253"}, {280, RowTop(4), "37.808"},
          {280, RowTop(5), "inf"}, {280, RowTop(9), "inf"}}},
        {{"5", "50", 2, "30"}, false, 5.0, 0.00003, "fullframe",
         {{175, 45, "  30.0"}, {140, 150, " 4.616"}, {280, 150, " 5.454"}, {280, RowTop(7), "100.806"},
          {280, RowTop(8), "inf"}}},
        {{"10", "50", 3, std::nullopt}, true, 10.0, 0.000033, "kleinbild",
         {{308, 20, "10.000"}, {175, 45, "  33.0"}, {280, RowTop(9), "inf"}}},
        {{"15", "50", 2, "30"}, true, 15.0, 0.00003, "fullframe", {{308, 20, "15.000"}}}};
    // clang-format on
    StartApplication();
    WindowRef window = DocumentWindow(0);
    for (const Case &c : cases) {
        SCOPED_TRACE("case " + std::to_string(c.distance) + (c.feet ? " ft" : " m"));
        ChooseDistanceUnit(c.feet ? 2 : 1);
        ComputeTable(c.entry);
        for (const Spot &spot : c.spots)
            EXPECT_EQ(OnlyTextAt(window, spot.x, spot.y), spot.text) << spot.x << "," << spot.y;
        EXPECT_EQ(OnlyTextAt(window, 125, 70), Label(c.cameraKey));
        ExpectUnitLabels(window, c.feet);
        const std::vector<expected::Row> rows = expected::Rows(c.distance, c.feet, 50.0, c.circle);
        ExpectRows(window, rows);
        if (c.distance == 15.0) {
            EXPECT_EQ(OnlyTextAt(window, 280, RowTop(7)).substr(0, 5), "113.8");
        }
        if (c.feet && c.distance == 10.0) {
            EXPECT_FALSE(rows[8].noFarLimit); // f/22 has a far limit in feet
        }
    }
}

// Placeholders at their own anchors, the texts in the order they are drawn,
// the rule and the picture, one erase.
TEST(Sheet, EmptyDocument)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(OnlyTextAt(window, 140, RowTop(i)), "-") << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 280, RowTop(i)), "-") << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 30, RowTop(i)), expected::kApertureTexts[i]) << "row " << i;
    }
    // clang-format off
    const std::tuple<short, short, std::string> cases[] = {{150, 20, "-"},
                                                           {320, 20, "-"},
                                                           {180, 45, "-"},
                                                           {125, 70, "-"},
                                                           {20, 20, Label("focal")},
                                                           {210, 20, Label("distance")},
                                                           {20, 45, Label("unsharpcircle")},
                                                           {20, 70, Label("camera")},
                                                           {20, 110, Label("aperture")},
                                                           {120, 110, Label("neardistance")},
                                                           {260, 110, Label("fardistance")}};
    // clang-format on
    for (const auto &[x, y, text] : cases)
        EXPECT_EQ(OnlyTextAt(window, x, y), text) << "case " << x << "," << y;
    for (const auto &[x, y] : {std::pair<short, short>{140, 20}, {308, 20}, {175, 45}})
        EXPECT_TRUE(TextItemsAt(window, x, y).empty()) << x << "," << y;
    std::vector<std::string> order = {Label("focal"),      Label("distance"), Label("unsharpcircle"),
                                      Label("camera"),     Label("aperture"), Label("neardistance"),
                                      Label("fardistance")};
    order.insert(order.end(), std::begin(expected::kApertureTexts), std::end(expected::kApertureTexts));
    order.insert(order.end(), 24, "-");
    EXPECT_EQ(Texts(window), order); // 24 placeholders, nothing else
    ExpectRuleAndPicture(window);
    // The generic near heading reaches 100 px beyond the port.
    const std::vector<PortItem> nearHeading = TextItemsAt(window, 120, 110);
    ASSERT_EQ(nearHeading.size(), 1u);
    EXPECT_EQ(nearHeading[0].frame.right, Bounds(window).right + 100);
    EXPECT_EQ(nearHeading[0].frame.bottom, Bounds(window).bottom);
}

// The 3 m sheet: texts in drawing order, labels from the strings table (not
// their keys), rule and picture, one erase per drawing, digits lined up.
TEST(Sheet, ComputedSheet)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    const int erased = GetPortEraseCount(GetWindowPort(window));
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(GetPortEraseCount(GetWindowPort(window)), erased + 1);
    BDrawDocsWindowDataUpdate(window);
    EXPECT_EQ(GetPortEraseCount(GetWindowPort(window)), erased + 2);

    const std::vector<expected::Row> rows = expected::Rows(3.0, false, 50.0, 0.000033);
    std::vector<std::string> order = {Label("focal"), Label("unsharpcircle"), Label("camera"),
                                      Label("aperture")};
    order.insert(order.end(), std::begin(expected::kApertureTexts), std::end(expected::kApertureTexts));
    order.insert(order.end(), {Label("distancemeter"), Label("neardistancemeter"), Label("fardistancemeter"),
                               "    50", " 3.000", "  33.0", Label("kleinbild")});
    for (const expected::Row &row : rows)
        order.push_back(expected::NearText(row));
    for (const expected::Row &row : rows)
        order.push_back(expected::FarText(row));
    EXPECT_EQ(Texts(window), order);
    ExpectRuleAndPicture(window);

    const std::map<std::string, std::string> table = expected::StringsTable();
    for (const char *key : {"focal", "unsharpcircle", "camera", "aperture", "distancemeter",
                            "neardistancemeter", "fardistancemeter", "kleinbild"})
        EXPECT_EQ(table.count(key), 1u) << key; // so the order above shows entries, not keys

    // Blank-padded numbers line up only in a face whose blanks and digits
    // are equally wide.
    const std::vector<PortItem> items = TextItemsAt(window, 140, 150);
    ASSERT_EQ(items.size(), 1u);
    const QFontMetrics metrics(platform::portFont(items[0].textSize, items[0].textFace));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" 2.845")),
              metrics.horizontalAdvance(QStringLiteral("20.932")));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" ")), metrics.horizontalAdvance(QStringLiteral("1")));
}

// A record filled field by field: unit labels for every unit, camera texts
// for every type (any other value is "digitalCamera").
TEST(Sheet, UnitsAndCamerasOfAStoredRecord)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    for (std::int32_t unit : {0, 1, 2, 3, -1, 7}) {
        ValidRecord(unit, thirtyFive);
        BDrawDocsWindowData(1);
        SCOPED_TRACE("unit " + std::to_string(unit));
        ExpectUnitLabels(window, unit == 2);
    }
    const std::pair<std::int32_t, const char *> cases[] = {
        {-1, "digitalCamera"}, {0, "apsc"},          {1, "fullframe"},     {2, "kleinbild"},
        {3, "mediumformat"},   {4, "digitalCamera"}, {5, "digitalCamera"}, {0x10000, "apsc"}};
    for (const auto &[type, key] : cases) {
        ValidRecord(1, type);
        BDrawDocsWindowData(1);
        EXPECT_EQ(OnlyTextAt(window, 125, 70), Label(key)) << "camera type " << type;
    }
}

// Validity from the caller's flag or, on an update, the record's; "inf" only
// for a far limit that is not positive.
TEST(Sheet, ValidityAndFarLimitsOfAStoredRecord)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    tDataPtr data = ValidRecord(1, fullFrameDigital);
    data->valid = 0;
    BDrawDocsWindowData(1);
    EXPECT_EQ(OnlyTextAt(window, 140, 20), "    50");
    EXPECT_EQ(OnlyTextAt(window, 280, 150), "20.000");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(5)), "inf");
    for (std::int32_t valid : {0, 2, -1}) {
        data->valid = 1;
        BDrawDocsWindowData(valid);
        EXPECT_EQ(OnlyTextAt(window, 140, 150), "-") << "valid " << valid;
        EXPECT_EQ(OnlyTextAt(window, 210, 20), Label("distance")) << "valid " << valid;
    }
    data->valid = 2;
    BDrawDocsWindowDataUpdate(window);
    EXPECT_EQ(OnlyTextAt(window, 140, 150), "-");
    data->valid = 1;
    BDrawDocsWindowDataUpdate(window);
    EXPECT_EQ(OnlyTextAt(window, 140, 150), " 1.000");
    data->table[0].farDistance = 0.005;
    data->table[1].farDistance = 0.0;
    BDrawDocsWindowData(1);
    EXPECT_EQ(OnlyTextAt(window, 280, 150), " 0.005");
    EXPECT_EQ(OnlyTextAt(window, 280, 180), "inf");
}

// Every text at its anchor from the port's origin, its frame reaching the
// port's bottom right (the distance label 20 px high, the near heading
// R + 100); rule and picture at fixed coordinates.
TEST(Sheet, PortNotStartingAtZero)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    const Rect before = Bounds(window);
    SetPortWindowPort(window);
    SetOrigin(40, 15);
    BSetCurrentDocListIndexFromWindowRef(window);
    BDrawDocsWindowData(1);
    const Rect bounds = Bounds(window);
    ASSERT_EQ(bounds.left, 40);
    ASSERT_EQ(bounds.top, 15);
    ASSERT_EQ(bounds.right - bounds.left, before.right - before.left);
    EXPECT_EQ(OnlyTextAt(window, 140, 20), "    50");
    EXPECT_EQ(OnlyTextAt(window, 308, 20), " 3.000");
    EXPECT_EQ(OnlyTextAt(window, 30, RowTop(9)), "32  ");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(9)), "inf");
    ExpectUnitLabels(window, false);
    ExpectRuleAndPicture(window);
    for (const PortItem &item : ItemsOfKind(window, PortItem::Kind::text)) {
        const short x = short(item.frame.left - bounds.left), y = short(item.frame.top - bounds.top);
        const bool distanceLabel = x == 210 && y == 20, nearHeading = x == 120 && y == 110;
        EXPECT_EQ(item.frame.right, bounds.right + (nearHeading ? 100 : 0)) << item.text;
        EXPECT_EQ(item.frame.bottom, distanceLabel ? bounds.top + 40 : bounds.bottom) << item.text;
    }
}

TEST(Sheet, KeyWithoutEntryShowsTheKey)
{
    const std::filesystem::path bundle = CopyOfTheBundle(); // its strings table knows only two keys
    std::ofstream(bundle / "Localizable.strings", std::ios::trunc)
        << "\"focal\" = \"Brennweite:\";\n\"kleinbild\" = \"Kleinbildfilm\";\n";
    SetBundleRoot(bundle.string());
    StartApplication();
    WindowRef window = DocumentWindow(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(OnlyTextAt(window, 20, 20), "Brennweite:");
    EXPECT_EQ(OnlyTextAt(window, 210, 20), "distance");
    EXPECT_EQ(OnlyTextAt(window, 120, 110), "neardistance");
    ComputeTable({"3", "50", 3, std::nullopt});
    const std::tuple<short, short, const char *> cases[] = {
        {20, 20, "Brennweite:"},         {20, 45, "unsharpcircle"},     {20, 70, "camera"},
        {20, 110, "aperture"},           {125, 70, "Kleinbildfilm"},    {210, 20, "distancemeter"},
        {120, 110, "neardistancemeter"}, {260, 110, "fardistancemeter"}};
    for (const auto &[x, y, text] : cases)
        EXPECT_EQ(OnlyTextAt(window, x, y), text) << "case " << x << "," << y;
}

// At the window's own size the whole sheet shows: the last row lies inside
// the port, and no text runs into the next one on its line.
TEST(Sheet, LooksFinishedAtTheWindowSize)
{
    StartApplication();
    ChooseDistanceUnit(2);
    ComputeTable({"15", "50", 2, "30"}); // feet: the longest labels and a seven-character far limit
    WindowRef window = DocumentWindow(0);
    const Rect bounds = Bounds(window);
    auto extent = [](const PortItem &item) { // right and bottom of the drawn text
        const QFontMetrics metrics(platform::portFont(item.textSize, item.textFace));
        return std::pair<int, int>{item.frame.left +
                                       metrics.horizontalAdvance(QString::fromStdString(item.text)),
                                   item.frame.top + metrics.height()};
    };
    std::map<short, std::vector<PortItem>> lines;
    for (const PortItem &item : ItemsOfKind(window, PortItem::Kind::text)) {
        const auto [right, bottom] = extent(item);
        SCOPED_TRACE(item.text);
        EXPECT_LE(bottom, bounds.bottom);
        EXPECT_LE(right, std::min(item.frame.right, bounds.right)); // one line, not cut
        EXPECT_TRUE(right <= 312 || item.frame.left >= 344 || bottom <= 62 || item.frame.top >= 94)
            << "overlaps the picture";
        lines[item.frame.top].push_back(item);
    }
    ASSERT_EQ(lines.count(short(bounds.top + 420)), 1u);
    EXPECT_EQ(lines[short(bounds.top + 420)].size(), 3u);
    for (auto &[top, items] : lines) {
        std::sort(items.begin(), items.end(),
                  [](const PortItem &a, const PortItem &b) { return a.frame.left < b.frame.left; });
        for (std::size_t i = 0; i + 1 < items.size(); ++i)
            EXPECT_LT(extent(items[i]).first, items[i + 1].frame.left)
                << "'" << items[i].text << "' runs into '" << items[i + 1].text << "'";
    }
}

TEST(Sheet, WithoutThePictureEverythingElseIsDrawn)
{
    const std::filesystem::path bundle = CopyOfTheBundle();
    std::filesystem::remove(bundle / "pictures" / "128.png");
    SetBundleRoot(bundle.string());
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    EXPECT_TRUE(ItemsOfKind(window, PortItem::Kind::picture).empty());
    EXPECT_EQ(ItemsOfKind(window, PortItem::Kind::line).size(), 1u);
    EXPECT_EQ(OnlyTextAt(window, 140, 20), "    50");
    ExpectRows(window, expected::Rows(3.0, false, 50.0, 0.000033));
    EXPECT_EQ(Texts(window).size(), 4u + 10u + 3u + 4u + 20u);
}
