#include "strings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale.h>

bool readDecimal(const std::string &text, double *value)
{
    const auto blank = [&text](std::size_t i) {
        return std::isspace(static_cast<unsigned char>(text[i])) != 0;
    };
    const auto digit = [&text](std::size_t i) {
        return std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    };
    std::size_t i = 0, end = text.size();
    while (i < end && blank(i))
        ++i;
    while (end > i && blank(end - 1))
        --end;
    // The number as from_chars reads it: no '+', a point for the mark.
    std::string number;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        number += text[i++] == '-' ? "-" : "";
    bool digits = false;
    for (bool mark = false; i < end; ++i) {
        if (!mark && (text[i] == '.' || text[i] == ','))
            mark = true;
        else if (!digit(i))
            break;
        digits = digits || digit(i);
        number += digit(i) ? text[i] : '.';
    }
    // Nothing may follow the number, and it needs a digit somewhere.
    double parsed = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (i != end || !digits || result.ec != std::errc() || result.ptr != number.data() + number.size() ||
        !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

std::string formatNumber(const char *format, double value)
{
    // Qt sets the C library to the user's locale, whose separator may be a comma.
    static const locale_t pointLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t userLocale = uselocale(pointLocale);
    // A huge value in "%f" has hundreds of digits: sized from what snprintf needs.
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
