#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"
#include "platform/fp_faults.h"
#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

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

namespace {

constexpr long double kPercentPerUnit = 100.0L;

} // namespace

void TMainForm::CalculateVolatility()
{
    if (ParseWhole(TextOf(EditLife)) <= 0)
        return;
    if (ParseReal(TextOf(EditSecurityPrice)) <= 0)
        return;
    if (ParseReal(TextOf(EditStrike)) <= 0)
        return;
    if (ParseReal(TextOf(EditOptPrice)) <= 0)
        return;

    const double S = platform::StoreDouble(ParseReal(TextOf(EditSecurityPrice)));
    const double K = platform::StoreDouble(ParseReal(TextOf(EditStrike)));
    const double T = ScaledParameter(ParseReal(TextOf(EditLife)), kYearsPerDay);
    const double P = platform::StoreDouble(ParseReal(TextOf(EditOptPrice)));
    const double r = ScaledParameter(ParseReal(TextOf(EditRate)), kPercent);
    const double D = platform::StoreDouble(ParseReal(TextOf(EditDividend)));
    const bool call = RadioButtonCall->isChecked();

    // The solver's failure value -1e40 makes the rounding raise "Invalid floating point operation".
    const double sigma =
        call ? pricing::CallImpliedVolDiv(S, K, r, T, P, D) : pricing::PutImpliedVolDiv(S, K, r, T, P, D);
    WriteText(EditVol, FormatReal(RoundToDigit(ScaledParameter(sigma, kPercentPerUnit), 0)));

    double delta = 0, gamma = 0, theta = 0, vega = 0, rho = 0;
    if (call)
        pricing::CallGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    else
        pricing::PutGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
    WriteGreeks(delta, gamma, theta, vega);
}
