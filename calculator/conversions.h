#pragma once

#include <cstdint>
#include <string>

// The conversions between the calculator's field texts (UTF-8) and numbers.
// Failures raise platform::EConvertError or platform::EInvalidOp.
namespace calculator {

// The decimal separator of the user's regional settings, used both ways.
void SetDecimalSeparator(char separator);
char DecimalSeparator();

// Text to a finite extended-precision real.
long double ParseReal(const std::string &text);

// Text to a 32-bit signed integer, decimal or hexadecimal ("$FF", "0xFF").
std::int32_t ParseWhole(const std::string &text);

// x rounded to a multiple of 10^d, ties to even.
double RoundToDigit(long double x, int d);

// The display text of x with 15 significant digits.
std::string FormatReal(long double x);

// The factors that turn typed units into pricing parameters, at extended precision.
inline constexpr long double kPercent = 0.01L;
inline constexpr long double kYearsPerDay = 1.0L / 360.0L;

// value x factor, formed at extended precision and stored as a double.
double ScaledParameter(long double value, long double factor);

} // namespace calculator
