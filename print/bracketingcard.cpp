// The focus bracketing card: a heading with the arguments, the shots in the
// figures the stack command prints, and the diagram of their sharp zones on
// a distance scale spaced in dioptres.
#include "print/bracketingcard.h"

#include "document/sheet.h"
#include "formats/exportformats.h"
#include "print/pdfexport.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace
{

const QColor kInk(32, 32, 32);
const QColor kGuide(222, 222, 222);
const QColor kBar(120, 152, 196); // reads on white, and as mid grey in black and white
const QColor kBarEdge(44, 74, 118);
const QString kInfinity = QStringLiteral("\u221E");

QFont cardFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QString unitName(const tBracketingArguments &arguments)
{
    return arguments.distanceUnit == kDistanceUnitFeet ? QStringLiteral("ft") : QStringLiteral("m");
}

// A distance as the stack command writes it, with ∞ for no limit.
QString figure(double distance)
{
    const QString text = QString::fromStdString(QRLPlanFigure(distance));
    return text == QLatin1String("inf") ? kInfinity : text;
}

// A number as typed, without trailing zeros.
QString typed(double value)
{
    return QString::number(value, 'g', 6);
}

// Where a distance falls on the scale: 0 at its near end, 1 at infinity,
// spaced in dioptres (1/near − 1/distance over 1/near).
double scalePosition(double nearEnd, double distance)
{
    return std::clamp(1.0 - nearEnd / distance, 0.0, 1.0);
}

// The scale's near end: the scene's near limit or a shot's nearer one; 0 for none.
double scaleNearEnd(const tBracketingArguments &arguments, const tBracketingPlan &plan)
{
    double nearEnd = arguments.nearLimit;
    for (const tBracketingShot &shot : plan.shots)
        nearEnd = std::min(nearEnd, shot.nearDistance);
    return std::isfinite(nearEnd) && nearEnd > 0.0 ? nearEnd : 0.0;
}

struct RoundDistance {
    double distance;
    bool major; // 1, 2 or 5 times a power of ten: one to label
};

// Round distances from the near end on, 1 to 9 times the powers of ten,
// over six decades: beyond them the scale is within a millionth of its end.
std::vector<RoundDistance> roundDistances(double nearEnd)
{
    std::vector<RoundDistance> distances;
    const int first = int(std::floor(std::log10(nearEnd)));
    for (int exponent = first; exponent <= first + 6; ++exponent)
        for (int step = 1; step <= 9; ++step) {
            const double distance = step * std::pow(10.0, exponent);
            if (distance >= nearEnd * (1.0 - 1e-9))
                distances.push_back({distance, step == 1 || step == 2 || step == 5});
        }
    return distances;
}

// The scale along the axis from left to right (∞): ticks at round distances,
// those at 1, 2 and 5 labelled where the labels keep apart, with light guides up to top.
void paintScale(QPainter &painter, double nearEnd, double left, double right, double axis, double top)
{
    const QFontMetricsF metrics(painter.font());
    const double gap = metrics.horizontalAdvance(QStringLiteral("00"));
    const double infinityLeft = right - metrics.horizontalAdvance(kInfinity) / 2.0 - gap;
    // Labels stay clear of the unit in the gutter on the left.
    double lastTick = -1e9, lastLabel = left - gap - 2.0;
    for (const auto &[distance, major] : roundDistances(nearEnd)) {
        const double x = left + (right - left) * scalePosition(nearEnd, distance);
        if (x - lastTick < 3.0)
            continue;
        const QString label = QString::number(distance, 'g', 6);
        const double half = metrics.horizontalAdvance(label) / 2.0;
        const bool labelled = major && x - half >= lastLabel + gap && x + half <= infinityLeft;
        painter.setPen(QPen(kGuide, 0.75));
        if (labelled)
            painter.drawLine(QPointF(x, top), QPointF(x, axis));
        painter.setPen(QPen(kInk, 0.75));
        painter.drawLine(QPointF(x, axis), QPointF(x, axis + (labelled ? 5.0 : 3.0)));
        if (labelled) {
            painter.drawText(QRectF(x - half, axis + 5.0, 2 * half, metrics.height()), Qt::AlignCenter,
                             label);
            lastLabel = x + half;
        }
        lastTick = x;
    }
    painter.drawLine(QPointF(left, axis), QPointF(right, axis));
    painter.drawLine(QPointF(right, axis), QPointF(right, axis + 5.0));
    painter.drawText(QRectF(right - gap, axis + 5.0, 2 * gap, metrics.height()), Qt::AlignCenter, kInfinity);
}

// The dashed line at the hyperfocal distance down to the axis, labelled in the strip.
void paintHyperfocal(QPainter &painter, double x, const QRectF &strip, double axis, const QString &label)
{
    painter.setPen(QPen(kInk, 0.75, Qt::DashLine));
    painter.drawLine(QPointF(x, strip.bottom()), QPointF(x, axis));
    const double width = QFontMetricsF(painter.font()).horizontalAdvance(label) + 2.0;
    const double labelLeft = std::clamp(x - width / 2.0, strip.left(), strip.right() - width);
    painter.setPen(kInk);
    painter.drawText(QRectF(labelLeft, strip.top(), width, strip.height()), Qt::AlignCenter, label);
}

} // namespace

