// What the dial's shadow and its lines share: vectors of the site's horizontal frame (east,
// north, up) and the shadow of the gnomon's point for a direction of the Sun.
#pragma once

#include <cmath>

#include "Cadran.h"

namespace PosSoleil::Interne {

struct Vecteur {
    double e, n, u;
};

inline double Scalaire(const Vecteur& a, const double (&b)[3]) noexcept {
    return a.e * b[0] + a.n * b[1] + a.u * b[2];
}

// The unit vector toward a point of the sky at azimuth A and altitude h (degrees).
Vecteur VersLeCiel(double azimut, double hauteur) noexcept;

// The shadow of the frame's gnomon point for the Sun in the unit direction s: the ray from the
// Sun through the point meets the plane where (point - k s) . normal = 0. Lit when the Sun is
// in front of the face and above the horizon.
inline Ombre OmbreDirection(const RepereCadran& r, const Vecteur& s) noexcept {
    const double face = Scalaire(s, r.normale);
    if (!(face > 0 && s.u > 0)) return {std::nan(""), std::nan(""), false};
    const double* g = r.pointe;
    const double k = (g[0] * r.normale[0] + g[1] * r.normale[1] + g[2] * r.normale[2]) / face;
    const double p[3] = {g[0] - k * s.e, g[1] - k * s.n, g[2] - k * s.u};
    return {p[0] * r.x[0] + p[1] * r.x[1] + p[2] * r.x[2],
            p[0] * r.y[0] + p[1] * r.y[1] + p[2] * r.y[2], true};
}

}  // namespace PosSoleil::Interne
