// The C library's sky and year against orvanel-cli's `jour` and `annee`, run as a user runs them:
// the same events to the millisecond of their texts, the same altitudes, azimuths and day
// lengths to the bit.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "../cli/Lance.h"
#include "orvanel.h"

namespace {

using Json = nlohmann::json;

// Milliseconds since 1970 of "YYYY-MM-DDTHH:MM:SS.mmmZ".
long long MsDe(const std::string& texte) {
    int a = 0, mo = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
    EXPECT_EQ(std::sscanf(texte.c_str(), "%d-%d-%dT%d:%d:%d.%dZ", &a, &mo, &j, &h, &mi, &s, &ms), 7)
        << texte;
    const std::chrono::sys_days jour = std::chrono::year(a) / mo / j;
    return (jour.time_since_epoch().count() * 86400LL + h * 3600 + mi * 60 + s) * 1000 + ms;
}

long long MsDe(double unix) {
    return std::llround(unix * 1000);
}

Json JsonDe(const std::vector<std::string>& arguments) {
    const Resultat r = Lance(arguments);
    EXPECT_EQ(r.statut, 0) << r.erreurs;
    return Json::parse(r.sortie);
}

struct CielEssai {
    const char* nom;
    double eye;
    std::vector<double> seuils;
    std::vector<orvanel_skyline_point> horizon;
    std::vector<std::string> options;  // the same sky for orvanel-cli (the file written below)
};

// The skyline's file, one per run: the sanitizer and release runs of this test may overlap.
const std::string FichierHorizon =
    "/tmp/orvanel-test-ciel-horizon-" + std::to_string(getpid()) + ".csv";

std::vector<CielEssai> Ciels() {
    std::ofstream(FichierHorizon) << "azimuth,altitude\n0,2\n90,8.5\n150,1\n200,12\n270,3\n";
    return {{"plat", 0, {}, {}, {}},
            {"oeil et seuils",
             30,
             {6, -4},
             {},
             {"--eye-height", "30", "--threshold", "6", "--threshold", "-4"}},
            {"horizon",
             0,
             {0.5},
             {{0, 2}, {90, 8.5}, {150, 1}, {200, 12}, {270, 3}},
             {"--horizon", FichierHorizon, "--threshold", "0.5"}}};
}

orvanel_sky Ciel(const CielEssai& c) {
    return {c.eye, c.seuils.data(), c.seuils.size(), c.horizon.data(), c.horizon.size()};
}

struct Lieu {
    double lat, lon, height;
};
const Lieu Lieux[] = {{48.85, 2.35, 0}, {69.65, 18.95, 0}, {-33.45, -70.67, 520}};

// Each event of the library's day against a `jour` event.
void CompareJour(const orvanel_sky_day& d, const Json& jour) {
    const Json& evenements = jour["evenements"];
    ASSERT_EQ(static_cast<std::size_t>(d.count), evenements.size());
    const char* types[] = {"passage", "passage_inferieur", "montee", "descente"};
    for (int i = 0; i < d.count; ++i) {
        const orvanel_event& e = d.events[i];
        const Json& a = evenements[static_cast<std::size_t>(i)];
        EXPECT_EQ(types[e.type], a["type"].get<std::string>());
        EXPECT_EQ(MsDe(e.unix_utc), MsDe(a["date_utc"].get<std::string>()));
        EXPECT_EQ(e.elevation_deg, a["hauteur_deg"].get<double>());
        EXPECT_EQ(std::fmod(e.azimuth_deg, 360.0), a["azimut_nord_deg"].get<double>());
    }
    EXPECT_EQ(d.day_length_min, jour["duree_jour_min"].get<double>());
    EXPECT_EQ(d.day_length_change_min, jour["variation_duree_min"].get<double>());
}

TEST(CielDeLaBibliotheque, TheDayIsJoursInEverySky) {
    for (const CielEssai& c : Ciels()) {
        const orvanel_sky ciel = Ciel(c);
        for (const Lieu& l : Lieux) {
            for (const char* date : {"2026-03-20", "2026-06-21", "2026-12-21", "2031-02-28"}) {
                SCOPED_TRACE(std::string(c.nom) + " " + date + " lat " + std::to_string(l.lat));
                int a = 0, m = 0, j = 0;
                std::sscanf(date, "%d-%d-%d", &a, &m, &j);
                orvanel_sky_day d{};
                const orvanel_site site{l.lon, l.lat, l.height};
                ASSERT_EQ(orvanel_sky_day_events(a, m, j, &site, &ciel, NAN, &d), ORVANEL_OK);
                std::vector<std::string> arguments = {"jour",
                                                      "--lat",
                                                      std::to_string(l.lat),
                                                      "--lon",
                                                      std::to_string(l.lon),
                                                      "--height",
                                                      std::to_string(l.height),
                                                      "--date",
                                                      date,
                                                      "--format",
                                                      "json"};
                arguments.insert(arguments.end(), c.options.begin(), c.options.end());
                CompareJour(d, JsonDe(arguments));
                EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, a * 10000 + m * 100 + j);
            }
        }
    }
    std::remove(FichierHorizon.c_str());
}

