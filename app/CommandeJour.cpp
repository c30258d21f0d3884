// orvanel-cli jour: the day's events at a site, in its sky, in UTC or legal time.
#include <date/tz.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <chrono>
#include <optional>

#include "Commandes.h"
#include "Contrat.h"

namespace Commandes {

using namespace Options;

CLI::App* AjouteJour(CLI::App& app, Saisie& s) {
    CLI::App* jour = app.add_subcommand("jour", "Événements de la journée solaire");
    OptionsCommunes(jour, s);
    jour->add_option("--date", s.date,
                     "Jour ISO 8601 (aujourd'hui par défaut) ; avec un décalage, ce jour-là")
        ->type_name("DATE");
    OptionsCiel(jour, s);
    return jour;
}

int Jour(const Saisie& s) {
    const Cli::Reglages r = LitReglages(s, false);
    Taches(s);
    std::optional<Cli::Instant> d;
    if (s.date.empty()) {
        // Today where the legal time is asked for, else in UTC.
        const auto maintenant =
            std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
        const auto ici = s.fuseau.empty()
                             ? maintenant
                             : maintenant + Cli::HeureLegale(s.fuseau).Periode(maintenant).offset;
        d = Cli::AnalyseInstant(date::format("%F", ici));
    } else {
        d = Cli::AnalyseInstant(s.date);
        if (!d) Cli::LitInstant(s.date, "--date");  // its message
    }
    // The calendar day as written, whatever the offset's UTC date.
    VerifieDate(s, PosSoleil::EncodeDateValeur(d->annee, d->mois, d->jour, 0, 0, 0), s.date,
                "--date");
    std::ostringstream tampon;
    Cli::EcritJour(tampon, r, d->annee, d->mois, d->jour);
    return EcritTout(tampon.str());
}

}  // namespace Commandes
