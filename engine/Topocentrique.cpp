// The observer's place on the reference ellipsoid, the Sun's parallax, and the horizontal
// coordinates.
#include <algorithm>
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;

void Interne::ParallaxeObservateur(double phi, double h, double& rhoSinPhiP,
                                   double& rhoCosPhiP) noexcept {
    constexpr double ba = 1 - Aplatissement;  // polar over equatorial radius
    const double p = phi * Rad;
    const double sinP = std::sin(p), cosP = std::cos(p);
    // The reduced latitude u, tan u = (b/a) tan phi with u within +-90 degrees (cos u >= 0),
    // without computing it: its sine and cosine are the point (|cos phi|, (b/a) sin phi) on
    // the unit circle, turned to the side of phi's quadrant.
    const double n = std::hypot(cosP, ba * sinP);
    const double cosU = std::fabs(cosP) / n;
    const double sinU = (cosP < 0 ? -ba : ba) * sinP / n;
    rhoSinPhiP = ba * sinU + (h / RayonEquatorial) * sinP;
    rhoCosPhiP = cosU + (h / RayonEquatorial) * cosP;
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

void Parallaxe(double pi, double rhoCosPhiP, double rhoSinPhiP, double delta, double H,
               double& deltaAlpha, double& deltaDelta) noexcept {
    const double p = pi * Rad;
    const double d = delta * Rad;
    const double h = H * Rad;
    const double denominateur = std::cos(d) - rhoCosPhiP * std::sin(p) * std::cos(h);
    const double da = std::atan2(-rhoCosPhiP * std::sin(p) * std::sin(h), denominateur);
    const double dPrime =
        std::atan2((std::sin(d) - rhoSinPhiP * std::sin(p)) * std::cos(da), denominateur);
    deltaAlpha = da * Deg;
    deltaDelta = (dPrime - d) * Deg;
}

void CoordonneesHorizontales(double Hprime, double phi, double deltaPrime, double& Azimut,
                             double& Hauteur) noexcept {
    const double h = Hprime * Rad;
    const double p = phi * Rad;
    const double d = deltaPrime * Rad;
    // atan2 counts from the south, positive westward; half a turn more counts from the north.
    Azimut =
        std::atan2(std::sin(h), std::cos(h) * std::sin(p) - std::sin(d) / std::cos(d) * std::cos(p)) *
            Deg +
        180;
    // At a pole, rounding may carry the sine a hair past 1.
    Hauteur = std::asin(std::clamp(
                  std::sin(p) * std::sin(d) + std::cos(p) * std::cos(d) * std::cos(h), -1.0, 1.0)) *
              Deg;
}

}  // namespace PosSoleil
