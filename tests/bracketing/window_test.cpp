// The focus bracketing window as a user works it: opened by its item or key,
// filled in, its shots or its reason checked against bracketing_optics.h;
// then Copy, Export… (files read back) and Print… of its plan.
#include "platform/prefs.h"
#include "tests/support/app_driver.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

// What the user types and chooses (camera and unit as pop-up items from 1).
struct Entry {
    std::string focal, aperture;
    int camera;
    std::string circle, nearLimit, farLimit, overlap;
    int unit;
};

const Entry kTypical = {"24", "8", 2, "30", "0.5", "", "0.1", 1};

std::string Figure(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::isinf(value) ? "∞" : text;
}

// The plan the entry asks for, by the formulas; the film formats' circles are fixed.
expected::Plan Expected(const Entry &e)
{
    const auto read = [](std::string text) {
        std::replace(text.begin(), text.end(), ',', '.');
        return text.empty() ? INFINITY : std::stod(text);
    };
    const double circle = e.camera == 3 ? 33e-6 : e.camera == 4 ? 100e-6 : read(e.circle) / 1e6;
    return expected::BracketingPlan(read(e.focal), read(e.aperture), circle, read(e.nearLimit),
                                    read(e.farLimit), read(e.overlap), e.unit == 2);
}

void FillIn(QWidget *window, const Entry &e)
{
    ChooseItem(Find<QComboBox>(window, "cameraField"), e.camera);
    ChooseItem(Find<QComboBox>(window, "unitField"), e.unit);
    const std::pair<const char *, std::string> fields[] = {
        {"focalField", e.focal},    {"apertureField", e.aperture}, {"circleField", e.circle},
        {"nearField", e.nearLimit}, {"farField", e.farLimit},      {"overlapField", e.overlap}};
    for (const auto &[name, text] : fields)
        TypeInto(Find<QLineEdit>(window, name), text);
}

// The list's rows as the user reads them.
std::vector<Strings> ShownShots(QWidget *window)
{
    std::vector<Strings> rows;
    auto *list = Find<QTreeWidget>(window, "shotsList");
    for (int i = 0; list && i < list->topLevelItemCount(); ++i)
        for (int column = 0; column < 4; ++column)
            (column ? rows.back() : rows.emplace_back())
                .push_back(list->topLevelItem(i)->text(column).toStdString());
    return rows;
}

std::vector<Strings> ExpectedShots(const expected::Plan &plan)
{
    std::vector<Strings> rows;
    for (const expected::Shot &shot : plan.shots)
        rows.push_back({std::to_string(rows.size() + 1), Figure(shot.focus), Figure(shot.nearDistance),
                        Figure(shot.farDistance)});
    return rows;
}

// The window made the active one, as a click on it makes it, then the key pressed.
void PressKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    platform::selectWindow(window);
    window->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(window, key, modifiers);
}

} // namespace

// Plans in each camera and unit, then one bad input per kind of refusal over
// the typical plan: its reason and no shots, never an alert. The plan's
// commands are enabled exactly when there is a plan.
TEST(BracketingWindow, ListsTheShotsOrTheReason)
{
    StartApplication();
    ASSERT_TRUE(Trigger("FocusBracketing"));
    QWidget *window = platform::frontWindow();
    const Entry plans[] = {kTypical,
                           {"50", "5.6", 1, "20", "2", "10", "0.2", 2},
                           {"100", "11", 3, "", "3", "20", "0", 1},
                           {"80", "16", 4, "", "1,5", "", "0,3", 1}};
    const std::tuple<const char *, const char *, std::string> refusals[] = {
        {"focalField", "3", "The focal length should be in the range of 4..1000 mm."},
        {"focalField", "24mm", "The focal length should be in the range of 4..1000 mm."},
        {"apertureField", "0.5", "The f-number should be in the range of 1..64."},
        {"circleField", "1001", "The circle of confusion should be in the range of 1..1000 µm."},
        {"nearField", "0.04", "The near limit should be at least two times the focal length."},
        {"nearField", "", "The near limit should be at least two times the focal length."},
        {"nearField", "1000.5", "The near limit should be at most 1000 m (3280.84 ft)."},
        {"farField", "0.4", "The far limit should be beyond the near limit."},
        {"overlapField", "0.95", "The overlap should be in the range of 0..0.9."},
        {"focalField", "200",
         "The plan would need more than 99 shots: choose a smaller aperture (a larger "
         "f-number), a smaller overlap or a farther near limit."}};
    const auto expectShown = [&](const std::vector<Strings> &shots, const std::string &reason) {
        auto *label = Find<QLabel>(window, "refusalLabel");
        EXPECT_EQ(ShownShots(window), shots);
        EXPECT_EQ(label->isVisible() ? label->text().toStdString() : "", reason);
        for (const char *item : {"PageSetup", "Print", "Export", "Copy"})
            EXPECT_EQ(IsCommandEnabled(item), reason.empty()) << item;
    };
    for (const Entry &e : plans) {
        FillIn(window, e);
        expectShown(ExpectedShots(Expected(e)), "");
    }
    for (const auto &[field, text, reason] : refusals) {
        FillIn(window, kTypical);
        TypeInto(Find<QLineEdit>(window, field), text);
        expectShown({}, reason);
    }
    EXPECT_TRUE(AlertMessages().empty());
}

