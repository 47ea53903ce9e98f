// The program's icon and the size of a window's content.
#pragma once

#include "types.h"
#include "window.h"

#include <QIcon>
#include <QImage>

// The rectangle of the window's content, from (0, 0) to its width and height.
Rect *GetWindowPortBounds(WindowRef window, Rect *outBounds);

namespace platform
{

// The program's icon at each size the build renders it to PNG.
QIcon applicationIcon();
// The smallest of the icon's sizes that fills size (or its largest), to be
// stretched to size; null when the icon has none.
QImage iconImage(const QIcon &icon, const QSize &size);

} // namespace platform
