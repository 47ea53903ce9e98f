// Basic types, status codes and four-character codes shared by every module.
#pragma once

#include <cstdint>

using OSStatus = std::int32_t;
using OSErr = std::int16_t;
using Boolean = bool;
using FourCharCode = std::uint32_t;
using OSType = FourCharCode;

// Builds a four-character code from four ASCII characters, first character in
// the most significant byte.
constexpr FourCharCode FOUR_CHAR_CODE(const char (&s)[5])
{
    return (FourCharCode(std::uint8_t(s[0])) << 24) | (FourCharCode(std::uint8_t(s[1])) << 16) |
           (FourCharCode(std::uint8_t(s[2])) << 8) | FourCharCode(std::uint8_t(s[3]));
}

enum : OSStatus {
    noErr = 0,
    paramErr = -50,
    dskFulErr = -34,
    ioErr = -36,
    eofErr = -39,
    fnfErr = -43,
    wPrErr = -44,
    fLckdErr = -45,
    vLckdErr = -46,
    fBsyErr = -47,
    dupFNErr = -48,
    permErr = -54,
    wrPermErr = -61,
    memFullErr = -108,
    resNotFound = -192,
    errAECoercionFail = -1700,
    errAEDescNotFound = -1701,
    errAEEventNotHandled = -1708,
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
