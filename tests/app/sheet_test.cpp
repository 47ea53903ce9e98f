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

// Every visible text drawn with its frame's top-left corner at (L + x, T + y).
std::vector<PortItem> TextItemsAt(WindowRef window, short x, short y)
{
    const Rect bounds = Bounds(window);
    std::vector<PortItem> found;
    for (const PortItem &item : Contents(window))
        if (item.kind == PortItem::Kind::text && item.frame.left == bounds.left + x &&
            item.frame.top == bounds.top + y)
            found.push_back(item);
    return found;
}

// The one text at (L + x, T + y), or a note of what is there instead.
std::string OnlyTextAt(WindowRef window, short x, short y)
{
    const std::vector<PortItem> items = TextItemsAt(window, x, y);
    if (items.size() != 1)
        return "<" + std::to_string(items.size()) + " texts>";
    return items[0].text;
}

std::vector<PortItem> ItemsOfKind(WindowRef window, PortItem::Kind kind)
{
    std::vector<PortItem> found;
    for (const PortItem &item : Contents(window))
        if (item.kind == kind)
            found.push_back(item);
    return found;
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

bool Shows(WindowRef window, const std::string &text)
{
    const std::vector<std::string> texts = Texts(window);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
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

TEST(Sheet, MetresAtThreeMetresWithFilm)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(OnlyTextAt(window, 140, 20), "    50");
    EXPECT_EQ(OnlyTextAt(window, 308, 20), " 3.000");
    EXPECT_EQ(OnlyTextAt(window, 175, 45), "  33.0");
    EXPECT_EQ(OnlyTextAt(window, 125, 70), Label("kleinbild"));
    ExpectUnitLabels(window, false);
    // The rows the worked example names, then every row by the formula.
    EXPECT_EQ(OnlyTextAt(window, 140, 150), " 2.845");
    EXPECT_EQ(OnlyTextAt(window, 280, 150), " 3.173");
    EXPECT_EQ(OnlyTextAt(window, 140, RowTop(6)), " 2.100");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(6)), " 5.248");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(8)), "20.932");
    EXPECT_EQ(OnlyTextAt(window, 140, RowTop(9)), " 1.336");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(9)), "inf");
    ExpectRows(window, expected::Rows(3.0, false, 50.0, 0.000033));
}

TEST(Sheet, MetresAtTenMetres)
{
    StartApplication();
    ComputeTable({"10", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(OnlyTextAt(window, 308, 20), "10.000");
    EXPECT_EQ(OnlyTextAt(window, 140, 150), " 8.447");
    EXPECT_EQ(OnlyTextAt(window, 280, 150), "12.253");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(4)), "37.808");
    for (int i = 5; i < 10; ++i)
        EXPECT_EQ(OnlyTextAt(window, 280, RowTop(i)), "inf") << "row " << i;
    ExpectRows(window, expected::Rows(10.0, false, 50.0, 0.000033));
}

TEST(Sheet, FeetAtTenWithTheExactFactor)
{
    StartApplication();
    ChooseDistanceUnit(2);
    const TableWindowState shown = ComputeTable({"10", "50", 3, std::nullopt});
    EXPECT_EQ(shown.distanceLabel, "distance in ft: ");
    WindowRef window = DocumentWindow(0);
    ExpectUnitLabels(window, true);
    EXPECT_EQ(OnlyTextAt(window, 308, 20), "10.000");
    EXPECT_EQ(OnlyTextAt(window, 175, 45), "  33.0");
    const std::vector<expected::Row> rows = expected::Rows(10.0, true, 50.0, 0.000033);
    ExpectRows(window, rows);
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(9)), "inf");
    EXPECT_FALSE(rows[8].noFarLimit);
}

TEST(Sheet, FeetThroughTheStoredPreference)
{
    StartApplication();
    CFPreferencesSetAppValue("Distance Unit", CFNumberCreate(2));
    ComputeTable({"15", "50", 2, "30"});
    WindowRef window = DocumentWindow(0);
    ExpectUnitLabels(window, true);
    EXPECT_EQ(OnlyTextAt(window, 308, 20), "15.000");
    EXPECT_EQ(OnlyTextAt(window, 125, 70), Label("fullframe"));
    // f/16 reaches 113.8 ft with a metre of 3.2808 ft.
    const std::vector<expected::Row> rows = expected::Rows(15.0, true, 50.0, 0.00003);
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(7)).substr(0, 5), "113.8");
    ExpectRows(window, rows);
}

