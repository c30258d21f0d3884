// The C interface of the engine: each call checks all of its inputs first, then writes.
#include "orvanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "Commun.h"
#include "Contrat.h"
#include "PosSoleil.h"
#include "TempsDynamique.h"

using namespace Orvanel;

namespace {

// Rows of a series computed at a time: the engine's output on the stack, no allocation
// whatever n.
constexpr std::size_t RangsParPaquet = 512;

// The site, the instant and dynamical time together, in the order of the codes' precedence.
int Verifie(double unixUtc, const orvanel_site* site, double TEmoinsTU) noexcept {
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(TEmoinsTU)) return e;
    return VerifieInstant(unixUtc);
}

// The sentences that name a range, written once from the ranges themselves.
struct TextesErreurs {
    std::string site, date, tt, ciel;
};
const TextesErreurs& Messages() {
    static const TextesErreurs textes = [] {
        const auto plage = [](Contrat::Plage p) {
            char texte[64];
            std::snprintf(texte, sizeof texte, "%g..%g", p.min, p.max);
            return std::string(texte);
        };
        return TextesErreurs{
            "site out of range: longitude " + plage(Contrat::Longitude) + ", latitude " +
                plage(Contrat::Latitude) + " degrees, height " + plage(Contrat::AltitudeSite) +
                " m",
            "date outside " + Contrat::TextePremierInstant() + " .. " +
                Contrat::TexteDernierInstant(),
            "tt_minus_utc out of range: NaN or " + plage(Contrat::TEmoinsTUImpose) + " s",
            "sky out of range: eye height " + plage(Contrat::HauteurOeil) + " m, at most " +
                std::to_string(ORVANEL_MAX_THRESHOLDS) + " thresholds, each once, within " +
                plage(Contrat::HauteurSoleil) + " degrees, a skyline of two points or more " +
                "within " + plage(Contrat::HauteurHorizon) + " degrees, not with an eye height"};
    }();
    return textes;
}

}  // namespace

