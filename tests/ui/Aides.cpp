#include "Aides.h"

#include <QProcessEnvironment>
#include <QTest>
#include <QTimer>

#include "Fenetres.h"
#include "PosSoleil.h"
#include "RapportErreur.h"
#include "Unit1.h"

namespace Aides {

namespace {
QStringList& Journal() {
    static QStringList journal;
    return journal;
}
}  // namespace

void CreeFenetres() {
    // Once for the program, whose test classes then share the windows.
    if (Unit1::EphPosition) return;
    RapportErreur::Remplace([](const QString& texte) { Journal() << texte; });
    Fenetres::PrepareApplication();
    Fenetres::CreeFenetres();
}

bool CreeEtMontrePrincipale() {
    CreeFenetres();
    Unit1::EphPosition->Timer1->stop();
    Unit1::EphPosition->show();
    return QTest::qWaitForWindowExposed(Unit1::EphPosition);
}

QStringList Erreurs() {
    QStringList erreurs;
    erreurs.swap(Journal());
    return erreurs;
}

void FixeHorloge(const QDateTime& instant) {
    Unit1::EphPosition->Horloge = [instant] { return instant; };
    Unit1::EphPosition->Timer1Timer();
}

QString SeparateurAttendu() {
    return QProcessEnvironment::systemEnvironment().value(
        QStringLiteral("ORVANEL_SEPARATEUR_ATTENDU"), QStringLiteral("."));
}

Position Calcule(const QDateTime& t, double longitude, double latitude, double TEmoinsTU) {
    Position p{};
    double l = 0, e = 0;
    const QDate d = t.date();
    const QTime h = t.time();
    PosSoleil::CalculPosition(d.year(), d.month(), d.day(), h.hour(), h.minute(),
                              h.second() + h.msec() / 1000.0, longitude, latitude, 0, TEmoinsTU, l,
                              p.rayon, p.ascensionDroite, p.declinaison, p.azimut, p.hauteur, e);
    return p;
}

QString DMS(double angle, int decimals) {
    return QString::fromStdString(
        PosSoleil::DegVersDMS(angle, decimals, SeparateurAttendu().toStdString()));
}

QString HMS(double angle, int decimals) {
    return QString::fromStdString(
        PosSoleil::DegVersHMS(angle, decimals, SeparateurAttendu().toStdString()));
}

}  // namespace Aides
