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
#include "AidesJournee.h"
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

using namespace AidesJournee;

class TestUnit5 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void init() { RemetLeSite(); }

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
};

// The solar day's and year's classes in one program, on the same windows.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestUnit5 jour;
    int echecs = QTest::qExec(&jour, argc, argv);
    echecs += Aides::LanceTestUnit5Ciel(argc, argv);
    echecs += Aides::LanceTestUnit6(argc, argv);
    echecs += Aides::LanceTestUnit7(argc, argv);
    return echecs;
}
#include "test_unit5.moc"
