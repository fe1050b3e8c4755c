#pragma once

#include <cmath>

namespace platform {

inline double Log(double x)
{
    if (x > 0.0) [[likely]]
        return std::log(x);
    return detail::ReportLog(x);
}

inline double Exp(double x)
{
    if (x < detail::kExpOverflow) [[likely]] {
        if (x < detail::kExpFlush) [[unlikely]]
            return 0.0;
        return std::exp(x);
    }
    if (x != x)
        return x;
    return detail::ReportExp();
}

inline double Sqrt(double x)
{
    if (x >= 0.0) [[likely]]
        return std::sqrt(x);
    if (x != x)
        return x;
    return detail::ReportSqrt();
}

} // namespace platform
