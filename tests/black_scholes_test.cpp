#include "pricing/black_scholes.h"

#include "platform/checked_math.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace pricing;

class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetMathErrorReporter([this](const std::string &m) { reports.push_back(m); });
    }
    void TearDown() override { platform::SetMathErrorReporter({}); }

    std::vector<std::string> reports;
};

TEST(CumNormal, CutOffsAndPolynomial)
{
    struct Case {
        double x;
        double expected;
        double tolerance;
    };
    const Case cases[] = {
        {6.0000001, 1.0, 0.0},         {-6.0000001, 0.0, 0.0},        {1e300, 1.0, 0.0},
        {-INFINITY, 0.0, 0.0},         {6.0, 0.9999999990, 1e-10},    {-6.0, 9.90e-10, 1e-12},
        {0.0, 0.4999999760, 1e-10},    {1.0, 0.8413447, 1e-7},        {-1.96, 0.0249979, 1e-7},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(CumNormal(c.x), c.expected, c.tolerance) << "x = " << c.x;
}

TEST(CumNormal, UsesTheRoundedDensityFactorInItsNestedOrder)
{
    const double p = 0.31938153 + (-0.356563782 + (1.781477937 + (-1.821255978 + 1.330274429)));
    EXPECT_EQ(CumNormal(0.0), 1.0 - 0.3989423 * p);
}

TEST(CumNormal, IsSymmetricToTheBit)
{
    for (double x = -6.5; x <= 6.5; x += 0.37)
        EXPECT_EQ(CumNormal(-x), 1.0 - CumNormal(x)) << "x = " << x;
}

TEST(NormalDensity, FactorFormedFromTwoPi)
{
    EXPECT_EQ(NormalDensity(0.0), 0.3989422804014327);
    EXPECT_EQ(NormalDensity(0.0), 1.0 / std::sqrt(6.283185307179586));
    EXPECT_EQ(NormalDensity(40.0), 0.0);
}

TEST(MaxMin, ReturnTheLargerAndTheSmaller)
{
    EXPECT_EQ(MaxOf(1, 2), 2);
    EXPECT_EQ(MaxOf(2, 1), 2);
    EXPECT_EQ(MinOf(1, 2), 1);
    EXPECT_EQ(MinOf(2, 1), 1);
    EXPECT_THROW(MaxOf(NAN, 1), platform::EInvalidOp);
    EXPECT_THROW(MinOf(1, NAN), platform::EInvalidOp);
}

struct Greeks {
    double delta = -999, gamma = -999, theta = -999, vega = -999, rho = -999;
};

Greeks CallG(double S, double K, double r, double s, double T)
{
    Greeks g;
    CallGreeks(S, K, r, s, T, g.delta, g.gamma, g.theta, g.vega, g.rho);
    return g;
}

Greeks PutG(double S, double K, double r, double s, double T)
{
    Greeks g;
    PutGreeks(S, K, r, s, T, g.delta, g.gamma, g.theta, g.vega, g.rho);
    return g;
}

TEST(Values, AtTheMoneyFigures)
{
    struct Case {
        const char *name;
        double got;
        double expected;
    };
    const Case cases[] = {
        {"call", CallPrice(100, 100, 0.05, 0.2, 1), 10.450576},
        {"put", PutPrice(100, 100, 0.05, 0.2, 1), 5.573518},
        {"call D=2", CallPriceDiv(100, 100, 0.05, 0.2, 1, 2), 9.244672},
        {"put D=2", PutPriceDiv(100, 100, 0.05, 0.2, 1, 2), 6.318235},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(c.got, c.expected, 5e-7) << c.name;
}

TEST(Greeks, AtTheMoneyFigures)
{
    const Greeks c = CallG(100, 100, 0.05, 0.2, 1);
    const Greeks p = PutG(100, 100, 0.05, 0.2, 1);
    struct Case {
        const char *name;
        double got;
        double expected;
    };
    const Case cases[] = {
        {"call delta", c.delta, 0.636831}, {"call gamma", c.gamma, 0.018762}, {"call theta", c.theta, -0.017775},
        {"call vega", c.vega, 37.524035},  {"call rho", c.rho, 53.232481},    {"put delta", p.delta, -0.363169},
        {"put gamma", p.gamma, 0.018762},  {"put theta", p.theta, -0.004600}, {"put vega", p.vega, 37.524035},
        {"put rho", p.rho, -41.890461},
    };
    for (const Case &k : cases)
        EXPECT_NEAR(k.got, k.expected, 5e-7) << k.name;
    EXPECT_EQ(c.gamma, p.gamma);
    EXPECT_EQ(c.vega, p.vega);
}

TEST(Greeks, ThetaIsTheDifferenceOverTheFixedStep)
{
    const double S = 95, K = 100, r = 0.03, s = 0.3, T = 0.25;
    EXPECT_EQ(CallG(S, K, r, s, T).theta, CallPrice(S, K, r, s, T - 0.00277) - CallPrice(S, K, r, s, T));
    EXPECT_EQ(PutG(S, K, r, s, T).theta, PutPrice(S, K, r, s, T - 0.00277) - PutPrice(S, K, r, s, T));
}

TEST(Greeks, OneDayLifeStaysInsideTheDomain)
{
    const Greeks g = CallG(100, 100, 0.03, 0.25, 1.0 / 360);
    EXPECT_TRUE(std::isfinite(g.theta));
    EXPECT_LT(g.theta, 0);
}

struct Inputs {
    double S, K, r, sigma, T;
};

const Inputs kTable[] = {
    {100, 100, 0.05, 0.2, 1},  {100, 90, 0.03, 0.25, 30.0 / 360}, {90, 100, 0.03, 0.25, 30.0 / 360},
    {50, 100, 0.0, 0.6, 2},    {200, 100, -0.01, 0.1, 0.5},       {100, 110, 0.08, 1.5, 5},
    {1e-3, 1e-3, 0.02, 0.3, 1}, {1e6, 9e5, 0.04, 0.05, 10},
};

TEST(Values, PutCallParity)
{
    for (const Inputs &in : kTable) {
        const double lhs = CallPrice(in.S, in.K, in.r, in.sigma, in.T) - PutPrice(in.S, in.K, in.r, in.sigma, in.T);
        const double rhs = in.S - in.K * std::exp(-in.r * in.T);
        EXPECT_NEAR(lhs, rhs, 1e-12 * (in.S + in.K))
            << "S=" << in.S << " K=" << in.K << " r=" << in.r << " sigma=" << in.sigma << " T=" << in.T;
    }
}

TEST(Dividend, ZeroDividendGivesThePlainResultsBitForBit)
{
    for (const Inputs &in : kTable) {
        const auto where = testing::Message() << "S=" << in.S << " K=" << in.K << " r=" << in.r
                                              << " sigma=" << in.sigma << " T=" << in.T;
        EXPECT_EQ(CallPriceDiv(in.S, in.K, in.r, in.sigma, in.T, 0), CallPrice(in.S, in.K, in.r, in.sigma, in.T))
            << where;
        EXPECT_EQ(PutPriceDiv(in.S, in.K, in.r, in.sigma, in.T, 0), PutPrice(in.S, in.K, in.r, in.sigma, in.T))
            << where;
        Greeks c, p;
        CallGreeksDiv(in.S, in.K, in.r, in.sigma, in.T, 0, c.delta, c.gamma, c.theta, c.vega, c.rho);
        PutGreeksDiv(in.S, in.K, in.r, in.sigma, in.T, 0, p.delta, p.gamma, p.theta, p.vega, p.rho);
        const Greeks c0 = CallG(in.S, in.K, in.r, in.sigma, in.T);
        const Greeks p0 = PutG(in.S, in.K, in.r, in.sigma, in.T);
        for (auto [got, want] : {std::pair{c.delta, c0.delta}, {c.gamma, c0.gamma}, {c.theta, c0.theta},
                                 {c.vega, c0.vega}, {c.rho, c0.rho}, {p.delta, p0.delta}, {p.gamma, p0.gamma},
                                 {p.theta, p0.theta}, {p.vega, p0.vega}, {p.rho, p0.rho}})
            EXPECT_EQ(got, want) << where;
    }
}

TEST(Dividend, TakenOffOnceAndUsedEverywhere)
{
    const double S = 100, D = 2, r = 0.05, T = 1;
    const double adjusted = S - D * std::exp((-r) * T * 0.5);
    EXPECT_EQ(CallPriceDiv(S, 100, r, 0.2, T, D), CallPrice(adjusted, 100, r, 0.2, T));
    Greeks g;
    PutGreeksDiv(S, 100, r, 0.2, T, D, g.delta, g.gamma, g.theta, g.vega, g.rho);
    const Greeks plain = PutG(adjusted, 100, r, 0.2, T);
    EXPECT_EQ(g.theta, plain.theta);
    EXPECT_EQ(g.gamma, plain.gamma);
}

TEST_F(EngineTest, NegativeAdjustedPriceReportsOnceThenFaultsBeforeAnyOutput)
{
    EXPECT_THROW(CallPriceDiv(100, 100, 0.05, 0.2, 1, 150), platform::EInvalidOp);
    EXPECT_EQ(reports, std::vector<std::string>{"log: DOMAIN error"});

    reports.clear();
    Greeks g;
    EXPECT_THROW(PutGreeksDiv(100, 100, 0.05, 0.2, 1, 150, g.delta, g.gamma, g.theta, g.vega, g.rho),
                 platform::EInvalidOp);
    EXPECT_EQ(reports, std::vector<std::string>{"log: DOMAIN error"});
    EXPECT_EQ(g.delta, -999);
    EXPECT_EQ(g.rho, -999);
}

TEST_F(EngineTest, ZeroAdjustedPriceWritesDeltaThenFaultsAtGamma)
{
    // With r = 0 the dividend is not discounted, so S - D is exactly 0.
    EXPECT_EQ(CallPriceDiv(100, 100, 0, 0.2, 1, 100), 0.0);
    EXPECT_EQ(PutPriceDiv(100, 100, 0, 0.2, 1, 100), 100.0);
    EXPECT_EQ(reports, (std::vector<std::string>{"log: SING error", "log: SING error"}));

    for (bool call : {true, false}) {
        reports.clear();
        Greeks g;
        const auto greeks = call ? CallGreeksDiv : PutGreeksDiv;
        EXPECT_THROW(greeks(100, 100, 0, 0.2, 1, 100, g.delta, g.gamma, g.theta, g.vega, g.rho), platform::EInvalidOp)
            << (call ? "call" : "put");
        EXPECT_EQ(reports, std::vector<std::string>{"log: SING error"});
        EXPECT_EQ(g.delta, call ? 0.0 : -1.0);
        EXPECT_EQ(g.gamma, -999);
        EXPECT_EQ(g.theta, -999);
    }
}

TEST_F(EngineTest, DegenerateDomainFaults)
{
    struct Case {
        const char *name;
        Inputs in;
        std::string message;
    };
    const Case cases[] = {
        {"sigma 0", {110, 100, 0.03, 0, 1}, "Floating point division by zero"},
        {"T 0", {110, 100, 0.03, 0.2, 0}, "Floating point division by zero"},
        {"K 0", {110, 0, 0.03, 0.2, 1}, "Floating point division by zero"},
        {"sigma 0, zero numerator", {100, 100, 0, 0, 1}, "Invalid floating point operation"},
        {"T 0, zero numerator", {100, 100, 0.03, 0.2, 0}, "Invalid floating point operation"},
    };
    for (const Case &c : cases) {
        for (auto value : {CallPrice, PutPrice}) {
            try {
                value(c.in.S, c.in.K, c.in.r, c.in.sigma, c.in.T);
                ADD_FAILURE() << c.name << ": no exception";
            } catch (const platform::Exception &e) {
                EXPECT_EQ(e.what(), c.message) << c.name;
            }
        }
        Greeks g;
        try {
            CallGreeks(c.in.S, c.in.K, c.in.r, c.in.sigma, c.in.T, g.delta, g.gamma, g.theta, g.vega, g.rho);
            ADD_FAILURE() << c.name << ": no exception from the Greeks";
        } catch (const platform::Exception &e) {
            EXPECT_EQ(e.what(), c.message) << c.name << " (Greeks)";
        }
        EXPECT_EQ(g.delta, -999) << c.name;
        EXPECT_TRUE(reports.empty()) << c.name;
    }
}

TEST_F(EngineTest, LargeNegativeRateOverflowsTheDiscount)
{
    EXPECT_THROW(CallPrice(100, 100, -800, 0.2, 1), platform::EInvalidOp);
    EXPECT_EQ(reports, std::vector<std::string>{"exp: OVERFLOW error"});

    reports.clear();
    EXPECT_THROW(PutPriceDiv(100, 100, -1500, 0.2, 1, 1), platform::EInvalidOp);
    EXPECT_EQ(reports.front(), "exp: OVERFLOW error");
}

TEST_F(EngineTest, FaultsLeftByOtherCodeAreNotBlamedOnTheEngine)
{
    volatile double zero = 0.0;
    volatile double junk = 1.0 / zero;
    (void)junk;
    EXPECT_NEAR(CallPrice(100, 100, 0.05, 0.2, 1), 10.450576, 5e-7);
}

} // namespace
