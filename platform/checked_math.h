#pragma once

#include <functional>
#include <string>

// The elementary functions with their own range-error reports: the report is
// made (a faulted computation raises first), then the function returns its
// special value and the computation goes on, with no fault flag left behind.
namespace platform {

using MathErrorReporter = std::function<void(const std::string &message)>;

// Replaces the receiver of the reports ("log: SING error" and the like); an
// empty reporter restores the default, which writes to standard error.
void SetMathErrorReporter(MathErrorReporter reporter);

namespace detail {
double ReportLog(double x);
double ReportExp();
double ReportSqrt();
// ln(DBL_MAX): from here on e^x is not representable.
constexpr double kExpOverflow = 709.782712893383973096;
// ln(DBL_MIN): below it e^x is flushed to 0 rather than made denormal.
constexpr double kExpFlush = -708.396418532264106224;
} // namespace detail

// ln x; 0 reports "log: SING error" and gives -inf, a negative x "log: DOMAIN error" and a NaN.
double Log(double x);

// e^x; x beyond ln(DBL_MAX) reports "exp: OVERFLOW error" and gives +inf; x below ln(DBL_MIN) gives 0.
double Exp(double x);

// sqrt x; a negative x reports "sqrt: DOMAIN error" and gives a NaN.
double Sqrt(double x);

} // namespace platform

#include "checked_math_inl.h"
