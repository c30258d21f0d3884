#include <algorithm>
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;

double AngleHoraireReduit(double angleHoraire) noexcept {
    const double h = std::fmod(angleHoraire + 180.0, 360.0);
    return (h < 0 ? h + 360.0 : h) - 180.0;
}

double TempsSolaireVrai(double angleHoraire) noexcept {
    const double heures = std::fmod(12.0 + angleHoraire / 15.0, 24.0);
    return heures < 0 ? heures + 24.0 : heures;
}

double ProjectionIncidence(double beta, double gamma, double z, double A) noexcept {
    const double c = std::cos(z * Rad) * std::cos(beta * Rad) +
                     std::sin(z * Rad) * std::sin(beta * Rad) * std::cos((A - gamma) * Rad);
    return std::isnan(c) ? c : std::clamp(c, -1.0, 1.0);
}

double Incidence(double beta, double gamma, double z, double A) noexcept {
    return std::acos(ProjectionIncidence(beta, gamma, z, A)) * Deg;
}

namespace {

// What a tracker's every position shares: the trigonometry of its axis, its slope and its limit.
struct Axe {
    double ca, sa, ct, st;  // cos and sin of the axis' azimuth, then of its tilt
    double cp, sp;          // of the cross slope
    double distance;        // between axes along the ground, in module widths
    double cmax, smax;      // of the greatest rotation
    double azimutPlat;      // of the modules lying flat: a quarter turn from the axis
    double azimutMoins;     // and of those turned the other way, for a horizontal axis
    bool horizontal;
};

Axe AxeDe(const Suiveur& s) noexcept {
    Axe a;
    a.ca = std::cos(s.axeAzimut * Rad);
    a.sa = std::sin(s.axeAzimut * Rad);
    a.ct = std::cos(s.axeInclinaison * Rad);
    a.st = std::sin(s.axeInclinaison * Rad);
    a.cp = std::cos(s.penteTransverse * Rad);
    a.sp = std::sin(s.penteTransverse * Rad);
    a.distance = 1.0 / (s.gcr * a.cp);
    a.cmax = std::cos(s.angleMax * Rad);
    a.smax = std::sin(s.angleMax * Rad);
    a.azimutPlat = std::fmod(s.axeAzimut + 90.0, 360.0);
    if (a.azimutPlat < 0) a.azimutPlat += 360.0;
    a.azimutMoins = std::fmod(a.azimutPlat + 180.0, 360.0);
    a.horizontal = s.axeInclinaison == 0;
    return a;
}

Orientation SuiviSurAxe(const Suiveur& s, const Axe& a, double z, double A) noexcept {
    Orientation o;
    if (!(z <= 90)) return o;  // below the horizon, or NaN
    // The Sun's unit vector (east, north, up), then in the tracker's frame: y' along the axis
    // (going down by its tilt toward its azimuth), x' a quarter turn clockwise from it and
    // horizontal, z' = x' x y' (Marion & Dobos, eqs. 1 to 4; y' is not needed).
    const double sz = std::sin(z * Rad), cz = std::cos(z * Rad);
    const double x = sz * std::sin(A * Rad), y = sz * std::cos(A * Rad);
    const double xp = x * a.ca - y * a.sa;
    const double zp = x * a.st * a.sa + y * a.st * a.ca + cz * a.ct;
    // True tracking puts the Sun in the plane of the normal and the axis (eq. 5): the rotation
    // theta with sin and cos proportional to x' and z'.
    const double r = std::sqrt(xp * xp + zp * zp);  // no overflow: a unit vector
    double st = xp / r, ct = zp / r;
    if (s.retour) {
        // Rows 1 / gcr apart horizontally, 1 / (gcr cos slope) along the ground: a row's shadow
        // reaches the next when d |cos(theta - slope)| falls below 1; the rotation is then turned
        // back toward the ground's plane by acos(d |cos(theta - slope)|), until the shadow just
        // touches (Anderson & Mikofski, eqs. 14 and 15).
        const double c = std::fabs(a.distance * (ct * a.cp + st * a.sp));
        if (c < 1) {
            const double sc = std::sqrt(1 - c * c), signe = st < 0 ? -1.0 : 1.0;
            const double s2 = st * c - signe * ct * sc, c2 = ct * c + signe * st * sc;
            st = s2;
            ct = c2;
        }
    }
    // Within the greatest rotation either way.
    if (ct < a.cmax) {
        st = st < 0 ? -a.smax : a.smax;
        ct = a.cmax;
        o.rotation = std::copysign(s.angleMax, st);
    } else {
        o.rotation = std::atan2(st, ct) * Deg;
    }
    // The modules' normal, z' turned toward x' by the rotation; its tilt and azimuth, and its
    // angle with the Sun.
    const double ne = a.ca * st + a.st * a.sa * ct, nn = -a.sa * st + a.st * a.ca * ct;
    const double nu = a.ct * ct;
    o.incidence = std::acos(std::clamp(x * ne + y * nn + cz * nu, -1.0, 1.0)) * Deg;
    if (a.horizontal) {
        // About a horizontal axis the modules tilt by the rotation itself, facing a quarter turn
        // from the axis on the side they turn to.
        o.inclinaison = std::fabs(o.rotation);
        o.azimut = st >= 0 ? a.azimutPlat : a.azimutMoins;
        return o;
    }
    o.inclinaison = std::acos(std::clamp(nu, -1.0, 1.0)) * Deg;
    if (ne == 0 && nn == 0) {
        o.azimut = a.azimutPlat;  // flat: the azimuth of a quarter turn, as by convention
    } else {
        o.azimut = std::atan2(ne, nn) * Deg;
        if (o.azimut < 0) o.azimut += 360.0;
    }
    return o;
}

}  // namespace

Orientation Suivi(const Suiveur& s, double z, double A) noexcept {
    return SuiviSurAxe(s, AxeDe(s), z, A);
}

void Suivis(const Suiveur& s, std::span<const double> z, std::span<const double> A,
            std::span<Orientation> sortie) noexcept {
    const Axe a = AxeDe(s);
    const std::size_t n = std::min({z.size(), A.size(), sortie.size()});
    for (std::size_t i = 0; i < n; ++i) sortie[i] = SuiviSurAxe(s, a, z[i], A[i]);
}

double MasseAirRelative(double z) noexcept {
    if (!(z <= 90)) return std::numeric_limits<double>::quiet_NaN();
    return 1.0 / (std::cos(z * Rad) + 0.50572 * std::pow(96.07995 - z, -1.6364));
}

double MasseAirAbsolue(double masseRelative, double pressionCmHg) noexcept {
    return masseRelative * pressionCmHg / 76.0;
}

double IrradianceHorsAtmosphere(double rayonVecteur) noexcept {
    return ConstanteSolaire / (rayonVecteur * rayonVecteur);
}

}  // namespace PosSoleil
