// What the command-line tests share to read orvanel-cli's outputs: CSV fields and lines, a
// column by name, a temporary input file, and the engine's position to compare with.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PosSoleil.h"

namespace {

inline std::vector<std::string> Champs(const std::string& ligne) {
    std::vector<std::string> champs;
    std::istringstream in(ligne);
    for (std::string c; std::getline(in, c, ',');) champs.push_back(c);
    return champs;
}

inline double Double(const std::string& texte) {
    double x = NAN;
    std::from_chars(texte.data(), texte.data() + texte.size(), x);
    return x;
}

inline std::vector<std::string> Lignes(const std::string& texte) {
    std::vector<std::string> lignes;
    std::istringstream in(texte);
    for (std::string l; std::getline(in, l);) lignes.push_back(l);
    return lignes;
}

// The index of a named column in a CSV header line; -1 when absent.
inline int Colonne(const std::string& entete, const std::string& nom) {
    const auto noms = Champs(entete);
    const auto it = std::find(noms.begin(), noms.end(), nom);
    return it == noms.end() ? -1 : static_cast<int>(it - noms.begin());
}

// A file of the given text, removed with the object.
struct Fichier {
    std::string chemin;
    explicit Fichier(const std::string& texte) {
        char modele[] = "/tmp/orvanel-entree-XXXXXX";
        const int fd = mkstemp(modele);
        chemin = modele;
        std::ofstream(chemin, std::ios::binary) << texte;
        close(fd);
    }
    ~Fichier() { std::remove(chemin.c_str()); }
};

inline PosSoleil::Position Moteur(int a, int mo, int j, int h, int mi, double s, double lon,
                                  double lat, double TEmoinsTU) {
    PosSoleil::Position p{};
    PosSoleil::CalculPosition(a, mo, j, h, mi, s, lon, lat, 0, TEmoinsTU, p.LongitudeSoleil,
                              p.RayonVecteur, p.AscensionDroite, p.Declinaison, p.Azimut, p.Hauteur,
                              p.EquationTemps);
    return p;
}

}  // namespace
