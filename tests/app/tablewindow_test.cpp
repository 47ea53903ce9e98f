// The table parameters window as a user works it: what it shows on opening,
// the arguments it takes or refuses (the sheet or the alert), what it
// remembers, and the keys that end it.
#include "app/tablewindow.h"
#include "document/document.h"
#include "platform/internal.h"
#include "platform/prefs.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

using namespace qrltest;

namespace
{

// What the user types and chooses, and what the sheet then shows: the
// distance at (308, 20), or nullptr when the alert refuses the arguments;
// with spot, a further text the sheet shows at (x, y).
struct Entry {
    bool feet;
    std::string distance, focal;
    int camera;
    std::string circle;
    const char *shown;
    short x = 0, y = 0;
    const char *spot = nullptr;
};

std::string Field(QWidget *window, const char *name)
{
    return Find<QLineEdit>(window, name)->text().toStdString();
}

// Types the entry and presses Compute. Taken, the window ends and the
// sheet shows it; refused, the alert comes and the window stays open with
// the entries as typed, and the document stays empty.
void PressCompute(const Entry &e)
{
    SCOPED_TRACE("'" + e.distance + "' '" + e.focal + "' camera " + std::to_string(e.camera) + " '" +
                 e.circle + "'" + (e.feet ? " ft" : " m"));
    platform::preferences().setValue("Distance Unit", e.feet ? 2 : 1);
    TakeShownAlerts();
    RunTableWindow([&](QWidget *window) {
        TypeInto(Find<QLineEdit>(window, "distanceField"), e.distance);
        TypeInto(Find<QLineEdit>(window, "focalField"), e.focal);
        ChooseItem(Find<QComboBox>(window, "unsharpField"), e.camera);
        TypeInto(Find<QLineEdit>(window, "unsharpCircleValueField"), e.circle);
        ASSERT_TRUE(Click(Find<QPushButton>(window, "computeButton")));
        const std::vector<ShownAlert> alerts = TakeShownAlerts();
        EXPECT_EQ(QRLIsTableWindow(), e.shown ? 0 : 1);
        if (e.shown) {
            EXPECT_TRUE(alerts.empty());
            return;
        }
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(std::tie(alerts[0].icon, alerts[0].message, alerts[0].explanation, alerts[0].modality),
                  std::make_tuple(QMessageBox::Information, "Please Check Your Arguments!",
                                  "The focal length should be in the range of 4..1000 mm,\n"
                                  "the distance from two times of focal length to 1000 m,\n"
                                  "and the circle of confusion in the range of 1..1000 \u00b5m.",
                                  Qt::ApplicationModal));
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(std::make_tuple(Field(window, "distanceField"), Field(window, "focalField"),
                                  Find<QComboBox>(window, "unsharpField")->currentIndex() + 1,
                                  Field(window, "unsharpCircleValueField")),
                  std::tie(e.distance, e.focal, e.camera, e.circle));
    });
    EXPECT_EQ(QRLIsDataValid(BGetCurrentDocsDataPtr()), e.shown != nullptr);
    if (!e.shown) {
        EXPECT_EQ(BGetNumberOfDirtyDocuments(), 0);
        EXPECT_EQ(TextAt(DocumentAt(0), 140, 150), "-");
        return;
    }
    EXPECT_EQ(TextAt(DocumentAt(0), 308, 20), e.shown);
    EXPECT_EQ(QRLGetDistanceUnit(BGetCurrentDocsDataPtr()), e.feet ? 2 : 1);
    if (e.spot) {
        EXPECT_EQ(TextAt(DocumentAt(0), e.x, e.y), e.spot);
    }
}

TableWindowState Opening()
{
    return ComputeTable({std::nullopt, std::nullopt, std::nullopt, std::nullopt, false});
}

std::tuple<std::string, std::string, int, std::string, bool> Shown(const TableWindowState &s)
{
    return {s.distance, s.focalLength, s.cameraItem, s.circle, s.circleEnabled};
}

} // namespace

