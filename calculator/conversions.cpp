#include "conversions.h"

#include "platform/exceptions.h"
#include "platform/fp_faults.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string_view>

namespace calculator {

namespace {

char gDecimalSeparator = '.';

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void ThrowNotReal(const std::string &text)
{
    throw platform::EConvertError("'" + text + "' is not a valid floating point value");
}

[[noreturn]] void ThrowNotWhole(const std::string &text)
{
    throw platform::EConvertError("'" + text + "' is not a valid integer value");
}

// The exponent takes no further digit once its value has reached this.
constexpr int kExponentLimit = 500;

// Qt sets LC_NUMERIC from the user's environment; the digits handed to the C
// library always use '.', so they are read in the "C" locale whatever the
// process locale is.
locale_t NumericCLocale()
{
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", locale_t{});
    return locale;
}

bool TakeSign(std::string_view text, std::size_t &i)
{
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
        return true;
    }
    return false;
}

std::int32_t ParseHexPattern(const std::string &text, std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        ThrowNotWhole(text);
    std::uint32_t pattern = 0;
    for (char c : digits) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            ThrowNotWhole(text);
        pattern = pattern << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(pattern);
}

std::int32_t ParseDecimal(const std::string &text, std::string_view number)
{
    std::size_t i = 0;
    TakeSign(number, i);
    const bool negative = i > 0 && number[0] == '-';
    if (i == number.size())
        ThrowNotWhole(text);
    const std::int64_t limit = negative ? 2147483648 : 2147483647;
    std::int64_t magnitude = 0;
    for (; i < number.size(); ++i) {
        if (!IsDigit(number[i]))
            ThrowNotWhole(text);
        magnitude = magnitude * 10 + (number[i] - '0');
        if (magnitude > limit)
            ThrowNotWhole(text);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace

void SetDecimalSeparator(char separator)
{
    gDecimalSeparator = separator;
}

char DecimalSeparator()
{
    return gDecimalSeparator;
}

long double ParseReal(const std::string &text)
{
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size && text[i] == ' ')
        ++i;

    // The C library reads a copy in its own grammar: '.' as separator, a
    // leading 0 so that a lone separator is a number, no empty exponent.
    std::string normalised;
    if (TakeSign(text, i))
        normalised += text[i - 1];
    normalised += '0';

    const std::size_t mantissaStart = i;
    while (i < size && IsDigit(text[i]))
        normalised += text[i++];
    if (i < size && text[i] == gDecimalSeparator) {
        normalised += '.';
        ++i;
        while (i < size && IsDigit(text[i]))
            normalised += text[i++];
    }
    if (i == mantissaStart)
        ThrowNotReal(text);

    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        std::string exponent = "e";
        if (TakeSign(text, i))
            exponent += text[i - 1];
        int value = 0;
        const std::size_t digitsStart = i;
        while (i < size && IsDigit(text[i])) {
            if (value >= kExponentLimit)
                ThrowNotReal(text);
            value = value * 10 + (text[i] - '0');
            exponent += text[i++];
        }
        if (i > digitsStart)
            normalised += exponent;
    }

    while (i < size && text[i] == ' ')
        ++i;
    if (i != size)
        ThrowNotReal(text);

    const long double value = strtold_l(normalised.c_str(), nullptr, NumericCLocale());
    if (!std::isfinite(value))
        ThrowNotReal(text);
    return value;
}

std::int32_t ParseWhole(const std::string &text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        ThrowNotWhole(text);
    const std::string_view number = std::string_view(text).substr(start);

    if (number.starts_with("0x") || number.starts_with("0X"))
        return ParseHexPattern(text, number.substr(2));
    if (number[0] == '$' || number[0] == 'x' || number[0] == 'X')
        return ParseHexPattern(text, number.substr(1));
    return ParseDecimal(text, number);
}

double RoundToDigit(long double x, int d)
{
    unsigned exponent = d < 0 ? 0u - static_cast<unsigned>(d) : static_cast<unsigned>(d);
    long double power = 1;
    for (long double square = 10;;) {
        if (exponent & 1)
            power *= square;
        exponent >>= 1;
        if (exponent == 0)
            break;
        square *= square;
    }
    if (std::isinf(power))
        throw platform::EOverflow();
    const double f = platform::StoreDouble(d < 0 ? 1 / power : power);

    const long double q = x / f;
    if (!(std::fabs(q) < 0x1p63L))
        throw platform::EInvalidOp();
    // The rounding mode is never changed from round-to-nearest, ties to even.
    const long long n = std::llrint(q);
    return platform::StoreDouble(static_cast<long double>(n) * f);
}

std::string FormatReal(long double x)
{
    if (std::isnan(x))
        return "NAN";
    if (std::isinf(x))
        return x < 0 ? "-INF" : "INF";
    if (x == 0)
        return "0";

    // "[-]d.dddddddddddddde[+-]x": the correctly rounded 15 digits, whatever the locale.
    char buffer[32];
    const char *const end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14).ptr;
    const bool negative = buffer[0] == '-';
    std::string digits;
    const char *p = buffer;
    for (; *p != 'e'; ++p) {
        if (IsDigit(*p))
            digits += *p;
    }
    ++p;
    if (*p == '+')
        ++p;
    int exponent = 0;
    std::from_chars(p, end, exponent);
    digits.erase(digits.find_last_not_of('0') + 1);

    const char separator = gDecimalSeparator;
    std::string text = negative ? "-" : "";
    if (exponent >= 15 || exponent < -4) {
        text += digits[0];
        if (digits.size() > 1)
            text += separator + digits.substr(1);
        return text + 'E' + std::to_string(exponent);
    }
    if (exponent < 0)
        return text + '0' + separator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return text + digits + std::string(integerDigits - digits.size(), '0');
    return text + digits.substr(0, integerDigits) + separator + digits.substr(integerDigits);
}

double ScaledParameter(long double value, long double factor)
{
    const long double product = value * factor;
    if (std::isinf(product) && std::isfinite(value) && std::isfinite(factor))
        throw platform::EOverflow();
    return platform::StoreDouble(product);
}

} // namespace calculator
