#pragma once

#include <xmmintrin.h>

// The arithmetic runs with the hardware traps masked (Qt is not written for
// them); a trap is emulated by testing the SSE sticky flags at the points where
// a trapping program would already have stopped: before a report, before an
// output is written and before a result is returned.
namespace platform {

namespace detail {
constexpr unsigned kFaultFlags = _MM_EXCEPT_INVALID | _MM_EXCEPT_DIV_ZERO | _MM_EXCEPT_OVERFLOW;
[[noreturn]] void RaiseFault(unsigned flags);
} // namespace detail

// The compiler does not model the SSE flags and may move arithmetic across a
// read or a clear of them. These tie values to the reads: FenceInputs makes the
// computations from the given values start after this point (after a clear),
// FenceResults makes the given values be finished before it (before a read).
namespace detail {
inline void FenceInput(double &value)
{
    asm volatile("" : "+x"(value));
}
inline void FenceResult(double value)
{
    asm volatile("" : : "x"(value));
}
} // namespace detail

template <typename... T>
inline void FenceInputs(T &...values)
{
    (detail::FenceInput(values), ...);
}

template <typename... T>
inline void FenceResults(const T &...values)
{
    (detail::FenceResult(values), ...);
}

// The faults since the last check, as _MM_EXCEPT_* bits.
inline unsigned PendingFaults()
{
    return _mm_getcsr() & detail::kFaultFlags;
}

// Puts the fault flags back as PendingFaults() returned them, undoing what
// auxiliary arithmetic in between may have set.
inline void RestoreFaults(unsigned flags)
{
    _mm_setcsr((_mm_getcsr() & ~detail::kFaultFlags) | flags);
}

// Forgets faults left by code that does not follow the convention (Qt, libm),
// so that they are not blamed on the next computation.
inline void ClearStaleFaults()
{
    const unsigned csr = _mm_getcsr();
    if (csr & detail::kFaultFlags)
        _mm_setcsr(csr & ~detail::kFaultFlags);
}

// Raises the exception a trap would have raised for the faults since the last
// check, and clears them.
inline void RaisePendingFault()
{
    const unsigned flags = _mm_getcsr() & detail::kFaultFlags;
    if (flags) [[unlikely]]
        detail::RaiseFault(flags);
}

// A comparison with a NaN traps as an invalid operation (unless an earlier
// fault had trapped already).
inline void RequireOrdered(double x)
{
    if (x != x) [[unlikely]]
        detail::RaiseFault((_mm_getcsr() & detail::kFaultFlags) | _MM_EXCEPT_INVALID);
}

// Stores an extended-precision value as a double, trapping on overflow as the
// hardware store would.
double StoreDouble(long double x);

} // namespace platform
