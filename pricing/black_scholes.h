#pragma once

// Black-Scholes values and Greeks of European options.
// Units: S security price and K strike in currency, r continuously compounded
// rate as a fraction per year, sigma volatility as a fraction per year, T time
// to expiration in years, D a cash dividend in currency taken off S as
// S - D e^(-r T / 2). Nothing is validated: outside the domain the functions
// run on and fault as the floating-point convention of platform/ says.
namespace pricing {

// Standard normal density, 1/sqrt(2 pi) e^(-x^2/2).
double NormalDensity(double x);

// Standard normal distribution by the five-term polynomial of Abramowitz and
// Stegun 26.2.17; exactly 1 above 6 and exactly 0 below -6.
double CumNormal(double x);

// Call value in currency.
double CallPrice(double S, double K, double r, double sigma, double T);

// Put value in currency.
double PutPrice(double S, double K, double r, double sigma, double T);

// Call value in currency with the cash dividend D taken off S.
double CallPriceDiv(double S, double K, double r, double sigma, double T, double D);

// Put value in currency with the cash dividend D taken off S.
double PutPriceDiv(double S, double K, double r, double sigma, double T, double D);

// Greeks of a call: delta and gamma per currency unit of S, theta as the change
// of value when T shrinks by 0.00277 years, vega per unit of sigma, rho per unit of r.
void CallGreeks(double S, double K, double r, double sigma, double T,
                double &delta, double &gamma, double &theta, double &vega, double &rho);

// Greeks of a put, in the units of CallGreeks.
void PutGreeks(double S, double K, double r, double sigma, double T,
               double &delta, double &gamma, double &theta, double &vega, double &rho);

// Greeks of a call, in the units of CallGreeks, with the cash dividend D taken off S.
void CallGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                   double &delta, double &gamma, double &theta, double &vega, double &rho);

// Greeks of a put, in the units of CallGreeks, with the cash dividend D taken off S.
void PutGreeksDiv(double S, double K, double r, double sigma, double T, double D,
                  double &delta, double &gamma, double &theta, double &vega, double &rho);

// a when a > b, otherwise b.
double MaxOf(double a, double b);

// b when a > b, otherwise a.
double MinOf(double a, double b);

} // namespace pricing
