// Cost of one position and of each VSOP87 series. Run: build/bench/bench_engine
//   --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "PosSoleil.h"
#include "VSOPEAR.h"

namespace {

// A spread of instants from 1980 to 2250, so no single argument flatters the cosines.
double Instant(std::size_t i) {
    return -0.2 + 2.7 * static_cast<double>(i % 1000) / 1000.0;
}

// Each series through the run-time choice (vector where the processor allows) and through
// the scalar reference, on the same instants.
template <double (*Serie)(double) noexcept>
void BM_Serie(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(Serie(Instant(i++)));
}
BENCHMARK(BM_Serie<VSOPEAR::LongitudeTerre>)->Name("LongitudeTerre/rapide");
BENCHMARK(BM_Serie<VSOPEAR::Scalaire::LongitudeTerre>)->Name("LongitudeTerre/scalaire");
BENCHMARK(BM_Serie<VSOPEAR::LatitudeTerre>)->Name("LatitudeTerre/rapide");
BENCHMARK(BM_Serie<VSOPEAR::Scalaire::LatitudeTerre>)->Name("LatitudeTerre/scalaire");
BENCHMARK(BM_Serie<VSOPEAR::RayonTerre>)->Name("RayonTerre/rapide");
BENCHMARK(BM_Serie<VSOPEAR::Scalaire::RayonTerre>)->Name("RayonTerre/scalaire");

// The three coordinates together, as the position computes them.
template <void (*Calcul)(double, double&, double&, double&) noexcept>
void BM_PositionTerre(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        double l, b, r;
        Calcul(Instant(i++), l, b, r);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PositionTerre<VSOPEAR::PositionTerre>)->Name("PositionTerre/rapide");
BENCHMARK(BM_PositionTerre<VSOPEAR::Scalaire::PositionTerre>)->Name("PositionTerre/scalaire");

using Driver = void (*)(double, double, double, double, double, double, double, double, double,
                        double, double&, double&, double&, double&, double&, double&,
                        double&) noexcept;

// One position a minute through a day in 2026, at the default site.
template <Driver Calcul>
void BM_CalculPosition(benchmark::State& state) {
    double l, r, a, d, az, h, e;
    double minute = 0;
    for (auto _ : state) {
        Calcul(2026, 12, 7, 12, minute, 0, 2.0302777777777776, 42.49666666666667, 0, 64.184, l, r,
               a, d, az, h, e);
        benchmark::DoNotOptimize(h);
        minute = minute < 1439 ? minute + 1 : 0;
    }
}
BENCHMARK(BM_CalculPosition<PosSoleil::CalculPosition>)->Name("CalculPosition/rapide");
BENCHMARK(BM_CalculPosition<PosSoleil::Scalaire::CalculPosition>)->Name("CalculPosition/scalaire");

// The nutation alone (60 terms), from its fundamental arguments, through the run-time choice
// and through the scalar reference.
template <void (*Calcul)(double, double, double, double, double, double, double&, double&) noexcept>
void BM_Nutation(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const double T = Instant(i++);
        double psi = 0, epsilon = 0;
        Calcul(T, PosSoleil::AnomalieMoyenneLune(T), PosSoleil::AnomalieMoyenneSoleil(T),
               PosSoleil::ArgumentLatitudeLune(T), PosSoleil::ElongationMoyenneLune(T),
               PosSoleil::LongitudeNoeudLune(T), psi, epsilon);
        benchmark::DoNotOptimize(psi);
        benchmark::DoNotOptimize(epsilon);
    }
}
BENCHMARK(BM_Nutation<PosSoleil::Nutation>)->Name("Nutation/rapide");
BENCHMARK(BM_Nutation<PosSoleil::Scalaire::Nutation>)->Name("Nutation/scalaire");

void BM_DegVersDMS(benchmark::State& state) {
    double angle = 24.750726;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PosSoleil::DegVersDMS(angle, 1));
        angle += 1e-5;
    }
}
BENCHMARK(BM_DegVersDMS);

void BM_EvaluationVectorielle(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(VSOPEAR::EvaluationVectorielle());
    state.SetLabel(VSOPEAR::EvaluationVectorielle() ? "AVX2+FMA path in use"
                                                    : "scalar path in use");
}
BENCHMARK(BM_EvaluationVectorielle)->Iterations(1);

}  // namespace

// All the events of one day: culminations, rise and set, the three twilights, and the
// previous day's rise and set for the change of the day length.
static void BM_JourneeSolaire(benchmark::State& state) {
    int jour = 0;
    for (auto _ : state) {
        const PosSoleil::JourSolaire j =
            PosSoleil::JourneeSolaire(2026, 1 + jour % 12, 1 + jour % 28, {2.03, 42.5, 0}, 69.184);
        benchmark::DoNotOptimize(j.duree);
        ++jour;
    }
}
BENCHMARK(BM_JourneeSolaire)->Unit(benchmark::kMicrosecond);

