// The command-line program, run as a script would run it: its numbers against the engine's,
// its CSV and JSON read back with a real parser, its time scales, its refusals.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>
#include <string>
#include <vector>

#include "Cli.h"
#include "PosSoleil.h"

extern char** environ;

namespace {

struct Resultat {
    int statut = -1;
    std::string sortie, erreurs;
};

// Runs orvanel-cli with the arguments, standard output and error captured in files.
Resultat Lance(const std::vector<std::string>& arguments) {
    char modele[] = "/tmp/orvanel-cli-XXXXXX";
    const std::string dossier = mkdtemp(modele);
    const std::string sortie = dossier + "/out", erreurs = dossier + "/err";
    std::vector<char*> argv{const_cast<char*>(ORVANEL_CLI)};
    for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    Resultat r;
    if (posix_spawn(&pid, ORVANEL_CLI, &actions, nullptr, argv.data(), environ) == 0) {
        int statut = 0;
        waitpid(pid, &statut, 0);
        r.statut = WIFEXITED(statut) ? WEXITSTATUS(statut) : 128;
    }
    posix_spawn_file_actions_destroy(&actions);
    const auto lire = [](const std::string& chemin) {
        std::ifstream in(chemin, std::ios::binary);
        std::ostringstream texte;
        texte << in.rdbuf();
        return texte.str();
    };
    r.sortie = lire(sortie);
    r.erreurs = lire(erreurs);
    std::remove(sortie.c_str());
    std::remove(erreurs.c_str());
    rmdir(dossier.c_str());
    return r;
}

std::vector<std::string> Champs(const std::string& ligne) {
    std::vector<std::string> champs;
    std::istringstream in(ligne);
    for (std::string c; std::getline(in, c, ',');) champs.push_back(c);
    return champs;
}

double Double(const std::string& texte) {
    double x = NAN;
    std::from_chars(texte.data(), texte.data() + texte.size(), x);
    return x;
}

std::vector<std::string> Lignes(const std::string& texte) {
    std::vector<std::string> lignes;
    std::istringstream in(texte);
    for (std::string l; std::getline(in, l);) lignes.push_back(l);
    return lignes;
}

PosSoleil::Position Moteur(int a, int mo, int j, int h, int mi, double s, double lon, double lat,
                           double tet) {
    PosSoleil::Position p{};
    PosSoleil::CalculPosition(a, mo, j, h, mi, s, lon, lat, 0, tet, p.LongitudeSoleil,
                              p.RayonVecteur, p.AscensionDroite, p.Declinaison, p.Azimut, p.Hauteur,
                              p.EquationTemps);
    return p;
}

}  // namespace

TEST(OrvanelCli, PositionEqualsTheDriverToTheLastDigit) {
    struct Cas {
        std::string date, lon, lat;
        int a, mo, j, h, mi;
        double s, longitude, latitude, tet;
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
        EXPECT_EQ(lignes[0],
                  "date_utc,ascension_droite,declinaison,distance,equation_temps,azimut,hauteur,"
                  "distance_zenithale");
        const auto v = Champs(lignes[1]);
        ASSERT_EQ(v.size(), 8u);
        const PosSoleil::Position p =
            Moteur(c.a, c.mo, c.j, c.h, c.mi, c.s, c.longitude, c.latitude, c.tet);
        EXPECT_EQ(Double(v[1]), PosSoleil::Modulo360(p.AscensionDroite));
        EXPECT_EQ(Double(v[2]), p.Declinaison);
        EXPECT_EQ(Double(v[3]), p.RayonVecteur);
        EXPECT_EQ(Double(v[4]), p.EquationTemps);
        EXPECT_EQ(Double(v[5]), p.Azimut);
        EXPECT_EQ(Double(v[6]), p.Hauteur);
        EXPECT_EQ(Double(v[7]), 90 - p.Hauteur);
    }
}

