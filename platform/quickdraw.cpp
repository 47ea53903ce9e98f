// The program's icon, the size of a window's content, and the warming of
// the sheet's face before the first window paints.
#include "quickdraw.h"

#include "bundle.h"
#include "internal.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLayout>
#include <QMainWindow>
#include <QPainter>

namespace platform
{

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
    // The sheet's face: fixed-pitch, 12 pixels.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    painter.setFont(font);
    // Glyphs are kept per quarter-pixel position: each character at each.
    for (const QChar c : characters)
        for (int quarter = 0; quarter < 4; ++quarter)
            painter.drawText(QPointF(4 + quarter / 4.0, 20), QString(c));
}

QRect contentBounds(const QWidget *window)
{
    if (!window)
        return QRect();
    auto *main = qobject_cast<const QMainWindow *>(window);
    const QWidget *content = main && main->centralWidget() ? main->centralWidget() : window;
    if (window->layout())
        window->layout()->activate(); // a hidden window has its size only once laid out
    return QRect(QPoint(0, 0), content->size());
}

} // namespace platform

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

QImage applicationIconImage(const QSize &size)
{
    // The build embeds the rendered PNGs as icons/<size>x<size>/apps/<id>.png.
    // Only the one picture drawn is read: a QIcon would read every size.
    const QDir folder(QStringLiteral(":/bundle/icons"));
    QList<QSize> sizes;
    for (const QString &sizeFolder : folder.entryList(QDir::Dirs)) {
        const int side = sizeFolder.section(QLatin1Char('x'), 0, 0).toInt();
        sizes.append(QSize(side, side));
    }
    const QSize best = bestSize(sizes, size);
    const QFileInfoList files =
        QDir(folder.filePath(QStringLiteral("%1x%1/apps").arg(best.width()))).entryInfoList(QDir::Files);
    if (best.isEmpty() || files.isEmpty())
        return QImage();
    // Read as PNG by name: left to guess the format, the reader would load
    // every image format plugin installed to ask each of them first.
    QImageReader reader(files.first().filePath(), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace platform
