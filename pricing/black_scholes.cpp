#include "black_scholes.h"

#include "valuation.h"

namespace pricing {

using platform::ClearStaleFaults;
using platform::RaisePendingFault;

namespace {

// The value one step of 0.00277 years closer to expiration, less the value now.
constexpr double kThetaStep = 0.00277;

// Writes each Greek only once the faults up to it are known: a fault in gamma
// leaves delta written and the rest untouched.
void Greeks(bool call, double S, double K, double r, double sigma, double T,
            double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    const detail::D1D2 t = detail::Terms(S, K, r, sigma, T);
    const double d = call ? detail::Cnd(t.d1) : -detail::Cnd(-t.d1);
    RaisePendingFault();
    delta = d;

    const double density = detail::Density(t.d1);
    const double g = density / (S * sigma * t.sT);
    RaisePendingFault();
    gamma = g;

    const double th = call ? detail::CallValue(S, K, r, sigma, T - kThetaStep) - detail::CallValue(S, K, r, sigma, T)
                           : detail::PutValue(S, K, r, sigma, T - kThetaStep) - detail::PutValue(S, K, r, sigma, T);
    RaisePendingFault();
    theta = th;

    const double v = density * S * t.sT;
    RaisePendingFault();
    vega = v;

    const double discount = platform::Exp(-r * T);
    const double rh = call ? K * T * discount * detail::Cnd(t.d2) : -K * T * discount * detail::Cnd(-t.d2);
    RaisePendingFault();
    rho = rh;
}

template <typename Compute>
double Checked(Compute compute)
{
    ClearStaleFaults();
    const double value = compute();
    RaisePendingFault();
    return value;
}

} // namespace

double NormalDensity(double x)
{
    return Checked([&] { return detail::Density(x); });
}

double CumNormal(double x)
{
    return Checked([&] { return detail::Cnd(x); });
}

double CallPrice(double S, double K, double r, double sigma, double T)
{
    return Checked([&] { return detail::CallValue(S, K, r, sigma, T); });
}

double PutPrice(double S, double K, double r, double sigma, double T)
{
    return Checked([&] { return detail::PutValue(S, K, r, sigma, T); });
}

double CallPriceDiv(double S, double K, double r, double sigma, double T, double D)
{
    return Checked([&] { return detail::CallValue(detail::Adjusted(S, r, T, D), K, r, sigma, T); });
}

double PutPriceDiv(double S, double K, double r, double sigma, double T, double D)
{
    return Checked([&] { return detail::PutValue(detail::Adjusted(S, r, T, D), K, r, sigma, T); });
}

void CallGreeks(double S, double K, double r, double sigma, double T,
                double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    Greeks(true, S, K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void PutGreeks(double S, double K, double r, double sigma, double T,
               double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    Greeks(false, S, K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void CallGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                   double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
    Greeks(true, detail::Adjusted(S, r, T, D), K, r, sigma, T, delta, gamma, theta, vega, rho);
}

void PutGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                  double &delta, double &gamma, double &theta, double &vega, double &rho)
{
    ClearStaleFaults();
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
