// The table sheet for the window, paper and PDF: laid out as a short list of
// items, then painted from that list with any QPainter.
#pragma once

#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>
#include <vector>

class QFont;
class QPainter;
struct tData;

struct SheetItem {
    enum class Kind { line, picture, text };
    Kind kind;
    QRect frame;    // a text's frame (drawn from its top-left, wrapping at its right) or the picture's
    QLine line;     // lines only
    QString text;   // texts only
    QImage picture; // the picture only
};
using SheetLayout = std::vector<SheetItem>;

// The sheet laid out in bounds: the values of data when valid, placeholders
// otherwise. On paper aperture 11's text has one trailing blank less.
SheetLayout layoutSheet(const QRect &bounds, const tData *data, bool valid, bool onPaper);
// Paints the items; the background is the caller's.
void paintSheet(QPainter &painter, const SheetLayout &layout);
// The sheet's fixed-pitch face, in which blank-padded numbers line up.
QFont sheetFont(int pixelSize = 12, bool bold = false);
// A camera format's name in the user's language, as the sheet shows it.
QString sheetCameraName(std::int16_t cameraType);
