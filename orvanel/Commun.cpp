#include "Commun.h"

#include "Journees.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
    // NaN fails every test.
    const bool bon = Contrat::Dans(Contrat::Longitude, s.longitude_deg) &&
                     Contrat::Dans(Contrat::Latitude, s.latitude_deg) &&
                     Contrat::Dans(Contrat::AltitudeSite, s.height_m);
    return bon ? ORVANEL_OK : ORVANEL_ERROR_SITE;
}

int VerifieInstant(double unixUtc) noexcept {
    if (!std::isfinite(unixUtc)) return ORVANEL_ERROR_TIME;
    return Contrat::DansLesDates(DateValeur(unixUtc)) ? ORVANEL_OK : ORVANEL_ERROR_DATE;
}

int VerifieTt(double TEmoinsTU) noexcept {
    if (std::isnan(TEmoinsTU)) return ORVANEL_OK;
    return Contrat::Dans(Contrat::TEmoinsTUImpose, TEmoinsTU) ? ORVANEL_OK : ORVANEL_ERROR_TT;
}

double Tt(double dateValeur, double TEmoinsTU) noexcept {
    return std::isnan(TEmoinsTU) ? Contrat::TEmoinsTUParDefaut(dateValeur).secondes : TEmoinsTU;
}

orvanel_position Resultat(const PosSoleil::Position& p) noexcept {
    orvanel_position r{};
    r.right_ascension_deg = PosSoleil::Modulo360(p.AscensionDroite);
    r.declination_deg = p.Declinaison;
    r.distance_au = p.RayonVecteur;
    r.equation_of_time_min = p.EquationTemps * 60;
    r.azimuth_deg = Contrat::AzimutNord(p.Azimut);
    r.elevation_deg = p.Hauteur;
    return r;
}

static_assert(ORVANEL_TRANSIT == static_cast<int>(PosSoleil::TypeEvenement::Passage) &&
              ORVANEL_SET == static_cast<int>(PosSoleil::TypeEvenement::Descente));
static_assert(ORVANEL_ASTRONOMICAL == static_cast<int>(PosSoleil::Seuil::Astronomique));
static_assert(ORVANEL_ALWAYS_BELOW == static_cast<int>(PosSoleil::EtatSeuil::ToujoursAuDessous));

int VerifieDate(int year, int month, int day) noexcept {
    if (month < 1 || month > 12 || day < 1 || day > 31) return ORVANEL_ERROR_DATE;
    const double minuit = PosSoleil::EncodeDateValeur(year, month, day, 0, 0, 0);
    int a = 0, m = 0, j = 0, h = 0, mi = 0, se = 0, ms = 0;
    PosSoleil::DecodeDateValeur(minuit, a, m, j, h, mi, se, ms);
    if (a != year || m != month || j != day || !Contrat::DansLesDates(minuit))
        return ORVANEL_ERROR_DATE;
    return ORVANEL_OK;
}

static_assert(ORVANEL_OWN_THRESHOLD == PosSoleil::NombreSeuils);

orvanel_event Evenement(const PosSoleil::Evenement& e, const PosSoleil::Ciel& ciel) noexcept {
    return {static_cast<int>(e.type), Contrat::IndiceSeuil(e, ciel), TempsUnix(e.t), e.azimut,
            e.hauteur};
}

int JourSolaire(int year, int month, int day, const orvanel_site& site, double TEmoinsTU,
                orvanel_day& out) noexcept {
    if (int e = VerifieSite(site)) return e;
    if (int e = VerifieTt(TEmoinsTU)) return e;
    if (int e = VerifieDate(year, month, day)) return e;
    // The day as every face computes it: dynamical time at its noon and at the eve's.
    Contrat::ValeurTEmoinsTU tt{};
    const PosSoleil::JourSolaire jour = Contrat::JourneeAuMidi(
        Site(site), PosSoleil::Ciel{}, year, month, day, Impose(TEmoinsTU), 0, tt);
    orvanel_day d{};
    d.start_unix_utc = TempsUnix(jour.debut);
    // A flat horizon at sea level gives ten events at most.
    d.count = static_cast<int>(std::min(jour.evenements.size(), std::size(d.events)));
    for (int i = 0; i < d.count; ++i) d.events[i] = Evenement(jour.evenements[i], {});
    for (int k = 0; k < PosSoleil::NombreSeuils; ++k) d.states[k] = static_cast<int>(jour.etats[k]);
    d.day_length_min = jour.duree * 60;
    d.day_length_change_min = jour.variationDuree * 60;
    out = d;
    return ORVANEL_OK;
}

}  // namespace Orvanel
