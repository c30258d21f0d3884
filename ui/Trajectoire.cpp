#include "Trajectoire.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The names of the reference paths, in the order the window gives them, and their dashes.
const char* const NomsReferences[] = {"21 juin", "21 décembre", "20 mars"};
constexpr Qt::PenStyle TraitsReferences[] = {Qt::DashLine, Qt::DotLine, Qt::DashDotLine};

// The length of a legend's sample line, in widths of "0".
constexpr double EchantillonLegende = 3.0;

QPen StyloChemin(const QPalette& pal, int trait) {
    if (trait < 0) return QPen(pal.color(QPalette::Highlight), 2.0);
    QColor faible = pal.color(QPalette::Text);
    faible.setAlphaF(0.55);
    return QPen(faible, 1.2, TraitsReferences[trait]);
}

}  // namespace

TTrajectoire::TTrajectoire(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Trajectoire"));
    setMinimumSize(sizeHint() / 2);
}

QSize TTrajectoire::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(QLatin1Char('0')) * 60, fm.height() * 16};
}

void TTrajectoire::ChangeChemins(QVector<Point> j, QVector<QVector<Point>> r, QVector<Heure> h,
                                 bool sud, const QString& legales) {
    jour = std::move(j);
    references = std::move(r);
    heures = std::move(h);
    versLeSud = sud;
    heuresLegales = legales;
    double minimum = 0;
    for (const Point& p : jour) minimum = std::min(minimum, p.hauteur);
    hauteurMin = std::clamp(std::floor(minimum / 10) * 10, -90.0, -10.0);
    update();
}

void TTrajectoire::ChangeHorizon(QVector<Point> profil) {
    horizon = std::move(profil);
    update();
}

void TTrajectoire::ChangeSoleil(bool visible, Point p) {
    if (visible == soleilVisible && p.azimut == soleil.azimut && p.hauteur == soleil.hauteur)
        return;
    soleilVisible = visible;
    soleil = p;
    update();
}

QPointF TTrajectoire::Vers(const QRectF& zone, Point p) const {
    // Azimuths run from north through east; the picture is centred on the south for a northern
    // site and on the north for a southern one, where the Sun culminates.
    double a = versLeSud ? p.azimut : std::fmod(p.azimut + 180.0, 360.0);
    a = std::clamp(a, 0.0, 360.0);
    const double x = zone.left() + zone.width() * a / 360.0;
    const double y = zone.bottom() - zone.height() * (p.hauteur - hauteurMin) / (90.0 - hauteurMin);
    return {x, y};
}

