// Planar sundials against geometry written here: the shadow as a ray meeting a plane, the
// classical hour-line and style formulas of horizontal, vertical and declining dials, and the
// seasons against the published instants.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "PosSoleil.h"

namespace {

using PosSoleil::Cadran;
using PosSoleil::Gnomon;
using V = std::array<double, 3>;  // east, north, up

constexpr double Rad = std::numbers::pi / 180;

double Scal(const V& a, const V& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V Vect(const V& a, const V& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
V Unite(const V& a) {
    const double n = std::sqrt(Scal(a, a));
    return {a[0] / n, a[1] / n, a[2] / n};
}

// The dial's frame as a dial maker sets it out: the face's normal from its tilt and azimuth,
// x the horizontal line of the face to the right of whoever faces it (up x normal), y the
// normal x x; on a horizontal face, x to the east and y to the north.
struct Cadre {
    V n, x, y;
};
Cadre CadreDe(double azimut, double inclinaison) {
    const double b = inclinaison * Rad, g = azimut * Rad;
    Cadre c;
    c.n = {std::sin(b) * std::sin(g), std::sin(b) * std::cos(g), std::cos(b)};
    c.x = std::sin(b) > 1e-12 ? Unite(Vect({0, 0, 1}, c.n)) : V{1, 0, 0};
    c.y = Vect(c.n, c.x);
    return c;
}

// The shadow of point p: the line from p away from the Sun (direction s) meets the plane.
std::array<double, 2> Intersection(const Cadre& c, const V& p, const V& s) {
    const double k = Scal(p, c.n) / Scal(s, c.n);
    const V q = {p[0] - k * s[0], p[1] - k * s[1], p[2] - k * s[2]};
    return {Scal(q, c.x), Scal(q, c.y)};
}

// The distance from a point to a polyline.
double Distance(const std::vector<std::pair<double, double>>& l, double x, double y) {
    double d = 1e300;
    for (std::size_t i = 0; i + 1 < l.size(); ++i) {
        const double ax = l[i].first, ay = l[i].second, bx = l[i + 1].first - ax,
                     by = l[i + 1].second - ay;
        const double t =
            std::clamp(((x - ax) * bx + (y - ay) * by) / (bx * bx + by * by), 0.0, 1.0);
        d = std::min(d, std::hypot(x - ax - t * bx, y - ay - t * by));
    }
    return d;
}

}  // namespace

// 1000 random instants, sites, orientations and gnomons: the engine's shadow is the
// intersection computed here from the Sun's topocentric azimuth and altitude.
TEST(Cadran, ShadowIsTheRayMeetingThePlane) {
    std::mt19937_64 alea(36);
    std::uniform_real_distribution<double> jours(0, 80000), lat(-66, 66), lon(-180, 180),
        azimut(0, 360), inclinaison(0, 180), longueur(10, 2000);
    int essais = 0;
    while (essais < 1000) {
        Cadran c;
        c.azimutMur = azimut(alea);
        c.inclinaison = essais % 10 == 0 ? 0 : essais % 10 == 1 ? 90 : inclinaison(alea);
        c.gnomon = essais % 2 ? Gnomon::Nodus : Gnomon::StylePolaire;
        c.longueur = longueur(alea);
        const PosSoleil::Site site{lon(alea), lat(alea), 0};
        if (PosSoleil::VerifieCadran(c, site.Latitude) != PosSoleil::DefautCadran::Aucun) continue;
        const double t = 29221 + jours(alea);
        const PosSoleil::Position p = PosSoleil::PositionSoleil(t, site, 69.184);
        const V s = {std::sin(p.Azimut * Rad) * std::cos(p.Hauteur * Rad),
                     std::cos(p.Azimut * Rad) * std::cos(p.Hauteur * Rad),
                     std::sin(p.Hauteur * Rad)};
        const Cadre cadre = CadreDe(c.azimutMur, c.inclinaison);
        const PosSoleil::Ombre o = PosSoleil::OmbreA(c, t, site, 69.184);
        const bool eclaire = p.Hauteur > 0 && Scal(s, cadre.n) > 0;
        ASSERT_EQ(o.eclaire, eclaire);
        // The Sun well clear of the horizon and of the plane, where a shadow is drawn.
        if (p.Hauteur < 5 || Scal(s, cadre.n) < std::sin(5 * Rad)) continue;
        V g = cadre.n;
        if (c.gnomon == Gnomon::StylePolaire) {
            g = {0, std::cos(site.Latitude * Rad), std::sin(site.Latitude * Rad)};
            if (Scal(g, cadre.n) < 0) g = {-g[0], -g[1], -g[2]};
        }
        const V pointe = {g[0] * c.longueur, g[1] * c.longueur, g[2] * c.longueur};
        const auto attendu = Intersection(cadre, pointe, s);
        const double tolerance = 1e-9 * c.longueur / 1000;
        EXPECT_NEAR(o.x, attendu[0], tolerance) << essais;
        EXPECT_NEAR(o.y, attendu[1], tolerance) << essais;
        ++essais;
    }
}

// Horizontal and south-facing vertical dials: the hour line of apparent hour h makes the angle
// X with the noon line, tan X = sin phi tan(15 (h - 12)) on the one and cos phi tan(15 (h - 12))
// on the other; the style's height is the latitude on the one and the colatitude on the other;
// the equinox line is straight.
TEST(Cadran, HorizontalAndSouthVerticalDials) {
    for (const double phi : {-35.0, 20.0, 45.0, 52.5, 60.0}) {
        for (const double inclinaison : {0.0, 90.0}) {
            SCOPED_TRACE(std::to_string(phi) + " " + std::to_string(inclinaison));
            Cadran c;
            c.inclinaison = inclinaison;
            // In the southern hemisphere the vertical dial faces the north.
            c.azimutMur = phi < 0 ? 0 : 180;
            c.longueur = 150;
            const PosSoleil::GeometrieCadran g = PosSoleil::Geometrie(c, phi);
            EXPECT_NEAR(g.hauteurStyle, inclinaison == 0 ? std::fabs(phi) : 90 - std::fabs(phi),
                        1e-12);
            EXPECT_NEAR(g.distanceSousStyle, 0, 1e-12);
            PosSoleil::Trace trace;
            trace.largeur = trace.hauteur = 3000;
            PosSoleil::ChoixLignes choix;
            const auto lignes = PosSoleil::LignesCadran(c, {0, phi, 0}, choix, trace);
            int heures = 0;
            for (const auto& l : lignes) {
                if (l.sorte == PosSoleil::SorteLigne::Heure) {
                    const int h = std::stoi(l.etiquette);
                    if (h < 7 || h > 17) continue;
                    const double facteur =
                        inclinaison == 0 ? std::sin(std::fabs(phi) * Rad) : std::cos(phi * Rad);
                    const double attendu = std::atan(facteur * std::tan(15 * (h - 12) * Rad));
                    for (const auto& [x, y] : l.points) {
                        // From the noon line, the shadow's side of the centre: northward on a
                        // horizontal dial in the north, southward in the south, downward on a
                        // wall; positive toward the afternoon's shadows, to the east (x on a
                        // horizontal dial and on a south wall, -x on a north wall).
                        const double versMidi = inclinaison == 0 && phi > 0 ? y : -y;
                        const double versEst = phi < 0 && inclinaison != 0 ? -x : x;
                        EXPECT_NEAR(std::atan2(versEst, versMidi), attendu, 1e-9) << l.etiquette;
                    }
                    ++heures;
                }
                // Straight within the Sun's parallax, 8.8" (4.3e-5 of the shadow's distance).
                if (l.etiquette == "équinoxe de mars") {
                    const auto [ax, ay] = l.points.front();
                    const auto [bx, by] = l.points.back();
                    const double longueur = std::hypot(bx - ax, by - ay);
                    EXPECT_GT(longueur, 500);
                    for (const auto& [x, y] : l.points)
                        EXPECT_LT(std::fabs((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / longueur,
                                  5e-5 * longueur);
                }
            }
            EXPECT_GE(heures, 9);
        }
    }
}

// A vertical wall declining D from the south (positive toward the west) at latitude phi: the
// style's height SH and the substyle's distance SD from the noon line, sin SH = cos phi cos D and
// tan SD = sin D / tan phi (A. E. Waugh, Sundials: Their Theory and Construction, Dover 1973,
// the vertical declining dial), the substyle lying toward the east of noon on a wall declining
// west.
TEST(Cadran, DecliningWallsStyleAndSubstyle) {
    for (const double phi : {30.0, 43.6, 51.5, 64.0})
        for (const double D : {-75.0, -40.0, -10.0, 5.0, 22.5, 60.0}) {
            SCOPED_TRACE(std::to_string(phi) + " " + std::to_string(D));
            Cadran c;
            c.azimutMur = 180 + D;
            const PosSoleil::GeometrieCadran g = PosSoleil::Geometrie(c, phi);
            EXPECT_NEAR(g.hauteurStyle, std::asin(std::cos(phi * Rad) * std::cos(D * Rad)) / Rad,
                        1e-10);
            // x runs toward the east side on a southern wall: a west-declining wall's substyle
            // is on the side of x.
            EXPECT_NEAR(g.distanceSousStyle,
                        std::atan(std::sin(D * Rad) / std::tan(phi * Rad)) / Rad, 1e-10);
        }
}

// The seasons of 2026 as the U.S. Naval Observatory publishes them (UTC, to the minute), and the
// shadow of a 1 m nodus at those instants on the matching date line within 0.05 mm.
TEST(Cadran, SolsticesAndEquinoxesOnTheirLines) {
    double instants[4];
    PosSoleil::Saisons(2026, 69.184, instants);
    const double publies[4][3] = {
        {3, 20, 14 * 60 + 46}, {6, 21, 8 * 60 + 24}, {9, 23, 0 * 60 + 5}, {12, 21, 20 * 60 + 50}};
    for (int k = 0; k < 4; ++k) {
        const double t =
            PosSoleil::EncodeDateValeur(2026, publies[k][0], publies[k][1], 0, publies[k][2], 0);
        EXPECT_NEAR(instants[k], t, 60.0 / 86400) << k;
    }
    const char* noms[4] = {"équinoxe de mars", "solstice de juin", "équinoxe de septembre",
                           "solstice de décembre"};
    struct Cas {
        PosSoleil::Site site;
        double azimut, inclinaison;
    };
    const Cas cas[] = {{{1.44, 43.6, 150}, 202.5, 90}, {{-3.7, 40.4, 650}, 180, 0},
                       {{151.2, -33.9, 0}, 20, 70},    {{18.95, 69.65, 0}, 160, 90},
                       {{-74.0, 40.7, 10}, 225, 90},   {{139.7, 35.7, 40}, 150, 45},
                       {{-70.6, -33.4, 570}, 0, 90},   {{77.2, 28.6, 200}, 180, 30}};
    int vus = 0;
    for (const Cas& c : cas) {
        Cadran cadran{c.azimut, c.inclinaison, Gnomon::Nodus, 1000};
        PosSoleil::Trace trace;
        trace.largeur = trace.hauteur = 8000;
        PosSoleil::ChoixLignes choix;
        choix.heures = false;
        const auto lignes = PosSoleil::LignesCadran(cadran, c.site, choix, trace);
        for (int k = 0; k < 4; ++k) {
            const PosSoleil::Ombre o = PosSoleil::OmbreA(cadran, instants[k], c.site, 69.184);
            if (!o.eclaire || std::fabs(o.x) > 3900 || std::fabs(o.y) > 3900) continue;
            double d = 1e300;
            for (const auto& l : lignes)
                if (l.etiquette == noms[k]) d = std::min(d, Distance(l.points, o.x, o.y));
            EXPECT_LT(d, 0.05) << noms[k] << " at " << c.site.Longitude << ", " << c.site.Latitude;
            ++vus;
        }
    }
    EXPECT_GE(vus, 8);
}

// Settings that make no dial, each with its reason.
TEST(Cadran, RefusedSettings) {
    struct Cas {
        Cadran c;
        double latitude;
        PosSoleil::DefautCadran defaut;
    };
    const Cas cas[] = {
        {{180, 90, Gnomon::StylePolaire, 0}, 45, PosSoleil::DefautCadran::Longueur},
        {{180, 190, Gnomon::Nodus, 100}, 45, PosSoleil::DefautCadran::Inclinaison},
        {{std::nan(""), 90, Gnomon::Nodus, 100}, 45, PosSoleil::DefautCadran::Azimut},
        // An east wall holds the Earth's axis: a polar style never meets it.
        {{90, 90, Gnomon::StylePolaire, 100}, 45, PosSoleil::DefautCadran::StyleParallele},
        {{90, 90, Gnomon::Nodus, 100}, 45, PosSoleil::DefautCadran::Aucun},
        // Facing down, or a north wall beyond the polar circle... still lit in summer.
        {{180, 180, Gnomon::Nodus, 100}, 45, PosSoleil::DefautCadran::JamaisEclaire},
        {{0, 90, Gnomon::Nodus, 100}, 70, PosSoleil::DefautCadran::Aucun},
        {{180, 90, Gnomon::StylePolaire, 100}, 45, PosSoleil::DefautCadran::Aucun},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(static_cast<int>(c.defaut));
        EXPECT_EQ(PosSoleil::VerifieCadran(c.c, c.latitude), c.defaut);
        if (c.defaut != PosSoleil::DefautCadran::Aucun) {
            EXPECT_TRUE(PosSoleil::LignesCadran(c.c, {0, c.latitude, 0}, {}, {}).empty());
        }
    }
}
