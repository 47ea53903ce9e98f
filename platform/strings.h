// Numbers in text, read and written the same whatever the user's locale.
#pragma once

#include <string>

// Reads text that is one plain decimal number: blanks around it, an optional
// sign, digits with a point or a single comma as the decimal mark ("1.5",
// "1,5", ",5", "7."), no thousands separators, no exponent. Anything else
// ("", "abc", "nan", "1e3", "50mm", "1.000,5") is refused: false, and
// *value is left as it was.
bool readDecimal(const std::string &text, double *value);

// Formats one number with a printf format ("%6.3f"), with a point as the
// decimal separator whatever the user's locale.
std::string formatNumber(const char *format, double value);
