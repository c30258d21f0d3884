// The resident's day of a legal date and of each date of a year.
#include "Residents.h"

namespace Legal {

namespace {

// A calendar date moved by n days.
date::year_month_day Decale(int annee, int mois, int jour, int n) {
    return date::year_month_day(date::sys_days(date::year(annee) / mois / jour) + date::days(n));
}

PosSoleil::JourSolaire JourneeAuMidi(const Lieu& lieu, const date::year_month_day& d,
                                     Contrat::ValeurTEmoinsTU& tt) {
    return Contrat::JourneeAuMidi(lieu.site, lieu.ciel, static_cast<int>(d.year()),
                                  static_cast<int>(unsigned(d.month())),
                                  static_cast<int>(unsigned(d.day())), lieu.impose, lieu.dut1, tt);
}

}  // namespace

long long EcartDuResident(HeureLegale& legal, const PosSoleil::JourSolaire& j,
                          date::year_month_day D, double decalage) {
    for (const PosSoleil::Evenement& e : j.evenements)
        if (e.type == PosSoleil::TypeEvenement::Passage)
            return (date::sys_days(legal.Date(e.t - decalage)) - date::sys_days(D)).count();
    return 0;
}

PosSoleil::JourSolaire JourDuResident(const Lieu& lieu, HeureLegale* legal, int annee, int mois,
                                      int jour, Contrat::ValeurTEmoinsTU& tt, double* midi) {
    if (midi) *midi = PosSoleil::EncodeDateValeur(annee, mois, jour, 12, 0, 0);
    PosSoleil::JourSolaire j =
        Contrat::JourneeAuMidi(lieu.site, lieu.ciel, annee, mois, jour, lieu.impose, lieu.dut1, tt);
    if (!legal) return j;
    // The resident's day: the site's day whose transit falls on the legal date asked.
    const long long ecart =
        EcartDuResident(*legal, j, date::year(annee) / mois / jour, Contrat::Ut1Jours(lieu.dut1));
    if (ecart != 1 && ecart != -1) return j;
    if (midi) *midi -= static_cast<double>(ecart);
    return JourneeAuMidi(lieu, Decale(annee, mois, jour, -static_cast<int>(ecart)), tt);
}

std::vector<PosSoleil::JourSolaire> AnneeDuResident(const Lieu& lieu, HeureLegale* legal, int annee,
                                                    std::vector<Contrat::ValeurTEmoinsTU>& tt) {
    std::vector<PosSoleil::JourSolaire> an =
        Contrat::AnneeAuMidi(lieu.site, lieu.ciel, annee, lieu.impose, lieu.dut1, tt);
    if (!legal) return an;
    // Row D takes the site's day whose transit falls on legal date D: the day of D, or where the
    // zone is far from the site's longitude that of the day before or after (the year's eve and
    // morrow computed for it).
    const int jours = static_cast<int>(an.size());
    const date::sys_days premier = date::year(annee) / 1 / 1;
    std::vector<PosSoleil::JourSolaire> candidats;
    std::vector<Contrat::ValeurTEmoinsTU> ttCandidats;
    const auto seul = [&](date::sys_days d) {
        Contrat::ValeurTEmoinsTU v{};
        candidats.push_back(JourneeAuMidi(lieu, date::year_month_day(d), v));
        ttCandidats.push_back(v);
    };
    seul(premier - date::days(1));
    for (int d = 0; d < jours; ++d) {
        candidats.push_back(an[static_cast<std::size_t>(d)]);
        ttCandidats.push_back(tt[static_cast<std::size_t>(d) + 1]);
    }
    seul(premier + date::days(jours));
    const double ut1 = Contrat::Ut1Jours(lieu.dut1);
    for (int d = 0; d < jours; ++d) {
        const date::year_month_day D = premier + date::days(d);
        for (const std::size_t k : {std::size_t(d) + 1, std::size_t(d), std::size_t(d) + 2}) {
            if (EcartDuResident(*legal, candidats[k], D, ut1) == 0) {
                an[static_cast<std::size_t>(d)] = candidats[k];
                tt[static_cast<std::size_t>(d) + 1] = ttCandidats[k];
                break;
            }
        }
    }
    return an;
}

}  // namespace Legal
