// Drawing into a window's port or a printed page's port. A port keeps what
// was drawn into it (erasures, lines, pictures, text boxes, icons) and a
// window repaints itself from its port, so a drawing stays on screen until
// it is drawn over or erased.
#pragma once

#include "types.h"
#include "window.h"

#include <QIcon>
#include <QRect>
#include <memory>
#include <string>
#include <vector>

struct GrafPort;
using GrafPtr = GrafPort *;

void GetPort(GrafPtr *outPort);
void SetPort(GrafPtr port);
void SetPortWindowPort(WindowRef window);
GrafPtr GetWindowPort(WindowRef window);
Rect *GetWindowPortBounds(WindowRef window, Rect *outBounds);
Rect *GetPortBounds(GrafPtr port, Rect *outBounds);
// Moves the port's coordinate origin so that its top-left corner is (h, v).
void SetOrigin(short h, short v);

void EraseRect(const Rect *r);
void MoveTo(short h, short v);
void LineTo(short h, short v);

// Text settings of the current port (size in pixels; face 0 plain, 1 bold).
enum : std::int16_t { normal = 0, bold = 1, italic = 2 };
void TextSize(short size);
void TextFace(std::int16_t face);
std::int16_t GetPortTextFace(GrafPtr port);

// Text boxes: the text drawn inside frame from its top-left corner, wrapping
// at the frame's right edge, in the port's text settings.
enum class TextFlush { left, center };
OSStatus TXNDrawCFStringTextBox(const std::string &text, const Rect *frame,
                                TextFlush flush = TextFlush::left);

// Pictures and icons from the bundle.
struct Picture;
using PicHandle = std::shared_ptr<const Picture>;
PicHandle GetPicture(short pictureID);
void DrawPicture(const PicHandle &picture, const Rect *dstRect);

namespace platform
{

// The program's icon at each size the build renders it to PNG.
QIcon applicationIcon();
// Draws the smallest of the icon's sizes that fills rect (or its largest),
// stretched to rect.
void drawIcon(const QIcon &icon, const QRect &rect);

} // namespace platform

// What a port shows now, for tests and diagnostics: the items drawn into it,
// in drawing order, less those whose anchor a later erasure covered.
struct PortItem {
    enum class Kind { line, picture, text, icon };
    Kind kind;
    Rect frame;       // text frame, picture or icon rectangle; a line's end points
    std::string text; // text boxes only
    short textSize = 0;
    std::int16_t textFace = 0;
    TextFlush flush = TextFlush::left;
};
std::vector<PortItem> GetPortContents(GrafPtr port);
// How many times the whole port has been erased (each full redraw erases it once).
int GetPortEraseCount(GrafPtr port);
