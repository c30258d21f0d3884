// Dynamical time - UTC by default: the leap seconds' table and the model of Delta T around it,
// what orvanel-cli, the C library and the Python module share. Standard library only.
#pragma once

#include <cmath>
#include <cstddef>
#include <string>

#include "PosSoleil.h"

namespace Contrat {

// TT - TAI in milliseconds, exactly: TT = TAI + 32.184 s by definition (IAU 1991, Resolution
// A4, recommendation IV). In milliseconds so that a whole TAI - UTC added to it stays exact.
inline constexpr double TTMoinsTAIMs = 32184;

// UT1 - UTC (seconds) as a shift of date-time values: a UTC instant t is t + Ut1Jours(dut1) on
// UT1's scale.
inline constexpr double Ut1Jours(double dut1) noexcept {
    return dut1 / PosSoleil::SecondesParJour;
}

// TAI - UTC in seconds at a UTC date-time value, from the table of leap seconds since
// 1972-01-01 (10 s then); the last entry's value is kept after it, the first before it.
int TaiMoinsUtc(double t) noexcept;

// The UTC date-time value from which the leap-second table is no longer confirmed: the next
// date on which a leap second could be inserted after the last one announced as absent.
double FinTableSauts() noexcept;

// Delta T = TT - UT1 in seconds at a date-time value, from the polynomials of Espenak and Meeus
// (Five Millennium Canon of Solar Eclipses, NASA TP-2006-214141), whatever the date.
double DeltaTModele(double t) noexcept;

// Where dynamical time - UTC came from.
enum class SourceTEmoinsTU { Table, Modele, TaiUtc, TtUtc };
struct ValeurTEmoinsTU {
    double secondes;
    SourceTEmoinsTU source;
};

// The default dynamical time - UTC at a UTC date-time value: TAI - UTC + 32.184 s while the
// leap-second table is confirmed; before 1972 the model; after the table the model shifted to
// meet the table's last value, the shift fading linearly to nothing by 2150.
ValeurTEmoinsTU TEmoinsTUParDefaut(double t) noexcept;

// The source's word in CSV and JSON: "table", "modele", "tai_utc", "tt_utc".
const char* NomSource(SourceTEmoinsTU source) noexcept;

// "la fin de AAAA": up to when the leap-second table is confirmed, for the texts.
std::string TexteFinTable();

// Rows [debut, debut + n) of a regular series cut into runs over which dynamical time - UTC is
// linear within `tolerance` seconds at their middle and from one source, halving a run until it
// is, so that the engine's series (which takes it linear) can compute each run: tt(i) gives row
// i's value, run(i, n, tt0, pente) is called for each run in order, pente in seconds per row.
template <class Tt, class Run>
void RunsLineaires(std::size_t debut, std::size_t n, double tolerance, Tt&& tt, Run&& run) {
    if (n == 0) return;
    const ValeurTEmoinsTU premier = tt(debut), dernier = tt(debut + n - 1);
    const double pente =
        n > 1 ? (dernier.secondes - premier.secondes) / static_cast<double>(n - 1) : 0;
    const std::size_t m = n / 2;
    if (n > 2 && (premier.source != dernier.source ||
                  std::fabs(premier.secondes + pente * static_cast<double>(m) -
                            tt(debut + m).secondes) > tolerance)) {
        RunsLineaires(debut, m, tolerance, tt, run);
        RunsLineaires(debut + m, n - m, tolerance, tt, run);
        return;
    }
    run(debut, n, premier.secondes, pente);
}

}  // namespace Contrat
