// Writes the PNG icons of the freedesktop icon theme from one of the
// bundle's icon files, so that the installed icons are always the
// bundle's own pictures:
//
//   exporticons ICON.icns OUTPUT-FOLDER CONTEXT NAME SIZE...
//
// writes OUTPUT-FOLDER/<size>x<size>/CONTEXT/NAME.png for each size: the
// picture of that size in the icon file, or the smallest larger one scaled
// down.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <cstdio>

namespace
{

QList<QImage> picturesIn(const QString &path)
{
    QList<QImage> pictures;
    QImageReader reader(path);
    const int count = reader.imageCount() > 0 ? reader.imageCount() : 1;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage picture = reader.read();
        if (!picture.isNull() && picture.width() == picture.height())
            pictures.append(picture.convertToFormat(QImage::Format_ARGB32));
    }
    return pictures;
}

// The picture to make size from: an exact one, or the smallest larger one,
// or failing both the largest.
QImage pictureFor(const QList<QImage> &pictures, int size)
{
    QImage best;
    for (const QImage &picture : pictures) {
        const int side = picture.width();
        if (side == size)
            return picture;
        const bool larger = side > size;
        const bool bestLarger = !best.isNull() && best.width() > size;
        if (best.isNull() || (larger && (!bestLarger || side < best.width())) ||
            (!larger && !bestLarger && side > best.width()))
            best = picture;
    }
    if (best.isNull() || best.width() == size)
        return best;
    return best.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv); // finds the image format plugins
    const QStringList arguments = application.arguments();
    if (arguments.size() < 6) {
        std::fputs("usage: exporticons ICON.icns OUTPUT-FOLDER CONTEXT NAME SIZE...\n", stderr);
        return 2;
    }
    const QList<QImage> pictures = picturesIn(arguments.at(1));
    if (pictures.isEmpty()) {
        std::fprintf(stderr, "exporticons: no square picture in %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    for (const QString &sizeText : arguments.mid(5)) {
        const int size = sizeText.toInt();
        const QString folder =
            QStringLiteral("%1/%2x%2/%3").arg(arguments.at(2)).arg(size).arg(arguments.at(3));
        const QString file = folder + QLatin1Char('/') + arguments.at(4) + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(folder) || !pictureFor(pictures, size).save(file, "PNG")) {
            std::fprintf(stderr, "exporticons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
