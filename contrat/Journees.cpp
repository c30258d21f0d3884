#include "Journees.h"

namespace Contrat {

PosSoleil::JourSolaire JourneeAuMidi(const PosSoleil::Site& site, const PosSoleil::Ciel& ciel,
                                     int annee, int mois, int jour,
                                     const std::optional<ValeurTEmoinsTU>& impose, double dut1,
                                     ValeurTEmoinsTU& tt) {
    const double midi = PosSoleil::EncodeDateValeur(annee, mois, jour, 12, 0, 0);
    tt = TEmoinsTUEnVigueur(impose, midi);
    return PosSoleil::JourneeSolaire(annee, mois, jour, site, ciel, tt.secondes - dut1,
                                     TEmoinsTUEnVigueur(impose, midi - 1).secondes - dut1);
}

std::vector<PosSoleil::JourSolaire> AnneeAuMidi(const PosSoleil::Site& site,
                                                const PosSoleil::Ciel& ciel, int annee,
                                                const std::optional<ValeurTEmoinsTU>& impose,
                                                double dut1, std::vector<ValeurTEmoinsTU>& tt) {
    const int jours = PosSoleil::AnneeBissextile(annee) ? 366 : 365;
    tt.clear();
    std::vector<double> secondes;
    // Day 0 of January is the eve of the year.
    for (int d = 0; d <= jours; ++d) {
        tt.push_back(
            TEmoinsTUEnVigueur(impose, PosSoleil::EncodeDateValeur(annee, 1, d, 12, 0, 0)));
        secondes.push_back(tt.back().secondes - dut1);
    }
    return PosSoleil::AnneeSolaire(annee, site, ciel, secondes);
}

}  // namespace Contrat
