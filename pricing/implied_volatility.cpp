#include "implied_volatility.h"

#include "valuation.h"

#include <cmath>
#include <limits>

namespace pricing {

namespace {

constexpr double kFirstUpper = 0.3;
constexpr double kUpperLimit = 1e10;
constexpr double kTolerance = 0.00001;
constexpr int kBisectionSteps = 100;

// How far the polynomial normal distribution may stray from the true one:
// Abramowitz and Stegun bound the polynomial by 7.5e-8, the factor 0.3989423
// in place of 1/sqrt(2 pi) adds at most 2.5e-8 (a relative 4.9e-8 of z P,
// which is at most 1/2), the cut-offs at +-6 1e-9 and the rounding far less:
// 1e-7 in all, taken as 1.2e-7.
constexpr double kCndError = 1.2e-7;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

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

// Volatilities at or below `below` value at least the tolerance under the
// price, those at or above `above` at least the tolerance over it, so a
// bisection step there goes the known way without a value being computed.
struct KnownSides {
    double below = -kInfinity;
    double above = kInfinity;
};

template <typename Value>
double Bisect(double price, double hi, Value value, KnownSides known = {})
{
    double lo = kVolFloor;
    for (int step = 0; step < kBisectionSteps; ++step) {
        const double mid = (lo + hi) * 0.5;
        if (mid <= known.below)
            lo = mid;
        else if (mid >= known.above)
            hi = mid;
        else if (Step(mid, value(mid), price, lo, hi))
            return mid;
    }
    return kVolFailed;
}

// Finds where the bisection's steps are known in advance, by a safeguarded
// Newton search for the root and one value either side of it. The true
// Black-Scholes value grows with sigma and the computed one is within
// `stray` of it, so a computed value a margin of 2 x stray beyond the price
// bounds every computed value on its side. The search's own arithmetic may
// raise flags that the bisection would not: they are put back afterwards.
KnownSides Locate(const detail::Fixed &f, bool call, double price, double hi)
{
    const unsigned faults = platform::PendingFaults();
    const double stray = kCndError * (f.S + f.discounted);
    const double margin = kTolerance + 2 * stray;
    const auto value = [&](double sigma) { return call ? detail::CallValue(f, sigma) : detail::PutValue(f, sigma); };

    KnownSides known;
    const auto note = [&](double sigma, double v) {
        if (v <= price - margin && sigma > known.below)
            known.below = sigma;
        if (v >= price + margin && sigma < known.above)
            known.above = sigma;
    };

    double a = kVolFloor;
    double b = hi;
    // Corrado and Miller's estimate as the first guess; the put through parity.
    const double X = f.discounted;
    const double callPrice = call ? price : price + f.S - X;
    const double half = callPrice - 0.5 * (f.S - X);
    const double root = std::sqrt(std::fmax(half * half - (f.S - X) * (f.S - X) / 3.141592653589793, 0.0));
    double sigma = std::sqrt(2 * 3.141592653589793) / (f.S + X) * (half + root) / f.sT;
    if (!std::isgreater(sigma, a) || !std::isless(sigma, b))
        sigma = 0.5 * (a + b);
    double slope = 0;
    double diff = 0;
    for (int i = 0; i < 40; ++i) {
        const double v = value(sigma);
        note(sigma, v);
        diff = v - price;
        if (diff < 0)
            a = sigma;
        else
            b = sigma;
        slope = f.S * f.sT * detail::Density(detail::Terms(f, sigma).d1);
        // Close enough for the two values either side to land outside the margin.
        if (std::fabs(diff) < margin)
            break;
        // A Newton step where it lands inside the bracket, halving elsewhere.
        const double next = std::isgreater(slope, 0.0) ? sigma - diff / slope : a;
        sigma = std::isgreater(next, a) && std::isless(next, b) ? next : 0.5 * (a + b);
    }
    if (std::isgreater(slope, 0.0)) {
        const double reach = 1.25 * (margin + std::fabs(diff)) / slope;
        for (const double side : {sigma - reach, sigma + reach})
            if (side > kVolFloor && side < hi)
                note(side, value(side));
    }
    platform::RestoreFaults(faults);
    return known;
}

// Positive, finite inputs: then no value at a volatility from the floor to
// the bracket limit can fault, and the true value grows with sigma.
bool WellBehaved(const detail::Fixed &f, double price)
{
    return std::isgreater(f.S, 0.0) && std::isgreater(f.K, 0.0) && std::isgreater(f.sT, 0.0) &&
           std::isfinite(f.S + f.discounted + f.sT) && std::isfinite(price);
}

template <bool kFixed, typename Value>
double Search(double price, Value value, const detail::Fixed *fixed = nullptr, bool call = true)
{
    const bool wellBehaved = kFixed && WellBehaved(*fixed, price);
    // Where nothing can fault, the first bound's value is computed alongside
    // the floor's, which lets the processor overlap the two.
    const double floorValue = value(kVolFloor);
    const double firstValue = wellBehaved ? value(kFirstUpper) : 0;
    if (floorValue >= price)
        return kVolFloor;

    double hi = kFirstUpper;
    double v = wellBehaved ? firstValue : value(hi);
    while (v < price) {
        hi = 2 * hi;
        v = value(hi);
        // Tested after the value at the new bound, which therefore is never used.
        if (hi > kUpperLimit)
            return kVolFailed;
    }

    // From the floor, not from the last bound that fell short. Where the
    // values are well-behaved the steps far from the root are known without
    // computing them; every value the bisection does compute is the same.
    if (wellBehaved)
        return Bisect(price, hi, value, Locate(*fixed, call, price, hi));
    return Bisect(price, hi, value);
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
            return Search<true>(price, [&](double sigma) { return detail::CallValue(fixed, sigma); }, &fixed, call);
        return Search<true>(price, [&](double sigma) { return detail::PutValue(fixed, sigma); }, &fixed, call);
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
