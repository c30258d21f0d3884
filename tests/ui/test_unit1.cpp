// The main window: start values, site and atmosphere inputs, clock modes and the display.
#include <QApplication>
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

class TestUnit1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void init() { RemetLesSaisies(); }

    void startValuesAndTexts() {
        // Values as created, before any input has been read.
        QCOMPARE(Longitude, 2.0302777777777776);
        QCOMPARE(Latitude, 42.49666666666667);
        QCOMPARE(Temperature, 10.0);
        QCOMPARE(Pression, 76.0);
        QCOMPARE(Unit3::TEmoinsTU, 64.184);

        QCOMPARE(W()->windowTitle(), QStringLiteral("Ephémérides Solaire"));
        const QList<QAction*> menu = W()->menuBar()->actions();
        QCOMPARE(menu.size(), 4);  // the solar day's command after the three of the program
        QCOMPARE(menu[0]->text(), QStringLiteral("&Génération"));
        QCOMPARE(menu[1]->text(), QStringLiteral("&ET && UT"));
        QCOMPARE(menu[2]->text(), QStringLiteral("&A Propos"));
        QCOMPARE(menu[3]->text(), QStringLiteral("&Journée"));
        for (QAction* a : menu) QVERIFY(!a->menu());  // direct commands

        QCOMPARE(Controle<TMaskEdit>("LatEdit")->Lit(), QStringLiteral("42°29'48\""));
        QCOMPARE(Controle<TMaskEdit>("LongEdit")->Lit(), QStringLiteral("002°01'49\""));
        QCOMPARE(Controle<TMaskEdit>("TempEdit")->Lit(), QStringLiteral("+10"));
        QCOMPARE(Controle<TMaskEdit>("PressEdit")->Lit(), QStringLiteral("760"));
        QVERIFY(Controle<QRadioButton>("ButtonAuto")->isChecked());
        QVERIFY(!Controle<QDateEdit>("DatePicker")->isEnabled());
        QVERIFY(!Controle<QTimeEdit>("TimePicker")->isEnabled());
        QCOMPARE(Controle<QDateEdit>("DatePicker")->minimumDate(), QDate(1980, 1, 1));
        QCOMPARE(Controle<QDateEdit>("DatePicker")->maximumDate(), QDate(2250, 1, 1));
        for (const char* nom : {"AsdEdit", "DecliEdit", "RVEdit", "HautEdit", "AzimEdit"})
            QVERIFY2(Controle<QLineEdit>(nom)->isReadOnly(), nom);
        QVERIFY(W()->minimumSize() == W()->maximumSize());  // fixed size
        QVERIFY(!(W()->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void displayFollowsTheEngine() {
        const auto p = Aides::Calcule(Instant, Longitude, Latitude);
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));
        QCOMPARE(W()->AzimEdit->text(), Aides::DMS(p.azimut, 1));
        QCOMPARE(W()->AsdEdit->text(), Aides::HMS(PosSoleil::Modulo360(p.ascensionDroite), 2));
        QCOMPARE(W()->DecliEdit->text(), Aides::DMS(p.declinaison, 2));
        QCOMPARE(W()->RVEdit->text(),
                 QStringLiteral("0") + Aides::SeparateurAttendu() + QStringLiteral("98525"));
        // The published values for 12:00:00.000: altitude 24.750726, declination -22.636600.
        Aides::FixeHorloge(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 0), Qt::UTC));
        QCOMPARE(W()->HautEdit->text(),
                 QStringLiteral(" 24°45'02") + Aides::SeparateurAttendu() + QStringLiteral("6\""));
        QCOMPARE(W()->DecliEdit->text(),
                 QStringLiteral("-22°38'11") + Aides::SeparateurAttendu() + QStringLiteral("76\""));
        QCOMPARE(QLocale::system().decimalPoint(), Aides::SeparateurAttendu());
    }

    // Qt's own dialogs speak the system's language: French texts under a French locale, the
    // English sources elsewhere.
    void qtsOwnTextsInTheSystemsLanguage() {
        const bool francais = QLocale::system().language() == QLocale::French;
        for (const auto& [contexte, source] :
             {std::pair{"QFileDialog", "Look in:"}, std::pair{"QFileDialog", "File &name:"},
              std::pair{"QPlatformTheme", "Cancel"}}) {
            const QString texte = QCoreApplication::translate(contexte, source);
            QVERIFY2((texte != QString::fromLatin1(source)) == francais, qPrintable(texte));
        }
        if (francais)
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                     QStringLiteral("Annuler"));
    }

    void options_data() {
        QTest::addColumn<bool>("refraction");
        QTest::addColumn<bool>("zenith");
        QTest::addColumn<bool>("sud");
        QTest::newRow("none") << false << false << false;
        QTest::newRow("refraction") << true << false << false;
        QTest::newRow("zenith") << false << true << false;
        QTest::newRow("south") << false << false << true;
        QTest::newRow("refraction and zenith") << true << true << false;
        QTest::newRow("all") << true << true << true;
    }
    void options() {
        QFETCH(bool, refraction);
        QFETCH(bool, zenith);
        QFETCH(bool, sud);
        W()->TempEdit->setText(QStringLiteral("-05"));
        W()->PressEdit->setText(QStringLiteral("740"));
        if (refraction) QTest::mouseClick(W()->RefracCheck, Qt::LeftButton);
        if (zenith) QTest::mouseClick(W()->ZenithCheck, Qt::LeftButton);
        if (sud) QTest::mouseClick(W()->RefCheck, Qt::LeftButton);
        const auto p = Aides::Calcule(Instant, Longitude, Latitude);
        double h = p.hauteur;
        if (refraction) h += PosSoleil::Refraction(p.hauteur, 74.0, -5.0);
        if (zenith) h = 90 - h;
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(h, 1));
        QCOMPARE(W()->AzimEdit->text(), Aides::DMS(sud ? p.azimut - 180 : p.azimut, 1));
        // Unticking returns to the plain values at once: nothing accumulates.
        W()->RefracCheck->setChecked(false);
        W()->ZenithCheck->setChecked(false);
        W()->RefCheck->setChecked(false);
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));
        QCOMPARE(W()->AzimEdit->text(), Aides::DMS(p.azimut, 1));
        // Without refraction, temperature and pressure change nothing on screen.
        W()->TempEdit->setText(QStringLiteral("+30"));
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));
    }

    void manualMode() {
        const QDateTime tick(QDate(2026, 12, 7), QTime(9, 15, 42, 731), Qt::UTC);
        Aides::FixeHorloge(tick);
        QTest::mouseClick(W()->ButtonMan, Qt::LeftButton);
        QVERIFY(!W()->Timer1->isActive());
        QVERIFY(W()->DatePicker->isEnabled());
        QVERIFY(W()->TimePicker->isEnabled());

        // A date keeps the time of the last tick, milliseconds included.
        W()->DatePicker->setDate(QDate(2025, 6, 21));
        QCOMPARE(MilliSeconde, std::uint16_t(731));
        auto p = Aides::Calcule(QDateTime(QDate(2025, 6, 21), QTime(9, 15, 42, 731), Qt::UTC),
                                Longitude, Latitude);
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));

        // A time sets the milliseconds to 0.
        W()->TimePicker->setTime(QTime(15, 30, 10));
        QCOMPARE(MilliSeconde, std::uint16_t(0));
        const QDateTime choisi(QDate(2025, 6, 21), QTime(15, 30, 10), Qt::UTC);
        p = Aides::Calcule(choisi, Longitude, Latitude);
        QCOMPARE(W()->AzimEdit->text(), Aides::DMS(p.azimut, 1));

        // No input: the display stays; a site change refreshes it for the chosen instant.
        const QString avant = W()->HautEdit->text();
        QTest::qWait(50);
        QCOMPARE(W()->HautEdit->text(), avant);
        W()->LatEdit->setText(QStringLiteral("10°00'00\""));
        p = Aides::Calcule(choisi, Longitude, 10.0);
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));

        // Back to the clock: pickers disabled, the timer running again.
        QTest::mouseClick(W()->ButtonAuto, Qt::LeftButton);
        QVERIFY(W()->Timer1->isActive());
        QVERIFY(!W()->DatePicker->isEnabled());
        QTRY_COMPARE(W()->HautEdit->text(),
                     Aides::DMS(Aides::Calcule(tick, Longitude, Latitude).hauteur, 1));
        W()->Timer1->stop();
    }

    void pickersFollowTheClockOncePerSecond() {
        Aides::FixeHorloge(QDateTime(QDate(2031, 3, 4), QTime(5, 6, 7, 100), Qt::UTC));
        QCOMPARE(W()->DatePicker->date(), QDate(2031, 3, 4));
        QCOMPARE(W()->TimePicker->time(), QTime(5, 6, 7));
        QCOMPARE(DerniereSeconde, std::uint16_t(7));
        // Within the same second the pickers are not written again.
        {
            const QSignalBlocker b(W()->TimePicker);
            W()->TimePicker->setTime(QTime(1, 1, 1));
        }
        Aides::FixeHorloge(QDateTime(QDate(2031, 3, 4), QTime(5, 6, 7, 900), Qt::UTC));
        QCOMPARE(W()->TimePicker->time(), QTime(1, 1, 1));
        Aides::FixeHorloge(QDateTime(QDate(2031, 3, 4), QTime(5, 6, 8, 0), Qt::UTC));
        QCOMPARE(W()->TimePicker->time(), QTime(5, 6, 8));
    }

    void clockOutsideThePickersRange() {
        // The picker stays at its nearest limit; the display goes on with the real clock, and
        // the program's write of the picker runs no change handler.
        const QDateTime futur(QDate(2260, 6, 1), QTime(12, 0, 1), Qt::UTC);
        Aides::FixeHorloge(futur);
        QCOMPARE(W()->DatePicker->date(), QDate(2250, 1, 1));
        QCOMPARE(Annee, std::uint16_t(2260));
        QCOMPARE(W()->HautEdit->text(),
                 Aides::DMS(Aides::Calcule(futur, Longitude, Latitude).hauteur, 1));
        const QDateTime passe(QDate(1975, 6, 1), QTime(12, 0, 2), Qt::UTC);
        Aides::FixeHorloge(passe);
        QCOMPARE(W()->DatePicker->date(), QDate(1980, 1, 1));
        QCOMPARE(Annee, std::uint16_t(1975));
        QVERIFY(Aides::Erreurs().isEmpty());
    }

    void rightAscensionAlwaysWithinADay() {
        for (int mois = 1; mois <= 12; ++mois) {
            const QDateTime t(QDate(2027, mois, 15), QTime(0, 0, 0), Qt::UTC);
            Aides::FixeHorloge(t);
            const double alpha = Aides::Calcule(t, Longitude, Latitude).ascensionDroite;
            QCOMPARE(W()->AsdEdit->text(), Aides::HMS(PosSoleil::Modulo360(alpha), 2));
            const int heures = W()->AsdEdit->text().mid(1, 2).toInt();
            QVERIFY2(
                W()->AsdEdit->text().startsWith(QLatin1Char(' ')) && heures >= 0 && heures < 24,
                qPrintable(W()->AsdEdit->text()));
        }
    }

    void southReferenceAtSunrise() {
        // At the equinox on the equator the Sun rises due east: -90 degrees from the south.
        const QDateTime t(QDate(2026, 3, 20), QTime(6, 8, 0), Qt::UTC);
        W()->LongEdit->setText(QStringLiteral("000°00'00\""));
        W()->LatEdit->setText(QStringLiteral("00°00'00\""));
        W()->RefCheck->setChecked(true);
        Aides::FixeHorloge(t);
        QVERIFY2(W()->AzimEdit->text().startsWith(QStringLiteral("-89°")) ||
                     W()->AzimEdit->text().startsWith(QStringLiteral("-90°")),
                 qPrintable(W()->AzimEdit->text()));
    }

    void unchangedTextIsNotRewritten() {
        int ecritures = 0;
        connect(W()->AsdEdit, &QLineEdit::textChanged, this, [&] { ++ecritures; });
        Aides::FixeHorloge(Instant);
        Aides::FixeHorloge(Instant);
        Aides::FixeHorloge(Instant.addMSecs(1));  // a millisecond moves no displayed digit of alpha
        QCOMPARE(ecritures, 0);
        disconnect(W()->AsdEdit, &QLineEdit::textChanged, this, nullptr);
    }

    void keyboardOrder() {
        // Latitude panel before longitude panel; in each radio group only the selected button
        // is a stop; the disabled pickers are passed over.
        W()->activateWindow();
        W()->ButtonAuto->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(W()->ButtonAuto->hasFocus());
        const QStringList attendu = {"RadioNord",   "LatEdit",   "RadioEst",    "LongEdit",
                                     "TempEdit",    "PressEdit", "RefracCheck", "AsdEdit",
                                     "DecliEdit",   "RVEdit",    "HautEdit",    "AzimEdit",
                                     "ZenithCheck", "RefCheck"};
        QStringList vu;
        for (int i = 0; i < attendu.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            vu << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                               : QString());
        }
        QCOMPARE(vu, attendu);
    }

    void typedDatesWorkAsTheArrowsDo() {
        // Each case types into one section of the long date, in sequence; the main window's
        // date follows every change, as it does for the arrows and the calendar. The long date
        // is "dddd, d MMMM yyyy" in English and "dddd d MMMM yyyy" in French: the day's name,
        // the day, the month, the year.
        enum S { DayOfWeekSection, DaySection, MonthSection, YearSection };
        struct Cas {
            S section;
            const char* touches;
            QDate attendue;
        };
        const Cas cas[] = {
            {S::DayOfWeekSection, "01", QDate(2000, 1, 1)},  // digits on the day's name: the day
            {S::YearSection, "2026", QDate(2026, 1, 1)},     // never through the years 2, 20, 202
            {S::DaySection, "15", QDate(2026, 1, 15)},
            {S::MonthSection, "03", QDate(2026, 3, 15)},
            {S::DaySection, "7", QDate(2026, 3, 7)},       // no second digit can follow a 7
            {S::MonthSection, "d", QDate(2026, 12, 7)},    // December by its name
            {S::YearSection, "1970", QDate(1980, 12, 7)},  // held at the range's first year
            {S::DaySection, "31", QDate(1980, 12, 31)},
            {S::MonthSection, "02", QDate(1980, 2, 29)},  // the month's last day
        };
        W()->ButtonMan->click();
        QDateEdit* picker = W()->DatePicker;
        {
            const QSignalBlocker bloque(picker);
            picker->setDate(QDate(2000, 1, 3));
        }
        QVERIFY(picker->displayFormat().startsWith(QStringLiteral("dddd")));
        QCOMPARE(picker->sectionCount(), 4);
        picker->setFocus();
        QTRY_VERIFY(picker->hasFocus());
        for (const Cas& c : cas) {
            picker->setCurrentSectionIndex(c.section);
            QTest::keyClicks(picker, QString::fromLatin1(c.touches));
            QCOMPARE(picker->date(), c.attendue);
            QCOMPARE(QDate(Unit1::Annee, Unit1::Mois, Unit1::Jour), c.attendue);
        }
        W()->ButtonAuto->click();
        W()->Timer1->stop();
    }

    void liveTicksRefresh() {
        // A clock that runs an hour per tick: each tick must show the engine's figures for the
        // instant it read, not merely read it.
        int appels = 0;
        W()->Horloge = [&appels] {
            ++appels;
            return Instant.addSecs(appels * 3600);
        };
        const QString avant = W()->HautEdit->text();
        W()->Timer1->start();
        QTRY_VERIFY(appels >= 3);
        W()->Timer1->stop();
        QVERIFY(W()->HautEdit->text() != avant);
        const auto p = Aides::Calcule(Instant.addSecs(appels * 3600), Longitude, Latitude);
        QCOMPARE(W()->HautEdit->text(), Aides::DMS(p.hauteur, 1));
        QCOMPARE(W()->AzimEdit->text(), Aides::DMS(p.azimut, 1));
        Aides::FixeHorloge(Instant);  // no clock left reading this test's counter
    }
};

// The main window's classes in one program, on the same windows.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestUnit1 fenetre;
    int echecs = QTest::qExec(&fenetre, argc, argv);
    echecs += Aides::LanceTestUnit1Saisie(argc, argv);
    return echecs;
}
#include "test_unit1.moc"
