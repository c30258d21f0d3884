// The windows at work, offscreen: one refresh of the main window (clock, position, options,
// five field texts), and a whole generation of 999999 rows by 1 minute from 2000-01-01 beside
// the engine alone on the same instants.
// Run: build/bench/bench_ui --benchmark_filter=MiseAJour --benchmark_repetitions=10
//        --benchmark_report_aggregates_only=true
//      build/bench/bench_ui --benchmark_filter='Generation|MoteurSeul'   (about 15 s)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QDateTime>
#include <QTimer>

#include "Fenetres.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit4.h"
#include "VueTable.h"

namespace {

template <TEphPosition::Driver Moteur>
void BM_MiseAJour(benchmark::State& state) {
    TEphPosition* fenetre = Unit1::EphPosition;
    fenetre->Moteur = Moteur;
    fenetre->RefracCheck->setChecked(true);
    QDateTime instant(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    for (auto _ : state) {
        // A tick: the clock moves 10 ms and the whole refresh runs.
        instant = instant.addMSecs(10);
        fenetre->Horloge = [instant] { return instant; };
        fenetre->Timer1Timer();
    }
}
BENCHMARK(BM_MiseAJour<PosSoleil::CalculPosition>)->Name("MiseAJour/rapide");
BENCHMARK(BM_MiseAJour<PosSoleil::Scalaire::CalculPosition>)->Name("MiseAJour/scalaire");

constexpr int Lignes = 999999;

double MegaOctetsMax() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void BM_Generation(benchmark::State& state) {
    TEphemeride* g = Unit4::Ephemeride;
    g->DatePicker->setDate(QDate(2000, 1, 1));
    g->TimePicker->setTime(QTime(0, 0));
    g->PasEdit->setText(QStringLiteral("0001"));
    g->TypeBox->setCurrentIndex(1);  // Minutes
    g->NombEdit->setText(QStringLiteral("999999"));
    double secondes = 0;
    for (auto _ : state) {
        const auto debut = std::chrono::steady_clock::now();
        g->Valid->click();
        secondes += std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    }
    if (g->Memo1->NombreLignes() != 9 + Lignes)
        state.SkipWithError("the table does not have its 999999 rows");
    state.counters["rows"] = Lignes;
    state.counters["us_per_row"] =
        secondes * 1e6 / (static_cast<double>(Lignes) * state.iterations());
    state.counters["rows_per_s"] = static_cast<double>(Lignes) * state.iterations() / secondes;
    state.counters["peak_rss_MB"] = MegaOctetsMax();
}
BENCHMARK(BM_Generation)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The same instants through the engine alone: decoding and one position per row.
void BM_MoteurSeul(benchmark::State& state) {
    const double debut = PosSoleil::EncodeDateValeur(2000, 1, 1, 0, 0, 0);
    double secondes = 0;
    for (auto _ : state) {
        const auto top = std::chrono::steady_clock::now();
        double somme = 0;
        for (long long i = 0; i < Lignes; ++i) {
            const double instant = static_cast<double>(static_cast<long double>(debut) +
                                                       static_cast<long double>(i) * (1.0L / 1440));
            int a, m, j, h, mi, s, ms;
            PosSoleil::DecodeDateValeur(instant, a, m, j, h, mi, s, ms);
            double l, r, al, d, az, ht, e;
            PosSoleil::CalculPosition(a, m, j, h, mi, s, Unit1::Longitude, Unit1::Latitude, 0,
                                      Unit3::TEmoinsTU, l, r, al, d, az, ht, e);
            somme += ht + az;
        }
        benchmark::DoNotOptimize(somme);
        secondes += std::chrono::duration<double>(std::chrono::steady_clock::now() - top).count();
    }
    state.counters["us_per_row"] =
        secondes * 1e6 / (static_cast<double>(Lignes) * state.iterations());
}
BENCHMARK(BM_MoteurSeul)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Fenetres::CreeFenetres();
    Unit1::EphPosition->Timer1->stop();
    Unit1::EphPosition->show();
    Unit4::Ephemeride->show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Fenetres::DetruitFenetres();
    return 0;
}