// Every bound of the range check in metres and feet (twice 35 mm is 0.2297
// ft: the bound is converted, not taken as metres); text that is no finite
// number is refused; a comma reads as a point; the circle counts for the
// digital formats only. Refused ones first, on the empty document.
TEST(TableWindow, ArgumentsTakenOrRefused)
{
    // clang-format off
    std::vector<Entry> rows = {
        {false, "5", "3.99", 2, "10", nullptr},    {false, "5", "3", 2, "10", nullptr},
        {false, "5", "1001", 2, "10", nullptr},    {false, "5", "1000.5", 2, "10", nullptr},
        {false, "5", "0", 2, "10", nullptr},       {false, "5", "-50", 2, "10", nullptr},
        {false, "1000.5", "50", 2, "10", nullptr}, {false, "1000.001", "50", 2, "10", nullptr},
        {false, "0.05", "35", 2, "10", nullptr},   {false, "0.0699", "35", 2, "10", nullptr},
        {false, "0.0999", "50", 2, "10", nullptr}, {false, "1.999", "1000", 2, "10", nullptr},
        {false, "-3", "50", 2, "10", nullptr},     {true, "0.1", "35", 2, "10", nullptr},
        {true, "0.2296", "35", 2, "10", nullptr},  {true, "6.561", "1000", 2, "10", nullptr},
        {true, "1000.5", "50", 2, "10", nullptr}};
    // clang-format on
    for (const char *text :
         {"abc", "",  " ",   "nan",  "NaN",   "inf",   "-inf",    "infinity", "0x10", "x5",  ".",
          "-",   ",", "1e3", "50mm", "6.25m", "1,5,0", "1.000,5", "1 000",    "5..0", "--5", "1,5 m"}) {
        rows.push_back({false, text, "50", 2, "10", nullptr});
        rows.push_back({false, "5", text, 2, "10", nullptr});
    }
    for (int camera : {1, 2})
        for (const char *text : {"0", "nan", "inf", "", "-5", "1e308", "0.99", "1000.01", "abc", "0,5"})
            rows.push_back({false, "3", "50", camera, text, nullptr});
    // clang-format off
    rows.insert(rows.end(), {
        {false, "5", "4", 2, "10", " 5.000"},         {false, "5", "1000", 2, "10", " 5.000", 140, 20, "  1000"},
        {false, "1000", "50", 2, "10", "1000.000"},   {false, "0.07", "35", 2, "10", " 0.070"},
        {false, "0.1", "50", 2, "10", " 0.100"},      {false, "2", "1000", 2, "10", " 2.000"},
        {false, "5,5", "50", 2, "10", " 5.500"},      {false, "  7.5 ", "50", 2, "10", " 7.500"},
        {false, ",5", "50", 2, "10", " 0.500"},       {false, "6.", "49,6", 2, "10", " 6.000", 140, 20, "    50"},
        {false, "+8", " 35", 2, "10", " 8.000", 140, 20, "    35"},
        {false, "1,5", "50,4", 2, "10", " 1.500", 140, 20, "    50"},
        {true, "0.2297", "35", 2, "10", " 0.230"},    {true, "6.562", "1000", 2, "10", " 6.562"},
        {true, "1000", "50", 2, "10", "1000.000"},
        {false, "3", "50", 1, "1", " 3.000", 175, 45, "   1.0"},
        {false, "3", "50", 2, "1000", " 3.000", 175, 45, "1000.0"},
        {false, "3", "50", 2, "12,5", " 3.000", 175, 45, "  12.5"},
        {false, "4", "50", 3, "0", " 4.000", 175, 45, "  33.0"},
        {false, "5", "50", 4, "nan", " 5.000", 175, 45, " 100.0"}});
    // clang-format on
    StartApplication();
    for (const Entry &e : rows)
        PressCompute(e);
}

// The first opening, with the distance field focused and its text
// selected; the circle field is open to the digital formats only.
TEST(TableWindow, Opening)
{
    StartApplication();
    EXPECT_EQ(Shown(Opening()), std::make_tuple("5.000", "35", 2, "10.0", true));
    RunTableWindow([](QWidget *window) {
        auto *distance = Find<QLineEdit>(window, "distanceField");
        EXPECT_EQ(window->focusWidget(), distance);
        EXPECT_EQ(distance->selectedText(), distance->text());
        EXPECT_TRUE(Find<QPushButton>(window, "computeButton")->isDefault());
        EXPECT_FALSE(ChooseItem(Find<QComboBox>(window, "unsharpField"), 5));
        const std::pair<int, bool> circleOpen[] = {{3, false}, {1, true}, {4, false}, {2, true}, {4, false}};
        for (const auto &[item, enabled] : circleOpen) {
            ASSERT_TRUE(ChooseItem(Find<QComboBox>(window, "unsharpField"), item));
            EXPECT_EQ(Find<QLineEdit>(window, "unsharpCircleValueField")->isEnabled(), enabled) << item;
        }
    });
}

// Each opening shows the last computed arguments, in any document; a circle
// typed and then left for a film format is not kept.
TEST(TableWindow, RemembersTheLastArguments)
{
    StartApplication();
    const std::pair<TableEntry, std::tuple<std::string, std::string, int, std::string, bool>> rows[] = {
        {{"3", "50", 3, std::nullopt}, {"5.000", "35", 2, "10.0", true}},
        {{"4", "80", 4, std::nullopt}, {"3.000", "50", 3, "33.0", false}},
        {{"2.5", "24", 1, "19"}, {"4.000", "80", 4, "100.0", false}},
        {{"3", "50", 1, "500"}, {"2.500", "24", 1, "19.0", true}},
        {{std::nullopt, std::nullopt, 3, std::nullopt}, {"3.000", "50", 1, "500.0", true}},
        {{"7", "85", 2, "25"}, {"3.000", "50", 3, "33.0", false}}};
    for (const auto &[entry, shown] : rows)
        EXPECT_EQ(Shown(ComputeTable(entry)), shown);
    Trigger("New");
    EXPECT_EQ(Shown(Opening()), std::make_tuple("7.000", "85", 2, "25.0", true));
}

