// The bracketing card as the user gets it: its PDF, read back with poppler,
// is one page listing every shot's distances as worked out without the
// program; the diagram draws each shot's bar where the dioptre scale puts it.
#include "print/bracketingcard.h"
#include "tests/support/common.h"
#include "tests/support/optics.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

TEST(BracketingCard, ListsEveryShotAndDrawsItsSharpZone)
{
    int argc = 0; // no arguments
    const QGuiApplication application(argc, nullptr);
    const tBracketingArguments scenes[] = {
        {24, 8, 30e-6, fullFrameDigital, 0.5, INFINITY, 0.1, kDistanceUnitMeters},
        {100, 11, 20e-6, APSC, 2, 10, 0.2, kDistanceUnitMeters},
        {35, 5.6, 33e-6, thirtyFive, 3, INFINITY, 0, kDistanceUnitFeet},
        {200, 16, 100e-6, mediumFormat, 20, 100, 0.9, kDistanceUnitFeet},
        {100, 2, 20e-6, APSC, 0, INFINITY, 0.1, kDistanceUnitMeters}}; // near 0: where shot 99 reaches
    const auto shown = [](double d) { return d < INFINITY ? QString::number(d, 'f', 3).toStdString() : "∞"; };
    const qrltest::ScratchFolder folder;
    for (tBracketingArguments arguments : scenes) {
        const bool feet = arguments.distanceUnit == kDistanceUnitFeet;
        const expected::Plan plan = expected::BracketingPlan(
            arguments.focalLength, arguments.aperture, arguments.unsharpCircleDiameter, arguments.nearLimit,
            arguments.farLimit, arguments.overlap, feet, 99);
        arguments.nearLimit = arguments.nearLimit > 0 ? arguments.nearLimit : plan.shots.back().nearDistance;
        const auto pdf = QRLBracketingCardAsPDF(arguments, QRLPlanBracketing(arguments));
        ASSERT_TRUE(pdf && qrltest::WriteText(folder / "card.pdf", *pdf));
        EXPECT_EQ("1", qrltest::PdfInfo(folder / "card.pdf", "Pages"));
        const std::string text = qrltest::PdfText(folder / "card.pdf");
        const qrltest::Strings words = qrltest::Words(text);
        qrltest::ExpectContains(text, {shown(plan.hyperfocal), feet ? "Focus (ft)" : "Focus (m)"});
        for (std::size_t i = 0; i < plan.shots.size(); ++i) {
            const expected::Shot &shot = plan.shots[i];
            const qrltest::Strings row = {std::to_string(i + 1), shown(shot.focus), shown(shot.nearDistance),
                                          shown(shot.farDistance)};
            EXPECT_NE(words.end(), std::search(words.begin(), words.end(), row.begin(), row.end()))
                << "shot " << i + 1;
        }
        if (plan.shots.size() == 99) // too thin to tell apart on screen
            continue;
        // Down a column a third of the way from each shot's near limit to its focus, as many bars
        // (their blue) as the zones crossing it; the scale's ends from the outermost bars.
        QImage image(500, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintBracketingDiagram(painter, image.rect(), arguments, QRLPlanBracketing(arguments));
        painter.end();
        const auto isBar = [&](int x, int y) {
            return y >= 0 && QColor(image.pixel(x, y)).saturation() > 60;
        };
        const auto bars = [&](int x) {
            int runs = 0;
            for (int y = 0; y < image.height(); ++y)
                runs += isBar(x, y) && !isBar(x, y - 1);
            return runs;
        };
        int left = image.width(), right = 0;
        for (int x = 0; x < image.width(); ++x)
            if (bars(x) > 0)
                left = std::min(left, x), right = std::max(right, x);
        const double nearEnd = std::min(arguments.nearLimit, plan.shots.back().nearDistance);
        const auto position = [&](double distance) { return 1.0 - nearEnd / distance; };
        const double width = (right + 1 - left) / position(plan.shots.front().farDistance);
        for (const expected::Shot &shot : plan.shots) {
            const double at =
                position(shot.nearDistance) + (position(shot.focus) - position(shot.nearDistance)) / 3;
            const auto crossed =
                std::count_if(plan.shots.begin(), plan.shots.end(), [&](const expected::Shot &o) {
                    return position(o.nearDistance) < at && at < position(o.farDistance);
                });
            EXPECT_EQ(crossed, bars(left + int(width * at))) << "focus " << shot.focus;
        }
    }
}