// A whole year of days at Paris: the flat horizon (0), seen from 30 m with the golden and blue
// hours' altitudes (1), behind a skyline of a ridge and hills (2).
static void BM_AnneeSolaire(benchmark::State& state) {
    PosSoleil::Ciel ciel;
    if (state.range(0) == 1) {
        ciel.hauteurOeil = 30;
        ciel.hauteurs = {6, -4};
    } else if (state.range(0) == 2) {
        ciel.horizon = {{0, 2}, {90, 4}, {150, 3}, {165, 25}, {195, 25}, {210, 3}, {270, 8}};
    }
    const std::vector<double> tt(366, 69.184);
    for (auto _ : state) {
        const auto annee = PosSoleil::AnneeSolaire(2026, {2.35, 48.86, 35}, ciel, tt);
        benchmark::DoNotOptimize(annee.data());
    }
}
BENCHMARK(BM_AnneeSolaire)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Rows of a regular series (steps of a second, a minute, an hour, a day: the argument in
// seconds) against the driver row by row (a minute apart), and many sites at one instant: the
// time per row and per site.
static void BM_SerieSoleil(benchmark::State& state) {
    std::vector<PosSoleil::Position> rangs(4096);
    const PosSoleil::Site site{2.35, 48.85, 120};
    const double pas = static_cast<double>(state.range(0)) / 86400;
    double t0 = PosSoleil::EncodeDateValeur(2026, 1, 1, 0, 0, 0);
    for (auto _ : state) {
        PosSoleil::SerieSoleil(t0, pas, site, 69.184, rangs);
        benchmark::DoNotOptimize(rangs.data());
        t0 += 4096 * pas;
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_SerieSoleil)->Arg(1)->Arg(60)->Arg(3600)->Arg(86400);

static void BM_PositionSoleilRangs(benchmark::State& state) {
    std::vector<PosSoleil::Position> rangs(4096);
    const PosSoleil::Site site{2.35, 48.85, 120};
    double t0 = PosSoleil::EncodeDateValeur(2026, 1, 1, 0, 0, 0);
    for (auto _ : state) {
        for (std::size_t i = 0; i < rangs.size(); ++i)
            rangs[i] = PosSoleil::PositionSoleil(t0 + static_cast<double>(i) / 1440, site, 69.184);
        benchmark::DoNotOptimize(rangs.data());
        t0 += 4096.0 / 1440;
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_PositionSoleilRangs);

static void BM_PositionsSites(benchmark::State& state) {
    std::vector<PosSoleil::Site> sites;
    for (int i = 0; i < 4096; ++i) sites.push_back({-180 + i * 0.0879, -60 + (i % 64) * 2.0, 0});
    std::vector<PosSoleil::Position> sortie(sites.size());
    double t = PosSoleil::EncodeDateValeur(2026, 6, 21, 12, 0, 0);
    for (auto _ : state) {
        PosSoleil::PositionsSites(t, 69.184, sites, sortie);
        benchmark::DoNotOptimize(sortie.data());
        t += 1.0 / 24;
    }
    state.SetItemsProcessed(state.iterations() * 4096);
}
BENCHMARK(BM_PositionsSites);

// A tracker row for a million positions of the Sun (a year of half-minutes at one site, or many
// sites), with backtracking on a cross slope; the rate is in trackers per second.
static void BM_Suivi(benchmark::State& state) {
    constexpr std::size_t n = 1'000'000;
    std::vector<double> z(n), A(n);
    std::mt19937_64 alea(7);
    std::uniform_real_distribution<double> zenith(0, 89.9), azimut(0, 360);
    for (std::size_t i = 0; i < n; ++i) z[i] = zenith(alea), A[i] = azimut(alea);
    PosSoleil::Suiveur suiveur;
    suiveur.axeAzimut = 180;
    suiveur.angleMax = 60;
    suiveur.gcr = 0.35;
    suiveur.penteTransverse = 4;
    std::vector<PosSoleil::Orientation> sortie(n);
    for (auto _ : state) {
        PosSoleil::Suivis(suiveur, z, A, sortie);
        benchmark::DoNotOptimize(sortie.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK(BM_Suivi)->Unit(benchmark::kMillisecond);

// Every line of a dial: a south-south-west wall of a metre with a nodus of 200 mm at Toulouse,
// its hours, half and quarter hours, solstices and equinoxes, signs, months, mean time through
// the year, Babylonian and Italic hours.
static void BM_CadranLignes(benchmark::State& state) {
    const PosSoleil::Cadran c{202.5, 90, PosSoleil::Gnomon::Nodus, 200};
    PosSoleil::ChoixLignes tout{true, true, true, true, true, true, true, true, true};
    PosSoleil::Trace trace;
    trace.largeur = trace.hauteur = 1000;
    std::size_t points = 0;
    for (auto _ : state) {
        const auto lignes = PosSoleil::LignesCadran(c, {1.444, 43.6045, 146}, tout, trace);
        points = 0;
        for (const auto& l : lignes) points += l.points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_CadranLignes)->Unit(benchmark::kMillisecond);

// After the benchmarks, the plain loop (the scalar driver, every term one at a time) against
// CalculPosition: the median of five rounds of each over the same day of minutes, and their ratio.
namespace {
template <Driver Calcul>
double NanosecondesParPosition(int fois) {
    std::vector<double> durees;
    for (int k = 0; k < 5; ++k) {
        const auto debut = std::chrono::steady_clock::now();
        double somme = 0;
        for (int i = 0; i < fois; ++i) {
            double l, r, a, d, az, h, e;
            Calcul(2026, 12, 7, 12, i % 1440, 0, 2.0302777777777776, 42.49666666666667, 0, 64.184,
                   l, r, a, d, az, h, e);
            somme += h;
        }
        benchmark::DoNotOptimize(somme);
        durees.push_back(
            std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - debut)
                .count() /
            fois);
    }
    std::sort(durees.begin(), durees.end());
    return durees[2];
}
}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double rapide = NanosecondesParPosition<PosSoleil::CalculPosition>(200'000);
    const double simple = NanosecondesParPosition<PosSoleil::Scalaire::CalculPosition>(10'000);
    std::printf("\nCalculPosition %.0f ns, plain loop %.0f ns (medians of 5): ratio %.1f\n", rapide,
                simple, simple / rapide);
    return 0;
}