TEST(Sheet, SevenCharacterFarLimitIsNotCut)
{
    StartApplication();
    ComputeTable({"5", "50", 2, "30"});
    WindowRef window = DocumentWindow(0);
    EXPECT_EQ(OnlyTextAt(window, 175, 45), "  30.0");
    EXPECT_EQ(OnlyTextAt(window, 125, 70), Label("fullframe"));
    EXPECT_EQ(OnlyTextAt(window, 140, 150), " 4.616");
    EXPECT_EQ(OnlyTextAt(window, 280, 150), " 5.454");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(7)), "100.806");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(8)), "inf");
    ExpectRows(window, expected::Rows(5.0, false, 50.0, 0.00003));
}

TEST(Sheet, ValuesReplaceTheGenericLabels)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    EXPECT_TRUE(Shows(window, Label("distance")));
    ComputeTable({"3", "50", 3, std::nullopt});
    for (const char *generic : {"distance", "neardistance", "fardistance"})
        EXPECT_FALSE(Shows(window, Label(generic))) << generic;
    for (const char *kept : {"focal", "unsharpcircle", "camera", "aperture"})
        EXPECT_TRUE(Shows(window, Label(kept))) << kept;
    EXPECT_FALSE(Shows(window, "-"));
}

TEST(Sheet, EmptyDocumentShowsPlaceholders)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(OnlyTextAt(window, 140, RowTop(i)), "-") << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 280, RowTop(i)), "-") << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 30, RowTop(i)), expected::kApertureTexts[i]) << "row " << i;
    }
    EXPECT_EQ(OnlyTextAt(window, 150, 20), "-");
    EXPECT_EQ(OnlyTextAt(window, 320, 20), "-");
    EXPECT_EQ(OnlyTextAt(window, 180, 45), "-");
    EXPECT_EQ(OnlyTextAt(window, 125, 70), "-");
    EXPECT_EQ(OnlyTextAt(window, 20, 20), Label("focal"));
    EXPECT_EQ(OnlyTextAt(window, 210, 20), Label("distance"));
    EXPECT_EQ(OnlyTextAt(window, 20, 45), Label("unsharpcircle"));
    EXPECT_EQ(OnlyTextAt(window, 20, 70), Label("camera"));
    EXPECT_EQ(OnlyTextAt(window, 20, 110), Label("aperture"));
    EXPECT_EQ(OnlyTextAt(window, 120, 110), Label("neardistance"));
    EXPECT_EQ(OnlyTextAt(window, 260, 110), Label("fardistance"));
    EXPECT_TRUE(TextItemsAt(window, 140, 20).empty());
    EXPECT_TRUE(TextItemsAt(window, 308, 20).empty());
    EXPECT_TRUE(TextItemsAt(window, 175, 45).empty());
    const std::vector<std::string> texts = Texts(window);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "-"), 24);
    EXPECT_EQ(texts.size(), 7u + 10u + 24u);
}

TEST(Sheet, DrawsInTheOrderOfItsSteps)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    std::vector<std::string> order = {Label("focal"),      Label("distance"), Label("unsharpcircle"),
                                      Label("camera"),     Label("aperture"), Label("neardistance"),
                                      Label("fardistance")};
    order.insert(order.end(), std::begin(expected::kApertureTexts), std::end(expected::kApertureTexts));
    order.insert(order.end(), 24, "-");
    EXPECT_EQ(Texts(window), order);

    ComputeTable({"3", "50", 3, std::nullopt});
    const std::vector<expected::Row> rows = expected::Rows(3.0, false, 50.0, 0.000033);
    order = {Label("focal"), Label("unsharpcircle"), Label("camera"), Label("aperture")};
    order.insert(order.end(), std::begin(expected::kApertureTexts), std::end(expected::kApertureTexts));
    order.insert(order.end(), {Label("distancemeter"), Label("neardistancemeter"), Label("fardistancemeter"),
                               "    50", " 3.000", "  33.0", Label("kleinbild")});
    for (const expected::Row &row : rows)
        order.push_back(expected::NearText(row));
    for (const expected::Row &row : rows)
        order.push_back(expected::FarText(row));
    EXPECT_EQ(Texts(window), order);
}

TEST(Sheet, RuleAndPictureAtFixedPlaces)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    const Rect bounds = Bounds(window);
    for (int pass = 0; pass < 2; ++pass) {
        const std::vector<PortItem> lines = ItemsOfKind(window, PortItem::Kind::line);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].frame.left, 10);
        EXPECT_EQ(lines[0].frame.top, 90);
        EXPECT_EQ(lines[0].frame.right, bounds.right - 10);
        EXPECT_EQ(lines[0].frame.bottom, 90);
        const std::vector<PortItem> pictures = ItemsOfKind(window, PortItem::Kind::picture);
        ASSERT_EQ(pictures.size(), 1u);
        EXPECT_EQ(pictures[0].frame.left, 312);
        EXPECT_EQ(pictures[0].frame.top, 62);
        EXPECT_EQ(pictures[0].frame.right, 344);
        EXPECT_EQ(pictures[0].frame.bottom, 94);
        ComputeTable({"3", "50", 3, std::nullopt});
    }
}

