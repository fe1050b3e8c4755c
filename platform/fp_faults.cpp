#include "fp_faults.h"

#include "exceptions.h"

#include <cmath>

namespace platform {

namespace detail {

void RaiseFault(unsigned flags)
{
    _mm_setcsr(_mm_getcsr() & ~kFaultFlags);
    // A division by zero or an overflow yields an infinity that may go on to
    // produce an invalid operation, never the reverse: when both flags are set
    // the trap fired at the first.
    if (flags & _MM_EXCEPT_DIV_ZERO)
        throw EZeroDivide();
    if (flags & _MM_EXCEPT_OVERFLOW)
        throw EOverflow();
    throw EInvalidOp();
}

} // namespace detail

double StoreDouble(long double x)
{
    if (std::isnan(x))
        detail::RaiseFault(_MM_EXCEPT_INVALID);
    const double d = static_cast<double>(x);
    if (std::isinf(d) && !std::isinf(x))
        detail::RaiseFault(_MM_EXCEPT_OVERFLOW);
    return d;
}

} // namespace platform
