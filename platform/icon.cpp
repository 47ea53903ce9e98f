// The program's icon and the size of a window's content.
#include "icon.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLayout>
#include <QMainWindow>

namespace platform
{

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

QImage applicationIconImage(const QSize &size)
{
    // Only the one PNG drawn is read from icons/<side>x<side>/apps/ (a QIcon reads all).
    const QDir folder(QStringLiteral(":/bundle/icons"));
    // The smallest side that fills size, or the largest.
    auto fills = [&size](int side) { return side >= size.width() && side >= size.height(); };
    int best = 0;
    for (const QString &sizeFolder : folder.entryList(QDir::Dirs)) {
        const int side = sizeFolder.section(QLatin1Char('x'), 0, 0).toInt();
        if (best <= 0 || (fills(side) ? !fills(best) || side < best : !fills(best) && side > best))
            best = side;
    }
    const QFileInfoList files =
        QDir(folder.filePath(QStringLiteral("%1x%1/apps").arg(best))).entryInfoList(QDir::Files);
    if (best <= 0 || files.isEmpty())
        return QImage();
    // Read as PNG by name: guessing the format would load every image plugin.
    QImageReader reader(files.first().filePath(), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace platform
