// The C library per call: one position, 1000 instants at one site, 1000 sites at one instant,
// a series of 1000 rows a minute apart (items: positions).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "orvanel.h"

namespace {

constexpr double Debut = 1798761600;  // 2027-01-01T00:00:00Z
constexpr std::size_t N = 1000;
const orvanel_site Paris{2.35, 48.85, 35};

}  // namespace

static void BM_OrvanelPositionAt(benchmark::State& state) {
    orvanel_position p{};
    double t = Debut;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvanel_position_at(t, &Paris, 69.184, &p));
        t += 61;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OrvanelPositionAt);

static void BM_OrvanelPositions(benchmark::State& state) {
    std::vector<double> instants(N);
    for (std::size_t i = 0; i < N; ++i) instants[i] = Debut + 3600.0 * static_cast<double>(i);
    std::vector<orvanel_position> sortie(N);
    // With the default dynamical time at each instant (state.range(0) == 1) or a given one.
    const double tt = state.range(0) ? NAN : 69.184;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvanel_positions(instants.data(), N, &Paris, tt, sortie.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(N));
}
BENCHMARK(BM_OrvanelPositions)->Arg(0)->Arg(1);

static void BM_OrvanelPositionsSites(benchmark::State& state) {
    std::vector<orvanel_site> sites;
    for (std::size_t i = 0; i < N; ++i)
        sites.push_back(
            {-180 + 0.36 * static_cast<double>(i), -60 + static_cast<double>(i % 120), 0});
    std::vector<orvanel_position> sortie(N);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            orvanel_positions_sites(Debut, sites.data(), N, 69.184, sortie.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(N));
}
BENCHMARK(BM_OrvanelPositionsSites);

static void BM_OrvanelSeries(benchmark::State& state) {
    std::vector<orvanel_position> sortie(N);
    for (auto _ : state) {
        benchmark::DoNotOptimize(orvanel_series(Debut, 60, N, &Paris, 69.184, sortie.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(N));
}
BENCHMARK(BM_OrvanelSeries);

BENCHMARK_MAIN();
