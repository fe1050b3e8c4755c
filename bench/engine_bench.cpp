#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pricing;

void BM_CumNormal(benchmark::State &state)
{
    double x = -3.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CumNormal(x));
        x = x > 3.0 ? -3.0 : x + 0.001;
    }
}
BENCHMARK(BM_CumNormal);

void BM_CallPriceDiv(benchmark::State &state)
{
    double S = 100.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CallPriceDiv(S, 100.0, 0.03, 0.25, 30.0 / 360, 1.0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CallPriceDiv);

void BM_CallGreeksDiv(benchmark::State &state)
{
    double delta, gamma, theta, vega, rho;
    for (auto _ : state) {
        CallGreeksDiv(100.0, 100.0, 0.03, 0.25, 30.0 / 360, 1.0, delta, gamma, theta, vega, rho);
        benchmark::DoNotOptimize(delta);
        benchmark::DoNotOptimize(rho);
    }
}
BENCHMARK(BM_CallGreeksDiv);

// Prices: at the money, deep in the money, and above S (the bracket gives up).
void BM_CallImpliedVolDiv(benchmark::State &state)
{
    static const double prices[] = {3.0015, 50.5, 100.5};
    const double price = prices[state.range(0)];
    const double S = state.range(0) == 1 ? 150.0 : 100.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(CallImpliedVolDiv(S, 100.0, 0.03, 30.0 / 360, price, 0.0));
}
BENCHMARK(BM_CallImpliedVolDiv)->Arg(0)->Arg(1)->Arg(2)->ArgName("atm_deep_giveup");

} // namespace

BENCHMARK_MAIN();
