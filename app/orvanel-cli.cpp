// orvanel-cli: the Sun's position, tables and day's events for scripts. Data on standard
// output, messages on standard error; status 0, or 2 for a usage error with nothing written.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <clocale>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <utility>

#include "Cli.h"
#include "Commandes.h"
#include "Contrat.h"
#include "Options.h"

#ifndef ORVANEL_VERSION
#define ORVANEL_VERSION "?"
#endif

namespace {

// What the program computes and its definitions, after the usage and the commands in --help.
std::string Description() {
    using Cli::TextePlage;
    // clang-format off
    return
        "Position apparente du Soleil (VSOP87D complète), tables et journée solaire.\n"
        "\n"
        "Unités : angles en degrés (longitude Est positive " + TextePlage(Contrat::Longitude, "") +
        ", latitude Nord positive\n" + TextePlage(Contrat::Latitude, "") +
        ", en degrés décimaux ou 002°01'49\"), azimut compté depuis le nord vers l'est\n"
        "(depuis le sud avec --south-ref), distance en ua, équation du temps en minutes, hauteur\n"
        "du lieu en mètres, TT - UTC et UT1 - UTC en secondes. Dates ISO 8601 en UTC\n"
        "(2026-12-08T12:00:00Z) ou avec un décalage (…+01:00),\n"
        "de " + Contrat::TextePremierInstant() + " à " + Contrat::TexteDernierInstant() +
        " sauf avec --force.\n"
        "\n"
        "Journée solaire (jour) : de minuit moyen local à minuit moyen local ; lever et coucher\n"
        "quand le centre du Soleil (topocentrique, sans réfraction) passe à -0°50' ; crépuscules\n"
        "civil, nautique et astronomique à -6°, -12° et -18° ; passage au méridien et passage\n"
        "inférieur quand l'angle horaire du centre vaut 0 h et 12 h. Année (annee) : les\n"
        "événements de chaque date d'une année au lieu, une ligne par date.\n"
        "\n"
        "Ciel du lieu (jour, annee), hauteurs du centre topocentrique sans réfraction :\n"
        "  --eye-height H  l'œil à H mètres au-dessus d'une mer ou d'une plaine : lever et\n"
        "                  coucher à -50' - 1,76'·√H ; les crépuscules gardent -6°, -12°, -18°.\n"
        "  --threshold DEG passages du centre à cette hauteur, à la montée et à la descente\n"
        "                  (+6 et -4 bornent d'ordinaire l'heure dorée et l'heure bleue).\n"
        "  --horizon F     ligne d'horizon, CSV d'en-tête azimuth,altitude (degrés, azimut depuis\n"
        "                  le nord vers l'est, hauteur apparente " +
        TextePlage(Contrat::HauteurHorizon, "") + ", deux points au\n"
        "                  moins, linéaire en azimut sur tout le tour) : lever et coucher quand le\n"
        "                  bord supérieur réfracté touche l'horizon, le centre passant à\n"
        "                  p(A) - 16' - R(p(A)), A l'azimut du Soleil, p l'horizon,\n"
        "                  R(a) = 34'·cot(a + 7,31/(a + 4,4)) / cot(7,31/4,4) ; chaque passage\n"
        "                  est donné, le Soleil pouvant se coucher et se lever plusieurs fois.\n"
        "                  Exclut --eye-height.\n"
        "\n"
        "TT - UTC vient par défaut de la table des secondes intercalaires (TAI - UTC + 32,184 s)\n"
        "de 1972 à " + Contrat::TexteFinTable() +
        ", au-delà et avant du modèle de ΔT d'Espenak et Meeus (2006),\n"
        "raccordé sans saut ; les fenêtres d'Orvanel gardent leur propre réglage (menu ET & UT).\n"
        "\n"
        "Code de retour : 0 succès, 2 erreur d'utilisation (rien sur la sortie standard),\n"
        "3 ligne incorrecte de --input (les lignes précédentes sont écrites entières),\n"
        "4 sortie standard impossible à écrire (dans un fichier, rien après la dernière ligne\n"
        "entière).";
    // clang-format on
}

}  // namespace

// The command line read and run: its status, standard output not yet flushed.
int Execute(int argc, char** argv) {
    // The usage line and the commands first; the definitions follow them.
    CLI::App app{"", "orvanel-cli"};
    app.footer(Description());
    for (const auto& [anglais, francais] : {std::pair{"Usage", "Utilisation"},
                                            {"OPTIONS", "OPTIONS"},
                                            {"SUBCOMMAND", "COMMANDE"},
                                            {"SUBCOMMANDS", "COMMANDES"},
                                            {"Options", "Options"},
                                            {"Subcommands", "Commandes"},
                                            {"REQUIRED", "OBLIGATOIRE"},
                                            {"TEXT", "TEXTE"},
                                            {"Excludes", "Exclut"},
                                            {"Needs", "Requiert"}})
        app.get_formatter()->label(anglais, francais);
    app.get_formatter()->column_width(34);
    app.set_help_flag("-h,--help", "Affiche cette aide et quitte");
    app.set_version_flag("--version", std::string("orvanel-cli ") + ORVANEL_VERSION,
                         "Affiche la version et quitte");
    app.require_subcommand(1);
    app.fallthrough();

    Options::Saisie s;
    CLI::App* position = Commandes::AjoutePosition(app, s);
    CLI::App* table = Commandes::AjouteTable(app, s);
    CLI::App* jour = Commandes::AjouteJour(app, s);
    CLI::App* annee = Commandes::AjouteAnnee(app, s);
    CLI::App* cadran = Commandes::AjouteCadran(app, s);
    for (CLI::App* commande : {position, table, jour, annee, cadran}) commande->group("Commandes");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        return Options::Usage(Options::Traduit(e, argc, argv));
    }
    try {
        if (position->parsed()) return Commandes::Position(s);
        if (table->parsed()) return Commandes::Table(s);
        if (jour->parsed()) return Commandes::Jour(s);
        if (cadran->parsed()) return Commandes::Cadran(s);
        return Commandes::Annee(s);
    } catch (const Cli::ErreurUsage& e) {
        return Options::Usage(e.message);
    }
}

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // A file over its size limit is a write error to report, not a reason to die.
    std::signal(SIGXFSZ, SIG_IGN);
    Cli::SortieEntiere sortie(STDOUT_FILENO);
    std::streambuf* const ancienne = std::cout.rdbuf(&sortie);
    int statut = Execute(argc, argv);
    std::cout.flush();
    std::cout.rdbuf(ancienne);
    if (sortie.Erreur() != 0) {
        std::cerr << "orvanel-cli : écriture impossible sur la sortie standard : "
                  << std::strerror(sortie.Erreur()) << "\n";
        statut = 4;
    }
    return statut;
}
