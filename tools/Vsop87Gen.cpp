#include "Vsop87Gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace Vsop87Gen {

namespace {

struct Serie {
    char variable;  // 'L', 'B' or 'R'
    int puissance;
    std::vector<std::string> A, B, C;
};

std::string Trim(const std::string& s) {
    const auto debut = s.find_first_not_of(' ');
    if (debut == std::string::npos) return {};
    return s.substr(debut, s.find_last_not_of(' ') - debut + 1);
}

int EntierApres(const std::string& ligne, const std::string& repere) {
    const auto pos = ligne.find(repere);
    if (pos == std::string::npos) throw std::runtime_error("header line without '" + repere + "'");
    return std::stoi(ligne.substr(pos + repere.size()));
}

void EcrireTableau(std::ostringstream& out, const std::string& nom,
                   const std::vector<std::string>& valeurs) {
    out << "constexpr double " << nom << "[] = {\n";
    for (std::size_t i = 0; i < valeurs.size(); ++i) {
        out << (i % 4 == 0 ? "    " : " ") << valeurs[i] << ',';
        if (i % 4 == 3 || i + 1 == valeurs.size()) out << '\n';
    }
    out << "};\n";
}

// The form for one sine and cosine per distinct frequency. Since
// A cos(B + C tau) = (A cos B) cos(C tau) - (A sin B) sin(C tau), each coordinate gets its
// distinct frequencies, ordered by the highest power of tau whose series uses them (then by
// first appearance), so that every series X_alpha uses a prefix of them; over that prefix,
// padded to a multiple of four, the series holds P = sum of A cos B and Q = -(sum of A sin B)
// of its terms at each frequency (zero where it has none). P and Q are computed in extended
// precision from the published decimals and written with 17 significant digits, which read
// back to the nearest double.
void EcrirePaires(std::ostringstream& out, const std::vector<Serie>& series) {
    out << "\n// One sine and cosine per distinct frequency: see tools/Vsop87Gen.cpp.\n";
    for (const char variable : {'L', 'B', 'R'}) {
        std::vector<const Serie*> siennes;
        for (const auto& s : series)
            if (s.variable == variable) siennes.push_back(&s);
        std::vector<std::string> frequences;
        std::vector<int> puissanceMax;
        for (const Serie* s : siennes) {
            for (const std::string& c : s->C) {
                const auto it = std::find(frequences.begin(), frequences.end(), c);
                if (it == frequences.end()) {
                    frequences.push_back(c);
                    puissanceMax.push_back(s->puissance);
                } else {
                    int& p = puissanceMax[static_cast<std::size_t>(it - frequences.begin())];
                    p = std::max(p, s->puissance);
                }
            }
        }
        std::vector<std::size_t> ordre(frequences.size());
        for (std::size_t i = 0; i < ordre.size(); ++i) ordre[i] = i;
        std::stable_sort(ordre.begin(), ordre.end(), [&](std::size_t a, std::size_t b) {
            return puissanceMax[a] > puissanceMax[b];
        });
        std::vector<std::string> triees;
        for (const std::size_t i : ordre) triees.push_back(frequences[i]);
        const auto arrondi4 = [](std::size_t n) { return (n + 3) / 4 * 4; };
        std::vector<std::string> remplies = triees;
        remplies.resize(arrondi4(triees.size()), "0");
        const std::string prefixe(1, variable);
        out << "\n// " << prefixe << ": " << triees.size() << " distinct frequencies\n";
        EcrireTableau(out, prefixe + "_F", remplies);
        out << "static_assert(std::size(" << prefixe << "_F) == " << remplies.size() << ");\n";
        for (const Serie* s : siennes) {
            std::size_t longueur = 0;  // the prefix of frequencies this series uses
            for (std::size_t i = 0; i < triees.size(); ++i)
                if (puissanceMax[ordre[i]] >= s->puissance) longueur = i + 1;
            longueur = arrondi4(longueur);
            std::vector<long double> P(longueur, 0.0L), Q(longueur, 0.0L);
            for (std::size_t t = 0; t < s->A.size(); ++t) {
                const auto j = static_cast<std::size_t>(
                    std::find(triees.begin(), triees.end(), s->C[t]) - triees.begin());
                const long double A = std::strtold(s->A[t].c_str(), nullptr);
                const long double B = std::strtold(s->B[t].c_str(), nullptr);
                P[j] += A * std::cos(B);
                Q[j] -= A * std::sin(B);
            }
            const auto texte = [](const std::vector<long double>& v) {
                std::vector<std::string> t;
                for (const long double x : v) {
                    char nombre[40];
                    std::snprintf(nombre, sizeof nombre, "%.17g", static_cast<double>(x));
                    t.push_back(x == 0.0L ? "0" : nombre);
                }
                return t;
            };
            const std::string nom = prefixe + std::to_string(s->puissance);
            EcrireTableau(out, nom + "_P", texte(P));
            EcrireTableau(out, nom + "_Q", texte(Q));
            out << "static_assert(std::size(" << nom << "_P) == " << longueur << " && std::size("
                << nom << "_Q) == " << longueur << ");\n";
        }
    }
}

}  // namespace

