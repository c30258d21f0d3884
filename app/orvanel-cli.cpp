// orvanel-cli: the Sun's position, tables and day's events for scripts. Data on standard
// output, messages on standard error; status 0, or 2 for a usage error with nothing written.
#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <iostream>
#include <sstream>
#include <thread>

#include "Cli.h"
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
        if (option.empty()) return "une commande est attendue : position, table ou jour";
        return "option obligatoire absente : " + option;
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&e))
        return "options incompatibles : --tai-utc et --tt-utc";
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
    CLI::App app{
        "Position apparente du Soleil (VSOP87D complète), tables et journée solaire.\n"
        "Longitude Est positive, latitude Nord positive, en degrés décimaux ou 002°01'49\".\n"
        "Dates ISO 8601 en UTC (2026-12-08T12:00:00Z) ou avec un décalage (…+01:00).\n"
        "TT - UTC vient par défaut de la table des secondes intercalaires (TAI - UTC + 32,184 s) "
        ";\n"
        "les fenêtres d'Orvanel gardent leur propre réglage (menu ET & UT).",
        "orvanel-cli"};
    app.get_formatter()->label("Usage", "Utilisation");
    app.get_formatter()->label("OPTIONS", "OPTIONS");
    app.get_formatter()->label("SUBCOMMAND", "COMMANDE");
    app.get_formatter()->label("SUBCOMMANDS", "COMMANDES");
    app.get_formatter()->label("Options", "Options");
    app.get_formatter()->label("Subcommands", "Commandes");
    app.get_formatter()->label("REQUIRED", "OBLIGATOIRE");
    app.get_formatter()->label("TEXT", "TEXTE");
    app.get_formatter()->label("INT", "ENTIER");
    app.get_formatter()->label("FLOAT", "NOMBRE");
    app.get_formatter()->label("Excludes", "Exclut");
    app.get_formatter()->label("Needs", "Requiert");
    app.set_help_flag("-h,--help", "Affiche cette aide et quitte");
    app.set_version_flag("--version", std::string("orvanel-cli ") + ORVANEL_VERSION,
                         "Affiche la version et quitte");
    app.require_subcommand(1);
    app.fallthrough();

    std::string lon, lat, date, debut, format = "texte", fuseau, unite = "s";
    double hauteurSite = 0, temperature = 10, pression = 760, dut1 = 0, ttUtc = 0;
    int taiUtc = 0, taches = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    long long pas = 1, nombre = 1;
    bool refraction = false, zenith = false, sud = false, force = false;

    const auto communes = [&](CLI::App* c, bool avecDate) {
        c->set_help_flag("-h,--help", "Affiche l'aide de la commande et quitte");
        c->add_option("--lon", lon, "Longitude du lieu, Est positive")->required();
        c->add_option("--lat", lat, "Latitude géodésique du lieu, Nord positive")->required();
        c->add_option("--height", hauteurSite, "Hauteur au-dessus de l'ellipsoïde, mètres (0)");
        c->add_option("--format", format, "texte, csv ou json (texte)")
            ->type_name("FORMAT")
            ->check(CLI::IsMember({"texte", "csv", "json"}).description(""));
        c->add_option("--tz", fuseau, "Fuseau pour l'heure légale, par exemple Europe/Paris");
        auto* tai =
            c->add_option("--tai-utc", taiUtc, "TAI - UTC en secondes entières (sinon la table)");
        c->add_option("--tt-utc", ttUtc, "TT - UTC en secondes (sinon la table)")->excludes(tai);
        c->add_option("--dut1", dut1, "UT1 - UTC en secondes, |S| <= 0,9 (0)")
            ->type_name("S")
            ->check(CLI::Range(-0.9, 0.9).description(""));
        c->add_flag("--force", force, "Accepte une date hors de 1980-2250");
        if (avecDate) c->add_option("--date", date, "Instant ISO 8601 (maintenant par défaut)");
    };
    CLI::App* position = app.add_subcommand("position", "Position du Soleil à un instant");
    communes(position, true);
    position->add_flag("--refraction", refraction, "Ajoute la hauteur corrigée de la réfraction");
    position->add_option("--temp", temperature, "Température de l'air, °C (10)");
    position->add_option("--pressure", pression, "Pression, mm de mercure (760)");
    position->add_flag("--south-ref", sud, "Azimut compté depuis le sud");

    CLI::App* table = app.add_subcommand("table", "Table de positions sur une suite d'instants");
    communes(table, false);
    table->add_option("--start", debut, "Premier instant, ISO 8601")->required();
    table->add_option("--step", pas, "Pas, nombre entier de 0 à 9999 (1)")
        ->type_name("ENTIER")
        ->check(CLI::Range(0LL, 9999LL).description(""));
    table->add_option("--unit", unite, "Unité du pas : s, min, h ou d (s)")
        ->type_name("UNITÉ")
        ->check(CLI::IsMember({"s", "min", "h", "d"}).description(""));
    table->add_option("--count", nombre, "Nombre de lignes, entier (1 ; 0 en donne une)")
        ->type_name("ENTIER")
        ->check(CLI::Range(0LL, 100000000LL).description(""));
    table->add_flag("--zenith", zenith, "Distance zénithale au lieu de la hauteur (format texte)");
    table->add_flag("--south-ref", sud, "Azimut compté depuis le sud");
    table->add_option("--jobs", taches, "Fils de calcul (tous les cœurs)")
        ->type_name("ENTIER")
        ->check(CLI::Range(1, 1024).description(""));

    CLI::App* jour = app.add_subcommand("jour", "Événements de la journée solaire");
    communes(jour, true);
    for (CLI::App* commande : {position, table, jour}) commande->group("Commandes");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        return Usage(Traduit(e, argc, argv));
    }

    Cli::Reglages r;
    double instant = 0;
    try {
        r.site = {Cli::LitAngle(lon, "--lon"), Cli::LitAngle(lat, "--lat"), hauteurSite};
        if (std::fabs(r.site.Latitude) > 90) return Usage("latitude hors de -90..90 : " + lat);
        r.format = format == "csv"    ? Cli::Format::Csv
                   : format == "json" ? Cli::Format::Json
                                      : Cli::Format::Texte;
        if (!fuseau.empty()) {
            try {
                date::locate_zone(fuseau);
            } catch (const std::exception&) {
                return Usage("fuseau horaire inconnu : " + fuseau);
            }
            r.fuseau = fuseau;
        }
        r.ttFixe = !app.get_subcommands().front()->get_option("--tai-utc")->empty() ||
                   !app.get_subcommands().front()->get_option("--tt-utc")->empty();
        r.ttMoinsUtc = !app.get_subcommands().front()->get_option("--tai-utc")->empty()
                           ? Tableau::TEmoinsTU(taiUtc)
                           : ttUtc;
        r.dut1 = dut1;
        r.refraction = refraction;
        r.temperature = temperature;
        r.pressionMmHg = pression;
        r.zenith = zenith;
        r.sud = sud;
        if (const char* point = std::localeconv()->decimal_point; point && *point)
            r.separateur = point;

        const auto verifieAnnee = [&](double t, const std::string& texte) {
            if (!force && (t < Tableau::DateMin() || t > Tableau::DateMax()))
                throw Cli::ErreurUsage{"date hors de 1980-2250 (--force pour l'accepter) : " +
                                       texte};
        };
        if (position->parsed() || jour->parsed()) {
            if (date.empty()) {
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::system_clock::now().time_since_epoch());
                instant = Cli::LitInstant(
                    date::format("%FT%TZ", date::sys_time<std::chrono::milliseconds>(ms)),
                    "--date");
            } else {
                instant = Cli::LitInstant(date, "--date");
            }
            verifieAnnee(instant, date);
        }
        std::ostringstream tampon;  // position and jour are small: written whole or not at all
        if (position->parsed()) {
            Cli::EcritPosition(tampon, r, instant);
        } else if (jour->parsed()) {
            int a, m, j, h, mi, s, ms;
            PosSoleil::DecodeDateValeur(instant, a, m, j, h, mi, s, ms);
            Cli::EcritJour(tampon, r, a, m, j);
        } else {
            const double t0 = Cli::LitInstant(debut, "--start");
            verifieAnnee(t0, debut);
            const Tableau::Unite u = unite == "s"     ? Tableau::Unite::Secondes
                                     : unite == "min" ? Tableau::Unite::Minutes
                                     : unite == "h"   ? Tableau::Unite::Heures
                                                      : Tableau::Unite::Jours;
            const double pasJours = Tableau::PasEnJours(static_cast<double>(pas), u);
            std::ios::sync_with_stdio(false);
            Cli::EcritTable(std::cout, r, t0, pasJours, nombre, taches);
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
