// The command-line program's days and years, run as a script would run them: the day's events
// against the engine's, its states and day length, its time scales, a year's rows and the sky's
// refusals.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "Cli.h"
#include "Lance.h"
#include "Lecture.h"
#include "PosSoleil.h"

TEST(OrvanelCli, DayEventsAreTheEngines) {
    const Resultat r = Lance(
        {"jour", "--date", "2026-12-21", "--lon", "18.95", "--lat", "69.65", "--format", "json"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto o = nlohmann::json::parse(r.sortie);
    const PosSoleil::JourSolaire j =
        PosSoleil::JourneeSolaire(2026, 12, 21, {18.95, 69.65, 0}, 69.184);
    ASSERT_EQ(o.at("evenements").size(), j.evenements.size());
    for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
        SCOPED_TRACE(i);
        const auto& e = o.at("evenements")[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.at("date_utc"), Cli::TexteIso(j.evenements[i].t));
        EXPECT_EQ(e.at("azimut_nord_deg").get<double>(), j.evenements[i].azimut);
        EXPECT_EQ(e.at("hauteur_deg").get<double>(), j.evenements[i].hauteur);
    }
    EXPECT_EQ(o.at("seuils").at("lever_coucher"), "toujours_au_dessous");  // polar night at Tromsø
    EXPECT_EQ(o.at("seuils").at("civil"), "franchi");
    EXPECT_EQ(o.at("duree_jour_min").get<double>(), 0.0);
    EXPECT_EQ(o.at("entete").at("tt_moins_utc").at("valeur_s"), 69.184);
}

TEST(OrvanelCli, DayCsvKeepsStatesAndDayLength) {
    // Tromsø at midsummer: two transits, every threshold never crossed, 24 hours of day; at
    // midwinter polar night, the twilights crossed. The CSV says what the JSON says.
    struct Cas {
        std::string date;
        int etats;
        double dureeMin;
    };
    for (const Cas& c :
         {Cas{"2026-06-21", 4, 1440}, Cas{"2026-12-21", 1, 0}, Cas{"2026-03-20", 0, -1}}) {
        SCOPED_TRACE(c.date);
        std::vector<std::string> arguments = {"jour",  "--date", c.date,     "--lon", "18.95",
                                              "--lat", "69.65",  "--format", "csv"};
        const auto lignes = Lignes(Lance(arguments).sortie);
        arguments.back() = "json";
        const auto o = nlohmann::json::parse(Lance(arguments).sortie);
        ASSERT_GE(lignes.size(), 2u);
        const std::size_t colonnes = Champs(lignes[0]).size();
        const auto type = static_cast<std::size_t>(Colonne(lignes[0], "type")),
                   evenement = static_cast<std::size_t>(Colonne(lignes[0], "evenement")),
                   etat = static_cast<std::size_t>(Colonne(lignes[0], "etat")),
                   duree = static_cast<std::size_t>(Colonne(lignes[0], "duree_jour_min"));
        int etats = 0, durees = 0, evenements = 0;
        for (std::size_t i = 1; i < lignes.size(); ++i) {
            auto v = Champs(lignes[i]);
            v.resize(colonnes);  // getline drops an empty last field
            if (v[type] == "etat") {
                ++etats;
                EXPECT_EQ(v[etat], o.at("seuils").at(v[evenement]));
            } else if (v[type] == "duree") {
                ++durees;
                EXPECT_EQ(Double(v[duree]), o.at("duree_jour_min").get<double>());
                if (c.dureeMin >= 0) {
                    EXPECT_EQ(Double(v[duree]), c.dureeMin);
                }
            } else {
                ++evenements;
                EXPECT_EQ(v[etat], "franchi");
            }
        }
        EXPECT_EQ(etats, c.etats);
        EXPECT_EQ(durees, 1);
        EXPECT_EQ(evenements, static_cast<int>(o.at("evenements").size()));
    }
    // The text labels its last column: an azimuth for a crossing, an altitude for a transit.
    const std::string texte =
        Lance({"jour", "--date", "2026-03-20", "--lon", "2", "--lat", "48"}).sortie;
    for (const auto& ligne : Lignes(texte)) {
        if (ligne.rfind("Lever\t", 0) == 0) {
            EXPECT_NE(ligne.find("\tazimut "), std::string::npos);
        }
        if (ligne.rfind("Passage au méridien\t", 0) == 0) {
            EXPECT_NE(ligne.find("\thauteur "), std::string::npos);
        }
    }
}

TEST(OrvanelCli, ADateWithAnOffsetIsThatCalendarDay) {
    for (const auto& [date, jour] : {std::pair{"2026-06-21T23:30:00-05:00", "2026-06-21"},
                                     std::pair{"2026-06-21T00:30:00+09:00", "2026-06-21"},
                                     std::pair{"2026-06-21", "2026-06-21"}}) {
        SCOPED_TRACE(date);
        const Resultat r =
            Lance({"jour", "--date", date, "--lon", "2", "--lat", "48", "--format", "json"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        EXPECT_EQ(nlohmann::json::parse(r.sortie).at("date"), jour);
    }
}

TEST(OrvanelCli, LeapSecondsAndTheModelThroughTheProgram) {
    struct Cas {
        const char* date;
        double TEmoinsTU;
        const char* source;
    };
    // Dynamical time - UTC of 68.184 s, then 69.184 s at the last leap second; the model far
    // beyond the table.
    for (const Cas& c :
         {Cas{"2016-12-31T23:59:59Z", 68.184, "table"},
          Cas{"2017-01-01T00:00:00Z", 69.184, "table"},
          Cas{"2199-06-01T00:00:00Z",
              Contrat::TEmoinsTUParDefaut(PosSoleil::EncodeDateValeur(2199, 6, 1, 0, 0, 0))
                  .secondes,
              "modele"}}) {
        SCOPED_TRACE(c.date);
        const Resultat r =
            Lance({"position", "--date", c.date, "--lon", "0", "--lat", "0", "--format", "json"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto o = nlohmann::json::parse(r.sortie);
        EXPECT_EQ(o.at("entete").at("tt_moins_utc").at("source"), c.source);
        EXPECT_EQ(o.at("position").at("tt_moins_utc_s").get<double>(), c.TEmoinsTU);
        int a, mo, j, h, mi, s, ms;
        PosSoleil::DecodeDateValeur(Cli::AnalyseInstant(c.date)->t, a, mo, j, h, mi, s, ms);
        const PosSoleil::Position p = Moteur(a, mo, j, h, mi, s, 0, 0, c.TEmoinsTU);
        EXPECT_EQ(o.at("position").at("ascension_droite_deg").get<double>(),
                  PosSoleil::Modulo360(p.AscensionDroite));
    }
    // An override wins over the table, and says so.
    const Resultat r = Lance({"position", "--date", "2017-01-01T00:00:00Z", "--lon", "0", "--lat",
                              "0", "--format", "json", "--tai-utc", "32"});
    const auto o = nlohmann::json::parse(r.sortie);
    const PosSoleil::Position p = Moteur(2017, 1, 1, 0, 0, 0, 0, 0, 64.184);
    EXPECT_EQ(o.at("position").at("ascension_droite_deg").get<double>(),
              PosSoleil::Modulo360(p.AscensionDroite));
    EXPECT_EQ(o.at("entete").at("tt_moins_utc").at("source"), "tai_utc");
}

TEST(OrvanelCli, Dut1MovesTheHourAngle) {
    // The hour angle from azimuth and altitude at the site, in arcseconds.
    const double latitude = 45 * M_PI / 180;
    const auto angleHoraire = [&](const std::string& dut1) {
        const Resultat r = Lance({"position", "--date", "2026-03-01T09:00:00Z", "--lon", "0",
                                  "--lat", "45", "--format", "json", "--dut1", dut1});
        const auto o = nlohmann::json::parse(r.sortie).at("position");
        const double az = (o.at("azimut_nord_deg").get<double>() - 180) * M_PI / 180,
                     h = o.at("hauteur_deg").get<double>() * M_PI / 180;
        return std::atan2(std::sin(az) * std::cos(h),
                          std::cos(az) * std::cos(h) * std::sin(latitude) +
                              std::sin(h) * std::cos(latitude)) *
               180 / M_PI * 3600;
    };
    // 15.04" of hour angle per second of UT1 (the sidereal rate), less the Sun's own motion.
    const double parSeconde = (angleHoraire("0.5") - angleHoraire("-0.5"));
    EXPECT_NEAR(parSeconde, 15.0, 0.1);
}

namespace {

// The times of a `jour` JSON's events by the key the year gives their kind.
std::map<std::string, std::vector<std::string>> ParSorte(const nlohmann::json& jour,
                                                         const std::string& cleHeure) {
    static const std::map<std::string, std::string> cles = {
        {"Lever", "lever"},
        {"Passage au méridien", "passage"},
        {"Coucher", "coucher"},
        {"Aube civile", "aube_civile"},
        {"Crépuscule civil", "crepuscule_civil"},
        {"Aube nautique", "aube_nautique"},
        {"Crépuscule nautique", "crepuscule_nautique"},
        {"Aube astronomique", "aube_astronomique"},
        {"Crépuscule astronomique", "crepuscule_astronomique"}};
    std::map<std::string, std::vector<std::string>> sortie;
    for (const auto& e : jour.at("evenements")) {
        const std::string nom = e.at("evenement");
        std::string cle;
        if (cles.count(nom)) {
            cle = cles.at(nom);
        } else if (nom.rfind("Montée à ", 0) == 0 || nom.rfind("Descente à ", 0) == 0) {
            std::ostringstream h;
            h << e.at("seuil_deg").get<double>();
            cle = (nom[0] == 'M' ? "montee_" : "descente_") + h.str();
        } else {
            continue;  // the lower culmination is not a column of the year
        }
        sortie[cle].push_back(e.at(cleHeure));
    }
    return sortie;
}

}  // namespace

TEST(OrvanelCli, AYearIsThreeHundredAndSixtyFiveDays) {
    const Fichier horizon("azimuth,altitude\n150,0\n165,25\n195,25\n210,0\n");
    struct Cas {
        const char* nom;
        std::vector<std::string> ciel;
        int pasJours;
    };
    const Cas cas[] = {
        {"eye height, golden and blue hours, legal time",
         {"--eye-height", "30", "--threshold", "6", "--threshold", "-4", "--tz", "Europe/Paris"},
         1},
        {"behind a ridge", {"--horizon", horizon.chemin}, 11},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        std::vector<std::string> site = {"--lon", "2.35", "--lat", "48.86", "--format", "json"};
        site.insert(site.end(), c.ciel.begin(), c.ciel.end());
        std::vector<std::string> arguments = {"annee", "--year", "2026"};
        arguments.insert(arguments.end(), site.begin(), site.end());
        const Resultat r = Lance(arguments);
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto jours = nlohmann::json::parse(r.sortie).at("jours");
        ASSERT_EQ(jours.size(), 365u);
        const bool legal = std::find(c.ciel.begin(), c.ciel.end(), "--tz") != c.ciel.end();
        const std::string suffixe = legal ? "_legale" : "_utc";
        for (std::size_t d = 0; d < jours.size(); d += static_cast<std::size_t>(c.pasJours)) {
            const auto& an = jours[d];
            SCOPED_TRACE(an.at("date").get<std::string>());
            std::vector<std::string> unJour = {"jour", "--date", an.at("date")};
            unJour.insert(unJour.end(), site.begin(), site.end());
            const Resultat rj = Lance(unJour);
            ASSERT_EQ(rj.statut, 0) << rj.erreurs;
            const auto jour = nlohmann::json::parse(rj.sortie);
            auto attendues = ParSorte(jour, legal ? "date_legale" : "date_utc");
            std::size_t vues = 0;
            for (const auto& [cle, valeur] : an.items()) {
                if (!valeur.is_array() || cle.size() <= suffixe.size() ||
                    cle.compare(cle.size() - suffixe.size(), suffixe.size(), suffixe) != 0)
                    continue;
                const std::string sorte = cle.substr(0, cle.size() - suffixe.size());
                EXPECT_EQ(valeur.get<std::vector<std::string>>(), attendues[sorte]) << sorte;
                vues += valeur.size();
            }
            for (const auto& h : an.at("hauteurs")) {
                std::ostringstream x;
                x << h.at("hauteur_deg").get<double>();
                EXPECT_EQ(h.at("montee" + suffixe).get<std::vector<std::string>>(),
                          attendues["montee_" + x.str()]);
                EXPECT_EQ(h.at("descente" + suffixe).get<std::vector<std::string>>(),
                          attendues["descente_" + x.str()]);
                vues += h.at("montee" + suffixe).size() + h.at("descente" + suffixe).size();
            }
            std::size_t total = 0;
            for (const auto& [cle, liste] : attendues) total += liste.size();
            EXPECT_EQ(vues, total);
            EXPECT_EQ(an.at("duree_jour_min"), jour.at("duree_jour_min"));
            EXPECT_EQ(an.at("variation_duree_min"), jour.at("variation_duree_min"));
            EXPECT_EQ(an.at("seuils"), jour.at("seuils"));
        }
    }
    // CSV and text: a row per date of a leap year.
    for (const char* format : {"csv", "texte"}) {
        const Resultat r = Lance({"annee", "--year", "2028", "--lon", "2.35", "--lat", "48.86",
                                  "--format", format, "--threshold", "6"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto lignes = Lignes(r.sortie);
        ASSERT_EQ(lignes.size(), std::string(format) == "csv" ? 367u : 368u);
        EXPECT_EQ(lignes.back().substr(0, 10), "2028-12-31");
        if (std::string(format) == "csv") {
            EXPECT_GE(Colonne(lignes[0], "montee_hauteur_6_utc"), 0);
            EXPECT_GE(Colonne(lignes[0], "etat_hauteur_6"), 0);
            EXPECT_EQ(Champs(lignes[0]).size(), Champs(lignes[1]).size());
        }
    }
}

TEST(OrvanelCli, BadSkiesNameTheLineAndWriteNothing) {
    struct Cas {
        const char* nom;
        const char* fichier;  // a skyline's text, or null for no --horizon
        std::vector<std::string> options;
        const char* attendu;
    };
    const Cas cas[] = {
        {"one point",
         "azimuth,altitude\n180,5\n",
         {},
         "ligne 3 (fin du fichier) : au moins deux points"},
        {"altitude 95",
         "azimuth,altitude\n0,0\n180,95\n",
         {},
         "ligne 3 : hauteur hors de -2 à 90 degrés : « 95 »"},
        {"text in a number",
         "azimuth,altitude\n0,0\n18O,5\n",
         {},
         "ligne 3 : nombre attendu pour azimuth : « 18O »"},
        {"an empty file", "", {}, "ligne 1 : fichier vide"},
        {"a wrong header",
         "azimut,hauteur\n0,0\n",
         {},
         "ligne 1 : en-tête « azimuth,altitude » attendu"},
        {"three fields", "azimuth,altitude\n0,0,1\n", {}, "ligne 2 : deux valeurs attendues"},
        {"with an eye height",
         "azimuth,altitude\n0,0\n180,0\n",
         {"--eye-height", "10"},
         "options incompatibles"},
        {"an eye height below zero", nullptr, {"--eye-height", "-1"}, "--eye-height"},
        {"an altitude of 91", nullptr, {"--threshold", "91"}, "--threshold"},
        {"the same altitude twice",
         nullptr,
         {"--threshold", "6", "--threshold", "6.0"},
         "deux fois"},
    };
    for (const char* commande : {"jour", "annee"}) {
        for (const Cas& c : cas) {
            SCOPED_TRACE(std::string(commande) + ": " + c.nom);
            const Fichier f(c.fichier ? c.fichier : "");
            std::vector<std::string> arguments = {commande, "--lon", "2", "--lat", "48"};
            if (std::string(commande) == "annee")
                arguments.insert(arguments.end(), {"--year", "2026"});
            if (c.fichier) arguments.insert(arguments.end(), {"--horizon", f.chemin});
            arguments.insert(arguments.end(), c.options.begin(), c.options.end());
            const Resultat r = Lance(arguments);
            EXPECT_EQ(r.statut, 2);
            EXPECT_EQ(r.sortie, "");
            EXPECT_NE(r.erreurs.find(c.attendu), std::string::npos) << r.erreurs;
        }
    }
    const Resultat absent =
        Lance({"jour", "--lon", "2", "--lat", "48", "--horizon", "/nonexistent/h.csv"});
    EXPECT_EQ(absent.statut, 2);
    EXPECT_NE(absent.erreurs.find("fichier illisible pour --horizon"), std::string::npos);
    for (const std::vector<std::string>& a : std::vector<std::vector<std::string>>{
             {"annee", "--lon", "2", "--lat", "48"},
             {"annee", "--lon", "2", "--lat", "48", "--year", "2300"}}) {
        const Resultat r = Lance(a);
        EXPECT_EQ(r.statut, 2);
        EXPECT_EQ(r.sortie, "");
        EXPECT_NE(r.erreurs.find("--year"), std::string::npos) << r.erreurs;
    }
}
