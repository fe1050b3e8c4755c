#include "pricing/implied_volatility.h"

#include "platform/checked_math.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pricing;

class SolverTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetMathErrorReporter([this](const std::string &m) { reports.push_back(m); });
    }
    void TearDown() override { platform::SetMathErrorReporter({}); }

    std::vector<std::string> reports;
};

struct Case {
    const char *name;
    bool call;
    double S, K, r, T, price;
    double expected;
    double tolerance;
};

TEST_F(SolverTest, Results)
{
    const Case cases[] = {
        {"call found at the 17th midpoint", true, 100, 100, 0.05, 1, 10.4506, 0.2000005379, 1e-10},
        {"put found at the 18th midpoint", false, 100, 100, 0.05, 1, 5.5735, 0.1999993938, 1e-10},
        {"call below S - K", true, 120, 100, 0.03, 30.0 / 360, 19, kVolFloor, 0},
        {"put below K - S", false, 80, 100, 0.03, 30.0 / 360, 19, kVolFloor, 0},
        {"call below the value at the floor", true, 100, 90, 0.05, 1, 14, kVolFloor, 0},
        {"call above S", true, 100, 100, 0.05, 1, 100.5, kVolFailed, 0},
        {"put above the discounted strike", false, 100, 100, 0.05, 1, 95.2, kVolFailed, 0},
    };
    for (const Case &c : cases) {
        const double got = c.call ? CallImpliedVol(c.S, c.K, c.r, c.T, c.price)
                                  : PutImpliedVol(c.S, c.K, c.r, c.T, c.price);
        EXPECT_NEAR(got, c.expected, c.tolerance) << c.name << ": S=" << c.S << " K=" << c.K << " r=" << c.r
                                                  << " T=" << c.T << " price=" << c.price;
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(SolverTest, IntrinsicTestComputesNoValue)
{
    // A negative life would report from the square root in any value computed.
    EXPECT_EQ(CallImpliedVol(120, 100, 0.03, -1, 19), kVolFloor);
    EXPECT_EQ(PutImpliedVol(80, 100, 0.03, -1, 19), kVolFloor);
    EXPECT_TRUE(reports.empty());
}

TEST_F(SolverTest, DividendFormsSolveOnTheAdjustedPrice)
{
    EXPECT_EQ(CallImpliedVolDiv(100, 100, 0.05, 1, 10.4506, 0), CallImpliedVol(100, 100, 0.05, 1, 10.4506));
    EXPECT_EQ(PutImpliedVolDiv(100, 100, 0.05, 1, 6.3182, 2), PutImpliedVol(100 - 2 * std::exp(-0.05 * 1 * 0.5), 100,
                                                                            0.05, 1, 6.3182));
    EXPECT_NEAR(CallImpliedVolDiv(100, 100, 0.05, 1, 9.244672, 2), 0.2, 1e-5);
}

TEST_F(SolverTest, ZeroAdjustedCallGivesUpAfterThirtySevenValues)
{
    EXPECT_EQ(CallImpliedVolDiv(100, 100, 0, 1, 5, 100), kVolFailed);
    EXPECT_EQ(reports, std::vector<std::string>(37, "log: SING error"));
}

TEST_F(SolverTest, NegativeAdjustedPriceFaultsAtTheFirstValue)
{
    EXPECT_THROW(CallImpliedVolDiv(100, 100, 0.05, 1, 5, 150), platform::EInvalidOp);
    EXPECT_EQ(reports, std::vector<std::string>{"log: DOMAIN error"});

    reports.clear();
    // A put priced above K - S' never reaches a value.
    EXPECT_EQ(PutImpliedVolDiv(100, 100, 0.05, 1, 5, 150), kVolFloor);
    EXPECT_TRUE(reports.empty());
}

} // namespace
