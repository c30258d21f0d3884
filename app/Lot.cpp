// `position --input`: a CSV of instants and sites in, one position per row out, in order, block
// by block over the threads, so that memory holds one block whatever the length of the input.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "Lignes.h"
#include "Parallele.h"

namespace Cli {

namespace {

// The fields of a CSV line: commas, double quotes around a field that holds one ("" inside).
bool Decoupe(std::string_view ligne, std::vector<std::string>& champs) {
    champs.clear();
    std::string champ;
    bool cite = false;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        const char c = ligne[i];
        if (cite) {
            if (c != '"') {
                champ += c;
            } else if (i + 1 < ligne.size() && ligne[i + 1] == '"') {
                champ += '"';
                ++i;
            } else {
                cite = false;
            }
        } else if (c == '"' && champ.empty()) {
            cite = true;
        } else if (c == ',') {
            champs.push_back(std::move(champ));
            champ.clear();
        } else {
            champ += c;
        }
    }
    if (cite) return false;
    champs.push_back(std::move(champ));
    return true;
}

std::string Apres(std::string_view texte) {
    std::string_view v = texte;
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return std::string(v);
}

struct Colonnes {
    int date = -1, lon = -1, lat = -1, height = -1;
    std::size_t nombre = 0;
};

Colonnes LitEnTete(const std::string& ligne) {
    std::vector<std::string> champs;
    const std::string attendu = " (en-tête attendu : date,lon,lat et, si besoin, height)";
    if (!Decoupe(ligne, champs)) throw ErreurDonnees{"ligne 1 : guillemet non fermé" + attendu};
    Colonnes c;
    c.nombre = champs.size();
    for (std::size_t i = 0; i < champs.size(); ++i) {
        const std::string nom = Apres(champs[i]);
        int* place = nom == "date"     ? &c.date
                     : nom == "lon"    ? &c.lon
                     : nom == "lat"    ? &c.lat
                     : nom == "height" ? &c.height
                                       : nullptr;
        if (!place)
            throw ErreurDonnees{"ligne 1 : colonne inconnue « " + Extrait(nom) + " »" + attendu};
        if (*place >= 0)
            throw ErreurDonnees{"ligne 1 : colonne répétée « " + Extrait(nom) + " »" + attendu};
        *place = static_cast<int>(i);
    }
    if (c.date < 0 || c.lon < 0 || c.lat < 0)
        throw ErreurDonnees{"ligne 1 : colonne date, lon ou lat absente" + attendu};
    return c;
}

struct Rang {
    long long numero;  // line in the file, the header being line 1
    long long donnee;  // rank among the data rows, blank lines not counted
    std::string texte;
};

// Reads one row into an instant and a site; throws ErreurDonnees naming the line and the field.
void LitRang(const Rang& rang, const Colonnes& c, bool force, std::vector<std::string>& champs,
             double& t, PosSoleil::Site& site) {
    const std::string ou =
        "ligne " + std::to_string(rang.numero) + " (donnée " + std::to_string(rang.donnee) + ") : ";
    if (!Decoupe(rang.texte, champs)) throw ErreurDonnees{ou + "guillemet non fermé"};
    if (champs.size() != c.nombre)
        throw ErreurDonnees{ou + std::to_string(champs.size()) + " champs au lieu de " +
                            std::to_string(c.nombre)};
    try {
        const std::string date = Apres(champs[static_cast<std::size_t>(c.date)]);
        t = LitInstant(date, "le champ date");
        if (!force && !DansLesDates(t))
            throw ErreurUsage{"date hors de " + Contrat::TextePremierInstant() + ".." +
                              Contrat::TexteDernierInstant() + " pour le champ date : « " +
                              Extrait(date) + " » (--force pour l'accepter)"};
        site.Longitude = LitAngle(Apres(champs[static_cast<std::size_t>(c.lon)]), "le champ lon",
                                  Contrat::Longitude.min, Contrat::Longitude.max);
        site.Latitude = LitAngle(Apres(champs[static_cast<std::size_t>(c.lat)]), "le champ lat",
                                 Contrat::Latitude.min, Contrat::Latitude.max);
        site.Altitude = c.height < 0 ? 0
                                     : LitNombre(Apres(champs[static_cast<std::size_t>(c.height)]),
                                                 "le champ height", Contrat::AltitudeSite, "m");
    } catch (const ErreurUsage& e) {
        throw ErreurDonnees{ou + e.message};
    }
}

}  // namespace

