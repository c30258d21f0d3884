// The sexagesimal texts of the windows and the fixed-point writer they share.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "PosSoleil.h"

namespace PosSoleil {

namespace {

// Decimal text of the whole part of a non-negative double, every digit exact (a double has
// at most 309 integer digits, so the text stays bounded).
void AjoutePartieEntiere(std::string& texte, double r, std::size_t largeurMin) {
    char tampon[400];
    char* fin = tampon;
    if (r < 1e15) {
        fin = std::to_chars(tampon, tampon + sizeof tampon, static_cast<long long>(r)).ptr;
    } else {
        fin = tampon + std::snprintf(tampon, sizeof tampon, "%.0f", std::trunc(r));
    }
    const auto longueur = static_cast<std::size_t>(fin - tampon);
    if (longueur < largeurMin) texte.append(largeurMin - longueur, '0');
    texte.append(tampon, longueur);
}

// Shared body of the two texts: sign and whole units, then minutes and seconds, each
// truncated from the double itself before the seconds alone are rounded; nothing carries.
std::string Sexagesimal(double angle, double r, int decimals, std::string_view separateur,
                        std::string_view unite, std::string_view marqueMinutes,
                        std::string_view marqueSecondes) {
    if (std::isnan(r)) return "NAN";
    if (std::isinf(r)) return angle < 0 ? "-INF" : " INF";
    decimals = std::clamp(decimals, 0, 18);
    std::string texte;
    texte.reserve(24);
    texte += angle < 0 ? '-' : ' ';
    AjoutePartieEntiere(texte, r, 2);
    texte += unite;
    r = (r - std::trunc(r)) * 60.0;
    AjoutePartieEntiere(texte, r, 2);
    texte += marqueMinutes;
    r = (r - std::trunc(r)) * 60.0;
    std::string secondes = TexteFixe(r, decimals, 5, separateur);
    if (secondes.size() -
            (decimals > 0 ? separateur.size() + static_cast<std::size_t>(decimals) : 0) <
        2)
        secondes.insert(0, 1, '0');
    texte += secondes;
    texte += marqueSecondes;
    return texte;
}

}  // namespace

std::string TexteFixe(double valeur, int decimals, int significatifs, std::string_view separateur) {
    if (std::isnan(valeur)) return "NAN";
    if (std::isinf(valeur)) return valeur < 0 ? "-INF" : "INF";
    decimals = std::clamp(decimals, 0, 18);
    significatifs = std::clamp(significatifs, 1, 18);
    const double r = std::fabs(valeur);
    std::string chiffres(18, '0');
    int exposant = 0;
    if (r != 0.0) {
        char tampon[40];
        // d.ddddddddddddddddde+XX: the value correctly rounded to 18 significant digits
        const char* fin =
            std::to_chars(tampon, tampon + sizeof tampon, r, std::chars_format::scientific, 17).ptr;
        chiffres[0] = tampon[0];
        std::copy(tampon + 2, tampon + 19, chiffres.begin() + 1);
        std::from_chars(tampon + 20 + (tampon[20] == '+'), fin, exposant);
    }
    // n significant digits survive; the value is then M x 10^-k, k <= decimals.
    const int n = std::min(significatifs, exposant + 1 + decimals);
    std::string echelle;  // the value times 10^decimals, in decimal
    if (n >= 0) {
        echelle = chiffres.substr(0, static_cast<std::size_t>(n));
        if (chiffres[static_cast<std::size_t>(n)] >= '5') {  // half away from zero
            int i = n - 1;
            while (i >= 0 && echelle[static_cast<std::size_t>(i)] == '9')
                echelle[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0)
                ++echelle[static_cast<std::size_t>(i)];
            else
                echelle.insert(0, 1, '1');
        }
        echelle.append(static_cast<std::size_t>(decimals - (n - exposant - 1)), '0');
    }
    const auto d = static_cast<std::size_t>(decimals);
    if (echelle.size() < d + 1) echelle.insert(0, d + 1 - echelle.size(), '0');
    std::string texte = echelle.substr(0, echelle.size() - d);
    if (decimals > 0) {
        texte.append(separateur);
        texte.append(echelle, echelle.size() - d, d);
    }
    if (valeur < 0 && echelle.find_first_not_of('0') != std::string::npos) texte.insert(0, 1, '-');
    return texte;
}

std::string DegVersDMS(double angle, int decimals, std::string_view separateur) {
    if (angle == 0) return "000000";
    return Sexagesimal(angle, std::fabs(angle), decimals, separateur, "\u00B0", "'", "\"");
}

std::string DegVersHMS(double angle, int decimals, std::string_view separateur) {
    return Sexagesimal(angle, std::fabs(angle / 15), decimals, separateur, "h", "mn", "s");
}

}  // namespace PosSoleil
