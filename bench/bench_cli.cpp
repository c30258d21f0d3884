// orvanel-cli over many rows, with one thread and with every core: rows per second and the
// process's peak resident memory, for `table --format csv` (a million rows a minute apart) and
// for `position --input` (a CSV of instants and sites in, CSV out: a million rows of distinct
// instants and sites, a grid of 1000 sites x 200 instants, 200 000 distinct instants at one
// site); beside them, the engine alone over a million rows one CalculPosition at a time, the
// yardstick of the command's cost. Each is run five times; after the runs, the median of each
// beside the same number of CalculPosition on one thread.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "PosSoleil.h"

extern char** environ;

namespace {

constexpr int Fois = 5;

// Each benchmark's times, seconds, by its name: the medians are compared after the runs.
std::map<std::string, std::vector<double>>& Durees() {
    static std::map<std::string, std::vector<double>> durees;
    return durees;
}

double Mediane(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Runs orvanel-cli with its output to /dev/null, each iteration timed by hand.
void Mesure(benchmark::State& state, const std::string& nom,
            const std::vector<std::string>& arguments, long long lignes, int taches) {
    std::vector<char*> argv;
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    long memoire = 0;
    for (auto _ : state) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const auto debut = std::chrono::steady_clock::now();
        pid_t pid = -1;
        if (posix_spawn(&pid, ORVANEL_CLI, &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("cannot start orvanel-cli");
            break;
        }
        int statut = 0;
        rusage usage{};
        wait4(pid, &statut, 0, &usage);
        const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(statut) || WEXITSTATUS(statut) != 0) {
            state.SkipWithError("orvanel-cli failed");
            break;
        }
        state.SetIterationTime(duree.count());
        Durees()[nom + "/" + std::to_string(taches)].push_back(duree.count());
        memoire = std::max(memoire, usage.ru_maxrss);
    }
    state.counters["lignes/s"] = benchmark::Counter(static_cast<double>(lignes),
                                                    benchmark::Counter::kIsIterationInvariantRate);
    state.counters["fils"] = taches;
    state.counters["memoire_Mo"] = static_cast<double>(memoire) / 1024.0;
}

int Taches(const benchmark::State& state) {
    return state.range(0) > 0 ? static_cast<int>(state.range(0))
                              : static_cast<int>(std::thread::hardware_concurrency());
}

constexpr long long Lignes = 1'000'000;

// A million rows of instants over 2026-2075 and sites over the globe, written once.
const std::string& FichierEntree() {
    static const std::string chemin = [] {
        const std::string nom = "/tmp/orvanel-bench-entree.csv";
        std::ofstream f(nom);
        f << "date,lon,lat,height\n";
        char ligne[96];
        for (long long i = 0; i < Lignes; ++i) {
            std::snprintf(ligne, sizeof ligne,
                          "20%02lld-%02lld-%02lldT%02lld:%02lld:%02lldZ,%.4f,%.3f,%lld\n",
                          26 + i % 50, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i * 7 % 60,
                          -179.9 + static_cast<double>(i * 37 % 3599) / 10,
                          -89.9 + static_cast<double>(i * 53 % 1799) / 10, i % 3000);
            f << ligne;
        }
        return nom;
    }();
    return chemin;
}

// 1000 sites over the globe at each of 200 instants an hour apart, the sites of an instant
// together (a map of the Sun at each hour), written once.
const std::string& FichierGrille() {
    static const std::string chemin = [] {
        const std::string nom = "/tmp/orvanel-bench-grille.csv";
        std::ofstream f(nom);
        f << "date,lon,lat,height\n";
        char ligne[96];
        for (int h = 0; h < 200; ++h)
            for (int i = 0; i < 1000; ++i) {
                std::snprintf(ligne, sizeof ligne, "2027-%02d-%02dT%02d:00:00Z,%.3f,%.3f,%d\n",
                              1 + h / 24 / 28, 1 + h / 24 % 28, h % 24, -179.5 + 0.359 * i,
                              -65 + 0.13 * (i * 7 % 1000), i % 50 * 10);
                f << ligne;
            }
        return nom;
    }();
    return chemin;
}

// 200 000 distinct instants (to the millisecond, in no order) over 2020-2060 at one site.
const std::string& FichierInstants() {
    static const std::string chemin = [] {
        const std::string nom = "/tmp/orvanel-bench-instants.csv";
        std::ofstream f(nom);
        f << "date,lon,lat\n";
        std::mt19937_64 alea(7);
        std::uniform_int_distribution<long long> ms(0, 40LL * 365 * 86'400'000);
        char ligne[96];
        for (int i = 0; i < 200'000; ++i) {
            const long long m = ms(alea);
            const long long jour = m / 86'400'000, dansJour = m % 86'400'000;
            std::snprintf(
                ligne, sizeof ligne, "20%02lld-%02lld-%02lldT%02lld:%02lld:%02lld.%03lldZ,%s\n",
                20 + jour / 365, 1 + jour % 365 / 31 % 12, 1 + jour % 28, dansJour / 3'600'000,
                dansJour / 60'000 % 60, dansJour / 1000 % 60, dansJour % 1000, "2.0303,42.4967");
            f << ligne;
        }
        return nom;
    }();
    return chemin;
}

}  // namespace

static void BM_TableCsv(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state, "table",
           {ORVANEL_CLI, "table", "--start", "2000-01-01T00:00:00Z", "--step", "1", "--unit", "min",
            "--count", std::to_string(Lignes), "--lon", "2.03", "--lat", "42.5", "--format", "csv",
            "--jobs", std::to_string(taches)},
           Lignes, taches);
}
BENCHMARK(BM_TableCsv)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(Fois);

