#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"
#include "pricing/implied_volatility.h"

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

namespace {

constexpr long double kPercentPerUnit = 100.0L;

} // namespace

void TMainForm::CalculateVolatility()
{
    if (!PositiveWhole(EditLife) || !PositiveReal(EditSecurityPrice) || !PositiveReal(EditStrike) ||
        !PositiveReal(EditOptPrice))
        return;

    const double S = ParameterOf(EditSecurityPrice);
    const double K = ParameterOf(EditStrike);
    const double T = ParameterOf(EditLife, kYearsPerDay);
    const double P = ParameterOf(EditOptPrice);
    const double r = ParameterOf(EditRate, kPercent);
    const double D = ParameterOf(EditDividend);
    const bool call = RadioButtonCall->isChecked();

    // The solver's failure value -1e40 makes the rounding raise "Invalid floating point operation".
    const double sigma =
        call ? pricing::CallImpliedVolDiv(S, K, r, T, P, D) : pricing::PutImpliedVolDiv(S, K, r, T, P, D);
    WriteText(EditVol, FormatReal(RoundToDigit(ScaledParameter(sigma, kPercentPerUnit), 0)));

    ShowGreeks(call, S, K, r, sigma, T, D);
}
