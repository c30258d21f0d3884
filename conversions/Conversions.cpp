#include "Conversions.h"

#include <charconv>
#include <cmath>

namespace Conversions {

namespace {
bool EstChiffre(char c) {
    return c >= '0' && c <= '9';
}
}  // namespace

bool LitEntier(std::string_view texte, int& valeur) noexcept {
    std::size_t i = 0;
    while (i < texte.size() && texte[i] == ' ') ++i;
    if (i == texte.size()) return false;
    long long v = 0;
    int significatifs = 0;
    for (; i < texte.size(); ++i) {
        if (!EstChiffre(texte[i])) return false;
        if (v != 0 || texte[i] != '0') ++significatifs;
        if (significatifs > 9) return false;
        v = v * 10 + (texte[i] - '0');
    }
    valeur = static_cast<int>(v);
    return true;
}

bool LitNombre(std::string_view texte, double& valeur, std::string_view separateur) noexcept {
    std::size_t debut = 0, fin = texte.size();
    while (debut < fin && texte[debut] == ' ') ++debut;
    while (fin > debut && texte[fin - 1] == ' ') --fin;
    std::string_view t = texte.substr(debut, fin - debut);

    // Rebuild the number in the C spelling, checking the shape as we go.
    std::string c;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
    std::size_t chiffres = 0;
    while (i < t.size() && EstChiffre(t[i])) c += t[i++], ++chiffres;
    if (!separateur.empty() && t.substr(i, separateur.size()) == separateur) {
        c += '.';
        i += separateur.size();
        while (i < t.size() && EstChiffre(t[i])) c += t[i++], ++chiffres;
    }
    if (chiffres == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        c += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) c += t[i++];
        std::size_t exposant = 0;
        while (i < t.size() && EstChiffre(t[i])) c += t[i++], ++exposant;
        if (exposant == 0) return false;
    }
    if (i != t.size()) return false;
    // from_chars reads the C spelling whatever the process's locale, and takes no "+".
    double v = 0;
    const char* debutNombre = c.data() + (c[0] == '+');
    const auto [finLue, erreur] = std::from_chars(debutNombre, c.data() + c.size(), v);
    if (erreur != std::errc() || finLue != c.data() + c.size() || !std::isfinite(v)) return false;
    valeur = v;
    return true;
}

namespace {
std::string Cite(std::string_view texte, std::string_view suite) {
    std::string message;
    message.reserve(texte.size() + suite.size() + 2);
    message += '\'';
    message += texte;
    message += '\'';
    message += suite;
    return message;
}
}  // namespace

std::string MessageEntier(std::string_view texte) {
    return Cite(texte, " n'est pas une valeur entière correcte");
}

std::string MessageNombre(std::string_view texte) {
    return Cite(texte, " n'est pas une valeur en virgule flottante correcte");
}

}  // namespace Conversions