// Cancel, Escape and the close box change nothing; Return computes; a
// cancelled edit after a compute keeps the computed table.
TEST(TableWindow, CancelEscapeCloseBoxAndReturn)
{
    StartApplication();
    QWidget *document = DocumentAt(0);
    const std::function<void(QWidget *)> cancels[] = {
        [](QWidget *window) { Click(Find<QPushButton>(window, "cancelButton")); },
        [](QWidget *window) { QTest::keyClick(Find<QLineEdit>(window, "distanceField"), Qt::Key_Escape); },
        [](QWidget *window) {
            QCloseEvent close;
            QApplication::sendEvent(window, &close);
        }};
    for (const auto &cancel : cancels) {
        RunTableWindow([&](QWidget *window) {
            TypeInto(Find<QLineEdit>(window, "distanceField"), "8");
            cancel(window);
            EXPECT_EQ(QRLIsTableWindow(), 0);
        });
        EXPECT_FALSE(QRLIsDataValid(BGetCurrentDocsDataPtr()));
        EXPECT_FALSE(document->isWindowModified());
        EXPECT_EQ(std::make_tuple(TextAt(document, 140, 150), TextAt(document, 150, 20)),
                  std::make_tuple("-", "-"));
        EXPECT_EQ(Shown(Opening()), std::make_tuple("5.000", "35", 2, "10.0", true));
    }
    RunTableWindow([](QWidget *window) {
        TypeInto(Find<QLineEdit>(window, "distanceField"), "3");
        TypeInto(Find<QLineEdit>(window, "focalField"), "50");
        ChooseItem(Find<QComboBox>(window, "unsharpField"), 3);
        QTest::keyClick(Find<QLineEdit>(window, "focalField"), Qt::Key_Return);
        EXPECT_EQ(QRLIsTableWindow(), 0);
    });
    EXPECT_EQ(TextAt(document, 140, 150), " 2.845");
    ComputeTable({"9", "100", 1, "5", false});
    EXPECT_EQ(std::make_tuple(TextAt(document, 308, 20), TextAt(document, 140, 20)),
              std::make_tuple(" 3.000", "    50"));
    EXPECT_EQ(Shown(Opening()), std::make_tuple("3.000", "50", 3, "33.0", false));
}

// The Edit menu's commands act on the focused field.
TEST(TableWindow, EditMenuActsOnTheFocusedField)
{
    StartApplication();
    RunTableWindow([](QWidget *window) {
        window->activateWindow();
        QApplication::processEvents();
        auto *distance = Find<QLineEdit>(window, "distanceField");
        auto *focal = Find<QLineEdit>(window, "focalField");
        TypeInto(distance, "12.5");
        const struct {
            QLineEdit *field;
            const char *command, *distance, *focal;
        } rows[] = {{distance, "SelectAll", "12.5", "35"},
                    {distance, "Copy", "12.5", "35"},
                    {focal, "SelectAll", "12.5", "35"},
                    {focal, "Paste", "12.5", "12.5"},
                    {focal, "Undo", "12.5", "35"},
                    {distance, "SelectAll", "12.5", "35"},
                    {distance, "Cut", "", "35"},
                    {focal, "SelectAll", "", "35"},
                    {focal, "Delete", "", ""}};
        for (const auto &row : rows) {
            row.field->setFocus();
            ASSERT_EQ(QApplication::focusWidget(), row.field);
            EXPECT_TRUE(Trigger(row.command)) << row.command;
            EXPECT_EQ(std::make_pair(distance->text().toStdString(), focal->text().toStdString()),
                      std::make_pair(std::string(row.distance), std::string(row.focal)))
                << row.command;
        }
    });
}

// In a locale with a decimal comma the fields still read and show points.
TEST(TableWindow, CommaLocaleStillReadsAndWritesPoints)
{
    StartApplication();
    if (!UseCommaDecimalLocale())
        GTEST_SKIP() << "no locale with a decimal comma, nor the sources to make one";
    PressCompute({false, "5,5", "50", 2, "10", " 5.500"});
    PressCompute({false, "3.5", "50", 2, "12.5", " 3.500", 175, 45, "  12.5"});
    EXPECT_EQ(Shown(Opening()), std::make_tuple("3.500", "50", 2, "12.5", true));
    ComputeTable({std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    EXPECT_EQ(std::make_tuple(TextAt(DocumentAt(0), 308, 20), TextAt(DocumentAt(0), 175, 45)),
              std::make_tuple(" 3.500", "  12.5"));
    std::setlocale(LC_ALL, "C");
}
