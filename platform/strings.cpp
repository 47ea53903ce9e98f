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

double CFStringGetDoubleValue(const std::string &text)
{
    std::size_t start = 0;
    while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start])))
        ++start;
    std::size_t end = start;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    const std::size_t integerDigits = digitsAt(text, end);
    end += integerDigits;
    std::size_t fractionDigits = 0;
    if (end < text.size() && text[end] == '.') {
        fractionDigits = digitsAt(text, end + 1);
        if (integerDigits + fractionDigits > 0)
            end += 1 + fractionDigits;
    }
    if (integerDigits + fractionDigits == 0)
        return 0.0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        const std::size_t exponentDigits = digitsAt(text, exponent);
        if (exponentDigits > 0)
            end = exponent + exponentDigits;
    }
    // from_chars takes no leading '+'.
    const std::size_t first = text[start] == '+' ? start + 1 : start;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + first, text.data() + end, value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    return value;
}

std::string CFStringCreateWithFormat(const char *format, double value)
{
    // Qt sets the C library to the user's locale, whose separator may be a comma.
    static const locale_t pointLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const locale_t userLocale = uselocale(pointLocale);
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    uselocale(userLocale);
    return text;
}