TEST(CielDeLaBibliotheque, TheYearIsAnneesAndEachDateItsDay) {
    const std::vector<CielEssai> ciels = Ciels();
    std::remove(FichierHorizon.c_str());  // this sky has no skyline
    const CielEssai& c = ciels[1];
    const orvanel_sky ciel = Ciel(c);
    const orvanel_site site{18.95, 69.65, 0};
    std::vector<orvanel_sky_day> an(366);
    ASSERT_EQ(orvanel_year_events(2028, &site, &ciel, NAN, an.data(), 365), ORVANEL_ERROR_CAPACITY);
    ASSERT_EQ(orvanel_year_events(2028, &site, &ciel, NAN, an.data(), an.size()), ORVANEL_OK);
    std::vector<std::string> arguments = {"annee",  "--lat", "69.65",    "--lon", "18.95",
                                          "--year", "2028",  "--format", "json"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const Json annee = JsonDe(arguments);
    ASSERT_EQ(annee["jours"].size(), 366u);
    const char* etats[] = {"franchi", "toujours_au_dessus", "toujours_au_dessous"};
    for (std::size_t k = 0; k < 366; ++k) {
        const orvanel_sky_day& d = an[k];
        const Json& jour = annee["jours"][k];
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
        SCOPED_TRACE(date);
        ASSERT_EQ(jour["date"].get<std::string>(), date);
        std::vector<long long> levers, passages;
        for (int i = 0; i < d.count; ++i) {
            if (d.events[i].type == ORVANEL_RISE && d.events[i].threshold == ORVANEL_HORIZON)
                levers.push_back(MsDe(d.events[i].unix_utc));
            if (d.events[i].type == ORVANEL_TRANSIT) passages.push_back(MsDe(d.events[i].unix_utc));
        }
        std::vector<long long> attendus;
        for (const Json& t : jour["lever_utc"]) attendus.push_back(MsDe(t.get<std::string>()));
        EXPECT_EQ(levers, attendus);
        attendus.clear();
        for (const Json& t : jour["passage_utc"]) attendus.push_back(MsDe(t.get<std::string>()));
        EXPECT_EQ(passages, attendus);
        EXPECT_EQ(d.day_length_min, jour["duree_jour_min"].get<double>());
        EXPECT_EQ(etats[d.states[0]], jour["seuils"]["lever_coucher"].get<std::string>());
        for (std::size_t s = 0; s < c.seuils.size(); ++s)
            EXPECT_EQ(etats[d.threshold_states[s]], jour["hauteurs"][s]["etat"].get<std::string>());
        // Each date of the year is that date's day alone.
        if (k % 61 == 0) {
            orvanel_sky_day seul{};
            ASSERT_EQ(orvanel_sky_day_events(d.year, d.month, d.day, &site, &ciel, NAN, &seul),
                      ORVANEL_OK);
            ASSERT_EQ(seul.count, d.count);
            for (int i = 0; i < d.count; ++i)
                EXPECT_EQ(seul.events[i].unix_utc, d.events[i].unix_utc);
        }
    }
}

TEST(CielDeLaBibliotheque, ABadSkyIsRefusedAndNothingWritten) {
    const orvanel_site site{2.35, 48.85, 0};
    const double seuils[] = {6, 6};
    const double haut[] = {95};
    const orvanel_skyline_point un[] = {{0, 1}};
    const orvanel_skyline_point trop[] = {{0, 1}, {90, 91}};
    const orvanel_skyline_point bon[] = {{0, 1}, {90, 2}};
    std::vector<double> beaucoup(ORVANEL_MAX_THRESHOLDS + 1);
    for (std::size_t i = 0; i < beaucoup.size(); ++i) beaucoup[i] = static_cast<double>(i);
    const orvanel_sky mauvais[] = {
        {-1, nullptr, 0, nullptr, 0},
        {ORVANEL_EYE_HEIGHT_MAX_M + 1, nullptr, 0, nullptr, 0},
        {0, seuils, 2, nullptr, 0},
        {0, haut, 1, nullptr, 0},
        {0, beaucoup.data(), beaucoup.size(), nullptr, 0},
        {0, nullptr, 1, nullptr, 0},
        {0, nullptr, 0, un, 1},
        {0, nullptr, 0, trop, 2},
        {10, nullptr, 0, bon, 2},
    };
    for (const orvanel_sky& ciel : mauvais) {
        orvanel_sky_day d{};
        d.count = -7;
        EXPECT_EQ(orvanel_sky_day_events(2026, 6, 21, &site, &ciel, NAN, &d), ORVANEL_ERROR_SKY);
        EXPECT_EQ(d.count, -7);
        std::vector<orvanel_sky_day> an(366);
        an[0].count = -7;
        EXPECT_EQ(orvanel_year_events(2026, &site, &ciel, NAN, an.data(), an.size()),
                  ORVANEL_ERROR_SKY);
        EXPECT_EQ(an[0].count, -7);
    }
    EXPECT_STRNE(orvanel_error_text(ORVANEL_ERROR_SKY), "unknown result code");
    orvanel_sky_day d{};
    EXPECT_EQ(orvanel_sky_day_events(2026, 2, 29, &site, nullptr, NAN, &d), ORVANEL_ERROR_DATE);
    EXPECT_EQ(orvanel_sky_day_events(2026, 2, 28, nullptr, nullptr, NAN, &d), ORVANEL_ERROR_NULL);
    EXPECT_EQ(orvanel_year_events(ORVANEL_LAST_YEAR + 1, &site, nullptr, NAN, &d, 366),
              ORVANEL_ERROR_DATE);
    // A null sky is the flat horizon: the older call's day.
    orvanel_day plat{};
    ASSERT_EQ(orvanel_sky_day_events(2026, 2, 28, &site, nullptr, NAN, &d), ORVANEL_OK);
    ASSERT_EQ(orvanel_day_events(2026, 2, 28, &site, NAN, &plat), ORVANEL_OK);
    ASSERT_EQ(d.count, plat.count);
    for (int i = 0; i < d.count; ++i) EXPECT_EQ(d.events[i].unix_utc, plat.events[i].unix_utc);
}

// The two calls of a day give the same day to the bit, its change of day length included, where
// a leap second makes dynamical time - UTC differ between the date's noon and the eve's.
TEST(CielDeLaBibliotheque, TheFlatDayIsTheSameDayInBothCalls) {
    struct Cas {
        double lon, lat;
        int a, m, j;
        double tt;
    };
    const Cas cas[] = {{2.35, 48.86, 2017, 1, 1, NAN},   {2.35, 48.86, 2015, 7, 1, NAN},
                       {2.35, 48.86, 2016, 12, 31, NAN}, {-70.67, -33.45, 2012, 7, 1, NAN},
                       {18.95, 69.65, 2026, 6, 21, NAN}, {18.95, 69.65, 2026, 12, 21, 70.0},
                       {139.7, 35.7, 2240, 3, 20, NAN}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << c.a << "-" << c.m << "-" << c.j << " " << c.lat);
        const orvanel_site site = {c.lon, c.lat, 0};
        orvanel_sky_day ciel{};
        orvanel_day plat{};
        ASSERT_EQ(orvanel_sky_day_events(c.a, c.m, c.j, &site, nullptr, c.tt, &ciel), ORVANEL_OK);
        ASSERT_EQ(orvanel_day_events(c.a, c.m, c.j, &site, c.tt, &plat), ORVANEL_OK);
        EXPECT_EQ(ciel.start_unix_utc, plat.start_unix_utc);
        ASSERT_EQ(ciel.count, plat.count);
        for (int i = 0; i < ciel.count; ++i) {
            EXPECT_EQ(ciel.events[i].unix_utc, plat.events[i].unix_utc);
            EXPECT_EQ(ciel.events[i].azimuth_deg, plat.events[i].azimuth_deg);
        }
        for (int k = 0; k < 4; ++k) EXPECT_EQ(ciel.states[k], plat.states[k]);
        EXPECT_EQ(ciel.day_length_min, plat.day_length_min);
        EXPECT_EQ(ciel.day_length_change_min, plat.day_length_change_min);
    }
}

}  // namespace
