// `table`: rows at a regular step, block by block over the threads, written in order; CSV and
// JSON through the engine's regular series, the text as the generator writes it.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "Lignes.h"
#include "Parallele.h"
#include "Tableau.h"

namespace Cli {

namespace {

// A worker's buffers, kept from one block to the next so that their memory is taken once.
struct Espace {
    std::string texte;
    std::vector<Tableau::Instant> instants;
    std::vector<PosSoleil::Position> positions;
    std::vector<ValeurTEmoinsTU> tt;
    bool arret = false;
};

// Rows de..a-1 of a table in CSV or JSON through the engine's regular series: the rows'
// instants as the generator takes them, dynamical time - UTC linear over each run of rows (split
// where it is not, at a leap second or where the model bends by more than a microsecond).
// Returns true when the series ended at its last year.
bool LignesSerie(Espace& espace, const Reglages& r, double debut, double pasJours, long long de,
                 long long a) {
    std::string& texte = espace.texte;
    std::vector<Tableau::Instant>& instants = espace.instants;
    instants.clear();
    const bool fin =
        Tableau::Rangees(debut, pasJours, de, a, [&](const Tableau::Instant& c, long long) {
            instants.push_back(c);
            return true;
        });
    std::vector<PosSoleil::Position>& positions = espace.positions;
    positions.resize(instants.size());
    std::vector<ValeurTEmoinsTU>& tt = espace.tt;
    tt.resize(instants.size());
    for (std::size_t i = 0; i < instants.size(); ++i) tt[i] = TEmoinsTUA(r, instants[i].t);
    const double ut1 = Contrat::Ut1Jours(r.dut1);
    // Within a microsecond: each row then states the value it was computed with.
    RunsLineaires(
        0, instants.size(), 1e-6, [&](std::size_t i) { return tt[i]; },
        [&](std::size_t i, std::size_t n, double tt0, double pente) {
            PosSoleil::SerieSoleil(instants[i].t + ut1, pasJours, r.site, tt0 - r.dut1,
                                   std::span(positions).subspan(i, n), pente);
            for (std::size_t k = 0; k < n; ++k)
                tt[i + k].secondes = tt0 + pente * static_cast<double>(k);
        });
    LignesPosition lignes(r, false);
    for (std::size_t i = 0; i < instants.size(); ++i)
        lignes.Ajoute(texte, instants[i].t, r.site, tt[i], positions[i],
                      de + static_cast<long long>(i));
    return fin;
}

}  // namespace

void EcritTable(std::ostream& sortie, const Reglages& r, double debut, double pasJours,
                long long nombre, int taches, const Serie& demande) {
    LignesPosition modeleLignes(r, false);
    if (r.format == Format::Texte) {
        std::string modele[std::size(Tableau::Modele)];
        std::copy(std::begin(Tableau::Modele), std::end(Tableau::Modele), modele);
        modele[3] = Tableau::LigneReference(r.sud);
        modele[5] = Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                                       r.site.Latitude >= 0, r.separateur);
        modele[7] = Tableau::LigneColonnes(r.zenith);
        if (r.refraction) modele[7] += "Haut. réfractée";
        const ColonnesSurfaces c = Surfaces(r, {});
        for (std::size_t k = 0; k < c.n; ++k) modele[7] += std::string("\t") + c.cles[k];
        for (const std::string& ligne : modele) sortie << ligne << "\r\n";
    } else if (r.format == Format::Csv) {
        sortie << modeleLignes.EnTeteCsv();
    } else {
        Json e = EnTeteJson(r, "table", false, std::nullopt);
        e["debut"] = demande.debut;
        e["pas"] = demande.pas;
        e["unite_pas"] = demande.unite;
        e["lignes_demandees"] = Tableau::LignesDemandees(demande.nombre);
        sortie << "{\"entete\":" << e.dump() << ",\n\"lignes\":[";
    }
    // Blocks of rows on every thread, written in order once all are done: the memory holds
    // one block per thread, whatever the number of rows.
    constexpr long long Bloc = 16384;
    const long long total = Tableau::LignesDemandees(nombre);
    taches = std::max(1, taches);
    bool fin = false;
    std::vector<Espace> espaces(static_cast<std::size_t>(taches));
    Contrat::Equipe equipe(taches);
    for (long long premier = 0; premier < total && !fin; premier += Bloc * taches) {
        const auto calcule = [&](int k) {
            const long long de = premier + k * Bloc, a = std::min(total, de + Bloc);
            Espace& espace = espaces[static_cast<std::size_t>(k)];
            espace.texte.clear();
            if (de >= a) {
                espace.arret = false;
                return;
            }
            if (r.format != Format::Texte) {
                espace.arret = LignesSerie(espace, r, debut, pasJours, de, a);
                return;
            }
            std::string& texte = espace.texte;
            espace.arret =
                Tableau::Rangees(debut, pasJours, de, a, [&](const Tableau::Instant& c, long long) {
                    // The generator's row, computed as the generator computes it.
                    const PosSoleil::Position p =
                        Calcule(r, r.site, c.t, TEmoinsTUA(r, c.t).secondes);
                    texte += Tableau::Ligne(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde,
                                            Tableau::HauteurOuZenith(p.Hauteur, r.zenith),
                                            Tableau::AzimutDepuis(p.Azimut, r.sud), r.separateur);
                    if (r.refraction)
                        texte += Tableau::TexteDMS(HauteurRefractee(r, p.Hauteur), 1, r.separateur);
                    if (AvecSurfaces(r)) {
                        const ColonnesSurfaces cs = Surfaces(r, CalculeSurfaces(r, p));
                        for (std::size_t j = 0; j < cs.n; ++j)
                            texte += "\t" + (std::isnan(cs.valeurs[j])
                                                 ? std::string("-")
                                                 : PosSoleil::TexteFixe(cs.valeurs[j], 4, 18,
                                                                        r.separateur));
                    }
                    texte += "\r\n";
                    return true;
                });
        };
        equipe.SurChaqueFil(calcule);
        for (int k = 0; k < taches && !fin; ++k) {
            const Espace& espace = espaces[static_cast<std::size_t>(k)];
            sortie.write(espace.texte.data(), static_cast<std::streamsize>(espace.texte.size()));
            fin = espace.arret;
        }
    }
    if (r.format == Format::Json) sortie << "\n]}\n";
}

}  // namespace Cli