TEST(OrvanelCli, JsonAndRefractionReadBack) {
    const Resultat r = Lance({"position", "--date", "2026-06-21T05:00:00Z", "--lon", "2", "--lat",
                              "48", "--format", "json", "--refraction", "--temp", "20",
                              "--pressure", "750", "--tz", "Europe/Paris"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto o = nlohmann::json::parse(r.sortie);
    const PosSoleil::Position p = Moteur(2026, 6, 21, 5, 0, 0, 2, 48, 69.184);
    EXPECT_EQ(o.at("date_utc"), "2026-06-21T05:00:00Z");
    EXPECT_EQ(o.at("date_legale"), "2026-06-21T07:00:00+02:00 CEST");
    EXPECT_EQ(o.at("hauteur").get<double>(), p.Hauteur);
    EXPECT_EQ(o.at("hauteur_refractee").get<double>(),
              p.Hauteur + PosSoleil::Refraction(p.Hauteur, 75.0, 20));
}

TEST(OrvanelCli, TableRowsInOrderOnEveryThread) {
    // 10000 rows a minute apart on four threads: the blocks come back in order, every value
    // the engine's, in CSV and in JSON.
    for (const std::string format : {"csv", "json"}) {
        SCOPED_TRACE(format);
        const Resultat r = Lance({"table", "--start", "2030-01-01T00:00:00Z", "--step", "1",
                                  "--unit", "min", "--count", "10000", "--lon", "-3", "--lat", "40",
                                  "--jobs", "4", "--format", format, "--south-ref"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        std::vector<std::pair<std::string, double>> lignes;  // date, azimuth
        if (format == "csv") {
            const auto texte = Lignes(r.sortie);
            ASSERT_EQ(texte.size(), 10001u);
            for (std::size_t i = 1; i < texte.size(); ++i) {
                const auto v = Champs(texte[i]);
                lignes.emplace_back(v[0], Double(v[5]));
            }
        } else {
            const auto tableau = nlohmann::json::parse(r.sortie);
            ASSERT_EQ(tableau.size(), 10000u);
            for (const auto& o : tableau)
                lignes.emplace_back(o.at("date_utc"), o.at("azimut").get<double>());
        }
        for (const std::size_t i :
             {std::size_t{0}, std::size_t{4095}, std::size_t{4096}, std::size_t{9999}}) {
            SCOPED_TRACE(i);
            const int minutes = static_cast<int>(i);
            char date[40];
            std::snprintf(date, sizeof date, "2030-01-%02dT%02d:%02d:00Z", 1 + minutes / 1440,
                          minutes / 60 % 24, minutes % 60);
            EXPECT_EQ(lignes[i].first, date);
            const PosSoleil::Position p = Moteur(2030, 1, 1 + minutes / 1440, minutes / 60 % 24,
                                                 minutes % 60, 0, -3, 40, 69.184);
            EXPECT_EQ(lignes[i].second, p.Azimut - 180);
        }
    }
}

TEST(OrvanelCli, DayEventsAreTheEngines) {
    const Resultat r = Lance(
        {"jour", "--date", "2026-12-21", "--lon", "18.95", "--lat", "69.65", "--format", "json"});
    ASSERT_EQ(r.statut, 0) << r.erreurs;
    const auto o = nlohmann::json::parse(r.sortie);
    const PosSoleil::Journee j = PosSoleil::JourneeSolaire(2026, 12, 21, {18.95, 69.65, 0}, 69.184);
    ASSERT_EQ(o.at("evenements").size(), static_cast<std::size_t>(j.nombre));
    for (int i = 0; i < j.nombre; ++i) {
        SCOPED_TRACE(i);
        const auto& e = o.at("evenements")[static_cast<std::size_t>(i)];
        EXPECT_EQ(e.at("date_utc"), Cli::TexteIso(j.evenements[i].t));
        EXPECT_EQ(e.at("azimut").get<double>(), j.evenements[i].azimut);
        EXPECT_EQ(e.at("hauteur").get<double>(), j.evenements[i].hauteur);
    }
    EXPECT_EQ(o.at("seuils").at("lever_coucher"), "toujours_au_dessous");  // polar night at Tromsø
    EXPECT_EQ(o.at("seuils").at("civil"), "franchi");
    EXPECT_EQ(o.at("duree_h").get<double>(), 0.0);
}

TEST(OrvanelCli, LeapSecondsAtTheirBoundaries) {
    struct Cas {
        int a, mo, j, h, mi, s, taiMoinsUtc;
    };
    const Cas cas[] = {{1971, 12, 31, 23, 59, 59, 10}, {1972, 1, 1, 0, 0, 0, 10},
                       {1972, 6, 30, 23, 59, 59, 10},  {1972, 7, 1, 0, 0, 0, 11},
                       {2016, 12, 31, 23, 59, 59, 36}, {2017, 1, 1, 0, 0, 0, 37},
                       {2240, 1, 1, 0, 0, 0, 37}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(Cli::TaiMoinsUtc(PosSoleil::EncodeDateValeur(c.a, c.mo, c.j, c.h, c.mi, c.s)),
                  c.taiMoinsUtc);
    }
    // And through the program: dynamical time - UTC of 68.184 s, then 69.184 s.
    for (const auto& [date, tet, h] :
         {std::tuple{"2016-12-31T23:59:59Z", 68.184, 23}, {"2017-01-01T00:00:00Z", 69.184, 0}}) {
        SCOPED_TRACE(date);
        const Resultat r =
            Lance({"position", "--date", date, "--lon", "0", "--lat", "0", "--format", "json"});
        ASSERT_EQ(r.statut, 0) << r.erreurs;
        const auto o = nlohmann::json::parse(r.sortie);
        const PosSoleil::Position p = h == 23 ? Moteur(2016, 12, 31, 23, 59, 59, 0, 0, tet)
                                              : Moteur(2017, 1, 1, 0, 0, 0, 0, 0, tet);
        EXPECT_EQ(o.at("ascension_droite").get<double>(), PosSoleil::Modulo360(p.AscensionDroite));
    }
    // An override wins over the table.
    const Resultat r = Lance({"position", "--date", "2017-01-01T00:00:00Z", "--lon", "0", "--lat",
                              "0", "--format", "json", "--tai-utc", "32"});
    const PosSoleil::Position p = Moteur(2017, 1, 1, 0, 0, 0, 0, 0, 64.184);
    EXPECT_EQ(nlohmann::json::parse(r.sortie).at("ascension_droite").get<double>(),
              PosSoleil::Modulo360(p.AscensionDroite));
}

TEST(OrvanelCli, Dut1MovesTheHourAngle) {
    // The hour angle from azimuth and altitude at the site, in arcseconds.
    const double latitude = 45 * M_PI / 180;
    const auto angleHoraire = [&](const std::string& dut1) {
        const Resultat r = Lance({"position", "--date", "2026-03-01T09:00:00Z", "--lon", "0",
                                  "--lat", "45", "--format", "json", "--dut1", dut1});
        const auto o = nlohmann::json::parse(r.sortie);
        const double az = (o.at("azimut").get<double>() - 180) * M_PI / 180,
                     h = o.at("hauteur").get<double>() * M_PI / 180;
        return std::atan2(std::sin(az) * std::cos(h),
                          std::cos(az) * std::cos(h) * std::sin(latitude) +
                              std::sin(h) * std::cos(latitude)) *
               180 / M_PI * 3600;
    };
    // 15.04" of hour angle per second of UT1 (the sidereal rate), less the Sun's own motion.
    const double parSeconde = (angleHoraire("0.5") - angleHoraire("-0.5"));
    EXPECT_NEAR(parSeconde, 15.0, 0.1);
}

TEST(OrvanelCli, BadArgumentsGiveStatusTwoAndNoOutput) {
    const std::vector<std::vector<std::string>> cas = {
        {"position", "--lon", "2", "--lat", "4", "--inconnue"},
        {"position", "--lon", "2", "--lat", "91"},
        {"position", "--lon", "2", "--lat", "-90.5"},
        {"position", "--lon", "2", "--lat", "4", "--date", "2300-01-01T00:00:00Z"},
        {"position", "--lon", "2", "--lat", "4", "--date", "1979-12-31T23:59:59Z"},
        {"position", "--lon", "2", "--lat", "4", "--date", "2026-13-01"},
        {"position", "--lon", "2", "--lat", "4", "--date", "hier"},
        {"table", "--lon", "2", "--lat", "4", "--start", "2026-01-01", "--count", "1.5"},
        {"table", "--lon", "2", "--lat", "4", "--start", "2026-01-01", "--count", "dix"},
        {"table", "--lon", "2", "--lat", "4", "--start", "2026-01-01", "--unit", "semaines"},
        {"position", "--lon", "nord", "--lat", "4"},
        {"position", "--lat", "4"},
        {"position", "--lon", "2", "--lat", "4", "--tz", "Mars/Olympus"},
        {"position", "--lon", "2", "--lat", "4", "--dut1", "1.5"},
        {},
    };
    for (const auto& arguments : cas) {
        std::string ligne;
        for (const auto& a : arguments) ligne += a + " ";
        SCOPED_TRACE(ligne);
        const Resultat r = Lance(arguments);
        EXPECT_EQ(r.statut, 2);
        EXPECT_TRUE(r.sortie.empty()) << r.sortie;
        EXPECT_EQ(r.erreurs.rfind("orvanel-cli : ", 0), 0u) << r.erreurs;
    }
    // --force lets a date outside the range through; --help and --version succeed.
    EXPECT_EQ(
        Lance({"position", "--lon", "2", "--lat", "4", "--date", "2300-01-01", "--force"}).statut,
        0);
    const Resultat aide = Lance({"--help"});
    EXPECT_EQ(aide.statut, 0);
    EXPECT_NE(aide.sortie.find("les fenêtres d'Orvanel gardent leur propre réglage"),
              std::string::npos);
    EXPECT_EQ(Lance({"--version"}).sortie.rfind("orvanel-cli ", 0), 0u);
}
