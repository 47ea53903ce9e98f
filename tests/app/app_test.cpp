// The program in its windows: the splash, a document window's sheet with
// its rows by the optics formulas, the table parameters window, the menus.
#include "app/tablewindow.h"
#include "app/windowmodule.h"
#include "platform/internal.h"
#include "platform/prefs.h"
#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <map>

using namespace qrltest;
using namespace expected;

namespace
{

using Spots = std::vector<std::tuple<short, short, std::string>>;

short RowTop(int row)
{
    return short(150 + 30 * row);
}

// The texts at their anchors and no more: labels (with the unit once computed), spots, rows by the formulas
// or, for distance 0, placeholders; the rule at 90, 10 short of the right edge; the picture.
void ExpectSheet(QWidget *window, bool feet, double distance, double focal, double circle, Spots spots)
{
    const char *const apertures[] = {" 1.4", " 2  ",  " 2.8", " 4  ", " 5.6",
                                     " 8  ", "11   ", "16  ", "22  ", "32  "};
    const std::string unit = distance == 0 ? "" : feet ? " (ft)" : " (m)";
    // clang-format off
    spots.insert(spots.end(), {{20, 20, "Focal length:"}, {20, 45, "Conf. circle (\u00b5m):"}, {20, 70, "Camera:"},
        {20, 110, "Aperture"}, {210, 20, unit.empty() ? "Distance:" : "Dist." + unit + ":"},
        {120, 110, "Near limit" + unit}, {260, 110, "Far limit" + unit}});
    // clang-format on
    for (int i = 0; i < 10; ++i) {
        const Row row = Limits(distance, feet, focal, circle, kApertures[i]);
        const auto figure = [&](double value, bool endless = false) {
            return distance == 0 ? "-" : endless ? "inf" : QString::asprintf("%6.3f", value).toStdString();
        };
        spots.insert(spots.end(), {{30, RowTop(i), apertures[i]},
                                   {140, RowTop(i), figure(row.nearDistance)},
                                   {280, RowTop(i), figure(row.farDistance, row.noFarLimit)}});
    }
    for (const auto &[x, y, text] : spots)
        EXPECT_EQ(TextAt(window, x, y).value_or("<none>"), text) << "at " << x << "," << y;
    std::map<SheetItem::Kind, std::vector<QRect>> drawn; // the rule by its ends, the others by their frames
    for (const SheetItem &item : Contents(window))
        drawn[item.kind].push_back(item.kind == SheetItem::Kind::line ? QRect(item.line.p1(), item.line.p2())
                                                                      : item.frame);
    EXPECT_EQ(drawn[SheetItem::Kind::line],
              std::vector<QRect>{QRect(QPoint(10, 90), QPoint(BSheetBounds(window).width() - 10, 90))});
    EXPECT_EQ(drawn[SheetItem::Kind::picture], std::vector<QRect>{QRect(312, 62, 32, 32)});
    EXPECT_EQ(drawn[SheetItem::Kind::text].size(), 41u); // the texts above and no more
}

// What the user types and chooses; shown: the distance then at (308, 20), nullptr when the alert
// refuses the arguments and the sheet stays as it was; spot: a further text at (x, y).
struct Entry {
    bool feet;
    std::string distance, focal;
    int camera;
    std::string circle;
    const char *shown;
    short x = 0, y = 0;
    const char *spot = nullptr;
};

void PressCompute(const Entry &e)
{
    SCOPED_TRACE("'" + e.distance + "' '" + e.focal + "' '" + e.circle + "'");
    platform::preferences().setValue("Distance Unit", e.feet ? 2 : 1);
    const std::optional<std::string> before = TextAt(DocumentAt(0), 308, 20);
    ComputeTable({e.distance, e.focal, e.camera, e.circle});
    const std::vector<ShownAlert> alerts = TakeShownAlerts();
    EXPECT_EQ(TextAt(DocumentAt(0), 308, 20), e.shown ? std::optional<std::string>(e.shown) : before);
    EXPECT_EQ(e.spot ? TextAt(DocumentAt(0), e.x, e.y) : std::nullopt,
              e.spot ? std::optional<std::string>(e.spot) : std::nullopt);
    ASSERT_EQ(alerts.size(), e.shown ? 0u : 1u);
    for (const ShownAlert &alert : alerts)
        EXPECT_EQ(std::tie(alert.icon, alert.message, alert.explanation, alert.modality),
                  std::make_tuple(QMessageBox::Information, "Please Check Your Arguments!",
                                  "The focal length should be in the range of 4..1000 mm,\n"
                                  "the distance from two times of focal length to 1000 m,\n"
                                  "and the circle of confusion in the range of 1..1000 \u00b5m.",
                                  Qt::ApplicationModal));
}

// '+' or '-' for each item enabled or not, as the menu bar stands and, the same, once the menus opened.
std::string Enabled()
{
    const char *const names[] = {"New",       "Open",  "Close",  "Save",         "SaveAs", "Revert",
                                 "PageSetup", "Print", "Export", "ComputeTable", "Facts",  "About"};
    std::string standing, opened;
    for (const char *name : names)
        standing += MenuItem(name) && MenuItem(name)->isEnabled() ? '+' : '-';
    for (const char *name : names)
        opened += IsCommandEnabled(name) ? '+' : '-';
    return standing == opened ? opened : standing + " before the menus opened, then " + opened;
}

} // namespace

