// `position --input`: a CSV of instants and sites in, one position per row out, in order. The
// input is read in blocks of bytes; each block is cut at line ends into a few parts per thread,
// which the threads take in turn, each splitting, reading, computing and writing its rows
// without copying them; the parts are then written in order. Memory holds one block whatever the
// length of the input.
#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "Lignes.h"
#include "Parallele.h"

namespace Cli {

namespace {

// The fields of a CSV line: commas, double quotes around a field that holds one ("" inside).
// A line without quotes is cut in place; otherwise the fields are rewritten into `propres`,
// reserved to the line's length so that the views into it stay put.
bool Decoupe(std::string_view ligne, std::vector<std::string_view>& champs, std::string& propres) {
    champs.clear();
    if (ligne.find('"') == std::string_view::npos) {
        for (std::size_t debut = 0;;) {
            const std::size_t virgule = ligne.find(',', debut);
            champs.push_back(ligne.substr(debut, virgule - debut));
            if (virgule == std::string_view::npos) return true;
            debut = virgule + 1;
        }
    }
    propres.clear();
    propres.reserve(ligne.size());
    std::vector<std::size_t> bornes;  // where each field starts in `propres`
    std::size_t debutChamp = 0;
    bool cite = false;
    for (std::size_t i = 0; i < ligne.size(); ++i) {
        const char c = ligne[i];
        if (cite) {
            if (c != '"') {
                propres += c;
            } else if (i + 1 < ligne.size() && ligne[i + 1] == '"') {
                propres += '"';
                ++i;
            } else {
                cite = false;
            }
        } else if (c == '"' && propres.size() == debutChamp) {
            cite = true;
        } else if (c == ',') {
            bornes.push_back(debutChamp);
            debutChamp = propres.size();
        } else {
            propres += c;
        }
    }
    if (cite) return false;
    bornes.push_back(debutChamp);
    bornes.push_back(propres.size());
    const std::string_view tout = propres;
    for (std::size_t k = 0; k + 1 < bornes.size(); ++k)
        champs.push_back(tout.substr(bornes[k], bornes[k + 1] - bornes[k]));
    return true;
}

std::string_view Apres(std::string_view v) {
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

bool Blanche(std::string_view ligne) {
    return ligne.find_first_not_of(" \t") == std::string_view::npos;
}

struct Colonnes {
    int date = -1, lon = -1, lat = -1, height = -1;
    std::size_t nombre = 0;
};

Colonnes LitEnTete(std::string_view ligne) {
    std::vector<std::string_view> champs;
    std::string propres;
    const std::string attendu = " (en-tête attendu : date,lon,lat et, si besoin, height)";
    if (!Decoupe(ligne, champs, propres))
        throw ErreurDonnees{"ligne 1 : guillemet non fermé" + attendu};
    Colonnes c;
    c.nombre = champs.size();
    for (std::size_t i = 0; i < champs.size(); ++i) {
        const std::string_view nom = Apres(champs[i]);
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

// A field's last text and the value read from it: the rows of one site, or of one instant,
// repeat the same texts, read once.
struct Dernier {
    std::string texte;
    double valeur = 0;
    bool lu = false;

    template <class Lire>
    double Lit(std::string_view v, Lire lire) {
        if (!lu || v != texte) {
            valeur = lire(v);  // throws on a bad field, leaving the last good one
            texte.assign(v);
            lu = true;
        }
        return valeur;
    }
};

// One row read into an instant and a site, or the fault that stops the input there.
struct Lecture {
    std::vector<std::string_view> champs;
    std::string propres;
    Dernier date_, lon_, lat_, height_;

    // The message of a bad row, without the place of the row.
    std::optional<std::string> Lit(std::string_view texte, const Colonnes& c, bool force, double& t,
                                   PosSoleil::Site& site) {
        if (!Decoupe(texte, champs, propres)) return "guillemet non fermé";
        if (champs.size() != c.nombre)
            return std::to_string(champs.size()) + " champs au lieu de " + std::to_string(c.nombre);
        const auto champ = [&](int k) { return Apres(champs[static_cast<std::size_t>(k)]); };
        try {
            // The sites of one instant often follow each other: the same text, the same instant.
            const std::string_view date = champ(c.date);
            t = date_.Lit(date, [](std::string_view v) { return LitInstant(v, "le champ date"); });
            if (!force && !DansLesDates(t))
                return "date hors de " + Contrat::TextePremierInstant() + ".." +
                       Contrat::TexteDernierInstant() + " pour le champ date : « " + Extrait(date) +
                       " » (--force pour l'accepter)";
            site.Longitude = lon_.Lit(champ(c.lon), [](std::string_view v) {
                return LitAngle(v, "le champ lon", Contrat::Longitude.min, Contrat::Longitude.max);
            });
            site.Latitude = lat_.Lit(champ(c.lat), [](std::string_view v) {
                return LitAngle(v, "le champ lat", Contrat::Latitude.min, Contrat::Latitude.max);
            });
            site.Altitude = c.height < 0 ? 0 : height_.Lit(champ(c.height), [](std::string_view v) {
                return LitNombre(v, "le champ height", Contrat::AltitudeSite, "m");
            });
        } catch (const ErreurUsage& e) {
            return e.message;
        }
        return std::nullopt;
    }
};

// A bad row: its line in the file, its rank among the data rows of its part, what is wrong.
struct Defaut {
    long long numero, donnee;
    std::string message;
};

// What a thread makes of a part of a block: its rows' texts, each after its separator (see
// Ajoute), the number of lines and of data rows it read, and the fault that stopped it, if any
// (its line counted from the part's start).
struct Part {
    std::string texte;
    long long lignes = 0, donnees = 0;
    std::optional<Defaut> defaut;
};

// The rows of one part, gathered a few hundred at a time: read, then computed (a run of rows of
// one instant, a map or a field of trackers, pays the part of the position that does not depend
// on the site once, then the site's part for each), then written.
class Calcul {
public:
    Calcul(const Reglages& r, const Colonnes& c, bool force)
        : r_(r), colonnes_(c), force_(force), lignes_(r, true) {}

    // The part's lines, numbered from 1 within it.
    void Traite(std::string_view donnees, Part& part) {
        part.texte.clear();
        part.donnees = 0;
        part.defaut.reset();
        long long numero = 0;
        for (std::size_t debut = 0; debut < donnees.size();) {
            const std::size_t fin = std::min(donnees.find('\n', debut), donnees.size());
            std::string_view ligne = donnees.substr(debut, fin - debut);
            debut = fin + 1;
            ++numero;
            if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
            if (Blanche(ligne)) continue;
            const std::size_t k = n_;
            if (auto message = lecture_.Lit(ligne, colonnes_, force_, t_[k], sites_[k])) {
                part.defaut = Defaut{numero, part.donnees + 1, std::move(*message)};
                break;
            }
            ++part.donnees;
            if (++n_ == Groupe) Ecrit(part.texte);
        }
        part.lignes = numero;
        Ecrit(part.texte);
    }

private:
    static constexpr std::size_t Groupe = 256;

    // The geocentric parts of the group first, one after the other while the series' tables
    // are at hand, then the sites' parts, then the texts.
    void Ecrit(std::string& texte) {
        std::size_t runs = 0;
        for (std::size_t debut = 0; debut < n_; ++runs) {
            std::size_t fin = debut + 1;
            while (fin < n_ &&
                   std::bit_cast<std::uint64_t>(t_[fin]) == std::bit_cast<std::uint64_t>(t_[debut]))
                ++fin;
            const double t = t_[debut];
            if (!instant_ ||
                std::bit_cast<std::uint64_t>(*instant_) != std::bit_cast<std::uint64_t>(t)) {
                instant_ = t;
                tt_ = TEmoinsTUA(r_, t);
                geocentre_ = GeocentreA(r_, t, tt_.secondes);
            }
            debuts_[runs] = debut;
            tts_[runs] = tt_;
            geocentres_[runs] = geocentre_;
            debut = fin;
        }
        debuts_[runs] = n_;
        for (std::size_t k = 0; k < runs; ++k) {
            const std::size_t debut = debuts_[k], n = debuts_[k + 1] - debut;
            PosSoleil::PositionsSites(geocentres_[k], {sites_ + debut, n}, {positions_ + debut, n});
        }
        for (std::size_t k = 0; k < runs; ++k)
            for (std::size_t i = debuts_[k]; i < debuts_[k + 1]; ++i)
                lignes_.Ajoute(texte, t_[i], sites_[i], tts_[k], positions_[i], 1);
        n_ = 0;
    }

    const Reglages& r_;
    const Colonnes& colonnes_;
    bool force_;
    LignesPosition lignes_;
    Lecture lecture_;
    std::size_t n_ = 0;
    double t_[Groupe];
    PosSoleil::Site sites_[Groupe];
    PosSoleil::Position positions_[Groupe];
    // The runs of rows of one instant: where each starts, its dynamical time and geocentre.
    std::size_t debuts_[Groupe + 1];
    ValeurTEmoinsTU tts_[Groupe];
    PosSoleil::Geocentre geocentres_[Groupe];
    std::optional<double> instant_;
    ValeurTEmoinsTU tt_{};
    PosSoleil::Geocentre geocentre_{};
};

// The input in blocks of whole lines: each block is what was read, up to its last line end
// (the whole rest at the end of the input).
class Blocs {
public:
    explicit Blocs(std::istream& entree) : entree_(entree) {}

    // The next block of about `taille` bytes (more when a line is longer), empty at the end.
    std::string_view Suivant(std::size_t taille) {
        tampon_.erase(0, consomme_);
        consomme_ = 0;
        for (;;) {
            const std::size_t avant = tampon_.size();
            if (!fin_) {
                tampon_.resize(avant + taille);
                entree_.read(tampon_.data() + avant, static_cast<std::streamsize>(taille));
                tampon_.resize(avant + static_cast<std::size_t>(entree_.gcount()));
                fin_ = !entree_;
            }
            if (fin_) {
                consomme_ = tampon_.size();
                return tampon_;
            }
            if (const std::size_t n = tampon_.rfind('\n'); n != std::string::npos && n >= avant) {
                consomme_ = n + 1;
                return std::string_view(tampon_).substr(0, consomme_);
            }
        }
    }

private:
    std::istream& entree_;
    std::string tampon_;
    std::size_t consomme_ = 0;
    bool fin_ = false;
};

}  // namespace

void EcritLot(std::ostream& sortie, std::istream& entree, const Reglages& r, int taches,
              bool force) {
    taches = std::max(1, taches);
    Blocs blocs(entree);
    // The header: the first line, read on its own.
    std::string ligne;
    if (!std::getline(entree, ligne))
        throw ErreurDonnees{
            "ligne 1 : entrée vide (en-tête attendu : date,lon,lat et, si besoin, "
            "height)"};
    if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
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

    // Every row comes after its separator (JSON's comma, the text's blank line); the very
    // first row of the output goes without it.
    const std::size_t separateur = r.format == Format::Json ? 1 : r.format == Format::Texte;
    // Each thread's share of a block is cut into a few parts that the threads take in turn as
    // they finish, so that a slower core or a costlier stretch of rows does not hold the others.
    constexpr std::size_t OctetsParTache = 1 << 18, PartsParTache = 8;
    Contrat::Equipe equipe(taches);
    std::vector<Calcul> calculs;
    for (int k = 0; k < taches; ++k) calculs.emplace_back(r, colonnes, force);
    const std::size_t nParts = PartsParTache * static_cast<std::size_t>(taches);
    std::vector<Part> parts(nParts);
    std::vector<std::string_view> morceaux(nParts);
    long long numero = 1, donnees = 0;  // the line before the block, the data rows written
    bool premiere = true;
    for (;;) {
        const std::string_view bloc =
            blocs.Suivant(OctetsParTache * static_cast<std::size_t>(taches));
        if (bloc.empty()) break;
        // The parts, cut at line ends.
        for (std::size_t k = 0, debut = 0; k < nParts; ++k) {
            std::size_t fin = bloc.size();
            if (k + 1 < nParts) {
                fin = std::min(bloc.size(), debut + bloc.size() / nParts);
                const std::size_t n = bloc.find('\n', fin > 0 ? fin - 1 : 0);
                fin = n == std::string_view::npos ? bloc.size() : std::max(n + 1, debut);
            }
            morceaux[k] = bloc.substr(debut, fin - debut);
            debut = fin;
        }
        std::atomic<std::size_t> suivante{0};
        equipe.SurChaqueFil([&](int k) {
            for (std::size_t i = suivante++; i < nParts; i = suivante++)
                calculs[static_cast<std::size_t>(k)].Traite(morceaux[i], parts[i]);
        });
        for (Part& part : parts) {
            std::string_view texte = part.texte;
            if (premiere && !texte.empty()) {
                texte.remove_prefix(separateur);
                premiere = false;
            }
            sortie << texte;
            if (part.defaut) {
                fermeJson();
                sortie.flush();
                throw ErreurDonnees{"ligne " + std::to_string(numero + part.defaut->numero) +
                                    " (donnée " + std::to_string(donnees + part.defaut->donnee) +
                                    ") : " + part.defaut->message};
            }
            numero += part.lignes;
            donnees += part.donnees;
        }
    }
    fermeJson();
}

}  // namespace Cli
