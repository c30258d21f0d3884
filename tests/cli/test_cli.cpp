// The command-line program, run as a script would run it: its numbers against the engine's,
// its CSV and JSON read back with a real parser, its time scales, its refusals.
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

TEST(OrvanelCli, PositionEqualsTheDriverToTheLastDigit) {
    struct Cas {
        std::string date, lon, lat;
        int a, mo, j, h, mi;
        double s, longitude, latitude, TEmoinsTU;
    };
    const Cas cas[] = {
        {"2026-12-08T12:00:00Z", "002°01'49\"", "42°29'48\"", 2026, 12, 8, 12, 0, 0, 7309.0 / 3600,
         152988.0 / 3600, 69.184},
        {"2026-12-08T13:30:15.250+01:00", "-70.5", "-33.45", 2026, 12, 8, 12, 30, 15.25, -70.5,
         -33.45, 69.184},
        {"1985-03-01T00:00:00Z", "151", "-89", 1985, 3, 1, 0, 0, 0, 151, -89, 54.184},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.date);
        const Resultat r = Lance(
            {"position", "--date", c.date, "--lon", c.lon, "--lat", c.lat, "--format", "csv"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto lignes = Lignes(r.sortie);
        ASSERT_EQ(lignes.size(), 2u);
        const auto v = Champs(lignes[1]);
        const auto champ = [&](const char* nom) {
            const int i = Colonne(lignes[0], nom);
            EXPECT_GE(i, 0) << nom;
            return i < 0 ? NAN : Double(v[static_cast<std::size_t>(i)]);
        };
        const PosSoleil::Position p =
            Moteur(c.a, c.mo, c.j, c.h, c.mi, c.s, c.longitude, c.latitude, c.TEmoinsTU);
        EXPECT_EQ(champ("ascension_droite_deg"), PosSoleil::Modulo360(p.AscensionDroite));
        EXPECT_EQ(champ("declinaison_deg"), p.Declinaison);
        EXPECT_EQ(champ("distance_ua"), p.RayonVecteur);
        EXPECT_EQ(champ("equation_temps_min"), p.EquationTemps * 60);
        EXPECT_EQ(champ("azimut_nord_deg"), p.Azimut);
        EXPECT_EQ(champ("hauteur_deg"), p.Hauteur);
        EXPECT_EQ(champ("distance_zenithale_deg"), 90 - p.Hauteur);
        // The inputs that were used, on the row.
        EXPECT_EQ(champ("site_longitude_deg"), c.longitude);
        EXPECT_EQ(champ("site_latitude_deg"), c.latitude);
        EXPECT_EQ(champ("tt_moins_utc_s"), c.TEmoinsTU);
    }
}

TEST(OrvanelCli, EveryQuantityNamesItsUnit) {
    // Each CSV column and JSON key of a quantity ends with its unit; the azimuth's says its
    // origin, and the JSON header records the settings.
    const std::string suffixes[] = {"_deg", "_ua", "_min", "_s", "_m", "_c", "_mmhg"};
    const std::string sansUnite[] = {"date_utc", "date_legale", "abreviation", "source_tt_utc",
                                     "date",     "type",        "evenement",   "etat"};
    const std::vector<std::vector<std::string>> commandes = {
        {"position", "--date", "2026-03-20T12:00:00Z", "--refraction"},
        {"position", "--date", "2026-03-20T12:00:00Z", "--south-ref"},
        {"table", "--start", "2026-03-20", "--count", "3", "--refraction", "--south-ref"},
        {"jour", "--date", "2026-03-20"},
    };
    for (const auto& commande : commandes) {
        SCOPED_TRACE(commande[0] + " " + commande.back());
        const bool sud = commande.back() == "--south-ref";
        auto arguments = commande;
        for (const char* a :
             {"--lon", "2", "--lat", "48", "--tz", "Europe/Paris", "--format", "csv"})
            arguments.push_back(a);
        const Resultat csv = Lance(arguments);
        ASSERT_EQ(csv.statut, 0) << csv.erreurs;
        const std::string entete = Lignes(csv.sortie)[0];
        for (const std::string& nom : Champs(entete)) {
            const bool unite = std::any_of(std::begin(suffixes), std::end(suffixes), [&](auto& s) {
                return nom.size() > s.size() &&
                       nom.compare(nom.size() - s.size(), s.size(), s) == 0;
            });
            EXPECT_TRUE(unite || std::find(std::begin(sansUnite), std::end(sansUnite), nom) !=
                                     std::end(sansUnite))
                << nom;
        }
        if (commande[0] != "jour") {
            EXPECT_GE(Colonne(entete, sud ? "azimut_sud_deg" : "azimut_nord_deg"), 0) << entete;
            EXPECT_LT(Colonne(entete, sud ? "azimut_nord_deg" : "azimut_sud_deg"), 0) << entete;
        }
        arguments.back() = "json";
        const auto o = nlohmann::json::parse(Lance(arguments).sortie);
        const auto& e = o.at("entete");
        EXPECT_EQ(e.at("site").at("longitude_deg"), 2.0);
        EXPECT_EQ(e.at("site").at("latitude_deg"), 48.0);
        EXPECT_EQ(e.at("site").at("hauteur_m"), 0.0);
        EXPECT_EQ(e.at("tt_moins_utc").at("reglage"), "defaut");
        EXPECT_EQ(e.at("ut1_moins_utc_s"), 0.0);
        EXPECT_EQ(e.at("origine_azimut"), sud ? "sud" : "nord");
        EXPECT_EQ(e.at("refraction").at("active"),
                  std::find(commande.begin(), commande.end(), "--refraction") != commande.end());
    }
}

TEST(OrvanelCli, EquationOfTimeInMinutesInEveryFormat) {
    const std::vector<std::string> base = {
        "position", "--date", "2026-02-11T12:00:00Z", "--lon", "0", "--lat", "0", "--format"};
    auto csv = base, json = base, texte = base;
    csv.push_back("csv");
    json.push_back("json");
    texte.push_back("texte");
    const auto lignes = Lignes(Lance(csv).sortie);
    const double minutesCsv = Double(
        Champs(lignes[1])[static_cast<std::size_t>(Colonne(lignes[0], "equation_temps_min"))]);
    const double minutesJson =
        nlohmann::json::parse(Lance(json).sortie).at("position").at("equation_temps_min");
    const std::string t = Lance(texte).sortie;
    const auto debut = t.find("Équation du temps (mn) ");
    ASSERT_NE(debut, std::string::npos);
    const double minutesTexte =
        Double(t.substr(debut + std::string("Équation du temps (mn) ").size()));
    // Mid-February the Sun is about 14 minutes slow on the clock.
    EXPECT_NEAR(minutesCsv, -14.2, 0.1);
    EXPECT_EQ(minutesJson, minutesCsv);
    EXPECT_NEAR(minutesTexte, minutesCsv, 0.005);
}

TEST(OrvanelCli, TableRowsInOrderOnEveryThread) {
    // 70000 rows half a minute apart on four threads, three blocks of 32768 rows: the blocks
    // come back in order, every value the engine's, in CSV and in JSON.
    for (const std::string format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const Resultat r = Lance({"table",    "--start", "2030-01-01T00:00:00Z",
                                  "--step",   "30",      "--unit",
                                  "s",        "--count", "70000",
                                  "--lon",    "-3",      "--lat",
                                  "40",       "--jobs",  "4",
                                  "--format", format,    "--south-ref",
                                  "--tt-utc", "69.184"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        std::vector<std::pair<std::string, double>> lignes;  // date, azimuth
        if (format == "csv") {
            const auto texte = Lignes(r.sortie);
            ASSERT_EQ(texte.size(), 70001u);
            const auto azimut = static_cast<std::size_t>(Colonne(texte[0], "azimut_sud_deg"));
            for (std::size_t i = 1; i < texte.size(); ++i) {
                const auto v = Champs(texte[i]);
                lignes.emplace_back(v[0], Double(v[azimut]));
            }
        } else {
            const auto o = nlohmann::json::parse(r.sortie);
            EXPECT_EQ(o.at("entete").at("lignes_demandees"), 70000);
            EXPECT_EQ(o.at("entete").at("tt_moins_utc").at("valeur_s"), 69.184);
            ASSERT_EQ(o.at("lignes").size(), 70000u);
            for (const auto& l : o.at("lignes"))
                lignes.emplace_back(l.at("date_utc"), l.at("azimut_sud_deg").get<double>());
        }
        for (const std::size_t i : {std::size_t{0}, std::size_t{32767}, std::size_t{32768},
                                    std::size_t{65536}, std::size_t{69999}}) {
            SCOPED_TRACE(i);
            const int s = static_cast<int>(i) * 30;
            const int jour = 1 + s / 86400, heure = s / 3600 % 24, minute = s / 60 % 60;
            char date[40];
            std::snprintf(date, sizeof date, "2030-01-%02dT%02d:%02d:%02d.000Z", jour, heure,
                          minute, s % 60);
            EXPECT_EQ(lignes[i].first, date);
            const PosSoleil::Position p =
                Moteur(2030, 1, jour, heure, minute, s % 60, -3, 40, 69.184);
            // CSV and JSON rows come from the engine's regular series: within its bound.
            EXPECT_NEAR(lignes[i].second, p.Azimut - 180, 1e-10);
        }
    }
}

TEST(OrvanelCli, TableRowsRepeatOnlyWhatStaysTheSame) {
    // The site, UT1 - UTC and dynamical time - UTC are written once and copied while they
    // hold: each row still carries its own, a negative zero stays one, and the leap second at
    // the start of 2017 shows on the first row after it.
    const Resultat r = Lance({"table",  "--start",  "2016-12-31T23:58:00Z",
                              "--step", "30",       "--unit",
                              "s",      "--count",  "8",
                              "--lon",  "-0",       "--lat",
                              "-0.5",   "--height", "12.25",
                              "--dut1", "-0.25",    "--format",
                              "csv",    "--jobs",   "2"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto lignes = Lignes(r.sortie);
    ASSERT_EQ(lignes.size(), 9u);
    const auto colonne = [&](const char* nom) {
        return static_cast<std::size_t>(Colonne(lignes[0], nom));
    };
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        SCOPED_TRACE(lignes[i]);
        const auto v = Champs(lignes[i]);
        EXPECT_EQ(v[colonne("site_longitude_deg")], "-0");
        EXPECT_EQ(v[colonne("site_latitude_deg")], "-0.5");
        EXPECT_EQ(v[colonne("site_hauteur_m")], "12.25");
        EXPECT_EQ(v[colonne("ut1_moins_utc_s")], "-0.25");
        EXPECT_EQ(v[colonne("tt_moins_utc_s")], i <= 4 ? "68.184" : "69.184");
    }
}

TEST(OrvanelCli, TableDynamicalTimeRowByRow) {
    // Across the last leap second and far in the model's years, each row states the dynamical
    // time - UTC it was computed with (the default's within a microsecond) and its values are
    // the driver's with it.
    struct Cas {
        const char* debut;
        const char* unite;
    };
    for (const Cas& c : {Cas{"2016-12-31T23:00:00Z", "min"}, Cas{"2199-01-01T00:00:00Z", "d"}}) {
        SCOPED_TRACE(c.debut);
        const Resultat r = Lance({"table", "--start", c.debut, "--unit", c.unite, "--count", "5000",
                                  "--lon", "10", "--lat", "-20", "--format", "csv", "--jobs", "2"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto lignes = Lignes(r.sortie);
        ASSERT_EQ(lignes.size(), 5001u);
        const auto tt = static_cast<std::size_t>(Colonne(lignes[0], "tt_moins_utc_s"));
        const auto ad = static_cast<std::size_t>(Colonne(lignes[0], "ascension_droite_deg"));
        const auto h = static_cast<std::size_t>(Colonne(lignes[0], "hauteur_deg"));
        for (std::size_t i = 1; i < lignes.size(); i += 7) {
            const auto v = Champs(lignes[i]);
            const double t = Cli::AnalyseInstant(v[0])->t, TEmoinsTU = Double(v[tt]);
            EXPECT_NEAR(TEmoinsTU, Contrat::TEmoinsTUParDefaut(t).secondes, 1e-6) << v[0];
            const PosSoleil::Position p = PosSoleil::PositionSoleil(t, {10, -20, 0}, TEmoinsTU);
            EXPECT_NEAR(Double(v[ad]), PosSoleil::Modulo360(p.AscensionDroite), 1e-10) << v[0];
            EXPECT_NEAR(Double(v[h]), p.Hauteur, 1e-10) << v[0];
        }
    }
}

TEST(OrvanelCli, TableTakesTheRefractionSettings) {
    const Resultat r = Lance({"table",
                              "--start",
                              "2026-06-21T04:00:00Z",
                              "--step",
                              "1",
                              "--unit",
                              "h",
                              "--count",
                              "3",
                              "--lon",
                              "2",
                              "--lat",
                              "48",
                              "--format",
                              "csv",
                              "--refraction",
                              "--temp",
                              "25",
                              "--pressure",
                              "700"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto lignes = Lignes(r.sortie);
    ASSERT_EQ(lignes.size(), 4u);
    const auto hauteur = static_cast<std::size_t>(Colonne(lignes[0], "hauteur_deg"));
    const auto refractee = static_cast<std::size_t>(Colonne(lignes[0], "hauteur_refractee_deg"));
    for (std::size_t i = 1; i < lignes.size(); ++i) {
        const auto v = Champs(lignes[i]);
        const double h = Double(v[hauteur]);
        EXPECT_EQ(Double(v[refractee]), h + PosSoleil::Refraction(h, 70.0, 25));
    }
    // The text table gains the refracted altitude as a last column.
    const Resultat texte = Lance({"table", "--start", "2026-06-21T04:00:00Z", "--count", "2",
                                  "--lon", "2", "--lat", "48", "--refraction"});
    ASSERT_EQ(texte.statut, 0) << texte.erreurs;
    EXPECT_NE(texte.sortie.find("Azimuth   Haut. réfractée\r\n"), std::string::npos);
}

TEST(OrvanelCli, BadArgumentsNameTheOptionAndItsRange) {
    struct Cas {
        std::vector<std::string> arguments;
        std::string attendu;  // in the message
    };
    const std::vector<std::string> p = {"position", "--lon", "2", "--lat", "4"};
    const auto avec = [](std::vector<std::string> a, std::initializer_list<std::string> plus) {
        a.insert(a.end(), plus);
        return a;
    };
    const std::vector<std::string> t = {"table", "--lon",   "2",         "--lat",
                                        "4",     "--start", "2026-01-01"};
    const Cas cas[] = {
        {{"position", "--lon", "560", "--lat", "4"}, "--lon : « 560 » (de -180 à 180 degrés"},
        {{"position", "--lon", "-180.5", "--lat", "4"}, "--lon"},
        {{"position", "--lon", "2", "--lat", "91"}, "--lat : « 91 » (de -90 à 90 degrés"},
        {{"position", "--lon", "2", "--lat", "-90.5"}, "--lat"},
        {{"position", "--lon", "nord", "--lat", "4"}, "--lon"},
        {avec(p, {"--height", "20000"}), "--height : « 20000 » (nombre de -1000 à 10000 m)"},
        {avec(p, {"--temp", "-300"}), "--temp : « -300 » (nombre de -90 à 60 °C)"},
        {avec(p, {"--pressure", "-10"}), "--pressure : « -10 » (nombre de 200 à 900 mmHg)"},
        {avec(p, {"--dut1", "1.5"}), "--dut1 : « 1.5 » (nombre de -0,9 à 0,9 s)"},
        {avec(p, {"--format", "xml"}), "--format : « xml » (texte, csv ou json)"},
        {avec(p, {"--tt-utc", "1e9"}), "--tt-utc"},
        {avec(p, {"--tai-utc", "-1"}), "--tai-utc : « -1 » (entier de 0 à 100)"},
        {avec(t, {"--jobs", "0"}), "--jobs : « 0 » (entier de 1 à 256)"},
        {avec(t, {"--step", "10000"}), "--step : « 10000 » (entier de 0 à 9999)"},
        {avec(t, {"--count", "1.5"}), "--count"},
        {avec(t, {"--count", "-1"}), "--count : « -1 » (entier de 0 à 100000000)"},
        {avec(t, {"--unit", "semaines"}), "--unit : « semaines » (s, min, h ou d)"},
        {avec(p, {"--date", "2026-13-01"}), "--date"},
        {avec(p, {"--date", "hier"}), "--date"},
        {avec(p, {"--tz", "Mars/Olympus"}), "--tz"},
        {avec(p, {"--inconnue"}), "inconnue"},
        {{"position", "--lat", "4"}, "--lon"},
        {{"table", "--lon", "2", "--lat", "4"}, "--start"},
        {avec(p, {"--input", "/nulle/part.csv"}), "--input"},
        {{}, "commande"},
    };
    for (const Cas& c : cas) {
        std::string ligne;
        for (const auto& a : c.arguments) ligne += a + " ";
        SCOPED_TRACE(ligne);
        const Resultat r = Lance(c.arguments);
        EXPECT_EQ(r.statut, 2);
        EXPECT_TRUE(r.sortie.empty()) << r.sortie;
        EXPECT_EQ(r.erreurs.rfind("orvanel-cli : ", 0), 0u) << r.erreurs;
        EXPECT_NE(r.erreurs.find(c.attendu), std::string::npos) << r.erreurs;
    }
    const Resultat aide = Lance({"--help"});
    EXPECT_EQ(aide.statut, 0);
    for (const char* texte :
         {"les fenêtres d'Orvanel gardent leur propre réglage", "2250-12-31T23:59:59Z",
          "équation du temps en minutes", "-0°50'", "-18°"})
        EXPECT_NE(aide.sortie.find(texte), std::string::npos) << texte;
    EXPECT_EQ(Lance({"--version"}).sortie.rfind("orvanel-cli ", 0), 0u);
}

TEST(OrvanelCli, OneDateRangeForEveryCommand) {
    struct Cas {
        std::vector<std::string> arguments;
        bool accepte;
    };
    const std::vector<std::string> lieu = {"--lon", "2", "--lat", "4"};
    const auto commande = [&](std::initializer_list<std::string> a) {
        std::vector<std::string> v(a);
        v.insert(v.end(), lieu.begin(), lieu.end());
        return v;
    };
    const Cas cas[] = {
        {commande({"position", "--date", "1980-01-01T00:00:00Z"}), true},
        {commande({"position", "--date", "1979-12-31T23:59:59Z"}), false},
        {commande({"position", "--date", "2250-06-01T00:00:00Z"}), true},
        {commande({"position", "--date", "2250-12-31T23:59:59Z"}), true},
        {commande({"position", "--date", "2251-01-01T00:00:00Z"}), false},
        {commande({"position", "--date", "2251-01-01T00:00:00Z", "--force"}), true},
        {commande({"jour", "--date", "2250-12-31"}), true},
        {commande({"jour", "--date", "2251-01-01"}), false},
        {commande({"jour", "--date", "1979-12-31", "--force"}), true},
        {commande({"table", "--start", "2250-12-31", "--count", "2", "--unit", "d"}), false},
        {commande({"table", "--start", "2250-12-31", "--count", "1", "--unit", "d"}), true},
        {commande({"table", "--start", "2250-12-31", "--count", "2", "--unit", "d", "--force"}),
         true},
        {commande({"table", "--start", "1979-12-31T23:59:59Z"}), false},
    };
    for (const Cas& c : cas) {
        std::string ligne;
        for (const auto& a : c.arguments) ligne += a + " ";
        SCOPED_TRACE(ligne);
        const Resultat r = Lance(c.arguments);
        EXPECT_EQ(r.statut, c.accepte ? 0 : 2) << r.erreurs;
        EXPECT_EQ(r.sortie.empty(), !c.accepte);
        if (!c.accepte) {
            EXPECT_NE(r.erreurs.find("--force"), std::string::npos) << r.erreurs;
        }
    }
}

TEST(OrvanelCli, BatchInputIsSeparateCallsInOne) {
    // 10000 rows over sites and dates, four sites an instant (they share the geocentric part):
    // sampled rows equal separate `position` calls; with a bad row at data line 5000, the 4999
    // before it are written whole and the run ends with 3.
    std::string texte = "date,lon,lat,height\n";
    std::vector<std::vector<std::string>> rangs;
    for (int i = 0; i < 10000; ++i) {
        char date[40], lon[32], lat[32], hauteur[32];
        const int j = i - i % 4;
        std::snprintf(date, sizeof date, "20%02d-%02d-%02dT%02d:%02d:%02d.%03dZ", 26 + j % 50,
                      1 + j % 12, 1 + j % 28, j % 24, j % 60, (j * 7) % 60, j % 1000);
        std::snprintf(lon, sizeof lon, "%.4f", -179.9 + (i * 37 % 3599) / 10.0);
        std::snprintf(lat, sizeof lat, "%.3f", -89.9 + (i * 53 % 1799) / 10.0);
        std::snprintf(hauteur, sizeof hauteur, "%d", i % 3000);
        rangs.push_back({date, lon, lat, hauteur});
        texte += std::string(date) + "," + lon + "," + lat + "," + hauteur + "\n";
    }
    const Fichier entree(texte);
    for (const std::string format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const Resultat r = Lance({"position", "--input", entree.chemin, "--format", format,
                                  "--jobs", "3", "--tz", "Australia/Sydney"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        std::vector<nlohmann::json> lignes;
        if (format == "json") {
            const auto o = nlohmann::json::parse(r.sortie);
            for (const auto& l : o.at("lignes")) lignes.push_back(l);
        } else {
            const auto csv = Lignes(r.sortie);
            const auto noms = Champs(csv[0]);
            for (std::size_t i = 1; i < csv.size(); ++i) {
                const auto v = Champs(csv[i]);
                nlohmann::json l;
                for (std::size_t k = 0; k < noms.size(); ++k)
                    if (noms[k].find("date") == 0 || noms[k] == "abreviation" ||
                        noms[k] == "source_tt_utc")
                        l[noms[k]] = v[k];
                    else
                        l[noms[k]] = Double(v[k]);
                lignes.push_back(l);
            }
        }
        ASSERT_EQ(lignes.size(), rangs.size());
        for (const std::size_t i : {0, 1, 3, 4095, 4096, 4097, 5000, 8191, 8192, 9999}) {
            SCOPED_TRACE(i);
            const auto& g = rangs[i];
            const Resultat seule =
                Lance({"position", "--date", g[0], "--lon", g[1], "--lat", g[2], "--height", g[3],
                       "--format", "json", "--tz", "Australia/Sydney"});
            const auto attendu = nlohmann::json::parse(seule.sortie).at("position");
            for (const auto& [cle, valeur] : attendu.items())
                EXPECT_EQ(lignes[i].at(cle), valeur) << cle;
            EXPECT_EQ(lignes[i].at("site_hauteur_m"), std::stod(g[3]));
        }
    }
    // A latitude out of range at data line 5000 (line 5001 of the file).
    std::string mauvais = texte;
    std::size_t debut = 0;
    for (int n = 0; n < 5000; ++n) debut = mauvais.find('\n', debut) + 1;
    const std::size_t fin = mauvais.find('\n', debut);
    mauvais.replace(debut, fin - debut, rangs[4999][0] + "," + rangs[4999][1] + ",95,0");
    const Fichier entreeMauvaise(mauvais);
    for (const std::string format : {"csv", "texte"}) {
        SCOPED_TRACE(format);
        const Resultat r = Lance(
            {"position", "--input", entreeMauvaise.chemin, "--format", format, "--jobs", "2"});
        EXPECT_EQ(r.statut, 3);
        EXPECT_NE(r.erreurs.find("ligne 5001 (donnée 5000)"), std::string::npos) << r.erreurs;
        EXPECT_NE(r.erreurs.find("lat"), std::string::npos) << r.erreurs;
        ASSERT_FALSE(r.sortie.empty());
        EXPECT_EQ(r.sortie.back(), '\n');
        if (format == "csv") {
            EXPECT_EQ(Lignes(r.sortie).size(), 5000u);  // the header and 4999 rows
        } else {
            std::size_t blocs = 0;
            for (std::size_t k = r.sortie.find("Date (UTC)"); k != std::string::npos;
                 k = r.sortie.find("Date (UTC)", k + 1))
                ++blocs;
            EXPECT_EQ(blocs, 4999u);
        }
    }
}

TEST(OrvanelCli, BadBatchFilesNameTheLine) {
    struct Cas {
        std::string texte, attendu;
    };
    const Cas cas[] = {
        {"", "ligne 1"},
        {"date,lon\n2026-01-01,2\n", "ligne 1"},
        {"date,lon,lat,altitude\n", "ligne 1 : colonne inconnue « altitude »"},
        {"date,lon,lat\n2026-01-01,2,3\n2026-01-01,2\n",
         "ligne 3 (donnée 2) : 2 champs au lieu de 3"},
        {"date,lon,lat\n2026-01-01,abc,3\n",
         "ligne 2 (donnée 1) : valeur incorrecte pour le champ lon"},
        {"date,lon,lat\n2300-01-01,2,3\n", "ligne 2 (donnée 1) : date hors de"},
        {"date,lon,lat\n2026-02-30,2,3\n", "le champ date"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte);
        const Fichier f(c.texte);
        const Resultat r = Lance({"position", "--input", f.chemin, "--format", "csv"});
        EXPECT_EQ(r.statut, 3);
        EXPECT_NE(r.erreurs.find(c.attendu), std::string::npos) << r.erreurs;
    }
    // Quoted fields, CR LF, a blank line and columns in another order are read.
    const Fichier f("lat,\"lon\",date\r\n\"42°29'48\"\"\",2.03,2026-12-08T12:00:00Z\r\n\r\n");
    const Resultat r = Lance({"position", "--input", f.chemin, "--format", "json"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto l = nlohmann::json::parse(r.sortie).at("lignes");
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].at("site_latitude_deg"), 42 + 29 / 60.0 + 48 / 3600.0);
}
