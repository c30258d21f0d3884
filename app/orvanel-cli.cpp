// orvanel-cli: the Sun's position, tables and day's events for scripts. Data on standard
// output, messages on standard error; status 0, or 2 for a usage error with nothing written.
#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <iostream>
#include <fstream>
#include <sstream>
#include <thread>

#include "Cli.h"
#include "Contrat.h"
#include "Tableau.h"

#ifndef ORVANEL_VERSION
#define ORVANEL_VERSION "?"
#endif

namespace {

int Usage(const std::string& message) {
    std::cerr << "orvanel-cli : " << message << "\nVoir « orvanel-cli --help ».\n";
    return 2;
}

// The value given on the command line for an option, for the messages.
std::string ValeurDonnee(int argc, char** argv, const std::string& option) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == option && i + 1 < argc) return argv[i + 1];
        if (a.rfind(option + "=", 0) == 0) return a.substr(option.size() + 1);
    }
    return {};
}

// CLI11's errors in French.
std::string Traduit(const CLI::ParseError& e, int argc, char** argv) {
    const std::string quoi = e.what();
    const auto debut = quoi.find("--");
    const std::string option = debut == std::string::npos
                                   ? std::string()
                                   : quoi.substr(debut, quoi.find_first_of(" :=,", debut) - debut);
    if (dynamic_cast<const CLI::ExtrasError*>(&e))
        return "argument inattendu : " + quoi.substr(quoi.rfind(": ") + 2);
    if (dynamic_cast<const CLI::RequiredError*>(&e)) {
        if (option.empty()) return "une commande est attendue : position, table, jour ou annee";
        return "option obligatoire absente : " + option;
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&e)) {
        // "--a excludes --b": both names.
        const auto seconde = quoi.find("--", debut + 2);
        return "options incompatibles : " + option + " et " +
               (seconde == std::string::npos
                    ? std::string("une autre")
                    : quoi.substr(seconde, quoi.find_first_of(" :=,", seconde) - seconde));
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) return "valeur absente pour " + option;
    if (dynamic_cast<const CLI::ValidationError*>(&e) ||
        dynamic_cast<const CLI::ConversionError*>(&e))
        return "valeur incorrecte pour " + option + " : « " + ValeurDonnee(argc, argv, option) +
               " »";
    return "arguments incorrects : " + quoi;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    using Cli::TextePlage;
    const std::string dates =
        "de " + Contrat::TextePremierInstant() + " à " + Contrat::TexteDernierInstant();
    CLI::App app{
        "Position apparente du Soleil (VSOP87D complète), tables et journée solaire.\n"
        "\n"
        "Unités : angles en degrés (longitude Est positive " +
            TextePlage(Contrat::Longitude, "") + ", latitude Nord positive\n" +
            TextePlage(Contrat::Latitude, "") +
            ", en degrés décimaux ou 002°01'49\"), azimut compté depuis le nord vers l'est\n"
            "(depuis le sud avec --south-ref), distance en ua, équation du temps en minutes, "
            "hauteur\n"
            "du lieu en mètres, TT - UTC et UT1 - UTC en secondes. Dates ISO 8601 en UTC\n"
            "(2026-12-08T12:00:00Z) ou avec un décalage (…+01:00),\n" +
            dates +
            " sauf avec --force.\n"
            "\n"
            "Journée solaire (jour) : de minuit moyen local à minuit moyen local ; lever et "
            "coucher\n"
            "quand le centre du Soleil (topocentrique, sans réfraction) passe à -0°50' ; "
            "crépuscules\n"
            "civil, nautique et astronomique à -6°, -12° et -18° ; passage au méridien et passage\n"
            "inférieur quand l'angle horaire du centre vaut 0 h et 12 h. Année (annee) : les\n"
            "événements de chaque date d'une année au lieu, une ligne par date.\n"
            "\n"
            "Ciel du lieu (jour, annee), hauteurs du centre topocentrique sans réfraction :\n"
            "  --eye-height H  l'œil à H mètres au-dessus d'une mer ou d'une plaine : lever et\n"
            "                  coucher à -50' - 1,76'·√H ; les crépuscules gardent -6°, -12°, "
            "-18°.\n"
            "  --threshold DEG passages du centre à cette hauteur, à la montée et à la descente\n"
            "                  (+6 et -4 bornent d'ordinaire l'heure dorée et l'heure bleue).\n"
            "  --horizon F     ligne d'horizon, CSV d'en-tête azimuth,altitude (degrés, azimut "
            "depuis\n"
            "                  le nord vers l'est, hauteur apparente " +
            TextePlage(Contrat::HauteurHorizon, "") +
            ", deux points au\n"
            "                  moins, linéaire en azimut sur tout le tour) : lever et coucher "
            "quand le\n"
            "                  bord supérieur réfracté touche l'horizon, le centre passant à\n"
            "                  p(A) - 16' - R(p(A)), A l'azimut du Soleil, p l'horizon,\n"
            "                  R(a) = 34'·cot(a + 7,31/(a + 4,4)) / cot(7,31/4,4) ; chaque "
            "passage\n"
            "                  est donné, le Soleil pouvant se coucher et se lever plusieurs "
            "fois.\n"
            "                  Exclut --eye-height.\n"
            "\n"
            "TT - UTC vient par défaut de la table des secondes intercalaires (TAI - UTC + 32,184 "
            "s)\n"
            "de 1972 à " +
            Contrat::TexteFinTable() +
            ", au-delà et avant du modèle de ΔT d'Espenak et Meeus (2006),\n"
            "raccordé sans saut ; les fenêtres d'Orvanel gardent leur propre réglage (menu ET & "
            "UT).\n"
            "\n"
            "Code de retour : 0 succès, 2 erreur d'utilisation (rien sur la sortie standard),\n"
            "3 ligne incorrecte de --input (les lignes précédentes sont écrites entières).",
        "orvanel-cli"};
    app.get_formatter()->label("Usage", "Utilisation");
    app.get_formatter()->label("OPTIONS", "OPTIONS");
    app.get_formatter()->label("SUBCOMMAND", "COMMANDE");
    app.get_formatter()->label("SUBCOMMANDS", "COMMANDES");
    app.get_formatter()->label("Options", "Options");
    app.get_formatter()->label("Subcommands", "Commandes");
    app.get_formatter()->label("REQUIRED", "OBLIGATOIRE");
    app.get_formatter()->label("TEXT", "TEXTE");
    app.get_formatter()->label("Excludes", "Exclut");
    app.get_formatter()->label("Needs", "Requiert");
    app.get_formatter()->column_width(34);
    app.set_help_flag("-h,--help", "Affiche cette aide et quitte");
    app.set_version_flag("--version", std::string("orvanel-cli ") + ORVANEL_VERSION,
                         "Affiche la version et quitte");
    app.require_subcommand(1);
    app.fallthrough();

    // Every value is read as text and checked here, so that each refusal names its option and
    // its range in the same words.
    std::string lon, lat,
        hauteurSite = "0", format = "texte", fuseau, taiUtc, ttUtc, dut1 = "0", date, entree,
        temperature = "10", pression = "760", debut, pas = "1", unite = "s", nombre = "1", oeil,
        horizon, anneeTexte,
        taches = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::string> seuils;
    bool refraction = false, zenith = false, sud = false, force = false;

    const auto communes = [&](CLI::App* c) {
        c->set_help_flag("-h,--help", "Affiche l'aide de la commande et quitte");
        c->add_option(
             "--lon", lon,
             "Longitude du lieu, Est positive, " + TextePlage(Contrat::Longitude, "degrés"))
            ->type_name("DEG");
        c->add_option("--lat", lat,
                      "Latitude géodésique du lieu, Nord positive, " +
                          TextePlage(Contrat::Latitude, "degrés"))
            ->type_name("DEG");
        c->add_option(
             "--height", hauteurSite,
             "Hauteur au-dessus de l'ellipsoïde, " + TextePlage(Contrat::HauteurSite, "m") + " (0)")
            ->type_name("M");
        c->add_option("--format", format, "texte, csv ou json (texte)")->type_name("FORMAT");
        c->add_option("--tz", fuseau, "Fuseau pour l'heure légale, par exemple Europe/Paris")
            ->type_name("ZONE");
        auto* tai = c->add_option("--tai-utc", taiUtc,
                                  "TAI - UTC imposé, secondes entières " +
                                      TextePlage(Contrat::TaiMoinsUtcImpose, ""))
                        ->type_name("N");
        c->add_option("--tt-utc", ttUtc, "TT - UTC imposé, " + TextePlage(Contrat::TEmoinsTU, "s"))
            ->type_name("S")
            ->excludes(tai);
        c->add_option("--dut1", dut1, "UT1 - UTC, " + TextePlage(Contrat::Dut1, "s") + " (0)")
            ->type_name("S");
        c->add_flag("--force", force, "Accepte une date hors " + dates);
    };
    const auto refractionOptions = [&](CLI::App* c) {
        c->add_flag("--refraction", refraction, "Ajoute la hauteur corrigée de la réfraction");
        c->add_option("--temp", temperature,
                      "Température de l'air, " + TextePlage(Contrat::Temperature, "°C") + " (10)")
            ->type_name("C");
        c->add_option("--pressure", pression,
                      "Pression de l'air, " + TextePlage(Contrat::PressionMmHg, "mmHg") + " (760)")
            ->type_name("MMHG");
        c->add_flag("--south-ref", sud, "Azimut compté depuis le sud (colonne azimut_sud_deg)");
    };
    CLI::App* position = app.add_subcommand("position", "Position du Soleil à un instant");
    communes(position);
    auto* optionDate =
        position->add_option("--date", date, "Instant ISO 8601 (maintenant par défaut)")
            ->type_name("INSTANT");
    position
        ->add_option("--input", entree,
                     "Fichier CSV d'en-tête date,lon,lat[,height] (- : entrée standard), "
                     "une position par ligne")
        ->type_name("FICHIER")
        ->excludes(optionDate);
    refractionOptions(position);
    position
        ->add_option("--jobs", taches,
                     "Fils de calcul de --input, " + TextePlage(1, Contrat::TachesMax, "") +
                         " (tous les cœurs)")
        ->type_name("N");

    CLI::App* table = app.add_subcommand("table", "Table de positions sur une suite d'instants");
    communes(table);
    table->add_option("--start", debut, "Premier instant, ISO 8601 (obligatoire)")
        ->type_name("INSTANT");
    table->add_option("--step", pas, "Pas, entier " + TextePlage(0, Contrat::PasMax, "") + " (1)")
        ->type_name("N");
    table->add_option("--unit", unite, "Unité du pas : s, min, h ou d (s)")->type_name("UNITÉ");
    table
        ->add_option(
            "--count", nombre,
            "Nombre de lignes, " + TextePlage(0, Contrat::LignesMax, "") + " (1 ; 0 en donne une)")
        ->type_name("N");
    table->add_flag("--zenith", zenith, "Distance zénithale au lieu de la hauteur (format texte)");
    refractionOptions(table);
    table
        ->add_option(
            "--jobs", taches,
            "Fils de calcul, " + TextePlage(1, Contrat::TachesMax, "") + " (tous les cœurs)")
        ->type_name("N");

    const auto cielOptions = [&](CLI::App* c) {
        auto* o = c->add_option("--eye-height", oeil,
                                "Œil à M mètres au-dessus d'une mer ou d'une plaine, " +
                                    TextePlage(Contrat::HauteurOeil, ""))
                      ->type_name("M");
        c->add_option("--threshold", seuils,
                      "Hauteur du centre " + TextePlage(Contrat::HauteurSoleil, "degrés") +
                          " dont donner les passages (répétable)")
            ->type_name("DEG");
        c->add_option("--horizon", horizon, "Ligne d'horizon, CSV d'en-tête azimuth,altitude")
            ->type_name("FICHIER")
            ->excludes(o);
    };
    CLI::App* jour = app.add_subcommand("jour", "Événements de la journée solaire");
    communes(jour);
    jour->add_option("--date", date,
                     "Jour ISO 8601 (aujourd'hui par défaut) ; avec un décalage, ce jour-là")
        ->type_name("DATE");
    cielOptions(jour);

    CLI::App* annee = app.add_subcommand("annee", "Événements de chaque date d'une année");
    communes(annee);
    annee
        ->add_option("--year", anneeTexte,
                     "Année, " + TextePlage(Contrat::PremiereAnnee, Contrat::DerniereAnnee, "") +
                         " (obligatoire)")
        ->type_name("A");
    cielOptions(annee);
    for (CLI::App* commande : {position, table, jour, annee}) commande->group("Commandes");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        return Usage(Traduit(e, argc, argv));
    }

    Cli::Reglages r;
    r.version = ORVANEL_VERSION;
    const bool lot = position->parsed() && !entree.empty();
    try {
        const auto obligatoire = [](const std::string& valeur, const char* option) {
            if (valeur.empty())
                throw Cli::ErreurUsage{std::string("option obligatoire absente : ") + option};
        };
        if (lot) {
            if (!lon.empty() || !lat.empty())
                throw Cli::ErreurUsage{
                    "options incompatibles : --input et --lon ou --lat (le lieu "
                    "vient de chaque ligne)"};
        } else {
            obligatoire(lon, "--lon");
            obligatoire(lat, "--lat");
            r.site.Longitude =
                Cli::LitAngle(lon, "--lon", Contrat::Longitude.min, Contrat::Longitude.max);
            r.site.Latitude =
                Cli::LitAngle(lat, "--lat", Contrat::Latitude.min, Contrat::Latitude.max);
            r.site.Altitude = Cli::LitNombre(hauteurSite, "--height", Contrat::HauteurSite, "m");
        }
        if (format != "texte" && format != "csv" && format != "json")
            throw Cli::ErreurUsage{"valeur incorrecte pour --format : « " + format +
                                   " » (texte, csv ou json)"};
        r.format = format == "csv"    ? Cli::Format::Csv
                   : format == "json" ? Cli::Format::Json
                                      : Cli::Format::Texte;
        if (!fuseau.empty()) {
            try {
                date::locate_zone(fuseau);
            } catch (const std::exception&) {
                throw Cli::ErreurUsage{"fuseau horaire inconnu pour --tz : « " + fuseau +
                                       " » (nom de la base des fuseaux, par exemple Europe/Paris)"};
            }
            r.fuseau = fuseau;
        }
        if (!taiUtc.empty())
            r.ttImpose = Contrat::TtUtc{
                Tableau::TEmoinsTU(static_cast<int>(Cli::LitEntier(
                    taiUtc, "--tai-utc", static_cast<long long>(Contrat::TaiMoinsUtcImpose.min),
                    static_cast<long long>(Contrat::TaiMoinsUtcImpose.max)))),
                Contrat::SourceTt::TaiUtc};
        if (!ttUtc.empty())
            r.ttImpose = Contrat::TtUtc{Cli::LitNombre(ttUtc, "--tt-utc", Contrat::TEmoinsTU, "s"),
                                        Contrat::SourceTt::TtUtc};
        r.dut1 = Cli::LitNombre(dut1, "--dut1", Contrat::Dut1, "s");
        r.refraction = refraction;
        r.temperature = Cli::LitNombre(temperature, "--temp", Contrat::Temperature, "°C");
        r.pressionMmHg = Cli::LitNombre(pression, "--pressure", Contrat::PressionMmHg, "mmHg");
        r.zenith = zenith;
        r.sud = sud;
        const int fils = static_cast<int>(Cli::LitEntier(taches, "--jobs", 1, Contrat::TachesMax));
        if (!oeil.empty())
            r.ciel.hauteurOeil = Cli::LitNombre(oeil, "--eye-height", Contrat::HauteurOeil, "m");
        for (const std::string& s : seuils) {
            const double h = Cli::LitNombre(s, "--threshold", Contrat::HauteurSoleil, "degrés");
            if (std::find(r.ciel.hauteurs.begin(), r.ciel.hauteurs.end(), h) !=
                r.ciel.hauteurs.end())
                throw Cli::ErreurUsage{"hauteur donnée deux fois pour --threshold : « " + s + " »"};
            r.ciel.hauteurs.push_back(h);
        }
        if (!horizon.empty()) {
            std::ifstream fichier(horizon, std::ios::binary);
            if (!fichier)
                throw Cli::ErreurUsage{"fichier illisible pour --horizon : « " + horizon + " »"};
            r.ciel.horizon = Cli::LitHorizon(fichier, horizon);
            r.horizon = horizon;
        }
        if (const char* point = std::localeconv()->decimal_point; point && *point)
            r.separateur = point;

        const auto verifieDate = [&](double t, const std::string& texte, const char* option) {
            if (!force && !Contrat::DansLesDates(t))
                throw Cli::ErreurUsage{"date hors de " + Contrat::TextePremierInstant() + ".." +
                                       Contrat::TexteDernierInstant() + " pour " + option +
                                       " : « " + texte + " » (--force pour l'accepter)"};
        };
        const auto maintenant = [] {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            return Cli::LitInstant(
                date::format("%FT%TZ", date::sys_time<std::chrono::milliseconds>(ms)), "--date");
        };
        std::ostringstream tampon;  // position and jour are small: written whole or not at all
        if (lot) {
            std::ios::sync_with_stdio(false);
            std::ifstream fichier;
            if (entree != "-") {
                fichier.open(entree, std::ios::binary);
                if (!fichier)
                    throw Cli::ErreurUsage{"fichier illisible pour --input : « " + entree + " »"};
            }
            try {
                Cli::EcritLot(std::cout, entree == "-" ? std::cin : fichier, r, fils, force);
            } catch (const Cli::ErreurDonnees& e) {
                std::cout.flush();
                std::cerr << "orvanel-cli : " << e.message << '\n';
                return 3;
            }
            std::cout.flush();
            return std::cout ? 0 : 1;
        }
        if (position->parsed()) {
            const double instant = date.empty() ? maintenant() : Cli::LitInstant(date, "--date");
            verifieDate(instant, date, "--date");
            Cli::EcritPosition(tampon, r, instant);
        } else if (jour->parsed()) {
            int a = 0, m = 0, j = 0;
            if (date.empty()) {
                // Today where the legal time is asked for, else in UTC.
                const auto ms =
                    std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
                const std::string aujourdhui =
                    fuseau.empty() ? date::format("%F", ms)
                                   : date::format("%F", date::make_zoned(fuseau, ms));
                const auto d = Cli::AnalyseInstant(aujourdhui);
                a = d->annee, m = d->mois, j = d->jour;
            } else {
                const auto d = Cli::AnalyseInstant(date);
                if (!d) Cli::LitInstant(date, "--date");  // its message
                a = d->annee, m = d->mois, j = d->jour;
            }
            // The calendar day as written, whatever the offset's UTC date.
            verifieDate(PosSoleil::EncodeDateValeur(a, m, j, 0, 0, 0), date, "--date");
            Cli::EcritJour(tampon, r, a, m, j);
        } else if (annee->parsed()) {
            obligatoire(anneeTexte, "--year");
            const int y = static_cast<int>(
                force ? Cli::LitEntier(anneeTexte, "--year", Contrat::AnneeForceeMin,
                                       Contrat::AnneeForceeMax)
                      : Cli::LitEntier(anneeTexte, "--year", Contrat::PremiereAnnee,
                                       Contrat::DerniereAnnee));
            Cli::EcritAnnee(tampon, r, y);
        } else {
            obligatoire(debut, "--start");
            const double t0 = Cli::LitInstant(debut, "--start");
            verifieDate(t0, debut, "--start");
            const long long n = Cli::LitEntier(nombre, "--count", 0, Contrat::LignesMax);
            const long long p = Cli::LitEntier(pas, "--step", 0, Contrat::PasMax);
            if (unite != "s" && unite != "min" && unite != "h" && unite != "d")
                throw Cli::ErreurUsage{"valeur incorrecte pour --unit : « " + unite +
                                       " » (s, min, h ou d)"};
            const Tableau::Unite u = unite == "s"     ? Tableau::Unite::Secondes
                                     : unite == "min" ? Tableau::Unite::Minutes
                                     : unite == "h"   ? Tableau::Unite::Heures
                                                      : Tableau::Unite::Jours;
            const double pasJours = Tableau::PasEnJours(static_cast<double>(p), u);
            // The whole table within the dates, or refused before its first row.
            const long long derniere = Tableau::LignesDemandees(n) - 1;
            const Tableau::Instant fin = Tableau::InstantSerie(t0, pasJours, derniere);
            if (!force && !Contrat::DansLesDates(fin.t))
                throw Cli::ErreurUsage{"la table dépasse " + Contrat::TexteDernierInstant() +
                                       " à sa ligne " + std::to_string(derniere + 1) +
                                       " (--force pour l'accepter)"};
            std::ios::sync_with_stdio(false);
            Cli::EcritTable(std::cout, r, t0, pasJours, n, fils, Cli::Serie{debut, unite, p, n});
            std::cout.flush();
            return std::cout ? 0 : 1;
        }
        std::cout << tampon.str();
        std::cout.flush();
        return std::cout ? 0 : 1;
    } catch (const Cli::ErreurUsage& e) {
        return Usage(e.message);
    }
}