QVector<TTrajectoire::Etiquette> TTrajectoire::Etiquettes() const {
    const QFontMetrics fm(font());
    const double h = fm.height();
    const QRectF tout = QRectF(rect());
    const auto cadre = [&](const QString& texte, double x, double y) {
        return QRectF(x, y, fm.horizontalAdvance(texte), h);
    };

    QVector<Etiquette> legende = Legende();
    const double rangees = legende.isEmpty() ? 1 : legende.back().cadre.top() / h + 1;

    const QRectF zone = Zone();
    QVector<Etiquette> etiquettes;
    const double basLegende = tout.bottom() - rangees * h;
    for (Etiquette& e : legende) {
        e.cadre.moveTop(basLegende + e.cadre.top());
        etiquettes.push_back(e);
    }
    const QString hauteur = QStringLiteral("Hauteur (°)");
    etiquettes.push_back({Role::Axe, hauteur, cadre(hauteur, 2, 0)});
    const QString azimut = QStringLiteral("Azimut");
    etiquettes.push_back(
        {Role::Axe, azimut,
         cadre(azimut, zone.center().x() - fm.horizontalAdvance(azimut) / 2.0, basLegende - h)});

    // A text goes in only where it covers none already placed.
    const auto place = [&](Role role, const QString& texte, QRectF c) {
        for (const Etiquette& e : etiquettes)
            if (e.cadre.intersects(c)) return;
        etiquettes.push_back({role, texte, c});
    };
    // The cardinal points.
    const char* const cardinaux[] = {"N", "E", "S", "O"};
    for (int i = 0; i <= 4; ++i) {
        const double a = versLeSud ? i * 90.0 : i * 90.0 + 180.0;
        const QString texte =
            QString::fromLatin1(cardinaux[static_cast<int>(std::fmod(a, 360.0) / 90.0)]);
        const double xc = zone.left() + zone.width() * i / 4.0;
        place(Role::Graduation, texte,
              cadre(texte, xc - fm.horizontalAdvance(texte) / 2.0, zone.bottom() + 2));
    }

    // Degrees every 30, from the horizon out (so a small picture keeps 0 and the top).
    QVector<double> degres = {0.0, 90.0};
    for (double a = std::ceil(hauteurMin / 30) * 30; a < 90.0; a += 30.0) degres.push_back(a);
    for (const double a : degres) {
        const QString texte = QStringLiteral("%1°").arg(a);
        const double y = Vers(zone, {0, a}).y();
        QRectF c = cadre(texte, zone.left() - fm.horizontalAdvance(texte) - 4, y - h / 2);
        c.moveTop(std::clamp(c.top(), h, zone.bottom() - h));
        place(Role::Graduation, texte, c);
    }
    // The hours last, beside their marks, moved inside the picture, left out where they would
    // cover another text.
    for (const Heure& heure : heures) {
        if (heure.point.hauteur < hauteurMin) continue;
        const QPointF q = Vers(zone, heure.point);
        QRectF c = cadre(heure.texte, q.x() + 4, q.y() - 4 - fm.ascent());
        c.moveLeft(std::clamp(c.left(), tout.left(), tout.right() - c.width()));
        c.moveTop(std::clamp(c.top(), zone.top(), zone.bottom() - c.height()));
        place(Role::Heure, heure.texte, c);
    }
    return etiquettes;
}

QVector<TTrajectoire::Etiquette> TTrajectoire::Legende() const {
    // The entries flow over as many rows as the width needs, from y = 0; each path's entry
    // leaves room on its left for a sample of its line.
    const QFontMetrics fm(font());
    const double h = fm.height(), zero = fm.horizontalAdvance(QLatin1Char('0'));
    QVector<Etiquette> entrees = {{Role::Legende, QStringLiteral("jour affiché"), {}, -1}};
    // A reference path wholly under the plotted altitudes is not drawn: the legend leaves it out.
    for (int k = 0; k < references.size() && k < 3; ++k)
        if (std::any_of(references[k].begin(), references[k].end(),
                        [&](const Point& p) { return p.hauteur >= hauteurMin; }))
            entrees.push_back({Role::Legende, QString::fromUtf8(NomsReferences[k]), {}, k});
    entrees.push_back({Role::Legende, QStringLiteral("• heures : ") + heuresLegales, {}, -2});
    double x = 2, rangee = 0;
    for (Etiquette& e : entrees) {
        const double echantillon = e.trait >= -1 ? zero * (EchantillonLegende + 0.5) : 0;
        const double largeur = echantillon + fm.horizontalAdvance(e.texte);
        if (x > 2 && x + largeur > width() - 2) {
            x = 2;
            ++rangee;
        }
        e.cadre = QRectF(x + echantillon, rangee * h, fm.horizontalAdvance(e.texte), h);
        x += largeur + zero * 2;
    }
    return entrees;
}

QRectF TTrajectoire::Zone() const {
    // Above: the vertical axis's title; below: the cardinal points, the horizontal axis's title
    // and the legend's rows.
    const QFontMetrics fm(font());
    const double h = fm.height(), zero = fm.horizontalAdvance(QLatin1Char('0'));
    const QVector<Etiquette> legende = Legende();
    const double rangees = legende.isEmpty() ? 1 : legende.back().cadre.top() / h + 1;
    return QRectF(rect()).adjusted(fm.horizontalAdvance(QStringLiteral("-90°")) + 6, h * 1.8,
                                   -zero * 2, -(h * (2 + rangees) + 4));
}

