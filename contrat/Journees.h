// A site's days as every face computes them: each date's events with dynamical time taken at its
// noon (and the eve's noon for the change of the day length), one date alone or a whole year at
// once, so that orvanel-cli's `jour` and `annee`, the C library and the Python module give the
// same figures to the bit. Standard library only.
#pragma once

#include <optional>
#include <vector>

#include "PosSoleil.h"
#include "TempsDynamique.h"

namespace Contrat {

// Dynamical time - UTC in force at a UTC date-time value: the caller's own, or the default.
inline ValeurTEmoinsTU TEmoinsTUEnVigueur(const std::optional<ValeurTEmoinsTU>& impose,
                                          double t) noexcept {
    return impose ? *impose : TEmoinsTUParDefaut(t);
}

// The site's day of one date in a sky: dynamical time - UTC at the date's noon (returned in tt)
// and at the eve's; dut1 = UT1 - UTC, seconds, puts the events on UT1's scale (subtract
// dut1 / 86400 from their times for UTC).
PosSoleil::JourSolaire JourneeAuMidi(const PosSoleil::Site& site, const PosSoleil::Ciel& ciel,
                                     int annee, int mois, int jour,
                                     const std::optional<ValeurTEmoinsTU>& impose, double dut1,
                                     ValeurTEmoinsTU& tt);

// The threshold a rise or set crossed, numbered as the faces number them: the four standard
// ones in the order of PosSoleil::Seuil, then the sky's own altitudes in their order
// (NombreSeuils + i); -1 for a culmination.
inline int IndiceSeuil(const PosSoleil::Evenement& e, const PosSoleil::Ciel& ciel) noexcept {
    if (e.type != PosSoleil::TypeEvenement::Montee && e.type != PosSoleil::TypeEvenement::Descente)
        return -1;
    if (e.seuil != PosSoleil::Seuil::Hauteur) return static_cast<int>(e.seuil);
    std::size_t k = 0;
    while (k < ciel.hauteurs.size() && ciel.hauteurs[k] != e.cible) ++k;
    return PosSoleil::NombreSeuils + static_cast<int>(k);
}

// Every date of a year, each the JourneeAuMidi of that date, the Sun's geocentric part computed
// once. tt receives dynamical time - UTC at each date's noon from the eve of the year on (one
// more value than days).
std::vector<PosSoleil::JourSolaire> AnneeAuMidi(const PosSoleil::Site& site,
                                                const PosSoleil::Ciel& ciel, int annee,
                                                const std::optional<ValeurTEmoinsTU>& impose,
                                                double dut1, std::vector<ValeurTEmoinsTU>& tt);

}  // namespace Contrat
