#include "icns.h"

#include <QtEndian>
#include <functional>

namespace
{

// Run-length pictures, their masks and their sizes.
struct RleKind {
    const char *type;
    const char *mask;
    int side;
    int skip; // bytes before the runs
};
const RleKind kRleKinds[] = {
    {"is32", "s8mk", 16, 0}, {"il32", "l8mk", 32, 0}, {"ih32", "h8mk", 48, 0}, {"it32", "t8mk", 128, 4}};

const char *const kPngTypes[] = {"icp4", "icp5", "icp6", "ic07", "ic08", "ic09",
                                 "ic10", "ic11", "ic12", "ic13", "ic14"};

// Calls visit(type, data) for every entry; false when the file is not an
// icon file or an entry runs past its end.
bool forEachEntry(const QByteArray &file,
                  const std::function<void(const QByteArray &, const QByteArray &)> &visit)
{
    if (file.size() < 8 || !file.startsWith("icns"))
        return false;
    qsizetype at = 8;
    while (at + 8 <= file.size()) {
        const quint32 length = qFromBigEndian<quint32>(file.constData() + at + 4);
        if (length < 8 || length > quint64(file.size() - at))
            return false;
        visit(file.mid(at, 4), file.mid(at + 8, length - 8));
        at += length;
    }
    return true;
}

QSize pngSize(const QByteArray &data)
{
    if (data.size() < 24 || !data.startsWith("\x89PNG\r\n\x1a\n"))
        return QSize();
    return QSize(int(qFromBigEndian<quint32>(data.constData() + 16)),
                 int(qFromBigEndian<quint32>(data.constData() + 20)));
}

// The three colour planes of a run-length picture; false when malformed.
bool unpackRuns(const QByteArray &data, int skip, int pixels, QByteArray &planes)
{
    planes = QByteArray(3 * pixels, '\0');
    qsizetype at = skip;
    for (int plane = 0; plane < 3; ++plane) {
        char *out = planes.data() + plane * pixels;
        int filled = 0;
        while (filled < pixels) {
            if (at >= data.size())
                return false;
            const int code = quint8(data[at++]);
            if (code & 0x80) {
                const int run = code - 125;
                if (at >= data.size() || filled + run > pixels)
                    return false;
                std::fill(out + filled, out + filled + run, data[at++]);
                filled += run;
            } else {
                const int run = code + 1;
                if (at + run > data.size() || filled + run > pixels)
                    return false;
                std::copy(data.constData() + at, data.constData() + at + run, out + filled);
                at += run;
                filled += run;
            }
        }
    }
    return true;
}

QImage rlePicture(const QByteArray &data, const QByteArray &mask, const RleKind &kind)
{
    const int pixels = kind.side * kind.side;
    QByteArray planes;
    if (!unpackRuns(data, kind.skip, pixels, planes))
        return QImage();
    const bool masked = mask.size() == pixels;
    QImage image(kind.side, kind.side, QImage::Format_ARGB32);
    for (int y = 0; y < kind.side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < kind.side; ++x) {
            const int i = y * kind.side + x;
            const int alpha = masked ? quint8(mask[i]) : 255;
            line[x] =
                qRgba(quint8(planes[i]), quint8(planes[pixels + i]), quint8(planes[2 * pixels + i]), alpha);
        }
    }
    // Premultiplied, as drawing wants it.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const RleKind *rleKindOf(const QByteArray &type)
{
    for (const RleKind &kind : kRleKinds)
        if (type == kind.type)
            return &kind;
    return nullptr;
}

bool isPngType(const QByteArray &type)
{
    for (const char *png : kPngTypes)
        if (type == png)
            return true;
    return false;
}

QByteArray entry(const QByteArray &file, const char *type)
{
    QByteArray found;
    forEachEntry(file, [&](const QByteArray &t, const QByteArray &data) {
        if (t == type && found.isNull())
            found = data;
    });
    return found;
}

} // namespace

namespace platform
{

QList<QSize> icnsSizes(const QByteArray &file)
{
    QList<QSize> sizes;
    const bool whole = forEachEntry(file, [&](const QByteArray &type, const QByteArray &data) {
        QSize size;
        if (const RleKind *kind = rleKindOf(type))
            size = QSize(kind->side, kind->side);
        else if (isPngType(type))
            size = pngSize(data);
        if (size.isValid() && !sizes.contains(size))
            sizes.append(size);
    });
    return whole ? sizes : QList<QSize>();
}

QImage icnsPicture(const QByteArray &file, const QSize &size)
{
    for (const RleKind &kind : kRleKinds) {
        if (size != QSize(kind.side, kind.side))
            continue;
        const QByteArray data = entry(file, kind.type);
        if (!data.isNull())
            return rlePicture(data, entry(file, kind.mask), kind);
    }
    QImage image;
    forEachEntry(file, [&](const QByteArray &type, const QByteArray &data) {
        if (image.isNull() && isPngType(type) && pngSize(data) == size)
            image.loadFromData(data, "PNG");
    });
    return image;
}

} // namespace platform