std::string GenererTable(const std::string& published, const std::string& fileName,
                         const std::string& sha256) {
    std::vector<Serie> series;
    int attendus = 0;
    std::istringstream in(published);
    std::string ligne;
    while (std::getline(in, ligne)) {
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        if (Trim(ligne).empty()) continue;
        if (ligne.find("VSOP87") != std::string::npos) {
            if (attendus != 0) throw std::runtime_error("a series ends before its announced count");
            const int variable = EntierApres(ligne, "VARIABLE ");
            if (variable < 1 || variable > 3) throw std::runtime_error("unknown variable");
            Serie s;
            s.variable = "LBR"[variable - 1];
            s.puissance = EntierApres(ligne, "*T**");
            attendus = EntierApres(ligne, "*T**" + std::to_string(s.puissance));
            series.push_back(std::move(s));
            continue;
        }
        // Fixed columns of a term line: A in 80-97, B in 98-111, C in 112-131 (1-based).
        if (series.empty() || attendus == 0) throw std::runtime_error("term line outside a series");
        if (ligne.size() < 131) throw std::runtime_error("short term line: " + ligne);
        series.back().A.push_back(Trim(ligne.substr(79, 18)));
        series.back().B.push_back(Trim(ligne.substr(97, 14)));
        series.back().C.push_back(Trim(ligne.substr(111, 20)));
        --attendus;
    }
    if (attendus != 0) throw std::runtime_error("the file ends before the last series is complete");

    std::ostringstream out;
    out << "// Generated by tools/vsop87_gen from " << fileName << " (SHA-256 " << sha256
        << "). Do not edit.\n"
        << "// VSOP87 version D, Earth: heliocentric ecliptic coordinates referred to the mean\n"
        << "// dynamical ecliptic and equinox of date. A term contributes A cos(B + C tau), tau "
           "in\n"
        << "// Julian millennia from J2000.0; A in radians (L, B) or au (R), B in radians, C in "
           "radians\n"
        << "// per millennium. Unsized arrays: a dropped line fails its count instead of reading "
           "zero.\n"
        << "#pragma once\n\n#include <iterator>\n\nnamespace VSOPEAR {\nnamespace {\n";
    std::size_t total = 0;
    for (const auto& s : series) {
        std::string nom(1, s.variable);
        nom += std::to_string(s.puissance);
        out << "\n// " << nom << ": " << s.A.size() << " terms\n";
        EcrireTableau(out, nom + "_A", s.A);
        EcrireTableau(out, nom + "_B", s.B);
        EcrireTableau(out, nom + "_C", s.C);
        out << "static_assert(std::size(" << nom << "_A) == " << s.A.size() << " && std::size("
            << nom << "_B) == " << s.A.size() << " && std::size(" << nom << "_C) == " << s.A.size()
            << ");\n";
        total += s.A.size();
    }
    out << "\nconstexpr int NombreTotalTermes = " << total << ";\n";
    EcrirePaires(out, series);
    out << "\n}  // namespace\n}  // namespace VSOPEAR\n";
    return out.str();
}

}  // namespace Vsop87Gen
