#include "payoff_leg.h"

#include <algorithm>
#include <cmath>

namespace calculator {

int CompareLegs(const TPayoffLeg &a, const TPayoffLeg &b)
{
    if (std::abs(a.Strike - b.Strike) <= std::min(std::abs(a.Strike), std::abs(b.Strike)) * 1e-12)
        return 0;
    return a.Strike < b.Strike ? -1 : 1;
}

double LegProfit(const TPayoffLeg &leg, double x)
{
    const double intrinsic = leg.IsCall ? std::max(0.0, x - leg.Strike) : std::max(0.0, leg.Strike - x);
    const double sign = leg.IsLong ? 1 : -1;
    return sign * intrinsic - sign * leg.Premium;
}

} // namespace calculator