void TTrajectoire::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.base());
    const QRectF zone = Zone();

    // Altitude grid every 10 degrees, the horizon stronger; a line at each cardinal point.
    QColor grille = pal.color(QPalette::Text);
    grille.setAlphaF(0.15);
    for (double h = hauteurMin; h <= 90.0; h += 10.0) {
        const double y = Vers(zone, {0, h}).y();
        p.setPen(QPen(h == 0.0 ? pal.color(QPalette::Text) : grille, h == 0.0 ? 1.5 : 1.0));
        p.drawLine(QPointF(zone.left(), y), QPointF(zone.right(), y));
    }
    p.setPen(grille);
    for (int i = 0; i <= 4; ++i) {
        const double x = zone.left() + zone.width() * i / 4.0;
        p.drawLine(QPointF(x, zone.top()), QPointF(x, zone.bottom()));
    }

    // A path broken where it wraps across the picture's edges.
    const auto trace = [&](const QVector<Point>& points) {
        QPainterPath chemin;
        for (int i = 0; i < points.size(); ++i) {
            const QPointF q = Vers(zone, points[i]);
            if (i == 0 || std::fabs(q.x() - Vers(zone, points[i - 1]).x()) > zone.width() / 2)
                chemin.moveTo(q);
            else
                chemin.lineTo(q);
        }
        p.drawPath(chemin);
    };
    p.save();
    p.setClipRect(zone.adjusted(-1, -1, 1, 1));
    if (!horizon.isEmpty()) {
        // The skyline, filled down to the picture's floor, in the order of the picture's azimuths.
        QVector<Point> points = horizon;
        std::sort(points.begin(), points.end(), [&](const Point& a, const Point& b) {
            return Vers(zone, a).x() < Vers(zone, b).x();
        });
        QPainterPath relief;
        relief.moveTo(zone.left(), zone.bottom());
        for (const Point& q : points) relief.lineTo(Vers(zone, q));
        relief.lineTo(zone.right(), zone.bottom());
        relief.closeSubpath();
        QColor terre = pal.color(QPalette::Text);
        terre.setAlphaF(0.22);
        p.fillPath(relief, terre);
        QColor bord = pal.color(QPalette::Text);
        bord.setAlphaF(0.6);
        p.setPen(QPen(bord, 1.2));
        p.drawPath(relief);
    }
    for (int k = 0; k < references.size() && k < 3; ++k) {
        p.setPen(StyloChemin(pal, k));
        trace(references[k]);
    }
    p.setPen(StyloChemin(pal, -1));
    trace(jour);
    p.setPen(pal.color(QPalette::Text));
    p.setBrush(pal.color(QPalette::Highlight));
    for (const Heure& h : heures)
        if (h.point.hauteur >= hauteurMin) p.drawEllipse(Vers(zone, h.point), 2.5, 2.5);
    if (soleilVisible) {
        p.setBrush(QColor(255, 190, 0));
        p.drawEllipse(Vers(zone, soleil), 6.0, 6.0);
    }
    p.restore();

    const QFontMetrics fm(font());
    for (const Etiquette& e : Etiquettes()) {
        if (e.role == Role::Legende && e.trait >= -1) {
            const double y = e.cadre.center().y();
            const double zero = fm.horizontalAdvance(QLatin1Char('0'));
            p.setPen(StyloChemin(pal, e.trait));
            p.drawLine(QPointF(e.cadre.left() - zero * (EchantillonLegende + 0.5), y),
                       QPointF(e.cadre.left() - zero * 0.5, y));
        }
        p.setPen(pal.color(QPalette::Text));
        p.drawText(e.cadre, Qt::AlignLeft | Qt::AlignVCenter, e.texte);
    }
}
