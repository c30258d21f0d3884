#include "ImagesAnnee.h"

#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <optional>

#include "Tableau.h"
#include "JourneeLegale.h"

namespace {

const char* const Mois[] = {"janv.", "févr.", "mars",  "avr.", "mai",  "juin",
                            "juil.", "août",  "sept.", "oct.", "nov.", "déc."};
const char* const NomsBandes[] = {
    "nuit", "crépuscule astronomique",   "crépuscule nautique", "crépuscule civil",
    "jour", "Soleil caché par le relief"};

// Night deep blue to day pale yellow: each band plainly apart on a light or a dark theme; the
// Sun above the horizon but behind the relief, an earthen brown.
QColor CouleurBande(int bande) {
    static const QColor couleurs[] = {QColor(18, 24, 64),    QColor(40, 56, 118),
                                      QColor(72, 98, 168),   QColor(132, 160, 216),
                                      QColor(250, 226, 142), QColor(150, 112, 70)};
    return couleurs[std::clamp(bande, 0, BandeRelief)];
}

// An offset from UTC as "UTC+1", "UTC+5:30".
QString TexteDecalage(int secondes) {
    const int m = std::abs(secondes) / 60;
    QString texte = QStringLiteral("UTC%1%2")
                        .arg(secondes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                        .arg(m / 60);
    if (m % 60) texte += QStringLiteral(":%1").arg(m % 60, 2, 10, QLatin1Char('0'));
    return texte;
}

// The x of a date's column and the months' labels under a zone of the year.
double XJour(const QRectF& zone, int jour, int jours) {
    return zone.left() + zone.width() * jour / jours;
}

void DessineMois(QPainter& p, const QRectF& zone, const DonneesAnnee& d, const QPalette& pal) {
    const QFontMetricsF fm(p.font());
    QColor grille = pal.color(QPalette::Text);
    grille.setAlphaF(0.25);
    const int jours = static_cast<int>(d.dates.size());
    // The months' short names where they all fit, else their initials.
    double plusLong = 0;
    for (const char* nom : Mois)
        plusLong = std::max(plusLong, fm.horizontalAdvance(QString::fromUtf8(nom)));
    const bool initiales = plusLong + 4 > zone.width() * 28 / jours;
    for (int m = 1; m <= 12; ++m) {
        const int debut = QDate(d.annee, m, 1).dayOfYear() - 1;
        const int fin = m == 12 ? jours : QDate(d.annee, m + 1, 1).dayOfYear() - 1;
        const double x0 = XJour(zone, debut, jours), x1 = XJour(zone, fin, jours);
        p.setPen(QPen(grille, 1));
        p.drawLine(QPointF(x0, zone.top()), QPointF(x0, zone.bottom()));
        p.setPen(pal.color(QPalette::Text));
        const QString nom = QString::fromUtf8(Mois[m - 1]);
        p.drawText(QRectF(x0, zone.bottom() + 2, x1 - x0, fm.height()), Qt::AlignCenter,
                   initiales ? nom.left(1).toUpper() : nom);
    }
}

// A legend row of swatches and texts from (x, y); returns the height used.
struct Entree {
    QString texte;
    QColor couleur;
    bool trait;  // a line rather than a filled square
};
// The year picture's legend: the bands it shows (the relief's only behind a skyline that hides
// the Sun), the transit, and today in the year that has it.
QVector<Entree> EntreesLegende(const DonneesAnnee& d, QDate aujourdhui, const QPalette& pal) {
    QVector<Entree> entrees;
    const bool relief =
        std::find(d.bandes.begin(), d.bandes.end(), quint8(BandeRelief)) != d.bandes.end();
    for (int b = 0; b <= (relief ? BandeRelief : 4); ++b)
        entrees.push_back({QString::fromUtf8(NomsBandes[b]), CouleurBande(b), false});
    entrees.push_back({QStringLiteral("passage au méridien"), QColor(200, 30, 30), true});
    if (aujourdhui.year() == d.annee)
        entrees.push_back({QStringLiteral("aujourd'hui"), pal.color(QPalette::Highlight), true});
    return entrees;
}

double DessineLegende(QPainter& p, const QRectF& cadre, const QVector<Entree>& entrees,
                      const QPalette& pal) {
    const QFontMetricsF fm(p.font());
    const double h = fm.height(), carre = h * 0.7;
    double x = cadre.left(), y = cadre.top();
    for (const Entree& e : entrees) {
        const double largeur = carre + 4 + fm.horizontalAdvance(e.texte) + h;
        if (x > cadre.left() && x + largeur > cadre.right()) {
            x = cadre.left();
            y += h;
        }
        const QRectF echantillon(x, y + (h - carre) / 2, carre, carre);
        if (e.trait) {
            p.setPen(QPen(e.couleur, 2));
            p.drawLine(QPointF(echantillon.left(), echantillon.center().y()),
                       QPointF(echantillon.right(), echantillon.center().y()));
        } else {
            p.fillRect(echantillon, e.couleur);
            p.setPen(pal.color(QPalette::Mid));
            p.drawRect(echantillon);
        }
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QPointF(x + carre + 4, y + fm.ascent()), e.texte);
        x += largeur;
    }
    return y + h - cadre.top();
}

}  // namespace

