// The observer's place on the reference ellipsoid, the Sun's parallax, and the horizontal
// coordinates.
#include <algorithm>
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;

namespace {

void ObservateurSinCos(double sinP, double cosP, double h, double& rhoSinPhiP,
                       double& rhoCosPhiP) noexcept {
    constexpr double ba = 1 - Aplatissement;  // polar over equatorial radius
    // The reduced latitude u, tan u = (b/a) tan phi with u within +-90 degrees (cos u >= 0),
    // without computing it: its sine and cosine are the point (|cos phi|, (b/a) sin phi) on
    // the unit circle, turned to the side of phi's quadrant.
    const double n = std::hypot(cosP, ba * sinP);
    const double cosU = std::fabs(cosP) / n;
    const double sinU = (cosP < 0 ? -ba : ba) * sinP / n;
    rhoSinPhiP = ba * sinU + (h / RayonEquatorial) * sinP;
    rhoCosPhiP = cosU + (h / RayonEquatorial) * cosP;
}

}  // namespace

void Interne::ParallaxeObservateur(double phi, double h, double& rhoSinPhiP,
                                   double& rhoCosPhiP) noexcept {
    const double p = phi * Rad;
    ObservateurSinCos(std::sin(p), std::cos(p), h, rhoSinPhiP, rhoCosPhiP);
}

Interne::Lieu Interne::LieuDe(const Site& site) noexcept {
    Lieu l{};
    l.longitude = site.Longitude;
    l.latitude = site.Latitude;
    const double p = site.Latitude * Rad;
    l.sinPhi = std::sin(p);
    l.cosPhi = std::cos(p);
    ObservateurSinCos(l.sinPhi, l.cosPhi, site.Altitude, l.rhoSinPhiP, l.rhoCosPhiP);
    return l;
}

void CoordonneesObservateur(double phi, double h, double& rhoSinPhiP, double& rhoCosPhiP,
                            double& rho, double& phiP) noexcept {
    Interne::ParallaxeObservateur(phi, h, rhoSinPhiP, rhoCosPhiP);
    rho = std::sqrt(rhoSinPhiP * rhoSinPhiP + rhoCosPhiP * rhoCosPhiP);
    phiP = std::atan2(rhoSinPhiP, rhoCosPhiP) * Deg;
}

double ParallaxeHorizontale(double R) noexcept {
    // The solar parallax, 8.794148" at 1 au: the IAU (1976) System of Astronomical Constants.
    // A distance below 4.3e-5 au (out of any range the theory reaches)
    // gives the largest parallax rather than no number.
    return std::asin(std::clamp(std::sin(0.002442818888888889 * Rad) / R, -1.0, 1.0)) * Deg;
}

Interne::Vu Interne::VuDe(double pi, double delta) noexcept {
    const double d = delta * Rad;
    return {std::sin(pi * Rad), std::sin(d), std::cos(d), d};
}

void Interne::ParallaxeVu(const Vu& vu, double rhoCosPhiP, double rhoSinPhiP, double H,
                          double& deltaAlpha, double& deltaDelta) noexcept {
    const double h = H * Rad;
    const double denominateur = vu.cosDelta - rhoCosPhiP * vu.sinPi * std::cos(h);
    const double da = std::atan2(-rhoCosPhiP * vu.sinPi * std::sin(h), denominateur);
    const double dPrime =
        std::atan2((vu.sinDelta - rhoSinPhiP * vu.sinPi) * std::cos(da), denominateur);
    deltaAlpha = da * Deg;
    deltaDelta = (dPrime - vu.delta) * Deg;
}

void Parallaxe(double pi, double rhoCosPhiP, double rhoSinPhiP, double delta, double H,
               double& deltaAlpha, double& deltaDelta) noexcept {
    Interne::ParallaxeVu(Interne::VuDe(pi, delta), rhoCosPhiP, rhoSinPhiP, H, deltaAlpha,
                         deltaDelta);
}

void Interne::Horizontales(double Hprime, const Lieu& lieu, double deltaPrime, double& Azimut,
                           double& Hauteur) noexcept {
    const double h = Hprime * Rad;
    const double d = deltaPrime * Rad;
    const double sinH = std::sin(h), cosH = std::cos(h);
    const double sinD = std::sin(d), cosD = std::cos(d);
    // atan2 counts from the south, positive westward; half a turn more counts from the north.
    Azimut = std::atan2(sinH, cosH * lieu.sinPhi - sinD / cosD * lieu.cosPhi) * Deg + 180;
    // At a pole, rounding may carry the sine a hair past 1.
    Hauteur =
        std::asin(std::clamp(lieu.sinPhi * sinD + lieu.cosPhi * cosD * cosH, -1.0, 1.0)) * Deg;
}

void CoordonneesHorizontales(double Hprime, double phi, double deltaPrime, double& Azimut,
                             double& Hauteur) noexcept {
    Interne::Lieu lieu{};
    const double p = phi * Rad;
    lieu.sinPhi = std::sin(p);
    lieu.cosPhi = std::cos(p);
    Interne::Horizontales(Hprime, lieu, deltaPrime, Azimut, Hauteur);
}

}  // namespace PosSoleil
