// What every face of Orvanel agrees on: the ranges of the inputs and their units, the program's
// dates and the windows' own, the pressure conversions at the faces' edges, and the keys of the
// day's states in the outputs. The numbers of the ranges are the macros of orvanel_ranges.h,
// which C callers see too; each is named here for C++, and every check, message, help text and
// manual page line derives from these names. Standard library only.
#pragma once

#include <string>

#include "PosSoleil.h"
#include "orvanel_ranges.h"

namespace Contrat {

// An inclusive range. Dans is false for NaN.
struct Plage {
    double min, max;
};
inline constexpr bool Dans(Plage p, double x) noexcept {
    return x >= p.min && x <= p.max;
}

// ---- Inputs every face takes ----
inline constexpr Plage Longitude{-ORVANEL_LONGITUDE_MAX_DEG, ORVANEL_LONGITUDE_MAX_DEG};   // deg
inline constexpr Plage Latitude{-ORVANEL_LATITUDE_MAX_DEG, ORVANEL_LATITUDE_MAX_DEG};      // deg
inline constexpr Plage AltitudeSite{ORVANEL_HEIGHT_MIN_M, ORVANEL_HEIGHT_MAX_M};           // m
inline constexpr Plage TEmoinsTUImpose{ORVANEL_TT_MIN_S, ORVANEL_TT_MAX_S};                // s
inline constexpr Plage Temperature{ORVANEL_TEMPERATURE_MIN_C, ORVANEL_TEMPERATURE_MAX_C};  // C
// The main window keeps its temperature within a narrower range of its own, the one it was
// designed with (its pressure keeps PressionMmHg, below).
inline constexpr Plage TemperatureFenetre{-20, 40};  // C
// The weather refraction takes when the caller gives none: 10 C (the refraction model's low
// regime holds exactly there) and the standard atmosphere's 760 mmHg, orvanel-cli's and the
// windows' start. The Python module keeps pvlib's 12 C, which its callers expect of
// get_solarposition.
inline constexpr double TemperatureParDefaut = 10;       // C
inline constexpr double PressionParDefautMmHg = 760;     // mmHg
inline constexpr double TemperatureParDefautPvlib = 12;  // C

// ---- The sky of a site ----
// The engine checks a sky against limits of its own (it stands alone); these are the same.
inline constexpr Plage HauteurOeil{0, ORVANEL_EYE_HEIGHT_MAX_M};                          // m
inline constexpr Plage HauteurHorizon{ORVANEL_SKYLINE_MIN_DEG, ORVANEL_SKYLINE_MAX_DEG};  // deg
inline constexpr Plage HauteurSoleil{-ORVANEL_THRESHOLD_MAX_DEG, ORVANEL_THRESHOLD_MAX_DEG};
static_assert(HauteurOeil.max == PosSoleil::HauteurOeilMax &&
              HauteurHorizon.min == PosSoleil::HorizonMin &&
              HauteurHorizon.max == PosSoleil::HorizonMax &&
              HauteurSoleil.min == PosSoleil::HauteurSoleilMin &&
              HauteurSoleil.max == PosSoleil::HauteurSoleilMax);

// ---- Surfaces and trackers ----
inline constexpr Plage InclinaisonPlan{0, ORVANEL_SURFACE_TILT_MAX_DEG};  // deg
inline constexpr Plage DistanceZenithale{0, ORVANEL_ZENITH_MAX_DEG};      // deg
inline constexpr Plage InclinaisonAxe{0, ORVANEL_AXIS_TILT_MAX_DEG};      // deg
inline constexpr Plage RotationMax{0, ORVANEL_ROTATION_MAX_DEG};          // deg
inline constexpr Plage TauxCouverture{ORVANEL_GCR_MIN, ORVANEL_GCR_MAX};  // ratio
inline constexpr Plage PenteTransverse{-ORVANEL_CROSS_SLOPE_MAX_DEG, ORVANEL_CROSS_SLOPE_MAX_DEG};
// An azimuth the caller gives: any finite number of degrees, taken modulo 360.
inline bool AzimutDonne(double azimut) noexcept {
    return azimut - azimut == 0;  // false for NaN and the infinities
}
// The first of a tracker's figures out of its range, as the faces name it ("axis_tilt",
// "axis_azimuth", "max_angle", "gcr", "cross_axis_tilt"), or nullptr when all are in range.
const char* SuiveurHorsPlage(const PosSoleil::Suiveur& s) noexcept;

// ---- Sundials ----
inline constexpr Plage LongueurGnomon{ORVANEL_GNOMON_MIN_MM, ORVANEL_GNOMON_MAX_MM};      // mm
inline constexpr Plage TailleCadran{ORVANEL_DIAL_SIZE_MIN_MM, ORVANEL_DIAL_SIZE_MAX_MM};  // mm
// A dial the engine refuses, in French: why, and what to change.
const char* TexteDefautCadran(PosSoleil::DefautCadran d) noexcept;
// The lines a face may ask for: the command line's word, the Python module's, and the choice.
struct LigneDemandee {
    const char *cli, *python;
    bool PosSoleil::ChoixLignes::*choix;
};
inline constexpr LigneDemandee LignesDemandees[] = {
    {"heures", "hours", &PosSoleil::ChoixLignes::heures},
    {"demi-heures", "half_hours", &PosSoleil::ChoixLignes::demiHeures},
    {"quarts", "quarter_hours", &PosSoleil::ChoixLignes::quarts},
    {"dates", "dates", &PosSoleil::ChoixLignes::dates},
    {"signes", "signs", &PosSoleil::ChoixLignes::signes},
    {"mois", "months", &PosSoleil::ChoixLignes::mois},
    {"analemmes", "analemmas", &PosSoleil::ChoixLignes::analemmes},
    {"babyloniennes", "babylonian", &PosSoleil::ChoixLignes::babyloniennes},
    {"italiques", "italic", &PosSoleil::ChoixLignes::italiques}};
// The kind of a line as the outputs name it: the command line's key, the Python module's.
struct NomsSorte {
    const char *cli, *python;
};
NomsSorte NomSorteLigne(PosSoleil::SorteLigne s) noexcept;

// ---- Options of the command line alone ----
inline constexpr Plage TaiMoinsUtcImpose{0, 100};  // whole seconds, as the leap seconds keep it
// UT1 - UTC: the IERS keeps it within 0.9 s by the leap seconds.
inline constexpr Plage Dut1{-0.9, 0.9};
inline constexpr long long PasMax = 9999;                           // a table's step, in its unit
inline constexpr long long LignesMax = 100'000'000;                 // a table's rows
inline constexpr long long TachesMax = 256;                         // threads of a command
inline constexpr int AnneeForceeMin = 1000, AnneeForceeMax = 3000;  // --year with --force

// ---- Dates ----
// The program's dates: every face answers for the instants from 00:00:00 UTC on 1 January of
// PremiereAnnee to 23:59:59 UTC on 31 December of DerniereAnnee (outside them only when forced).
inline constexpr int PremiereAnnee = ORVANEL_FIRST_YEAR, DerniereAnnee = ORVANEL_LAST_YEAR;
double PremierInstant() noexcept;  // date-time value of the first instant
double FinInstants() noexcept;     // of 00:00 UTC on 1 January after DerniereAnnee, excluded
inline bool DansLesDates(double t) noexcept {
    return t >= PremierInstant() && t < FinInstants();
}
// The first and last instants as ISO 8601 texts, for the messages; and their dates alone.
std::string TextePremierInstant();
std::string TexteDernierInstant();
std::string TextePremiereDate();
std::string TexteDerniereDate();

// The windows' date pickers offer a narrower range, the one they were designed with: from
// 1 January of the first of these years to 1 January (00:00) of the second.
inline constexpr int AnneeDebutFenetres = PremiereAnnee, AnneeFinFenetres = DerniereAnnee;

// ---- Pressure ----
// The engine's refraction takes centimetres of mercury; the faces take millimetres (the main
// window, orvanel-cli), hectopascals (the C library) or pascals (the Python module), all from
// the conventional millimetre of mercury, 133.322387415 Pa (ISO 80000-4), of which the
// engine's PosSoleil::MmHgParHectopascal is the seven-digit rounding that its refraction model
// was fitted with: a unit's conversion here, a coefficient of the model there.
inline constexpr double PascalsParCmHg = 1333.22387415;
inline constexpr double CmHgDeMmHg(double mmHg) noexcept {
    return mmHg / 10;
}
inline constexpr double CmHgDePascals(double pa) noexcept {
    return pa / PascalsParCmHg;
}
inline constexpr double CmHgDeHpa(double hpa) noexcept {
    return hpa / (PascalsParCmHg / 100);
}
// The pressure the refraction model takes: its domain in millimetres of mercury (the main
// window's unit), and the same in pascals for the faces that take them.
inline constexpr Plage PressionMmHg{ORVANEL_PRESSURE_MIN_MMHG, ORVANEL_PRESSURE_MAX_MMHG};
inline constexpr Plage PressionPa{PressionMmHg.min * (PascalsParCmHg / 10),
                                  PressionMmHg.max*(PascalsParCmHg / 10)};

// ---- Angles in the outputs ----
// An azimuth from north through east as every output gives it, in [0, 360): the engine's 360
// (due north, reached from the west) is 0.
inline constexpr double AzimutNord(double azimut) noexcept {
    return azimut >= 360 ? azimut - 360 : azimut;
}

// ---- Keys of the outputs ----
// The four standard thresholds' keys (rise and set, then the three twilights) and the words of
// a threshold's state, in the order of PosSoleil::Seuil and PosSoleil::EtatSeuil.
inline constexpr const char* ClesSeuils[PosSoleil::NombreSeuils] = {"lever_coucher", "civil",
                                                                    "nautique", "astronomique"};
inline constexpr const char* ClesEtats[] = {"franchi", "toujours_au_dessus", "toujours_au_dessous"};
inline constexpr const char* CleEtat(PosSoleil::EtatSeuil etat) noexcept {
    return ClesEtats[static_cast<int>(etat)];
}
// The kinds of event, in the order of PosSoleil::TypeEvenement.
inline constexpr const char* ClesTypes[] = {"passage", "passage_inferieur", "montee", "descente"};

}  // namespace Contrat
