// Atmospheric refraction of the apparent altitude.
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

using Interne::Rad;

double Refraction(double h, double P, double T) noexcept {
    // Refraction constant: 60.343" at 0 C and 76 cm of mercury, proportional to air density.
    // Above 30 degrees, Laplace's expansion R = m (1 - l) tan z - m (l - m/2) tan^3 z, where
    // m is that constant and l = 0.001254 (273 + T) / 273 the height of the homogeneous
    // atmosphere in Earth radii, which grows with temperature (k, below, is the low regime's
    // temperature coefficient). Source: W. M. Smart, Textbook
    // on Spherical Astronomy, 6th ed. (1977), chapter on refraction.
    const double m = 60.343 * P / 76 * 273 / (273 + T) / 3600;
    const double l = (273 + T) * 0.001254 / 273;
    const double z = (90 - h) * Rad;
    const double k = (10 - T) * 4.3e-5 + 0.01;
    double resultat = 0.0;
    if (h >= 30) {
        const double tz = std::tan(z);
        resultat = tz * (1 - l) * m - tz * tz * tz * ((l - m / 2) * m);
    } else if (h < 30 && h > -1) {
        // Low altitudes: a rational function of the altitude fitted to the refraction at 10 C
        // and 76 cm, less 2" (1/1800 degree) so that it meets the high regime at 30 degrees;
        // its coefficients are this program's own fit, not a published table. It is scaled by
        // the temperature and by the pressure excess over 76 cm in thousands of hectopascals
        // (MmHgParHectopascal: a centimetre of mercury is 0.01 / MmHgParHectopascal thousand
        // hectopascals).
        const double N = 1 + h * (0.10976 + h * (0.011139 + h * (-1.912e-5 + h * (-1.33e-6))));
        const double Q = 1.98078 + h * (0.8153 + h * (0.14802 + h * 0.010285));
        const double r = N / Q - 1.0 / 1800;
        const double facteurTemperature = 1 + (10 - T) * k / 2.8;
        const double facteurPression = 1 + (P - 76) * 0.01 / MmHgParHectopascal;
        resultat = r * facteurTemperature * facteurPression;
    }
    return resultat;
}

}  // namespace PosSoleil
