// orvanel-cli over 1 000 000 rows, with one thread and with every core: rows per second and the
// process's peak resident memory, for `table --format csv` (rows a minute apart) and for
// `position --input` (a CSV of instants and sites in, CSV out); beside them, the engine alone
// over the same rows one CalculPosition at a time, the yardstick of the command's cost.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "PosSoleil.h"

extern char** environ;

namespace {

// Runs orvanel-cli with its output to /dev/null, each iteration timed by hand.
void Mesure(benchmark::State& state, const std::vector<std::string>& arguments, long long lignes,
            int taches) {
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

}  // namespace

static void BM_TableCsv(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state,
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
    ->Iterations(3);

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
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count());
    }
    state.counters["lignes/s"] = benchmark::Counter(static_cast<double>(Lignes),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CalculPositionMillion)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_PositionInput(benchmark::State& state) {
    const int taches = Taches(state);
    Mesure(state,
           {ORVANEL_CLI, "position", "--input", FichierEntree(), "--format", "csv", "--jobs",
            std::to_string(taches)},
           Lignes, taches);
}
BENCHMARK(BM_PositionInput)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK_MAIN();
