// Legal time as residents live it: every legal time that orvanel-cli writes (position, jour,
// annee) against the C library's own reading of the time-zone database (localtime_r), in zones
// whose rules are out of the ordinary, from 2026 to the end of the program's dates.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Lance.h"

namespace {

struct Zone {
    const char* nom;
    double lon, lat;  // a site of the zone
};

// Summer time north and south, half and quarter hours, a half-hour summer shift (Lord Howe),
// a zone of +14 h, a zone 12:45 ahead and one whose rule moved with the years.
const Zone Zones[] = {
    {"Europe/Paris", 2.35, 48.86},         {"America/New_York", -74.0, 40.71},
    {"Australia/Adelaide", 138.6, -34.93}, {"Australia/Lord_Howe", 159.08, -31.55},
    {"Asia/Kathmandu", 85.32, 27.7},       {"America/St_Johns", -52.71, 47.56},
    {"Pacific/Kiritimati", -157.4, 1.87},  {"Pacific/Chatham", -176.5, -43.95},
    {"America/Santiago", -70.67, -33.45},  {"Europe/London", -0.13, 51.5},
};
const int Annees[] = {2026, 2040, 2100, 2250};

// The C library's offset from UTC (seconds) at a Unix time in a zone.
long DecalageLibC(const std::string& zone, long long unix) {
    setenv("TZ", zone.c_str(), 1);
    tzset();
    const std::time_t t = static_cast<std::time_t>(unix);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

// A legal time as written, "2040-06-21T05:47:07.123+02:00": the Unix time (seconds) it names
// and its offset; false if it does not read.
bool LitLegal(const std::string& texte, long long& unix, long& decalage) {
    int a, mo, j, h, mi, s, ms, dh, dm;
    char signe;
    if (std::sscanf(texte.c_str(), "%d-%d-%dT%d:%d:%d.%d%c%d:%d", &a, &mo, &j, &h, &mi, &s, &ms,
                    &signe, &dh, &dm) != 10)
        return false;
    std::tm champs{};
    champs.tm_year = a - 1900, champs.tm_mon = mo - 1, champs.tm_mday = j;
    champs.tm_hour = h, champs.tm_min = mi, champs.tm_sec = s;
    decalage = (signe == '-' ? -1 : 1) * (dh * 3600L + dm * 60L);
    unix = static_cast<long long>(timegm(&champs)) - decalage;
    return true;
}

// "2040-06-21T03:47:07.123Z" as a Unix time, seconds.
long long LitUtc(const std::string& texte) {
    int a, mo, j, h, mi, s;
    std::sscanf(texte.c_str(), "%d-%d-%dT%d:%d:%d", &a, &mo, &j, &h, &mi, &s);
    std::tm champs{};
    champs.tm_year = a - 1900, champs.tm_mon = mo - 1, champs.tm_mday = j;
    champs.tm_hour = h, champs.tm_min = mi, champs.tm_sec = s;
    return static_cast<long long>(timegm(&champs));
}

// A legal time written by the program: the offset the C library gives there, and, when the
// UTC time is written beside it, the same instant.
void Verifie(const std::string& zone, const std::string& legal, const std::string& utc,
             int& verifiees) {
    long long unix = 0;
    long decalage = 0;
    ASSERT_TRUE(LitLegal(legal, unix, decalage)) << legal;
    EXPECT_EQ(decalage, DecalageLibC(zone, unix)) << zone << " " << legal;
    if (!utc.empty()) {
        EXPECT_EQ(unix, LitUtc(utc)) << legal << " " << utc;
    }
    ++verifiees;
}

std::vector<std::string> Arguments(const Zone& z, std::vector<std::string> debut) {
    for (const std::string& a :
         {std::string("--lon"), std::to_string(z.lon), std::string("--lat"), std::to_string(z.lat),
          std::string("--tz"), std::string(z.nom), std::string("--format"), std::string("json")})
        debut.push_back(a);
    return debut;
}

}  // namespace

TEST(TempsLegal, EveryLegalTimeIsTheCLibrarys) {
    const char* tz = std::getenv("TZ");
    const std::string tzAvant = tz ? tz : "";
    for (const Zone& z : Zones) {
        for (const int annee : Annees) {
            SCOPED_TRACE(testing::Message() << z.nom << " " << annee);
            int verifiees = 0;
            // The year: every event of every date, in legal time alone.
            const Resultat an = Lance(Arguments(z, {"annee", "--year", std::to_string(annee)}));
            ASSERT_EQ(an.statut, 0) << an.erreurs;
            const nlohmann::json annees = nlohmann::json::parse(an.sortie);
            for (const auto& jour : annees.at("jours"))
                for (auto champ = jour.begin(); champ != jour.end(); ++champ) {
                    const std::string& cle = champ.key();
                    if (cle.size() > 7 && cle.compare(cle.size() - 7, 7, "_legale") == 0)
                        for (const auto& t : champ.value()) Verifie(z.nom, t, "", verifiees);
                }
            EXPECT_GT(verifiees, 365 * 2);
            // Days around the year, their events in UTC and legal time.
            for (const char* date : {"-01-15", "-03-29", "-04-05", "-06-21", "-09-27", "-10-04",
                                     "-10-25", "-11-01", "-12-21"}) {
                const Resultat j =
                    Lance(Arguments(z, {"jour", "--date", std::to_string(annee) + date}));
                ASSERT_EQ(j.statut, 0) << j.erreurs;
                const nlohmann::json evenements = nlohmann::json::parse(j.sortie).at("evenements");
                for (const auto& e : evenements)
                    Verifie(z.nom, e.at("date_legale"), e.at("date_utc"), verifiees);
            }
            EXPECT_GT(verifiees, 365 * 2 + 9 * 2);
            // Positions every ten days at 00:30 and 12:30 UTC, in one batch.
            char modele[] = "/tmp/orvanel-legale-XXXXXX.csv";
            const int fd = mkstemps(modele, 4);
            ASSERT_GE(fd, 0);
            std::string lignes = "date,lon,lat\n";
            for (int jour = 1; jour <= 360; jour += 10)
                for (const char* heure : {"00:30:00Z", "12:30:00Z"}) {
                    char ligne[80];
                    std::snprintf(ligne, sizeof ligne, "%04d-01-01T%s,%f,%f\n", annee, heure, z.lon,
                                  z.lat);
                    // The date itself moves on by the day's rank: the engine's calendar carries it.
                    std::string texte = ligne;
                    std::tm champs{};
                    champs.tm_year = annee - 1900, champs.tm_mday = jour;
                    const std::time_t t = timegm(&champs);
                    std::tm utc{};
                    gmtime_r(&t, &utc);
                    char date[16];
                    std::strftime(date, sizeof date, "%Y-%m-%d", &utc);
                    lignes += date + texte.substr(10);
                }
            ASSERT_EQ(write(fd, lignes.data(), lignes.size()), static_cast<ssize_t>(lignes.size()));
            close(fd);
            const Resultat p =
                Lance({"position", "--input", modele, "--tz", z.nom, "--format", "json"});
            std::remove(modele);
            ASSERT_EQ(p.statut, 0) << p.erreurs;
            const nlohmann::json lues = nlohmann::json::parse(p.sortie).at("lignes");
            EXPECT_EQ(lues.size(), 72u);
            for (const auto& l : lues)
                Verifie(z.nom, l.at("date_legale"), l.at("date_utc"), verifiees);
        }
    }
    if (tz)
        setenv("TZ", tzAvant.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

// The check can fail: the legal time that the time-zone database alone gives after its last
// listed change (winter time for good in the north) is not the C library's.
TEST(TempsLegal, AFrozenOffsetIsSeen) {
    long long unix = 0;
    long decalage = 0;
    ASSERT_TRUE(LitLegal("2040-06-21T04:47:07.000+01:00", unix, decalage));
    EXPECT_NE(decalage, DecalageLibC("Europe/Paris", unix));
    ASSERT_TRUE(LitLegal("2040-06-21T05:47:07.000+02:00", unix, decalage));
    EXPECT_EQ(decalage, DecalageLibC("Europe/Paris", unix));
}

// The resident's calendar where the zone is far from the site's longitude (UTC+14 at 157° W,
// UTC+13 at 172° W and 175° W): row D of a year, and `jour --date D`, hold the day whose rise,
// transit and set fall on legal date D; every legal date of the year has its row.
TEST(TempsLegal, ADateIsTheResidentsCalendarDate) {
    // The process's zone back as it was when the test ends, whatever happens.
    struct RetablitTz {
        const char* avant = std::getenv("TZ");
        std::string texte = avant ? avant : "";
        ~RetablitTz() {
            if (avant)
                setenv("TZ", texte.c_str(), 1);
            else
                unsetenv("TZ");
            tzset();
        }
    } retablit;
    const Zone loin[] = {{"Pacific/Kiritimati", -157.4, 1.87},
                         {"Pacific/Apia", -171.75, -13.83},
                         {"Pacific/Tongatapu", -175.2, -21.13},
                         {"Europe/Paris", 2.35, 48.86}};
    for (const Zone& z : loin) {
        for (const int annee : {2026, 2100}) {
            SCOPED_TRACE(testing::Message() << z.nom << " " << annee);
            const Resultat an = Lance(Arguments(z, {"annee", "--year", std::to_string(annee)}));
            ASSERT_EQ(an.statut, 0) << an.erreurs;
            const nlohmann::json annees = nlohmann::json::parse(an.sortie);
            const auto& jours = annees.at("jours");
            ASSERT_EQ(jours.size(), 365u);  // neither year is a leap year
            char premier[16];
            std::snprintf(premier, sizeof premier, "%04d-01-01", annee);
            EXPECT_EQ(jours.front().at("date"), premier);
            for (const auto& jour : jours) {
                const std::string date = jour.at("date");
                for (const char* cle : {"lever_legale", "passage_legale", "coucher_legale"})
                    for (const auto& t : jour.at(cle))
                        EXPECT_EQ(t.get<std::string>().substr(0, 10), date) << cle;
            }
            for (const char* jourDuMois : {"-01-01", "-06-21", "-12-10", "-12-31"}) {
                const std::string date = std::to_string(annee) + jourDuMois;
                const Resultat j = Lance(Arguments(z, {"jour", "--date", date}));
                ASSERT_EQ(j.statut, 0) << j.erreurs;
                const nlohmann::json evenements = nlohmann::json::parse(j.sortie).at("evenements");
                int vus = 0;
                for (const auto& e : evenements) {
                    const std::string nom = e.at("evenement");
                    if (nom == "Lever" || nom == "Passage au méridien" || nom == "Coucher") {
                        EXPECT_EQ(e.at("date_legale").get<std::string>().substr(0, 10), date)
                            << nom;
                        // The same date from the UTC time and the C library's legal time.
                        const long long utc = LitUtc(e.at("date_utc"));
                        const std::time_t local =
                            static_cast<std::time_t>(utc + DecalageLibC(z.nom, utc));
                        std::tm champs{};
                        gmtime_r(&local, &champs);
                        char jourLocal[16];
                        std::strftime(jourLocal, sizeof jourLocal, "%Y-%m-%d", &champs);
                        EXPECT_EQ(std::string(jourLocal), date) << nom;
                        ++vus;
                    }
                }
                EXPECT_EQ(vus, 3);
            }
        }
    }
}

// Abbreviations made of an offset alone stay text in CSV ("UTC+0545", not the number 545), and
// the JSON rows of a table have a key for every CSV column, the site's and UT1's included.
TEST(TempsLegal, CsvAbbreviationsStayTextAndJsonRowsHaveEveryColumn) {
    const Zone kathmandou{"Asia/Kathmandu", 85.32, 27.7};
    // JSON keeps the zone's own abbreviation: its strings are text already.
    const Resultat position =
        Lance(Arguments(kathmandou, {"position", "--date", "2026-06-21T06:00:00Z"}));
    ASSERT_EQ(position.statut, 0) << position.erreurs;
    EXPECT_EQ(nlohmann::json::parse(position.sortie).at("position").at("abreviation"), "+0545");
    std::vector<std::string> arguments = {"table",        "--start", "2026-06-21T06:00:00Z",
                                          "--count",      "2",       "--tz",
                                          kathmandou.nom, "--lon",   "85.32",
                                          "--lat",        "27.7",    "--dut1",
                                          "0.25",         "--format"};
    arguments.push_back("csv");
    const Resultat table = Lance(arguments);
    ASSERT_EQ(table.statut, 0) << table.erreurs;
    std::istringstream lignes(table.sortie);
    std::string entete, ligne;
    std::getline(lignes, entete);
    std::getline(lignes, ligne);
    EXPECT_NE(ligne.find(",UTC+0545,"), std::string::npos) << ligne;
    arguments.back() = "json";
    const Resultat json = Lance(arguments);
    ASSERT_EQ(json.statut, 0) << json.erreurs;
    const nlohmann::json rangee = nlohmann::json::parse(json.sortie).at("lignes").at(0);
    std::istringstream colonnes(entete);
    for (std::string colonne; std::getline(colonnes, colonne, ',');)
        EXPECT_TRUE(rangee.contains(colonne)) << colonne;
    EXPECT_EQ(rangee.at("ut1_moins_utc_s"), 0.25);
}
