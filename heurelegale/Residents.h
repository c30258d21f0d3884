// The resident's days: where legal time is in force, the day of a legal date is the site's day
// whose transit falls on that date, which may be the site's day before or after where the zone
// is far from the site's longitude (Kiritimati, Samoa, Tonga). One date or a whole year, for
// every face that shows days in legal time.
#pragma once

#include <optional>
#include <vector>

#include "HeureLegale.h"
#include "Journees.h"
#include "PosSoleil.h"
#include "TempsDynamique.h"

namespace Legal {

// What a site's days are computed from: the site and its sky, dynamical time - UTC when the
// caller imposes it (the contract's model otherwise), and UT1 - UTC in seconds, which puts the
// events on UT1's scale.
struct Lieu {
    PosSoleil::Site site;
    PosSoleil::Ciel ciel;
    std::optional<Contrat::ValeurTEmoinsTU> impose;
    double dut1 = 0;
};

// How many days the legal date of a day's transit lies after date D (0 without a transit): the
// resident's day of D is the one for which it is 0. `decalage`, days, is taken from the events'
// times first (UT1 - UTC for a day on UT1's scale).
long long EcartDuResident(HeureLegale& legal, const PosSoleil::JourSolaire& j,
                          date::year_month_day D, double decalage = 0);

// The day of one date: without legal time (legal null) the site's day of that date; in legal
// time the resident's. Events on UT1's scale, tt at the noon of the date computed, whose noon
// (a UTC date-time value) goes to `midi` if asked.
PosSoleil::JourSolaire JourDuResident(const Lieu& lieu, HeureLegale* legal, int annee, int mois,
                                      int jour, Contrat::ValeurTEmoinsTU& tt,
                                      double* midi = nullptr);

// The days of a year: row D the JourDuResident of date D, with tt at each date's noon from the
// eve on (one more value than days). Events on UT1's scale.
std::vector<PosSoleil::JourSolaire> AnneeDuResident(const Lieu& lieu, HeureLegale* legal, int annee,
                                                    std::vector<Contrat::ValeurTEmoinsTU>& tt);

}  // namespace Legal