// Start-up: no busy cursor left, one untitled window with placeholders. Then sheets by hand and by the
// formulas; the table window opens with the last computed arguments (a film format's own circle), in any
// document; a cancelled one keeps nothing.
TEST(Sheet, StartupThenEmptyThenWorkedSheets)
{
    StartApplication();
    EXPECT_EQ(std::make_tuple(QApplication::overrideCursor(), GetShowLog(), DocumentTitles()),
              std::make_tuple(nullptr, std::vector<std::string>{"MainWindow"},
                              std::vector<std::string>{"Untitled "}));
    QWidget *window = DocumentAt(0);
    ExpectSheet(window, false, 0, 0, 0, {{150, 20, "-"}, {320, 20, "-"}, {180, 45, "-"}, {125, 70, "-"}});
    using Shown = std::tuple<std::string, std::string, int, std::string, bool>;
    // clang-format off
    const struct {
        TableEntry entry;
        Shown opening;
        bool feet;
        double distance, focal, circle;
        Spots spots;
    } cases[] = {
        {{"3", "50", 3, {}}, {"5.000", "35", 2, "10.0", true}, false, 3, 50, 0.000033, {{140, 20, "    50"},
         {308, 20, " 3.000"}, {175, 45, "  33.0"}, {125, 70, "35 mm film"}, {140, 150, " 2.845"},
         {280, 150, " 3.173"}, {280, RowTop(9), "inf"}}},
        {{"5", "50", 2, "30"}, {"3.000", "50", 3, "33.0", false}, false, 5, 50, 0.00003, {{175, 45, "  30.0"},
         {125, 70, "Full-frame digital"}, {280, RowTop(7), "100.806"}, {280, RowTop(8), "inf"}}},
        {{"15", "50", 2, "30"}, {"5.000", "50", 2, "30.0", true}, true, 15, 50, 0.00003, {{308, 20, "15.000"}}}};
    // clang-format on
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.distance) + (c.feet ? " ft" : " m"));
        platform::preferences().setValue("Distance Unit", c.feet ? 2 : 1);
        const TableWindowState s = ComputeTable(c.entry);
        EXPECT_EQ(Shown(s.distance, s.focalLength, s.cameraItem, s.circle, s.circleEnabled), c.opening);
        ExpectSheet(window, c.feet, c.distance, c.focal, c.circle, c.spots);
    }
    ComputeTable({"9", "100", 1, "5", false});
    EXPECT_EQ(TextAt(window, 308, 20), "15.000");
    Trigger("New");
    EXPECT_EQ(ComputeTable({{}, {}, {}, {}, false}).distance, "15.000");
}

