// Dynamical time - UTC: the leap seconds' table and the model of Delta T around it. Shared by
// orvanel-cli, the C library and the Python module.
#include <cmath>
#include <iterator>

#include "PosSoleil.h"
#include "TempsDynamique.h"

namespace Contrat {

namespace {

/*
 * TAI - UTC from the day it took effect, 00:00 UTC: every leap second since 1972.
 *
 * :-----------------------------------------:
 * :                                         :
 * :                IMPORTANT                :
 * :                                         :
 * :  This table must be updated on each     :
 * :  occasion that a leap second is         :
 * :  announced, and the end of its          :
 * :  validity moved on at each IERS         :
 * :  Bulletin C, twice a year:              :
 * :                                         :
 * :  1. a leap second announced: add its    :
 * :     row to Sauts (the month it takes    :
 * :     effect, the new TAI - UTC);         :
 * :  2. in every case: move AnneeFinTable   :
 * :     and MoisFinTable to the next date   :
 * :     at which one could be inserted      :
 * :     (1 January or 1 July) that the      :
 * :     latest Bulletin C rules on.         :
 * :                                         :
 * :  Nothing else in the program restates   :
 * :  the table or its end: every text and   :
 * :  check derives from these lines.        :
 * :                                         :
 * :-----------------------------------------:
 */
struct Saut {
    int annee, mois, secondes;
};
constexpr Saut Sauts[] = {
    {1972, 1, 10}, {1972, 7, 11}, {1973, 1, 12}, {1974, 1, 13}, {1975, 1, 14}, {1976, 1, 15},
    {1977, 1, 16}, {1978, 1, 17}, {1979, 1, 18}, {1980, 1, 19}, {1981, 7, 20}, {1982, 7, 21},
    {1983, 7, 22}, {1985, 7, 23}, {1988, 1, 24}, {1990, 1, 25}, {1991, 1, 26}, {1992, 7, 27},
    {1993, 7, 28}, {1994, 7, 29}, {1996, 1, 30}, {1997, 7, 31}, {1999, 1, 32}, {2006, 1, 33},
    {2009, 1, 34}, {2012, 7, 35}, {2015, 7, 36}, {2017, 1, 37},
};

// The Bulletin C of January 2026: no leap second at the end of June 2026, so the table holds to
// the next date one could be inserted, 1 January 2027.
constexpr int AnneeFinTable = 2027, MoisFinTable = 1;

// The model's shift has faded away by this year, where the polynomials join the long-term
// parabola.
constexpr double AnneeFinDecalage = 2150;

// A date-time value as a decimal year: the model's argument, smooth across the year's ends.
double AnneeDecimale(double t) noexcept {
    const double j2000 = 36526.0;  // date-time value of 2000-01-01 00:00
    return 2000 + (t - j2000) / 365.2425;
}

// Horner's rule over coefficients of rising powers.
template <std::size_t N>
constexpr double Polynome(double x, const double (&c)[N]) noexcept {
    double somme = 0;
    for (std::size_t i = N; i-- > 0;) somme = somme * x + c[i];
    return somme;
}

double DeltaTAnnee(double y) noexcept {
    // The long-term parabola of Morrison and Stephenson (2004), the model's frame at both ends.
    const double u = (y - 1820) / 100;
    const double parabole = -20 + 32 * u * u;
    if (y < -500) return parabole;
    if (y < 500)
        return Polynome(y / 100, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192,
                                  0.0090316521});
    if (y < 1600)
        return Polynome((y - 1000) / 100, {1574.2, -556.01, 71.23472, 0.319781, -0.8503463,
                                           -0.005050998, 0.0083572073});
    if (y < 1700) return Polynome(y - 1600, {120, -0.9808, -0.01532, 1.0 / 7129});
    if (y < 1800) return Polynome(y - 1700, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000});
    if (y < 1860)
        return Polynome(y - 1800, {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436,
                                   0.0000121272, -0.0000001699, 0.000000000875});
    if (y < 1900)
        return Polynome(y - 1860,
                        {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174});
    if (y < 1920) return Polynome(y - 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941) return Polynome(y - 1920, {21.20, 0.84493, -0.076100, 0.0020936});
    if (y < 1961) return Polynome(y - 1950, {29.07, 0.407, -1.0 / 233, 1.0 / 2547});
    if (y < 1986) return Polynome(y - 1975, {45.45, 1.067, -1.0 / 260, -1.0 / 718});
    if (y < 2005)
        return Polynome(y - 2000,
                        {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    if (y < 2050) return Polynome(y - 2000, {62.92, 0.32217, 0.005589});
    if (y < 2150) return parabole - 0.5628 * (2150 - y);
    return parabole;
}

// The date-time value at which each leap second's TAI - UTC took effect, computed once.
struct DatesSauts {
    double t[std::size(Sauts)];
};
const DatesSauts& Dates() noexcept {
    static const DatesSauts dates = [] {
        DatesSauts d{};
        for (std::size_t i = 0; i < std::size(Sauts); ++i)
            d.t[i] = PosSoleil::EncodeDateValeur(Sauts[i].annee, Sauts[i].mois, 1, 0, 0, 0);
        return d;
    }();
    return dates;
}
}  // namespace

int TaiMoinsUtc(double t) noexcept {
    const DatesSauts& dates = Dates();
    int valeur = Sauts[0].secondes;
    for (std::size_t i = 0; i < std::size(Sauts) && t >= dates.t[i]; ++i)
        valeur = Sauts[i].secondes;
    return valeur;
}

double FinTableSauts() noexcept {
    static const double fin = PosSoleil::EncodeDateValeur(AnneeFinTable, MoisFinTable, 1, 0, 0, 0);
    return fin;
}

double DeltaTModele(double t) noexcept {
    return DeltaTAnnee(AnneeDecimale(t));
}

ValeurTEmoinsTU TEmoinsTUParDefaut(double t) noexcept {
    constexpr double TtMoinsTai = TTMoinsTAIMs / 1000;
    static const double debut = PosSoleil::EncodeDateValeur(1972, 1, 1, 0, 0, 0);
    const double fin = FinTableSauts();
    if (t >= debut && t < fin) return {TaiMoinsUtc(t) + TtMoinsTai, SourceTEmoinsTU::Table};
    if (t < debut) return {DeltaTModele(t), SourceTEmoinsTU::Modele};
    // UT1 - UTC is unknown so far ahead: the model's Delta T stands for TT - UTC.
    // The step between the table's last value and the model's there, the same for every
    // instant after it: computed once.
    static const double yFin = AnneeDecimale(fin);
    static const double decalage = TaiMoinsUtc(fin) + TtMoinsTai - DeltaTModele(fin);
    const double y = AnneeDecimale(t);
    const double poids =
        y >= AnneeFinDecalage ? 0 : (AnneeFinDecalage - y) / (AnneeFinDecalage - yFin);
    return {DeltaTModele(t) + decalage * poids, SourceTEmoinsTU::Modele};
}

const char* NomSource(SourceTEmoinsTU source) noexcept {
    switch (source) {
        case SourceTEmoinsTU::Table:
            return "table";
        case SourceTEmoinsTU::Modele:
            return "modele";
        case SourceTEmoinsTU::TaiUtc:
            return "tai_utc";
        case SourceTEmoinsTU::TtUtc:
            return "tt_utc";
    }
    return "";
}

std::string TexteFinTable() {
    // The table holds up to the day before the date of its end.
    const int annee = MoisFinTable == 1 ? AnneeFinTable - 1 : AnneeFinTable;
    return (MoisFinTable == 1 ? "la fin de " : "la fin de juin ") + std::to_string(annee);
}

}  // namespace Contrat
