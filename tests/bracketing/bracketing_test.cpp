// `quorlscope stack`, the real program without a display: its plans against
// the formulas worked out in tests/support/bracketing_optics.h, as text, CSV
// and JSON (checked against docs/bracketing-schema.json), and every refusal:
// status 2, nothing on standard output, the reason on standard error.
#include "tests/support/bracketing_optics.h"
#include "tests/support/common.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using qrltest::Ran;
using qrltest::Strings;
using qrltest::Words;

namespace
{

// A scene and lens as the user types them; overlap < 0 leaves it out.
struct Scene {
    const char *camera;
    double circleMicrometres; // for apsc and fullframe
    double focal, aperture, nearLimit, farLimit, overlap;
    const char *unit;
};

std::string Text(double value, int digits)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

// Three decimals as printed; "inf" for no limit.
std::string Figure(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::isinf(value) ? "inf" : text;
}

// The command line of the scene; the near limit in full, to be read back exactly.
Strings StackArguments(const Scene &scene, const char *format)
{
    Strings arguments = {"stack", "--camera", scene.camera, "--unit", scene.unit, "--format", format};
    const auto add = [&](const char *name, double value, bool given) {
        if (given)
            arguments.insert(arguments.end(), {name, Text(value, 17)});
    };
    add("--focal", scene.focal, true);
    add("--aperture", scene.aperture, true);
    add("--near", scene.nearLimit, true);
    add("--circle", scene.circleMicrometres, scene.circleMicrometres > 0.0);
    add("--far", scene.farLimit, !std::isinf(scene.farLimit));
    add("--overlap", scene.overlap, scene.overlap >= 0.0);
    return arguments;
}

// The words of a command line, for the messages of failed checks.
std::string Joined(const Strings &arguments)
{
    std::string text;
    for (const std::string &argument : arguments)
        text += " " + argument;
    return text;
}

expected::Plan ExpectedPlan(const Scene &scene, std::size_t most = 1000)
{
    const double circle = std::string(scene.camera) == "film"     ? 33e-6
                          : std::string(scene.camera) == "medium" ? 100e-6
                                                                  : scene.circleMicrometres * 1e-6;
    return expected::BracketingPlan(scene.focal, scene.aperture, circle, scene.nearLimit, scene.farLimit,
                                    scene.overlap < 0.0 ? 0.1 : scene.overlap,
                                    std::string(scene.unit) == "ft", most);
}

// The scene with its near limit at that of its plan's shot number `shot`
// (where the plan then ends), times factor.
Scene NearAtShot(Scene scene, std::size_t shot, double factor)
{
    scene.nearLimit = 0.0; // runs to the shot
    scene.nearLimit = ExpectedPlan(scene, shot).shots.back().nearDistance * factor;
    return scene;
}

// The real program with no display and no locale, as from cron.
Ran Quorlscope(const Strings &arguments)
{
    Strings command = {QRL_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return qrltest::RunProcess(command, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL"});
}

void ExpectClose(double expected, double actual, const std::string &what)
{
    if (std::isinf(expected))
        EXPECT_TRUE(std::isinf(actual)) << what;
    else
        EXPECT_NEAR(expected, actual, 1e-9 * expected) << what;
}

} // namespace

// Metres and feet, finite and endless far limits, several overlaps; a
// near limit that is exactly a shot's ends the plan there, and so do the
// bounds (99 shots, a near limit of 1000 m).
TEST(StackCommand, PlansMatchTheFormulas)
{
    const Scene landscape = {"fullframe", 30, 50, 8, 1, INFINITY, -1, "m"};
    const Scene portrait = {"apsc", 20, 100, 2, 0.2, INFINITY, 0.1, "m"};
    const Scene scenes[] = {
        landscape,
        {"fullframe", 30, 50, 8, 1, INFINITY, 0, "m"},
        {"fullframe", 30, 50, 8, 1, INFINITY, 0.5, "m"},
        {"apsc", 20, 100, 11, 2, 10, 0.2, "m"},
        {"film", 0, 35, 5.6, 3, INFINITY, 0.1, "ft"},
        {"medium", 0, 200, 16, 20, 100, 0.9, "ft"},
        {"fullframe", 30, 24, 16, 2, INFINITY, 0.1, "m"}, // one shot: A beyond half of H
        {"film", 0, 50, 8, 3280.83, INFINITY, 0.3, "ft"}, // just inside 1000 m
        {"fullframe", 30, 105, 2.8, 0.25, 0.3, 0.1, "m"}, // a close product shot
        {"apsc", 25, 4, 1, 0.008, INFINITY, 0.1, "m"},    // the shortest lens, its closest scene
        NearAtShot(landscape, 4, 1.0),
        NearAtShot(portrait, 99, 1.0)};
    Strings jsons;
    for (const Scene &scene : scenes) {
        const expected::Plan plan = ExpectedPlan(scene);
        const std::string what = Joined(StackArguments(scene, "text"));
        const std::string u = std::string("(") + scene.unit + ")";
        const Ran text = Quorlscope(StackArguments(scene, "text"));
        ASSERT_EQ(0, text.status) << what << "\n" << text.err;
        EXPECT_EQ("", text.err) << what;
        std::istringstream printed(text.out);
        Strings lines;
        for (std::string line; std::getline(printed, line);)
            lines.push_back(line);
        ASSERT_EQ(plan.shots.size() + 3, lines.size()) << what << "\n" << text.out;
        EXPECT_EQ(0u, lines[0].rfind("stack: focal length " + Text(scene.focal, 15) + " mm, f/", 0))
            << lines[0];
        EXPECT_EQ("hyperfocal distance " + Figure(plan.hyperfocal) + " " + scene.unit + ", " +
                      std::to_string(plan.shots.size()) + (plan.shots.size() == 1 ? " shot" : " shots"),
                  lines[1]);
        EXPECT_EQ(Words(" shot focus " + u + " near " + u + " far " + u), Words(lines[2]));
        const Ran csv = Quorlscope(StackArguments(scene, "csv"));
        ASSERT_EQ(0, csv.status) << what << "\n" << csv.err;
        const std::vector<Strings> rows = qrltest::ReadCSV(csv.out);
        ASSERT_EQ(plan.shots.size() + 1, rows.size()) << what;
        const std::string v = std::string(" (") + scene.unit + ")";
        EXPECT_EQ((std::vector<std::string>{"shot", "focus distance" + v, "near limit" + v, "far limit" + v,
                                            "hyperfocal distance" + v}),
                  rows[0]);
        const Ran json = Quorlscope(StackArguments(scene, "json"));
        ASSERT_EQ(0, json.status) << what << "\n" << json.err;
        jsons.push_back(json.out);
        const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        ExpectClose(plan.hyperfocal, object["hyperfocal"].toDouble(), what + " hyperfocal");
        const QJsonArray shots = object["shots"].toArray();
        ASSERT_EQ(plan.shots.size(), std::size_t(shots.size())) << what;
        for (std::size_t i = 0; i < plan.shots.size(); ++i) {
            const expected::Shot &shot = plan.shots[i];
            const std::string n = std::to_string(i + 1), at = what + " shot " + n;
            const std::vector<std::string> figures = {n, Figure(shot.focus), Figure(shot.nearDistance),
                                                      Figure(shot.farDistance)};
            EXPECT_EQ(figures, Words(lines[i + 3])) << at;
            std::vector<std::string> row = figures;
            row.push_back(Figure(plan.hyperfocal));
            EXPECT_EQ(row, rows[i + 1]) << at;
            const QJsonObject entry = shots[qsizetype(i)].toObject();
            EXPECT_EQ(int(i + 1), entry["shot"].toInt()) << at;
            ExpectClose(shot.focus, entry["focus"].toDouble(), at + " focus");
            ExpectClose(shot.nearDistance, entry["near"].toDouble(), at + " near");
            if (std::isinf(shot.farDistance))
                EXPECT_EQ("inf", entry["far"].toString().toStdString()) << at;
            else
                ExpectClose(shot.farDistance, entry["far"].toDouble(), at + " far");
        }
    }
    // The schema takes every plan and refuses a far limit that is neither a distance nor "inf".
    std::string broken = jsons.front();
    broken.replace(broken.find("\"far\": \"inf\""), 12, "\"far\": null");
    jsons.push_back(broken);
    const Strings errors = qrltest::SchemaErrors(jsons, "bracketing-schema.json");
    ASSERT_EQ(jsons.size(), errors.size());
    EXPECT_EQ(Strings(jsons.size() - 1, ""), Strings(errors.begin(), errors.end() - 1));
    EXPECT_NE("", errors.back());
}

// Each argument the plan refuses; the reason alone, no usage, for what the
// plan refuses, the usage after a wrong command line.
TEST(StackCommand, RefusesWithTheReason)
{
    const Scene portrait = {"apsc", 20, 100, 2, 0.2, INFINITY, 0.1, "m"};
    const Strings base = {"stack",    "--focal",   "50",       "--aperture", "8",
                          "--camera", "fullframe", "--circle", "30"};
    const auto with = [&](const Strings &more) {
        Strings arguments = base;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const std::string beyond99 = Text(NearAtShot(portrait, 99, 0.999).nearLimit, 17);
    const char focal[] = "The focal length should be in the range of 4..1000 mm.\n";
    const char near[] = "The near limit should be at least two times the focal length.\n";
    const char far[] = "The near limit should be at most 1000 m (3280.84 ft).\n";
    const char order[] = "The far limit should be beyond the near limit.\n";
    const char overlap[] = "The overlap should be in the range of 0..0.9.\n";
    const char aperture[] = "The f-number should be in the range of 1..64.\n";
    const char circle[] = "The circle of confusion should be in the range of 1..1000 \xC2\xB5m.\n";
    const char tooMany[] = "The plan would need more than 99 shots: choose a smaller aperture (a larger "
                           "f-number), a smaller overlap or a farther near limit.\n";
    struct Case {
        Strings arguments;
        std::string message; // after "quorlscope: "
        bool usage;
    };
    const Case cases[] = {
        {with({"--near", "0.0999"}), near, false},
        {with({"--near", "0.3", "--unit", "ft"}), near, false}, // 0.328 ft is twice 50 mm
        {with({"--near", "1000.001"}), far, false},
        {with({"--near", "3280.85", "--unit", "ft"}), far, false},
        {with({"--near", "2", "--far", "2"}), order, false},
        {with({"--near", "2", "--far", "1.5"}), order, false},
        {with({"--near", "2", "--overlap", "-0.01"}), overlap, false},
        {with({"--near", "2", "--overlap", "0.91"}), overlap, false},
        {with({"--near", "2", "--aperture", "0.99"}), aperture, false},
        {with({"--near", "2", "--aperture", "64.1"}), aperture, false},
        {with({"--near", "2", "--focal", "3.9"}), focal, false},
        {with({"--near", "3", "--focal", "1000.1"}), focal, false},
        {with({"--near", "2", "--circle", "0.9"}), circle, false},
        {with({"--near", "2", "--circle", "1001"}), circle, false},
        {{"stack", "--focal", "1000", "--aperture", "1", "--camera", "apsc", "--circle", "1", "--near", "2"},
         tooMany,
         false},
        {{"stack", "--focal", "100", "--aperture", "2", "--camera", "apsc", "--circle", "20", "--near",
          beyond99, "--unit", "m"},
         tooMany,
         false},
        {base, "--near is needed\n", true},
        {{"stack", "--focal", "50", "--camera", "film", "--near", "2"}, "--aperture is needed\n", true},
        {with({"--near", "2", "--far", "inf"}), "--far inf: not a number\n", true},
        {with({"--near", "2", "--overlap", "10%"}), "--overlap 10%: not a number\n", true},
        {with({"--near", "2", "--distance", "3"}), "unknown option --distance\n", true}};
    for (const Case &c : cases) {
        const Ran result = Quorlscope(c.arguments);
        const std::string what = Joined(c.arguments);
        EXPECT_EQ(2, result.status) << what;
        EXPECT_EQ("", result.out) << what;
        EXPECT_EQ("quorlscope: " + c.message,
                  c.usage ? result.err.substr(0, c.message.size() + 12) : result.err)
            << what;
        EXPECT_EQ(c.usage, result.err.find("usage: quorlscope table") != std::string::npos) << what;
    }
}

// The program's help names stack; stack's own help gives its options.
TEST(StackCommand, HelpNamesIt)
{
    const Ran program = Quorlscope({"--help"});
    EXPECT_EQ(0, program.status) << program.err;
    EXPECT_NE(std::string::npos, program.out.find("'quorlscope stack' plans the focus distances"))
        << program.out;
    const Ran stack = Quorlscope({"stack", "--help"});
    EXPECT_EQ(0, stack.status) << stack.err;
    EXPECT_NE(std::string::npos,
              stack.out.find("\n       quorlscope stack --focal MM --aperture N --camera "))
        << stack.out;
}
