#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include "platform/checked_math.h"
#include "platform/exceptions.h"
#include "platform/fp_faults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The engine shares terms between steps for speed. Here the formulas are
// evaluated once more the plain way, each term afresh, as the oracle: every
// result must agree to the bit, and every fault and report must be the same.
namespace {

using platform::Exp;
using platform::Log;
using platform::RaisePendingFault;
using platform::Sqrt;

namespace oracle {

double Cnd(double x)
{
    platform::RequireOrdered(x);
    if (x > 6.0)
        return 1.0;
    if (x < -6.0)
        return 0.0;
    const double t = 1.0 / (1.0 + 0.2316419 * std::fabs(x));
    const double z = 0.3989423 * Exp((-x) * (0.5 * x));
    const double p =
        t * (0.31938153 + t * (-0.356563782 + t * (1.781477937 + t * (-1.821255978 + t * 1.330274429))));
    const double e = 1.0 - z * p;
    return x >= 0.0 ? e : 1.0 - e;
}

struct D1D2 {
    double sT, d1, d2;
};

// The fences state the order of evaluation, which the compiler may otherwise
// change between a report and an unrelated fault.
D1D2 Terms(double S, double K, double r, double sigma, double T)
{
    const double sT = Sqrt(T);
    platform::FenceResults(sT);
    platform::FenceInputs(S, K);
    const double lnSK = Log(S / K);
    platform::FenceResults(lnSK);
    platform::FenceInputs(r, T, sigma);
    const double d1 = (lnSK + r * T) / (sigma * sT) + 0.5 * sigma * sT;
    return {sT, d1, d1 - sigma * sT};
}

double Value(bool call, double S, double K, double r, double sigma, double T)
{
    const auto [sT, d1, d2] = Terms(S, K, r, sigma, T);
    if (call) {
        const double n1 = Cnd(d1);
        platform::FenceResults(n1);
        platform::FenceInputs(r, T);
        const double e = Exp(-r * T);
        const double n2 = Cnd(d2);
        return S * n1 - K * e * n2;
    }
    const double e = Exp(-r * T);
    const double n2 = Cnd(-d2);
    const double n1 = Cnd(-d1);
    return K * e * n2 - S * n1;
}

double Adjusted(double S, double r, double T, double D)
{
    return S - D * Exp((-r) * T * 0.5);
}

void Greeks(bool call, double S, double K, double r, double sigma, double T, double *out)
{
    const auto [sT, d1, d2] = Terms(S, K, r, sigma, T);
    const double delta = call ? Cnd(d1) : -Cnd(-d1);
    platform::FenceResults(delta);
    RaisePendingFault();
    out[0] = delta;
    const double n = (1.0 / Sqrt(6.283185307179586)) * Exp((-0.5 * d1) * d1);
    const double gamma = n / (S * sigma * sT);
    platform::FenceResults(gamma);
    RaisePendingFault();
    out[1] = gamma;
    const double theta = Value(call, S, K, r, sigma, T - 0.00277) - Value(call, S, K, r, sigma, T);
    platform::FenceResults(theta);
    RaisePendingFault();
    out[2] = theta;
    const double vega = n * S * sT;
    platform::FenceResults(vega);
    RaisePendingFault();
    out[3] = vega;
    const double e = Exp(-r * T);
    const double rho = call ? K * T * e * Cnd(d2) : -K * T * e * Cnd(-d2);
    platform::FenceResults(rho);
    RaisePendingFault();
    out[4] = rho;
}

double Solve(bool call, double S, double K, double r, double T, double price)
{
    if (call ? K + price < S : S + price < K)
        return 0.0001;
    if (Value(call, S, K, r, 0.0001, T) >= price)
        return 0.0001;
    double hi = 0.3;
    double v = Value(call, S, K, r, hi, T);
    while (v < price) {
        hi = 2 * hi;
        v = Value(call, S, K, r, hi, T);
        if (hi > 1e10)
            return -1e40;
    }
    double lo = 0.0001;
    for (int i = 0; i < 100; ++i) {
        const double mid = (lo + hi) * 0.5;
        const double diff = Value(call, S, K, r, mid, T) - price;
        if (std::fabs(diff) < 0.00001)
            return mid;
        if (diff >= 0)
            hi = mid;
        else
            lo = mid;
    }
    return -1e40;
}

} // namespace oracle

// Everything one evaluation shows: the numbers it wrote, the reports in
// order, and the message of the exception that ended it.
struct Outcome {
    std::vector<std::uint64_t> bits;
    std::vector<std::string> reports;
    std::string error = "none";

