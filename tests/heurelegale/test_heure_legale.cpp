// Legal time read straight from the time layer against the C library's own reading of the
// time-zone database (localtime_r), in zones whose rules are out of the ordinary, from 2026 to
// the end of the program's dates: the offset, the abbreviation, the legal date and the text of
// every half hour around each change of the year, and the resident's day of dates where the
// zone is far from the site's meridian.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "HeureLegale.h"
#include "PosSoleil.h"
#include "Residents.h"

namespace {

// Summer time north and south, half and quarter hours, a half-hour summer shift (Lord Howe),
// a zone of +14 h, a zone 12:45 ahead and one whose rule moved with the years.
const char* const Zones[] = {"Europe/Paris",        "America/New_York", "Australia/Adelaide",
                             "Australia/Lord_Howe", "Asia/Kathmandu",   "America/St_Johns",
                             "Pacific/Kiritimati",  "Pacific/Chatham",  "America/Santiago",
                             "Europe/London"};
const int Annees[] = {2026, 2040, 2100, 2250};

// The C library's local time at a Unix time in a zone.
std::tm LocalLibC(const char* zone, long long unix) {
    setenv("TZ", zone, 1);
    tzset();
    const std::time_t t = static_cast<std::time_t>(unix);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

double DateValeur(long long unix) {
    return PosSoleil::JoursAvantUnix + static_cast<double>(unix) / PosSoleil::SecondesParJour;
}

// The instants to compare in a year: every half hour of the two days around each change of
// offset that the C library sees, and noon every fifth day.
std::vector<long long> Instants(const char* zone, int annee) {
    std::tm debut{};
    debut.tm_year = annee - 1900, debut.tm_mday = 1;
    const long long t0 = timegm(&debut);
    std::vector<long long> instants;
    long avant = LocalLibC(zone, t0).tm_gmtoff;
    for (long long t = t0; t < t0 + 366LL * 86400; t += 3600) {
        const long maintenant = LocalLibC(zone, t).tm_gmtoff;
        if (maintenant != avant)
            for (long long u = t - 86400; u < t + 86400; u += 1800) instants.push_back(u);
        avant = maintenant;
    }
    for (long long t = t0 + 43200; t < t0 + 365LL * 86400; t += 5 * 86400) instants.push_back(t);
    return instants;
}

}  // namespace

TEST(HeureLegale, EveryOffsetAbbreviationAndDateIsTheCLibrarys) {
    const char* tz = std::getenv("TZ");
    const std::string tzAvant = tz ? tz : "";
    for (const char* zone : Zones) {
        Legal::HeureLegale legal(zone);
        for (const int annee : Annees) {
            SCOPED_TRACE(testing::Message() << zone << " " << annee);
            const std::vector<long long> instants = Instants(zone, annee);
            ASSERT_GT(instants.size(), 70u);
            for (const long long unix : instants) {
                const std::tm local = LocalLibC(zone, unix);
                const double t = DateValeur(unix);
                const date::sys_info& p =
                    legal.Periode(date::sys_seconds(std::chrono::seconds(unix)));
                ASSERT_EQ(p.offset.count(), local.tm_gmtoff) << unix;
                EXPECT_EQ(legal.Abreviation(), local.tm_zone) << unix;
                const date::year_month_day d = legal.Date(t);
                EXPECT_EQ(static_cast<int>(d.year()), local.tm_year + 1900) << unix;
                EXPECT_EQ(static_cast<unsigned>(d.month()), unsigned(local.tm_mon + 1)) << unix;
                EXPECT_EQ(static_cast<unsigned>(d.day()), unsigned(local.tm_mday)) << unix;
                // The text: the C library's wall clock, then its offset as ±HH:MM.
                char attendu[64];
                const long m = (local.tm_gmtoff < 0 ? -local.tm_gmtoff : local.tm_gmtoff) / 60;
                std::snprintf(attendu, sizeof attendu, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                              local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec, local.tm_gmtoff < 0 ? '-' : '+', m / 60,
                              m % 60);
                EXPECT_EQ(legal.Texte(t, true), attendu);
            }
        }
    }
    if (tz)
        setenv("TZ", tzAvant.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

// Where the zone is far from the site's meridian, the site's day of a date has its transit on
// another legal date; the resident's day of D is the site's day whose transit, told in the C
// library's legal time, falls on D.
TEST(HeureLegale, TheResidentsDayHasItsTransitOnThatLegalDate) {
    struct Cas {
        const char* zone;
        double lon, lat;
    };
    const Cas cas[] = {{"Pacific/Kiritimati", -157.4, 1.87},
                       {"Pacific/Apia", -171.75, -13.83},
                       {"Pacific/Tongatapu", -175.2, -21.14},
                       {"Europe/Paris", 2.35, 48.86}};
    const char* tz = std::getenv("TZ");
    const std::string tzAvant = tz ? tz : "";
    for (const Cas& c : cas) {
        Legal::HeureLegale legal(c.zone);
        const Legal::Lieu lieu{{c.lon, c.lat, 0}, {}, std::nullopt, 0};
        for (const int annee : {2026, 2100}) {
            std::vector<Contrat::ValeurTEmoinsTU> tt;
            const std::vector<PosSoleil::JourSolaire> an =
                Legal::AnneeDuResident(lieu, &legal, annee, tt);
            for (int mois = 1; mois <= 12; mois += 3) {
                SCOPED_TRACE(testing::Message() << c.zone << " " << annee << "-" << mois);
                Contrat::ValeurTEmoinsTU v{};
                const PosSoleil::JourSolaire j =
                    Legal::JourDuResident(lieu, &legal, annee, mois, 15, v);
                double passage = NAN;
                for (const PosSoleil::Evenement& e : j.evenements)
                    if (e.type == PosSoleil::TypeEvenement::Passage) passage = e.t;
                ASSERT_FALSE(std::isnan(passage));
                const std::tm local =
                    LocalLibC(c.zone, std::llround((passage - PosSoleil::JoursAvantUnix) *
                                                   PosSoleil::SecondesParJour));
                EXPECT_EQ(local.tm_year + 1900, annee);
                EXPECT_EQ(local.tm_mon + 1, mois);
                EXPECT_EQ(local.tm_mday, 15);
                // The year's row of that date is the same day.
                const int rang = static_cast<int>((date::sys_days(date::year(annee) / mois / 15) -
                                                   date::sys_days(date::year(annee) / 1 / 1))
                                                      .count());
                ASSERT_EQ(an[static_cast<std::size_t>(rang)].evenements.size(),
                          j.evenements.size());
                EXPECT_EQ(an[static_cast<std::size_t>(rang)].duree, j.duree);
            }
        }
    }
    if (tz)
        setenv("TZ", tzAvant.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
