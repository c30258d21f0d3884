// The generator: whole tables compared byte for byte with tables built here from the engine.
#include <chrono>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>

#include "Aides.h"
#include "AidesGenerateur.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "TableAttendue.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit4.h"
#include "VueTable.h"

using namespace Unit4;

using namespace AidesGenerateur;

class TestUnit4 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Aides::CreeFenetres();
        Unit1::EphPosition->Timer1->stop();
        Unit1::EphPosition->FichierClick();
        QVERIFY(QTest::qWaitForWindowExposed(G()));
        QCOMPARE(G()->focusWidget(),
                 static_cast<QWidget*>(G()->Memo1));  // the first focus is the table
    }

    void init() {
        Unit1::EphPosition->RadioEst->setChecked(true);
        Unit1::EphPosition->RadioNord->setChecked(true);
        Unit1::EphPosition->LongEdit->setText(QStringLiteral("002°01'49\""));
        Unit1::EphPosition->LatEdit->setText(QStringLiteral("42°29'48\""));
        Unit3::TEmoinsTU = 64.184;
        Aides::Erreurs();
    }

    void copyBeforeAnyGenerationGivesTheTemplate() {
        QCOMPARE(G()->TypeBox->currentText(), QStringLiteral("Secondes"));
        QCOMPARE(G()->Valid->text(), QStringLiteral("&Génération"));
        QCOMPARE(G()->windowTitle(), QStringLiteral("générateur d'éphémérides Solaire"));
        QCOMPARE(Copie(), Texte(TableAttendue::Crlf(TableAttendue::Modele())));
        QVERIFY(G()->Memo1->ToutSelectionne());
        QCOMPARE(G()->Memo2->toPlainText(), ModeleAttendu().join(QLatin1Char('\n')));
    }

    void tables_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("heure");
        QTest::addColumn<QString>("pas");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<qint64>("pasSecondes");
        QTest::addColumn<int>("lignes");
        QTest::addColumn<bool>("zenith");
        QTest::addColumn<bool>("sud");
        const QDate j2000(2000, 1, 1);
        QTest::newRow("start-up settings") << j2000 << QTime(12, 0) << "0001"
                                           << "Secondes"
                                           << "000005" << qint64(1) << 5 << false << false;
        QTest::newRow("count of 0") << j2000 << QTime(12, 0) << "0001"
                                    << "Secondes"
                                    << "000000" << qint64(1) << 1 << false << false;
        QTest::newRow("step of 0") << j2000 << QTime(12, 0) << "0000"
                                   << "Heures"
                                   << "000004" << qint64(0) << 4 << false << false;
        QTest::newRow("year limit") << QDate(2250, 1, 1) << QTime(0, 0) << "0001"
                                    << "Jours"
                                    << "999999" << qint64(86400) << 731 << false << false;
        QTest::newRow("1440 minutes") << QDate(2026, 6, 21) << QTime(0, 0) << "0001"
                                      << "Minutes"
                                      << "001440" << qint64(60) << 1440 << false << false;
        QTest::newRow("zenith and south") << QDate(2026, 12, 7) << QTime(6, 0) << "0003"
                                          << "Heures"
                                          << "000006" << qint64(3 * 3600) << 6 << true << true;
        QTest::newRow("zenith") << QDate(2026, 12, 7) << QTime(6, 0) << "0090"
                                << "Minutes"
                                << "000008" << qint64(5400) << 8 << true << false;
        QTest::newRow("south") << QDate(1980, 1, 1) << QTime(0, 0, 30) << "9999"
                               << "Secondes"
                               << "000010" << qint64(9999) << 10 << false << true;
        QTest::newRow("typed unit counts days")
            << QDate(2030, 2, 28) << QTime(23, 59, 59) << "0002"
            << "quinzaines"
            << "000003" << qint64(2 * 86400) << 3 << false << false;
    }
    void tables() {
        QFETCH(QDate, date);
        QFETCH(QTime, heure);
        QFETCH(QString, pas);
        QFETCH(QString, type);
        QFETCH(QString, nombre);
        QFETCH(qint64, pasSecondes);
        QFETCH(int, lignes);
        QFETCH(bool, zenith);
        QFETCH(bool, sud);
        Regle(date, heure, pas, type, nombre, zenith, sud);
        Genere();
        QCOMPARE(G()->Memo1->NombreLignes(), 9 + lignes);
        const Reglages r{QDateTime(date, heure, Qt::UTC), pasSecondes, lignes, zenith, sud};
        QCOMPARE(Copie(), TableDe(r, Unit1::Longitude, Unit1::Latitude, SiteDefaut));
        QVERIFY(G()->Memo1->isVisible());
        QCOMPARE(G()->Valid->text(), QStringLiteral("&Génération"));
        QVERIFY(Aides::Erreurs().isEmpty());
    }

    void rowEdgeCases() {
        // A "Minutes" table stays on whole minutes; the year limit writes 2252 01 01 last.
        Regle(QDate(2000, 1, 1), QTime(0, 0), "0001", "Minutes", "001440");
        Genere();
        for (int i = 9; i < G()->Memo1->NombreLignes(); ++i)
            QCOMPARE(G()->Memo1->Ligne(i).mid(17, 5), QStringLiteral(" 00  "));
        QCOMPARE(G()->Memo1->Ligne(9 + 1439).left(20), QStringLiteral("2000 01 01  23 59 00"));
        Regle(QDate(2250, 1, 1), QTime(0, 0), "0001", "Jours", "999999");
        Genere();
        QVERIFY(G()->Memo1->Ligne(G()->Memo1->NombreLignes() - 1)
                    .startsWith(QStringLiteral("2252 01 01  00 00 00  ")));
        // A negative azimuth from the south: "-" in the sign place; a row is 49 to 51 characters.
        Regle(QDate(2026, 12, 7), QTime(9, 0), "0001", "Heures", "000001", false, true);
        Genere();
        const QString rangee = G()->Memo1->Ligne(9);
        QCOMPARE(rangee.mid(35, 1), QStringLiteral("-"));
        QCOMPARE(rangee.size(), 49);
    }

    void zeroAngleIsWrittenAsSixZeros() {
        const std::string ligne = TEphemeride::Ligne(2000, 1, 1, 12, 0, 0, 0.0, 0.0, ".");
        QCOMPARE(QString::fromStdString(ligne),
                 QStringLiteral("2000 01 01  12 00 00  000000 000000  "));
        QCOMPARE(QString::fromStdString(TEphemeride::Ligne(2000, 1, 1, 12, 0, 0, -0.0, 123.5, ",")),
                 QStringLiteral("2000 01 01  12 00 00  000000  123°30'00,0\"  "));
    }

    void noRefractionEvenWhenTheMainWindowAppliesIt() {
        Unit1::EphPosition->RefracCheck->setChecked(true);
        Regle(QDate(2026, 12, 7), QTime(7, 0), "0010", "Minutes", "000006");
        Genere();
        const Reglages r{QDateTime(QDate(2026, 12, 7), QTime(7, 0), Qt::UTC), 600, 6};
        QCOMPARE(Copie(), TableDe(r, Unit1::Longitude, Unit1::Latitude, SiteDefaut));
        Unit1::EphPosition->RefracCheck->setChecked(false);
    }

    void westAndSouthInTheSiteLine() {
        Unit1::EphPosition->RadioOuest->setChecked(true);
        Unit1::EphPosition->RadioSud->setChecked(true);
        Unit1::EphPosition->LongEdit->setText(QStringLiteral("123°45'06\""));
        Unit1::EphPosition->LatEdit->setText(QStringLiteral("33°52'00\""));
        Regle(QDate(2026, 12, 7), QTime(0, 0), "0001", "Heures", "000003");
        Genere();
        const Reglages r{QDateTime(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC), 3600, 3};
        QCOMPARE(Copie(),
                 TableDe(r, -(123 + 45.0 / 60 + 6.0 / 3600), -(33 + 52.0 / 60),
                         QStringLiteral("Longitude O  123°45'06\", Latitude S  33°52'00\"")));
    }

    void stopKeepsTheRowsSoFar() {
        Regle(QDate(2000, 1, 1), QTime(12, 0), "0001", "Secondes", "999999");
        int passages = 0, lignesAuStop = -1;
        QTimer espion;
        connect(&espion, &QTimer::timeout, this, [&] {
            if (++passages == 7) {
                QVERIFY(!G()->Memo1->isVisible());
                QVERIFY(G()->Compteur->isVisible());
                QCOMPARE(G()->Compteur->text(), QStringLiteral("Calcul !!!"));
                QCOMPARE(G()->Valid->text(), QStringLiteral("&Stop"));
                QVERIFY(!G()->PasEdit->isEnabled() && !G()->TypeBox->isEnabled() &&
                        !G()->DatePicker->isEnabled());
                QVERIFY(G()->Copier->isEnabled());
                lignesAuStop = G()->Memo1->NombreLignes() - 9;
                QTest::mouseClick(G()->Valid, Qt::LeftButton);
                QCOMPARE(G()->Valid->text(), QStringLiteral("&Génération"));  // at once
            }
        });
        espion.start(0);
        Genere();
        espion.stop();
        QVERIFY(lignesAuStop > 0);
        QCOMPARE(G()->Memo1->NombreLignes() - 9, lignesAuStop);
        const Reglages r{QDateTime(QDate(2000, 1, 1), QTime(12, 0), Qt::UTC), 1, lignesAuStop};
        QCOMPARE(Copie(), TableDe(r, Unit1::Longitude, Unit1::Latitude, SiteDefaut));
        QCOMPARE(G()->Valid->text(), QStringLiteral("&Génération"));
        for (QWidget* w : std::initializer_list<QWidget*>{G()->DatePicker, G()->TimePicker,
                                                          G()->PasEdit, G()->TypeBox, G()->NombEdit,
                                                          G()->ZenithCheckB, G()->RefCheckB})
            QVERIFY(w->isEnabled());
        QVERIFY(Arret);
        // A new click starts a fresh table.
        Regle(QDate(2000, 1, 1), QTime(12, 0), "0001", "Secondes", "000002");
        Genere();
        QCOMPARE(G()->Memo1->NombreLignes(), 11);
    }

    void changesDuringARunReachTheFollowingRows() {
        Regle(QDate(2026, 12, 7), QTime(12, 0), "0001", "Minutes", "000012");
        int passages = 0, ligneLongitude = -1, ligneTemps = -1;
        QTimer espion;
        connect(&espion, &QTimer::timeout, this, [&] {
            ++passages;
            if (passages == 3) {
                ligneLongitude = G()->Memo1->NombreLignes() - 9;
                Unit1::EphPosition->LongEdit->setText(QStringLiteral("010°00'00\""));
            } else if (passages == 6) {
                ligneTemps = G()->Memo1->NombreLignes() - 9;
                Unit3::TEmoinsTU = 1031.184;
            }
        });
        espion.start(0);
        Genere();
        espion.stop();
        QVERIFY(ligneLongitude > 0 && ligneTemps > ligneLongitude && ligneTemps < 12);
        const Reglages r{QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC), 60, 12};
        // The header keeps the site of the start.
        std::vector<std::string> lignes =
            TableAttendue::EnTete(false, false, TableAttendue::SiteDefaut);
        for (int i = 0; i < 12; ++i) {
            TableAttendue::Reglages a =
                Attendus(r, i < ligneLongitude ? 7309.0 / 3600 : 10.0, Unit1::Latitude);
            a.tEmoinsTU = i < ligneTemps ? 64.184 : 1031.184;
            lignes.push_back(TableAttendue::Rangee(a.debut + std::chrono::minutes(i), a));
        }
        QCOMPARE(Copie(), Texte(TableAttendue::Crlf(lignes)));
    }

    void counterEveryHundredRows() {
        Regle(QDate(2000, 1, 1), QTime(0, 0), "0001", "Secondes", "000250");
        QStringList vus;
        QTimer espion;
        connect(&espion, &QTimer::timeout, this, [&] {
            if (vus.isEmpty() || vus.back() != G()->Compteur->text()) vus << G()->Compteur->text();
        });
        espion.start(0);
        Genere();
        espion.stop();
        QCOMPARE(vus, (QStringList{QStringLiteral("Calcul !!!"), QStringLiteral("100"),
                                   QStringLiteral("200")}));
        QCOMPARE(G()->Compteur->text(), QStringLiteral("200"));  // kept when the run ends
    }

    void incompleteFieldsAreRefusedByTheGenerationButton() {
        // A click on the button with a field left incomplete gives the refusal that Tab gives,
        // once, and starts nothing; Esc then gives the text back.
        const QStringList refus{QStringLiteral(
            "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications.")};
        Regle(QDate(2000, 1, 1), QTime(12, 0), "0001", "Secondes", "000003");
        Genere();
        for (TMaskEdit* champ : {G()->PasEdit, G()->NombEdit}) {
            const QByteArray nom = champ->objectName().toUtf8();
            qInfo("%s", nom.constData());
            const QString avant = champ->Lit();
            G()->activateWindow();
            champ->setFocus();
            QTRY_VERIFY(champ->hasFocus());
            champ->setText(QStringLiteral("7"));
            QTest::mouseClick(G()->Valid, Qt::LeftButton);
            QStringList messages;
            QTRY_VERIFY(!(messages += Aides::Erreurs()).isEmpty());
            QTest::qWait(30);
            messages += Aides::Erreurs();
            QCOMPARE(messages, refus);
            QTRY_VERIFY(champ->hasFocus());
            QCOMPARE(G()->Valid->text(), QStringLiteral("&Génération"));
            QVERIFY(G()->PasEdit->isEnabled());
            QCOMPARE(G()->Memo1->NombreLignes(), 9 + 3);  // the last table stays
            QTest::keyClick(champ, Qt::Key_Escape);
            QCOMPARE(champ->Lit(), avant);
        }
    }

    void requiredDigitsAreRefusedOnLeaving() {
        G()->activateWindow();
        G()->NombEdit->setFocus();
        QTRY_VERIFY(G()->NombEdit->hasFocus());
        G()->NombEdit->setText(QStringLiteral("12"));  // "12____"
        QTest::keyClick(G()->NombEdit, Qt::Key_Tab);
        QStringList messages;
        QTRY_VERIFY(!(messages += Aides::Erreurs()).isEmpty());
        QCOMPARE(
            messages,
            QStringList{QStringLiteral(
                "Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications.")});
        QTRY_VERIFY(G()->NombEdit->hasFocus());
        // Esc gives back the text the field had when the focus came in.
        QTest::keyClick(G()->NombEdit, Qt::Key_Escape);
        QCOMPARE(G()->NombEdit->Lit(), QStringLiteral("000003"));
        QTest::keyClick(G()->NombEdit, Qt::Key_Tab);
        QTRY_VERIFY(!G()->NombEdit->hasFocus());
        QTest::qWait(20);
        QVERIFY(Aides::Erreurs().isEmpty());
    }

    void escapeNeverHidesTheGenerator() {
        G()->activateWindow();
        for (QWidget* w : {static_cast<QWidget*>(G()->Memo1), static_cast<QWidget*>(G()->PasEdit),
                           static_cast<QWidget*>(G()->Valid)}) {
            w->setFocus();
            QTRY_VERIFY(w->hasFocus());
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY2(G()->isVisible(), qPrintable(w->objectName()));
        }
    }

    void escapeAfterARefusalGivesBackTheTextBeforeTheEdit() {
        G()->PasEdit->setText(QStringLiteral("0001"));
        G()->activateWindow();
        G()->TimePicker->setFocus();
        G()->PasEdit->setFocus();
        QTRY_VERIFY(G()->PasEdit->hasFocus());
        QTest::keyClick(G()->PasEdit, Qt::Key_End);
        QTest::keyClick(G()->PasEdit, Qt::Key_Backspace);
        QCOMPARE(G()->PasEdit->displayText(), QStringLiteral("000_"));
        QTest::keyClick(G()->PasEdit, Qt::Key_Tab);
        QStringList messages;
        QTRY_VERIFY(!(messages += Aides::Erreurs()).isEmpty());
        QTRY_VERIFY(G()->PasEdit->hasFocus());
        // On a real display the box takes the window's activation and gives it back once closed.
        QFocusEvent sortie(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(G()->PasEdit, &sortie);
        QFocusEvent entree(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(G()->PasEdit, &entree);
        QTest::keyClick(G()->PasEdit, Qt::Key_Escape);
        QCOMPARE(G()->PasEdit->displayText(), QStringLiteral("0001"));
        QVERIFY(G()->isVisible());
    }

#ifdef ORVANEL_CLI
    // The command-line program's text table is this window's table, byte for byte.
    void commandLineTableIsTheWindowsTable_data() {
        QTest::addColumn<bool>("ouest");
        QTest::addColumn<bool>("sudHemisphere");
        QTest::addColumn<QDateTime>("debut");
        QTest::addColumn<QString>("pas");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("unite");
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<bool>("zenith");
        QTest::addColumn<bool>("sud");
        const QDateTime midi(QDate(2000, 1, 1), QTime(12, 0), QTimeZone::utc());
        QTest::newRow("start-up settings") << false << false << midi << "0001"
                                           << "Secondes"
                                           << "s"
                                           << "000005" << false << false;
        QTest::newRow("west, south, both options")
            << true << true << QDateTime(QDate(2026, 6, 21), QTime(6, 0), QTimeZone::utc())
            << "0015"
            << "Minutes"
            << "min"
            << "000020" << true << true;
        QTest::newRow("a day for 731 rows from 2250")
            << false << false << QDateTime(QDate(2250, 1, 1), QTime(0, 0), QTimeZone::utc())
            << "0001"
            << "Jours"
            << "d"
            << "000731" << false << false;
    }

    void commandLineTableIsTheWindowsTable() {
        QFETCH(bool, ouest);
        QFETCH(bool, sudHemisphere);
        QFETCH(QDateTime, debut);
        QFETCH(QString, pas);
        QFETCH(QString, type);
        QFETCH(QString, unite);
        QFETCH(QString, nombre);
        QFETCH(bool, zenith);
        QFETCH(bool, sud);
        (ouest ? Unit1::EphPosition->RadioOuest : Unit1::EphPosition->RadioEst)->click();
        (sudHemisphere ? Unit1::EphPosition->RadioSud : Unit1::EphPosition->RadioNord)->click();
        Regle(debut.date(), debut.time(), pas, type, nombre, zenith, sud);
        Genere();
        const QString fenetre = Copie();

        QProcess cli;
        QStringList arguments = {QStringLiteral("table"),
                                 QStringLiteral("--start"),
                                 debut.toString(Qt::ISODate),
                                 QStringLiteral("--step"),
                                 QString::number(pas.toInt()),
                                 QStringLiteral("--unit"),
                                 unite,
                                 QStringLiteral("--count"),
                                 QString::number(nombre.toInt()),
                                 QStringLiteral("--lon"),
                                 QString::number(Unit1::Longitude, 'g', 17),
                                 QStringLiteral("--lat"),
                                 QString::number(Unit1::Latitude, 'g', 17),
                                 QStringLiteral("--tai-utc"),
                                 QStringLiteral("32"),
                                 QStringLiteral("--force")};  // the window's series runs into 2251
        if (zenith) arguments << QStringLiteral("--zenith");
        if (sud) arguments << QStringLiteral("--south-ref");
        cli.start(QStringLiteral(ORVANEL_CLI), arguments);
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()), fenetre);
        Unit1::EphPosition->RadioEst->click();
        Unit1::EphPosition->RadioNord->click();
    }
