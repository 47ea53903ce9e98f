#include "strings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace
{

// Past the digits that start at position i.
std::size_t skipDigits(const std::string &text, std::size_t i)
{
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

bool readDecimal(const std::string &text, double *value)
{
    std::size_t i = 0, end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;
    // The number as from_chars reads it: no '+', a point for the mark.
    std::string number;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        number += text[i++] == '-' ? "-" : "";
    std::size_t digitsEnd = skipDigits(text, i);
    std::size_t digits = digitsEnd - i;
    number.append(text, i, digits);
    i = digitsEnd;
    if (i < end && (text[i] == '.' || text[i] == ',')) {
        digitsEnd = skipDigits(text, i + 1);
        digits += digitsEnd - i - 1;
        number += '.';
        number.append(text, i + 1, digitsEnd - i - 1);
        i = digitsEnd;
    }
    // Nothing may follow the number, and it needs a digit somewhere.
    if (i != end || digits == 0)
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size() || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

std::string formatNumber(const char *format, double value)
{
    // Qt sets the C library to the user's locale, whose separator may be a comma.
    static const locale_t pointLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t userLocale = uselocale(pointLocale);
    // A huge value in "%f" has hundreds of digits: the buffer is sized from
    // what snprintf says it needs.
    std::string text(64, '\0');
    int needed = std::snprintf(text.data(), text.size(), format, value);
    if (needed >= 0 && std::size_t(needed) >= text.size()) {
        text.resize(std::size_t(needed) + 1);
        needed = std::snprintf(text.data(), text.size(), format, value);
    }
    uselocale(userLocale);
    text.resize(needed > 0 ? std::size_t(needed) : 0);
    return text;
}
