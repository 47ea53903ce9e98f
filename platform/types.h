// Basic types, status codes and four-character codes still shared by the
// window modules.
#pragma once

#include <cstdint>

using OSStatus = std::int32_t;
using Boolean = bool;
using FourCharCode = std::uint32_t;
using OSType = FourCharCode;

enum : OSStatus {
    noErr = 0,
    paramErr = -50,
    fnfErr = -43,
    errAEDescNotFound = -1701,
};

// QuickDraw's rectangle: 16-bit edges, y growing downwards.
struct Rect {
    short top = 0;
    short left = 0;
    short bottom = 0;
    short right = 0;
};

inline void SetRect(Rect *r, short left, short top, short right, short bottom)
{
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
}
