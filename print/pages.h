// Pages painted in points, as printing and PDF documents paint them: the
// painter starts on the device with the first page, each later page is a
// new one, scaled from points to the device while the page is open.
#pragma once

#include <QPainter>
#include <memory>

class QPagedPaintDevice;

struct PaintedPages {
    std::unique_ptr<QPainter> painter;
    bool pageOpen = false;
    int count = 0; // pages ended
    // Starts a page; false when the device takes no painter (the first
    // page) or no further page.
    bool beginPage(QPagedPaintDevice &device, double dotsPerPoint);
    void endPage();
    // Ends the painting, when begun; false when the device could not finish.
    bool finish();
};
