// The table sheet as a user sees it in the document window: the header, the
// rule and the picture, the ten rows worked out by the optics formulas, the
// placeholders of an empty document, the labels and their units, and the
// layout at the window's size.
#include "document/document.h"
#include "platform/bundle.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"

#include <QFontMetrics>
#include <QMainWindow>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace qrltest;
using namespace expected;

namespace
{

using Spots = std::vector<std::tuple<short, short, std::string>>;

// The items of a kind; with x and y, only those whose frame's top-left
// corner is at (L + x, T + y).
SheetLayout ItemsOfKind(QWidget *window, SheetItem::Kind kind, int x = -1, int y = -1)
{
    const QPoint anchor = BSheetBounds(window).topLeft() + QPoint(x, y);
    SheetLayout found;
    for (const SheetItem &item : Contents(window))
        if (item.kind == kind && (x < 0 || item.frame.topLeft() == anchor))
            found.push_back(item);
    return found;
}

// The one text at (L + x, T + y), or a note of how many are there instead.
void ExpectSpots(QWidget *window, const Spots &spots)
{
    for (const auto &[x, y, text] : spots) {
        const SheetLayout items = ItemsOfKind(window, SheetItem::Kind::text, x, y);
        EXPECT_EQ(items.size() == 1 ? items[0].text.toStdString()
                                    : "<" + std::to_string(items.size()) + " texts>",
                  text)
            << "at " << x << "," << y;
    }
}

short RowTop(int row)
{
    return short(150 + 30 * row);
}

// The rule across the window at 90, ending 10 short of its right edge, and
// the 32-pixel picture 128 at (312, 62).
void ExpectRuleAndPicture(QWidget *window, std::size_t pictures = 1)
{
    const SheetLayout lines = ItemsOfKind(window, SheetItem::Kind::line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].line, QLine(10, 90, BSheetBounds(window).width() - 10, 90));
    ASSERT_EQ(ItemsOfKind(window, SheetItem::Kind::picture).size(), pictures);
    if (pictures) {
        EXPECT_EQ(ItemsOfKind(window, SheetItem::Kind::picture)[0].frame, QRect(312, 62, 32, 32));
    }
}

// The labels, the header's figures and every row by the formulas.
void ExpectComputed(QWidget *window, bool feet, const std::vector<Row> &rows, const Spots &spots)
{
    const std::string unit = feet ? "ft" : "m";
    ExpectSpots(window, {{20, 20, "Focal length:"},
                         {20, 45, "Conf. circle (\u00b5m):"},
                         {20, 70, "Camera:"},
                         {20, 110, "Aperture"},
                         {210, 20, "Dist. (" + unit + "):"},
                         {120, 110, "Near limit (" + unit + ")"},
                         {260, 110, "Far limit (" + unit + ")"}});
    ExpectSpots(window, spots);
    for (int i = 0; i < 10; ++i)
        ExpectSpots(window, {{140, RowTop(i), NearText(rows[i])}, {280, RowTop(i), FarText(rows[i])}});
}

} // namespace

// An empty document: placeholders at their own anchors and nothing else;
// then the hand-worked sheets and every row by the formula. A metre is
// 3.2808 ft, so 15 ft at f/16 reaches 113.8 ft, and f/22 at 10 ft has a far
// limit.
TEST(Sheet, EmptyThenWorkedSheets)
{
    StartApplication();
    QWidget *window = DocumentAt(0);
    std::vector<std::string> empty = {
        "Focal length:", "Distance:", "Conf. circle (\u00b5m):", "Camera:", "Aperture",
        "Near limit",    "Far limit"};
    empty.insert(empty.end(), std::begin(kApertureTexts), std::end(kApertureTexts));
    empty.insert(empty.end(), 24, "-");
    EXPECT_EQ(Texts(window), empty);
    for (int i = 0; i < 10; ++i)
        ExpectSpots(window,
                    {{140, RowTop(i), "-"}, {280, RowTop(i), "-"}, {30, RowTop(i), kApertureTexts[i]}});
    ExpectSpots(window, {{150, 20, "-"},
                         {320, 20, "-"},
                         {180, 45, "-"},
                         {125, 70, "-"},
                         {210, 20, "Distance:"},
                         {120, 110, "Near limit"},
                         {260, 110, "Far limit"},
                         {140, 20, "<0 texts>"}});
    ExpectRuleAndPicture(window);
    const SheetLayout nearHeading = ItemsOfKind(window, SheetItem::Kind::text, 120, 110);
    EXPECT_EQ(nearHeading.at(0).frame.bottomRight(), BSheetBounds(window).bottomRight() + QPoint(100, 0));
    struct Case {
        TableEntry entry;
        bool feet;
        double distance, circle;
        Spots spots;
    };
    // clang-format off
    const Case cases[] = {
        {{"3", "50", 3, std::nullopt}, false, 3.0, 0.000033,
         {{140, 20, "    50"}, {308, 20, " 3.000"}, {175, 45, "  33.0"}, {125, 70, "35 mm film"}, {140, 150, " 2.845"},
          {280, 150, " 3.173"}, {140, RowTop(6), " 2.100"}, {280, RowTop(6), " 5.248"}, {280, RowTop(8), "20.932"},
          {140, RowTop(9), " 1.336"}, {280, RowTop(9), "inf"}}},
        {{"10", "50", 3, std::nullopt}, false, 10.0, 0.000033,
         {{308, 20, "10.000"}, {140, 150, " 8.447"}, {280, 150, "12.253"}, {280, RowTop(4), "37.808"},
          {280, RowTop(5), "inf"}, {280, RowTop(9), "inf"}}},
        {{"5", "50", 2, "30"}, false, 5.0, 0.00003,
         {{175, 45, "  30.0"}, {125, 70, "Full-frame digital"}, {140, 150, " 4.616"}, {280, 150, " 5.454"},
          {280, RowTop(7), "100.806"}, {280, RowTop(8), "inf"}}},
        {{"5", "50", 1, "20"}, false, 5.0, 0.00002, {{175, 45, "  20.0"}, {125, 70, "APS-C digital"}}},
        {{"5", "80", 4, std::nullopt}, false, 5.0, 0.0001, {{140, 20, "    80"}, {125, 70, "Medium format"}}},
        {{"10", "50", 3, std::nullopt}, true, 10.0, 0.000033,
         {{308, 20, "10.000"}, {175, 45, "  33.0"}, {280, RowTop(8), FarText(Rows(10.0, true, 50.0, 0.000033)[8])},
          {280, RowTop(9), "inf"}}},
        {{"15", "50", 2, "30"}, true, 15.0, 0.00003, {{308, 20, "15.000"}}}};
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.distance) + (c.feet ? " ft" : " m"));
        ChooseDistanceUnit(c.feet ? 2 : 1);
        ComputeTable(c.entry);
        const double focal = std::stod(*c.entry.focalLength);
        ExpectComputed(window, c.feet, Rows(c.distance, c.feet, focal, c.circle), c.spots);
        ExpectRuleAndPicture(window);
        EXPECT_EQ(Texts(window).size(),
                  4u + 10u + 3u + 4u + 20u); // labels, apertures, headings, figures, rows
    }
    EXPECT_NE(FarText(Rows(10.0, true, 50.0, 0.000033)[8]), "inf");
    EXPECT_EQ(TextAt(window, 280, RowTop(7)).value_or("").substr(0, 5), "113.8");
}

