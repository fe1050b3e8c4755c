#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"
#include "pricing/black_scholes.h"

#include <QLineEdit>
#include <QRadioButton>

using calculator::FormatReal;
using calculator::kPercent;
using calculator::kYearsPerDay;
using calculator::ParameterOf;
using calculator::PositiveReal;
using calculator::PositiveWhole;
using calculator::RoundToDigit;
using calculator::ScaledParameter;
using calculator::WriteText;

void TMainForm::CalculatePrice()
{
    if (!PositiveWhole(EditLife) || !PositiveReal(EditSecurityPrice) || !PositiveReal(EditStrike) ||
        !PositiveReal(EditVol))
        return;

    const double S = ParameterOf(EditSecurityPrice);
    const double K = ParameterOf(EditStrike);
    const double T = ParameterOf(EditLife, kYearsPerDay);
    const double sigma = ParameterOf(EditVol, kPercent);
    const double r = ParameterOf(EditRate, kPercent);
    const double D = ParameterOf(EditDividend);
    const bool call = RadioButtonCall->isChecked();

    const double value =
        call ? pricing::CallPriceDiv(S, K, r, sigma, T, D) : pricing::PutPriceDiv(S, K, r, sigma, T, D);
    WriteText(EditOptPrice, FormatReal(RoundToDigit(value, -4)));

    ShowGreeks(call, S, K, r, sigma, T, D);
}

// Both modes show the Greeks of the same six parameters; vega per percentage
// point of volatility, rho not at all.
void TMainForm::ShowGreeks(bool call, double S, double K, double r, double sigma, double T, double D)
{
    double delta = 0, gamma = 0, theta = 0, vega = 0, rho = 0;
    if (call)
        pricing::CallGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    else
        pricing::PutGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    WriteText(EditDelta, FormatReal(RoundToDigit(delta, -4)));
    WriteText(EditGamma, FormatReal(RoundToDigit(gamma, -4)));
    WriteText(EditTheta, FormatReal(RoundToDigit(theta, -4)));
    WriteText(EditVega, FormatReal(RoundToDigit(ScaledParameter(vega, kPercent), -4)));
}