    bool operator==(const Outcome &) const = default;
};

std::vector<std::string> *currentReports = nullptr;

std::uint64_t Bits(double x)
{
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

// A result as a trapping machine would return it: not at all after a fault.
double Returned(double value)
{
    platform::FenceResults(value);
    RaisePendingFault();
    return value;
}

Outcome Observe(const std::function<void(std::vector<double> &)> &run)
{
    Outcome o;
    currentReports = &o.reports;
    std::vector<double> written;
    platform::ClearStaleFaults();
    try {
        run(written);
        platform::RaisePendingFault();
    } catch (const platform::Exception &e) {
        o.error = e.what();
    }
    for (double w : written)
        o.bits.push_back(Bits(w));
    return o;
}

std::string Describe(const Outcome &o)
{
    std::ostringstream s;
    s << "error '" << o.error << "', " << o.reports.size() << " reports, bits";
    for (auto b : o.bits)
        s << ' ' << std::hex << b;
    return s.str();
}

struct Inputs {
    double S, K, r, sigma, T, D, price;
};

std::string Describe(const Inputs &in)
{
    std::ostringstream s;
    s.precision(17);
    s << "S=" << in.S << " K=" << in.K << " r=" << in.r << " sigma=" << in.sigma << " T=" << in.T << " D=" << in.D
      << " price=" << in.price;
    return s.str();
}

std::vector<Inputs> Table(std::size_t count)
{
    std::mt19937_64 rng(20261211);
    const auto logUniform = [&](double lo, double hi) {
        return std::exp(std::uniform_real_distribution<double>(std::log(lo), std::log(hi))(rng));
    };
    const auto pick = [&](std::initializer_list<double> values) {
        return values.begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(rng)];
    };
    const auto edgeOr = [&](double random, std::initializer_list<double> edges) {
        return std::uniform_int_distribution<int>(0, 9)(rng) == 0 ? pick(edges) : random;
    };
    std::vector<Inputs> table;
    for (std::size_t i = 0; i < count; ++i) {
        Inputs in;
        in.S = edgeOr(logUniform(1e-3, 1e6), {0.0, -5.0, 100.0, 1e300});
        in.K = edgeOr(logUniform(1e-3, 1e6), {0.0, 100.0, in.S});
        in.r = edgeOr(std::uniform_real_distribution<double>(-0.5, 0.5)(rng), {0.0, -800.0, -1500.0, 1e3});
        in.sigma = edgeOr(logUniform(1e-4, 5), {0.0, 0.0001, 1e10});
        in.T = edgeOr(logUniform(1.0 / 360, 10), {0.0, 1.0 / 360, 0.00277, 0.001, -1.0});
        in.D = edgeOr(std::uniform_int_distribution<int>(0, 1)(rng) ? 0.0 : logUniform(1e-3, 1.5 * std::fabs(in.S) + 1),
                      {0.0, in.S, 2 * in.S});
        const double value = std::fabs(std::sin(static_cast<double>(i))) * (in.S + in.K);
        in.price = edgeOr(value, {0.0, 1e-6, in.S, in.K, -1.0});
        table.push_back(in);
    }
    return table;
}

class FastPathTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::SetMathErrorReporter([](const std::string &m) { currentReports->push_back(m); });
    }
    void TearDown() override { platform::SetMathErrorReporter({}); }
};

