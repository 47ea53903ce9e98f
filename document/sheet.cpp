#include "document/sheet.h"

#include "model/data.h"
#include "platform/bundle.h"

#include <QCoreApplication>
#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPen>

namespace
{

const char *const kApertureTexts[kNumberOfApertures] = {" 1.4", " 2  ",  " 2.8", " 4  ", " 5.6",
                                                        " 8  ", "11   ", "16  ", "22  ", "32  "};

// A label in the user's language. At about 7 px per character each must end
// before the next item: focal length 15, distance 12, circle 20, camera 13,
// aperture 12, near and far 18, camera formats 24 characters at most.
QString localized(const char *text)
{
    return QCoreApplication::translate("Sheet", text);
}

const char *cameraName(std::int16_t cameraType)
{
    switch (cameraType) {
    case APSC:
        return QT_TRANSLATE_NOOP("Sheet", "APS-C digital");
    case fullFrameDigital:
        return QT_TRANSLATE_NOOP("Sheet", "Full-frame digital");
    case thirtyFive:
        return QT_TRANSLATE_NOOP("Sheet", "35 mm film");
    case mediumFormat:
        return QT_TRANSLATE_NOOP("Sheet", "Medium format");
    default:
        return QT_TRANSLATE_NOOP("Sheet", "Digital camera");
    }
}

// The picture of the bundle in use, read once per bundle.
QImage sheetPicture()
{
    static QHash<QString, QImage> cache;
    const QString path = QString::fromStdString(platform::bundleRoot()) + QStringLiteral("/pictures/128.png");
    auto found = cache.constFind(path);
    if (found == cache.constEnd())
        found = cache.insert(path, QImage(path));
    return *found;
}

} // namespace

SheetLayout layoutSheet(const QRect &bounds, const tData *data, bool valid, bool onPaper)
{
    SheetLayout items;
    const auto rowTop = [](int row) { return 150 + 30 * row; };
    // A text from (L + x, T + y) to the bottom right, reaching right further
    // by extraRight and ending at T + height when given.
    const auto text = [&](int x, int y, const QString &string, int extraRight = 0, int height = 0) {
        const QPoint bottomRight(bounds.right() + extraRight,
                                 height ? bounds.top() + y + height - 1 : bounds.bottom());
        items.push_back(
            {SheetItem::Kind::text, QRect(bounds.topLeft() + QPoint(x, y), bottomRight), {}, string, {}});
    };
    const auto number = [&](int x, int y, const char *format, double value) {
        text(x, y, QString::asprintf(format, value));
    };
    items.push_back(
        {SheetItem::Kind::line, {}, QLine(10, 90, bounds.left() + bounds.width() - 10, 90), {}, {}});
    if (const QImage image = sheetPicture(); !image.isNull())
        items.push_back({SheetItem::Kind::picture, QRect(312, 62, 32, 32), {}, {}, image});
    // With values the distance and limit headings give way to labels with their unit.
    text(20, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Focal length:")));
    if (!valid)
        text(210, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Distance:")));
    text(20, 45, localized(QT_TRANSLATE_NOOP("Sheet", "Conf. circle (µm):")));
    text(20, 70, localized(QT_TRANSLATE_NOOP("Sheet", "Camera:")));
    text(20, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Aperture")));
    if (!valid) {
        text(120, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Near limit")), 100);
        text(260, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Far limit")));
    }
    for (int i = 0; i < kNumberOfApertures; ++i)
        text(30, rowTop(i), QString::fromUtf8(i == 6 && onPaper ? "11  " : kApertureTexts[i]));
    if (!valid) {
        const QString dash = QStringLiteral("-");
        for (int i = 0; i < kNumberOfApertures; ++i) {
            text(140, rowTop(i), dash);
            text(280, rowTop(i), dash);
        }
        text(150, 20, dash);
        text(320, 20, dash);
        text(180, 45, dash);
        text(125, 70, dash);
        return items;
    }
    auto *record = const_cast<tData *>(data); // the record's readers take no const
    const bool feet = QRLGetDistanceUnit(record) == kDistanceUnitFeet;
    text(210, 20,
         localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Dist. (ft):")
                        : QT_TRANSLATE_NOOP("Sheet", "Dist. (m):")),
         0, 20);
    text(120, 110,
         localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Near limit (ft)")
                        : QT_TRANSLATE_NOOP("Sheet", "Near limit (m)")),
         100);
    text(260, 110,
         localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Far limit (ft)")
                        : QT_TRANSLATE_NOOP("Sheet", "Far limit (m)")));
    number(140, 20, "%6.0f", QRLGetFocalLength(record));
    number(308, 20, "%6.3f", QRLGetDistance(record));
    number(175, 45, "%6.1f", QRLGetUnsharpCircleinMicroMeter(record));
    text(125, 70, sheetCameraName(QRLGetCameraType(record)));
    for (int i = 0; i < kNumberOfApertures; ++i)
        number(140, rowTop(i), "%6.3f", QRLGetTableElementNearDistance(record, i));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tDistance far = QRLGetTableElementFarDistance(record, i);
        if (far == -1.0)
            text(280, rowTop(i), QStringLiteral("inf"));
        else
            number(280, rowTop(i), "%6.3f", far);
    }
    return items;
}

QString sheetCameraName(std::int16_t cameraType)
{
    return localized(cameraName(cameraType));
}

QFont sheetFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void paintSheet(QPainter &painter, const SheetLayout &layout)
{
    // A one-unit pen: one pixel in a window, one point on paper.
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setFont(sheetFont());
    for (const SheetItem &item : layout) {
        if (item.kind == SheetItem::Kind::line)
            painter.drawLine(item.line);
        else if (item.kind == SheetItem::Kind::picture)
            painter.drawImage(item.frame, item.picture);
        else
            painter.drawText(item.frame, Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft, item.text);
    }
}
