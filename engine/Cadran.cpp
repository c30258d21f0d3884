// A planar dial's frame, its style and centre, the shadow of its gnomon, and the seasons.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "CadranInterne.h"
#include "Interne.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;
using Interne::Vecteur;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The Earth's axis toward the north celestial pole, in the site's horizontal frame.
Vecteur AxeDuMonde(double latitude) noexcept {
    const double phi = latitude * Rad;
    return {0, std::cos(phi), std::sin(phi)};
}

// The axis turned toward the face: the side of the plane where the style stands.
Vecteur AxeVersLaFace(const RepereCadran& r, double latitude) noexcept {
    const Vecteur p = AxeDuMonde(latitude);
    return Interne::Scalaire(p, r.normale) >= 0 ? p : Vecteur{-p.e, -p.n, -p.u};
}

}  // namespace

Interne::Vecteur Interne::VersLeCiel(double azimut, double hauteur) noexcept {
    const double A = azimut * Rad, h = hauteur * Rad;
    return {std::sin(A) * std::cos(h), std::cos(A) * std::cos(h), std::sin(h)};
}

RepereCadran RepereDuCadran(const Cadran& c, double latitude) noexcept {
    RepereCadran r{};
    const double i = c.inclinaison * Rad;
    // A horizontal plane has no azimuth of its own: x to the east, y to the north (face up).
    const bool horizontal = c.inclinaison == 0 || c.inclinaison == 180;
    const double a = (horizontal ? 180.0 : c.azimutMur) * Rad;
    const double n[3] = {std::sin(i) * std::sin(a), std::sin(i) * std::cos(a), std::cos(i)};
    // x: horizontal in the plane, to the right of someone who faces the dial (looks along -n);
    // y = n x x, up the line of greatest slope.
    const double x[3] = {-std::cos(a), std::sin(a), 0};
    const double y[3] = {n[1] * x[2] - n[2] * x[1], n[2] * x[0] - n[0] * x[2],
                         n[0] * x[1] - n[1] * x[0]};
    std::copy(n, n + 3, r.normale);
    std::copy(x, x + 3, r.x);
    std::copy(y, y + 3, r.y);
    if (c.gnomon == Gnomon::Nodus) {
        for (int k = 0; k < 3; ++k) r.pointe[k] = c.longueur * n[k];
    } else {
        const Vecteur q = AxeVersLaFace(r, latitude);
        r.pointe[0] = c.longueur * q.e;
        r.pointe[1] = c.longueur * q.n;
        r.pointe[2] = c.longueur * q.u;
    }
    return r;
}

GeometrieCadran Geometrie(const Cadran& c, double latitude) noexcept {
    const RepereCadran r = RepereDuCadran(c, latitude);
    const Vecteur q = AxeVersLaFace(r, latitude);
    const double qn = Interne::Scalaire(q, r.normale);
    GeometrieCadran g{};
    g.hauteurStyle = std::asin(std::clamp(qn, -1.0, 1.0)) * Deg;
    // The substyle: the axis with its normal part taken away.
    const double sx = Interne::Scalaire(q, r.x), sy = Interne::Scalaire(q, r.y);
    const bool perpendiculaire = std::hypot(sx, sy) < 1e-12;
    g.sousStyle = perpendiculaire ? NaN : std::atan2(sx, sy) * Deg;
    // The noon line: the meridian plane's trace on the dial, along n x east, on the substyle's
    // side (the axis lies in the meridian plane, so the two are within 90 degrees); the
    // substyle's angle from it counts toward the side of x.
    const double m[3] = {0, r.normale[2], -r.normale[1]};
    double mx = m[0] * r.x[0] + m[1] * r.x[1] + m[2] * r.x[2];
    double my = m[0] * r.y[0] + m[1] * r.y[1] + m[2] * r.y[2];
    if (mx * sx + my * sy < 0) mx = -mx, my = -my;
    double px = my, py = -mx;  // perpendicular to the noon line, toward x
    if (px < 0 || (px == 0 && py < 0)) px = -px, py = -py;
    g.distanceSousStyle =
        perpendiculaire ? NaN : std::atan2(sx * px + sy * py, sx * mx + sy * my) * Deg;
    // The centre: the axis through the gnomon's point, g + u q, meets the plane at u = -g.n / q.n.
    if (std::fabs(qn) < 1e-12) {
        g.centreX = g.centreY = NaN;
    } else {
        const double* p = r.pointe;
        const double u = -(p[0] * r.normale[0] + p[1] * r.normale[1] + p[2] * r.normale[2]) / qn;
        const double point[3] = {p[0] + u * q.e, p[1] + u * q.n, p[2] + u * q.u};
        g.centreX = point[0] * r.x[0] + point[1] * r.x[1] + point[2] * r.x[2];
        g.centreY = point[0] * r.y[0] + point[1] * r.y[1] + point[2] * r.y[2];
    }
    return g;
}