TEST(Sheet, EveryDrawingErasesThePortOnce)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    const int before = GetPortEraseCount(GetWindowPort(window));
    ComputeTable({"3", "50", 3, std::nullopt});
    EXPECT_EQ(GetPortEraseCount(GetWindowPort(window)), before + 1);
    BDrawDocsWindowDataUpdate(window);
    EXPECT_EQ(GetPortEraseCount(GetWindowPort(window)), before + 2);
}

TEST(Sheet, UnitLabelsForEveryStoredUnit)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    for (std::int32_t unit : {0, 1, 2, 3, -1, 7}) {
        ValidRecord(unit, thirtyFive);
        BDrawDocsWindowData(1);
        SCOPED_TRACE("unit " + std::to_string(unit));
        ExpectUnitLabels(window, unit == 2);
    }
}

TEST(Sheet, CameraTextsForEveryStoredType)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    const std::pair<std::int32_t, const char *> cases[] = {
        {-1, "digitalCamera"}, {0, "apsc"},          {1, "fullframe"},     {2, "kleinbild"},
        {3, "mediumformat"},   {4, "digitalCamera"}, {5, "digitalCamera"}, {0x10000, "apsc"}};
    for (const auto &[type, key] : cases) {
        ValidRecord(1, type);
        BDrawDocsWindowData(1);
        EXPECT_EQ(OnlyTextAt(window, 125, 70), Label(key)) << "camera type " << type;
    }
}

TEST(Sheet, ValidityComesFromTheCallerOrTheRecord)
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
}

TEST(Sheet, ShortRealFarLimitIsADistance)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    tDataPtr data = ValidRecord(1, APSC);
    data->table[0].farDistance = 0.005;
    data->table[1].farDistance = 0.0;
    BDrawDocsWindowData(1);
    EXPECT_EQ(OnlyTextAt(window, 280, 150), " 0.005");
    EXPECT_EQ(OnlyTextAt(window, 280, 180), "inf");
}

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

    bool sawFocal = false;
    for (const PortItem &item : Contents(window)) {
        if (item.kind == PortItem::Kind::text && item.text == "    50") {
            EXPECT_EQ(item.frame.left, 40 + 140);
            EXPECT_EQ(item.frame.top, 15 + 20);
            EXPECT_EQ(item.frame.right, bounds.right);
            EXPECT_EQ(item.frame.bottom, bounds.bottom);
            sawFocal = true;
        }
    }
    EXPECT_TRUE(sawFocal);
    EXPECT_EQ(OnlyTextAt(window, 308, 20), " 3.000");
    EXPECT_EQ(OnlyTextAt(window, 30, RowTop(9)), "32  ");
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(9)), "inf");
    ExpectUnitLabels(window, false);
    const std::vector<PortItem> lines = ItemsOfKind(window, PortItem::Kind::line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].frame.left, 10);
    EXPECT_EQ(lines[0].frame.top, 90);
    EXPECT_EQ(lines[0].frame.right, bounds.right - 10);
    EXPECT_EQ(lines[0].frame.bottom, 90);
    const std::vector<PortItem> pictures = ItemsOfKind(window, PortItem::Kind::picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frame.left, 312);
    EXPECT_EQ(pictures[0].frame.top, 62);
    EXPECT_EQ(pictures[0].frame.right, 344);
    EXPECT_EQ(pictures[0].frame.bottom, 94);
}

TEST(Sheet, TextFrames)
{
    StartApplication();
    WindowRef window = DocumentWindow(0);
    Rect bounds = Bounds(window);
    // Placeholders: the generic near heading reaches 100 px beyond the port.
    const std::vector<PortItem> nearHeading = TextItemsAt(window, 120, 110);
    ASSERT_EQ(nearHeading.size(), 1u);
    EXPECT_EQ(nearHeading[0].frame.right, bounds.right + 100);
    EXPECT_EQ(nearHeading[0].frame.bottom, bounds.bottom);

    ComputeTable({"3", "50", 3, std::nullopt});
    bounds = Bounds(window);
    for (const PortItem &item : Contents(window)) {
        if (item.kind != PortItem::Kind::text)
            continue;
        const short x = short(item.frame.left - bounds.left);
        const short y = short(item.frame.top - bounds.top);
        SCOPED_TRACE(item.text);
        if (x == 210 && y == 20) { // distance label with its unit: 20 px high
            EXPECT_EQ(item.frame.right, bounds.right);
            EXPECT_EQ(item.frame.bottom, bounds.top + 40);
        } else if (x == 120 && y == 110) {
            EXPECT_EQ(item.frame.right, bounds.right + 100);
            EXPECT_EQ(item.frame.bottom, bounds.bottom);
        } else {
            EXPECT_EQ(item.frame.right, bounds.right);
            EXPECT_EQ(item.frame.bottom, bounds.bottom);
        }
    }
}