#endif

    void hidingDoesNotStopARun() {
        Regle(QDate(2000, 1, 1), QTime(0, 0), "0001", "Heures", "000030");
        bool cache = false;
        QTimer::singleShot(0, this, [&] {
            G()->close();
            cache = true;
        });
        Genere();
        QVERIFY(cache);
        QCOMPARE(G()->Memo1->NombreLignes(), 9 + 30);
        Unit1::EphPosition->FichierClick();
        Unit1::EphPosition->FichierClick();  // once shown, brought forward: still one window
        QVERIFY(G()->isVisible());
        int generateurs = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            generateurs += qobject_cast<TEphemeride*>(w) != nullptr;
        QCOMPARE(generateurs, 1);
    }

    // Last: the window is hidden and shown again, which offscreen leaves it inactive.
    void anUnfinishedFieldIsNotKeptWhenTheWindowCloses() {
        G()->activateWindow();
        G()->PasEdit->setFocus();
        QTRY_VERIFY(G()->PasEdit->hasFocus());
        const QString avant = G()->PasEdit->Lit();
        G()->PasEdit->setText(QStringLiteral("000"));  // "000_"
        G()->hide();
        Unit1::EphPosition->FichierClick();
        QVERIFY(QTest::qWaitForWindowExposed(G()));
        QCOMPARE(G()->PasEdit->Lit(), avant);
        QTest::qWait(30);
        QVERIFY(Aides::Erreurs().isEmpty());
    }
};

QTEST_MAIN(TestUnit4)
#include "test_unit4.moc"
