// orvanel-cli annee: the events of each date of a year at a site.
#include <fstream>
#include <iostream>
#include <sstream>

#include "Commandes.h"
#include "Contrat.h"

namespace Commandes {

using namespace Options;

CLI::App* AjouteAnnee(CLI::App& app, Saisie& s) {
    CLI::App* annee = app.add_subcommand("annee", "Événements de chaque date d'une année");
    OptionsCommunes(annee, s);
    annee
        ->add_option("--year", s.annee,
                     "Année, " +
                         Cli::TextePlage(Contrat::PremiereAnnee, Contrat::DerniereAnnee, "") +
                         " (obligatoire)")
        ->type_name("A");
    OptionsCiel(annee, s);
    return annee;
}

int Annee(const Saisie& s) {
    const Cli::Reglages r = LitReglages(s, false);
    Taches(s);
    Obligatoire(s.annee, "--year");
    const int annee = static_cast<int>(
        s.force
            ? Cli::LitEntier(s.annee, "--year", Contrat::AnneeForceeMin, Contrat::AnneeForceeMax)
            : Cli::LitEntier(s.annee, "--year", Contrat::PremiereAnnee, Contrat::DerniereAnnee));
    std::ostringstream tampon;
    Cli::EcritAnnee(tampon, r, annee);
    return EcritTout(tampon.str());
}

}  // namespace Commandes
