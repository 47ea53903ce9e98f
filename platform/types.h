// Basic types, status codes and four-character codes that the window,
// dialog and printing modules still share.
#pragma once

#include <cstdint>

using OSStatus = std::int32_t;
using OSErr = std::int16_t;
using Boolean = bool;
using OSType = std::uint32_t;

// A four-character code from four ASCII characters, the first in the most
// significant byte.
constexpr OSType FOUR_CHAR_CODE(const char (&s)[5])
{
    return OSType(std::uint8_t(s[0])) << 24 | OSType(std::uint8_t(s[1])) << 16 |
           OSType(std::uint8_t(s[2])) << 8 | OSType(std::uint8_t(s[3]));
}

enum : OSStatus {
    noErr = 0,
    paramErr = -50,
    ioErr = -36,
    fnfErr = -43,
    fBsyErr = -47,
    permErr = -54,
    memFullErr = -108,
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    eventNotHandledErr = -9874,
    kPMGeneralError = -30870,
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

struct Point {
    short v = 0;
    short h = 0;
};
