// The bracketing card as the user gets it: its PDF, read back with poppler,
// is one page holding every shot's distances as worked out without the
// program; the diagram draws each shot's bar where the dioptre scale puts it.
#include "print/bracketingcard.h"
#include "tests/support/bracketing_optics.h"
#include "tests/support/common.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

struct Scene {
    tCameraType camera;
    double circle, focal, aperture, nearLimit, farLimit, overlap;
    bool feet;
};

// Metres and feet, endless and finite far limits, overlaps from none to 0.9.
const Scene kScenes[] = {{fullFrameDigital, 30, 24, 8, 0.5, INFINITY, 0.1, false},
                         {APSC, 20, 100, 11, 2, 10, 0.2, false},
                         {thirtyFive, 33, 35, 5.6, 3, INFINITY, 0, true},
                         {mediumFormat, 100, 200, 16, 20, 100, 0.9, true}};

expected::Plan Expected(const Scene &s)
{
    return expected::BracketingPlan(s.focal, s.aperture, s.circle * 1e-6, s.nearLimit, s.farLimit, s.overlap,
                                    s.feet, 99);
}

tBracketingArguments Arguments(const Scene &s)
{
    return {s.focal,     s.aperture, s.circle * 1e-6, s.camera,
            s.nearLimit, s.farLimit, s.overlap,       s.feet ? kDistanceUnitFeet : kDistanceUnitMeters};
}

std::string Figure(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return std::isinf(value) ? "\u221E" : text;
}

} // namespace

TEST(BracketingCard, PdfListsEveryShotOnOnePage)
{
    int argc = 1;
    char name[] = "card_tests", *argv[] = {name};
    const QGuiApplication application(argc, argv);
    Scene limit = {APSC, 20, 100, 2, 0, INFINITY, 0.1, false}; // the 99th shot reaches the near limit
    limit.nearLimit = Expected(limit).shots.back().nearDistance;
    std::vector<Scene> scenes(std::begin(kScenes), std::end(kScenes));
    scenes.push_back(limit);
    const qrltest::ScratchFolder folder;
    for (const Scene &scene : scenes) {
        const tBracketingArguments arguments = Arguments(scene);
        const std::optional<std::string> pdf =
            QRLBracketingCardAsPDF(arguments, QRLPlanBracketing(arguments));
        ASSERT_TRUE(pdf && qrltest::WriteText(folder / "card.pdf", *pdf));
        EXPECT_EQ("1", qrltest::PdfInfo(folder / "card.pdf", "Pages"));
        const std::string text = qrltest::PdfText(folder / "card.pdf");
        const qrltest::Strings words = qrltest::Words(text);
        const expected::Plan plan = Expected(scene);
        qrltest::ExpectContains(text, {Figure(plan.hyperfocal), scene.feet ? "Focus (ft)" : "Focus (m)"});
        for (std::size_t i = 0; i < plan.shots.size(); ++i) {
            const expected::Shot &shot = plan.shots[i];
            const qrltest::Strings row = {std::to_string(i + 1), Figure(shot.focus),
                                          Figure(shot.nearDistance), Figure(shot.farDistance)};
            EXPECT_NE(words.end(), std::search(words.begin(), words.end(), row.begin(), row.end()))
                << "shot " << i + 1 << " of " << plan.shots.size() << "\n"
                << text;
        }
    }
}

// The bars' blue, apart from the black, grey and white of the rest.
bool IsBar(QRgb pixel)
{
    return qBlue(pixel) > qRed(pixel) + 40;
}

// Down a column of the diagram, as many bars as the shots whose sharp zones
// it crosses: the ends of the scale taken from the outermost bars, the
// column a third of the way from a shot's near limit to its focus.
TEST(BracketingCard, DiagramBarsFollowTheDioptreScale)
{
    int argc = 1;
    char name[] = "card_tests", *argv[] = {name};
    const QGuiApplication application(argc, argv);
    for (const Scene &scene : kScenes) {
        const tBracketingArguments arguments = Arguments(scene);
        QImage image(500, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintBracketingDiagram(painter, image.rect(), arguments, QRLPlanBracketing(arguments));
        painter.end();
        const auto bars = [&](int x) {
            int runs = 0;
            for (int y = 0; y < image.height(); ++y)
                runs += IsBar(image.pixel(x, y)) && (y == 0 || !IsBar(image.pixel(x, y - 1)));
            return runs;
        };
        int left = image.width(), right = 0;
        for (int x = 0; x < image.width(); ++x)
            if (bars(x) > 0)
                left = std::min(left, x), right = std::max(right, x);
        const expected::Plan plan = Expected(scene);
        const double nearEnd = std::min(scene.nearLimit, plan.shots.back().nearDistance);
        const auto position = [&](double distance) { return 1.0 - nearEnd / distance; };
        const double width = (right + 1 - left) / position(plan.shots.front().farDistance);
        for (const expected::Shot &shot : plan.shots) {
            const double at =
                position(shot.nearDistance) + (position(shot.focus) - position(shot.nearDistance)) / 3;
            const auto crossed =
                std::count_if(plan.shots.begin(), plan.shots.end(), [&](const expected::Shot &s) {
                    return position(s.nearDistance) < at && at < position(s.farDistance);
                });
            EXPECT_EQ(crossed, bars(left + int(width * at))) << "focus " << shot.focus;
        }
    }
}
