// Where windows open: cascading a new window from another, and the window
// and screen bounds that the placing works with.
#pragma once

#include "types.h"
#include "window.h"

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

// Places window (usually still hidden) by method relative to parentWindow.
// With no parent the window stays where the window system puts it.
OSStatus RepositionWindow(WindowRef window, WindowRef parentWindow, WindowPositionMethod method);
// Moves the window so that its frame's top-left corner is at the point.
OSStatus MoveWindowStructure(WindowRef window, short hGlobal, short vGlobal);
// The window's bounds in global coordinates.
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect *globalBounds);
// The part of the window's screen that windows may use (without panels and docks).
OSStatus GetAvailableWindowPositioningBounds(WindowRef window, Rect *availableRect);
