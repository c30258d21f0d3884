// Any ten doubles, finite or not, as the date, time, site and time difference of a position.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include "PosSoleil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    double v[10] = {2026, 12, 7, 12, 0, 0, 2.03, 42.5, 0, 64.184};
    std::memcpy(v, donnees, std::min(taille, sizeof v));
    bool fini = true;
    for (const double x : v) fini = fini && std::isfinite(x);
    // Finite inputs give seven finite results on both paths, the altitude within a quarter turn.
    for (const auto calcul : {&PosSoleil::CalculPosition, &PosSoleil::Scalaire::CalculPosition}) {
        double l, r, a, d, az, h, e;
        calcul(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], l, r, a, d, az, h, e);
        if (std::fabs(h) > 90) std::abort();
        if (fini) {
            for (const double x : {l, r, a, d, az, h, e})
                if (!std::isfinite(x)) std::abort();
        }
    }
    // Within any plausible atmosphere the refraction is a finite number of degrees.
    const double pression = std::fmod(std::fabs(v[1]), 200.0), temperature = std::fmod(v[2], 150.0);
    const double refraction = PosSoleil::Refraction(v[0], pression, temperature);
    if (std::isfinite(v[0]) && std::isfinite(pression) && std::isfinite(temperature) &&
        !std::isfinite(refraction))
        std::abort();
    int an, mo, jo, he, mi, se, ms;
    PosSoleil::DecodeDateValeur(v[3], an, mo, jo, he, mi, se, ms);
    if (mo < 1 || mo > 12 || he < 0 || he > 23 || ms < 0 || ms > 999) std::abort();
    return 0;
}
