#include "Vsop87Gen.h"

#include <algorithm>
#include <cstdint>
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

// What a term is worth to its coordinate: above this sum of amplitudes (radians for L and B,
// au for R) a frequency takes the double-precision sine-cosine, below it the single-precision
// one, whose error of about 1e-7 then stays under 1e-14 in the coordinate's total.
double SeuilFort(char variable) {
    return variable == 'R' ? 5e-8 : 3e-7;
}

std::string Nombre(long double x) {
    if (x == 0.0L) return "0";
    char texte[40];
    std::snprintf(texte, sizeof texte, "%.17g", static_cast<double>(x));
    return texte;
}

// A pair rounded to a double, then to a float, written so that it reads back to that float.
std::string NombreSimple(long double x) {
    const float f = static_cast<float>(static_cast<double>(x));
    if (f == 0.0f) return "0";
    char texte[40];
    std::snprintf(texte, sizeof texte, "%.9gf", static_cast<double>(f));
    std::string t = texte;
    if (t.find_first_of(".e") == std::string::npos) t.insert(t.size() - 1, ".0");
    return t;
}

// The forms for one sine and cosine per distinct frequency. Since
// A cos(B + C tau) = (A cos B) cos(C tau) - (A sin B) sin(C tau), a form gathers the distinct
// frequencies of its series (one coordinate, or all three for the position) and, for each series,
// the pairs P = A cos B and Q = -A sin B at those frequencies, computed in extended precision
// from the published decimals and written with 17 significant digits (the nearest double).
// The frequencies fall in two tiers: the strong ones (in radians per millennium) for the
// double-precision sine-cosine, four at a time, and the weak ones (in quarter turns per
// millennium, C 2/pi) for the single-precision one, eight at a time. Within a tier they are
// sorted by the series that use them and cut into segments: a segment is a run of frequencies,
// padded with zero frequencies to whole groups of four or eight, and the series active over it,
// each with its P and Q over the whole run (zero where it has no term). Adjacent segments merge
// where the extra zero products cost less than a segment's set-up. The constant terms (C = 0)
// stay apart, one per series.
void EcrireForme(std::ostringstream& out, const std::vector<Serie>& toutes,
                 const std::string& nomForme, const std::string& variables) {
    std::vector<const Serie*> siennes;
    for (const char v : variables)
        for (const auto& s : toutes)
            if (s.variable == v) siennes.push_back(&s);
    const std::size_t nSeries = siennes.size();
    if (nSeries > 17) throw std::runtime_error("too many series in one form");

    struct Frequence {
        std::string texte;
        long double C = 0;
        std::vector<long double> P, Q;
        std::uint32_t actives = 0;  // one bit per series of the form
        bool forte = false;
    };
    std::vector<Frequence> frequences;
    std::vector<long double> constantes(nSeries, 0.0L);
    for (std::size_t k = 0; k < nSeries; ++k) {
        const Serie& s = *siennes[k];
        for (std::size_t t = 0; t < s.A.size(); ++t) {
            const long double A = std::strtold(s.A[t].c_str(), nullptr);
            const long double B = std::strtold(s.B[t].c_str(), nullptr);
            const long double C = std::strtold(s.C[t].c_str(), nullptr);
            if (C == 0.0L) {
                constantes[k] += A * std::cos(B);
                continue;
            }
            auto it = std::find_if(frequences.begin(), frequences.end(),
                                   [&](const Frequence& f) { return f.texte == s.C[t]; });
            if (it == frequences.end()) {
                frequences.push_back({s.C[t], C, std::vector<long double>(nSeries, 0.0L),
                                      std::vector<long double>(nSeries, 0.0L), 0, false});
                it = frequences.end() - 1;
            }
            if (it->actives & (1u << k)) throw std::runtime_error("two terms share a frequency");
            it->P[k] = A * std::cos(B);
            it->Q[k] = -A * std::sin(B);
            it->actives |= 1u << k;
        }
    }
    // A frequency is strong when its terms weigh enough in any one coordinate.
    for (Frequence& f : frequences)
        for (const char v : variables) {
            long double poids = 0;
            for (std::size_t k = 0; k < nSeries; ++k)
                if (siennes[k]->variable == v) poids += std::hypot(f.P[k], f.Q[k]);
            if (poids > SeuilFort(v)) f.forte = true;
        }
    // K[c]: the number of powers of coordinate c that a frequency needs (its highest power
    // plus one). Frequencies are sorted by these, highest first, first appearance breaking ties.
    const std::size_t nCoord = variables.size();
    const auto puissances = [&](const Frequence& f) {
        std::vector<int> K(nCoord, 0);
        for (std::size_t i = 0; i < nSeries; ++i)
            if (f.actives & (1u << i)) {
                const std::size_t c = variables.find(siennes[i]->variable);
                K[c] = std::max(K[c], siennes[i]->puissance + 1);
            }
        return K;
    };
    std::stable_sort(
        frequences.begin(), frequences.end(),
        [&](const Frequence& a, const Frequence& b) { return puissances(a) > puissances(b); });
    // The index in the form of coordinate c's series of power a.
    const auto serie = [&](std::size_t c, int a) {
        for (std::size_t i = 0; i < nSeries; ++i)
            if (siennes[i]->variable == variables[c] && siennes[i]->puissance == a) return i;
        throw std::runtime_error("a power without its series");
    };

    struct Segment {
        std::size_t debut, fin;  // in the tier's frequencies, before padding
        std::vector<int> K;
    };
    std::string segments, coefficients, simples;
    std::size_t nCoefficients = 0;
    int nSegments = 0;
    for (const bool faible : {false, true}) {
        const std::size_t largeur = faible ? 8 : 4;
        std::vector<const Frequence*> tier;
        for (const Frequence& f : frequences)
            if (f.forte != faible) tier.push_back(&f);
        std::vector<Segment> decoupe;
        for (std::size_t j = 0; j < tier.size(); ++j) {
            const std::vector<int> K = puissances(*tier[j]);
            if (decoupe.empty() || decoupe.back().K != K) decoupe.push_back({j, j, K});
            decoupe.back().fin = j + 1;
        }
        // Cost in products of one lane by one coefficient: a lane's sine-cosine is worth a few
        // of them, a segment's set-up some forty.
        const auto cout = [&](std::size_t n, const std::vector<int>& K) {
            const std::size_t voies = (n + largeur - 1) / largeur * largeur;
            double produits = faible ? 3.0 : 6.0;
            for (const int k : K) produits += k;
            return static_cast<double>(voies) * produits + 40.0;
        };
        const auto reunion = [](std::vector<int> a, const std::vector<int>& b) {
            for (std::size_t c = 0; c < a.size(); ++c) a[c] = std::max(a[c], b[c]);
            return a;
        };
        for (;;) {
            std::size_t meilleur = decoupe.size();
            double gain = 0.0;
            for (std::size_t i = 0; i + 1 < decoupe.size(); ++i) {
                const Segment& a = decoupe[i];
                const Segment& b = decoupe[i + 1];
                const double d = cout(b.fin - a.debut, reunion(a.K, b.K)) -
                                 cout(a.fin - a.debut, a.K) - cout(b.fin - b.debut, b.K);
                if (d < gain) gain = d, meilleur = i;
            }
            if (meilleur == decoupe.size()) break;
            decoupe[meilleur].fin = decoupe[meilleur + 1].fin;
            decoupe[meilleur].K = reunion(decoupe[meilleur].K, decoupe[meilleur + 1].K);
            decoupe.erase(decoupe.begin() + static_cast<std::ptrdiff_t>(meilleur) + 1);
        }
        std::vector<std::string> valeurs;
        for (const Segment& s : decoupe) {
            const std::size_t debut = valeurs.size();
            for (std::size_t j = s.debut; j < s.fin; ++j)
                valeurs.push_back(
                    faible ? Nombre(tier[j]->C * 2.0L / 3.14159265358979323846264338327950288L)
                           : tier[j]->texte);
            while (valeurs.size() % largeur != 0) valeurs.push_back("0");
            segments += "    {" + std::string(faible ? "true" : "false") + ", " +
                        std::to_string(debut) + ", " + std::to_string(valeurs.size()) + ", " +
                        std::to_string(nCoefficients) + ", {";
            for (std::size_t c = 0; c < 3; ++c)
                segments += (c ? ", " : "") + std::to_string(c < nCoord ? s.K[c] : 0);
            segments += "}},\n";
            // Per coordinate, from its highest power down (the order of Horner's rule): P over
            // the segment's frequencies, then Q.
            for (std::size_t c = 0; c < nCoord; ++c)
                for (int a = s.K[c] - 1; a >= 0; --a) {
                    const std::size_t k = serie(c, a);
                    for (const bool sinus : {false, true})
                        for (std::size_t j = debut; j < valeurs.size(); ++j) {
                            const std::size_t i = s.debut + (j - debut);
                            const long double v =
                                i < s.fin ? (sinus ? tier[i]->Q[k] : tier[i]->P[k]) : 0.0L;
                            const char* debutLigne = nCoefficients % 4 == 0 ? "    " : " ";
                            coefficients += debutLigne + Nombre(v) + ',';
                            simples += debutLigne + NombreSimple(v) + ',';
                            if (nCoefficients % 4 == 3) coefficients += '\n', simples += '\n';
                            ++nCoefficients;
                        }
                }
            ++nSegments;
        }
        if (valeurs.empty()) valeurs.push_back("0");
        EcrireTableau(out, nomForme + (faible ? "_Faibles" : "_Fortes"), valeurs);
    }
    if (nCoefficients % 4 != 0) coefficients += '\n', simples += '\n';
    out << "constexpr double " << nomForme << "_Coefficients[] = {\n" << coefficients << "};\n";
    out << "// The same rounded to floats, for the weak tier's products in single precision.\n";
    out << "constexpr float " << nomForme << "_Simples[] = {\n" << simples << "};\n";
    out << "constexpr SegmentVSOP " << nomForme << "_Segments[] = {\n" << segments << "};\n";
    std::vector<std::string> k;
    for (const long double c : constantes) k.push_back(Nombre(c));
    EcrireTableau(out, nomForme + "_Constantes", k);
    out << "static_assert(std::size(" << nomForme << "_Segments) == " << nSegments
        << " && std::size(" << nomForme << "_Coefficients) == " << nCoefficients << " && std::size("
        << nomForme << "_Simples) == " << nCoefficients << " && std::size(" << nomForme
        << "_Constantes) == " << nSeries << ");\n";
}

void EcrireFormes(std::ostringstream& out, const std::vector<Serie>& series) {
    out << "\n// One sine and cosine per distinct frequency: see tools/Vsop87Gen.cpp. A segment: "
           "its\n"
           "// tier, its frequencies [debut, fin) in that tier, the offset of its coefficients "
           "and, per\n"
           "// coordinate of the form, the number of powers of tau its coefficients run over.\n"
           "struct SegmentVSOP {\n    bool faible;\n    std::uint16_t debut, fin;\n"
           "    std::uint32_t coefficients;\n    std::uint8_t K[3];\n};\n";
    for (const auto& [nom, variables] :
         {std::pair<std::string, std::string>{"L", "L"}, {"B", "B"}, {"R", "R"}, {"LBR", "LBR"}}) {
        out << "\n// Form " << nom << "\n";
        EcrireForme(out, series, nom, variables);
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
        << "#pragma once\n\n#include <cstdint>\n#include <iterator>\n\nnamespace VSOPEAR "
           "{\nnamespace {\n";
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
    EcrireFormes(out, series);
    out << "\n}  // namespace\n}  // namespace VSOPEAR\n";
    return out.str();
}

}  // namespace Vsop87Gen
