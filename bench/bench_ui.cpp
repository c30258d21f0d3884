// Cost of one refresh of the main window (position, options, five field texts), offscreen.
// Run: build/bench/bench_ui --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QTimer>

#include "Fenetres.h"
#include "PosSoleil.h"
#include "Unit1.h"

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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Fenetres::CreeFenetres();
    Unit1::EphPosition->Timer1->stop();
    Unit1::EphPosition->show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Fenetres::DetruitFenetres();
    return 0;
}
