// Cost of one position and of each VSOP87 series. Run: build/bench/bench_engine
//   --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "PosSoleil.h"
#include "VSOPEAR.h"

namespace {

// A spread of instants from 1980 to 2250, so no single argument flatters the cosines.
double Instant(std::size_t i) { return -0.2 + 2.7 * static_cast<double>(i % 1000) / 1000.0; }

void BM_LongitudeTerre(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(VSOPEAR::LongitudeTerre(Instant(i++)));
}
BENCHMARK(BM_LongitudeTerre);

void BM_LatitudeTerre(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(VSOPEAR::LatitudeTerre(Instant(i++)));
}
BENCHMARK(BM_LatitudeTerre);

void BM_RayonTerre(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(VSOPEAR::RayonTerre(Instant(i++)));
}
BENCHMARK(BM_RayonTerre);

void BM_CalculPosition(benchmark::State& state) {
    double l, r, a, d, az, h, e;
    double minute = 0;
    for (auto _ : state) {
        PosSoleil::CalculPosition(2026, 12, 7, 12, minute, 0, 2.0302777777777776, 42.49666666666667, 0, 64.184, l,
                                  r, a, d, az, h, e);
        benchmark::DoNotOptimize(h);
        minute = minute < 59 ? minute + 1 : 0;
    }
}
BENCHMARK(BM_CalculPosition);

void BM_DegVersDMS(benchmark::State& state) {
    double angle = 24.750726;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PosSoleil::DegVersDMS(angle, 1));
        angle += 1e-5;
    }
}
BENCHMARK(BM_DegVersDMS);

}  // namespace

BENCHMARK_MAIN();
