// The solar day in the computer's legal time, as the windows show it: the resident's date of an
// instant, the resident's day of a legal date and of each date of a year (from the time layer),
// and the texts of instants in UTC and legal time.
#pragma once

#include <QDate>
#include <QString>
#include <vector>

#include "PosSoleil.h"

namespace Unit5 {

// The resident's date of a UTC instant: its date in the computer's legal time.
QDate JourDuResident(double t);

// The legal date of a day's transit in the computer's legal time; invalid without a transit.
QDate DateDuPassage(const PosSoleil::JourSolaire& jour);

// The resident's day of a legal date: the site's day (its mean solar day, see DebutJournee)
// whose transit falls on that date in the computer's legal time; and each date's of a year.
// Both are the time layer's (Legal::JourDuResident, Legal::AnneeDuResident) in the computer's
// zone, with the windows' own dynamical time - UTC.
PosSoleil::JourSolaire JourneeDuResident(QDate date, const PosSoleil::Site& site,
                                         const PosSoleil::Ciel& ciel, double TEmoinsTU);
std::vector<PosSoleil::JourSolaire> AnneeDuResident(int annee, const PosSoleil::Site& site,
                                                    const PosSoleil::Ciel& ciel, double TEmoinsTU);

// A UTC date-time value as "YYYY-MM-DD HH:MM:SS", rounded to the second, and the same instant
// in the computer's legal time with its zone's abbreviation.
QString TexteUTC(double t);
QString TexteLegal(double t);

}  // namespace Unit5
