#include "strings.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale.h>

namespace
{

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of the digits starting at position i.
std::size_t digitsAt(const std::string &text, std::size_t i)
{
    std::size_t n = 0;
    while (i + n < text.size() && isDigit(text[i + n]))
        ++n;
    return n;
}

} // namespace

Boolean CFStringGetDecimalValue(const std::string &text, double *value)
{
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    while (end > start && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    std::string number;
    std::size_t i = start;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            number += '-';
        ++i;
    }
    const std::size_t integerDigits = digitsAt(text, i);
    number.append(text, i, integerDigits);
    i += integerDigits;
    std::size_t fractionDigits = 0;
    if (i < end && (text[i] == '.' || text[i] == ',')) {
        fractionDigits = digitsAt(text, i + 1);
        number += '.';
        number.append(text, i + 1, fractionDigits);
        i += 1 + fractionDigits;
    }
    // Nothing may follow the number, and it needs a digit somewhere.
    if (i != end || integerDigits + fractionDigits == 0)
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size() || !std::isfinite(parsed))
        return false;
    *value = parsed;
    return true;
}

std::string CFStringCreateWithFormat(const char *format, double value)
{
    // Qt sets the C library to the user's locale, whose separator may be a comma.
    static const locale_t pointLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t userLocale = uselocale(pointLocale);
    // Room for any figure: a huge value in "%f" has hundreds of digits, so
    // the buffer is sized from what snprintf says it needs.
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
