#include "print/pages.h"

#include <QPagedPaintDevice>

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

bool PaintedPages::finish()
{
    if (pageOpen)
        endPage();
    return painter && painter->isActive() && painter->end();
}
