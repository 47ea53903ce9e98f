// Focus bracketing as the user gets it, each plan against the formulas of
// tests/support/optics.h: `quorlscope stack`, the window and its card.
#include "platform/prefs.h"
#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

#include <QTest>
#include <QtWidgets>
#include <algorithm>
#include <gtest/gtest.h>

using namespace qrltest;

namespace
{

// A scene and lens as the user gives them: the camera as the pop-up's item
// from 1 (the film formats' circles fixed); an overlap of NAN is left out (0.1).
struct Scene {
    int camera;
    double circle, focal, aperture, nearLimit, farLimit, overlap;
    bool feet;
};

std::string Text(double value, const char *format = "%.17g", const char *endless = "inf")
{
    return std::isinf(value)   ? endless
           : std::isnan(value) ? ""
                               : QString::asprintf(format, value).toStdString();
}

expected::Plan ExpectedPlan(const Scene &s, std::size_t most = 1000)
{
    return expected::BracketingPlan(s.focal, s.aperture, s.circle * 1e-6, s.nearLimit, s.farLimit,
                                    std::isnan(s.overlap) ? 0.1 : s.overlap, s.feet, most);
}

// The scene with its near limit at that of its plan's shot `shot` (where the plan then ends), times factor.
Scene NearAtShot(Scene scene, std::size_t shot, double factor)
{
    scene.nearLimit = 0.0; // runs to the shot
    scene.nearLimit = ExpectedPlan(scene, shot).shots.back().nearDistance * factor;
    return scene;
}

// The rows a plan is shown as: shot number, focus, near and far limits.
std::vector<Strings> ExpectedRows(const expected::Plan &plan, const char *endless)
{
    std::vector<Strings> rows;
    for (const expected::Shot &shot : plan.shots)
        rows.push_back({std::to_string(rows.size() + 1), Text(shot.focus, "%.3f", endless),
                        Text(shot.nearDistance, "%.3f", endless), Text(shot.farDistance, "%.3f", endless)});
    return rows;
}

// Metres and feet, finite and endless far limits, several overlaps; a near
// limit that is exactly a shot's ends the plan there, and so do the bounds
// (99 shots, a near limit of 1000 m).
// clang-format off
const Scene kScenes[] = {{2, 30, 24, 8, 0.5, INFINITY, 0.1, false}, {2, 30, 50, 8, 1, INFINITY, NAN, false},
    {2, 30, 50, 8, 1, INFINITY, 0, false}, {2, 30, 50, 8, 1, INFINITY, 0.5, false}, {1, 20, 100, 11, 2, 10, 0.2, false},
    {1, 20, 50, 5.6, 2, 10, 0.2, true}, {3, 33, 35, 5.6, 3, INFINITY, 0.1, true}, {4, 100, 200, 16, 20, 100, 0.9, true},
    {2, 30, 24, 16, 2, INFINITY, 0.1, false},     // one shot: A beyond half of H
    {3, 33, 50, 8, 3280.83, INFINITY, 0.3, true}, // just inside 1000 m
    {2, 30, 105, 2.8, 0.25, 0.3, 0.1, false},     // a close product shot
    {1, 25, 4, 1, 0.008, INFINITY, 0.1, false},   // the shortest lens, its closest scene
    NearAtShot({2, 30, 50, 8, 1, INFINITY, NAN, false}, 4, 1.0), NearAtShot({1, 20, 100, 2, 0.2, INFINITY, 0.1, false}, 99, 1.0)};
// clang-format on

// The fields by name (no "--" or "Field"), in full to be read back exactly; "" for one left empty (NAN).
std::vector<std::pair<std::string, std::string>> Fields(const Scene &s)
{
    // clang-format off
    return {{"focal", Text(s.focal)}, {"aperture", Text(s.aperture)}, {"circle", s.camera <= 2 ? Text(s.circle) : ""},
            {"near", Text(s.nearLimit)}, {"far", Text(s.farLimit, "%.17g", "")}, {"overlap", Text(s.overlap)}};
    // clang-format on
}

// `quorlscope stack` for the scene, with no display and no locale, as from cron.
Ran Stack(const Scene &s, const char *format)
{
    const char *const cameras[] = {"apsc", "fullframe", "film", "medium"};
    Strings arguments = {QRL_PROGRAM,         "stack",    "--camera", cameras[s.camera - 1], "--unit",
                         s.feet ? "ft" : "m", "--format", format};
    for (const auto &[name, text] : Fields(s))
        if (!text.empty())
            arguments.insert(arguments.end(), {"--" + name, text});
    return RunProcess(arguments, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL"});
}

// The window's overlap left empty is refused, so the default is typed.
void FillIn(QWidget *window, const Scene &s)
{
    ChooseItem(Find<QComboBox>(window, "cameraField"), s.camera);
    ChooseItem(Find<QComboBox>(window, "unitField"), s.feet ? 2 : 1);
    for (const auto &[name, text] : Fields(s))
        TypeInto(Find<QLineEdit>(window, (name + "Field").c_str()),
                 name == "overlap" && text.empty() ? "0.1" : text);
}

// The list's rows as the user reads them.
std::vector<Strings> ShownShots(QWidget *window)
{
    std::vector<Strings> rows;
    for (QTreeWidgetItemIterator item(Find<QTreeWidget>(window, "shotsList")); *item; ++item)
        rows.push_back(Strings{(*item)->text(0).toStdString(), (*item)->text(1).toStdString(),
                               (*item)->text(2).toStdString(), (*item)->text(3).toStdString()});
    return rows;
}

// File > Export… in the format (CSV, JSON, PDF), saved in folder as "plan".
std::string Exported(const std::string &folder, int format, const char *extension)
{
    EXPECT_TRUE(Trigger("Export"));
    const ShownDialog sheet = OnlyDialog();
    EXPECT_EQ(sheet.name, "Focus Bracketing.csv");
    EXPECT_TRUE(ChooseFormat(sheet, format) && ChooseSaveLocation(sheet, folder, "plan"));
    return folder + "/plan" + extension;
}

} // namespace

// Its key over a table opens the window with the table's figures and its distance as the far limit's
// hint; a mnemonic, Tab (a comma reads as the point) and Escape work. Then each scene through `stack`
// and the window: its shots, diagram, Copy, Export… and Print… giving what `stack` gives, and the card.
TEST(Bracketing, PlansMatchTheFormulas)
{
    StartApplication();
    platform::preferences().setValue("Distance Unit", 2);
    ComputeTable({"12.5", "85", 2, "25"});
    DocumentAt(0)->activateWindow(); // as a click on it makes it
    QApplication::processEvents();
    QTest::keyClick(DocumentAt(0), Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    QWidget *window = platform::frontWindow();
    ASSERT_NE(Find<QLineEdit>(window, "farField"), nullptr);
    EXPECT_TRUE(Find<QLineEdit>(window, "farField")->placeholderText().contains("12.5"));
    window->activateWindow();
    QApplication::processEvents();
    QTest::keyClick(window, Qt::Key_N, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "4,5");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "30");
    EXPECT_EQ(ShownShots(window), ExpectedRows(ExpectedPlan({2, 25, 85, 8, 4.5, 30, 0.1, true}), "∞"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(Trigger("FocusBracketing"));
    window->resize(1200, 800); // as a user widens it, to tell the bars apart
    const std::string folder = FreshFolder();
    Strings jsons;
    for (const Scene &scene : kScenes) {
        SCOPED_TRACE("scene " + std::to_string(&scene - kScenes));
        const expected::Plan plan = ExpectedPlan(scene);
        const Ran text = Stack(scene, "text"), csv = Stack(scene, "csv"), json = Stack(scene, "json");
        for (const Ran *ran : {&text, &csv, &json})
            ASSERT_EQ(std::make_pair(0, std::string()), std::make_pair(ran->status, ran->err));
        const std::string u = scene.feet ? " (ft)" : " (m)", n = std::to_string(plan.shots.size());
        EXPECT_EQ(0u, text.out.rfind("stack: focal length " + Text(scene.focal) + " mm, f/", 0)) << text.out;
        std::vector<Strings> lines = {Words("hyperfocal distance " + Text(plan.hyperfocal, "%.3f") +
                                            (scene.feet ? " ft, " : " m, ") + n +
                                            (n == "1" ? " shot" : " shots")),
                                      Words("shot focus" + u + " near" + u + " far" + u)};
        std::vector<Strings> rows = {
            {"shot", "focus distance" + u, "near limit" + u, "far limit" + u, "hyperfocal distance" + u}};
        for (Strings row : ExpectedRows(plan, "inf")) {
            lines.push_back(row);
            row.push_back(Text(plan.hyperfocal, "%.3f"));
            rows.push_back(row);
        }
        lines.emplace_back(); // after the last line break
        std::vector<Strings> printed;
        for (const std::string &line : Split(text.out, '\n'))
            printed.push_back(Words(line));
        EXPECT_EQ(lines, std::vector<Strings>(printed.begin() + 1, printed.end()));
        EXPECT_EQ(rows, ReadCSV(csv.out));
        jsons.push_back(json.out);
        const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out));
        expected::ExpectClose(plan.hyperfocal, document["hyperfocal"].toDouble());
        const QJsonArray shots = document["shots"].toArray();
        ASSERT_EQ(plan.shots.size(), std::size_t(shots.size()));
        for (std::size_t i = 0; i < plan.shots.size(); ++i)
            for (const auto &[name, value] : {std::pair{"shot", i + 1.0},
                                              {"focus", plan.shots[i].focus},
                                              {"near", plan.shots[i].nearDistance},
                                              {"far", plan.shots[i].farDistance}}) {
                const QJsonValue got = shots[qsizetype(i)][QLatin1String(name)];
                expected::ExpectClose(value, got.toString() == "inf" ? INFINITY : got.toDouble());
            }
        FillIn(window, scene);
        EXPECT_EQ(ShownShots(window), ExpectedRows(plan, "∞"));
        EXPECT_TRUE(Trigger("Copy"));
        EXPECT_EQ(text.out, QGuiApplication::clipboard()->mimeData()->data("text/plain").toStdString());
        EXPECT_EQ(csv.out, QGuiApplication::clipboard()->mimeData()->data("text/csv").toStdString());
        EXPECT_EQ(csv.out, ReadText(Exported(folder, 0, ".csv")));
        EXPECT_EQ(json.out, ReadText(Exported(folder, 1, ".json")));
        PrintTo(folder + "/printed.pdf");
        for (const std::string &pdf : {Exported(folder, 2, ".pdf"), folder + "/printed.pdf"}) { // the card
            EXPECT_EQ("1", PdfInfo(pdf, "Pages"));
            const std::string card = PdfText(pdf);
            const Strings words = Words(card);
            ExpectContains(card, {Text(plan.hyperfocal, "%.3f"), scene.feet ? "Focus (ft)" : "Focus (m)"});
            for (const Strings &row : ExpectedRows(plan, "∞"))
                EXPECT_NE(words.end(), std::search(words.begin(), words.end(), row.begin(), row.end()))
                    << row[0];
        }
        // Down a column a third of the way from each shot's near limit to its focus the diagram draws as
        // many bars (their blue) as zones cross it, on a dioptre scale whose ends the outermost bars give;
        // over 20 shots they are too thin to tell apart on screen.
        const QImage image = Find<QFrame>(window, "diagramFrame")->grab().toImage();
        const auto bars = [&](int x) {
            int runs = 0;
            for (int y = 0, before = 0; y < image.height(); ++y) {
                const int bar = QColor(image.pixel(x, y)).saturation() > 60;
                runs += bar && !before, before = bar;
            }
            return runs;
        };
        int left = image.width(), right = 0;
        for (int x = 0; x < image.width(); ++x)
            if (bars(x) > 0)
                left = std::min(left, x), right = std::max(right, x);
        const double nearEnd = std::min(scene.nearLimit, plan.shots.back().nearDistance);
        const auto at = [&](double distance) { return 1.0 - nearEnd / distance; };
        const double width = (right + 1 - left) / at(plan.shots.front().farDistance);
        for (const expected::Shot &shot :
             plan.shots.size() <= 20 ? plan.shots : std::vector<expected::Shot>{}) {
            const double x = (2 * at(shot.nearDistance) + at(shot.focus)) / 3;
            const auto crossing = [&](const expected::Shot &o) {
                return at(o.nearDistance) < x && x < at(o.farDistance);
            };
            EXPECT_EQ(std::count_if(plan.shots.begin(), plan.shots.end(), crossing),
                      bars(left + int(width * x)))
                << shot.focus;
        }
    }
    EXPECT_EQ(Strings(jsons.size(), ""), SchemaErrors(jsons, "bracketing-schema.json"));
}

// Each scene the plan refuses, given to `stack` (status 2, nothing on standard output, the reason alone)
// and typed in the window (the reason, no shots, its commands off, no alert).
TEST(Bracketing, RefusesWithTheReason)
{
    StartApplication();
    ASSERT_TRUE(Trigger("FocusBracketing"));
    QWidget *window = platform::frontWindow();
    const char focal[] = "The focal length should be in the range of 4..1000 mm.";
    const char near[] = "The near limit should be at least two times the focal length.";
    const char far[] = "The near limit should be at most 1000 m (3280.84 ft).";
    const char order[] = "The far limit should be beyond the near limit.";
    const char overlap[] = "The overlap should be in the range of 0..0.9.";
    const char aperture[] = "The f-number should be in the range of 1..64.";
    const char circle[] = "The circle of confusion should be in the range of 1..1000 µm.";
    const char tooMany[] = "The plan would need more than 99 shots: choose a smaller aperture (a larger "
                           "f-number), a smaller overlap or a farther near limit.";
    const std::pair<Scene, std::string> refused[] = {
        {{2, 30, 50, 8, 0.0999, INFINITY, NAN, false}, near},
        {{2, 30, 50, 8, 0.3, INFINITY, NAN, true}, near}, // 0.328 ft is twice 50 mm
        {{2, 30, 50, 8, 1000.001, INFINITY, NAN, false}, far},
        {{2, 30, 50, 8, 3280.85, INFINITY, NAN, true}, far},
        {{2, 30, 50, 8, 2, 2, NAN, false}, order},
        {{2, 30, 50, 8, 2, 1.5, NAN, false}, order},
        {{2, 30, 50, 8, 2, INFINITY, -0.01, false}, overlap},
        {{2, 30, 50, 8, 2, INFINITY, 0.91, false}, overlap},
        {{2, 30, 50, 0.99, 2, INFINITY, NAN, false}, aperture},
        {{2, 30, 50, 64.1, 2, INFINITY, NAN, false}, aperture},
        {{2, 30, 3.9, 8, 2, INFINITY, NAN, false}, focal},
        {{2, 30, 1000.1, 8, 3, INFINITY, NAN, false}, focal},
        {{2, 0.9, 50, 8, 2, INFINITY, NAN, false}, circle},
        {{2, 1001, 50, 8, 2, INFINITY, NAN, false}, circle},
        {{1, 1, 1000, 1, 2, INFINITY, NAN, false}, tooMany},
        {NearAtShot(kScenes[13], 99, 0.999), tooMany}};
    const auto expectShown = [&](const std::string &reason) {
        EXPECT_EQ(ShownShots(window), std::vector<Strings>{});
        const QLabel *label = Find<QLabel>(window, "refusalLabel");
        EXPECT_EQ(label->isVisible() ? label->text().toStdString() : "(hidden)", reason);
        for (const char *item : {"PageSetup", "Print", "Export", "Copy"})
            EXPECT_FALSE(IsCommandEnabled(item)) << item;
    };
    for (const auto &[scene, reason] : refused) {
        SCOPED_TRACE(reason + " " + Text(scene.nearLimit));
        const Ran result = Stack(scene, "text");
        EXPECT_EQ(std::make_tuple(2, std::string(), "quorlscope: " + reason + "\n"),
                  std::make_tuple(result.status, result.out, result.err));
        FillIn(window, scene);
        expectShown(reason);
    }
    FillIn(window, {2, 30, 50, 8, NAN, INFINITY, NAN, false}); // the near limit left empty
    expectShown(near);
    EXPECT_TRUE(Alerts().empty());
}
