// Numbers in text, read and written the same whatever the user's locale.
#pragma once

#include <string>

// Reads one plain decimal number: blanks around it, an optional sign, a
// point or a single comma as the decimal mark ("1,5", ",5", "7."), nothing
// else ("", "nan", "1e3", "50mm", "1.000,5"). When refused, false and
// *value is left as it was.
bool readDecimal(const std::string &text, double *value);

// Formats one number with a printf format, always with a decimal point.
std::string formatNumber(const char *format, double value);