extern "C" {

const char* orvanel_error_text(int code) {
    switch (code) {
        case ORVANEL_OK:
            return "no error";
        case ORVANEL_ERROR_NULL:
            return "a pointer the call needs is null";
        case ORVANEL_ERROR_SITE:
            return Messages().site.c_str();
        case ORVANEL_ERROR_TIME:
            return "time is not a finite number";
        case ORVANEL_ERROR_DATE:
            return Messages().date.c_str();
        case ORVANEL_ERROR_TT:
            return Messages().tt.c_str();
        case ORVANEL_ERROR_ARGUMENT:
            return "argument out of range";
        case ORVANEL_ERROR_SKY:
            return Messages().ciel.c_str();
        case ORVANEL_ERROR_CAPACITY:
            return "more events in a day than an orvanel_sky_day holds, or an output too small "
                   "for the year";
        default:
            return "unknown result code";
    }
}

const char* orvanel_version(void) {
    return ORVANEL_VERSION;
}

double orvanel_tt_minus_utc(double unix_utc) {
    if (!std::isfinite(unix_utc)) return NAN;
    return Tt(DateValeur(unix_utc), NAN);
}

int orvanel_position_at(double unix_utc, const orvanel_site* site, double tt_minus_utc,
                        orvanel_position* out) {
    if (!site || !out) return ORVANEL_ERROR_NULL;
    if (int e = Verifie(unix_utc, site, tt_minus_utc)) return e;
    const double t = DateValeur(unix_utc);
    *out = Resultat(PosSoleil::PositionSoleil(t, Site(*site), Tt(t, tt_minus_utc)));
    return ORVANEL_OK;
}

int orvanel_positions(const double* unix_utc, size_t n, const orvanel_site* site,
                      double tt_minus_utc, orvanel_position* out) {
    if (n == 0) return ORVANEL_OK;
    if (!unix_utc || !site || !out) return ORVANEL_ERROR_NULL;
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    for (size_t i = 0; i < n; ++i)
        if (int e = VerifieInstant(unix_utc[i])) return e;
    const PosSoleil::Site s = Site(*site);
    for (size_t i = 0; i < n; ++i) {
        const double t = DateValeur(unix_utc[i]);
        out[i] = Resultat(PosSoleil::PositionSoleil(t, s, Tt(t, tt_minus_utc)));
    }
    return ORVANEL_OK;
}

int orvanel_positions_sites(double unix_utc, const orvanel_site* sites, size_t n,
                            double tt_minus_utc, orvanel_position* out) {
    if (n == 0) return ORVANEL_OK;
    if (!sites || !out) return ORVANEL_ERROR_NULL;
    for (size_t i = 0; i < n; ++i)
        if (int e = VerifieSite(sites[i])) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    if (int e = VerifieInstant(unix_utc)) return e;
    const double t = DateValeur(unix_utc);
    const PosSoleil::Geocentre g = PosSoleil::PositionGeocentrique(t, Tt(t, tt_minus_utc));
    for (size_t i = 0; i < n; ++i)
        out[i] = Resultat(PosSoleil::PositionTopocentrique(g, Site(sites[i])));
    return ORVANEL_OK;
}

int orvanel_series(double unix_start, double step_s, size_t n, const orvanel_site* site,
                   double tt_minus_utc, orvanel_position* out) {
    if (n == 0) return ORVANEL_OK;
    if (!site || !out) return ORVANEL_ERROR_NULL;
    if (!(std::fabs(step_s) <= 1e9)) return ORVANEL_ERROR_ARGUMENT;
    if (int e = Verifie(unix_start, site, tt_minus_utc)) return e;
    if (int e = VerifieInstant(unix_start + static_cast<double>(n - 1) * step_s)) return e;
    const PosSoleil::Site s = Site(*site);
    const double pasJours = step_s / PosSoleil::SecondesParJour;
    const double t0 = DateValeur(unix_start);
    PosSoleil::Position paquet[RangsParPaquet];
    for (size_t debut = 0; debut < n; debut += RangsParPaquet) {
        const size_t m = std::min(RangsParPaquet, n - debut);
        const double premier = t0 + static_cast<double>(debut) * pasJours;
        const auto tt = [&](size_t i) -> Contrat::ValeurTEmoinsTU {
            const double t = premier + static_cast<double>(i) * pasJours;
            return std::isnan(tt_minus_utc)
                       ? Contrat::TEmoinsTUParDefaut(t)
                       : Contrat::ValeurTEmoinsTU{tt_minus_utc, Contrat::SourceTEmoinsTU::TtUtc};
        };
        // Runs where dynamical time is exactly linear (a given value, the leap seconds' table
        // between two of them), else rows two by two: each row then takes the very value that
        // orvanel_position_at takes, since a microsecond more can carry the driver's rounding of
        // an instant (4.7e-10 day) to its neighbour, 1e-10 degree away.
        Contrat::RunsLineaires(0, m, 0.0, tt, [&](size_t i, size_t k, double tt0, double pente) {
            PosSoleil::SerieSoleil(premier + static_cast<double>(i) * pasJours, pasJours, s, tt0,
                                   std::span(paquet + i, k), pente);
        });
        for (size_t i = 0; i < m; ++i) out[debut + i] = Resultat(paquet[i]);
    }
    return ORVANEL_OK;
}

double orvanel_refraction(double elevation_deg, double pressure_hpa, double temperature_c) {
    if (!std::isfinite(elevation_deg) || !Contrat::Dans(Contrat::PressionPa, pressure_hpa * 100) ||
        !Contrat::Dans(Contrat::Temperature, temperature_c))
        return NAN;
    return PosSoleil::Refraction(elevation_deg, Contrat::CmHgDeHpa(pressure_hpa), temperature_c);
}

int orvanel_day_events(int year, int month, int day, const orvanel_site* site, double tt_minus_utc,
                       orvanel_day* out) {
    if (!site || !out) return ORVANEL_ERROR_NULL;
    return JourSolaire(year, month, day, *site, tt_minus_utc, *out);
}

}  // extern "C"
