// The same cases from the engine's CalculPosition in the library's units (right ascension and
// azimuth in [0, 360), the equation of time in minutes): what the installed library must print.
#include <cstdio>

#include "PosSoleil.h"

extern "C" {
#include "instants.h"
}

int main() {
    for (const cas_instant& c : CAS_INSTANTS) {
        double L, R, alpha, delta, azimut, hauteur, equation;
        PosSoleil::CalculPosition(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde,
                                  c.longitude, c.latitude, c.hauteur, c.tt, L, R, alpha, delta,
                                  azimut, hauteur, equation);
        std::printf("%a %a %a %a %a %a\n", PosSoleil::Modulo360(alpha), delta, R, equation * 60,
                    azimut >= 360 ? azimut - 360 : azimut, hauteur);
    }
    std::printf("version %s\n", ORVANEL_VERSION);
    return 0;
}