// Every bound in metres and feet (twice 35 mm is 0.2297 ft); no finite number is refused; a comma reads
// as a point; the circle counts for digital formats only; last, in a locale with a decimal comma.
TEST(TableWindow, ArgumentsTakenOrRefused)
{
    // clang-format off
    std::vector<Entry> rows = {
        {false, "5", "3.99", 2, "10", nullptr}, {false, "5", "1001", 2, "10", nullptr}, {false, "5", "-50", 2, "10", nullptr},
        {false, "1000.5", "50", 2, "10", nullptr}, {false, "0.0699", "35", 2, "10", nullptr},
        {false, "1.999", "1000", 2, "10", nullptr}, {true, "0.2296", "35", 2, "10", nullptr},
        {true, "6.561", "1000", 2, "10", nullptr}, {true, "1000.5", "50", 2, "10", nullptr}};
    for (const char *text : {"abc", "", "nan", "inf", "0x10", "1e3", "50mm", "1,5,0", "1.000,5", "1 000", "--5"})
        rows.insert(rows.end(), {{false, text, "50", 2, "10", nullptr}, {false, "5", text, 2, "10", nullptr}});
    for (int camera : {1, 2})
        for (const char *text : {"0", "nan", "", "0.99", "1000.01", "0,5"})
            rows.push_back({false, "3", "50", camera, text, nullptr});
    rows.insert(rows.end(), {
        {false, "5", "4", 2, "10", " 5.000"}, {false, "5", "1000", 2, "10", " 5.000", 140, 20, "  1000"},
        {false, "1000", "50", 2, "10", "1000.000"}, {false, "0.07", "35", 2, "10", " 0.070"},
        {false, "2", "1000", 2, "10", " 2.000"}, {false, "5,5", "50", 2, "10", " 5.500"},
        {false, ",5", "50", 2, "10", " 0.500"}, {false, "  7.5 ", "50", 2, "10", " 7.500"},
        {false, "6.", "49,6", 2, "10", " 6.000", 140, 20, "    50"}, {false, "+8", " 35", 2, "10", " 8.000", 140, 20, "    35"},
        {true, "0.2297", "35", 2, "10", " 0.230"}, {true, "6.562", "1000", 2, "10", " 6.562"},
        {false, "3", "50", 1, "1", " 3.000", 175, 45, "   1.0"}, {false, "3", "50", 2, "1000", " 3.000", 175, 45, "1000.0"},
        {false, "3", "50", 2, "12,5", " 3.000", 175, 45, "  12.5"}, {false, "4", "50", 3, "0", " 4.000", 175, 45, "  33.0"},
        {false, "5", "50", 4, "nan", " 5.000", 175, 45, " 100.0"}});
    // clang-format on
    StartApplication();
    for (const Entry &e : rows)
        PressCompute(e);
    ASSERT_TRUE(UseCommaDecimalLocale());
    PressCompute({false, "5,5", "50", 2, "10", " 5.500"});
    PressCompute({false, "3.5", "50", 2, "12.5", " 3.500", 175, 45, "  12.5"});
    const TableWindowState shown = ComputeTable({});
    EXPECT_EQ(shown.distance + " " + shown.circle, "3.500 12.5");
}

// One row per front window, one document and ten (New, Open off); the table window changes nothing.
TEST(Menus, EnablingForEachFrontWindow)
{
    StartApplication();
    for (const std::string room : {"++", "--"}) {
        while (room == "--" && BGetNumberOfDocuments() < kMaxNumberOfDocuments)
            Trigger("New");
        QWidget *document = platform::frontWindow();
        // clang-format off
        const std::pair<std::function<void()>, std::string> rows[] = {
            {[] {}, "+---++++++"},
            {[] { ComputeTable({"3", "50", 3, {}}); }, "+++-++++++"},
            {[] { Trigger("Preferences"); }, "+-------++"},
            {[] { Trigger("About"); }, "+-------++"},
            {[] { Trigger("Facts"); }, "+-------++"},
            {[] { Trigger("Help"); }, "+-------++"},
            {[&] { platform::selectWindow(document); }, "+++-++++++"},
            {[] { Trigger("Close"); }, "--------++"}}; // the save-changes question in front
        // clang-format on
        for (const auto &[step, expected] : rows) {
            step();
            EXPECT_EQ(Enabled(), room + expected);
        }
        Press(OnlyDialog(), "Cancel");
        const std::string before = Enabled();
        Trigger("ComputeTable");
        EXPECT_EQ(Enabled(), before);
        QApplication::activeModalWidget()->close();
    }
}
