// orvanel-cli table: positions over a regular series of instants.
#include <fstream>
#include <iostream>
#include <sstream>

#include "Commandes.h"
#include "Contrat.h"
#include "Tableau.h"

namespace Commandes {

using namespace Options;

CLI::App* AjouteTable(CLI::App& app, Saisie& s) {
    CLI::App* table = app.add_subcommand("table", "Table de positions sur une suite d'instants");
    OptionsCommunes(table, s);
    table->add_option("--start", s.debut, "Premier instant, ISO 8601 (obligatoire)")
        ->type_name("INSTANT");
    table
        ->add_option(
            "--step", s.pas,
            "Pas, entier " + Cli::TextePlage(0, static_cast<double>(Contrat::PasMax), "") + " (1)")
        ->type_name("N");
    table->add_option("--unit", s.unite, "Unité du pas : s, min, h ou d (s)")->type_name("UNITÉ");
    table
        ->add_option("--count", s.nombre,
                     "Nombre de lignes, " +
                         Cli::TextePlage(0, static_cast<double>(Contrat::LignesMax), "") +
                         " (1 ; 0 en donne une)")
        ->type_name("N");
    table->add_flag("--zenith", s.zenith,
                    "Distance zénithale au lieu de la hauteur (format texte)");
    OptionsRefraction(table, s);
    OptionsSurfaces(table, s);
    OptionTaches(table, s, "");
    return table;
}

int Table(const Saisie& s) {
    const Cli::Reglages r = LitReglages(s, false);
    const int taches = Taches(s);
    Obligatoire(s.debut, "--start");
    const double t0 = Cli::LitInstant(s.debut, "--start");
    VerifieDate(s, t0, s.debut, "--start");
    const long long n = Cli::LitEntier(s.nombre, "--count", 0, Contrat::LignesMax);
    const long long p = Cli::LitEntier(s.pas, "--step", 0, Contrat::PasMax);
    if (s.unite != "s" && s.unite != "min" && s.unite != "h" && s.unite != "d")
        throw Cli::ErreurUsage{"valeur incorrecte pour --unit : « " + Cli::Extrait(s.unite) +
                               " » (s, min, h ou d)"};
    const Tableau::Unite u = s.unite == "s"     ? Tableau::Unite::Secondes
                             : s.unite == "min" ? Tableau::Unite::Minutes
                             : s.unite == "h"   ? Tableau::Unite::Heures
                                                : Tableau::Unite::Jours;
    const double pasJours = Tableau::PasEnJours(static_cast<double>(p), u);
    // The whole table within the dates, or refused before its first row.
    const long long derniere = Tableau::LignesDemandees(n) - 1;
    const Tableau::Instant fin = Tableau::InstantSerie(t0, pasJours, derniere);
    if (!s.force && !Contrat::DansLesDates(fin.t))
        throw Cli::ErreurUsage{"la table dépasse " + Contrat::TexteDernierInstant() +
                               " à sa ligne " + std::to_string(derniere + 1) +
                               " (--force pour l'accepter)"};
    Cli::EcritTable(std::cout, r, t0, pasJours, n, taches, Cli::Serie{s.debut, s.unite, p, n});
    return Fin();
}

}  // namespace Commandes
