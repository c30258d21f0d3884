// orvanel-cli position: the Sun at an instant, or at each row of a CSV input.
#include <date/tz.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <chrono>

#include "Commandes.h"
#include "Contrat.h"

namespace Commandes {

using namespace Options;

CLI::App* AjoutePosition(CLI::App& app, Saisie& s) {
    CLI::App* position = app.add_subcommand("position", "Position du Soleil à un instant");
    OptionsCommunes(position, s);
    auto* optionDate =
        position->add_option("--date", s.date, "Instant ISO 8601 (maintenant par défaut)")
            ->type_name("INSTANT");
    position
        ->add_option("--input", s.entree,
                     "Fichier CSV d'en-tête date,lon,lat[,height] (- : entrée standard), "
                     "une position par ligne")
        ->type_name("FICHIER")
        ->excludes(optionDate);
    OptionsRefraction(position, s);
    OptionsSurfaces(position, s);
    OptionTaches(position, s, " de --input");
    return position;
}

int Position(const Saisie& s) {
    if (!s.entree.empty()) {
        const Cli::Reglages r = LitReglages(s, true);
        const int taches = Taches(s);
        std::ifstream fichier;
        if (s.entree != "-") {
            fichier.open(s.entree, std::ios::binary);
            if (!fichier)
                throw Cli::ErreurUsage{"fichier illisible pour --input : « " + s.entree + " »"};
        }
        try {
            Cli::EcritLot(std::cout, s.entree == "-" ? std::cin : fichier, r, taches, s.force);
        } catch (const Cli::ErreurDonnees& e) {
            std::cout.flush();
            std::cerr << "orvanel-cli : " << e.message << '\n';
            return 3;
        }
        return Fin();
    }
    const Cli::Reglages r = LitReglages(s, false);
    Taches(s);
    double instant = 0;
    if (s.date.empty()) {
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        instant = Cli::LitInstant(
            date::format("%FT%TZ", date::sys_time<std::chrono::milliseconds>(ms)), "--date");
    } else {
        instant = Cli::LitInstant(s.date, "--date");
    }
    VerifieDate(s, instant, s.date, "--date");
    std::ostringstream tampon;
    Cli::EcritPosition(tampon, r, instant);
    return EcritTout(tampon.str());
}

}  // namespace Commandes
