// Numbers and ranges as the module's messages write them, for every part of the compiled half.
#pragma once

#include <cstdio>
#include <string>

#include "Contrat.h"

namespace Messages {

// "%.10g": enough to tell a value from its bound.
inline std::string Nombre(double x) {
    char texte[32];
    std::snprintf(texte, sizeof texte, "%.10g", x);
    return texte;
}

// "latitude out of range: 91 (from -90 to 90 degrees)".
inline std::string HorsPlage(const char* nom, double x, Contrat::Plage p, const char* unite) {
    std::string texte = std::string(nom) + " out of range: " + Nombre(x) + " (from " +
                        Nombre(p.min) + " to " + Nombre(p.max);
    if (*unite) texte += std::string(" ") + unite;
    return texte + ")";
}

}  // namespace Messages
