#include "JourneeLegale.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <optional>
#include <string>

#include "Residents.h"

namespace Unit5 {

namespace {

// A date-time value to a QDateTime in UTC, rounded to the second.
QDateTime EnUTC(double t) {
    const double secondes =
        std::round((t - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour);
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(secondes), QTimeZone::utc());
}

}  // namespace

// The computer's legal time from the time layer, its zone the one Qt names the system's
// (TZ or /etc/localtime); made again when that zone changes, UTC for a name the time-zone
// database does not hold.
Legal::HeureLegale& HeureDuSysteme() {
    static std::string nom;
    static std::optional<Legal::HeureLegale> legal;
    const std::string zone = QTimeZone::systemTimeZoneId().toStdString();
    if (!legal || zone != nom) {
        nom = zone;
        try {
            legal.emplace(zone.empty() ? std::string("UTC") : zone);
        } catch (const std::exception&) {
            legal.emplace("UTC");
        }
    }
    return *legal;
}

Legal::Lieu LieuDe(const PosSoleil::Site& site, const PosSoleil::Ciel& ciel, double TEmoinsTU) {
    return {site, ciel, Contrat::ValeurTEmoinsTU{TEmoinsTU, Contrat::SourceTEmoinsTU::TtUtc}, 0};
}

QDate JourDuResident(double t) {
    // Rounded to the second, as the windows show instants.
    const date::year_month_day d = HeureDuSysteme().Date(
        EnUTC(t).toSecsSinceEpoch() / PosSoleil::SecondesParJour + PosSoleil::JoursAvantUnix);
    return QDate(static_cast<int>(d.year()), static_cast<int>(unsigned(d.month())),
                 static_cast<int>(unsigned(d.day())));
}

QDate DateDuPassage(const PosSoleil::JourSolaire& jour) {
    for (const PosSoleil::Evenement& e : jour.evenements)
        if (e.type == PosSoleil::TypeEvenement::Passage) return JourDuResident(e.t);
    return {};
}

PosSoleil::JourSolaire JourneeDuResident(QDate date, const PosSoleil::Site& site,
                                         const PosSoleil::Ciel& ciel, double TEmoinsTU) {
    Contrat::ValeurTEmoinsTU tt{};
    return Legal::JourDuResident(LieuDe(site, ciel, TEmoinsTU), &HeureDuSysteme(), date.year(),
                                 date.month(), date.day(), tt);
}

std::vector<PosSoleil::JourSolaire> AnneeDuResident(int annee, const PosSoleil::Site& site,
                                                    const PosSoleil::Ciel& ciel, double TEmoinsTU) {
    std::vector<Contrat::ValeurTEmoinsTU> tt;
    return Legal::AnneeDuResident(LieuDe(site, ciel, TEmoinsTU), &HeureDuSysteme(), annee, tt);
}

QString TexteUTC(double t) {
    return EnUTC(t).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString TexteLegal(double t) {
    const QDateTime legal = EnUTC(t).toLocalTime();
    return legal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + legal.timeZoneAbbreviation();
}

}  // namespace Unit5