// Its key over a computed table opens the window with the table's lens,
// camera, circle and unit (the shots tell) and its distance as the far
// limit's hint; a mnemonic and Tab reach the fields, Escape puts it away.
TEST(BracketingWindow, OpensPrefilledAndWorksByKeyboard)
{
    StartApplication();
    EXPECT_EQ(KeyOf("FocusBracketing"), "Ctrl+Shift+B");
    const std::pair<TableEntry, Entry> rows[] = {
        {{"3", "50", 3, std::nullopt}, {"50", "8", 3, "", "1", "9", "0.1", 1}},
        {{"12.5", "85", 2, "25"}, {"85", "8", 2, "25", "4", "30", "0.1", 2}}};
    for (const auto &[table, e] : rows) {
        platform::preferences().setValue("Distance Unit", e.unit);
        ComputeTable(table);
        PressKey(platform::frontWindow(), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget *window = platform::frontWindow();
        ASSERT_NE(Find<QLineEdit>(window, "farField"), nullptr);
        EXPECT_TRUE(Find<QLineEdit>(window, "farField")->placeholderText().contains(table.distance->c_str()));
        PressKey(window, Qt::Key_N, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), e.nearLimit.c_str());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), e.farLimit.c_str());
        EXPECT_EQ(ShownShots(window), ExpectedShots(Expected(e)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    }
}

// The typical plan copied (text and CSV), exported (CSV, JSON, the card as
// PDF) and printed: each holds every shot's focus and near limit (JSON: its
// schema and a record per shot). The PDFs need the card's painter.
TEST(BracketingWindow, CopiesExportsAndPrintsThePlan)
{
    StartApplication();
    ASSERT_TRUE(Trigger("FocusBracketing"));
    FillIn(platform::frontWindow(), kTypical);
    const expected::Plan plan = Expected(kTypical);
    const std::string folder = TempFolder();
    const auto exported = [&](int format, const char *extension) {
        EXPECT_TRUE(Trigger("Export"));
        const ShownDialog sheet = OnlyDialog();
        EXPECT_EQ(sheet.name, "Focus Bracketing.csv");
        EXPECT_TRUE(ChooseFormat(sheet, format) && ChooseSaveLocation(sheet, folder, "plan"));
        return folder + "/plan" + extension;
    };
    const auto copied = [](const char *flavor) {
        EXPECT_TRUE(Trigger("Copy"));
        return QGuiApplication::clipboard()->mimeData()->data(flavor).toStdString();
    };
    const std::pair<std::string, std::function<std::string()>> outputs[] = {
        {"csv", [&] { return copied("text/csv"); }},
        {"text", [&] { return copied("text/plain"); }},
        {"csv", [&] { return ReadText(exported(0, ".csv")); }},
        {"json", [&] { return ReadText(exported(1, ".json")); }},
        {"pdf", [&] { return PdfText(exported(2, ".pdf")); }},
        {"pdf", [&] { return PrintTo(folder + "/printed.pdf"), PdfText(folder + "/printed.pdf"); }}};
    for (const auto &[kind, output] : outputs) {
        SCOPED_TRACE(kind);
        const std::string text = output();
        if (kind == "json") {
            EXPECT_EQ(SchemaErrors({text}, "bracketing-schema.json"), Strings{""});
            EXPECT_EQ(QJsonDocument::fromJson(text.c_str())["shots"].toArray().size(), plan.shots.size());
            continue;
        }
        // CSV: strictly read, a heading and a row per shot.
        EXPECT_TRUE(kind != "csv" || ReadCSV(text).size() == plan.shots.size() + 1);
        for (const expected::Shot &shot : plan.shots)
            ExpectContains(text, {Figure(shot.focus), Figure(shot.nearDistance)});
    }
    EXPECT_TRUE(AlertMessages().empty());
}