int Bande(double hauteur, double azimut, const PosSoleil::Ciel& ciel,
          const PosSoleil::Horizon* horizon) {
    const double lever =
        horizon ? horizon->HauteurCentre(azimut) : PosSoleil::HauteurLeverCoucher(ciel.hauteurOeil);
    if (hauteur >= lever) return 4;
    // Above the horizon of the plain it would have risen on, but under the skyline: neither
    // night nor twilight, the Sun is hidden by the relief.
    if (horizon && hauteur >= PosSoleil::HauteursSeuils[0]) return BandeRelief;
    for (int s = 1; s < PosSoleil::NombreSeuils; ++s)
        if (hauteur >= PosSoleil::HauteursSeuils[s]) return 4 - s;
    return 0;
}

DonneesAnnee CalculeAnnee(int annee, const PosSoleil::Site& site, double TEmoinsTU,
                          const PosSoleil::Ciel& ciel, const std::string& separateur) {
    DonneesAnnee d;
    d.annee = annee;
    const int jours = PosSoleil::AnneeBissextile(annee) ? 366 : 365;
    // Row D holds the resident's day of D: the site's day whose transit falls on legal date D.
    d.jours = Unit5::AnneeDuResident(annee, site, ciel, TEmoinsTU);
    std::optional<PosSoleil::Horizon> horizon;
    if (!ciel.horizon.empty()) horizon.emplace(ciel.horizon);
    d.decalageNormal =
        QTimeZone::systemTimeZone().standardTimeOffset(QDateTime(QDate(annee, 1, 1), QTime(12, 0)));
    d.bandes.resize(jours * DonneesAnnee::PasParJour);
    std::vector<PosSoleil::Position> serie(DonneesAnnee::PasParJour);
    for (int i = 0; i < jours; ++i) {
        const QDate date = QDate(annee, 1, 1).addDays(i);
        d.dates << date;
        const int decalage = QDateTime(date, QTime(12, 0)).offsetFromUtc();
        d.decalages << decalage;
        const double minuit = PosSoleil::EncodeDateValeur(annee, date.month(), date.day(), 0, 0, 0);
        const double minuitLegal = minuit - decalage / PosSoleil::SecondesParJour;
        PosSoleil::SerieSoleil(minuitLegal, 1.0 / DonneesAnnee::PasParJour, site, TEmoinsTU, serie);
        for (int k = 0; k < DonneesAnnee::PasParJour; ++k)
            d.bandes[i * DonneesAnnee::PasParJour + k] = static_cast<quint8>(
                Bande(serie[k].Hauteur, serie[k].Azimut, ciel, horizon ? &*horizon : nullptr));
        double passage = NAN;
        for (const PosSoleil::Evenement& e : d.jours[i].evenements)
            if (e.type == PosSoleil::TypeEvenement::Passage) passage = (e.t - minuitLegal) * 24;
        d.passages << passage;
        d.equations << PosSoleil::PositionSoleil(minuit + 0.5, site, TEmoinsTU).EquationTemps * 60;
        const PosSoleil::Position midi = PosSoleil::PositionSoleil(
            minuit + 0.5 - d.decalageNormal / PosSoleil::SecondesParJour, site, TEmoinsTU);
        d.analemmeAzimuts << midi.Azimut;
        d.analemmeHauteurs << midi.Hauteur;
    }
    d.site = QString::fromStdString(Tableau::LigneSite(
        site.Longitude, site.Latitude, site.Longitude >= 0, site.Latitude >= 0, separateur, true));
    return d;
}

