// The rows of positions that `position`, `table` and `position --input` share: CSV lines, JSON
// objects and text blocks with the same columns, named with their units. Internal to orvanel-cli.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "Cli.h"

namespace Cli {

using Json = nlohmann::ordered_json;

// The header object of the JSON outputs: the settings that hold for every row.
Json EnTeteJson(const Reglages& r, const char* commande, bool siteParLigne,
                std::optional<double> instantUnique);

// The altitude refracted at the settings' weather.
double HauteurRefractee(const Reglages& r, double hauteur);

// The Sun on the surfaces the settings ask for, from its apparent (refracted) place at the
// settings' weather: the light strikes a module along its refracted path.
struct SurSurfaces {
    double masse, masseAbsolue, irradiance;  // with --energy
    double projection, incidence;            // on the plane of --plane
    PosSoleil::Orientation suivi;            // of the tracker of --tracker
};

SurSurfaces CalculeSurfaces(const Reglages& r, const PosSoleil::Position& p);

// The surfaces' columns, in the order of their values below: CSV names and JSON keys.
struct ColonnesSurfaces {
    const char* cles[9];
    double valeurs[9];
    std::size_t n = 0;
    void Ajoute(const char* cle, double valeur) {
        cles[n] = cle;
        valeurs[n++] = valeur;
    }
};

ColonnesSurfaces Surfaces(const Reglages& r, const SurSurfaces& s);
bool AvecSurfaces(const Reglages& r);

// A leading comma for every JSON row after the first.
inline const char* SeparateurJson(long long i) noexcept {
    return i > 0 ? ",\n" : "\n";
}

class LignesPosition {
public:
    LignesPosition(const Reglages& r, bool siteParLigne);

    std::string EnTeteCsv();

    // Appends the i-th row (CSV line with its newline, JSON object after a separator, or text
    // block) for the position at t at the site.
    void Ajoute(std::string& texte, double t, const PosSoleil::Site& site, long long i);
    // The JSON object of a row, for a position computed with dynamical time - UTC tt.
    Json Objet(double t, const PosSoleil::Site& site, const ValeurTEmoinsTU& tt,
               const PosSoleil::Position& p);

    // The same for a position already computed with dynamical time - UTC tt.
    void Ajoute(std::string& texte, double t, const PosSoleil::Site& site,
                const ValeurTEmoinsTU& tt, const PosSoleil::Position& p, long long i);

private:
    // One column of a row: its CSV name and JSON key, and its value, a number (NaN an empty
    // CSV field and a JSON null) or a text (CSV may write it otherwise, see AbreviationTexte).
    // `repete` names the run of numbers, often the same from one row to the next, whose CSV
    // text is kept: 1 the site, 2 dynamical time - UTC, 3 UT1 - UTC, 4 the geocentric Sun (the
    // same for every site of an instant).
    struct Colonne {
        const char* cle;
        enum Sorte : std::uint8_t { EnTexte, EnNombre } sorte;
        std::uint8_t repete;
        std::string_view texte, csv;
        double valeur;
    };
    // A row's columns in their order, the one list that the CSV header, the CSV lines and the
    // JSON objects are written from, and the texts its columns point into.
    struct Rangee {
        Colonne c[32];
        std::size_t n = 0;
        char tampon[32];
        double instant = std::numeric_limits<double>::quiet_NaN();  // of the texts below
        std::string date, legal, abreviation, abreviationCsv;
    };
    void Remplit(Rangee& l, double t, const PosSoleil::Site& site, const ValeurTEmoinsTU& tt,
                 const PosSoleil::Position& p);

    // The text of a few numbers that often stay the same from one row to the next.
    struct Repete {
        double valeurs[4] = {};
        char texte[136];
        std::size_t longueur = 0;
    };

    const Reglages& r_;
    bool siteParLigne_;
    std::optional<HeureLegale> legal_;
    Repete caches_[4];
    Rangee rangee_;
};

}  // namespace Cli
