#pragma once

namespace calculator {

// One option of a position, per share.
struct TPayoffLeg {
    double Strike = 0;   // currency
    double Premium = 0;  // currency, paid when bought, received when sold
    bool IsLong = true;  // bought (+1) or sold (-1)
    bool IsCall = true;
};

// -1, 0 or +1 by strike; strikes within a relative 1e-12 of each other are equal.
int CompareLegs(const TPayoffLeg &a, const TPayoffLeg &b);

// The leg's profit or loss per share at expiration with the security at x.
double LegProfit(const TPayoffLeg &leg, double x);

} // namespace calculator