DefautCadran VerifieCadran(const Cadran& c, double latitude) noexcept {
    if (!(c.longueur > 0) || !std::isfinite(c.longueur)) return DefautCadran::Longueur;
    if (!(c.inclinaison >= 0 && c.inclinaison <= 180)) return DefautCadran::Inclinaison;
    if (!std::isfinite(c.azimutMur)) return DefautCadran::Azimut;
    if (c.gnomon == Gnomon::StylePolaire && Geometrie(c, latitude).hauteurStyle < 1)
        return DefautCadran::StyleParallele;
    // Lit at some hour of some date: the Sun's daily circles every 2 degrees of declination
    // between the solstices, every 5 degrees of hour angle.
    const RepereCadran r = RepereDuCadran(c, latitude);
    const double phi = latitude * Rad;
    for (double delta = -23.4; delta <= 23.45; delta += 2.34) {
        const double d = delta * Rad;
        for (double H = -180; H < 180; H += 5) {
            const double h = H * Rad;
            const Vecteur s{
                -std::cos(d) * std::sin(h),
                std::sin(d) * std::cos(phi) - std::cos(d) * std::cos(h) * std::sin(phi),
                std::sin(d) * std::sin(phi) + std::cos(d) * std::cos(h) * std::cos(phi)};
            if (s.u > 0 && Interne::Scalaire(s, r.normale) > 0) return DefautCadran::Aucun;
        }
    }
    return DefautCadran::JamaisEclaire;
}

Ombre OmbreCadran(const Cadran& c, double latitude, double azimut, double hauteur) noexcept {
    return Interne::OmbreDirection(RepereDuCadran(c, latitude),
                                   Interne::VersLeCiel(azimut, hauteur));
}

Ombre OmbreA(const Cadran& c, double t, const Site& site, double TEmoinsTU) noexcept {
    const Position p = PositionSoleil(t, site, TEmoinsTU);
    return OmbreCadran(c, site.Latitude, p.Azimut, p.Hauteur);
}

void Saisons(int annee, double TEmoinsTU, double (&instants)[4]) noexcept {
    // Meeus's mean instants (table 27.C, years 1000 to 3000), Julian Ephemeris Days.
    constexpr double Moyens[4][5] = {
        {2451623.80984, 365242.37404, 0.05169, -0.00411, -0.00057},
        {2451716.56767, 365241.62603, 0.00325, 0.00888, -0.00030},
        {2451810.21715, 365242.01767, -0.11575, 0.00337, 0.00078},
        {2451900.05952, 365242.74049, -0.06223, -0.00823, 0.00032},
    };
    const double Y = (annee - 2000) / 1000.0;
    for (int k = 0; k < 4; ++k) {
        const double* m = Moyens[k];
        const double jde = m[0] + Y * (m[1] + Y * (m[2] + Y * (m[3] + Y * m[4])));
        double t = jde - JourJulienOrigine - TEmoinsTU / SecondesParJour;
        // Until the apparent longitude is k quarter turns: Meeus's correction, 58 days per
        // radian of the Sun's longitude.
        for (int iteration = 0; iteration < 12; ++iteration) {
            const Geocentre g = PositionGeocentrique(t, TEmoinsTU);
            const double T = SiecleJulien(JourJulien(t), TEmoinsTU);
            double deltaPsi = 0, deltaEpsilon = 0;
            Nutation(T, Modulo360(AnomalieMoyenneLune(T)), Modulo360(AnomalieMoyenneSoleil(T)),
                     ArgumentLatitudeLune(T), ElongationMoyenneLune(T),
                     Modulo360(LongitudeNoeudLune(T)), deltaPsi, deltaEpsilon);
            const double lambda = g.LongitudeSoleil + deltaPsi;
            const double correction = 58 * std::sin((90.0 * k - lambda) * Rad);
            t += correction;
            if (std::fabs(correction) < 1e-9) break;
        }
        instants[k] = t;
    }
}

}  // namespace PosSoleil
