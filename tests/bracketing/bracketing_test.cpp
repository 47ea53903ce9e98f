// `quorlscope stack` without a display: its plans against the formulas of
// tests/support/bracketing_optics.h as text, CSV and JSON (checked against
// docs/bracketing-schema.json), and every refusal: status 2, nothing on
// standard output, the reason on standard error.
#include "tests/support/common.h"
#include "tests/support/optics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <regex>

using namespace qrltest;

namespace
{

// A scene as the user types it; a circle or overlap below 0 is left out.
struct Scene {
    const char *camera;
    double circleMicrometres, focal, aperture, nearLimit, farLimit, overlap;
    const char *unit;
};

// The value in the printf format; "inf" for no limit.
std::string Text(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return std::isinf(value) ? "inf" : text;
}

// The command line of the scene, each figure in full to be read back exactly.
Strings Arguments(const Scene &s, const char *format)
{
    Strings arguments = {"stack", "--camera", s.camera, "--unit", s.unit, "--format", format};
    const std::pair<const char *, double> figures[] = {
        {"--focal", s.focal},  {"--aperture", s.aperture},        {"--near", s.nearLimit},
        {"--far", s.farLimit}, {"--circle", s.circleMicrometres}, {"--overlap", s.overlap}};
    for (const auto &[option, value] : figures)
        if (value >= 0.0 && !std::isinf(value))
            arguments.insert(arguments.end(), {option, Text("%.17g", value)});
    return arguments;
}

expected::Plan PlanOf(const Scene &s, std::size_t most = 1000)
{
    const std::string camera = s.camera;
    const double circle = camera == "film" ? 33e-6 : camera == "medium" ? 100e-6 : s.circleMicrometres * 1e-6;
    return expected::BracketingPlan(s.focal, s.aperture, circle, s.nearLimit, s.farLimit,
                                    s.overlap < 0.0 ? 0.1 : s.overlap, std::string(s.unit) == "ft", most);
}

// The scene with its near limit at that of its plan's shot number `shot`
// (where the plan then ends), times factor.
Scene NearAtShot(Scene scene, std::size_t shot, double factor)
{
    scene.nearLimit = 0.0;
    scene.nearLimit = PlanOf(scene, shot).shots.back().nearDistance * factor;
    return scene;
}

// The real program with no display and no locale, as from cron.
Ran Quorlscope(Strings arguments)
{
    arguments.insert(arguments.begin(), QRL_PROGRAM);
    return RunProcess(arguments, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_ALL"});
}

} // namespace

// Metres and feet, finite and endless far limits, several overlaps; a near
// limit that is exactly a shot's ends the plan there, and so do the bounds
// (99 shots, a near limit of 1000 m). The schema takes every plan and refuses
// a far limit that is neither a distance nor "inf".
TEST(StackCommand, PlansMatchTheFormulas)
{
    const Scene landscape = {"fullframe", 30, 50, 8, 1, INFINITY, -1, "m"};
    // clang-format off
    const Scene scenes[] = {
        landscape, {"fullframe", 30, 50, 8, 1, INFINITY, 0, "m"}, {"fullframe", 30, 50, 8, 1, INFINITY, 0.5, "m"},
        {"apsc", 20, 100, 11, 2, 10, 0.2, "m"}, {"film", -1, 35, 5.6, 3, INFINITY, 0.1, "ft"},
        {"medium", -1, 200, 16, 20, 100, 0.9, "ft"}, {"fullframe", 30, 24, 16, 2, INFINITY, 0.1, "m"} /* one shot */,
        {"film", -1, 50, 8, 3280.83, INFINITY, 0.3, "ft"} /* just inside 1000 m */,
        {"fullframe", 30, 105, 2.8, 0.25, 0.3, 0.1, "m"}, {"apsc", 25, 4, 1, 0.008, INFINITY, 0.1, "m"},
        NearAtShot(landscape, 4, 1.0), NearAtShot({"apsc", 20, 100, 2, 0.2, INFINITY, 0.1, "m"}, 99, 1.0)};
    // clang-format on
    Strings jsons;
    for (const Scene &scene : scenes) {
        const expected::Plan plan = PlanOf(scene);
        const std::size_t k = plan.shots.size();
        const std::string u = std::string(" (") + scene.unit + ")",
                          hyperfocal = Text("%.3f", plan.hyperfocal);
        std::vector<Strings> text = {Words("hyperfocal distance " + hyperfocal + " " + scene.unit + ", " +
                                           std::to_string(k) + (k == 1 ? " shot" : " shots")),
                                     Words("shot focus" + u + " near" + u + " far" + u)};
        std::vector<Strings> csv = {
            {"shot", "focus distance" + u, "near limit" + u, "far limit" + u, "hyperfocal distance" + u}};
        for (std::size_t i = 0; i < k; ++i) {
            const expected::Shot &shot = plan.shots[i];
            text.push_back({std::to_string(i + 1), Text("%.3f", shot.focus), Text("%.3f", shot.nearDistance),
                            Text("%.3f", shot.farDistance)});
            csv.push_back(text.back());
            csv.back().push_back(hyperfocal);
        }
        const Ran printed = Quorlscope(Arguments(scene, "text")),
                  written = Quorlscope(Arguments(scene, "csv"));
        const Ran json = Quorlscope(Arguments(scene, "json"));
        EXPECT_EQ(printed.status + written.status + json.status, 0) << printed.err << written.err << json.err;
        EXPECT_EQ(printed.err + written.err + json.err, "");
        Strings lines = Split(printed.out, '\n');
        EXPECT_EQ(lines[0].rfind("stack: focal length " + Text("%.15g", scene.focal) + " mm, f/", 0), 0u)
            << lines[0];
        std::vector<Strings> printedRows;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i)
            printedRows.push_back(Words(lines[i]));
        EXPECT_EQ(printedRows, text);
        EXPECT_EQ(ReadCSV(written.out), csv);
        jsons.push_back(json.out);
        const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        const QJsonArray shots = object["shots"].toArray();
        expected::ExpectClose(plan.hyperfocal, object["hyperfocal"].toDouble());
        ASSERT_EQ(std::size_t(shots.size()), k);
        for (std::size_t i = 0; i < k; ++i) {
            const QJsonObject shot = shots[qsizetype(i)].toObject();
            EXPECT_EQ(shot["shot"].toInt(), int(i + 1));
            expected::ExpectClose(plan.shots[i].focus, shot["focus"].toDouble());
            expected::ExpectClose(plan.shots[i].nearDistance, shot["near"].toDouble());
            expected::ExpectClose(plan.shots[i].farDistance,
                                  shot["far"].toString() == "inf" ? INFINITY : shot["far"].toDouble());
        }
    }
    jsons.push_back(std::regex_replace(jsons.front(), std::regex("\"far\": \"inf\""), "\"far\": null"));
    Strings errors = SchemaErrors(jsons, "bracketing-schema.json");
    EXPECT_NE(errors.back(), "");
    errors.back() = "";
    EXPECT_EQ(errors, Strings(jsons.size(), ""));
}

