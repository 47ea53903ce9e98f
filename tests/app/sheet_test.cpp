// The table sheet as a user sees it in the document window: the header, the
// rule and the picture, the ten rows, the placeholders of an empty document,
// the labels and their units, and the layout at the window's size.
#include "document/document.h"
#include "expected.h"
#include "platform/bundle.h"
#include "platform/forms.h"

#include <QFontMetrics>
#include <QMainWindow>
#include <QPainter>
#include <algorithm>
#include <array>

using namespace qrltest;
using namespace expected;

namespace
{

QRect Bounds(QWidget *window)
{
    return BSheetBounds(window);
}

// The items of a kind; with x and y, only those whose frame's top-left
// corner is at (L + x, T + y).
SheetLayout ItemsOfKind(QWidget *window, SheetItem::Kind kind, int x = -1, int y = -1)
{
    const QPoint anchor = Bounds(window).topLeft() + QPoint(x, y);
    SheetLayout found;
    for (const SheetItem &item : Contents(window))
        if (item.kind == kind && (x < 0 || item.frame.topLeft() == anchor))
            found.push_back(item);
    return found;
}

// The one text at (L + x, T + y), or a note of what is there instead.
std::string OnlyTextAt(QWidget *window, short x, short y)
{
    const SheetLayout items = ItemsOfKind(window, SheetItem::Kind::text, x, y);
    return items.size() == 1 ? items[0].text.toStdString() : "<" + std::to_string(items.size()) + " texts>";
}

short RowTop(int row)
{
    return short(150 + 30 * row);
}

void ExpectRows(QWidget *window, const std::vector<Row> &rows)
{
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(OnlyTextAt(window, 140, RowTop(i)), NearText(rows[i])) << "row " << i;
        EXPECT_EQ(OnlyTextAt(window, 280, RowTop(i)), FarText(rows[i])) << "row " << i;
    }
}

void ExpectUnitLabels(QWidget *window, bool feet)
{
    const std::string unit = feet ? "feet" : "meter";
    EXPECT_EQ(OnlyTextAt(window, 210, 20), Label("distance" + unit));
    EXPECT_EQ(OnlyTextAt(window, 120, 110), Label("neardistance" + unit));
    EXPECT_EQ(OnlyTextAt(window, 260, 110), Label("fardistance" + unit));
}

// The rule across the window at 90, ending 10 short of its right edge, and
// the 32-pixel picture 128 at (312, 62).
void ExpectRuleAndPicture(QWidget *window)
{
    const SheetLayout lines = ItemsOfKind(window, SheetItem::Kind::line);
    const SheetLayout pictures = ItemsOfKind(window, SheetItem::Kind::picture);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(lines[0].line, QLine(10, 90, Bounds(window).width() - 10, 90));
    EXPECT_EQ(pictures[0].frame, QRect(312, 62, 32, 32));
}

// A valid table of the current document, filled field by field.
tDataPtr ValidRecord(std::int32_t unit, std::int32_t cameraType)
{
    tDataPtr data = BGetCurrentDocsDataPtr();
    data->valid = 1;
    data->distanceUnit = unit;
    data->argumentList = tArgumentList{3.0, 50.0, 0.000033, tCameraType(cameraType)};
    for (int i = 0; i < 10; ++i)
        data->table[i] = tTableElement{kApertures[i], 1.0 + i, i < 5 ? 20.0 + i : -1.0};
    BDrawDocsWindowData(1);
    return data;
}

using Spots = std::vector<std::tuple<short, short, std::string>>;

void ExpectSpots(QWidget *window, const Spots &spots)
{
    for (const auto &[x, y, text] : spots)
        EXPECT_EQ(OnlyTextAt(window, x, y), text) << "at " << x << "," << y;
}

} // namespace

