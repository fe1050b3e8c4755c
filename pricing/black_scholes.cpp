#include "black_scholes.h"

#include "valuation.h"

namespace pricing {

using platform::ClearStaleFaults;
using platform::RaisePendingFault;

namespace {

// The value one step of 0.00277 years closer to expiration, less the value now.
constexpr double kThetaStep = 0.00277;

// Step by step, writing each Greek only once the faults up to it are known: a
// fault in gamma leaves delta written and the rest untouched.
void StepByStep(bool call, double S, double K, double r, double sigma, double T,
                double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    const detail::D1D2 t = detail::Terms(S, K, r, sigma, T);
    const double d = call ? detail::Cnd(t.d1) : -detail::Cnd(-t.d1);
    platform::FenceResults(d);
    RaisePendingFault();
    delta = d;

    const double density = detail::Density(t.d1);
    const double g = density / (S * sigma * t.sT);
    platform::FenceResults(g);
    RaisePendingFault();
    gamma = g;

    const double th = call ? detail::CallValue(S, K, r, sigma, T - kThetaStep) - detail::CallValue(S, K, r, sigma, T)
                           : detail::PutValue(S, K, r, sigma, T - kThetaStep) - detail::PutValue(S, K, r, sigma, T);
    platform::FenceResults(th);
    RaisePendingFault();
    theta = th;

    const double v = density * S * t.sT;
    platform::FenceResults(v);
    RaisePendingFault();
    vega = v;

    const double discount = platform::Exp(-r * T);
    const double rh = call ? K * T * discount * detail::Cnd(t.d2) : -K * T * discount * detail::Cnd(-t.d2);
    platform::FenceResults(rh);
    RaisePendingFault();
    rho = rh;
}

struct Results {
    double delta;
    double gamma;
    double theta;
    double vega;
    double rho;
};

// The same numbers with the terms shared by the Greeks and the two values of
// theta computed once. It declines (false) wherever a term would report or
// a Cnd would meet a NaN, so that only plain arithmetic faults can remain.
bool Shared(bool call, double S, double K, double r, double sigma, double T, Results &out)
{
    detail::Fixed now, before;
    if (!detail::QuietTerms(S, K, r, T, now) || !detail::QuietTerms(S, K, r, T - kThetaStep, before))
        return false;
    const detail::D1D2 t = detail::Terms(now, sigma);
    const detail::D1D2 tb = detail::Terms(before, sigma);
    if (std::isnan(t.d1) || std::isnan(t.d2) || std::isnan(tb.d1) || std::isnan(tb.d2))
        return false;
    const double n1 = detail::Cnd(call ? t.d1 : -t.d1);
    const double n2 = detail::Cnd(call ? t.d2 : -t.d2);
    const double density = detail::Density(t.d1);
    const double valueNow = call ? S * n1 - now.discounted * n2 : now.discounted * n2 - S * n1;
    const double valueBefore = call ? S * detail::Cnd(tb.d1) - before.discounted * detail::Cnd(tb.d2)
                                    : before.discounted * detail::Cnd(-tb.d2) - S * detail::Cnd(-tb.d1);
    out.delta = call ? n1 : -n1;
    out.gamma = density / (S * sigma * t.sT);
    out.theta = valueBefore - valueNow;
    out.vega = density * S * t.sT;
    out.rho = call ? K * T * now.discount * n2 : -K * T * now.discount * n2;
    return true;
}

void Greeks(bool call, double S, double K, double r, double sigma, double T,
            double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    platform::FenceResults(S);
    if (platform::PendingFaults() == 0) {
        Results out{};
        const bool shared = Shared(call, S, K, r, sigma, T, out);
        platform::FenceResults(out.delta, out.gamma, out.theta, out.vega, out.rho);
        if (shared && platform::PendingFaults() == 0) {
            delta = out.delta;
            gamma = out.gamma;
            theta = out.theta;
            vega = out.vega;
            rho = out.rho;
            return;
        }
        // The step-by-step path meets the same faults again, each at its place.
        ClearStaleFaults();
    }
    StepByStep(call, S, K, r, sigma, T, delta, gamma, theta, vega, rho);
}

template <typename Compute>
double Checked(Compute compute)
{
    ClearStaleFaults();
    const double value = compute();
    platform::FenceResults(value);
    RaisePendingFault();
    return value;
}

} // namespace

double NormalDensity(double x)
{
    return Checked([&] {
        platform::FenceInputs(x);
        return detail::Density(x);
    });
}

double CumNormal(double x)
{
    return Checked([&] {
        platform::FenceInputs(x);
        return detail::Cnd(x);
    });
}

double CallPrice(double S, double K, double r, double sigma, double T)
{
    return Checked([&] {
        platform::FenceInputs(S, K, r, sigma, T);
        return detail::CallValue(S, K, r, sigma, T);
    });
}

double PutPrice(double S, double K, double r, double sigma, double T)
{
    return Checked([&] {
        platform::FenceInputs(S, K, r, sigma, T);
        return detail::PutValue(S, K, r, sigma, T);
    });
}

double CallPriceDiv(double S, double K, double r, double sigma, double T, double D)
{
    return Checked([&] {
        platform::FenceInputs(S, K, r, sigma, T, D);
        return detail::CallValue(detail::Adjusted(S, r, T, D), K, r, sigma, T);
    });
}

double PutPriceDiv(double S, double K, double r, double sigma, double T, double D)
{
    return Checked([&] {
        platform::FenceInputs(S, K, r, sigma, T, D);
        return detail::PutValue(detail::Adjusted(S, r, T, D), K, r, sigma, T);
    });
}

void CallGreeks(double S, double K, double r, double sigma, double T,
                double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    platform::FenceInputs(S, K, r, sigma, T);
    Greeks(true, S, K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void PutGreeks(double S, double K, double r, double sigma, double T,
               double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    platform::FenceInputs(S, K, r, sigma, T);
    Greeks(false, S, K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void CallGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                   double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    platform::FenceInputs(S, K, r, sigma, T, D);
    Greeks(true, detail::Adjusted(S, r, T, D), K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void PutGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                  double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    platform::FenceInputs(S, K, r, sigma, T, D);
    Greeks(false, detail::Adjusted(S, r, T, D), K, r, sigma, T, delta, gamma, theta, vega, rho);
}

double MaxOf(double a, double b)
{
    platform::RequireOrdered(a);
    platform::RequireOrdered(b);
    return a > b ? a : b;
}

double MinOf(double a, double b)
{
    platform::RequireOrdered(a);
    platform::RequireOrdered(b);
    return a > b ? b : a;
}

} // namespace pricing