// Each argument the plan refuses, with the reason alone; a wrong command
// line with the usage after it (0.328 ft is twice 50 mm).
TEST(StackCommand, RefusesWithTheReason)
{
    const std::string base = "stack --focal 50 --aperture 8 --camera fullframe --circle 30 ",
                      beyond99 = Text(
                          "%.17g",
                          NearAtShot({"apsc", 20, 100, 2, 0.2, INFINITY, 0.1, "m"}, 99, 0.999).nearLimit);
    const std::string focal = "The focal length should be in the range of 4..1000 mm.\n",
                      near = "The near limit should be at least two times the focal length.\n",
                      far = "The near limit should be at most 1000 m (3280.84 ft).\n",
                      order = "The far limit should be beyond the near limit.\n",
                      overlap = "The overlap should be in the range of 0..0.9.\n",
                      aperture = "The f-number should be in the range of 1..64.\n",
                      circle = "The circle of confusion should be in the range of 1..1000 \xC2\xB5m.\n",
                      tooMany = "The plan would need more than 99 shots: choose a smaller aperture (a larger "
                                "f-number), a smaller overlap or a farther near limit.\n";
    const std::pair<std::string, std::string> cases[] = {
        // the command line, the message after "quorlscope: "
        // clang-format off
        {base + "--near 0.0999", near}, {base + "--near 0.3 --unit ft", near}, {base + "--near 1000.001", far},
        {base + "--near 3280.85 --unit ft", far}, {base + "--near 2 --far 2", order}, {base + "--near 2 --far 1.5", order},
        {base + "--near 2 --overlap -0.01", overlap}, {base + "--near 2 --overlap 0.91", overlap},
        {base + "--near 2 --aperture 0.99", aperture}, {base + "--near 2 --aperture 64.1", aperture},
        {base + "--near 2 --focal 3.9", focal}, {base + "--near 3 --focal 1000.1", focal},
        {base + "--near 2 --circle 0.9", circle}, {base + "--near 2 --circle 1001", circle},
        {"stack --focal 1000 --aperture 1 --camera apsc --circle 1 --near 2", tooMany},
        {"stack --focal 100 --aperture 2 --camera apsc --circle 20 --unit m --near " + beyond99, tooMany},
        {base, "--near is needed\n"}, {"stack --focal 50 --camera film --near 2", "--aperture is needed\n"},
        {base + "--near 2 --far inf", "--far inf: not a number\n"}, {base + "--near 2 --overlap 10%", "--overlap 10%: not a number\n"},
        {base + "--near 2 --distance 3", "unknown option --distance\n"}};
    // clang-format on
    for (const auto &[command, message] : cases) {
        const Ran ran = Quorlscope(Words(command));
        const bool usage = message.rfind("The ", 0) != 0;
        SCOPED_TRACE(command);
        EXPECT_EQ(ran.status, 2);
        EXPECT_EQ(ran.out, "");
        EXPECT_EQ(usage ? ran.err.substr(0, message.size() + 12) : ran.err, "quorlscope: " + message);
        EXPECT_EQ(ran.err.find("usage: quorlscope table") != std::string::npos, usage);
    }
}