// The three worked sheets and a seven-character far limit: the hand-worked
// figures, then every row by the formula. A metre is 3.2808 ft, so 15 ft at
// f/16 reaches 113.8 ft, and f/22 at 10 ft has a far limit.
TEST(Sheet, WorkedSheets)
{
    struct Case {
        TableEntry entry;
        bool feet;
        double distance, circle;
        const char *cameraKey;
        Spots spots;
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
    QWidget *window = DocumentAt(0);
    for (const Case &c : cases) {
        SCOPED_TRACE("case " + std::to_string(c.distance) + (c.feet ? " ft" : " m"));
        ChooseDistanceUnit(c.feet ? 2 : 1);
        ComputeTable(c.entry);
        ExpectSpots(window, c.spots);
        EXPECT_EQ(OnlyTextAt(window, 125, 70), Label(c.cameraKey));
        ExpectUnitLabels(window, c.feet);
        ExpectRows(window, Rows(c.distance, c.feet, 50.0, c.circle));
    }
    EXPECT_EQ(OnlyTextAt(window, 280, RowTop(7)).substr(0, 5), "113.8"); // the last case, 15 ft
    EXPECT_FALSE(Rows(10.0, true, 50.0, 0.000033)[8].noFarLimit);
}

// An empty document: placeholders at their own anchors, the texts in the
// order they are drawn, the rule and the picture; the generic near heading
// reaches R + 100.
TEST(Sheet, EmptyThenComputed)
{
    StartApplication();
    QWidget *window = DocumentAt(0);
    for (int i = 0; i < 10; ++i)
        ExpectSpots(window,
                    {{140, RowTop(i), "-"}, {280, RowTop(i), "-"}, {30, RowTop(i), kApertureTexts[i]}});
    // clang-format off
    ExpectSpots(window, {{150, 20, "-"}, {320, 20, "-"}, {180, 45, "-"}, {125, 70, "-"},
                         {20, 20, Label("focal")}, {210, 20, Label("distance")}, {20, 45, Label("unsharpcircle")},
                         {20, 70, Label("camera")}, {20, 110, Label("aperture")},
                         {120, 110, Label("neardistance")}, {260, 110, Label("fardistance")},
                         {140, 20, "<0 texts>"}, {308, 20, "<0 texts>"}, {175, 45, "<0 texts>"}});
    // clang-format on
    std::vector<std::string> empty;
    for (const char *key :
         {"focal", "distance", "unsharpcircle", "camera", "aperture", "neardistance", "fardistance"})
        empty.push_back(Label(key));
    empty.insert(empty.end(), std::begin(kApertureTexts), std::end(kApertureTexts));
    empty.insert(empty.end(), 24, "-");
    EXPECT_EQ(Texts(window), empty); // 24 placeholders, nothing else
    ExpectRuleAndPicture(window);
    const SheetLayout nearHeading = ItemsOfKind(window, SheetItem::Kind::text, 120, 110);
    ASSERT_EQ(nearHeading.size(), 1u);
    EXPECT_EQ(nearHeading[0].frame.right(), Bounds(window).right() + 100);
    EXPECT_EQ(nearHeading[0].frame.bottom(), Bounds(window).bottom());

    // Computed at 3 m: texts in drawing order, the labels' texts, digits lined up.
    ComputeTable({"3", "50", 3, std::nullopt});
    BDrawDocsWindowDataUpdate(window);

    std::vector<std::string> order;
    auto labels = [&](std::initializer_list<const char *> keys) {
        for (const char *key : keys)
            order.push_back(Label(key));
    };
    labels({"focal", "unsharpcircle", "camera", "aperture"});
    order.insert(order.end(), std::begin(kApertureTexts), std::end(kApertureTexts));
    labels({"distancemeter", "neardistancemeter", "fardistancemeter"});
    order.insert(order.end(), {"    50", " 3.000", "  33.0"});
    labels({"kleinbild"});
    const std::vector<Row> rows = Rows(3.0, false, 50.0, 0.000033);
    for (const Row &row : rows)
        order.push_back(NearText(row));
    for (const Row &row : rows)
        order.push_back(FarText(row));
    EXPECT_EQ(Texts(window), order);
    ExpectRuleAndPicture(window);

    // Blank-padded numbers line up only in a face whose blanks and digits are equally wide.
    ASSERT_EQ(ItemsOfKind(window, SheetItem::Kind::text, 140, 150).size(), 1u);
    const QFontMetrics metrics(sheetFont());
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" 2.845")),
              metrics.horizontalAdvance(QStringLiteral("20.932")));
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" ")), metrics.horizontalAdvance(QStringLiteral("1")));
}