TImage::TImage(QWidget* parent, const char* nom, const QString& description) : QWidget(parent) {
    setObjectName(QString::fromLatin1(nom));
    setAccessibleName(description);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(sizeHint() / 2);
}

QSize TImage::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QLatin1Char('0')) * 90, fm.height() * 30};
}

void TImage::Change(const DonneesAnnee* d, QDate jour) {
    donnees = d;
    aujourdhui = jour;
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Dessine(p, QRectF(rect()));
}

QStringList TImageAnnee::Legende() const {
    QStringList textes;
    if (!donnees) return textes;
    for (const Entree& e : EntreesLegende(*donnees, aujourdhui, palette())) textes << e.texte;
    return textes;
}

TImageAnnee::TImageAnnee(QWidget* parent)
    : TImage(parent, "ImageAnnee",
             QStringLiteral(
                 "Image de l'année : heures légales de la nuit, des crépuscules et du jour")) {}

TImageEquation::TImageEquation(QWidget* parent)
    : TImage(parent, "ImageEquation",
             QStringLiteral("Image de l'équation du temps sur l'année et de l'analemme")) {}

void TImageAnnee::Dessine(QPainter& p, const QRectF& cadre) const {
    const QPalette& pal = palette();
    p.setFont(font());
    p.fillRect(cadre, pal.base());
    if (!donnees || donnees->dates.isEmpty()) return;
    const DonneesAnnee& d = *donnees;
    const QFontMetricsF fm(font());
    const double h = fm.height();
    p.setRenderHint(QPainter::Antialiasing, false);

    // The title, the legend above; hours on the left, months below.
    QStringList decalages;
    for (const int s : d.decalages)
        if (!decalages.contains(TexteDecalage(s))) decalages << TexteDecalage(s);
    p.setPen(pal.color(QPalette::Text));
    // The year, then what it is of: the site, the zone and the sky; the zone's offsets.
    const QString titre = QStringLiteral("%1 — %2 (%3)")
                              .arg(d.annee)
                              .arg(d.description.isEmpty() ? d.site : d.description,
                                   decalages.join(QStringLiteral(" et ")));
    p.drawText(QPointF(cadre.left() + 4, cadre.top() + fm.ascent() + 2), titre);
    const QVector<Entree> entrees = EntreesLegende(d, aujourdhui, pal);
    const double marge = fm.horizontalAdvance(QStringLiteral("24 h")) + 8;
    const double legende = DessineLegende(
        p, QRectF(cadre.left() + marge, cadre.top() + h + 4, cadre.width() - marge - 8, h * 3),
        entrees, pal);
    const QRectF zone(cadre.left() + marge, cadre.top() + h + 8 + legende,
                      cadre.width() - marge - 8, cadre.height() - (h + 8 + legende) - h - 6);
    const int jours = static_cast<int>(d.dates.size());
    const double pas = zone.height() / DonneesAnnee::PasParJour;
    for (int i = 0; i < jours; ++i) {
        const double x0 = XJour(zone, i, jours), x1 = XJour(zone, i + 1, jours);
        int k = 0;
        while (k < DonneesAnnee::PasParJour) {
            const quint8 b = d.bandes[i * DonneesAnnee::PasParJour + k];
            int fin = k + 1;
            while (fin < DonneesAnnee::PasParJour &&
                   d.bandes[i * DonneesAnnee::PasParJour + fin] == b)
                ++fin;
            p.fillRect(QRectF(x0, zone.top() + k * pas, x1 - x0 + 0.5, (fin - k) * pas + 0.5),
                       CouleurBande(b));
            k = fin;
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    // Hours every three, faint lines across.
    QColor grille = pal.color(QPalette::Text);
    grille.setAlphaF(0.3);
    for (int heure = 0; heure <= 24; heure += 3) {
        const double y = zone.top() + zone.height() * heure / 24.0;
        p.setPen(QPen(grille, 1, Qt::DotLine));
        p.drawLine(QPointF(zone.left(), y), QPointF(zone.right(), y));
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRectF(cadre.left(), y - h / 2, marge - 4, h), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1 h").arg(heure));
    }
    DessineMois(p, zone, d, pal);
    // The transit, broken where legal time jumps.
    QPainterPath passage;
    for (int i = 0; i < jours; ++i) {
        if (std::isnan(d.passages[i])) continue;
        const QPointF q(XJour(zone, i, jours) + zone.width() / jours / 2,
                        zone.top() + zone.height() * std::clamp(d.passages[i], 0.0, 24.0) / 24.0);
        if (i == 0 || std::isnan(d.passages[i - 1]) ||
            std::fabs(d.passages[i] - d.passages[i - 1]) > 0.25)
            passage.moveTo(q);
        else
            passage.lineTo(q);
    }
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawPath(passage);
    if (aujourdhui.year() == d.annee) {
        const double x = XJour(zone, aujourdhui.dayOfYear() - 1, jours) + zone.width() / jours / 2;
        p.setPen(QPen(pal.color(QPalette::Highlight), 2));
        p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
    }
    p.setPen(pal.color(QPalette::Text));
    p.setBrush(Qt::NoBrush);
    p.drawRect(zone);
}

// ---- The equation of time and the analemma ----

void TImageEquation::Dessine(QPainter& p, const QRectF& cadre) const {
    const QPalette& pal = palette();
    p.setFont(font());
    p.fillRect(cadre, pal.base());
    if (!donnees || donnees->dates.isEmpty()) return;
    const DonneesAnnee& d = *donnees;
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF fm(font());
    const double h = fm.height(), marge = fm.horizontalAdvance(QStringLiteral("-90°")) + 8;
    QColor grille = pal.color(QPalette::Text);
    grille.setAlphaF(0.25);
    const QPen courbe(pal.color(QPalette::Highlight), 2);
    const auto graduation = [](double etendue) {
        for (const double pas : {1.0, 2.0, 5.0, 10.0, 20.0, 30.0})
            if (etendue / pas <= 8) return pas;
        return 45.0;
    };

    // Left: the equation of time, minutes, across the months.
    const QRectF gauche(cadre.left(), cadre.top(), cadre.width() * 0.55, cadre.height());
    p.setPen(pal.color(QPalette::Text));
    p.drawText(QPointF(gauche.left() + 4, gauche.top() + fm.ascent() + 2),
               QStringLiteral("Équation du temps (minutes, vrai moins moyen)"));
    const QRectF zoneE(gauche.left() + marge, gauche.top() + h * 1.6, gauche.width() - marge - h,
                       gauche.height() - h * 3);
    const auto [emin, emax] = std::minmax_element(d.equations.begin(), d.equations.end());
    const double pasE = graduation(*emax - *emin);
    const double bas = std::floor(*emin / pasE) * pasE, haut = std::ceil(*emax / pasE) * pasE;
    const auto yE = [&](double m) {
        return zoneE.bottom() - zoneE.height() * (m - bas) / (haut - bas);
    };
    for (double m = bas; m <= haut + 1e-9; m += pasE) {
        p.setPen(QPen(m == 0 ? pal.color(QPalette::Text) : grille, 1));
        p.drawLine(QPointF(zoneE.left(), yE(m)), QPointF(zoneE.right(), yE(m)));
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRectF(gauche.left(), yE(m) - h / 2, marge - 4, h),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(m));
    }
    DessineMois(p, zoneE, d, pal);
    const int jours = static_cast<int>(d.dates.size());
    QPainterPath equation;
    for (int i = 0; i < jours; ++i) {
        const QPointF q(XJour(zoneE, i, jours) + zoneE.width() / jours / 2, yE(d.equations[i]));
        i == 0 ? equation.moveTo(q) : equation.lineTo(q);
    }
    p.setPen(courbe);
    p.drawPath(equation);

    // Right: the analemma, altitude against azimuth, at the same clock time every date.
    const QRectF droite(gauche.right(), cadre.top(), cadre.width() - gauche.width(),
                        cadre.height());
    p.setPen(pal.color(QPalette::Text));
    p.drawText(
        QPointF(droite.left() + 4, droite.top() + fm.ascent() + 2),
        QStringLiteral("Analemme à 12:00 heure normale (%1)").arg(TexteDecalage(d.decalageNormal)));
    const QRectF zoneA(droite.left() + marge, droite.top() + h * 1.6, droite.width() - marge - h,
                       droite.height() - h * 4.2);
    // Azimuths unwrapped around their mean, so that an analemma across north stays whole.
    QVector<double> azimuts = d.analemmeAzimuts;
    const double reference = azimuts.front();
    for (double& a : azimuts) a = reference + std::remainder(a - reference, 360.0);
    const auto [amin, amax] = std::minmax_element(azimuts.begin(), azimuts.end());
    const auto [hmin, hmax] =
        std::minmax_element(d.analemmeHauteurs.begin(), d.analemmeHauteurs.end());
    const double pasA = graduation(*amax - *amin), pasH = graduation(*hmax - *hmin);
    const double a0 = std::floor(*amin / pasA) * pasA, a1 = std::ceil(*amax / pasA) * pasA;
    const double h0 = std::floor(*hmin / pasH) * pasH, h1 = std::ceil(*hmax / pasH) * pasH;
    const auto vers = [&](double a, double ha) {
        return QPointF(zoneA.left() + zoneA.width() * (a - a0) / std::max(a1 - a0, 1e-9),
                       zoneA.bottom() - zoneA.height() * (ha - h0) / std::max(h1 - h0, 1e-9));
    };
    for (double ha = h0; ha <= h1 + 1e-9; ha += pasH) {
        p.setPen(QPen(grille, 1));
        p.drawLine(vers(a0, ha), vers(a1, ha));
        p.setPen(pal.color(QPalette::Text));
        p.drawText(QRectF(droite.left(), vers(a0, ha).y() - h / 2, marge - 4, h),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1°").arg(ha));
    }
    double libre = zoneA.left();  // where the next azimuth's text may start
    for (double a = a0; a <= a1 + 1e-9; a += pasA) {
        p.setPen(QPen(grille, 1));
        p.drawLine(vers(a, h0), vers(a, h1));
        p.setPen(pal.color(QPalette::Text));
        const QString texte = QStringLiteral("%1°").arg(PosSoleil::Modulo360(a));
        const double largeur = fm.horizontalAdvance(texte);
        QRectF c(vers(a, h0).x() - largeur / 2, zoneA.bottom() + 2, largeur, h);
        c.moveLeft(std::min(c.left(), droite.right() - largeur - 2));
        if (c.left() < libre) continue;
        p.drawText(c, Qt::AlignCenter, texte);
        libre = c.right() + 4;
    }
    p.drawText(QRectF(zoneA.left(), zoneA.bottom() + h + 2, zoneA.width(), h), Qt::AlignCenter,
               QStringLiteral("Azimut (depuis le nord), hauteur (°)"));
    p.setPen(Qt::NoPen);
    p.setBrush(pal.color(QPalette::Highlight));
    for (int i = 0; i < jours; ++i)
        p.drawEllipse(vers(azimuts[i], d.analemmeHauteurs[i]), 1.8, 1.8);
    // The first of each month, named.
    p.setPen(pal.color(QPalette::Text));
    for (int m = 1; m <= 12; ++m) {
        const int i = QDate(d.annee, m, 1).dayOfYear() - 1;
        const QPointF q = vers(azimuts[i], d.analemmeHauteurs[i]);
        p.drawText(q + QPointF(4, -3), QString::fromUtf8(Mois[m - 1]));
    }
}
