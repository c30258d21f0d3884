// orvanel-cli: the Sun's position, tables and day's events for scripts. Data on standard
// output, messages on standard error; status 0, or 2 for a usage error with nothing written.
#include <CLI/CLI.hpp>
#include <date/tz.h>

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <chrono>
#include <clocale>
#include <cmath>
#include <iostream>
#include <fstream>
#include <sstream>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

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
        return "valeur incorrecte pour " + option + " : « " +
               Cli::Extrait(ValeurDonnee(argc, argv, option)) + " »";
    return "arguments incorrects : " + quoi;
}

// What the command line was given: every value as text, read and checked once it is parsed so
// that each refusal names its option and its range in the same words.
struct Saisie {
    std::string lon, lat,
        altitudeSite = "0", format = "texte", fuseau, taiUtc, ttUtc, dut1 = "0", date, entree,
        temperature = "10", pression = "760", debut, pas = "1", unite = "s", nombre = "1", oeil,
        horizon, annee, taches = std::to_string(std::max(1u, std::thread::hardware_concurrency())),
        plan, suiveur, pente;
    std::vector<std::string> seuils;
    bool refraction = false, zenith = false, sud = false, force = false, energie = false;
};

// The options that take a number within a range: the option, its range and unit, what it is;
// the help and the check both come from this table.
struct OptionNombre {
    const char* option;
    std::string Saisie::*valeur;
    Contrat::Plage plage;
    const char* unite;   // of the help and the messages
    const char* aide;    // before the range
    const char* defaut;  // after it, in parentheses, or nullptr
    const char* nomType;
};
const OptionNombre OptionsNombres[] = {
    {"--height", &Saisie::altitudeSite, Contrat::AltitudeSite, "m",
     "Hauteur au-dessus de l'ellipsoïde,", "0", "M"},
    {"--tt-utc", &Saisie::ttUtc, Contrat::TEmoinsTUImpose, "s", "TT - UTC imposé,", nullptr, "S"},
    {"--dut1", &Saisie::dut1, Contrat::Dut1, "s", "UT1 - UTC,", "0", "S"},
    {"--temp", &Saisie::temperature, Contrat::Temperature, "°C", "Température de l'air,", "10",
     "C"},
    {"--pressure", &Saisie::pression, Contrat::PressionMmHg, "mmHg", "Pression de l'air,", "760",
     "MMHG"},
    {"--eye-height", &Saisie::oeil, Contrat::HauteurOeil, "m",
     "Œil à M mètres au-dessus d'une mer ou d'une plaine,", nullptr, "M"},
};

const OptionNombre& Option(std::string_view nom) {
    for (const OptionNombre& o : OptionsNombres)
        if (nom == o.option) return o;
    throw std::logic_error("option sans plage");
}

CLI::Option* AjouteNombre(CLI::App* c, Saisie& s, std::string_view nom) {
    const OptionNombre& o = Option(nom);
    std::string aide = std::string(o.aide) + " " + Cli::TextePlage(o.plage, o.unite);
    if (o.defaut) aide += std::string(" (") + o.defaut + ")";
    return c->add_option(o.option, s.*o.valeur, aide)->type_name(o.nomType);
}

double LitNombre(const Saisie& s, std::string_view nom) {
    const OptionNombre& o = Option(nom);
    return Cli::LitNombre(s.*o.valeur, o.option, o.plage, o.unite);
}

// The program's description, at the head of --help.
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

// ---- The options of each command ----

