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

namespace {

// The year as every format writes it: its days, what each was computed with, the kinds of event
// its columns hold, and the legal time its times are told in.
struct AnneeCalculee {
    int annee, jours;
    std::vector<ValeurTEmoinsTU> tt;  // at each date's noon, from the eve of the year on
    std::vector<PosSoleil::JourSolaire> an;
    std::vector<Tableau::Sorte> sortes;
    std::optional<HeureLegale> legal;
    std::string suffixe;  // of the times' keys: "_legale" or "_utc"
};

}  // namespace

namespace {

AnneeCalculee CalculeAnnee(const Reglages& r, int annee) {
    AnneeCalculee c;
    c.annee = annee;
    c.jours = PosSoleil::AnneeBissextile(annee) ? 366 : 365;
    if (!r.fuseau.empty()) c.legal.emplace(r.fuseau);
    // Dynamical time - UTC at each date's noon, from the eve of the year on, as `jour` takes it.
    c.an = Legal::AnneeDuResident(LieuDe(r), c.legal ? &*c.legal : nullptr, annee, c.tt);
    c.sortes = Tableau::Sortes(r.ciel.hauteurs);
    c.suffixe = c.legal ? "_legale" : "_utc";
    return c;
}

// The times of one kind in a day, in the format's text; in text, an event of another legal date
// than the row's keeps its date beside its time.
std::vector<std::string> Heures(const Reglages& r, AnneeCalculee& c,
                                const PosSoleil::JourSolaire& j, const Tableau::Sorte& s,
                                const std::string& dateLigne = {}) {
    std::vector<std::string> textes;
    for (const PosSoleil::Evenement& e : j.evenements) {
        if (!s.Est(e)) continue;
        const double t = e.t - Contrat::Ut1Jours(r.dut1);
        if (r.format != Format::Texte) {
            textes.push_back(c.legal ? c.legal->Texte(t) : TexteIso(t));
        } else if (c.legal) {
            // Legal time with its offset: the hour that comes twice is told apart.
            const std::string texte = c.legal->Texte(t, true);
            textes.push_back(texte.compare(0, 10, dateLigne) == 0 ? texte.substr(11) : texte);
        } else {
            textes.push_back(TexteSecondes(t).substr(11, 8));
        }
    }
    return textes;
}

std::string Joint(const std::vector<std::string>& textes, char separateur) {
    std::string s;
    for (const std::string& t : textes) s += (s.empty() ? "" : std::string(1, separateur)) + t;
    return s;
}

// The d-th date of the year (0 for 1 January), YYYY-MM-DD.
std::string Date(int annee, int d) {
    int a = 0, m = 0, jj = 0, h = 0, mi = 0, se = 0, ms = 0;
    PosSoleil::DecodeDateValeur(PosSoleil::EncodeDateValeur(annee, 1, d + 1, 0, 0, 0), a, m, jj, h,
                                mi, se, ms);
    char texte[16];
    std::snprintf(texte, sizeof texte, "%04d-%02d-%02d", a, m, jj);
    return texte;
}

std::optional<double> HauteurAuPassage(const PosSoleil::JourSolaire& j) {
    for (const PosSoleil::Evenement& e : j.evenements)
        if (e.type == PosSoleil::TypeEvenement::Passage) return e.hauteur;
    return std::nullopt;
}

void AnneeEnTexte(std::ostream& sortie, const Reglages& r, AnneeCalculee& c) {
    std::string texte = Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                                           r.site.Latitude >= 0, r.separateur, true) +
                        '\t' + std::to_string(c.annee) + '\t' +
                        (c.legal ? "heure légale " + r.fuseau : std::string("UTC")) + "\r\n";
    texte += "Date";
    for (const Tableau::Sorte& s : c.sortes) texte += '\t' + s.titre;
    texte += "\tHauteur au passage\tDurée du jour\tVariation\r\n";
    for (int d = 0; d < c.jours; ++d) {
        const PosSoleil::JourSolaire& j = c.an[static_cast<std::size_t>(d)];
        texte += Date(c.annee, d);
        for (const Tableau::Sorte& s : c.sortes) {
            const std::string h = Joint(Heures(r, c, j, s, Date(c.annee, d)), ' ');
            texte += '\t' + (h.empty() ? std::string("-") : h);
        }
        const auto hp = HauteurAuPassage(j);
        texte += '\t' + (hp ? Tableau::TexteDMS(*hp, 0, r.separateur) : std::string("-"));
        texte += '\t' + Tableau::Duree(j.duree, false) + '\t' +
                 Tableau::Duree(j.variationDuree, true) + "\r\n";
    }
    sortie << texte;
}

