// Drawing into ports. A port records what is drawn into it and the window
// showing it repaints by replaying the record, so a drawing stays on screen
// as it would on a platform that draws straight into the window. Printed
// and PDF pages are painted in points (PaintedPages).
#include "bundle.h"
#include "internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace
{

GrafPtr currentPort = nullptr;

QRect toQRect(const Rect &r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

DrawItem makeItem(DrawItem::Kind kind, const Rect &r)
{
    DrawItem item;
    item.kind = kind;
    item.r = r;
    return item;
}

void record(DrawItem item)
{
    if (!currentPort)
        return;
    currentPort->items.push_back(std::move(item));
    if (currentPort->widget)
        currentPort->widget->update();
}

} // namespace

namespace platform
{

QFont portFont()
{
    // A fixed-pitch face, so that blank-padded numbers line up in columns.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}

void warmPortText()
{
    static bool warmed = false;
    if (warmed)
        return;
    warmed = true;
    QString characters;
    for (char c = ' '; c <= '~'; ++c)
        characters += QLatin1Char(c);
    characters += QChar(0xB5); // the micro sign of the circle's unit
    QImage scratch(32, 32, QImage::Format_RGB32);
    QPainter painter(&scratch);
    painter.setFont(portFont());
    // Glyphs are kept per quarter-pixel position: each character at each.
    for (const QChar c : characters)
        for (int quarter = 0; quarter < 4; ++quarter)
            painter.drawText(QPointF(4 + quarter / 4.0, 20), QString(c));
}

namespace
{

void replayPort(const GrafPort &port, QPainter &painter)
{
    painter.setPen(QPen(Qt::black, 1.0));
    for (const DrawItem &item : port.items) {
        switch (item.kind) {
        case DrawItem::Kind::erase:
            painter.fillRect(toQRect(item.r), Qt::white);
            break;
        case DrawItem::Kind::icon:
            painter.drawImage(toQRect(item.r), item.image);
            break;
        case DrawItem::Kind::text:
            painter.setFont(portFont());
            painter.drawText(toQRect(item.r),
                             Qt::TextWordWrap | Qt::AlignTop |
                                 (item.flush == TextFlush::center ? Qt::AlignHCenter : Qt::AlignLeft),
                             QString::fromStdString(item.text));
            break;
        }
    }
}

} // namespace

bool PaintedPages::beginPage(QPagedPaintDevice &device, double dotsPerPoint)
{
    if (!painter) {
        painter = std::make_unique<QPainter>();
        if (!painter->begin(&device))
            return false;
    } else if (!device.newPage()) {
        return false;
    }
    painter->save();
    painter->scale(dotsPerPoint, dotsPerPoint);
    pageOpen = true;
    return true;
}

void PaintedPages::endPage()
{
    painter->restore();
    pageOpen = false;
    ++count;
}

void paintPort(GrafPort &port, QWidget *widget)
{
    if (port.items.empty())
        return;
    QPainter painter(widget);
    painter.fillRect(widget->rect(), Qt::white);
    replayPort(port, painter);
}

} // namespace platform

void GetPort(GrafPtr *outPort)
{
    *outPort = currentPort;
}
void SetPort(GrafPtr port)
{
    currentPort = port;
}
void SetPortWindowPort(WindowRef window)
{
    currentPort = window ? &window->port : nullptr;
}

Rect *GetPortBounds(GrafPtr port, Rect *outBounds)
{
    if (!port) {
        *outBounds = Rect{};
        return outBounds;
    }
    if (!port->widget) {
        *outBounds = Rect{};
        return outBounds;
    }
    QWidget *top = port->widget->window();
    if (top->layout())
        top->layout()->activate(); // a hidden window has its size only once laid out
    const QSize size = port->widget->size();
    SetRect(outBounds, 0, 0, short(size.width()), short(size.height()));
    return outBounds;
}

Rect *GetWindowPortBounds(WindowRef window, Rect *outBounds)
{
    return GetPortBounds(window ? &window->port : nullptr, outBounds);
}

void EraseRect(const Rect *r)
{
    if (!currentPort || !r)
        return;
    record(makeItem(DrawItem::Kind::erase, *r));
}

OSStatus TXNDrawCFStringTextBox(const std::string &text, const Rect *frame, TextFlush flush)
{
    if (!currentPort || !frame)
        return paramErr;
    DrawItem item = makeItem(DrawItem::Kind::text, *frame);
    item.text = text;
    item.flush = flush;
    record(std::move(item));
    return noErr;
}

namespace
{

// The smallest of the sizes that fills the wanted size, or the largest.
QSize bestSize(const QList<QSize> &sizes, const QSize &wanted)
{
    auto fills = [&](const QSize &size) {
        return size.width() >= wanted.width() && size.height() >= wanted.height();
    };
    QSize best;
    for (const QSize &size : sizes)
        if (best.isEmpty() || (fills(size) ? !fills(best) || size.width() < best.width()
                                           : !fills(best) && size.width() > best.width()))
            best = size;
    return best;
}

} // namespace

namespace platform
{

QIcon applicationIcon()
{
    // The build embeds the rendered PNGs as icons/<size>x<size>/apps/<id>.png.
    QIcon icon;
    const QDir folder(QStringLiteral(":/bundle/icons"));
    for (const QString &sizeFolder : folder.entryList(QDir::Dirs)) {
        const int side = sizeFolder.section(QLatin1Char('x'), 0, 0).toInt();
        for (const QFileInfo &file :
             QDir(folder.filePath(sizeFolder + QStringLiteral("/apps"))).entryInfoList())
            icon.addFile(file.filePath(), QSize(side, side));
    }
    return icon;
}

void drawIcon(const QIcon &icon, const QRect &rect)
{
    const QSize size = bestSize(icon.availableSizes(), rect.size());
    if (size.isEmpty())
        return;
    const Rect frame = {short(rect.top()), short(rect.left()), short(rect.bottom() + 1),
                        short(rect.right() + 1)};
    DrawItem item = makeItem(DrawItem::Kind::icon, frame);
    item.image = icon.pixmap(size).toImage();
    record(std::move(item));
}

} // namespace platform
