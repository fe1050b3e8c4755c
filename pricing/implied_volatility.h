#pragma once

// Implied volatility of European options, as a fraction per year, in the units
// of black_scholes.h. Two results are reports rather than volatilities:
// kVolFloor when the price is at or below the value at that volatility or below
// the undiscounted intrinsic value, kVolFailed when no volatility up to 1e10
// reaches the price or the bisection does not settle.
namespace pricing {

inline constexpr double kVolFloor = 0.0001;
inline constexpr double kVolFailed = -1e40;

double CallImpliedVol(double S, double K, double r, double T, double price);
double PutImpliedVol(double S, double K, double r, double T, double price);
double CallImpliedVolDiv(double S, double K, double r, double T, double price, double D);
double PutImpliedVolDiv(double S, double K, double r, double T, double price, double D);

} // namespace pricing
