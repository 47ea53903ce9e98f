// Drawing into ports. A port records what is drawn into it and the window
// showing it repaints by replaying the record, so a drawing stays on screen
// as it would on a platform that draws straight into the window.
#include "bundle.h"
#include "internal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QImageReader>
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

bool contains(const Rect &outer, short h, short v)
{
    return h >= outer.left && h < outer.right && v >= outer.top && v < outer.bottom;
}

// What a later erasure of r hides, judged by where the item starts.
bool coveredBy(const DrawItem &item, const Rect &r)
{
    switch (item.kind) {
    case DrawItem::Kind::line:
        return contains(r, item.r.left, item.r.top) && contains(r, item.r.right, item.r.bottom);
    case DrawItem::Kind::picture:
    case DrawItem::Kind::icon:
        return contains(r, item.r.left, item.r.top) && item.r.right <= r.right && item.r.bottom <= r.bottom;
    default:
        return contains(r, item.r.left, item.r.top);
    }
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

QHash<QString, QImage> &imageCache()
{
    static QHash<QString, QImage> cache;
    return cache;
}

QImage readImage(const QString &path)
{
    auto it = imageCache().constFind(path);
    if (it != imageCache().constEnd())
        return *it;
    QImageReader reader(path);
    QImage image = reader.read();
    imageCache().insert(path, image);
    return image;
}

} // namespace

namespace platform
{

QFont portFont(short size, std::int16_t face)
{
    // A fixed-pitch face, so that blank-padded numbers line up in columns.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(size > 0 ? size : 12);
    font.setBold(face & bold);
    font.setItalic(face & italic);
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
    painter.setFont(portFont(0, normal));
    // Glyphs are kept per quarter-pixel position: each character at each.
    for (const QChar c : characters)
        for (int quarter = 0; quarter < 4; ++quarter)
            painter.drawText(QPointF(4 + quarter / 4.0, 20), QString(c));
}

namespace
{

void replayPort(const GrafPort &port, QPainter &painter)
{
    // A one-unit pen: one pixel in a window, one point on paper.
    QPen pen(Qt::black, 1.0);
    pen.setCosmetic(false);
    painter.setPen(pen);
    for (const DrawItem &item : port.items) {
        switch (item.kind) {
        case DrawItem::Kind::erase:
            painter.fillRect(toQRect(item.r), Qt::white);
            break;
        case DrawItem::Kind::line:
            painter.drawLine(item.r.left, item.r.top, item.r.right, item.r.bottom);
            break;
        case DrawItem::Kind::picture:
        case DrawItem::Kind::icon:
            painter.drawImage(toQRect(item.r), item.image);
            break;
        case DrawItem::Kind::text:
            painter.setFont(portFont(item.textSize, item.textFace));
            painter.drawText(toQRect(item.r),
                             Qt::TextWordWrap | Qt::AlignTop |
                                 (item.flush == TextFlush::center ? Qt::AlignHCenter : Qt::AlignLeft),
                             QString::fromStdString(item.text));
            break;
        }
    }
}

} // namespace

bool PortPages::beginPage(QPagedPaintDevice &device, double dotsPerPoint)
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

void PortPages::endPage()
{
    painter->restore();
    pageOpen = false;
    ++count;
}

void paintPort(GrafPort &port, QWidget *widget)
{
    if (port.items.empty() && port.eraseCount == 0)
        return;
    QPainter painter(widget);
    painter.fillRect(widget->rect(), Qt::white);
    painter.translate(-port.originH, -port.originV);
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
GrafPtr GetWindowPort(WindowRef window)
{
    return window ? &window->port : nullptr;
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
    SetRect(outBounds, port->originH, port->originV, short(port->originH + size.width()),
            short(port->originV + size.height()));
    return outBounds;
}

Rect *GetWindowPortBounds(WindowRef window, Rect *outBounds)
{
    return GetPortBounds(GetWindowPort(window), outBounds);
}

void SetOrigin(short h, short v)
{
    if (!currentPort)
        return;
    currentPort->originH = h;
    currentPort->originV = v;
    if (currentPort->widget)
        currentPort->widget->update();
}

void EraseRect(const Rect *r)
{
    if (!currentPort || !r)
        return;
    Rect bounds;
    GetPortBounds(currentPort, &bounds);
    if (r->left <= bounds.left && r->top <= bounds.top && r->right >= bounds.right &&
        r->bottom >= bounds.bottom) {
        // The whole port: nothing drawn before can show any more.
        currentPort->items.clear();
        ++currentPort->eraseCount;
    } else {
        for (DrawItem &item : currentPort->items)
            if (item.kind != DrawItem::Kind::erase && coveredBy(item, *r))
                item.covered = true;
    }
    record(makeItem(DrawItem::Kind::erase, *r));
}

void MoveTo(short h, short v)
{
    if (!currentPort)
        return;
    currentPort->penH = h;
    currentPort->penV = v;
}

void LineTo(short h, short v)
{
    if (!currentPort)
        return;
    Rect line;
    line.left = currentPort->penH;
    line.top = currentPort->penV;
    line.right = h;
    line.bottom = v;
    currentPort->penH = h;
    currentPort->penV = v;
    record(makeItem(DrawItem::Kind::line, line));
}

void TextSize(short size)
{
    if (currentPort)
        currentPort->textSize = size;
}

void TextFace(std::int16_t face)
{
    if (currentPort)
        currentPort->textFace = face;
}

std::int16_t GetPortTextFace(GrafPtr port)
{
    return port ? port->textFace : 0;
}
OSStatus TXNDrawCFStringTextBox(const std::string &text, const Rect *frame, TextFlush flush)
{
    if (!currentPort || !frame)
        return paramErr;
    DrawItem item = makeItem(DrawItem::Kind::text, *frame);
    item.text = text;
    item.textSize = currentPort->textSize;
    item.textFace = currentPort->textFace;
    item.flush = flush;
    record(std::move(item));
    return noErr;
}

PicHandle GetPicture(short pictureID)
{
    const std::string path = GetBundleRoot() + "/pictures/" + std::to_string(pictureID) + ".png";
    QImage image = readImage(QString::fromStdString(path));
    if (image.isNull())
        return nullptr;
    return std::make_shared<Picture>(Picture{image});
}

void DrawPicture(const PicHandle &picture, const Rect *dstRect)
{
    if (!picture || !dstRect)
        return;
    DrawItem item = makeItem(DrawItem::Kind::picture, *dstRect);
    item.image = picture->image;
    record(std::move(item));
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

std::vector<PortItem> GetPortContents(GrafPtr port)
{
    std::vector<PortItem> contents;
    if (!port)
        return contents;
    for (const DrawItem &item : port->items) {
        if (item.kind == DrawItem::Kind::erase || item.covered)
            continue;
        PortItem::Kind kind = item.kind == DrawItem::Kind::line      ? PortItem::Kind::line
                              : item.kind == DrawItem::Kind::picture ? PortItem::Kind::picture
                              : item.kind == DrawItem::Kind::icon    ? PortItem::Kind::icon
                                                                     : PortItem::Kind::text;
        contents.push_back(PortItem{kind, item.r, item.text, item.textSize, item.textFace, item.flush});
    }
    return contents;
}

int GetPortEraseCount(GrafPtr port)
{
    return port ? port->eraseCount : 0;
}
