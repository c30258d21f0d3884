#include "Commun.h"

#include <cmath>

#include "TempsDynamique.h"

namespace Orvanel {

double DateValeur(double unixUtc) noexcept {
    const double jours = std::floor(unixUtc / PosSoleil::SecondesParJour);
    const double secondes = unixUtc - jours * PosSoleil::SecondesParJour;
    const double heure = std::floor(secondes / 3600);
    const double minute = std::floor((secondes - heure * 3600) / 60);
    const double seconde = secondes - heure * 3600 - minute * 60;
    // Day 1 + jours of January 1970: the engine counts days the same way past the month's end.
    return PosSoleil::EncodeDateValeur(1970, 1, 1 + jours, heure, minute, seconde);
}

double TempsUnix(double dateValeur) noexcept {
    return (dateValeur - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour;
}

int VerifieSite(const orvanel_site& s) noexcept {
    // Written so that NaN fails every test.
    const bool bon = s.longitude_deg >= -180 && s.longitude_deg <= 180 && s.latitude_deg >= -90 &&
                     s.latitude_deg <= 90 && s.height_m >= -1000 && s.height_m <= 10000;
    return bon ? ORVANEL_OK : ORVANEL_ERROR_SITE;
}

int VerifieInstant(double unixUtc) noexcept {
    if (!std::isfinite(unixUtc)) return ORVANEL_ERROR_TIME;
    return Cli::DansLesDates(DateValeur(unixUtc)) ? ORVANEL_OK : ORVANEL_ERROR_DATE;
}

int VerifieTt(double ttMoinsUtc) noexcept {
    if (std::isnan(ttMoinsUtc)) return ORVANEL_OK;
    return ttMoinsUtc >= -100 && ttMoinsUtc <= 20000 ? ORVANEL_OK : ORVANEL_ERROR_TT;
}

double Tt(double dateValeur, double ttMoinsUtc) noexcept {
    return std::isnan(ttMoinsUtc) ? Cli::TtMoinsUtcParDefaut(dateValeur).secondes : ttMoinsUtc;
}

orvanel_position Resultat(const PosSoleil::Position& p) noexcept {
    orvanel_position r{};
    r.right_ascension_deg = PosSoleil::Modulo360(p.AscensionDroite);
    r.declination_deg = p.Declinaison;
    r.distance_au = p.RayonVecteur;
    r.equation_of_time_min = p.EquationTemps * 60;
    // The azimuth comes from north in [0, 360]: the full turn is north itself.
    r.azimuth_deg = p.Azimut >= 360 ? p.Azimut - 360 : p.Azimut;
    r.elevation_deg = p.Hauteur;
    return r;
}

}  // namespace Orvanel
