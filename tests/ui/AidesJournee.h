// What the tests of the solar day's and year's windows share: the text the day's window must
// copy, built from the engine's events, and the main window put on a site or a date.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QtTest>
#include <cmath>

#include "MaskEdit.h"
#include "PosSoleil.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit5.h"

namespace AidesJournee {

// Degrees, minutes and seconds rounded as a whole to the second: 151°11'59.6" is 151°12'00".
inline QString DmsArrondi(double angle) {
    const qint64 s = qRound64(std::fabs(angle) * 3600);
    return QStringLiteral("%1%2°%3'%4\"")
        .arg(angle < 0 && s != 0 ? QLatin1Char('-') : QLatin1Char(' '))
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// The text the window must copy, built here from the engine's events: the site line and the
// date, one line per event (name, UTC, legal time, azimuth or altitude), the thresholds never
// crossed, the day length.
inline QString TexteAttendu(const QString& site, const QDate& date, double longitude,
                            double latitude, const QStringList& etats) {
    const PosSoleil::JourSolaire j = PosSoleil::JourneeSolaire(
        date.year(), date.month(), date.day(), {longitude, latitude, 0}, Unit3::TEmoinsTU);
    QString texte = site + QLatin1Char('\t') + date.toString(Qt::ISODate) + QStringLiteral("\r\n");
    for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
        const PosSoleil::Evenement& e = j.evenements[i];
        const bool culmination = e.type == PosSoleil::TypeEvenement::Passage ||
                                 e.type == PosSoleil::TypeEvenement::PassageInferieur;
        const QDateTime utc =
            QDateTime::fromSecsSinceEpoch(qRound64((e.t - 25569.0) * 86400.0), QTimeZone::utc());
        const QDateTime legal = utc.toLocalTime();
        texte += Unit5::NomEvenement(e) + QLatin1Char('\t') +
                 utc.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('\t') +
                 legal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
                 legal.timeZoneAbbreviation() + QLatin1Char('\t') +
                 DmsArrondi(culmination ? e.hauteur : e.azimut) + QStringLiteral("\r\n");
    }
    for (const QString& etat : etats) texte += etat + QStringLiteral("\r\n");
    const auto hms = [](double heures) {
        const qint64 s = qRound64(std::fabs(heures) * 3600);
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600, 2, 10, QLatin1Char('0'))
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    };
    texte += QStringLiteral("Durée du jour\t") + hms(j.duree) + QLatin1Char('\t') +
             (hms(j.variationDuree) != QStringLiteral("00:00:00") && j.variationDuree < 0
                  ? QStringLiteral("-")
                  : QStringLiteral("+")) +
             hms(j.variationDuree) + QStringLiteral("\r\n");
    return texte;
}

inline void ChangeSite(const QString& longitude, const QString& latitude) {
    Unit1::EphPosition->LongEdit->setText(longitude);
    Unit1::EphPosition->LatEdit->setText(latitude);
}

// The main window on a date of its own choosing, then the solar day's window opened from its
// menu: true once it shows.
inline bool OuvreJourneeAu(QDate date) {
    Unit1::EphPosition->ButtonMan->click();
    Unit1::EphPosition->DatePicker->setDate(date);
    Unit1::EphPosition->Journee1->trigger();
    return QTest::qWaitFor([] { return Unit5::Journee->isVisible(); });
}

// Before each test: the start-up site, East and North, and the windows' time difference.
inline void RemetLeSite() {
    Unit1::EphPosition->RadioEst->setChecked(true);
    Unit1::EphPosition->RadioNord->setChecked(true);
    ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    Unit3::TEmoinsTU = 64.184;
}

}  // namespace AidesJournee
