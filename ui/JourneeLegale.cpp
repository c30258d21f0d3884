#include "JourneeLegale.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>

namespace Unit5 {

namespace {

// A date-time value to a QDateTime in UTC, rounded to the second.
QDateTime EnUTC(double t) {
    const double secondes =
        std::round((t - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour);
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(secondes), QTimeZone::utc());
}

}  // namespace

QDate JourDuResident(double t) {
    return EnUTC(t).toLocalTime().date();
}

QDate DateDuPassage(const PosSoleil::JourSolaire& jour) {
    for (const PosSoleil::Evenement& e : jour.evenements)
        if (e.type == PosSoleil::TypeEvenement::Passage) return JourDuResident(e.t);
    return {};
}

PosSoleil::JourSolaire JourneeDuResident(QDate date, const PosSoleil::Site& site,
                                         const PosSoleil::Ciel& ciel, double TEmoinsTU) {
    PosSoleil::JourSolaire jour =
        PosSoleil::JourneeSolaire(date.year(), date.month(), date.day(), site, ciel, TEmoinsTU);
    // The site's day is its mean solar day; the resident's date D names the one whose transit
    // falls on legal date D: where the zone is far from the site's longitude, the day before or
    // after.
    const QDate passage = DateDuPassage(jour);
    const qint64 ecart = passage.isValid() ? date.daysTo(passage) : 0;
    if (ecart == 1 || ecart == -1) {
        const QDate autre = date.addDays(-ecart);
        jour = PosSoleil::JourneeSolaire(autre.year(), autre.month(), autre.day(), site, ciel,
                                         TEmoinsTU);
    }
    return jour;
}

QString TexteUTC(double t) {
    return EnUTC(t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString TexteLegal(double t) {
    const QDateTime legal = EnUTC(t).toLocalTime();
    return legal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + legal.timeZoneAbbreviation();
}

}  // namespace Unit5