void OptionsCommunes(CLI::App* c, Saisie& s) {
    using Cli::TextePlage;
    c->set_help_flag("-h,--help", "Affiche l'aide de la commande et quitte");
    c->add_option("--lon", s.lon,
                  "Longitude du lieu, Est positive, " + TextePlage(Contrat::Longitude, "degrés"))
        ->type_name("DEG");
    c->add_option(
         "--lat", s.lat,
         "Latitude géodésique du lieu, Nord positive, " + TextePlage(Contrat::Latitude, "degrés"))
        ->type_name("DEG");
    AjouteNombre(c, s, "--height");
    c->add_option("--format", s.format, "texte, csv ou json (texte)")->type_name("FORMAT");
    c->add_option("--tz", s.fuseau, "Fuseau pour l'heure légale, par exemple Europe/Paris")
        ->type_name("ZONE");
    auto* tai = c->add_option("--tai-utc", s.taiUtc,
                              "TAI - UTC imposé, secondes entières " +
                                  TextePlage(Contrat::TaiMoinsUtcImpose, ""))
                    ->type_name("N");
    AjouteNombre(c, s, "--tt-utc")->excludes(tai);
    AjouteNombre(c, s, "--dut1");
    c->add_flag("--force", s.force,
                "Accepte une date hors de " + Contrat::TextePremierInstant() + " à " +
                    Contrat::TexteDernierInstant());
}

void OptionsRefraction(CLI::App* c, Saisie& s) {
    c->add_flag("--refraction", s.refraction, "Ajoute la hauteur corrigée de la réfraction");
    AjouteNombre(c, s, "--temp");
    AjouteNombre(c, s, "--pressure");
    c->add_flag("--south-ref", s.sud, "Azimut compté depuis le sud (colonne azimut_sud_deg)");
}

void OptionsSurfaces(CLI::App* c, Saisie& s) {
    c->add_option("--plane", s.plan,
                  "Plan d'inclinaison TILT " + Cli::TextePlage(Contrat::InclinaisonPlan, "degrés") +
                      " et d'azimut AZIMUTH (depuis le nord) : ajoute l'incidence du Soleil "
                      "réfracté")
        ->type_name("TILT,AZIMUTH");
    auto* suiveur =
        c->add_option("--tracker", s.suiveur,
                      "Suiveur à un axe : inclinaison " +
                          Cli::TextePlage(Contrat::InclinaisonAxe, "degrés") +
                          " et azimut de l'axe, rotation maximale " +
                          Cli::TextePlage(Contrat::RotationMax, "degrés") +
                          ", taux de couverture " + Cli::TextePlage(Contrat::TauxCouverture, "") +
                          ", sans retour avec nobacktrack : ajoute la rotation, l'orientation des "
                          "modules et l'incidence")
            ->type_name("AXIS_TILT,AXIS_AZIMUTH,MAX_ANGLE,GCR[,nobacktrack]");
    c->add_option("--cross-slope", s.pente,
                  "Pente du sol en travers des rangées du suiveur, " +
                      Cli::TextePlage(Contrat::PenteTransverse, "degrés") + " (0)")
        ->type_name("DEG")
        ->needs(suiveur);
    c->add_flag("--energy", s.energie,
                "Ajoute la masse d'air (relative et absolue) et l'irradiance hors de "
                "l'atmosphère");
}

void OptionTaches(CLI::App* c, Saisie& s, const char* quoi) {
    c->add_option("--jobs", s.taches,
                  std::string("Fils de calcul") + quoi + ", " +
                      Cli::TextePlage(1, static_cast<double>(Contrat::TachesMax), "") +
                      " (tous les cœurs)")
        ->type_name("N");
}

void OptionsCiel(CLI::App* c, Saisie& s) {
    auto* oeil = AjouteNombre(c, s, "--eye-height");
    c->add_option("--threshold", s.seuils,
                  "Hauteur du centre " + Cli::TextePlage(Contrat::HauteurSoleil, "degrés") +
                      " dont donner les passages (répétable)")
        ->type_name("DEG");
    c->add_option("--horizon", s.horizon, "Ligne d'horizon, CSV d'en-tête azimuth,altitude")
        ->type_name("FICHIER")
        ->excludes(oeil);
}

// ---- Reading what was given ----

void Obligatoire(const std::string& valeur, const char* option) {
    if (valeur.empty())
        throw Cli::ErreurUsage{std::string("option obligatoire absente : ") + option};
}

// The comma-separated fields of an option's value.
std::vector<std::string> Champs(const std::string& texte) {
    std::vector<std::string> champs;
    std::size_t debut = 0;
    for (std::size_t i = 0; i <= texte.size(); ++i)
        if (i == texte.size() || texte[i] == ',') {
            champs.push_back(texte.substr(debut, i - debut));
            debut = i + 1;
        }
    return champs;
}

