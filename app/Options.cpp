// The reading of orvanel-cli's command line that its commands share.
#include "Options.h"

#include <date/tz.h>

#include <clocale>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "Contrat.h"
#include "Tableau.h"

#ifndef ORVANEL_VERSION
#define ORVANEL_VERSION "?"
#endif

namespace Options {

namespace {

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

// The options that take a number within a range: the option, its range and unit, what it is;
// the help and the check both come from this table.
struct OptionNombre {
    const char* option;
    std::string Saisie::*valeur;
    Contrat::Plage plage;
    const char* unite;  // of the help and the messages
    const char* aide;   // before the range
    bool defaut;        // the default value (the Saisie's start) after it, in parentheses
    const char* nomType;
};
const OptionNombre OptionsNombres[] = {
    {"--height", &Saisie::altitudeSite, Contrat::AltitudeSite, "m",
     "Hauteur au-dessus de l'ellipsoïde,", true, "M"},
    {"--tt-utc", &Saisie::ttUtc, Contrat::TEmoinsTUImpose, "s", "TT - UTC imposé,", false, "S"},
    {"--dut1", &Saisie::dut1, Contrat::Dut1, "s", "UT1 - UTC,", true, "S"},
    {"--temp", &Saisie::temperature, Contrat::Temperature, "°C", "Température de l'air,", true,
     "C"},
    {"--pressure", &Saisie::pression, Contrat::PressionMmHg, "mmHg", "Pression de l'air,", true,
     "MMHG"},
    {"--eye-height", &Saisie::oeil, Contrat::HauteurOeil, "m",
     "Œil à M mètres au-dessus d'une mer ou d'une plaine,", false, "M"},
};

const OptionNombre& Option(std::string_view nom) {
    for (const OptionNombre& o : OptionsNombres)
        if (nom == o.option) return o;
    throw std::logic_error("option sans plage");
}

}  // namespace

CLI::Option* AjouteNombre(CLI::App* c, Saisie& s, std::string_view nom) {
    const OptionNombre& o = Option(nom);
    std::string aide = std::string(o.aide) + " " + Cli::TextePlage(o.plage, o.unite);
    if (o.defaut) aide += " (" + s.*o.valeur + ")";
    return c->add_option(o.option, s.*o.valeur, aide)->type_name(o.nomType);
}

double LitNombre(const Saisie& s, std::string_view nom) {
    const OptionNombre& o = Option(nom);
    return Cli::LitNombre(s.*o.valeur, o.option, o.plage, o.unite);
}

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

void Obligatoire(const std::string& valeur, const char* option) {
    if (valeur.empty())
        throw Cli::ErreurUsage{std::string("option obligatoire absente : ") + option};
}

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

int Fin() {
    std::cout.flush();
    return 0;
}

int EcritTout(const std::string& texte) {
    std::cout << texte;
    return Fin();
}

int Usage(const std::string& message) {
    std::cerr << "orvanel-cli : " << message << "\nVoir « orvanel-cli --help ».\n";
    return 2;
}

namespace {

// The value given on the command line for an option, for the messages.
std::string ValeurDonnee(int argc, char** argv, const std::string& option) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == option && i + 1 < argc) return argv[i + 1];
        if (a.rfind(option + "=", 0) == 0) return a.substr(option.size() + 1);
    }
    return {};
}
}  // namespace

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

}  // namespace Options
