// The solar day's sky and picture: the Sun's dot and path, the legal hours' marks, the
// picture's legend at every size, the site's own altitudes, eye height and skyline.
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

class TestUnit5Ciel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void init() { RemetLeSite(); }

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

int Aides::LanceTestUnit5Ciel(int argc, char** argv) {
    TestUnit5Ciel tests;
    return QTest::qExec(&tests, argc, argv);
}
#include "test_unit5_ciel.moc"
