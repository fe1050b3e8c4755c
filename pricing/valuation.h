#pragma once

#include "platform/checked_math.h"
#include "platform/fp_faults.h"

// The formulas without the fault bookkeeping of the public entry points, shared
// by the value, Greeks and solver functions. Each operation stands in the order
// and grouping that defines the result bit for bit.
namespace pricing::detail {

inline double Cnd(double x)
{
    platform::RequireOrdered(x);
    if (x > 6.0)
        return 1.0;
    if (x < -6.0)
        return 0.0;
    const double t = 1.0 / (1.0 + 0.2316419 * std::fabs(x));
    // 0.3989423, not 1/sqrt(2 pi): the polynomial's coefficients were fitted with it.
    const double z = 0.3989423 * platform::Exp((-x) * (0.5 * x));
    const double p =
        t * (0.31938153 + t * (-0.356563782 + t * (1.781477937 + t * (-1.821255978 + t * 1.330274429))));
    const double e = 1.0 - z * p;
    return x >= 0.0 ? e : 1.0 - e;
}

inline double Density(double x)
{
    // Formed from 2 pi at run time, unlike the rounded factor inside Cnd.
    const double factor = 1.0 / platform::Sqrt(6.283185307179586);
    return factor * platform::Exp((-0.5 * x) * x);
}

struct D1D2 {
    double sT;
    double d1;
    double d2;
};

// The fences keep the source order between a report and the faults of the
// terms after it, which the compiler would otherwise be free to compute first.
inline D1D2 Terms(double S, double K, double r, double sigma, double T)
{
    const double sT = platform::Sqrt(T);
    platform::FenceResults(sT);
    platform::FenceInputs(S, K);
    const double lnSK = platform::Log(S / K);
    platform::FenceResults(lnSK);
    platform::FenceInputs(r, T, sigma);
    const double d1 = (lnSK + r * T) / (sigma * sT) + 0.5 * sigma * sT;
    return {sT, d1, d1 - sigma * sT};
}

inline double CallValue(double S, double K, double r, double sigma, double T)
{
    const D1D2 t = Terms(S, K, r, sigma, T);
    // Sequenced by hand: each factor may report or fault, and the first to do so wins.
    const double n1 = Cnd(t.d1);
    platform::FenceResults(n1);
    platform::FenceInputs(r, T);
    const double discount = platform::Exp(-r * T);
    const double n2 = Cnd(t.d2);
    return S * n1 - K * discount * n2;
}

inline double PutValue(double S, double K, double r, double sigma, double T)
{
    const D1D2 t = Terms(S, K, r, sigma, T);
    const double discount = platform::Exp(-r * T);
    const double n2 = Cnd(-t.d2);
    const double n1 = Cnd(-t.d1);
    return K * discount * n2 - S * n1;
}

// The security price less the dividend discounted over half the life.
inline double Adjusted(double S, double r, double T, double D)
{
    const double exponent = (-r) * T * 0.5;
    // With no dividend the discount cannot change S, and leaving it out changes
    // nothing else as long as it would neither report nor make 0 x inf.
    if (D == 0.0 && std::isless(exponent, platform::detail::kExpOverflow))
        return S;
    return S - D * platform::Exp(exponent);
}

// The terms of a value that do not depend on sigma. Computed once they give the
// same bits as the step-by-step formulas, which compute them afresh each time.
struct Fixed {
    double S;
    double K;
    double sT;
    double numerator;  // ln(S/K) + r T
    double discount;   // e^(-r T)
    double discounted; // K e^(-r T)
};

// Fills the fixed terms when none of them would report; otherwise the caller
// takes the step-by-step path so that the reports come as often and in the
// order they do there. Quiet comparisons: a NaN declines without a flag.
inline bool QuietTerms(double S, double K, double r, double T, Fixed &f)
{
    // In the order the step-by-step path meets them, so that a term's fault
    // is never computed here ahead of an earlier term's report there.
    if (!std::isgreaterequal(T, 0.0))
        return false;
    const double ratio = S / K;
    if (!std::isgreater(ratio, 0.0))
        return false;
    const double exponent = -r * T;
    if (!std::isless(exponent, platform::detail::kExpOverflow))
        return false;
    f.S = S;
    f.K = K;
    f.sT = std::sqrt(T);
    f.numerator = std::log(ratio) + r * T;
    f.discount = platform::Exp(exponent);
    f.discounted = K * f.discount;
    return true;
}

inline D1D2 Terms(const Fixed &f, double sigma)
{
    const double d1 = f.numerator / (sigma * f.sT) + 0.5 * sigma * f.sT;
    return {f.sT, d1, d1 - sigma * f.sT};
}

inline double CallValue(const Fixed &f, double sigma)
{
    const D1D2 t = Terms(f, sigma);
    return f.S * Cnd(t.d1) - f.discounted * Cnd(t.d2);
}

inline double PutValue(const Fixed &f, double sigma)
{
    const D1D2 t = Terms(f, sigma);
    return f.discounted * Cnd(-t.d2) - f.S * Cnd(-t.d1);
}

} // namespace pricing::detail
