// Where windows open: cascading a new window from another, and the window
// and screen bounds that the placing works with.
#pragma once

#include "types.h"

class QWidget;

using WindowPositionMethod = std::uint32_t;
enum : WindowPositionMethod {
    // Down and to the right of the parent window by its title bar height;
    // back to the top-left of the available screen area when that would
    // not fit on the screen.
    kWindowCascadeOnParentWindow = 5,
};

using WindowRegionCode = std::uint16_t;
enum : WindowRegionCode {
    kWindowStructureRgn = 32, // the window with its frame and title bar
};

// Places window (usually still hidden) by method relative to parent. With
// no parent the window stays where the window system puts it.
void RepositionWindow(QWidget *window, QWidget *parent, WindowPositionMethod method);
// Moves the window so that its frame's top-left corner is at the point.
void MoveWindowStructure(QWidget *window, short hGlobal, short vGlobal);
// The window's bounds in global coordinates; false for a region not known.
bool GetWindowBounds(const QWidget *window, WindowRegionCode regionCode, Rect *globalBounds);
// The part of the window's screen that windows may use (without panels and docks).
bool GetAvailableWindowPositioningBounds(const QWidget *window, Rect *availableRect);