void AnneeEnCsv(std::ostream& sortie, const Reglages& r, AnneeCalculee& c) {
    std::string texte =
        "date,site_longitude_deg,site_latitude_deg,site_hauteur_m,tt_moins_utc_s,"
        "source_tt_utc,ut1_moins_utc_s";
    for (const Tableau::Sorte& s : c.sortes) texte += "," + s.cle + c.suffixe;
    texte += ",passage_hauteur_deg,duree_jour_min,variation_duree_min";
    for (const char* n : Contrat::ClesSeuils) texte += std::string(",etat_") + n;
    for (const double h : r.ciel.hauteurs) texte += ",etat_hauteur_" + Nombre(h);
    texte += '\n';
    std::string site;
    for (const double x : {r.site.Longitude, r.site.Latitude, r.site.Altitude}) {
        site += ',';
        AjouteNombre(site, x);
    }
    for (int d = 0; d < c.jours; ++d) {
        const PosSoleil::JourSolaire& j = c.an[static_cast<std::size_t>(d)];
        const ValeurTEmoinsTU& v = c.tt[static_cast<std::size_t>(d) + 1];
        texte += Date(c.annee, d) + site + ',' + Nombre(v.secondes) + ',' + NomSource(v.source) +
                 ',' + Nombre(r.dut1);
        for (const Tableau::Sorte& s : c.sortes) texte += ',' + Joint(Heures(r, c, j, s), ';');
        const auto hp = HauteurAuPassage(j);
        texte += ',' + (hp ? Nombre(*hp) : std::string()) + ',' + Nombre(j.duree * 60) + ',' +
                 Nombre(j.variationDuree * 60);
        for (const PosSoleil::EtatSeuil e : j.etats)
            texte += std::string(",") + Contrat::CleEtat(e);
        for (const PosSoleil::EtatSeuil e : j.etatsHauteurs)
            texte += std::string(",") + Contrat::CleEtat(e);
        texte += '\n';
    }
    sortie << texte;
}

void AnneeEnJson(std::ostream& sortie, const Reglages& r, AnneeCalculee& c) {
    Json o;
    o["entete"] = EnTeteJson(r, "annee", false, std::nullopt);
    o["annee"] = c.annee;
    Json liste = Json::array();
    for (int d = 0; d < c.jours; ++d) {
        const PosSoleil::JourSolaire& j = c.an[static_cast<std::size_t>(d)];
        const ValeurTEmoinsTU& v = c.tt[static_cast<std::size_t>(d) + 1];
        Json x;
        x["date"] = Date(c.annee, d);
        x["tt_moins_utc_s"] = v.secondes;
        x["source_tt_utc"] = NomSource(v.source);
        for (std::size_t k = 0; k < Tableau::SortesFixes; ++k) {
            const Tableau::Sorte& s = c.sortes[k];
            x[s.cle + c.suffixe] = Heures(r, c, j, s);
        }
        const auto hp = HauteurAuPassage(j);
        x["passage_hauteur_deg"] = hp ? Json(*hp) : Json(nullptr);
        x["duree_jour_min"] = j.duree * 60;
        x["variation_duree_min"] = j.variationDuree * 60;
        Json seuils;
        for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
            seuils[Contrat::ClesSeuils[s]] = Contrat::CleEtat(j.etats[s]);
        x["seuils"] = seuils;
        Json hauteurs = Json::array();
        for (std::size_t i = 0; i < r.ciel.hauteurs.size(); ++i) {
            const Tableau::Sorte& montee = c.sortes[Tableau::SortesFixes + 2 * i];
            const Tableau::Sorte& descente = c.sortes[Tableau::SortesFixes + 2 * i + 1];
            hauteurs.push_back({{"hauteur_deg", r.ciel.hauteurs[i]},
                                {"montee" + c.suffixe, Heures(r, c, j, montee)},
                                {"descente" + c.suffixe, Heures(r, c, j, descente)},
                                {"etat", Contrat::CleEtat(j.etatsHauteurs[i])}});
        }
        x["hauteurs"] = hauteurs;
        liste.push_back(x);
    }
    o["jours"] = liste;
    sortie << o.dump(2) << '\n';
}

}  // namespace

void EcritAnnee(std::ostream& sortie, const Reglages& r, int annee) {
    AnneeCalculee c = CalculeAnnee(r, annee);
    switch (r.format) {
        case Format::Texte:
            return AnneeEnTexte(sortie, r, c);
        case Format::Csv:
            return AnneeEnCsv(sortie, r, c);
        case Format::Json:
            return AnneeEnJson(sortie, r, c);
    }
}

}  // namespace Cli
