// The solar year's window: opened from the solar day's, following the site and the sky, its
// rows the resident's days, its picture's legend and its table.
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

class TestUnit6 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(Aides::CreeEtMontrePrincipale()); }

    void init() { RemetLeSite(); }

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
};

int Aides::LanceTestUnit6(int argc, char** argv) {
    TestUnit6 tests;
    return QTest::qExec(&tests, argc, argv);
}
#include "test_unit6.moc"
