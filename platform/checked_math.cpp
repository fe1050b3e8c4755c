#include "checked_math.h"

#include "fp_faults.h"

#include <iostream>
#include <limits>
#include <utility>

namespace platform {

namespace {

MathErrorReporter &Reporter()
{
    static MathErrorReporter reporter;
    return reporter;
}

void Report(const char *function, const char *kind)
{
    // A trapping program would have stopped at an earlier fault, before this report.
    RaisePendingFault();
    const std::string message = std::string(function) + ": " + kind + " error";
    if (const MathErrorReporter &reporter = Reporter())
        reporter(message);
    else
        std::cerr << message << '\n';
}

} // namespace

void SetMathErrorReporter(MathErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

namespace detail {

double ReportLog(double x)
{
    if (x != x)
        return x;
    if (x == 0.0) {
        Report("log", "SING");
        return -std::numeric_limits<double>::infinity();
    }
    Report("log", "DOMAIN");
    return std::numeric_limits<double>::quiet_NaN();
}

double ReportExp()
{
    Report("exp", "OVERFLOW");
    return std::numeric_limits<double>::infinity();
}

double ReportSqrt()
{
    Report("sqrt", "DOMAIN");
    return std::numeric_limits<double>::quiet_NaN();
}

} // namespace detail

} // namespace platform