// At the window's own size the whole sheet shows (feet: the longest labels
// and a seven-character far limit): every text's frame reaches the bottom
// right (the distance label is 20 px high, the near heading R + 100), each
// text sits on one line within the window, runs into no other one nor the
// picture, and shows in the window's pixels where its frame starts, as the
// text drawn alone there in black, 12-pixel DejaVu Sans Mono, on white.
TEST(Sheet, LooksFinishedAtTheWindowSize)
{
    StartApplication();
    ChooseDistanceUnit(2);
    ComputeTable({"15", "50", 2, "30"});
    QWidget *window = DocumentAt(0);
    const QRect bounds = BSheetBounds(window);
    QFont face(QStringLiteral("DejaVu Sans Mono"));
    face.setPixelSize(12);
    const QFontMetrics metrics(face);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral(" ")), metrics.horizontalAdvance(QStringLiteral("1")));
    const QImage shown =
        static_cast<QMainWindow *>(window)->centralWidget()->grab().toImage().convertToFormat(
            QImage::Format_RGB32);
    std::map<int, std::vector<std::pair<int, int>>> lines; // top: the texts' left and right ends
    for (const SheetItem &item : ItemsOfKind(window, SheetItem::Kind::text)) {
        SCOPED_TRACE(item.text.toStdString());
        const QPoint at = item.frame.topLeft() - bounds.topLeft();
        EXPECT_EQ(item.frame.right(), bounds.right() + (at == QPoint(120, 110) ? 100 : 0));
        EXPECT_EQ(item.frame.bottom(), at == QPoint(210, 20) ? bounds.top() + 39 : bounds.bottom());
        const QRect ink(item.frame.topLeft(), QSize(metrics.horizontalAdvance(item.text), metrics.height()));
        EXPECT_LE(ink.bottom(), bounds.bottom());
        EXPECT_LE(ink.right(), std::min(item.frame.right(), bounds.right()));
        EXPECT_TRUE(ink.right() < 312 || ink.left() >= 344 || ink.bottom() < 62 || ink.top() >= 94);
        lines[ink.top()].push_back({ink.left(), ink.right()});
        QImage alone(shown.size(), QImage::Format_RGB32);
        alone.fill(Qt::white);
        QPainter painter(&alone);
        painter.setFont(face);
        painter.setPen(Qt::black);
        painter.drawText(item.frame, Qt::TextWordWrap | Qt::AlignTop, item.text);
        painter.end();
        EXPECT_TRUE(alone.copy(ink) == shown.copy(ink));
    }
    EXPECT_EQ(lines[bounds.top() + 420].size(), 3u);
    for (auto &[top, ends] : lines) {
        std::sort(ends.begin(), ends.end());
        for (std::size_t i = 0; i + 1 < ends.size(); ++i)
            EXPECT_LT(ends[i].second + 1, ends[i + 1].first) << "texts run into each other at " << top;
    }
}

// A bundle that lacks picture 128: everything but the picture is drawn.
TEST(Sheet, BundleWithoutThePicture)
{
    const std::filesystem::path bundle = std::filesystem::path(FreshFolder()) / "bundle";
    std::filesystem::copy(QRL_SOURCE_DIR "/resources", bundle, std::filesystem::copy_options::recursive);
    std::filesystem::remove(bundle / "pictures" / "128.png");
    platform::setBundleRoot(bundle.string());
    StartApplication();
    ComputeTable({"3", "50", 3, std::nullopt});
    ExpectComputed(DocumentAt(0), false, Rows(3.0, false, 50.0, 0.000033), {{125, 70, "35 mm film"}});
    ExpectRuleAndPicture(DocumentAt(0), 0);
}
