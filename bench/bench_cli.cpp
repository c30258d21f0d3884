// orvanel-cli table --format csv over 1 000 000 rows a minute apart, with one thread and with
// every core: rows per second and the process's peak resident memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

static void BM_TableCsv(benchmark::State& state) {
    const long long lignes = 1'000'000;
    const int taches = state.range(0) > 0 ? static_cast<int>(state.range(0))
                                          : static_cast<int>(std::thread::hardware_concurrency());
    const std::vector<std::string> arguments = {ORVANEL_CLI, "table", "--start", "2000-01-01T00:00:00Z", "--step", "1",
                                                "--unit", "min", "--count", std::to_string(lignes), "--lon", "2.03",
                                                "--lat", "42.5", "--format", "csv", "--jobs", std::to_string(taches)};
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
    state.counters["lignes/s"] = benchmark::Counter(static_cast<double>(lignes), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["fils"] = taches;
    state.counters["memoire_Mo"] = static_cast<double>(memoire) / 1024.0;
}
BENCHMARK(BM_TableCsv)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
