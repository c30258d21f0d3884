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

void OrientationModules(double rotation, double axeInclinaison, double axeAzimut,
                        double& inclinaison, double& azimut) noexcept {
    // The normal's tilt from the rotation and the axis' tilt, then its azimuth's departure from
    // the axis' direction, on the far side of the axis beyond a quarter turn.
    inclinaison = std::acos(std::cos(rotation * Rad) * std::cos(axeInclinaison * Rad)) * Deg;
    const double s = std::sin(inclinaison * Rad);
    double ecart = 90.0;
    if (s != 0) {
        ecart = std::asin(std::clamp(std::sin(rotation * Rad) / s, -1.0, 1.0)) * Deg;
        if (std::fabs(rotation) >= 90) ecart = std::copysign(180.0, rotation) - ecart;
    }
    azimut = std::fmod(axeAzimut + ecart, 360.0);
    if (azimut < 0) azimut += 360.0;
}

Orientation Suivi(const Suiveur& s, double z, double A) noexcept {
    Orientation o;
    if (!(z <= 90)) return o;  // below the horizon, or NaN
    // The Sun's unit vector (east, north, up), then in the tracker's frame: y along the axis,
    // x a quarter turn clockwise from it and horizontal, z normal to both (Marion & Dobos,
    // eqs. 1 to 4; y' is not needed).
    const double x = std::sin(z * Rad) * std::sin(A * Rad);
    const double y = std::sin(z * Rad) * std::cos(A * Rad);
    const double h = std::cos(z * Rad);
    const double ca = std::cos(s.axeAzimut * Rad), sa = std::sin(s.axeAzimut * Rad);
    const double ct = std::cos(s.axeInclinaison * Rad), st = std::sin(s.axeInclinaison * Rad);
    const double xp = x * ca - y * sa;
    const double zp = x * st * sa + y * st * ca + h * ct;
    // True tracking puts the Sun in the plane of the normal and the axis (eq. 5).
    const double vrai = std::atan2(xp, zp) * Deg;
    double rotation = vrai;
    if (s.retour) {
        // Rows 1 / gcr apart horizontally, 1 / (gcr cos slope) along the ground: a row's shadow
        // reaches the next when |cos(rotation - slope)| / (gcr cos slope) falls below 1; the
        // rotation is then turned back toward the ground's plane until the shadow just touches
        // (Anderson & Mikofski, eqs. 14 and 15).
        const double distance = 1.0 / (s.gcr * std::cos(s.penteTransverse * Rad));
        const double c = std::fabs(distance * std::cos((vrai - s.penteTransverse) * Rad));
        if (c < 1) rotation = vrai - std::copysign(std::acos(c) * Deg, vrai);
    }
    o.rotation = std::clamp(rotation, -s.angleMax, s.angleMax);
    OrientationModules(o.rotation, s.axeInclinaison, s.axeAzimut, o.inclinaison, o.azimut);
    o.incidence = Incidence(o.inclinaison, o.azimut, z, A);
    return o;
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
