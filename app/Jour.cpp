// The `jour` command: the day's events at a site in its sky, one writer per format over the
// same computed day.
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "Cli.h"
#include "Lignes.h"
#include "Tableau.h"

namespace Cli {

namespace {

// The day as every format writes it: its events told in UTC, and what they were computed with.
struct JourCalcule {
    std::string date;    // as asked, YYYY-MM-DD
    double midi;         // its noon, UTC date-time value
    ValeurTEmoinsTU tt;  // dynamical time - UTC at that noon
    PosSoleil::JourSolaire j;
};

JourCalcule CalculeJour(const Reglages& r, HeureLegale* legal, int annee, int mois, int jour) {
    JourCalcule c;
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", annee, mois, jour);
    c.date = date;
    // The events found on UT1's scale, told in UTC.
    c.j = Legal::JourDuResident(LieuDe(r), legal, annee, mois, jour, c.tt, &c.midi);
    for (PosSoleil::Evenement& e : c.j.evenements) e.t -= Contrat::Ut1Jours(r.dut1);
    return c;
}

bool Culmination(const PosSoleil::Evenement& e) {
    return e.type == PosSoleil::TypeEvenement::Passage ||
           e.type == PosSoleil::TypeEvenement::PassageInferieur;
}

// The solar day's window's lines, its times in ISO 8601 (UTC with Z, legal time with its
// offset and abbreviation), the last column labelled.
void JourEnTexte(std::ostream& sortie, const Reglages& r, const JourCalcule& c,
                 std::optional<HeureLegale>& legal) {
    const PosSoleil::JourSolaire& j = c.j;
    sortie << Tableau::LigneSite(r.site.Longitude, r.site.Latitude, r.site.Longitude >= 0,
                                 r.site.Latitude >= 0, r.separateur, true)
           << '\t' << c.date << "\r\n";
    for (const PosSoleil::Evenement& e : j.evenements) {
        sortie << Tableau::NomEvenement(e) << '\t' << TexteSecondes(e.t);
        if (legal) {
            const std::string texte = legal->Texte(e.t, true);
            sortie << '\t' << texte << ' ' << legal->Abreviation();
        }
        sortie << '\t' << (Culmination(e) ? "hauteur " : "azimut ")
               << Tableau::TexteDMS(Culmination(e) ? e.hauteur : e.azimut, 0, r.separateur)
               << "\r\n";
    }
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
        if (j.etats[s] != PosSoleil::EtatSeuil::Franchi)
            sortie << (s == 0 ? Tableau::TexteEtatLever(j, r.ciel)
                              : Tableau::TexteEtat(static_cast<PosSoleil::Seuil>(s), j.etats[s]))
                   << "\r\n";
    for (std::size_t i = 0; i < j.etatsHauteurs.size(); ++i)
        if (j.etatsHauteurs[i] != PosSoleil::EtatSeuil::Franchi)
            sortie << Tableau::TexteEtat(r.ciel.hauteurs[i], j.etatsHauteurs[i]) << "\r\n";
    sortie << "Durée du jour\t" << Tableau::Duree(j.duree, false) << '\t'
           << Tableau::Duree(j.variationDuree, true) << "\r\n";
}

// Every row carries the day and the site, so that a file of several days reads as one.
void JourEnCsv(std::ostream& sortie, const Reglages& r, const JourCalcule& c,
               std::optional<HeureLegale>& legal) {
    const PosSoleil::JourSolaire& j = c.j;
    std::string commun = c.date;
    for (const double x : {r.site.Longitude, r.site.Latitude, r.site.Altitude, c.tt.secondes}) {
        commun += ',';
        AjouteNombre(commun, x);
    }
    commun += std::string(",") + NomSource(c.tt.source) + "," + Nombre(r.dut1);
    std::string texte =
        "date,site_longitude_deg,site_latitude_deg,site_hauteur_m,tt_moins_utc_s,"
        "source_tt_utc,ut1_moins_utc_s,type,evenement,seuil_deg,etat,date_utc";
    if (legal) texte += ",date_legale,abreviation";
    texte += ",azimut_nord_deg,hauteur_deg,duree_jour_min,variation_duree_min\n";
    const auto ligne = [&](std::initializer_list<std::string> champs) {
        texte += commun;
        for (const std::string& champ : champs) texte += "," + champ;
        texte += '\n';
    };
    const auto seuil = [&](int s) {
        return Nombre(s == 0 ? PosSoleil::HauteurLeverCoucher(r.ciel.hauteurOeil)
                             : PosSoleil::HauteursSeuils[s]);
    };
    for (const PosSoleil::Evenement& e : j.evenements) {
        const std::string debut = std::string(Contrat::ClesTypes[static_cast<int>(e.type)]) + "," +
                                  Tableau::NomEvenement(e) + "," +
                                  (Culmination(e) ? "" : Nombre(e.cible)) + ",franchi," +
                                  TexteIso(e.t);
        const std::string azimut = Nombre(Contrat::AzimutNord(e.azimut));
        if (legal) {
            const std::string local = legal->Texte(e.t);
            ligne({debut, local, legal->AbreviationTexte(), azimut, Nombre(e.hauteur), "", ""});
        } else {
            ligne({debut, azimut, Nombre(e.hauteur), "", ""});
        }
    }
    const std::string heuresVides = legal ? ",," : "";  // no legal time on these rows
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
        if (j.etats[s] != PosSoleil::EtatSeuil::Franchi)
            ligne({std::string("etat,") + Contrat::ClesSeuils[s] + "," +
                       (s == 0 && !r.ciel.horizon.empty() ? std::string() : seuil(s)) + "," +
                       Contrat::CleEtat(j.etats[s]) + "," + heuresVides,
                   "", "", "", ""});
    for (std::size_t i = 0; i < j.etatsHauteurs.size(); ++i)
        if (j.etatsHauteurs[i] != PosSoleil::EtatSeuil::Franchi)
            ligne({"etat,hauteur," + Nombre(r.ciel.hauteurs[i]) + "," +
                       Contrat::CleEtat(j.etatsHauteurs[i]) + "," + heuresVides,
                   "", "", "", ""});
    ligne({"duree,duree_jour,,," + heuresVides, "", "", Nombre(j.duree * 60),
           Nombre(j.variationDuree * 60)});
    sortie << texte;
}

void JourEnJson(std::ostream& sortie, const Reglages& r, const JourCalcule& c,
                std::optional<HeureLegale>& legal) {
    const PosSoleil::JourSolaire& j = c.j;
    Json o;
    o["entete"] = EnTeteJson(r, "jour", false, c.midi);
    o["date"] = c.date;
    Json evenements = Json::array();
    for (const PosSoleil::Evenement& e : j.evenements) {
        Json x;
        x["evenement"] = Tableau::NomEvenement(e);
        x["type"] = Contrat::ClesTypes[static_cast<int>(e.type)];
        if (!Culmination(e)) x["seuil_deg"] = e.cible;
        x["date_utc"] = TexteIso(e.t);
        if (legal) {
            x["date_legale"] = legal->Texte(e.t);
            x["abreviation"] = legal->Abreviation();
        }
        x["azimut_nord_deg"] = Contrat::AzimutNord(e.azimut);
        x["hauteur_deg"] = e.hauteur;
        evenements.push_back(x);
    }
    o["evenements"] = evenements;
    Json seuils;
    for (int s = 0; s < PosSoleil::NombreSeuils; ++s)
        seuils[Contrat::ClesSeuils[s]] = Contrat::CleEtat(j.etats[s]);
    o["seuils"] = seuils;
    Json hauteurs = Json::array();
    for (std::size_t i = 0; i < j.etatsHauteurs.size(); ++i)
        hauteurs.push_back(
            {{"hauteur_deg", r.ciel.hauteurs[i]}, {"etat", Contrat::CleEtat(j.etatsHauteurs[i])}});
    o["hauteurs"] = hauteurs;
    o["duree_jour_min"] = j.duree * 60;
    o["variation_duree_min"] = j.variationDuree * 60;
    sortie << o.dump(2) << '\n';
}

}  // namespace

void EcritJour(std::ostream& sortie, const Reglages& r, int annee, int mois, int jour) {
    std::optional<HeureLegale> legal;
    if (!r.fuseau.empty()) legal.emplace(r.fuseau);
    JourCalcule c = CalculeJour(r, legal ? &*legal : nullptr, annee, mois, jour);
    switch (r.format) {
        case Format::Texte:
            return JourEnTexte(sortie, r, c, legal);
        case Format::Csv:
            return JourEnCsv(sortie, r, c, legal);
        case Format::Json:
            return JourEnJson(sortie, r, c, legal);
    }
}

}  // namespace Cli