TEST(Sheet, LabelsComeFromTheStringsTable)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    const std::map<std::string, std::string> table = expected::StringsTable();
    for (const char *key : {"focal", "unsharpcircle", "camera", "aperture", "distancemeter",
                            "neardistancemeter", "fardistancemeter", "kleinbild"}) {
        ASSERT_EQ(table.count(key), 1u) << key;
        EXPECT_TRUE(Shows(window, table.at(key))) << key;
        EXPECT_FALSE(Shows(window, key)) << key;
    }
}

TEST(Sheet, KeyWithoutEntryShowsTheKey)
{
    // A bundle whose strings table knows only two keys.
    namespace fs = std::filesystem;
    const fs::path bundle = fs::path(TempFolder()) / "bundle";
    fs::copy(fs::path(QRL_SOURCE_DIR) / "resources", bundle, fs::copy_options::recursive);
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
    EXPECT_EQ(OnlyTextAt(window, 20, 20), "Brennweite:");
    EXPECT_EQ(OnlyTextAt(window, 20, 45), "unsharpcircle");
    EXPECT_EQ(OnlyTextAt(window, 20, 70), "camera");
    EXPECT_EQ(OnlyTextAt(window, 20, 110), "aperture");
    EXPECT_EQ(OnlyTextAt(window, 125, 70), "Kleinbildfilm");
    EXPECT_EQ(OnlyTextAt(window, 210, 20), "distancemeter");
    EXPECT_EQ(OnlyTextAt(window, 120, 110), "neardistancemeter");
    EXPECT_EQ(OnlyTextAt(window, 260, 110), "fardistancemeter");
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
    std::map<short, std::vector<PortItem>> lines;
    for (const PortItem &item : ItemsOfKind(window, PortItem::Kind::text)) {
        const QFontMetrics metrics(platform::portFont(item.textSize, item.textFace));
        const int width = metrics.horizontalAdvance(QString::fromStdString(item.text));
        SCOPED_TRACE(item.text);
        EXPECT_LE(item.frame.top + metrics.height(), bounds.bottom);
        EXPECT_LE(item.frame.left + width, std::min(item.frame.right, bounds.right)); // one line, not cut
        lines[item.frame.top].push_back(item);
    }
    ASSERT_EQ(lines.count(short(bounds.top + 420)), 1u);
    EXPECT_EQ(lines[short(bounds.top + 420)].size(), 3u);
    for (auto &[top, items] : lines) {
        std::sort(items.begin(), items.end(),
                  [](const PortItem &a, const PortItem &b) { return a.frame.left < b.frame.left; });
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            const QFontMetrics metrics(platform::portFont(items[i].textSize, items[i].textFace));
            EXPECT_LT(items[i].frame.left + metrics.horizontalAdvance(QString::fromStdString(items[i].text)),
                      items[i + 1].frame.left)
                << "'" << items[i].text << "' runs into '" << items[i + 1].text << "'";
        }
    }
    // Nothing is drawn over the picture.
    for (const PortItem &item : ItemsOfKind(window, PortItem::Kind::text)) {
        const QFontMetrics metrics(platform::portFont(item.textSize, item.textFace));
        const int right = item.frame.left + metrics.horizontalAdvance(QString::fromStdString(item.text));
        const int bottom = item.frame.top + metrics.height();
        const bool clear = right <= 312 || item.frame.left >= 344 || bottom <= 62 || item.frame.top >= 94;
        EXPECT_TRUE(clear) << "'" << item.text << "' overlaps the picture";
    }
}

TEST(Sheet, DigitsLineUpInTheirColumns)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    WindowRef window = DocumentWindow(0);
    // Blank-padded numbers line up only in a face whose blanks and digits
    // are equally wide.
    const std::vector<PortItem> items = TextItemsAt(window, 140, 150);
    ASSERT_EQ(items.size(), 1u);
    const QFontMetrics metrics(platform::portFont(items[0].textSize, items[0].textFace));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" 2.845")),
              metrics.horizontalAdvance(QStringLiteral("20.932")));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" ")), metrics.horizontalAdvance(QStringLiteral("1")));
}

TEST(Sheet, WithoutThePictureEverythingElseIsDrawn)
{
    namespace fs = std::filesystem;
    const fs::path bundle = fs::path(TempFolder()) / "bundle";
    fs::copy(fs::path(QRL_SOURCE_DIR) / "resources", bundle, fs::copy_options::recursive);
    fs::remove(bundle / "pictures" / "128.png");
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
