// What the C library and the Python module share: Unix time to the engine's date-time value,
// the checks of every input, the default dynamical time, and a position in the library's units.
#pragma once

#include <cmath>
#include <optional>

#include "Contrat.h"
#include "TempsDynamique.h"
#include "PosSoleil.h"
#include "orvanel.h"

namespace Orvanel {

// The date-time value of a Unix time through its civil day, hour, minute and second, as
// CalculPosition builds it from the same figures: whole seconds give its value to the bit.
double DateValeur(double unixUtc) noexcept;
double TempsUnix(double dateValeur) noexcept;  // and back (to within the rounding)

// ORVANEL_OK or the code of the first input out of range.
int VerifieSite(const orvanel_site& site) noexcept;
int VerifieInstant(double unixUtc) noexcept;
int VerifieTt(double TEmoinsTU) noexcept;
// A calendar date that exists and lies within the program's dates.
int VerifieDate(int year, int month, int day) noexcept;

// The caller's dynamical time - UTC as the day's computation takes it: none for NaN.
inline std::optional<Contrat::ValeurTEmoinsTU> Impose(double TEmoinsTU) noexcept {
    if (std::isnan(TEmoinsTU)) return std::nullopt;
    return Contrat::ValeurTEmoinsTU{TEmoinsTU, Contrat::SourceTEmoinsTU::TtUtc};
}

// The site as the engine takes it.
inline PosSoleil::Site Site(const orvanel_site& s) noexcept {
    return {s.longitude_deg, s.latitude_deg, s.height_m};
}

// A tracker as the engine takes it.
inline PosSoleil::Suiveur Suiveur(const orvanel_tracker& t) noexcept {
    PosSoleil::Suiveur s;
    s.axeInclinaison = t.axis_tilt_deg;
    s.axeAzimut = t.axis_azimuth_deg;
    s.angleMax = t.max_angle_deg;
    s.gcr = t.gcr;
    s.penteTransverse = t.cross_axis_tilt_deg;
    s.retour = t.backtrack != 0;
    return s;
}

// Dynamical time - UTC at a date-time value: the given one, or for NaN the default there.
double Tt(double dateValeur, double TEmoinsTU) noexcept;

// A position in the library's units: right ascension and azimuth in [0, 360), the equation of
// time in minutes.
orvanel_position Resultat(const PosSoleil::Position& p) noexcept;

// An event in the library's units; its threshold numbered by Contrat::IndiceSeuil in the sky.
orvanel_event Evenement(const PosSoleil::Evenement& e, const PosSoleil::Ciel& ciel) noexcept;

// The events of a civil day (orvanel_day_events without its pointers).
int JourSolaire(int year, int month, int day, const orvanel_site& site, double TEmoinsTU,
                orvanel_day& out) noexcept;

}  // namespace Orvanel
