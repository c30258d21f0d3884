// The sundial's window: opened from the solar day's, its lines those of the main window's site
// (and again when the site changes), settings that make no dial refused with their reason, and
// the dial saved at true scale in SVG and PDF.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>
#include <tuple>

#include "Aides.h"
#include "AidesJournee.h"
#include "Contrat.h"
#include "PosSoleil.h"
#include "Unit1.h"
#include "Unit3.h"
#include "Unit5.h"
#include "Unit7.h"

using namespace AidesJournee;

namespace {

// The lines the engine gives for the window's settings at a latitude and longitude.
std::vector<PosSoleil::LigneCadran> LignesAttendues(const TCadran* c, double longitude,
                                                    double latitude) {
    PosSoleil::ChoixLignes choix;
    choix.heures = c->Heures->isChecked();
    choix.dates = c->Dates->isChecked();
    PosSoleil::Trace t;
    t.largeur = c->Largeur->value();
    t.hauteur = c->Hauteur->value();
    int a = 0, m = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
    PosSoleil::DecodeDateValeur(Unit1::InstantAffiche(), a, m, j, h, mi, s, ms);
    t.annee = a;
    t.meridien = 15 * std::round(longitude / 15);
    t.TEmoinsTU = Unit3::TEmoinsTU;
    const PosSoleil::Site site{longitude, latitude, 0};
    std::tie(t.centreX, t.centreY) = PosSoleil::CentreDesLignes(c->Cadran(), site, t);
    return PosSoleil::LignesCadran(c->Cadran(), site, choix, t);
}

bool MemesLignes(const std::vector<PosSoleil::LigneCadran>& a,
                 const std::vector<PosSoleil::LigneCadran>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].etiquette != b[i].etiquette || a[i].points != b[i].points) return false;
    return true;
}

TCadran* OuvreCadran() {
    if (!OuvreJourneeAu(QDate(2026, 6, 21))) return nullptr;
    Unit5::Journee->OuvrirCadran->click();
    TCadran* c = Unit5::Journee->Cadran;
    return c && QTest::qWaitFor([c] { return c->isVisible(); }) ? c : nullptr;
}

}  // namespace

class TestUnit7 : public QObject {
    Q_OBJECT

private slots:
    void init() { RemetLeSite(); }

    // The dial of the main window's site, drawn from the engine's lines, and drawn again for
    // another site typed in the main window.
    void theDialFollowsTheMainWindowsSite() {
        TCadran* c = OuvreCadran();
        QVERIFY(c);
        QCOMPARE(c->windowTitle(), QStringLiteral("Cadran solaire"));
        c->Gnomon->setCurrentIndex(1);
        c->AzimutMur->setValue(202.5);
        QCOMPARE(c->DeclinaisonLabel->text(), QStringLiteral("déclinaison gnomonique 22.5° ouest"));
        QVERIFY(
            MemesLignes(c->Image->Lignes(), LignesAttendues(c, Unit1::Longitude, Unit1::Latitude)));
        QVERIFY(!c->Image->Lignes().empty());
        const QString avant = c->DescriptionLabel->text();
        QVERIFY(avant.contains(QStringLiteral("nodus à 100.0 mm du plan")));
        ChangeSite(QStringLiteral("001°26'38\""), QStringLiteral("52°30'00\""));
        QTRY_COMPARE(Unit1::Latitude, 52.5);
        Unit5::Journee->Actualise();
        QVERIFY(c->DescriptionLabel->text() != avant);
        QVERIFY(MemesLignes(c->Image->Lignes(), LignesAttendues(c, Unit1::Longitude, 52.5)));
        // The shadow at the main window's instant: noon of its date, the Sun on a south-west wall.
        const PosSoleil::Ombre o = PosSoleil::OmbreA(c->Cadran(), Unit1::InstantAffiche(),
                                                     {Unit1::Longitude, 52.5, 0}, Unit3::TEmoinsTU);
        QCOMPARE(c->Image->OmbreActuelle().eclaire, o.eclaire);
        if (o.eclaire) QCOMPARE(c->Image->OmbreActuelle().x, o.x);
    }

