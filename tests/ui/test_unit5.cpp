// The solar day's window: opened from the menu, on the main window's date, recomputed when the
// site changes, and its copied text, whole, against the engine's events.
#include <cmath>
#include <ctime>

#include <QCheckBox>
#include <QRegularExpression>
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QtTest>

#include "Aides.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "Tableau.h"
#include "Unit1.h"
#include "Unit3.h"
#include "RapportErreur.h"
#include "Unit5.h"
#include "Unit6.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

using Unit5::Journee;

namespace {

// Degrees, minutes and seconds rounded as a whole to the second: 151°11'59.6" is 151°12'00".
QString DmsArrondi(double angle) {
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
QString TexteAttendu(const QString& site, const QDate& date, double longitude, double latitude,
                     const QStringList& etats) {
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

void ChangeSite(const QString& longitude, const QString& latitude) {
    Unit1::EphPosition->LongEdit->setText(longitude);
    Unit1::EphPosition->LatEdit->setText(latitude);
}

// The main window on a date of its own choosing, then the solar day's window opened from its
// menu: true once it shows.
bool OuvreJourneeAu(QDate date) {
    Unit1::EphPosition->ButtonMan->click();
    Unit1::EphPosition->DatePicker->setDate(date);
    Unit1::EphPosition->Journee1->trigger();
    return QTest::qWaitFor([] { return Unit5::Journee->isVisible(); });
}

}  // namespace

class TestUnit5 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void init() {
        Unit1::EphPosition->RadioEst->setChecked(true);
        Unit1::EphPosition->RadioNord->setChecked(true);
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
        Unit3::TEmoinsTU = 64.184;
    }

    void menuCommandAfterTheSpecifiedOnes() {
        const QList<QAction*> commandes = Unit1::EphPosition->menuBar()->actions();
        QCOMPARE(commandes.size(), 4);
        QCOMPARE(commandes[0]->text(), QStringLiteral("&Génération"));
        QCOMPARE(commandes[1]->text(), QStringLiteral("&ET && UT"));
        QCOMPARE(commandes[2]->text(), QStringLiteral("&A Propos"));
        QCOMPARE(commandes[3]->text(), QStringLiteral("&Journée"));
    }

    void opensOnTheMainWindowsDate() {
        Unit1::EphPosition->ButtonMan->click();
        Unit1::EphPosition->DatePicker->setDate(QDate(2026, 6, 21));
        Unit1::EphPosition->activateWindow();
        QTRY_VERIFY(Unit1::EphPosition->isActiveWindow());
        QTest::keyClick(Unit1::EphPosition, Qt::Key_J, Qt::AltModifier);
        QTRY_VERIFY(Journee->isVisible());
        QCOMPARE(Journee->windowTitle(), QStringLiteral("Journée solaire"));
        QCOMPARE(Journee->DatePicker->date(), QDate(2026, 6, 21));
        // Opened again on another date: the same window, on the new date.
        Journee->hide();
        Unit1::EphPosition->DatePicker->setDate(QDate(2026, 12, 8));
        Unit1::EphPosition->Journee1->trigger();
        QTRY_VERIFY(Journee->isVisible());
        QCOMPARE(Journee->DatePicker->date(), QDate(2026, 12, 8));
        int fenetres = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            fenetres += qobject_cast<TJournee*>(w) != nullptr;
        QCOMPARE(fenetres, 1);
    }

    void copiedTextWholeAndByShortcut() {
        Unit1::EphPosition->Journee1->trigger();
        QApplication::clipboard()->clear();
        QTest::mouseClick(Journee->Copier, Qt::LeftButton);
        const QString attendu =
            TexteAttendu(QStringLiteral("Longitude E  02°01'49\", Latitude N  42°29'48\""),
                         QDate(2026, 12, 8), 2.0302777777777776, 42.49666666666667, {});
        QCOMPARE(QApplication::clipboard()->text(), attendu);
        QApplication::clipboard()->clear();
        Journee->activateWindow();
        QTRY_VERIFY(Journee->isActiveWindow());
        QTest::keyClick(Journee->Liste, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), attendu);
        // In the date picker too, which would otherwise copy its own text.
        QApplication::clipboard()->clear();
        Journee->DatePicker->setFocus();
        QTRY_VERIFY(Journee->DatePicker->hasFocus());
        QTest::keyClick(Journee->DatePicker, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), attendu);
    }

    void aChangeOfSiteRecomputesTheEvents() {
        Unit1::EphPosition->Journee1->trigger();
        const QString avant = Journee->TexteEvenements();
        Unit1::EphPosition->RadioOuest->click();  // the hemisphere alone moves the site
        QVERIFY(Journee->TexteEvenements() != avant);
        QVERIFY(Journee->TexteEvenements().startsWith(QStringLiteral("Longitude O  02°01'49\"")));
        Unit1::EphPosition->RadioEst->click();
        ChangeSite(QStringLiteral("010°00'00\""), QStringLiteral("42°29'48\""));
        QCOMPARE(Journee->TexteEvenements(),
                 TexteAttendu(QStringLiteral("Longitude E  10°00'00\", Latitude N  42°29'48\""),
                              QDate(2026, 12, 8), 10.0, 42.49666666666667, {}));
        // And the time difference from the ET-UT dialog.
        const QString avantTet = Journee->TexteEvenements();
        Unit3::TEmoinsTU = 3600;
        Unit1::EphPosition->MiseAJour();
        QVERIFY(Journee->TexteEvenements() != avantTet);
    }

    void polarDayAndNightInWords() {
        struct Cas {
            QDate date;
            QStringList etats;
        };
        const Cas cas[] = {
            {QDate(2026, 6, 21),
             {QStringLiteral("Jour polaire : le Soleil ne se couche pas"),
              QStringLiteral("Pas de nuit civile : le Soleil reste au-dessus de -6°"),
              QStringLiteral("Pas de nuit nautique : le Soleil reste au-dessus de -12°"),
              QStringLiteral("Pas de nuit astronomique : le Soleil reste au-dessus de -18°")}},
            {QDate(2026, 12, 21), {QStringLiteral("Nuit polaire : le Soleil ne se lève pas")}},
        };
        ChangeSite(QStringLiteral("018°57'00\""), QStringLiteral("69°39'00\""));  // Tromsø
        for (const Cas& c : cas) {
            Unit1::EphPosition->DatePicker->setDate(c.date);
            Unit1::EphPosition->Journee1->trigger();
            // The site as typed: 18°57' is not written 18°56'60".
            const QString site = QStringLiteral("Longitude E  18°57'00\", Latitude N  69°39'00\"");
            QCOMPARE(Journee->TexteEvenements(),
                     TexteAttendu(site, c.date, Unit1::Longitude, Unit1::Latitude, c.etats));
            QCOMPARE(Journee->Liste->topLevelItem(Journee->Liste->topLevelItemCount() - 1)->text(0),
                     c.etats.last());
        }
    }

    void liveModeOpensOnTheClocksDate() {
        // Just after start the main window's picker may still show its default date for up to
        // a second; the solar day takes the clock's.
        Unit1::EphPosition->ButtonAuto->click();
        Unit1::EphPosition->Timer1->start();
        {
            const QSignalBlocker bloque(Unit1::EphPosition->DatePicker);
            Unit1::EphPosition->DatePicker->setDate(QDate(2000, 3, 1));
        }
        Unit1::DerniereSeconde = 0;
        Aides::FixeHorloge(QDateTime(QDate(2026, 12, 8), QTime(9, 30, 0), QTimeZone::utc()));
        QCOMPARE(Unit1::EphPosition->DatePicker->date(), QDate(2000, 3, 1));  // not yet caught up
        Unit1::EphPosition->Journee1->trigger();
        QCOMPARE(Journee->DatePicker->date(), QDate(2026, 12, 8));
        Unit1::EphPosition->Timer1->stop();
    }

    void liveModeOpensOnTheResidentsDate() {
        // The window names its day by the resident's date (the computer's legal date, here
        // Europe/Paris) and shows the site's day whose transit falls on it: the Sun's dot when
        // the instant lies in that day.
        struct Cas {
            QString longitude;
            bool ouest;
            QDateTime maintenant;
            QDate jour;
            bool point;
        };
        const Cas cas[] = {
            {QStringLiteral("074°00'00\""), true,
             QDateTime(QDate(2026, 12, 9), QTime(4, 8), QTimeZone::utc()), QDate(2026, 12, 9),
             false},
            {QStringLiteral("179°30'00\""), true,
             QDateTime(QDate(2026, 12, 9), QTime(11, 50), QTimeZone::utc()), QDate(2026, 12, 9),
             true},
            {QStringLiteral("150°00'00\""), false,
             QDateTime(QDate(2026, 12, 8), QTime(22, 0), QTimeZone::utc()), QDate(2026, 12, 8),
             false},
            {QStringLiteral("002°01'49\""), false,
             QDateTime(QDate(2026, 12, 8), QTime(12, 0), QTimeZone::utc()), QDate(2026, 12, 8),
             true},
        };
        for (const Cas& c : cas) {
            Journee->hide();
            (c.ouest ? Unit1::EphPosition->RadioOuest : Unit1::EphPosition->RadioEst)->click();
            ChangeSite(c.longitude, QStringLiteral("42°29'48\""));
            Unit1::EphPosition->ButtonAuto->click();
            Aides::FixeHorloge(c.maintenant);
            Unit1::EphPosition->Journee1->trigger();
            QCOMPARE(Journee->DatePicker->date(), c.jour);
            QCOMPARE(Journee->Trajectoire->SoleilVisible(), c.point);
        }
        Unit1::EphPosition->Timer1->stop();
    }

    // A resident of Kiritimati (UTC+14 at 157° W): the window opens on the resident's date and
    // its rise, transit and set carry that legal date.
    void kiritimatiSeesItsOwnDate() {
        const QByteArray tz = qgetenv("TZ");
        qputenv("TZ", "Pacific/Kiritimati");
        tzset();
        Journee->hide();
        Unit1::EphPosition->RadioOuest->click();
        ChangeSite(QStringLiteral("157°24'00\""), QStringLiteral("01°52'12\""));
        Unit1::EphPosition->ButtonAuto->click();
        Aides::FixeHorloge(QDateTime(QDate(2026, 12, 9), QTime(16, 0), QTimeZone::utc()));
        Unit1::EphPosition->Journee1->trigger();
        QCOMPARE(Journee->DatePicker->date(), QDate(2026, 12, 10));
        int vus = 0;
        for (int i = 0; i < Journee->Liste->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* ligne = Journee->Liste->topLevelItem(i);
            if (ligne->text(0) == QStringLiteral("Lever") ||
                ligne->text(0) == QStringLiteral("Passage au méridien") ||
                ligne->text(0) == QStringLiteral("Coucher")) {
                QVERIFY2(ligne->text(2).startsWith(QStringLiteral("2026-12-10")),
                         qPrintable(ligne->text(2)));
                ++vus;
            }
        }
        QCOMPARE(vus, 3);
        // The year: row D holds the day whose transit falls on legal date D, every date.
        const DonneesAnnee d =
            CalculeAnnee(2026, {Unit1::Longitude, Unit1::Latitude, 0}, Unit3::TEmoinsTU,
                         PosSoleil::Ciel{}, Unit1::SeparateurDecimal());
        for (int i = 0; i < d.dates.size(); ++i)
            for (const PosSoleil::Evenement& e : d.jours[static_cast<std::size_t>(i)].evenements)
                if (e.type == PosSoleil::TypeEvenement::Passage)
                    QCOMPARE(Unit5::JourDuResident(e.t), d.dates[i]);
        // And the year picture's transit line lies near legal noon, not on its 24 h edge.
        for (const double passage : d.passages)
            QVERIFY2(passage > 11 && passage < 14, qPrintable(QString::number(passage)));
        Unit1::EphPosition->Timer1->stop();
        qputenv("TZ", tz);
        tzset();
        Unit1::EphPosition->RadioEst->click();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    void dotAndDayFollowTheMainWindowInManualMode() {
        Unit1::EphPosition->ButtonAuto->click();
        Aides::FixeHorloge(QDateTime(QDate(2026, 12, 8), QTime(12, 0), QTimeZone::utc()));
        Unit1::EphPosition->ButtonMan->click();
        Unit1::EphPosition->Journee1->trigger();
        QCOMPARE(Journee->DatePicker->date(), QDate(2026, 12, 8));
        const PosSoleil::Site site{2.0302777777777776, 42.49666666666667, 0};
        for (const QTime heure : {QTime(9, 15, 0), QTime(15, 40, 30)}) {
            Unit1::EphPosition->TimePicker->setTime(heure);  // as a user's change
            QVERIFY(Journee->Trajectoire->SoleilVisible());
            const PosSoleil::Position p = PosSoleil::PositionSoleil(
                PosSoleil::EncodeDateValeur(2026, 12, 8, heure.hour(), heure.minute(),
                                            heure.second()),
                site, Unit3::TEmoinsTU);
            QCOMPARE(Journee->Trajectoire->Soleil().azimut, p.Azimut);
        }
        // Another date in the main window: the solar day follows it.
        Unit1::EphPosition->DatePicker->setDate(QDate(2027, 3, 20));
        QCOMPARE(Journee->DatePicker->date(), QDate(2027, 3, 20));
        QVERIFY(Journee->Trajectoire->SoleilVisible());
        // A date chosen here stays while the main window's day does not change.
        Journee->DatePicker->setDate(QDate(2027, 6, 21));
        Unit1::EphPosition->TimePicker->setTime(QTime(10, 0, 0));
        QCOMPARE(Journee->DatePicker->date(), QDate(2027, 6, 21));
        QVERIFY(!Journee->Trajectoire->SoleilVisible());
        Unit1::EphPosition->ButtonAuto->click();
        Unit1::EphPosition->Timer1->stop();
    }

    void noNegativeZeroInTheDayLengthsChange() {
        // Near the equator the day length barely changes: find a day whose change is a
        // fraction of a second below zero, and check that it is written without a sign of its own.
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("01°00'00\""));
        const PosSoleil::Site site{Unit1::Longitude, Unit1::Latitude, 0};
        QDate trouve;
        for (QDate d(2026, 1, 1); d <= QDate(2026, 12, 31) && !trouve.isValid(); d = d.addDays(1)) {
            const double v =
                PosSoleil::JourneeSolaire(d.year(), d.month(), d.day(), site, Unit3::TEmoinsTU)
                    .variationDuree;
            if (std::fabs(v) * 3600 < 0.5 && v < 0) trouve = d;
        }
        QVERIFY(trouve.isValid());
        Unit1::EphPosition->ButtonMan->click();
        Unit1::EphPosition->DatePicker->setDate(trouve);
        Unit1::EphPosition->Journee1->trigger();
        QVERIFY(Journee->DureeLabel->text().contains(QStringLiteral("(+00:00:00 ")));
        QVERIFY(Journee->TexteEvenements().endsWith(QStringLiteral("\t+00:00:00\r\n")));
        Unit1::EphPosition->ButtonAuto->click();
        Unit1::EphPosition->Timer1->stop();
    }

    void everyWindowFitsAnSvgaScreen() {
        // This test program's screen is 800 x 600, the smallest screens still in use.
        const QRect ecran = QApplication::primaryScreen()->availableGeometry();
        QCOMPARE(ecran.size(), QSize(800, 600));
        Unit1::EphPosition->Journee1->trigger();
        Journee->OuvrirAnnee->click();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isWindow() || w->objectName().isEmpty()) continue;
            QVERIFY2(ecran.contains(w->geometry()), qPrintable(w->objectName()));
        }
    }

    void pictureSaysWhatItShowsAtEverySize() {
        // Titled axes, a legend for the day's and the three reference paths, the note that the
        // hours are legal time; no text over another or outside the picture, in either view.
        struct Cas {
            QString latitude;
            bool sud;
            QDate date;
            QString heures;
        };
        const Cas cas[] = {
            {QStringLiteral("48°51'00\""), false, QDate(2026, 12, 8),
             QStringLiteral("heure légale CET")},
            {QStringLiteral("33°52'00\""), true, QDate(2026, 12, 8),
             QStringLiteral("heure légale CET")},
            // Legal time goes back at 03:00 CEST: 2 h comes twice and each says its zone.
            {QStringLiteral("48°51'00\""), false, QDate(2026, 10, 25),
             QStringLiteral("heure légale CEST puis CET")},
        };
        Unit1::EphPosition->ButtonMan->click();
        for (const Cas& c : cas) {
            (c.sud ? Unit1::EphPosition->RadioSud : Unit1::EphPosition->RadioNord)->click();
            ChangeSite(QStringLiteral("002°21'00\""), c.latitude);
            Unit1::EphPosition->TimePicker->setTime(QTime(12, 0));
            Unit1::EphPosition->DatePicker->setDate(c.date);
            Unit1::EphPosition->Journee1->trigger();
            TTrajectoire* t = Journee->Trajectoire;
            for (const QSize taille : {t->minimumSize(), t->sizeHint(), QSize(1600, 900)}) {
                t->resize(taille);
                const auto etiquettes = t->Etiquettes();
                QStringList textes;
                for (int i = 0; i < etiquettes.size(); ++i) {
                    textes << etiquettes[i].texte;
                    QVERIFY2(QRectF(t->rect())
                                 .adjusted(-0.5, -0.5, 0.5, 0.5)
                                 .contains(etiquettes[i].cadre),
                             qPrintable(etiquettes[i].texte));
                    for (int j = i + 1; j < etiquettes.size(); ++j)
                        QVERIFY2(!etiquettes[i].cadre.intersects(etiquettes[j].cadre),
                                 qPrintable(etiquettes[i].texte + QStringLiteral(" / ") +
                                            etiquettes[j].texte));
                }
                for (const QString& attendu :
                     {QStringLiteral("Hauteur (°)"), QStringLiteral("Azimut"),
                      QStringLiteral("jour affiché"), QStringLiteral("21 juin"),
                      QStringLiteral("21 décembre"), QStringLiteral("20 mars"),
                      QStringLiteral("• heures : ") + c.heures})
                    QVERIFY2(textes.contains(attendu), qPrintable(attendu));
                if (taille == QSize(1600, 900) && c.date.month() == 10) {
                    QVERIFY(textes.contains(QStringLiteral("2h CEST")));
                    QVERIFY(textes.contains(QStringLiteral("2h CET")));
                    QVERIFY(!textes.contains(QStringLiteral("2h")));
                }
            }
        }
        Unit1::EphPosition->RadioNord->click();
        Unit1::EphPosition->ButtonAuto->click();
        Unit1::EphPosition->Timer1->stop();
    }

    void sunDotOnlyOnTheShownDay() {
        const QDateTime maintenant(QDate(2026, 12, 8), QTime(12, 0), QTimeZone::utc());
        Unit1::EphPosition->ButtonAuto->click();
        Unit1::DerniereSeconde = 61;  // the pickers follow this reading of the clock
        Aides::FixeHorloge(maintenant);
        Unit1::EphPosition->Timer1->start();
        Unit1::EphPosition->Journee1->trigger();
        QTRY_VERIFY(Journee->Trajectoire->SoleilVisible());
        const PosSoleil::Position p =
            PosSoleil::PositionSoleil(PosSoleil::EncodeDateValeur(2026, 12, 8, 12, 0, 0),
                                      {2.0302777777777776, 42.49666666666667, 0}, Unit3::TEmoinsTU);
        QCOMPARE(Journee->Trajectoire->Soleil().hauteur, p.Hauteur);
        Journee->DatePicker->setDate(QDate(2026, 12, 9));  // another day: no dot
        QTest::qWait(300);
        QTRY_VERIFY(!Journee->Trajectoire->SoleilVisible());
        Unit1::EphPosition->Timer1->stop();
    }

    // The azimuths follow the main window's « Ref. Sud », and the column says from where.
    void azimuthsFollowTheSouthReference() {
        QVERIFY(OuvreJourneeAu(QDate(2026, 6, 21)));
        const PosSoleil::JourSolaire j = PosSoleil::JourneeSolaire(
            2026, 6, 21, {Unit1::Longitude, Unit1::Latitude, 0}, Unit3::TEmoinsTU);
        const auto lever = std::find_if(j.evenements.begin(), j.evenements.end(),
                                        [](const PosSoleil::Evenement& e) {
                                            return e.type == PosSoleil::TypeEvenement::Montee &&
                                                   e.seuil == PosSoleil::Seuil::LeverCoucher;
                                        });
        QVERIFY(lever != j.evenements.end());
        const auto azimutLever = [] {
            for (int i = 0; i < Journee->Liste->topLevelItemCount(); ++i)
                if (Journee->Liste->topLevelItem(i)->text(0) == QStringLiteral("Lever"))
                    return Journee->Liste->topLevelItem(i)->text(3);
            return QString();
        };
        const auto dms = [](double angle) {
            return QString::fromStdString(Tableau::TexteDMS(angle, 0, "."));
        };
        QCOMPARE(Journee->Liste->headerItem()->text(3), QStringLiteral("Azimut (nord) / hauteur"));
        QCOMPARE(azimutLever(), dms(lever->azimut));
        Unit1::EphPosition->RefCheck->click();
        QTRY_COMPARE(Journee->Liste->headerItem()->text(3),
                     QStringLiteral("Azimut (sud) / hauteur"));
        QCOMPARE(azimutLever(), dms(lever->azimut - 180));
        QVERIFY(Journee->TexteEvenements().contains(dms(lever->azimut - 180)));
        Unit1::EphPosition->RefCheck->click();
        QTRY_COMPARE(azimutLever(), dms(lever->azimut));
    }

    // The year window follows the day window's sky and the main window's site, the day window
    // shown or not, and says which it shows.
    void theYearFollowsTheSiteAndTheSky() {
        QVERIFY(OuvreJourneeAu(QDate(2026, 6, 21)));
        Journee->OuvrirAnnee->click();
        QTRY_VERIFY(Journee->Annee && Journee->Annee->isVisible());
        TAnnee* annee = Journee->Annee;
        QTemporaryDir dossier;
        QFile f(dossier.filePath(QStringLiteral("colline.csv")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("azimuth,altitude\n90,5\n180,2\n270,8\n");
        f.close();
        QCOMPARE(Journee->ChargeHorizon(f.fileName()), QString());
        QCOMPARE(annee->Ciel().horizon.size(), 3u);
        QVERIFY2(
            annee->DescriptionLabel->text().contains(QStringLiteral("ligne d'horizon de 3 points")),
            qPrintable(annee->DescriptionLabel->text()));
        Journee->RetirerHorizon->click();
        QVERIFY(annee->Ciel().horizon.empty());
        QVERIFY(annee->DescriptionLabel->text().contains(QStringLiteral("horizon plat")));
        // A new site in the main window, the day window closed: the year moves to it.
        Journee->close();
        ChangeSite(QStringLiteral("010°00'00\""), QStringLiteral("45°00'00\""));
        QCOMPARE(annee->Site().Latitude, 45.0);
        QVERIFY2(annee->DescriptionLabel->text().contains(QStringLiteral("45°00'00")),
                 qPrintable(annee->DescriptionLabel->text()));
        QVERIFY(annee->TexteTable().startsWith(annee->DescriptionLabel->text() +
                                               QStringLiteral("\r\n")));
        annee->close();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    // A wall that hides the Sun all day at 42.5° N in December: the Sun is above the plain's
    // horizon, so it is no polar night but the relief; the year paints that time a band of its
    // own, not twilight.
    void aWallThatHidesTheSunAllDayIsNoPolarNight() {
        QVERIFY(OuvreJourneeAu(QDate(2026, 12, 8)));
        QTemporaryDir dossier;
        QFile f(dossier.filePath(QStringLiteral("mur.csv")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("azimuth,altitude\n0,40\n90,40\n180,40\n270,40\n");
        f.close();
        QCOMPARE(Journee->ChargeHorizon(f.fileName()), QString());
        const QString texte = Journee->TexteEvenements();
        QVERIFY2(texte.contains(QStringLiteral("Soleil caché par le relief")), qPrintable(texte));
        QVERIFY2(!texte.contains(QStringLiteral("Nuit polaire")), qPrintable(texte));
        const DonneesAnnee d =
            CalculeAnnee(2026, {Unit1::Longitude, Unit1::Latitude, 0}, Unit3::TEmoinsTU,
                         Journee->Ciel(), Unit1::SeparateurDecimal());
        // 13:00 legal time on 8 December (341st day): the Sun some 25° up, behind the wall.
        QCOMPARE(d.bandes[341 * DonneesAnnee::PasParJour + 13 * 12], quint8(BandeRelief));
        // 03:00: night still.
        QCOMPARE(d.bandes[341 * DonneesAnnee::PasParJour + 3 * 12], quint8(0));
        Journee->RetirerHorizon->click();
        QVERIFY(!Journee->TexteEvenements().contains(QStringLiteral("caché par le relief")));
    }

    // Every control of the day has its Alt shortcut, the skyline's button says what file it
    // takes, and the year's table keeps one line of text a row.
    void shortcutsTipsAndRows() {
        Unit1::EphPosition->Journee1->trigger();
        QTRY_VERIFY(Journee->isVisible());
        QCOMPARE(Journee->Label1->text(), QStringLiteral("&Date"));
        QCOMPARE(Journee->Label1->buddy(), Journee->DatePicker);
        QCOMPARE(Journee->Copier->text(), QStringLiteral("&Vers presse-papier"));
        QVERIFY(Journee->ChoisirHorizon->toolTip().contains(QStringLiteral("azimuth,altitude")));
        Journee->OuvrirAnnee->click();
        QTRY_VERIFY(Journee->Annee && Journee->Annee->isVisible());
        const int ligne = Journee->Annee->Table->rowHeight(0);
        QVERIFY2(ligne < Journee->Annee->fontMetrics().height() * 3 / 2,
                 qPrintable(QString::number(ligne)));
        Journee->Annee->close();
    }

    // The hour marks are the whole hours of legal time in the site's day, each once: a
    // half-hour change adds none (Lord Howe), a missing hour has none, and the last hour of the
    // day is marked even 50 s before the day's end (St. John's, 52°43' W, 3 h 30 min behind
    // UTC). The expected hours come from the C library's legal time, minute by minute.
    void hourMarksAreTheLegalWholeHours() {
        struct Cas {
            const char* zone;
            QString longitude, latitude;
            bool ouest, sud;
            QDate date;
        };
        const Cas cas[] = {
            // Back from +11 to +10:30 at 02:00: 01:30-02:00 comes twice, no whole hour in it.
            {"Australia/Lord_Howe", QStringLiteral("159°04'48\""), QStringLiteral("31°33'00\""),
             false, true, QDate(2027, 4, 4)},
            // Forward from +10:30 to +11 at 02:00: 02:00 never comes.
            {"Australia/Lord_Howe", QStringLiteral("159°04'48\""), QStringLiteral("31°33'00\""),
             false, true, QDate(2027, 10, 3)},
            {"America/St_Johns", QStringLiteral("052°43'00\""), QStringLiteral("47°34'00\""), true,
             false, QDate(2026, 12, 8)},
        };
        // The computer's zone back as it was, whatever happens below.
        struct Zone {
            QByteArray avant = qgetenv("TZ");
            ~Zone() {
                qputenv("TZ", avant);
                tzset();
            }
        } zone;
        for (const Cas& c : cas) {
            qputenv("TZ", c.zone);
            tzset();
            Journee->hide();
            (c.ouest ? Unit1::EphPosition->RadioOuest : Unit1::EphPosition->RadioEst)->click();
            (c.sud ? Unit1::EphPosition->RadioSud : Unit1::EphPosition->RadioNord)->click();
            ChangeSite(c.longitude, c.latitude);
            Unit1::EphPosition->ButtonMan->click();
            Unit1::EphPosition->DatePicker->setDate(c.date);
            Unit1::EphPosition->Journee1->trigger();
            QTRY_VERIFY(Journee->isVisible());
            QStringList textes;
            // The hour itself; an hour number the day shows twice carries its zone after it.
            for (const auto& h : Journee->Trajectoire->Heures())
                textes << h.texte.section(' ', 0, 0);
            QStringList attendues;
            const double debut = (Journee->Journee().debut - PosSoleil::JoursAvantUnix) * 86400;
            for (long long s = static_cast<long long>(std::ceil(debut / 60)) * 60;
                 s < debut + 86400; s += 60) {
                const std::time_t t = static_cast<std::time_t>(s);
                std::tm local{};
                localtime_r(&t, &local);
                if (local.tm_min == 0 && local.tm_sec == 0)
                    attendues << QStringLiteral("%1h").arg(local.tm_hour);
            }
            QVERIFY2(!attendues.isEmpty(), c.zone);
            QCOMPARE(textes, attendues);
        }
        Unit1::EphPosition->RadioEst->click();
        Unit1::EphPosition->RadioNord->click();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    // The year's table says why a date has no event of a kind: polar day, polar night, no
    // night at all, rather than the same dash for each.
    void theYearsTableSaysWhyAnEventIsMissing() {
        ChangeSite(QStringLiteral("018°57'00\""), QStringLiteral("69°39'00\""));
        QVERIFY(OuvreJourneeAu(QDate(2026, 6, 21)));
        Journee->OuvrirAnnee->click();
        QTRY_VERIFY(Journee->Annee && Journee->Annee->isVisible());
        const QTableWidget* table = Journee->Annee->Table;
        const auto cellule = [&](int rang, const QString& titre) {
            for (int c = 0; c < table->columnCount(); ++c)
                if (table->horizontalHeaderItem(c)->text() == titre)
                    return table->item(rang, c)->text();
            return QString();
        };
        QCOMPARE(cellule(171, QStringLiteral("Lever")), QStringLiteral("jour polaire"));
        QCOMPARE(cellule(171, QStringLiteral("Aube civile")), QStringLiteral("pas de nuit"));
        QCOMPARE(cellule(354, QStringLiteral("Lever")), QStringLiteral("nuit polaire"));
        QVERIFY(cellule(354, QStringLiteral("Aube civile")).contains(QLatin1Char(':')));
        Journee->Annee->close();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    // At 80° S in December the June solstice's path lies wholly under the plotted altitudes:
    // it is neither drawn nor named in the legend.
    void aReferencePathOutOfSightIsNotInTheLegend() {
        Unit1::EphPosition->RadioSud->click();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("80°00'00\""));
        QVERIFY(OuvreJourneeAu(QDate(2026, 12, 21)));
        QStringList legende;
        for (const auto& e : Journee->Trajectoire->Etiquettes())
            if (e.role == TTrajectoire::Role::Legende) legende << e.texte;
        QVERIFY2(!legende.contains(QStringLiteral("21 juin")), qPrintable(legende.join(',')));
        QVERIFY2(legende.contains(QStringLiteral("21 décembre")), qPrintable(legende.join(',')));
        Unit1::EphPosition->RadioNord->click();
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    // Tokyo seen from Paris: the day shown is Tokyo's own solar day, its rise, transit and set
    // together in time order, the transit on the Paris date shown; the rise falls on the
    // evening before in Paris time and says so.
    void aDistantSitesDayStaysTogether() {
        ChangeSite(QStringLiteral("139°41'00\""), QStringLiteral("35°41'00\""));
        QVERIFY(OuvreJourneeAu(QDate(2026, 6, 21)));
        Journee->DatePicker->setDate(QDate(2026, 6, 21));
        double lever = NAN, passage = NAN, coucher = NAN;
        int nombre = 0;
        for (const PosSoleil::Evenement& e : Journee->Journee().evenements) {
            if (e.type == PosSoleil::TypeEvenement::Passage) passage = e.t, ++nombre;
            if (e.seuil == PosSoleil::Seuil::LeverCoucher &&
                e.type == PosSoleil::TypeEvenement::Montee)
                lever = e.t, ++nombre;
            if (e.seuil == PosSoleil::Seuil::LeverCoucher &&
                e.type == PosSoleil::TypeEvenement::Descente)
                coucher = e.t, ++nombre;
        }
        QCOMPARE(nombre, 3);
        QVERIFY(lever < passage && passage < coucher);
        QCOMPARE(Unit5::JourDuResident(passage), QDate(2026, 6, 21));
        QVERIFY(Unit5::TexteLegal(lever).startsWith(QStringLiteral("2026-06-20")));
        ChangeSite(QStringLiteral("002°01'49\""), QStringLiteral("42°29'48\""));
    }

    // The year picture's legend names today only in the year that has it.
    void todayOnlyInItsYearsLegend() {
        Unit1::EphPosition->Journee1->trigger();
        QTRY_VERIFY(Journee->isVisible());
        Journee->OuvrirAnnee->click();
        QTRY_VERIFY(Journee->Annee && Journee->Annee->isVisible());
        Journee->Annee->AnneeSpin->setValue(QDate::currentDate().year());
        QVERIFY(Journee->Annee->ImageAnnee->Legende().contains(QStringLiteral("aujourd'hui")));
        Journee->Annee->AnneeSpin->setValue(QDate::currentDate().year() + 3);
        QVERIFY(!Journee->Annee->ImageAnnee->Legende().contains(QStringLiteral("aujourd'hui")));
        QVERIFY(Journee->Annee->ImageAnnee->Legende().contains(QStringLiteral("jour")));
        Journee->Annee->close();
    }

    // ---- The sky of the site ----

    // The names of the events the window lists.
    static QStringList Noms() {
        QStringList noms;
        for (int i = 0; i < Journee->Liste->topLevelItemCount(); ++i)
            noms << Journee->Liste->topLevelItem(i)->text(0);
        return noms;
    }

    void ownAltitudesAndEyeHeightChangeTheEvents() {
        QVERIFY(OuvreJourneeAu(QDate(2026, 12, 8)));
        Journee->Hauteurs->setFocus();
        QTest::keyClicks(Journee->Hauteurs, QStringLiteral("6; -4"));
        QTest::keyClick(Journee->Hauteurs, Qt::Key_Return);
        QStringList noms = Noms();
        for (const char* nom : {"Montée à +6°", "Descente à +6°", "Montée à -4°", "Descente à -4°"})
            QVERIFY2(noms.contains(QString::fromUtf8(nom)), nom);
        QVERIFY(Journee->TexteEvenements().contains(QStringLiteral("Montée à -4°\t")));
        // An unreadable list keeps the altitudes in force, and says why once it is complete.
        QStringList rapports;
        RapportErreur::Remplace([&](const QString& texte) { rapports << texte; });
        QTest::keyClicks(Journee->Hauteurs, QStringLiteral("; abc"));
        QVERIFY(rapports.isEmpty());
        QTest::keyClick(Journee->Hauteurs, Qt::Key_Return);
        QCOMPARE(Journee->Ciel().hauteurs, (std::vector<double>{6, -4}));
        QCOMPARE(rapports.size(), 1);
        QVERIFY2(rapports.front().contains(QStringLiteral("« abc »")),
                 qPrintable(rapports.front()));
        Journee->Hauteurs->clear();
        QTest::keyClick(Journee->Hauteurs, Qt::Key_Return);
        QVERIFY(Journee->Ciel().hauteurs.empty());
        // "95" typed: its "9" is no altitude, and 95 is refused with its range.
        for (const QChar c : QStringLiteral("95")) {
            QTest::keyClicks(Journee->Hauteurs, QString(c));
            QVERIFY(Journee->Ciel().hauteurs.empty());
        }
        QVERIFY(Journee->Hauteurs->toolTip().contains(QStringLiteral("hors de -90 à 90")));
        QTest::keyClick(Journee->Hauteurs, Qt::Key_Return);
        QVERIFY(Journee->Ciel().hauteurs.empty());
        QCOMPARE(rapports.size(), 2);
        QVERIFY2(rapports.back().contains(QStringLiteral("« 95 » hors de -90 à 90")),
                 qPrintable(rapports.back()));
        Journee->Hauteurs->clear();
        QTest::keyClick(Journee->Hauteurs, Qt::Key_Return);
        RapportErreur::Remplace({});
        QVERIFY(!Noms().contains(QStringLiteral("Montée à +6°")));
        // From 2000 m the rise comes at the lowered horizon: the engine's, to the second.
        Journee->HauteurOeil->setValue(2000);
        PosSoleil::Ciel ciel;
        ciel.hauteurOeil = 2000;
        const PosSoleil::JourSolaire j = PosSoleil::JourneeSolaire(
            2026, 12, 8, {2.0302777777777776, 42.49666666666667, 0}, ciel, Unit3::TEmoinsTU);
        const auto lever = std::find_if(j.evenements.begin(), j.evenements.end(),
                                        [](const PosSoleil::Evenement& e) {
                                            return e.type == PosSoleil::TypeEvenement::Montee &&
                                                   e.seuil == PosSoleil::Seuil::LeverCoucher;
                                        });
        QVERIFY(lever != j.evenements.end());
        QCOMPARE(lever->cible, -50.0 / 60 - 1.76 / 60 * std::sqrt(2000.0));
        const int ligne = static_cast<int>(Noms().indexOf(QStringLiteral("Lever")));
        QVERIFY(ligne >= 0);
        QCOMPARE(Journee->Liste->topLevelItem(ligne)->text(1), Unit5::TexteUTC(lever->t));
        Journee->HauteurOeil->setValue(0);
    }

    void skylineFromAFile() {
        Unit1::EphPosition->ButtonMan->click();
        Unit1::EphPosition->DatePicker->setDate(QDate(2026, 12, 8));
        Unit1::EphPosition->Journee1->trigger();
        QTemporaryDir dossier;
        const auto fichier = [&](const char* nom, const char* texte) {
            QFile f(dossier.filePath(QString::fromUtf8(nom)));
            f.open(QIODevice::WriteOnly);
            f.write(texte);
            return f.fileName();
        };
        // A ridge 35 degrees high in the south hides the noon Sun (25 degrees here in December):
        // the Sun rises, sets behind it, rises again and sets.
        QCOMPARE(Journee->ChargeHorizon(
                     fichier("crete.csv", "azimuth,altitude\n150,0\n165,35\n195,35\n210,0\n")),
                 QString());
        QVERIFY(!Journee->HauteurOeil->isEnabled());
        QCOMPARE(Journee->HorizonLabel->text(), QStringLiteral("crete.csv"));
        QCOMPARE(Journee->Trajectoire->Horizon().size(), 361);
        QCOMPARE(Journee->Trajectoire->Horizon()[180].hauteur, 35.0);
        QCOMPARE(Noms().count(QStringLiteral("Lever")), 2);
        QCOMPARE(Noms().count(QStringLiteral("Coucher")), 2);
        // A refused file names its line and keeps the ridge.
        const QString erreur =
            Journee->ChargeHorizon(fichier("mauvais.csv", "azimuth,altitude\n0,0\n180,95\n"));
        QVERIFY2(erreur.contains(QStringLiteral("« mauvais.csv » ligne 3")), qPrintable(erreur));
        QCOMPARE(Journee->HorizonLabel->text(), QStringLiteral("crete.csv"));
        QCOMPARE(Noms().count(QStringLiteral("Lever")), 2);
        QVERIFY(Journee->ChargeHorizon(dossier.filePath(QStringLiteral("absent.csv")))
                    .contains(QStringLiteral("illisible")));
        // Back to the flat horizon.
        Journee->RetirerHorizon->click();
        QVERIFY(Journee->Trajectoire->Horizon().isEmpty());
        QVERIFY(Journee->HauteurOeil->isEnabled());
        QCOMPARE(Noms().count(QStringLiteral("Lever")), 1);
    }

    void theYearWindow() {
        Unit1::EphPosition->ButtonMan->click();
        Unit1::EphPosition->DatePicker->setDate(QDate(2026, 6, 21));
        Unit1::EphPosition->Journee1->trigger();
        Journee->activateWindow();
        QTRY_VERIFY(Journee->isActiveWindow());
        QTest::keyClick(Journee, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(Journee->Annee && Journee->Annee->isVisible());
        TAnnee* annee = Journee->Annee;
        QCOMPARE(annee->windowTitle(), QStringLiteral("Année solaire 2026"));
        QCOMPARE(annee->Table->rowCount(), 365);

        // The copied table: what it is of (the site, the zone, the sky), a header and a line
        // per date, tab-separated, CR LF; the rise of the summer solstice in legal time (CEST),
        // from the engine's day.
        const QString texte = annee->TexteTable();
        const QStringList lignes = texte.split(QStringLiteral("\r\n"));
        QCOMPARE(lignes.size(), 368);  // and nothing after the last CR LF
        QVERIFY(lignes.last().isEmpty());
        QVERIFY2(lignes[0].contains(QStringLiteral("Latitude N  42°29'48\"")) &&
                     lignes[0].contains(QStringLiteral("Europe/Paris")) &&
                     lignes[0].contains(QStringLiteral("horizon plat")),
                 qPrintable(lignes[0]));
        QCOMPARE(annee->DescriptionLabel->text(), lignes[0]);
        QVERIFY(lignes[1].startsWith(
            QStringLiteral("Date\tAube astronomique\tAube nautique\tAube civile\tLever\t")));
        const QStringList solstice = lignes[173].split(QLatin1Char('\t'));
        QCOMPARE(solstice[0], QStringLiteral("2026-06-21"));
        const PosSoleil::JourSolaire j = PosSoleil::JourneeSolaire(
            2026, 6, 21, {2.0302777777777776, 42.49666666666667, 0}, Unit3::TEmoinsTU);
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i)
            if (j.evenements[i].type == PosSoleil::TypeEvenement::Montee &&
                j.evenements[i].seuil == PosSoleil::Seuil::LeverCoucher)
                QCOMPARE(solstice[4] + QStringLiteral(" CEST"),
                         Unit5::TexteLegal(j.evenements[i].t).mid(11));
        QApplication::clipboard()->clear();
        annee->activateWindow();
        QTRY_VERIFY(annee->isActiveWindow());
        annee->Onglets->setCurrentWidget(annee->Table);
        annee->Table->setFocus();
        QTest::keyClick(annee->Table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), texte);

        // The year's picture: day at 14:00 on the solstice, night at 01:00 on the winter one;
        // the transit moves an hour with the legal time on 29 March and 25 October.
        const DonneesAnnee& d = annee->Donnees();
        QCOMPARE(d.bandes[171 * DonneesAnnee::PasParJour + 14 * 12], quint8(4));
        QCOMPARE(d.bandes[354 * DonneesAnnee::PasParJour + 1 * 12], quint8(0));
        const int mars = QDate(2026, 3, 29).dayOfYear() - 1,
                  octobre = QDate(2026, 10, 25).dayOfYear() - 1;
        QVERIFY(std::fabs(d.passages[mars] - d.passages[mars - 1] - 1) < 0.01);
        QVERIFY(std::fabs(d.passages[octobre] - d.passages[octobre - 1] + 1) < 0.01);
        QVERIFY(std::fabs(d.passages[mars + 1] - d.passages[mars]) < 0.01);
        // The analemma at the same clock time, 52 minutes before the Sun's mean noon here: its
        // altitudes span a little less than the two solstices' noons, 46.9 degrees apart.
        const auto [bas, haut] =
            std::minmax_element(d.analemmeHauteurs.begin(), d.analemmeHauteurs.end());
        QVERIFY2(*haut - *bas > 42 && *haut - *bas < 46.9,
                 qPrintable(QString::number(*haut - *bas)));

        // Each picture saved as PNG and as SVG.
        QTemporaryDir dossier;
        for (int image = 0; image < 2; ++image) {
            const QString png = dossier.filePath(QStringLiteral("a%1.png").arg(image));
            const QString svg = dossier.filePath(QStringLiteral("a%1.svg").arg(image));
            QVERIFY(annee->EnregistreImage(png, image));
            QVERIFY(annee->EnregistreImage(svg, image));
            QVERIFY(!QImage(png).isNull());
            QFile f(svg);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QVERIFY(f.readAll().contains("<svg"));
        }
        QVERIFY(!annee->EnregistreImage(QStringLiteral("/nonexistent/a.png")));
        if (const QByteArray ou = qgetenv("ORVANEL_IMAGES_ANNEE"); !ou.isEmpty()) {
            // The README's pictures, at a window's size.
            annee->resize(1000, 640);
            annee->EnregistreImage(QString::fromUtf8(ou) + QStringLiteral("/annee.png"), 0);
            annee->EnregistreImage(QString::fromUtf8(ou) + QStringLiteral("/equation.png"), 1);
        }

        // Another year from the keyboard.
        annee->AnneeSpin->setFocus();
        QTest::keyClick(annee->AnneeSpin, Qt::Key_Up);
        QCOMPARE(annee->windowTitle(), QStringLiteral("Année solaire 2027"));
        QCOMPARE(annee->Table->rowCount(), 365);
    }

    void everyControlOfTheSkyAndTheYearIsNamedAndReachable() {
        Unit1::EphPosition->Journee1->trigger();
        Journee->OuvrirAnnee->click();
        for (QWidget* fenetre :
             {static_cast<QWidget*>(Journee), static_cast<QWidget*>(Journee->Annee)}) {
            for (QWidget* w : fenetre->findChildren<QWidget*>()) {
                const bool controle =
                    qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                    qobject_cast<QLineEdit*>(w) || qobject_cast<QTabWidget*>(w) ||
                    qobject_cast<QTableWidget*>(w) || qobject_cast<TImageAnnee*>(w);
                if (!controle || w->objectName().isEmpty() ||
                    w->objectName().startsWith(QLatin1String("qt_")))
                    continue;
                if (w->objectName() == QLatin1String("Copier") && fenetre == Journee)
                    continue;  // the day's, older
                if (qobject_cast<QDateEdit*>(w)) continue;
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
                QVERIFY2(w->focusPolicy() & Qt::TabFocus, qPrintable(w->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestUnit5)
#include "test_unit5.moc"
