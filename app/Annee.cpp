// The sky of a site for the command line: its skyline read from a file, and the year of days
// written one row per date.
#include <stdexcept>
#include <cmath>
#include <cstdio>

#include "Cli.h"
#include "Lignes.h"
#include "Tableau.h"

namespace Cli {

std::vector<PosSoleil::PointHorizon> LitHorizon(std::istream& entree, const std::string& nom) {
    try {
        return Tableau::LitHorizon(entree, nom);
    } catch (const std::invalid_argument& e) {
        throw ErreurUsage{std::string("--horizon ") + e.what()};
    }
}

void EcritAnnee(std::ostream& sortie, const Reglages& r, int annee) {
    const int jours = PosSoleil::AnneeBissextile(annee) ? 366 : 365;
    // Dynamical time - UTC at each date's noon, from the eve of the year on, as `jour` takes it.
    std::vector<TtUtc> tt;
    std::vector<double> secondes;
    for (int d = 0; d <= jours; ++d) {
        tt.push_back(TtMoinsUtcA(r, PosSoleil::EncodeDateValeur(annee, 1, d, 12, 0, 0)));
        secondes.push_back(tt.back().secondes - r.dut1);
    }
    std::vector<PosSoleil::JourSolaire> an =
        PosSoleil::AnneeSolaire(annee, r.site, r.ciel, secondes);
    const std::vector<Tableau::Sorte> sortes = Tableau::Sortes(r.ciel.hauteurs);
    std::optional<HeureLegale> legal;
    if (!r.fuseau.empty()) legal.emplace(r.fuseau);
    const std::string suffixe = legal ? "_legale" : "_utc";
    // The times of one kind in a day, in the format's text.
    const auto heures = [&](const PosSoleil::JourSolaire& j, const Tableau::Sorte& s) {
        std::vector<std::string> textes;
        for (const PosSoleil::Evenement& e : j.evenements) {
            if (!s.Est(e)) continue;
            const double t = e.t - r.dut1 / PosSoleil::SecondesParJour;
            if (r.format == Format::Texte)
                textes.push_back((legal ? legal->Texte(t, true) : TexteSecondes(t)).substr(11, 8));
            else
                textes.push_back(legal ? legal->Texte(t) : TexteIso(t));
        }
        return textes;
    };
    const auto joint = [](const std::vector<std::string>& textes, char separateur) {
        std::string s;
        for (const std::string& t : textes) s += (s.empty() ? "" : std::string(1, separateur)) + t;
        return s;
    };
    const auto date = [&](int d) {
        int a = 0, m = 0, jj = 0, h = 0, mi = 0, se = 0, ms = 0;
        PosSoleil::DecodeDateValeur(PosSoleil::EncodeDateValeur(annee, 1, d + 1, 0, 0, 0), a, m, jj,
                                    h, mi, se, ms);
        char texte[16];
        std::snprintf(texte, sizeof texte, "%04d-%02d-%02d", a, m, jj);
        return std::string(texte);
    };
    const auto passageHauteur = [](const PosSoleil::JourSolaire& j) -> std::optional<double> {
        for (const PosSoleil::Evenement& e : j.evenements)
            if (e.type == PosSoleil::TypeEvenement::Passage) return e.hauteur;
        return std::nullopt;
    };

    if (r.format == Format::Texte) {
        std::string texte =
            Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                               r.site.Latitude >= 0, r.separateur, true) +
            '\t' + std::to_string(annee) + '\t' +
            (legal ? "heure légale " + r.fuseau : std::string("UTC")) + "\r\n";
        texte += "Date";
        for (const Tableau::Sorte& s : sortes) texte += '\t' + s.titre;
        texte += "\tHauteur au passage\tDurée du jour\tVariation\r\n";
        for (int d = 0; d < jours; ++d) {
            const PosSoleil::JourSolaire& j = an[static_cast<std::size_t>(d)];
            texte += date(d);
            for (const Tableau::Sorte& s : sortes) {
                const std::string h = joint(heures(j, s), ' ');
                texte += '\t' + (h.empty() ? std::string("-") : h);
            }
            const auto hp = passageHauteur(j);
            texte += '\t' + (hp ? Tableau::TexteDMS(*hp, 0, r.separateur) : std::string("-"));
            texte += '\t' + Tableau::Duree(j.duree, false) + '\t' +
                     Tableau::Duree(j.variationDuree, true) + "\r\n";
        }
        sortie << texte;
        return;
    }
    if (r.format == Format::Csv) {
        std::string texte =
            "date,site_longitude_deg,site_latitude_deg,site_hauteur_m,tt_moins_utc_s,"
            "source_tt_utc,ut1_moins_utc_s";
        for (const Tableau::Sorte& s : sortes) texte += "," + s.cle + suffixe;
        texte += ",passage_hauteur_deg,duree_jour_min,variation_duree_min";
        for (const char* n : Contrat::ClesSeuils) texte += std::string(",etat_") + n;
        for (const double h : r.ciel.hauteurs) texte += ",etat_hauteur_" + Nombre(h);
        texte += '\n';
        std::string site;
        for (const double x : {r.site.Longitude, r.site.Latitude, r.site.Altitude}) {
            site += ',';
            AjouteNombre(site, x);
        }
        for (int d = 0; d < jours; ++d) {
            const PosSoleil::JourSolaire& j = an[static_cast<std::size_t>(d)];
            const TtUtc& v = tt[static_cast<std::size_t>(d) + 1];
            texte += date(d) + site + ',' + Nombre(v.secondes) + ',' + NomSource(v.source) + ',' +
                     Nombre(r.dut1);
            for (const Tableau::Sorte& s : sortes) texte += ',' + joint(heures(j, s), ';');
            const auto hp = passageHauteur(j);
            texte += ',' + (hp ? Nombre(*hp) : std::string()) + ',' + Nombre(j.duree * 60) + ',' +
                     Nombre(j.variationDuree * 60);
            for (const PosSoleil::EtatSeuil e : j.etats)
                texte += std::string(",") + Contrat::ClesEtats[static_cast<int>(e)];
            for (const PosSoleil::EtatSeuil e : j.etatsHauteurs)
                texte += std::string(",") + Contrat::ClesEtats[static_cast<int>(e)];
            texte += '\n';
        }
        sortie << texte;
        return;
    }
    Json o;
    o["entete"] = EnTeteJson(r, "annee", false, std::nullopt);
    o["annee"] = annee;
    Json liste = Json::array();
    for (int d = 0; d < jours; ++d) {
        const PosSoleil::JourSolaire& j = an[static_cast<std::size_t>(d)];
        const TtUtc& v = tt[static_cast<std::size_t>(d) + 1];
        Json x;
        x["date"] = date(d);
        x["tt_moins_utc_s"] = v.secondes;
        x["source_tt_utc"] = NomSource(v.source);
        for (std::size_t k = 0; k < Tableau::SortesFixes; ++k) {
            const Tableau::Sorte& s = sortes[k];
            x[s.cle + suffixe] = heures(j, s);
        }
        const auto hp = passageHauteur(j);
        x["passage_hauteur_deg"] = hp ? Json(*hp) : Json(nullptr);
        x["duree_jour_min"] = j.duree * 60;
        x["variation_duree_min"] = j.variationDuree * 60;
        Json seuils;
        for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
            seuils[Contrat::ClesSeuils[s]] = Contrat::ClesEtats[static_cast<int>(j.etats[s])];
        x["seuils"] = seuils;
        Json hauteurs = Json::array();
        for (std::size_t i = 0; i < r.ciel.hauteurs.size(); ++i) {
            const Tableau::Sorte& montee = sortes[Tableau::SortesFixes + 2 * i];
            const Tableau::Sorte& descente = sortes[Tableau::SortesFixes + 2 * i + 1];
            hauteurs.push_back(
                {{"hauteur_deg", r.ciel.hauteurs[i]},
                 {"montee" + suffixe, heures(j, montee)},
                 {"descente" + suffixe, heures(j, descente)},
                 {"etat", Contrat::ClesEtats[static_cast<int>(j.etatsHauteurs[i])]}});
        }
        x["hauteurs"] = hauteurs;
        liste.push_back(x);
    }
    o["jours"] = liste;
    sortie << o.dump(2) << '\n';
}

}  // namespace Cli
