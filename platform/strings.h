// Numbers in text, read the same whatever the user's locale.
#pragma once

#include <string>

// The leading decimal number of text (blanks before it skipped, a point as
// the decimal separator, an optional exponent); 0.0 when text does not start
// with a finite decimal number ("", "abc", "nan", "inf", "0x1A" reads 0).
double CFStringGetDoubleValue(const std::string &text);

// Formats one number with a printf format ("%6.3f"), with a point as the
// decimal separator whatever the user's locale.
std::string CFStringCreateWithFormat(const char *format, double value);
