// The main window's site and atmosphere inputs: the sexagesimal fields, the hemispheres, the
// clamps of temperature and pressure and the refusals.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "Aides.h"
#include "AidesPrincipale.h"
#include "MaskEdit.h"
#include "PosSoleil.h"
#include "Unit1.h"
#include "Unit3.h"

using namespace Unit1;

using namespace AidesPrincipale;

class TestUnit1Saisie : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void longitudeAndLatitudeReading_data() {
        QTest::addColumn<QString>("champ");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<double>("latitude");
        QTest::newRow("default") << "LongEdit"
                                 << "002°01'49\"" << 7309.0 / 3600 << 152988.0 / 3600;
        QTest::newRow("75 minutes") << "LongEdit"
                                    << "002°75'00\"" << 3.25 << 152988.0 / 3600;
        QTest::newRow("180 degrees") << "LongEdit"
                                     << "180°00'00\"" << 180.0 << 152988.0 / 3600;
        QTest::newRow("all zeros") << "LongEdit"
                                   << "000°00'00\"" << 0.0 << 152988.0 / 3600;
        QTest::newRow("99 99 99") << "LatEdit"
                                  << "99°99'99\"" << 7309.0 / 3600 << 100.6775;
        QTest::newRow("latitude 45") << "LatEdit"
                                     << "45°30'00\"" << 7309.0 / 3600 << 45.5;
    }

    void init() { RemetLesSaisies(); }
    void longitudeAndLatitudeReading() {
        QFETCH(QString, champ);
        QFETCH(QString, texte);
        QFETCH(double, longitude);
        QFETCH(double, latitude);
        EphPosition->findChild<TMaskEdit*>(champ)->setText(texte);
        QCOMPARE(Longitude, longitude);
        QVERIFY(std::fabs(Latitude - latitude) < 1e-12);
        QVERIFY(Aides::Erreurs().isEmpty());
    }

    void deletedDigits() {
        // The first digit of the degrees deleted: a leading blank, read as 2.
        Efface(W()->LongEdit, 0);
        QCOMPARE(W()->LongEdit->Lit(), QStringLiteral(" 02°01'49\""));
        QCOMPARE(W()->LongEdit->displayText(), QStringLiteral("_02°01'49\""));
        QCOMPARE(Longitude, 7309.0 / 3600);
        QVERIFY(Aides::Erreurs().isEmpty());

        // The last digit of the seconds deleted: "4 " is refused, the value and display stay.
        W()->LongEdit->setText(QStringLiteral("010°00'49\""));
        const QString hauteur = W()->HautEdit->text();
        Efface(W()->LongEdit, 8);
        QCOMPARE(W()->LongEdit->displayText(), QStringLiteral("010°00'4_\""));
        QCOMPARE(Aides::Erreurs(),
                 QStringList{QStringLiteral("'4 ' n'est pas une valeur entière correcte.")});
        QCOMPARE(Longitude, 10 + 49.0 / 3600);
        QCOMPARE(W()->HautEdit->text(), hauteur);

        // The latitude alike, and the next valid change takes effect.
        Efface(W()->LatEdit, 4);
        QCOMPARE(Aides::Erreurs(),
                 QStringList{QStringLiteral("'2 ' n'est pas une valeur entière correcte.")});
        QCOMPARE(Latitude, 152988.0 / 3600);
        Tape(W()->LatEdit, 4, QStringLiteral("3"));
        QCOMPARE(W()->LatEdit->Lit(), QStringLiteral("42°23'48\""));
        QCOMPARE(Latitude, 42 + 23.0 / 60 + 48.0 / 3600);
        Efface(W()->LatEdit, 3);  // " 3" minutes: a leading blank again
        QVERIFY(Aides::Erreurs().isEmpty());
        QCOMPARE(Latitude, 42 + 3.0 / 60 + 48.0 / 3600);
    }

    void escapeRestoresTheEntryText() {
        W()->LongEdit->setText(QStringLiteral("_02°01'49\""));  // an empty first position
        W()->TempEdit->setFocus();
        W()->LongEdit->setFocus();
        QTRY_VERIFY(W()->LongEdit->hasFocus());
        Tape(W()->LongEdit, 0, QStringLiteral("13"));
        QCOMPARE(W()->LongEdit->Lit(), QStringLiteral("132°01'49\""));
        QTest::keyClick(W()->LongEdit, Qt::Key_Escape);
        QCOMPARE(W()->LongEdit->displayText(), QStringLiteral("_02°01'49\""));
        QCOMPARE(Longitude, 7309.0 / 3600);
    }

    void typingOverwrites() {
        Tape(W()->LongEdit, 0, QStringLiteral("123"));
        QCOMPARE(W()->LongEdit->Lit(), QStringLiteral("123°01'49\""));
        Tape(W()->LongEdit, 0, QStringLiteral("98765"));  // the degree sign is skipped
        QCOMPARE(W()->LongEdit->Lit(), QStringLiteral("987°65'49\""));
        Tape(W()->LongEdit, 4, QStringLiteral("45"));
        QCOMPARE(W()->LongEdit->Lit(), QStringLiteral("987°45'49\""));
        QCOMPARE(W()->LongEdit->Lit().size(), 10);
        QCOMPARE(Longitude, 987 + 45.0 / 60 + 49.0 / 3600);
    }

    void hemispheres() {
        QTest::mouseClick(W()->RadioOuest, Qt::LeftButton);
        QCOMPARE(Longitude, -2.0302777777777776);
        QTest::mouseClick(W()->RadioEst, Qt::LeftButton);
        QCOMPARE(Longitude, 2.0302777777777776);
        QTest::mouseClick(W()->RadioOuest, Qt::LeftButton);
        W()->LongEdit->setText(QStringLiteral("180°00'00\""));
        QCOMPARE(Longitude, -180.0);  // typed under Ouest: negative
        W()->LongEdit->setText(QStringLiteral("000°00'00\""));
        QCOMPARE(Longitude, 0.0);

        QTest::mouseClick(W()->RadioSud, Qt::LeftButton);
        QCOMPARE(Latitude, -42.49666666666667);
        W()->LatEdit->setText(QStringLiteral("33°52'00\""));
        QCOMPARE(Latitude, -(33 + 52.0 / 60));
        QTest::mouseClick(W()->RadioNord, Qt::LeftButton);
        QCOMPARE(Latitude, 33 + 52.0 / 60);

        // The display follows the signed site.
        QTest::mouseClick(W()->RadioSud, Qt::LeftButton);
        const auto p = Aides::Calcule(Instant, 0.0, -(33 + 52.0 / 60));
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));
    }

    void temperatureAndPressureClamps_data() {
        QTest::addColumn<QString>("champ");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("texteFinal");
        QTest::addColumn<double>("temperature");
        QTest::addColumn<double>("pression");
        QTest::newRow("950") << "PressEdit"
                             << "950"
                             << "900" << 10.0 << 90.0;
        QTest::newRow("150") << "PressEdit"
                             << "150"
                             << "200" << 10.0 << 20.0;
        QTest::newRow("640") << "PressEdit"
                             << "640"
                             << "640" << 10.0 << 64.0;
        QTest::newRow("+45") << "TempEdit"
                             << "+45"
                             << "+40" << 40.0 << 76.0;
        QTest::newRow("-25") << "TempEdit"
                             << "-25"
                             << "-20" << -20.0 << 76.0;
        QTest::newRow("-05") << "TempEdit"
                             << "-05"
                             << "-05" << -5.0 << 76.0;
        QTest::newRow("+5_") << "TempEdit"
                             << "+5"
                             << "+5 " << 5.0 << 76.0;
    }

    void temperatureAndPressureClamps() {
        QFETCH(QString, champ);
        QFETCH(QString, texte);
        QFETCH(QString, texteFinal);
        QFETCH(double, temperature);
        QFETCH(double, pression);
        auto* edit = EphPosition->findChild<TMaskEdit*>(champ);
        edit->setText(texte);
        QCOMPARE(edit->Lit(), texteFinal);
        QCOMPARE(Temperature, temperature);
        QCOMPARE(Pression, pression);
        QVERIFY(Aides::Erreurs().isEmpty());
    }

    void clampByTyping() {
        Efface(W()->PressEdit, 2);  // "76_" reads as 76 mm, that is 7.6 cm
        QCOMPARE(W()->PressEdit->Lit(), QStringLiteral("200"));
        QCOMPARE(Pression, 20.0);
        Tape(W()->PressEdit, 0, QStringLiteral("9"));  // 900
        QCOMPARE(Pression, 90.0);
        Tape(W()->PressEdit, 0, QStringLiteral("1"));  // 100 becomes 200 at once
        QCOMPARE(W()->PressEdit->Lit(), QStringLiteral("200"));
        QCOMPARE(Pression, 20.0);
    }

    void refusedNumbers() {
        W()->TempEdit->setText(QStringLiteral("+05"));
        Efface(W()->TempEdit, 1);  // "+_5": a blank between sign and digit
        QCOMPARE(W()->TempEdit->Lit(), QStringLiteral("+ 5"));
        QCOMPARE(Aides::Erreurs(),
                 QStringList{
                     QStringLiteral("'+ 5' n'est pas une valeur en virgule flottante correcte.")});
        QCOMPARE(Temperature, 5.0);
        W()->TempEdit->setText(QString());
        QCOMPARE(Aides::Erreurs(),
                 QStringList{
                     QStringLiteral("'   ' n'est pas une valeur en virgule flottante correcte.")});
        QCOMPARE(Temperature, 5.0);
        W()->PressEdit->setText(QString());
        QCOMPARE(Aides::Erreurs(),
                 QStringList{
                     QStringLiteral("'   ' n'est pas une valeur en virgule flottante correcte.")});
        QCOMPARE(Pression, 76.0);
    }
};

int Aides::LanceTestUnit1Saisie(int argc, char** argv) {
    TestUnit1Saisie tests;
    return QTest::qExec(&tests, argc, argv);
}
#include "test_unit1_saisie.moc"