// An azimuth as the surfaces take it: any number of degrees, taken modulo 360.
double LitAzimut(const std::string& texte, const char* option) {
    return Cli::LitNombre(texte, option, -1e9, 1e9, "degrés");
}

// The plane and the tracker of --plane, --tracker and --cross-slope.
void LitSurfaces(const Saisie& s, Cli::Reglages& r) {
    r.energie = s.energie;
    if (!s.plan.empty()) {
        const std::vector<std::string> c = Champs(s.plan);
        if (c.size() != 2)
            throw Cli::ErreurUsage{"valeur incorrecte pour --plane : « " + Cli::Extrait(s.plan) +
                                   " » (TILT,AZIMUTH)"};
        r.plan = {Cli::LitNombre(c[0], "--plane", Contrat::InclinaisonPlan, "degrés"),
                  LitAzimut(c[1], "--plane")};
    }
    if (!s.suiveur.empty()) {
        std::vector<std::string> c = Champs(s.suiveur);
        const bool sansRetour = c.size() == 5 && c[4] == "nobacktrack";
        if (c.size() != 4 && !sansRetour)
            throw Cli::ErreurUsage{"valeur incorrecte pour --tracker : « " +
                                   Cli::Extrait(s.suiveur) +
                                   " » (AXIS_TILT,AXIS_AZIMUTH,MAX_ANGLE,GCR[,nobacktrack])"};
        PosSoleil::Suiveur suiveur;
        suiveur.axeInclinaison =
            Cli::LitNombre(c[0], "--tracker", Contrat::InclinaisonAxe, "degrés");
        suiveur.axeAzimut = LitAzimut(c[1], "--tracker");
        suiveur.angleMax = Cli::LitNombre(c[2], "--tracker", Contrat::RotationMax, "degrés");
        suiveur.gcr = Cli::LitNombre(c[3], "--tracker", Contrat::TauxCouverture, "");
        suiveur.retour = !sansRetour;
        if (!s.pente.empty())
            suiveur.penteTransverse =
                Cli::LitNombre(s.pente, "--cross-slope", Contrat::PenteTransverse, "degrés");
        r.suiveur = suiveur;
    }
}

// The settings every command shares; the site too unless it comes from each input row.
Cli::Reglages LitReglages(const Saisie& s, bool siteDansLesLignes) {
    Cli::Reglages r;
    r.version = ORVANEL_VERSION;
    if (siteDansLesLignes) {
        if (!s.lon.empty() || !s.lat.empty())
            throw Cli::ErreurUsage{
                "options incompatibles : --input et --lon ou --lat (le lieu vient de chaque "
                "ligne)"};
    } else {
        Obligatoire(s.lon, "--lon");
        Obligatoire(s.lat, "--lat");
        r.site.Longitude =
            Cli::LitAngle(s.lon, "--lon", Contrat::Longitude.min, Contrat::Longitude.max);
        r.site.Latitude =
            Cli::LitAngle(s.lat, "--lat", Contrat::Latitude.min, Contrat::Latitude.max);
        r.site.Altitude = LitNombre(s, "--height");
    }
    if (s.format != "texte" && s.format != "csv" && s.format != "json")
        throw Cli::ErreurUsage{"valeur incorrecte pour --format : « " + Cli::Extrait(s.format) +
                               " » (texte, csv ou json)"};
    r.format = s.format == "csv"    ? Cli::Format::Csv
               : s.format == "json" ? Cli::Format::Json
                                    : Cli::Format::Texte;
    if (!s.fuseau.empty()) {
        try {
            date::locate_zone(s.fuseau);
        } catch (const std::exception&) {
            throw Cli::ErreurUsage{"fuseau horaire inconnu pour --tz : « " +
                                   Cli::Extrait(s.fuseau) +
                                   " » (nom de la base des fuseaux, par exemple Europe/Paris)"};
        }
        r.fuseau = s.fuseau;
    }
    if (!s.taiUtc.empty())
        r.ttImpose = Contrat::ValeurTEmoinsTU{
            Tableau::TEmoinsTU(static_cast<int>(Cli::LitEntier(
                s.taiUtc, "--tai-utc", static_cast<long long>(Contrat::TaiMoinsUtcImpose.min),
                static_cast<long long>(Contrat::TaiMoinsUtcImpose.max)))),
            Contrat::SourceTEmoinsTU::TaiUtc};
    if (!s.ttUtc.empty())
        r.ttImpose =
            Contrat::ValeurTEmoinsTU{LitNombre(s, "--tt-utc"), Contrat::SourceTEmoinsTU::TtUtc};
    r.dut1 = LitNombre(s, "--dut1");
    r.refraction = s.refraction;
    r.temperature = LitNombre(s, "--temp");
    r.pressionMmHg = LitNombre(s, "--pressure");
    r.zenith = s.zenith;
    r.sud = s.sud;
    if (!s.oeil.empty()) r.ciel.hauteurOeil = LitNombre(s, "--eye-height");
    for (const std::string& texte : s.seuils) {
        const double h = Cli::LitNombre(texte, "--threshold", Contrat::HauteurSoleil, "degrés");
        if (std::find(r.ciel.hauteurs.begin(), r.ciel.hauteurs.end(), h) != r.ciel.hauteurs.end())
            throw Cli::ErreurUsage{"hauteur donnée deux fois pour --threshold : « " +
                                   Cli::Extrait(texte) + " »"};
        r.ciel.hauteurs.push_back(h);
    }
    if (!s.horizon.empty()) {
        std::ifstream fichier(s.horizon, std::ios::binary);
        if (!fichier)
            throw Cli::ErreurUsage{"fichier illisible pour --horizon : « " + s.horizon + " »"};
        r.ciel.horizon = Cli::LitHorizon(fichier, s.horizon);
        r.horizon = s.horizon;
    }
    LitSurfaces(s, r);
    if (const char* point = std::localeconv()->decimal_point; point && *point) r.separateur = point;
    return r;
}

