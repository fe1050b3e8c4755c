#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"
#include "platform/fp_faults.h"
#include "pricing/black_scholes.h"

#include <QLineEdit>
#include <QRadioButton>

using calculator::FormatReal;
using calculator::kPercent;
using calculator::kYearsPerDay;
using calculator::ParseReal;
using calculator::ParseWhole;
using calculator::RoundToDigit;
using calculator::ScaledParameter;
using calculator::TextOf;
using calculator::WriteText;

void TMainForm::CalculatePrice()
{
    if (ParseWhole(TextOf(EditLife)) <= 0)
        return;
    if (ParseReal(TextOf(EditSecurityPrice)) <= 0)
        return;
    if (ParseReal(TextOf(EditStrike)) <= 0)
        return;
    if (ParseReal(TextOf(EditVol)) <= 0)
        return;

    const double S = platform::StoreDouble(ParseReal(TextOf(EditSecurityPrice)));
    const double K = platform::StoreDouble(ParseReal(TextOf(EditStrike)));
    const double T = ScaledParameter(ParseReal(TextOf(EditLife)), kYearsPerDay);
    const double sigma = ScaledParameter(ParseReal(TextOf(EditVol)), kPercent);
    const double r = ScaledParameter(ParseReal(TextOf(EditRate)), kPercent);
    const double D = platform::StoreDouble(ParseReal(TextOf(EditDividend)));
    const bool call = RadioButtonCall->isChecked();

    const double value =
        call ? pricing::CallPriceDiv(S, K, r, sigma, T, D) : pricing::PutPriceDiv(S, K, r, sigma, T, D);
    WriteText(EditOptPrice, FormatReal(RoundToDigit(value, -4)));

    double delta = 0, gamma = 0, theta = 0, vega = 0, rho = 0;
    if (call)
        pricing::CallGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    else
        pricing::PutGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    WriteGreeks(delta, gamma, theta, vega);
}

// Vega is shown per percentage point of volatility.
void TMainForm::WriteGreeks(double delta, double gamma, double theta, double vega)
{
    WriteText(EditDelta, FormatReal(RoundToDigit(delta, -4)));
    WriteText(EditGamma, FormatReal(RoundToDigit(gamma, -4)));
    WriteText(EditTheta, FormatReal(RoundToDigit(theta, -4)));
    WriteText(EditVega, FormatReal(RoundToDigit(ScaledParameter(vega, kPercent), -4)));
}
