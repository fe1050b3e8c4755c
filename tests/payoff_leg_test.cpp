#include "calculator/payoff_leg.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using calculator::CompareLegs;
using calculator::LegProfit;
using calculator::TPayoffLeg;

TPayoffLeg WithStrike(double strike)
{
    TPayoffLeg leg;
    leg.Strike = strike;
    return leg;
}

struct CompareCase {
    double a;
    double b;
    int expected;
};

std::ostream &operator<<(std::ostream &os, const CompareCase &c)
{
    os.precision(17);
    return os << "CompareLegs(" << c.a << ", " << c.b << ") expected " << c.expected;
}

class CompareLegsTest : public testing::TestWithParam<CompareCase> {};

TEST_P(CompareLegsTest, OrdersByStrikeWithRelativeTolerance)
{
    const CompareCase &c = GetParam();
    EXPECT_EQ(CompareLegs(WithStrike(c.a), WithStrike(c.b)), c.expected) << c;
    EXPECT_EQ(CompareLegs(WithStrike(c.b), WithStrike(c.a)), -c.expected) << "swapped: " << c;
}

INSTANTIATE_TEST_SUITE_P(
    Strikes, CompareLegsTest,
    testing::Values(CompareCase{100, 150, -1}, CompareCase{100, 100, 0}, CompareCase{0, 0, 0}, CompareCase{-5, 5, -1},
                    CompareCase{-150, -100, -1},
                    // A relative 1e-12 of the smaller magnitude is still equal; a little more is not.
                    CompareCase{100, 100 + 0.9e-10, 0}, CompareCase{100, 100 + 1.1e-10, -1},
                    CompareCase{-100, -100 - 0.9e-10, 0}, CompareCase{-100 - 1.1e-10, -100, -1},
                    CompareCase{1e300, 1e300 * (1 + 0.5e-12), 0}, CompareCase{1e300, 1e300 * (1 + 2e-12), -1},
                    // Against zero only zero itself is equal: no absolute tolerance.
                    CompareCase{0, 1e-300, -1}, CompareCase{-1e-300, 0, -1}));

struct ProfitCase {
    bool is_call;
    bool is_long;
    double strike;
    double premium;
    double x;
    double expected;
};

std::ostream &operator<<(std::ostream &os, const ProfitCase &c)
{
    return os << (c.is_long ? "bought " : "sold ") << (c.is_call ? "call" : "put") << " K=" << c.strike
              << " premium=" << c.premium << " at x=" << c.x << " expected " << c.expected;
}

class LegProfitTest : public testing::TestWithParam<ProfitCase> {};

TEST_P(LegProfitTest, IntrinsicValueLessPremiumWithTheLegsSign)
{
    const ProfitCase &c = GetParam();
    TPayoffLeg leg;
    leg.Strike = c.strike;
    leg.Premium = c.premium;
    leg.IsLong = c.is_long;
    leg.IsCall = c.is_call;
    EXPECT_DOUBLE_EQ(LegProfit(leg, c.x), c.expected) << c;
}

INSTANTIATE_TEST_SUITE_P(
    Legs, LegProfitTest,
    testing::Values(ProfitCase{true, true, 100, 5, 50, -5}, ProfitCase{true, true, 100, 5, 100, -5},
                    ProfitCase{true, true, 100, 5, 150, 45}, ProfitCase{false, true, 100, 5, 150, -5},
                    ProfitCase{false, true, 100, 5, 100, -5}, ProfitCase{false, true, 100, 5, 50, 45},
                    ProfitCase{true, false, 150, 0, 100, 0}, ProfitCase{true, false, 150, 2, 160, -8},
                    ProfitCase{false, false, 50, 0, 100, 0}, ProfitCase{false, false, 50, 3, 40, -7},
                    ProfitCase{true, true, 0, 1, 0, -1}));

} // namespace