    // A polar style on a plane that holds the Earth's axis, a face the Sun never lights: no
    // lines, nothing to save, and the reason said.
    void settingsThatMakeNoDialSayWhy() {
        TCadran* c = OuvreCadran();
        QVERIFY(c);
        c->Gnomon->setCurrentIndex(0);
        c->Inclinaison->setValue(90);
        c->AzimutMur->setValue(90);
        QCOMPARE(c->RaisonLabel->text(), QStringLiteral("Cadran impossible : ") +
                                             QString::fromUtf8(Contrat::TexteDefautCadran(
                                                 PosSoleil::DefautCadran::StyleParallele)) +
                                             QLatin1Char('.'));
        QVERIFY(c->RaisonLabel->text().contains(QStringLiteral("prendre un nodus")));
        QVERIFY(!c->Enregistrer->isEnabled());
        QVERIFY(c->Image->Lignes().empty());
        c->Gnomon->setCurrentIndex(1);
        QVERIFY(c->RaisonLabel->text().isEmpty());
        QVERIFY(c->Enregistrer->isEnabled());
        QVERIFY(!c->Image->Lignes().empty());
        c->Inclinaison->setValue(180);
        QVERIFY(c->RaisonLabel->text().contains(QStringLiteral("n'éclaire jamais")));
        QVERIFY(!c->Enregistrer->isEnabled());
        c->Inclinaison->setValue(90);
        c->AzimutMur->setValue(180);
        // The boxes keep to their ranges: a length of 0 becomes the least one.
        c->Longueur->setValue(0);
        QCOMPARE(c->Longueur->value(), Contrat::LongueurGnomon.min);
    }

    // SVG and PDF of a 300 x 200 mm dial: the page is the dial and its margins, in millimetres.
    void savedAtTrueScale() {
        TCadran* c = OuvreCadran();
        QVERIFY(c);
        c->Gnomon->setCurrentIndex(1);
        c->Largeur->setValue(300);
        c->Hauteur->setValue(200);
        const double largeur = 300 + 2 * TCadran::Marge,
                     hauteur = 200 + 2 * TCadran::Marge + TCadran::Legende;
        QTemporaryDir dossier;
        const QString svg = dossier.filePath(QStringLiteral("cadran.svg"));
        QVERIFY(c->EnregistreImage(svg));
        QFile f(svg);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        int traces = 0;
        bool racine = false;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            if (xml.name() == QLatin1String("svg")) {
                racine = true;
                const auto mm = [](QStringView v) {
                    return v.endsWith(QLatin1String("mm")) ? v.chopped(2).toDouble() : -1.0;
                };
                QCOMPARE(mm(xml.attributes().value(QLatin1String("width"))), largeur);
                QCOMPARE(mm(xml.attributes().value(QLatin1String("height"))), hauteur);
                const QStringList boite = xml.attributes()
                                              .value(QLatin1String("viewBox"))
                                              .toString()
                                              .split(QLatin1Char(' '));
                QCOMPARE(boite.size(), 4);
                QCOMPARE(boite[2].toDouble(), largeur);
                QCOMPARE(boite[3].toDouble(), hauteur);
            }
            if (xml.name() == QLatin1String("path") || xml.name() == QLatin1String("polyline"))
                ++traces;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(racine);
        QVERIFY(traces > 10);

        const QString pdf = dossier.filePath(QStringLiteral("cadran.pdf"));
        QVERIFY(c->EnregistreImage(pdf));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        QVERIFY2(!pdfinfo.isEmpty() && !pdftoppm.isEmpty(), "poppler-utils is needed");
        QProcess info;
        info.start(pdfinfo, {pdf});
        QVERIFY(info.waitForFinished());
        const QRegularExpression taille(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"));
        const auto m = taille.match(QString::fromUtf8(info.readAllStandardOutput()));
        QVERIFY(m.hasMatch());
        // The writer keeps the page to the whole point (a third of a millimetre)...
        QVERIFY(std::fabs(m.captured(1).toDouble() - largeur / 25.4 * 72) <= 0.5);
        QVERIFY(std::fabs(m.captured(2).toDouble() - hauteur / 25.4 * 72) <= 0.5);
        // ... and the drawing is at true scale: at 50.8 dpi, two pixels a millimetre, the
        // dial's border runs from 15 mm to 315 mm across its middle row.
        QProcess image;
        image.start(pdftoppm,
                    {QStringLiteral("-gray"), QStringLiteral("-r"), QStringLiteral("50.8"), pdf,
                     dossier.filePath(QStringLiteral("page"))});
        QVERIFY(image.waitForFinished());
        QCOMPARE(image.exitCode(), 0);
        const QImage page(dossier.filePath(QStringLiteral("page-1.pgm")));
        QVERIFY(!page.isNull());
        const int rang = qRound((TCadran::Marge + 100) * 2);
        int gauche = -1, droite = -1;
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, rang)) < 128) {
                if (gauche < 0) gauche = x;
                droite = x;
            }
        QVERIFY2(std::abs(gauche - 30) <= 2 && std::abs(droite - 630) <= 2,
                 qPrintable(QStringLiteral("%1 %2").arg(gauche).arg(droite)));
    }
};

int Aides::LanceTestUnit7(int argc, char** argv) {
    TestUnit7 tests;
    return QTest::qExec(&tests, argc, argv);
}
#include "test_unit7.moc"
