// Icon files (.icns) read by the platform itself: the 24-bit run-length
// pictures with their 8-bit masks, and the PNG pictures. The image plugin
// for the format compiles regular expressions for every entry it looks at,
// which made drawing the splash's icon cost more than the rest of it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

namespace platform
{

// The sizes of the pictures in the file that icnsPicture decodes; empty when
// the data is not an icon file or holds none of them.
QList<QSize> icnsSizes(const QByteArray &file);
// The picture of that size, or a null image.
QImage icnsPicture(const QByteArray &file, const QSize &size);

} // namespace platform
