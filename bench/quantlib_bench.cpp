#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include <ql/pricingengines/blackcalculator.hpp>
#include <ql/pricingengines/blackformula.hpp>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

// Our engine against QuantLib's Black formulas on the same work: each side
// starts from the calculator's inputs (S, K, r, sigma, T, D) and ends with the
// same numbers. Prints nanoseconds per call and the ratio ours / theirs.
namespace {

namespace ql = QuantLib;

struct Case {
    const char *name;
    double S, K, r, sigma, T, D;
};

const Case kCases[] = {
    {"ATM 30d", 100, 100, 0.03, 0.25, 30.0 / 360, 0},   {"ITM 30d", 110, 100, 0.03, 0.25, 30.0 / 360, 0},
    {"OTM 30d", 90, 100, 0.03, 0.25, 30.0 / 360, 0},    {"ATM 1y", 100, 100, 0.03, 0.25, 1, 0},
    {"ITM 1y", 110, 100, 0.03, 0.25, 1, 0},             {"OTM 1y", 90, 100, 0.03, 0.25, 1, 0},
    {"ATM 30d D=1", 100, 100, 0.03, 0.25, 30.0 / 360, 1},
};

struct Row {
    double ours;
    double theirs;
};

// Median time per call in nanoseconds over batches, ours and theirs taken in
// turn so that a change in the machine's load falls on both alike.
template <typename F, typename G>
Row Measure(F ours, G theirs)
{
    constexpr int kBatches = 21;
    constexpr int kCalls = 10000;
    const auto batch = [](auto &f) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kCalls; ++i)
            f();
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / kCalls;
    };
    std::vector<double> a, b;
    for (int i = 0; i < kBatches; ++i) {
        a.push_back(batch(ours));
        b.push_back(batch(theirs));
    }
    const auto median = [](std::vector<double> &v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    return {median(a), median(b)};
}

double Adjusted(const Case &c)
{
    return c.S - c.D * std::exp(-c.r * c.T * 0.5);
}

void Print(const char *what, const char *name, Row row)
{
    std::printf("%-22s %-12s %9.1f %9.1f %7.2f\n", what, name, row.ours, row.theirs, row.ours / row.theirs);
}

} // namespace

int main()
{
    std::printf("%-22s %-12s %9s %9s %7s\n", "work", "inputs", "ours ns", "QL ns", "ratio");
    std::vector<double> ratios[4];
    for (Case c : kCases) {
        benchmark::DoNotOptimize(c);
        const Row value = Measure(
            [&] { benchmark::DoNotOptimize(pricing::CallPriceDiv(c.S, c.K, c.r, c.sigma, c.T, c.D)); },
            [&] {
                            const double discount = std::exp(-c.r * c.T);
                            const double forward = Adjusted(c) / discount;
                benchmark::DoNotOptimize(
                    ql::blackFormula(ql::Option::Call, c.K, forward, c.sigma * std::sqrt(c.T), discount));
            });
        Print("value", c.name, value);
        ratios[0].push_back(value.ours / value.theirs);

        const Row greeks = Measure(
            [&] {
                double d, g, t, v, r;
                pricing::CallGreeksDiv(c.S, c.K, c.r, c.sigma, c.T, c.D, d, g, t, v, r);
                benchmark::DoNotOptimize(d + g + t + v + r);
            },
            [&] {
                const double discount = std::exp(-c.r * c.T);
                const double spot = Adjusted(c);
                const ql::BlackCalculator calc(ql::Option::Call, c.K, spot / discount, c.sigma * std::sqrt(c.T),
                                               discount);
                benchmark::DoNotOptimize(calc.value() + calc.delta(spot) + calc.gamma(spot) + calc.theta(spot, c.T) +
                                         calc.vega(c.T) + calc.rho(c.T));
            });
        Print("value + Greeks", c.name, greeks);
        ratios[1].push_back(greeks.ours / greeks.theirs);

        const double price = pricing::CallPriceDiv(c.S, c.K, c.r, c.sigma, c.T, c.D);
        const auto ours = [&] {
            benchmark::DoNotOptimize(pricing::CallImpliedVolDiv(c.S, c.K, c.r, c.T, price, c.D));
        };
        const auto theirs = [&](auto solver) {
            return [&c, solver] {
                const double discount = std::exp(-c.r * c.T);
                const double forward = Adjusted(c) / discount;
                benchmark::DoNotOptimize(solver(forward, discount) / std::sqrt(c.T));
            };
        };
        const Row newton = Measure(ours, theirs([&](double forward, double discount) {
            return ql::blackFormulaImpliedStdDev(ql::Option::Call, c.K, forward, price, discount);
        }));
        const Row lirs = Measure(ours, theirs([&](double forward, double discount) {
            return ql::blackFormulaImpliedStdDevLiRS(ql::Option::Call, c.K, forward, price, discount);
        }));
        Print("implied vol (Newton)", c.name, newton);
        Print("implied vol (LiRS)", c.name, lirs);
        ratios[2].push_back(newton.ours / newton.theirs);
        ratios[3].push_back(lirs.ours / lirs.theirs);
    }
    const char *names[] = {"value", "value + Greeks", "implied vol (Newton)", "implied vol (LiRS)"};
    std::printf("\nmedian ratio ours / QuantLib\n");
    for (int i = 0; i < 4; ++i) {
        std::nth_element(ratios[i].begin(), ratios[i].begin() + ratios[i].size() / 2, ratios[i].end());
        std::printf("%-22s %7.2f\n", names[i], ratios[i][ratios[i].size() / 2]);
    }
}
