#include "implied_volatility.h"

#include "valuation.h"

#include <cmath>

namespace pricing {

namespace {

constexpr double kFirstUpper = 0.3;
constexpr double kUpperLimit = 1e10;
constexpr double kTolerance = 0.00001;
constexpr int kBisectionSteps = 100;

// One bisection step on the bounds; true when mid is the answer.
inline bool Step(double mid, double value, double price, double &lo, double &hi)
{
    const double diff = value - price;
    if (std::fabs(diff) < kTolerance)
        return true;
    if (diff >= 0)
        hi = mid;
    else
        lo = mid;
    return false;
}

// Two steps a round: the values at the midpoint and at both midpoints that
// can follow it are independent, so the processor overlaps their latencies;
// the one not taken is discarded. Only for values that neither report nor
// fault at a volatility between two that were already valued (the fixed-term
// values: each operation's fault is monotone in sigma, and the floor and the
// upper bound are valued first), so the extra values leave no trace.
template <typename Value>
double BisectTwoByTwo(double price, double hi, Value value)
{
    static_assert(kBisectionSteps % 2 == 0);
    double lo = kVolFloor;
    for (int round = 0; round < kBisectionSteps / 2; ++round) {
        const double mid = (lo + hi) * 0.5;
        const double below = (lo + mid) * 0.5;
        const double above = (mid + hi) * 0.5;
        const double vMid = value(mid);
        const double vBelow = value(below);
        const double vAbove = value(above);
        if (Step(mid, vMid, price, lo, hi))
            return mid;
        // The next midpoint, (lo + hi) * 0.5 with the moved bound, is one of the two.
        const bool wentBelow = hi == mid;
        const double next = wentBelow ? below : above;
        if (Step(next, wentBelow ? vBelow : vAbove, price, lo, hi))
            return next;
    }
    return kVolFailed;
}

template <typename Value>
double BisectOneByOne(double price, double hi, Value value)
{
    double lo = kVolFloor;
    for (int step = 0; step < kBisectionSteps; ++step) {
        const double mid = (lo + hi) * 0.5;
        if (Step(mid, value(mid), price, lo, hi))
            return mid;
    }
    return kVolFailed;
}

template <bool kQuiet, typename Value>
double Search(double price, Value value)
{
    if (value(kVolFloor) >= price)
        return kVolFloor;

    double hi = kFirstUpper;
    double v = value(hi);
    while (v < price) {
        hi = 2 * hi;
        v = value(hi);
        // Tested after the value at the new bound, which therefore is never used.
        if (hi > kUpperLimit)
            return kVolFailed;
    }

    // From the floor, not from the last bound that fell short.
    if constexpr (kQuiet)
        return BisectTwoByTwo(price, hi, value);
    else
        return BisectOneByOne(price, hi, value);
}

double Solve(bool call, double S, double K, double r, double T, double price)
{
    // The strike is deliberately not discounted here.
    if (call ? K + price < S : S + price < K)
        return kVolFloor;

    // Every search computes at least one value, so the fixed terms' faults are
    // the same whether they are computed once or at every step.
    detail::Fixed fixed;
    if (detail::QuietTerms(S, K, r, T, fixed)) {
        if (call)
            return Search<true>(price, [&](double sigma) { return detail::CallValue(fixed, sigma); });
        return Search<true>(price, [&](double sigma) { return detail::PutValue(fixed, sigma); });
    }
    if (call)
        return Search<false>(price, [&](double sigma) { return detail::CallValue(S, K, r, sigma, T); });
    return Search<false>(price, [&](double sigma) { return detail::PutValue(S, K, r, sigma, T); });
}

double Checked(bool call, double S, double K, double r, double T, double price)
{
    const double sigma = Solve(call, S, K, r, T, price);
    platform::FenceResults(sigma);
    platform::RaisePendingFault();
    return sigma;
}

} // namespace

double CallImpliedVol(double S, double K, double r, double T, double price)
{
    platform::ClearStaleFaults();
    platform::FenceInputs(S, K, r, T, price);
    return Checked(true, S, K, r, T, price);
}

double PutImpliedVol(double S, double K, double r, double T, double price)
{
    platform::ClearStaleFaults();
    platform::FenceInputs(S, K, r, T, price);
    return Checked(false, S, K, r, T, price);
}

double CallImpliedVolDiv(double S, double K, double r, double T, double price, double D)
{
    platform::ClearStaleFaults();
    platform::FenceInputs(S, K, r, T, price, D);
    return Checked(true, detail::Adjusted(S, r, T, D), K, r, T, price);
}

double PutImpliedVolDiv(double S, double K, double r, double T, double price, double D)
{
    platform::ClearStaleFaults();
    platform::FenceInputs(S, K, r, T, price, D);
    return Checked(false, detail::Adjusted(S, r, T, D), K, r, T, price);
}

} // namespace pricing
