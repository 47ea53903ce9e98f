// The table sheet, one painter for the window, paper and PDF: the sheet is
// first laid out as a short list of items (texts in their frames, the rule,
// the picture), then painted from that list with any QPainter.
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

// On paper the sixth aperture's text has one trailing blank less.
enum class SheetMedium { screen, paper };

// The sheet laid out in bounds: the values of data when valid, placeholders
// otherwise. The rule and the picture keep fixed places.
SheetLayout layoutSheet(const QRect &bounds, const tData *data, bool valid, SheetMedium medium);
// Paints the items; the background is the caller's.
void paintSheet(QPainter &painter, const SheetLayout &layout);
// The sheet's fixed-pitch face, in which blank-padded numbers line up.
QFont sheetFont();
