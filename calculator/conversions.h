#pragma once

#include <cstdint>
#include <string>

// The conversions between the calculator's field texts (UTF-8) and numbers.
// Failures raise platform::EConvertError or platform::EInvalidOp.
namespace calculator {

// The decimal separator of the user's regional settings, used both ways; '.'
// until set. It must be a punctuation character other than '+', '-' and '$'.
void SetDecimalSeparator(char separator);
char DecimalSeparator();

// Text to a finite extended-precision real: spaces, sign, digits with at most
// one separator, an optional exponent, spaces.
long double ParseReal(const std::string &text);

// Text to a 32-bit signed integer, decimal or hexadecimal ("$FF", "0xFF").
std::int32_t ParseWhole(const std::string &text);

// x rounded to a multiple of 10^d, ties to even; EInvalidOp when x / 10^d is a
// NaN or reaches 2^63 in magnitude.
double RoundToDigit(long double x, int d);

// The display text of x with 15 significant digits, plain from 0.0001 up to
// 10^15 and "1.5E20"-style outside; "NAN", "INF" and "-INF" for the rest.
std::string FormatReal(long double x);

// The factors that turn typed units into pricing parameters, at extended precision.
inline constexpr long double kPercent = 0.01L;
inline constexpr long double kYearsPerDay = 1.0L / 360.0L;

// value x factor, formed at extended precision and stored as a double; a
// product beyond the double range raises EOverflow.
double ScaledParameter(long double value, long double factor);

} // namespace calculator