// A record filled field by field: unit labels for every unit, camera texts
// for every type (any other value is "digitalCamera"), validity from the
// caller's flag or, on an update, the record's, and "inf" only for a far
// limit that is not positive.
TEST(Sheet, StoredRecord)
{
    StartApplication();
    QWidget *window = DocumentAt(0);
    for (std::int32_t unit : {0, 1, 2, 3, -1, 7}) {
        ValidRecord(unit, thirtyFive);
        SCOPED_TRACE("unit " + std::to_string(unit));
        ExpectUnitLabels(window, unit == 2);
    }
    const std::pair<std::int32_t, const char *> cases[] = {
        {-1, "digitalCamera"}, {0, "apsc"},          {1, "fullframe"},     {2, "kleinbild"},
        {3, "mediumformat"},   {4, "digitalCamera"}, {5, "digitalCamera"}, {0x10000, "apsc"}};
    for (const auto &[type, key] : cases) {
        ValidRecord(1, type);
        EXPECT_EQ(OnlyTextAt(window, 125, 70), Label(key)) << "camera type " << type;
    }
    tDataPtr data = ValidRecord(1, fullFrameDigital);
    data->valid = 0;
    BDrawDocsWindowData(1);
    ExpectSpots(window, {{140, 20, "    50"}, {280, 150, "20.000"}, {280, RowTop(5), "inf"}});
    for (std::int32_t valid : {0, 2, -1}) {
        data->valid = 1;
        BDrawDocsWindowData(valid);
        SCOPED_TRACE("valid " + std::to_string(valid));
        ExpectSpots(window, {{140, 150, "-"}, {210, 20, Label("distance")}});
    }
    for (std::int32_t valid : {2, 1}) {
        data->valid = valid;
        BDrawDocsWindowDataUpdate(window);
        EXPECT_EQ(OnlyTextAt(window, 140, 150), valid == 1 ? " 1.000" : "-") << "update, valid " << valid;
    }
    data->table[0].farDistance = 0.005;
    data->table[1].farDistance = 0.0;
    BDrawDocsWindowData(1);
    ExpectSpots(window, {{280, 150, " 0.005"}, {280, 180, "inf"}});
}

