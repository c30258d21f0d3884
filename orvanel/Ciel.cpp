// The C interface of a site's sky: a day's events and a year's in it, the same computation as
// orvanel-cli's `jour` and `annee`.
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "Commun.h"
#include "Journees.h"

using namespace Orvanel;

namespace {

// The sky as the engine takes it, or nullopt for one out of range.
std::optional<PosSoleil::Ciel> CielDe(const orvanel_sky* sky) {
    PosSoleil::Ciel ciel;
    if (!sky) return ciel;
    if (!Contrat::Dans(Contrat::HauteurOeil, sky->eye_height_m)) return std::nullopt;
    if (sky->threshold_count > ORVANEL_MAX_THRESHOLDS ||
        (sky->threshold_count > 0 && !sky->thresholds_deg) ||
        (sky->skyline_count > 0 && !sky->skyline))
        return std::nullopt;
    ciel.hauteurOeil = sky->eye_height_m;
    ciel.hauteurs.assign(sky->thresholds_deg, sky->thresholds_deg + sky->threshold_count);
    for (std::size_t i = 0; i < sky->skyline_count; ++i)
        ciel.horizon.push_back({sky->skyline[i].azimuth_deg, sky->skyline[i].altitude_deg});
    double valeur = 0;
    if (PosSoleil::VerifieCiel(ciel, valeur) != PosSoleil::DefautCiel::Aucun) return std::nullopt;
    return ciel;
}

// A day in the library's units, or false when it has more events than the structure holds.
bool Ecrit(const PosSoleil::JourSolaire& j, const PosSoleil::Ciel& ciel, int annee, int mois,
           int jour, orvanel_sky_day& d) {
    if (j.evenements.size() > std::size(d.events)) return false;
    d.year = annee;
    d.month = mois;
    d.day = jour;
    d.start_unix_utc = TempsUnix(j.debut);
    d.count = static_cast<int>(j.evenements.size());
    for (int i = 0; i < d.count; ++i)
        d.events[i] = Evenement(j.evenements[static_cast<std::size_t>(i)], ciel);
    for (int k = 0; k < PosSoleil::NombreSeuils; ++k) d.states[k] = static_cast<int>(j.etats[k]);
    std::fill(std::begin(d.threshold_states), std::end(d.threshold_states), ORVANEL_CROSSED);
    for (std::size_t k = 0; k < j.etatsHauteurs.size(); ++k)
        d.threshold_states[k] = static_cast<int>(j.etatsHauteurs[k]);
    d.day_length_min = j.duree * 60;
    d.day_length_change_min = j.variationDuree * 60;
    return true;
}

}  // namespace

extern "C" {

int orvanel_sky_day_events(int year, int month, int day, const orvanel_site* site,
                           const orvanel_sky* sky, double tt_minus_utc, orvanel_sky_day* out) {
    if (!site || !out) return ORVANEL_ERROR_NULL;
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    if (int e = VerifieDate(year, month, day)) return e;
    const std::optional<PosSoleil::Ciel> ciel = CielDe(sky);
    if (!ciel) return ORVANEL_ERROR_SKY;
    Contrat::ValeurTEmoinsTU tt{};
    const PosSoleil::JourSolaire j =
        Contrat::JourneeAuMidi(Site(*site), *ciel, year, month, day, Impose(tt_minus_utc), 0, tt);
    // Written whole or not at all: the count is checked before anything is written.
    if (j.evenements.size() > ORVANEL_MAX_SKY_EVENTS) return ORVANEL_ERROR_CAPACITY;
    Ecrit(j, *ciel, year, month, day, *out);
    return ORVANEL_OK;
}

int orvanel_year_events(int year, const orvanel_site* site, const orvanel_sky* sky,
                        double tt_minus_utc, orvanel_sky_day* out, size_t capacity) {
    if (!site || !out) return ORVANEL_ERROR_NULL;
    if (int e = VerifieSite(*site)) return e;
    if (int e = VerifieTt(tt_minus_utc)) return e;
    if (int e = VerifieDate(year, 1, 1)) return e;
    const std::optional<PosSoleil::Ciel> ciel = CielDe(sky);
    if (!ciel) return ORVANEL_ERROR_SKY;
    const std::size_t jours = PosSoleil::AnneeBissextile(year) ? 366 : 365;
    if (capacity < jours) return ORVANEL_ERROR_CAPACITY;
    std::vector<Contrat::ValeurTEmoinsTU> tt;
    const std::vector<PosSoleil::JourSolaire> an =
        Contrat::AnneeAuMidi(Site(*site), *ciel, year, Impose(tt_minus_utc), 0, tt);
    for (const PosSoleil::JourSolaire& j : an)
        if (j.evenements.size() > ORVANEL_MAX_SKY_EVENTS) return ORVANEL_ERROR_CAPACITY;
    for (std::size_t k = 0; k < jours; ++k) {
        const double minuit =
            PosSoleil::EncodeDateValeur(year, 1, static_cast<int>(k) + 1, 0, 0, 0);
        int a = 0, m = 0, jj = 0, h = 0, mi = 0, se = 0, ms = 0;
        PosSoleil::DecodeDateValeur(minuit, a, m, jj, h, mi, se, ms);
        Ecrit(an[k], *ciel, a, m, jj, out[k]);
    }
    return ORVANEL_OK;
}

}  // extern "C"