void paintBracketingDiagram(QPainter &painter, const QRectF &bounds, const tBracketingArguments &arguments,
                            const tBracketingPlan &plan)
{
    const double nearEnd = scaleNearEnd(arguments, plan);
    if (nearEnd <= 0.0 || bounds.width() < 60.0 || bounds.height() < 60.0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(cardFont(std::clamp(int(bounds.height() / 14.0), 7, 10)));
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    // The gutter on the left holds the shots' numbers and, under the axis, the unit.
    const double gutter = metrics.horizontalAdvance(QStringLiteral("99")) + line;
    const double left = bounds.left() + gutter;
    const double right = bounds.right() - metrics.horizontalAdvance(kInfinity);
    const double axis = bounds.bottom() - line - 6.0;
    const double rowsTop = bounds.top() + line + 4.0;
    painter.setPen(kInk);
    painter.drawText(QRectF(bounds.left(), axis + 5.0, gutter - line / 2.0, line), Qt::AlignRight,
                     unitName(arguments));
    const auto at = [&](double distance) { return left + (right - left) * scalePosition(nearEnd, distance); };
    const std::size_t count = plan.shots.size();
    // Rows farthest shot first, closing down on the axis; numbers on every
    // row that leaves room for one, else on every so many.
    const double pitch = count ? std::min((axis - 4.0 - rowsTop) / double(count), 3.0 * line) : 0.0;
    const double barHeight = std::clamp(pitch * 0.65, 1.0, 1.2 * line);
    const double barsTop = axis - 4.0 - pitch * double(count);
    const std::size_t every = count ? std::size_t(std::ceil(line / pitch)) : 1;
    paintScale(painter, nearEnd, left, right, axis, barsTop);
    if (std::isfinite(plan.hyperfocalDistance) && plan.hyperfocalDistance > nearEnd)
        paintHyperfocal(painter, at(plan.hyperfocalDistance),
                        QRectF(bounds.left(), barsTop - line - 4.0, bounds.width(), line), axis,
                        QCoreApplication::translate("Program", "hyperfocal %1 %2")
                            .arg(figure(plan.hyperfocalDistance), unitName(arguments)));
    for (std::size_t i = 0; i < count; ++i) {
        const tBracketingShot &shot = plan.shots[i];
        const double middle = axis - 4.0 - pitch * (double(count - i) - 0.5);
        const double nearX = at(shot.nearDistance);
        const QRectF bar(nearX, middle - barHeight / 2.0, std::max(at(shot.farDistance) - nearX, 1.0),
                         barHeight);
        painter.setPen(barHeight >= 4.0 ? QPen(kBarEdge, 0.75) : Qt::NoPen);
        painter.setBrush(kBar);
        painter.drawRect(bar);
        const double focus = at(shot.focusDistance);
        painter.setPen(QPen(kInk, std::clamp(barHeight / 4.0, 0.75, 1.5)));
        painter.drawLine(QPointF(focus, bar.top() - 1.0), QPointF(focus, bar.bottom() + 1.0));
        if (i % every == 0)
            painter.drawText(QRectF(bounds.left(), middle - line / 2.0, gutter - line / 2.0, line),
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(i + 1));
    }
    painter.restore();
}

namespace
{

// The scene's far limit with its unit, or ∞.
QString farLimitText(const tBracketingArguments &arguments)
{
    return std::isinf(arguments.farLimit) ? kInfinity : typed(arguments.farLimit) + " " + unitName(arguments);
}

// "24 mm, f/8, 0.5 m – ∞": the lens and the scene, for titles.
QString planName(const tBracketingArguments &arguments)
{
    return QStringLiteral("%1 mm, f/%2, %3 %4 \u2013 %5")
        .arg(typed(arguments.focalLength), typed(arguments.aperture), typed(arguments.nearLimit),
             unitName(arguments), farLimitText(arguments));
}

// The title and the arguments from top; returns where the list begins.
double paintHeading(QPainter &painter, const QRectF &page, double top, const tBracketingArguments &arguments,
                    const tBracketingPlan &plan)
{
    const auto paintLine = [&](const QString &text, int pixelSize, bool bold) {
        painter.setFont(cardFont(pixelSize, bold));
        const double height = QFontMetricsF(painter.font()).height();
        painter.drawText(QRectF(page.left(), top, page.width(), height), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        top += height * 1.25;
    };
    const QString unit = unitName(arguments);
    paintLine(QCoreApplication::translate("Program", "Focus Bracketing"), 18, true);
    top += 4.0;
    paintLine(
        QCoreApplication::translate("Program", "%1, focal length %2 mm, f/%3, circle of confusion %4 µm")
            .arg(sheetCameraName(arguments.cameraType), typed(arguments.focalLength),
                 typed(arguments.aperture), typed(arguments.unsharpCircleDiameter * 1e6)),
        11, false);
    paintLine(QCoreApplication::translate("Program", "Scene from %1 %2 to %3, overlap %4")
                  .arg(typed(arguments.nearLimit), unit, farLimitText(arguments), typed(arguments.overlap)),
              11, false);
    if (plan.refusal != kPlanMade)
        paintLine(QCoreApplication::translate("Program", QRLBracketingRefusalText(plan.refusal)), 11, true);
    else
        paintLine(QCoreApplication::translate("Program", "Hyperfocal distance %1 %2, shots: %3")
                      .arg(figure(plan.hyperfocalDistance), unit)
                      .arg(plan.shots.size()),
                  11, false);
    return top + 10.0;
}

using tListRow = std::array<QString, 4>; // number, focus distance, near and far limit

// How the list is set: the face, its columns' widths and the rows per group.
struct ListLayout {
    int pixelSize;
    std::array<double, 4> widths;
    double gap, groupWidth, rowHeight;
    std::size_t perGroup;
};

// The largest face from 11 pixels down to 6 at which the rows, in as many
// groups side by side as the room's height needs, fit its width.
ListLayout fitList(const QRectF &room, const tListRow &headings, const std::vector<tListRow> &rows)
{
    ListLayout layout{};
    for (layout.pixelSize = 11; layout.pixelSize >= 6; --layout.pixelSize) {
        const QFontMetricsF metrics(sheetFont(layout.pixelSize, true));
        layout.gap = metrics.horizontalAdvance(QStringLiteral("   "));
        layout.groupWidth = 0.0;
        for (std::size_t column = 0; column < 4; ++column) {
            layout.widths[column] = metrics.horizontalAdvance(headings[column]);
            for (const tListRow &row : rows)
                layout.widths[column] =
                    std::max(layout.widths[column], metrics.horizontalAdvance(row[column]));
            layout.groupWidth += layout.widths[column] + layout.gap;
        }
        layout.rowHeight = metrics.height() * 1.2;
        const std::size_t fit = std::size_t(std::max(room.height() / layout.rowHeight - 1.0, 1.0));
        const std::size_t groups = (rows.size() + fit - 1) / fit;
        layout.perGroup = (rows.size() + groups - 1) / groups;
        if (double(groups) * (layout.groupWidth + layout.gap) - 2.0 * layout.gap <= room.width())
            return layout;
    }
    layout.pixelSize = 6;
    return layout;
}

// The shots in columns under their headings, in groups side by side;
// returns where the list ends.
double paintShotList(QPainter &painter, const QRectF &room, const tBracketingArguments &arguments,
                     const tBracketingPlan &plan)
{
    const QString unit = QStringLiteral(" (%1)").arg(unitName(arguments));
    const tListRow headings = {QCoreApplication::translate("Program", "Shot"),
                               QCoreApplication::translate("Program", "Focus") + unit,
                               QCoreApplication::translate("Program", "Near") + unit,
                               QCoreApplication::translate("Program", "Far") + unit};
    std::vector<tListRow> rows;
    for (std::size_t i = 0; i < plan.shots.size(); ++i)
        rows.push_back({QString::number(i + 1), figure(plan.shots[i].focusDistance),
                        figure(plan.shots[i].nearDistance), figure(plan.shots[i].farDistance)});
    if (rows.empty())
        return room.top();
    const ListLayout layout = fitList(room, headings, rows);
    double bottom = room.top();
    for (std::size_t first = 0, group = 0; first < rows.size(); first += layout.perGroup, ++group) {
        const double x = room.left() + double(group) * (layout.groupWidth + layout.gap);
        double y = room.top();
        const auto paintRow = [&](const tListRow &cells, bool bold) {
            painter.setFont(sheetFont(layout.pixelSize, bold));
            double cellLeft = x;
            for (std::size_t column = 0; column < 4; ++column) {
                painter.drawText(QRectF(cellLeft, y, layout.widths[column], layout.rowHeight),
                                 Qt::AlignRight | Qt::AlignVCenter, cells[column]);
                cellLeft += layout.widths[column] + layout.gap;
            }
            y += layout.rowHeight;
        };
        paintRow(headings, true);
        painter.setPen(QPen(kInk, 0.5));
        painter.drawLine(QPointF(x, y), QPointF(x + layout.groupWidth - layout.gap, y));
        for (std::size_t i = first; i < std::min(first + layout.perGroup, rows.size()); ++i)
            paintRow(rows[i], false);
        bottom = std::max(bottom, y);
    }
    return bottom;
}

} // namespace

void paintBracketingCard(QPainter &painter, const QRectF &page, const tBracketingArguments &arguments,
                         const tBracketingPlan &plan)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kInk);
    // The diagram's height grows with the shots up to 220 points.
    const double diagramHeight =
        std::min(std::clamp(40.0 + 30.0 * double(plan.shots.size()), 120.0, 220.0), page.height() * 0.3);
    double top = paintHeading(painter, page, page.top(), arguments, plan);
    const QRectF listRoom(page.left(), top, page.width(), page.bottom() - diagramHeight - 16.0 - top);
    top = paintShotList(painter, listRoom, arguments, plan) + 16.0;
    paintBracketingDiagram(painter, QRectF(page.left(), top, page.width(), diagramHeight), arguments, plan);
    painter.restore();
}

std::optional<std::string> QRLBracketingCardAsPDF(const tBracketingArguments &arguments,
                                                  const tBracketingPlan &plan)
{
    const QString title =
        QCoreApplication::translate("Program", "Focus Bracketing") + ": " + planName(arguments);
    return QRLPaintPDF(title, [&arguments, &plan](QPainter &painter, const QSizeF &page,
                                                  const std::function<bool()> &beginPage) {
        if (!beginPage())
            return false;
        paintBracketingCard(painter, QRectF(QPointF(0.0, 0.0), page), arguments, plan);
        return true;
    });
}
