// orvanel-cli cadran: the lines of a planar sundial at a site, in CSV, JSON or SVG at true scale.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <ctime>
#include <sstream>
#include <tuple>

#include "Commandes.h"
#include "Contrat.h"
#include "Lignes.h"

namespace Commandes {

using namespace Options;

namespace {

struct SaisieCadran {
    std::string azimut = "180", inclinaison = "90", style, nodus, lignes = "heures,dates",
                taille = "400,400", centre, meridien, annee;
};
SaisieCadran cadran;

PosSoleil::ChoixLignes LitLignes(const std::string& texte) {
    PosSoleil::ChoixLignes c;
    c.heures = c.dates = false;
    std::string mots;
    for (const Contrat::LigneDemandee& l : Contrat::LignesDemandees)
        mots += std::string(mots.empty() ? "" : ", ") + l.cli;
    std::stringstream liste(texte);
    for (std::string nom; std::getline(liste, nom, ',');) {
        const auto* l =
            std::find_if(std::begin(Contrat::LignesDemandees), std::end(Contrat::LignesDemandees),
                         [&](const Contrat::LigneDemandee& d) { return nom == d.cli; });
        if (l == std::end(Contrat::LignesDemandees))
            throw Cli::ErreurUsage{"valeur incorrecte pour --lines : « " + Cli::Extrait(nom) +
                                   " » (" + mots + ", séparées par des virgules)"};
        c.*(l->choix) = true;
    }
    return c;
}

}  // namespace

CLI::App* AjouteCadran(CLI::App& app, Saisie& s) {
    CLI::App* c = app.add_subcommand("cadran", "Lignes d'un cadran solaire plan");
    OptionsCommunes(c, s);
    c->add_option("--wall-azimuth", cadran.azimut,
                  "Azimut vers lequel regarde la face, depuis le nord par l'est (180 : plein sud ; "
                  "la déclinaison gnomonique est cet azimut moins 180, positive vers l'ouest)")
        ->type_name("DEG");
    c->add_option("--inclination", cadran.inclinaison,
                  "Inclinaison du plan, " + Cli::TextePlage(Contrat::InclinaisonPlan, "degrés") +
                      " (0 horizontal, 90 vertical ; 90 par défaut)")
        ->type_name("DEG");
    auto* style = c->add_option("--style-length", cadran.style,
                                "Style polaire de cette longueur depuis son pied, " +
                                    Cli::TextePlage(Contrat::LongueurGnomon, "mm"))
                      ->type_name("MM");
    c->add_option(
         "--nodus-distance", cadran.nodus,
         "Nodus à cette distance du plan, " + Cli::TextePlage(Contrat::LongueurGnomon, "mm"))
        ->type_name("MM")
        ->excludes(style);
    c->add_option("--lines", cadran.lignes,
                  "Lignes : heures, demi-heures, quarts, dates, signes, mois, analemmes, "
                  "babyloniennes, italiques (heures,dates)")
        ->type_name("LISTE");
    c->add_option("--size", cadran.taille,
                  "Largeur et hauteur de la zone tracée, centrée sur le pied du gnomon, " +
                      Cli::TextePlage(Contrat::TailleCadran, "mm") + " (400,400)")
        ->type_name("W,H");
    c->add_option("--center", cadran.centre,
                  "Centre de la zone tracée, mm depuis le pied du gnomon (par défaut, le cœur "
                  "des lignes d'heures de 9 h à 15 h)")
        ->type_name("X,Y");
    c->add_option("--meridian", cadran.meridien,
                  "Méridien du fuseau pour les analemmes, degrés Est (le multiple de 15 le plus "
                  "proche de la longitude)")
        ->type_name("DEG");
    c->add_option("--year", cadran.annee,
                  "Année des lignes de dates et des analemmes (l'année en cours)")
        ->type_name("A");
    return c;
}

int Cadran(const Saisie& s) {
    Saisie sansFormat = s;
    const bool svg = s.format == "svg";
    if (svg) sansFormat.format = "json";
    if (s.format == "texte") sansFormat.format = "csv";  // no text layout: CSV is the default
    const Cli::Reglages r = LitReglages(sansFormat, false);
    PosSoleil::Cadran c;
    c.azimutMur = Cli::LitAngle(cadran.azimut, "--wall-azimuth");
    c.inclinaison =
        Cli::LitNombre(cadran.inclinaison, "--inclination", Contrat::InclinaisonPlan, "degrés");
    c.gnomon = cadran.nodus.empty() ? PosSoleil::Gnomon::StylePolaire : PosSoleil::Gnomon::Nodus;
    const std::string& longueur = cadran.nodus.empty() ? cadran.style : cadran.nodus;
    if (longueur.empty())
        throw Cli::ErreurUsage{"option manquante : --style-length ou --nodus-distance"};
    c.longueur =
        Cli::LitNombre(longueur, cadran.nodus.empty() ? "--style-length" : "--nodus-distance",
                       Contrat::LongueurGnomon, "mm");
    PosSoleil::Trace trace;
    const auto virgule = cadran.taille.find(',');
    if (virgule == std::string::npos)
        throw Cli::ErreurUsage{"valeur incorrecte pour --size : « " + Cli::Extrait(cadran.taille) +
                               " » (W,H en mm)"};
    trace.largeur =
        Cli::LitNombre(cadran.taille.substr(0, virgule), "--size", Contrat::TailleCadran, "mm");
    trace.hauteur =
        Cli::LitNombre(cadran.taille.substr(virgule + 1), "--size", Contrat::TailleCadran, "mm");
    trace.meridien = cadran.meridien.empty() ? 15 * std::round(r.site.Longitude / 15)
                                             : Cli::LitNombre(cadran.meridien, "--meridian",
                                                              Contrat::Longitude, "degrés");
    if (cadran.annee.empty()) {
        const std::time_t maintenant = std::time(nullptr);
        std::tm tm{};
        gmtime_r(&maintenant, &tm);
        trace.annee = tm.tm_year + 1900;
    } else {
        trace.annee = static_cast<int>(
            Cli::LitEntier(cadran.annee, "--year", Contrat::PremiereAnnee, Contrat::DerniereAnnee));
    }
    trace.TEmoinsTU =
        Cli::TEmoinsTUA(r, PosSoleil::EncodeDateValeur(trace.annee, 7, 1, 0, 0, 0)).secondes;
    if (const auto d = PosSoleil::VerifieCadran(c, r.site.Latitude);
        d != PosSoleil::DefautCadran::Aucun)
        throw Cli::ErreurUsage{std::string("cadran impossible : ") + Contrat::TexteDefautCadran(d)};
    if (cadran.centre.empty()) {
        std::tie(trace.centreX, trace.centreY) = PosSoleil::CentreDesLignes(c, r.site, trace);
    } else {
        const auto v = cadran.centre.find(',');
        if (v == std::string::npos)
            throw Cli::ErreurUsage{"valeur incorrecte pour --center : « " +
                                   Cli::Extrait(cadran.centre) + " » (X,Y en mm)"};
        const Contrat::Plage zone{-Contrat::TailleCadran.max, Contrat::TailleCadran.max};
        trace.centreX = Cli::LitNombre(cadran.centre.substr(0, v), "--center", zone, "mm");
        trace.centreY = Cli::LitNombre(cadran.centre.substr(v + 1), "--center", zone, "mm");
    }
    const auto lignes = PosSoleil::LignesCadran(c, r.site, LitLignes(cadran.lignes), trace);
    std::ostringstream sortie;
    Cli::EcritCadran(sortie, r, c, trace, lignes, svg);
    return EcritTout(sortie.str());
}

}  // namespace Commandes