void EcritLot(std::ostream& sortie, std::istream& entree, const Reglages& r, int taches,
              bool force) {
    const auto litLigne = [&](std::string& ligne) {
        if (!std::getline(entree, ligne)) return false;
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        return true;
    };
    std::string ligne;
    if (!litLigne(ligne))
        throw ErreurDonnees{
            "ligne 1 : entrée vide (en-tête attendu : date,lon,lat et, si besoin, "
            "height)"};
    if (ligne.rfind("\xEF\xBB\xBF", 0) == 0) ligne.erase(0, 3);  // a byte-order mark
    const Colonnes colonnes = LitEnTete(ligne);

    LignesPosition enTete(r, true);
    if (r.format == Format::Csv) sortie << enTete.EnTeteCsv();
    if (r.format == Format::Json)
        sortie << "{\"entete\":" << EnTeteJson(r, "position", true, std::nullopt).dump()
               << ",\n\"lignes\":[";
    const auto fermeJson = [&] {
        if (r.format == Format::Json) sortie << "\n]}\n";
    };

    constexpr std::size_t Bloc = 4096;
    taches = std::max(1, taches);
    long long numero = 1, donnees = 0, ecrites = 0;
    std::vector<Rang> rangs;
    for (bool finEntree = false; !finEntree;) {
        rangs.clear();
        while (rangs.size() < Bloc * static_cast<std::size_t>(taches)) {
            if (!litLigne(ligne)) {
                finEntree = true;
                break;
            }
            ++numero;
            if (ligne.find_first_not_of(" \t") == std::string::npos) continue;  // blank line
            rangs.push_back({numero, ++donnees, ligne});
        }
        std::vector<std::string> morceaux(static_cast<std::size_t>(taches));
        std::vector<std::optional<std::string>> erreurs(static_cast<std::size_t>(taches));
        const std::size_t parTache = (rangs.size() + static_cast<std::size_t>(taches) - 1) /
                                     static_cast<std::size_t>(taches);
        const auto calcule = [&](int k) {
            const std::size_t de = std::min(rangs.size(), static_cast<std::size_t>(k) * parTache),
                              a = std::min(rangs.size(), de + parTache);
            LignesPosition lignes(r, true);
            std::vector<std::string> champs;
            std::string& texte = morceaux[static_cast<std::size_t>(k)];
            // Consecutive rows of one instant (a map, a field of trackers) share the part of
            // the position that does not depend on the site: the same figures, computed once.
            std::optional<double> instant;
            ValeurTEmoinsTU tt{};
            PosSoleil::Geocentre geocentre{};
            for (std::size_t i = de; i < a; ++i) {
                double t = 0;
                PosSoleil::Site site{};
                try {
                    LitRang(rangs[i], colonnes, force, champs, t, site);
                } catch (const ErreurDonnees& e) {
                    erreurs[static_cast<std::size_t>(k)] = e.message;
                    return;
                }
                if (!instant ||
                    std::bit_cast<std::uint64_t>(*instant) != std::bit_cast<std::uint64_t>(t)) {
                    instant = t;
                    tt = TEmoinsTUA(r, t);
                    geocentre = GeocentreA(r, t, tt.secondes);
                }
                lignes.Ajoute(texte, t, site, tt, PosSoleil::PositionTopocentrique(geocentre, site),
                              ecrites + static_cast<long long>(i));
            }
        };
        Contrat::SurChaqueFil(taches, calcule);
        for (int k = 0; k < taches; ++k) {
            sortie << morceaux[static_cast<std::size_t>(k)];
            if (erreurs[static_cast<std::size_t>(k)]) {
                fermeJson();
                sortie.flush();
                throw ErreurDonnees{*erreurs[static_cast<std::size_t>(k)]};
            }
        }
        ecrites += static_cast<long long>(rangs.size());
    }
    fermeJson();
}

}  // namespace Cli
