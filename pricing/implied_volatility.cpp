#include "implied_volatility.h"

#include "valuation.h"

#include <cmath>

namespace pricing {

namespace {

constexpr double kFirstUpper = 0.3;
constexpr double kUpperLimit = 1e10;
constexpr double kTolerance = 0.00001;
constexpr int kBisectionSteps = 100;

template <typename Value>
double Bisect(double price, Value value)
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
    double lo = kVolFloor;
    for (int step = 0; step < kBisectionSteps; ++step) {
        const double mid = (lo + hi) * 0.5;
        const double diff = value(mid) - price;
        if (std::fabs(diff) < kTolerance)
            return mid;
        if (diff >= 0)
            hi = mid;
        else
            lo = mid;
    }
    return kVolFailed;
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
            return Bisect(price, [&](double sigma) { return detail::CallValue(fixed, sigma); });
        return Bisect(price, [&](double sigma) { return detail::PutValue(fixed, sigma); });
    }
    if (call)
        return Bisect(price, [&](double sigma) { return detail::CallValue(S, K, r, sigma, T); });
    return Bisect(price, [&](double sigma) { return detail::PutValue(S, K, r, sigma, T); });
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