// The table's million rows, one CalculPosition each on one thread.
static void BM_CalculPositionMillion(benchmark::State& state) {
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        double somme = 0;
        for (long long i = 0; i < Lignes; ++i) {
            double L, R, a, d, az, h, e;
            PosSoleil::CalculPosition(2000, 1, 1, 0, static_cast<double>(i), 0, 2.03, 42.5, 0,
                                      64.184, L, R, a, d, az, h, e);
            somme += h;
        }
        benchmark::DoNotOptimize(somme);
        const double duree =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
        state.SetIterationTime(duree);
        Durees()["CalculPosition"].push_back(duree);
    }
    state.counters["lignes/s"] = benchmark::Counter(static_cast<double>(Lignes),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CalculPositionMillion)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(Fois);

static void BM_PositionInput(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state, "position --input, 1e6 rows",
           {ORVANEL_CLI, "position", "--input", FichierEntree(), "--format", "csv", "--jobs",
            std::to_string(taches)},
           Lignes, taches);
}
BENCHMARK(BM_PositionInput)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(Fois);

static void BM_PositionGrille(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state, "position --input, grid 1000x200",
           {ORVANEL_CLI, "position", "--input", FichierGrille(), "--format", "csv", "--jobs",
            std::to_string(taches)},
           200'000, taches);
}
BENCHMARK(BM_PositionGrille)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(Fois);

static void BM_PositionInstants(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state, "position --input, 2e5 instants",
           {ORVANEL_CLI, "position", "--input", FichierInstants(), "--format", "csv", "--jobs",
            std::to_string(taches)},
           200'000, taches);
}
BENCHMARK(BM_PositionInstants)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(Fois);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Each command's median beside as many CalculPosition on one thread, from the medians of
    // this very run.
    const auto& durees = Durees();
    const auto calcul = durees.find("CalculPosition");
    if (calcul == durees.end()) return 0;
    const double parLigne = Mediane(calcul->second) / static_cast<double>(Lignes);
    std::printf(
        "\nMedians of %d runs, against CalculPosition x rows on one thread (%.0f ns a row):\n",
        Fois, parLigne * 1e9);
    for (const auto& [nom, v] : durees) {
        if (&v == &calcul->second) continue;
        const double lignes =
            nom.find("1e6") != std::string::npos || nom.find("table") != std::string::npos
                ? static_cast<double>(Lignes)
                : 200'000;
        std::printf("  %-40s threads %9.1f ms  %.3fx\n", nom.c_str(), Mediane(v) * 1e3,
                    Mediane(v) / (parLigne * lignes));
    }
    return 0;
}