int Taches(const Saisie& s) {
    return static_cast<int>(Cli::LitEntier(s.taches, "--jobs", 1, Contrat::TachesMax));
}

void VerifieDate(const Saisie& s, double t, const std::string& texte, const char* option) {
    if (!s.force && !Contrat::DansLesDates(t))
        throw Cli::ErreurUsage{"date hors de " + Contrat::TextePremierInstant() + ".." +
                               Contrat::TexteDernierInstant() + " pour " + option + " : « " +
                               Cli::Extrait(texte) + " » (--force pour l'accepter)"};
}

// Standard output flushed: status 0, or 1 when it could not be written.
// Standard output flushed; whether it could be written is main's to say.
int Fin() {
    std::cout.flush();
    return 0;
}

// Small outputs are written whole or not at all.
int EcritTout(const std::string& texte) {
    std::cout << texte;
    return Fin();
}

// ---- The commands ----

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

}  // namespace

// The command line read and run: its status, standard output not yet flushed.
int Execute(int argc, char** argv) {
    CLI::App app{Description(), "orvanel-cli"};
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

    Saisie s;
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

    CLI::App* jour = app.add_subcommand("jour", "Événements de la journée solaire");
    OptionsCommunes(jour, s);
    jour->add_option("--date", s.date,
                     "Jour ISO 8601 (aujourd'hui par défaut) ; avec un décalage, ce jour-là")
        ->type_name("DATE");
    OptionsCiel(jour, s);

    CLI::App* annee = app.add_subcommand("annee", "Événements de chaque date d'une année");
    OptionsCommunes(annee, s);
    annee
        ->add_option("--year", s.annee,
                     "Année, " +
                         Cli::TextePlage(Contrat::PremiereAnnee, Contrat::DerniereAnnee, "") +
                         " (obligatoire)")
        ->type_name("A");
    OptionsCiel(annee, s);
    for (CLI::App* commande : {position, table, jour, annee}) commande->group("Commandes");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        return Usage(Traduit(e, argc, argv));
    }
    try {
        if (position->parsed()) return Position(s);
        if (table->parsed()) return Table(s);
        if (jour->parsed()) return Jour(s);
        return Annee(s);
    } catch (const Cli::ErreurUsage& e) {
        return Usage(e.message);
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
