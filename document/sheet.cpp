// The table sheet laid out as items and painted from them.
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
const char *const kPrintedRow6ApertureText = "11  ";

// A label of the sheet in the user's language. The sheet draws in a
// fixed-pitch font of about 7 px per character, so each text must end before
// the next item: the focal length's label 15, the distance's 12, the
// circle's 20, the camera's 13, the aperture's 12, the near and far headings
// 18 and the camera formats 24 characters at most, in every language.
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

int rowTop(int row)
{
    return 150 + 30 * row;
}

class Layout
{
  public:
    explicit Layout(const QRect &bounds) : bounds_(bounds) {}

    // A text from (L + x, T + y) to the bottom right, reaching right further
    // by extraRight and ending at T + height when given.
    void text(int x, int y, const QString &text, int extraRight = 0, int height = 0)
    {
        const QPoint topLeft(bounds_.left() + x, bounds_.top() + y);
        const QPoint bottomRight(bounds_.right() + extraRight,
                                 height ? bounds_.top() + y + height - 1 : bounds_.bottom());
        items_.push_back({SheetItem::Kind::text, QRect(topLeft, bottomRight), {}, text, {}});
    }
    void number(int x, int y, const char *format, double value)
    {
        text(x, y, QString::asprintf(format, value));
    }
    void rule()
    {
        const int end = bounds_.left() + bounds_.width() - 10;
        items_.push_back({SheetItem::Kind::line, {}, QLine(10, 90, end, 90), {}, {}});
    }
    void picture()
    {
        const QImage image = sheetPicture();
        if (!image.isNull())
            items_.push_back({SheetItem::Kind::picture, QRect(312, 62, 32, 32), {}, {}, image});
    }
    SheetLayout take() { return std::move(items_); }

  private:
    QRect bounds_;
    SheetLayout items_;
};

void layoutHeadings(Layout &layout, bool valid)
{
    layout.text(20, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Focal length:")));
    if (!valid)
        layout.text(210, 20, localized(QT_TRANSLATE_NOOP("Sheet", "Distance:")));
    layout.text(20, 45, localized(QT_TRANSLATE_NOOP("Sheet", "Conf. circle (µm):")));
    layout.text(20, 70, localized(QT_TRANSLATE_NOOP("Sheet", "Camera:")));
    layout.text(20, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Aperture")));
    if (!valid) {
        layout.text(120, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Near limit")), 100);
        layout.text(260, 110, localized(QT_TRANSLATE_NOOP("Sheet", "Far limit")));
    }
}

void layoutUnitLabels(Layout &layout, bool feet)
{
    layout.text(210, 20,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Dist. (ft):")
                               : QT_TRANSLATE_NOOP("Sheet", "Dist. (m):")),
                0, 20);
    layout.text(120, 110,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Near limit (ft)")
                               : QT_TRANSLATE_NOOP("Sheet", "Near limit (m)")),
                100);
    layout.text(260, 110,
                localized(feet ? QT_TRANSLATE_NOOP("Sheet", "Far limit (ft)")
                               : QT_TRANSLATE_NOOP("Sheet", "Far limit (m)")));
}

void layoutValues(Layout &layout, const tData *data)
{
    auto *record = const_cast<tData *>(data); // the record's readers take no const
    layoutUnitLabels(layout, QRLGetDistanceUnit(record) == kDistanceUnitFeet);
    layout.number(140, 20, "%6.0f", QRLGetFocalLength(record));
    layout.number(308, 20, "%6.3f", QRLGetDistance(record));
    layout.number(175, 45, "%6.1f", QRLGetUnsharpCircleinMicroMeter(record));
    layout.text(125, 70, localized(cameraName(QRLGetCameraType(record))));
    for (int i = 0; i < kNumberOfApertures; ++i)
        layout.number(140, rowTop(i), "%6.3f", QRLGetTableElementNearDistance(record, i));
    for (int i = 0; i < kNumberOfApertures; ++i) {
        const tDistance far = QRLGetTableElementFarDistance(record, i);
        if (far == -1.0)
            layout.text(280, rowTop(i), QStringLiteral("inf"));
        else
            layout.number(280, rowTop(i), "%6.3f", far);
    }
}

void layoutPlaceholders(Layout &layout)
{
    const QString dash = QStringLiteral("-");
    for (int i = 0; i < kNumberOfApertures; ++i) {
        layout.text(140, rowTop(i), dash);
        layout.text(280, rowTop(i), dash);
    }
    layout.text(150, 20, dash);
    layout.text(320, 20, dash);
    layout.text(180, 45, dash);
    layout.text(125, 70, dash);
}

} // namespace

SheetLayout layoutSheet(const QRect &bounds, const tData *data, bool valid, SheetMedium medium)
{
    Layout layout(bounds);
    layout.rule();
    layout.picture();
    // With values the distance and limit headings give way to labels with their unit.
    layoutHeadings(layout, valid);
    for (int i = 0; i < kNumberOfApertures; ++i)
        layout.text(30, rowTop(i),
                    QString::fromUtf8(i == 6 && medium == SheetMedium::paper ? kPrintedRow6ApertureText
                                                                             : kApertureTexts[i]));
    if (valid)
        layoutValues(layout, data);
    else
        layoutPlaceholders(layout);
    return layout.take();
}

QFont sheetFont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}

void paintSheet(QPainter &painter, const SheetLayout &layout)
{
    // A one-unit pen: one pixel in a window, one point on paper.
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setFont(sheetFont());
    for (const SheetItem &item : layout) {
        switch (item.kind) {
        case SheetItem::Kind::line:
            painter.drawLine(item.line);
            break;
        case SheetItem::Kind::picture:
            painter.drawImage(item.frame, item.picture);
            break;
        case SheetItem::Kind::text:
            painter.drawText(item.frame, Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft, item.text);
            break;
        }
    }
}
