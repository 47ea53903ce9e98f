// The program's icon and the size of a window's content.
#pragma once

#include <QImage>
#include <QRect>

class QWidget;

namespace platform
{

// The rectangle of the window's content, from (0, 0) to its width and height.
QRect contentBounds(const QWidget *window);
// The program's icon as the build renders it to PNG: the smallest picture
// that fills size (or the largest), to be stretched to size; null when none.
QImage applicationIconImage(const QSize &size);

} // namespace platform