TEST_F(FastPathTest, ValuesAndGreeksAgreeWithThePlainEvaluation)
{
    for (const Inputs &in : Table(20000)) {
        for (bool call : {true, false}) {
            const auto engine = Observe([&](std::vector<double> &w) {
                w.push_back((call ? pricing::CallPriceDiv : pricing::PutPriceDiv)(in.S, in.K, in.r, in.sigma, in.T,
                                                                                   in.D));
            });
            const auto plain = Observe([&](std::vector<double> &w) {
                const double S = oracle::Adjusted(in.S, in.r, in.T, in.D);
                w.push_back(Returned(oracle::Value(call, S, in.K, in.r, in.sigma, in.T)));
            });
            ASSERT_EQ(engine, plain) << (call ? "call " : "put ") << Describe(in) << "\n engine: " << Describe(engine)
                                     << "\n  plain: " << Describe(plain);

            double g[5] = {0, 0, 0, 0, 0};
            double o[5] = {0, 0, 0, 0, 0};
            const auto greeks = call ? pricing::CallGreeksDiv : pricing::PutGreeksDiv;
            const auto engineG = Observe([&](std::vector<double> &w) {
                try {
                    greeks(in.S, in.K, in.r, in.sigma, in.T, in.D, g[0], g[1], g[2], g[3], g[4]);
                } catch (...) {
                    w.assign(g, g + 5);
                    throw;
                }
                w.assign(g, g + 5);
            });
            const auto plainG = Observe([&](std::vector<double> &w) {
                try {
                    oracle::Greeks(call, oracle::Adjusted(in.S, in.r, in.T, in.D), in.K, in.r, in.sigma, in.T, o);
                } catch (...) {
                    w.assign(o, o + 5);
                    throw;
                }
                w.assign(o, o + 5);
            });
            ASSERT_EQ(engineG, plainG) << (call ? "call Greeks " : "put Greeks ") << Describe(in)
                                       << "\n engine: " << Describe(engineG) << "\n  plain: " << Describe(plainG);
        }
    }
}

// Prices the model reaches, near and far from the tolerance, so that most
// searches end at a root rather than at the floor or the failure value.
std::vector<Inputs> Reachable(std::size_t count)
{
    std::mt19937_64 rng(7);
    const auto logUniform = [&](double lo, double hi) {
        return std::exp(std::uniform_real_distribution<double>(std::log(lo), std::log(hi))(rng));
    };
    std::vector<Inputs> table;
    for (std::size_t i = 0; i < count; ++i) {
        Inputs in{};
        in.S = logUniform(1, 1e4);
        in.K = in.S * logUniform(0.5, 2);
        in.r = std::uniform_real_distribution<double>(-0.05, 0.15)(rng);
        in.sigma = logUniform(0.01, 3);
        in.T = logUniform(1.0 / 360, 5);
        in.D = i % 3 == 0 ? in.S * logUniform(1e-3, 0.05) : 0.0;
        const bool call = i % 2 == 0;
        const double S = oracle::Adjusted(in.S, in.r, in.T, in.D);
        in.price = oracle::Value(call, S, in.K, in.r, in.sigma, in.T) +
                   std::uniform_real_distribution<double>(-3e-5, 3e-5)(rng);
        table.push_back(in);
    }
    return table;
}

TEST_F(FastPathTest, SolverAgreesWithThePlainSearch)
{
    std::vector<Inputs> table = Table(5000);
    const std::vector<Inputs> reachable = Reachable(20000);
    table.insert(table.end(), reachable.begin(), reachable.end());
    for (const Inputs &in : table) {
        for (bool call : {true, false}) {
            const auto engine = Observe([&](std::vector<double> &w) {
                w.push_back((call ? pricing::CallImpliedVolDiv : pricing::PutImpliedVolDiv)(in.S, in.K, in.r, in.T,
                                                                                             in.price, in.D));
            });
            const auto plain = Observe([&](std::vector<double> &w) {
                w.push_back(Returned(
                    oracle::Solve(call, oracle::Adjusted(in.S, in.r, in.T, in.D), in.K, in.r, in.T, in.price)));
            });
            ASSERT_EQ(engine, plain) << (call ? "call " : "put ") << Describe(in) << "\n engine: " << Describe(engine)
                                     << "\n  plain: " << Describe(plain);
        }
    }
}

} // namespace