// Every text's frame reaches the window's bottom right (the distance label
// 20 px high, the near heading R + 100), and the text shows in the window
// where its frame starts.
TEST(Sheet, TextFrames)
{
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    QWidget *window = DocumentAt(0);
    const QRect bounds = Bounds(window);
    for (const SheetItem &item : ItemsOfKind(window, SheetItem::Kind::text)) {
        const QPoint at = item.frame.topLeft() - bounds.topLeft();
        const std::string text = item.text.toStdString();
        EXPECT_EQ(item.frame.right(), bounds.right() + (at == QPoint(120, 110) ? 100 : 0)) << text;
        EXPECT_EQ(item.frame.bottom(), at == QPoint(210, 20) ? bounds.top() + 39 : bounds.bottom()) << text;
    }
    // The window's pixels show each text where its frame puts it: as the text
    // drawn alone there in black, 12-pixel DejaVu Sans Mono, on white.
    QWidget *content = static_cast<QMainWindow *>(window)->centralWidget();
    const QImage shown = content->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QFont face(QStringLiteral("DejaVu Sans Mono"));
    face.setPixelSize(12);
    const QFontMetrics metrics(face);
    for (const SheetItem &item : ItemsOfKind(window, SheetItem::Kind::text)) {
        QImage alone(shown.size(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter painter(&alone);
        painter.setFont(face);
        painter.setPen(Qt::black);
        painter.drawText(item.frame, Qt::TextWordWrap | Qt::AlignTop, item.text);
        painter.end();
        const QRect ink =
            QRect(item.frame.topLeft(), QSize(metrics.horizontalAdvance(item.text), metrics.height()));
        int differing = 0;
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                differing += shown.pixel(x, y) != alone.pixel(x, y);
        EXPECT_EQ(differing, 0) << item.text.toStdString();
    }
}

// A bundle that lacks picture 128: everything but the picture is drawn.
TEST(Sheet, BrokenBundle)
{
    const std::filesystem::path bundle = CopyOfTheBundle();
    std::filesystem::remove(bundle / "pictures" / "128.png");
    platform::setBundleRoot(bundle.string());
    StartApplication();
    QWidget *window = DocumentAt(0);
    ASSERT_NE(window, nullptr);
    ExpectSpots(window, {{20, 20, "Focal length:"}, {210, 20, "Distance:"}, {120, 110, "Near limit"}});
    ComputeTable({"3", "50", 3, std::nullopt});
    // clang-format off
    ExpectSpots(window, {{20, 20, "Focal length:"}, {20, 45, "Conf. circle (µm):"}, {20, 70, "Camera:"},
                         {20, 110, "Aperture"}, {125, 70, "35 mm film"}, {210, 20, "Dist. (m):"},
                         {120, 110, "Near limit (m)"}, {260, 110, "Far limit (m)"}, {140, 20, "    50"}});
    // clang-format on
    EXPECT_TRUE(ItemsOfKind(window, SheetItem::Kind::picture).empty());
    EXPECT_EQ(ItemsOfKind(window, SheetItem::Kind::line).size(), 1u);
    ExpectRows(window, Rows(3.0, false, 50.0, 0.000033));
    EXPECT_EQ(Texts(window).size(), 4u + 10u + 3u + 4u + 20u);
}

// At the window's own size the whole sheet shows: the last row lies inside
// the port, and no text runs into the next one on its line.
TEST(Sheet, LooksFinishedAtTheWindowSize)
{
    StartApplication();
    ChooseDistanceUnit(2);
    ComputeTable({"15", "50", 2, "30"}); // feet: the longest labels and a seven-character far limit
    QWidget *window = DocumentAt(0);
    const QRect bounds = Bounds(window);
    auto extent = [](const SheetItem &item) { // right and bottom of the drawn text, exclusive
        const QFontMetrics metrics(sheetFont());
        return std::pair<int, int>{item.frame.left() + metrics.horizontalAdvance(item.text),
                                   item.frame.top() + metrics.height()};
    };
    std::map<int, SheetLayout> lines;
    for (const SheetItem &item : ItemsOfKind(window, SheetItem::Kind::text)) {
        const auto [right, bottom] = extent(item);
        SCOPED_TRACE(item.text.toStdString());
        EXPECT_LE(bottom, bounds.bottom() + 1);
        EXPECT_LE(right, std::min(item.frame.right(), bounds.right()) + 1); // one line, not cut
        EXPECT_TRUE(right <= 312 || item.frame.left() >= 344 || bottom <= 62 || item.frame.top() >= 94)
            << "overlaps the picture";
        lines[item.frame.top()].push_back(item);
    }
    ASSERT_EQ(lines.count(bounds.top() + 420), 1u);
    EXPECT_EQ(lines[bounds.top() + 420].size(), 3u);
    for (auto &[top, items] : lines) {
        std::sort(items.begin(), items.end(),
                  [](const SheetItem &a, const SheetItem &b) { return a.frame.left() < b.frame.left(); });
        for (std::size_t i = 0; i + 1 < items.size(); ++i)
            EXPECT_LT(extent(items[i]).first, items[i + 1].frame.left())
                << "'" << items[i].text.toStdString() << "' runs into '" << items[i + 1].text.toStdString()
                << "'";
    }
}
