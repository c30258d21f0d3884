// The rows of positions that `position`, `table` and `position --input` share: CSV lines, JSON
// objects and text blocks with the same columns, named with their units. Internal to orvanel-cli.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "Cli.h"

namespace Cli {

using Json = nlohmann::ordered_json;

// The header object of the JSON outputs: the settings that hold for every row.
Json EnTeteJson(const Reglages& r, const char* commande, bool siteParLigne,
                std::optional<double> instantUnique);

// A leading comma for every JSON row after the first.
inline const char* SeparateurJson(long long i) noexcept {
    return i > 0 ? ",\n" : "\n";
}

class LignesPosition {
public:
    LignesPosition(const Reglages& r, bool siteParLigne);

    std::string EnTeteCsv() const;

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
    // The text of a few numbers that often stay the same from one row to the next.
    struct Repete {
        double valeurs[3] = {};
        char texte[112];
        std::size_t longueur = 0;
    };

    const Reglages& r_;
    bool siteParLigne_;
    std::optional<HeureLegale> legal_;
    Repete site_, tt_, dut1_;
};

}  // namespace Cli
