// Drawing into a window's port, for the windows that do not paint
// themselves yet (the about box). A port keeps what was drawn into it
// (erasures, text boxes, icons) and the window repaints itself from its
// port, so a drawing stays on screen until it is drawn over or erased.
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
Rect *GetWindowPortBounds(WindowRef window, Rect *outBounds);
Rect *GetPortBounds(GrafPtr port, Rect *outBounds);

void EraseRect(const Rect *r);

// Text boxes: the text drawn inside frame from its top-left corner, wrapping
// at the frame's right edge, in the port's 12-pixel fixed-pitch face.
enum class TextFlush { left, center };
OSStatus TXNDrawCFStringTextBox(const std::string &text, const Rect *frame,
                                TextFlush flush = TextFlush::left);

namespace platform
{

// The program's icon at each size the build renders it to PNG.
QIcon applicationIcon();
// Draws the smallest of the icon's sizes that fills rect (or its largest),
// stretched to rect.
void drawIcon(const QIcon &icon, const QRect &rect);

} // namespace platform
