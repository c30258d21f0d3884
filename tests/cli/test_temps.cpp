// The command-line program's time scales and texts of instants, in process: legal time against
// UTC over whole years, the leap-second table and the model of Delta T, the reader of instants.
#include <gtest/gtest.h>

#include <cmath>
#include <date/date.h>
#include <date/tz.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "PosSoleil.h"

namespace {

using Ms = date::sys_time<std::chrono::milliseconds>;

std::vector<std::string> Decoupe(const std::string& ligne, char separateur) {
    std::vector<std::string> champs;
    std::istringstream in(ligne);
    for (std::string c; std::getline(in, c, separateur);) champs.push_back(c);
    return champs;
}

// An ISO 8601 text read by the date library, as a script's parser would read it. GCC 12 sees
// a variable of the library's parser as possibly uninitialized once inlined; it is set first.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
bool Lit(const std::string& texte, const char* format, Ms& instant) {
    std::istringstream in(texte);
    in >> date::parse(format, instant);
    return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

}  // namespace

TEST(HeureLegale, EveryLegalTimeIsItsRowsUtcPlusTheOffset) {
    // Every day of 2026 in two zones whose summer times change in opposite seasons: each event's
    // legal time, in CSV and in text, is the UTC time beside it plus the zone's offset at that
    // instant, to the same precision, with the zone's abbreviation in its own field.
    for (const std::string fuseau : {"Europe/Paris", "Australia/Sydney"}) {
        SCOPED_TRACE(fuseau);
        const date::time_zone* zone = date::locate_zone(fuseau);
        Cli::Reglages r;
        r.site = fuseau == "Europe/Paris" ? PosSoleil::Site{2.35, 48.85, 0}
                                          : PosSoleil::Site{151.21, -33.87, 0};
        r.fuseau = fuseau;
        std::set<long long> decalages;
        int evenements = 0;
        for (date::sys_days jour = date::year(2026) / 1 / 1;
             jour <= date::sys_days(date::year(2026) / 12 / 31); jour += date::days(1)) {
            const date::year_month_day ymd(jour);
            const int a = static_cast<int>(ymd.year());
            const int m = static_cast<int>(static_cast<unsigned>(ymd.month()));
            const int j = static_cast<int>(static_cast<unsigned>(ymd.day()));
            std::ostringstream csv, texte;
            r.format = Cli::Format::Csv;
            Cli::EcritJour(csv, r, a, m, j);
            r.format = Cli::Format::Texte;
            Cli::EcritJour(texte, r, a, m, j);
            std::istringstream lignesCsv(csv.str());
            std::string ligne;
            std::getline(lignesCsv, ligne);
            const auto noms = Decoupe(ligne, ',');
            const auto colonne = [&](const char* nom) {
                return static_cast<std::size_t>(std::find(noms.begin(), noms.end(), nom) -
                                                noms.begin());
            };
            while (std::getline(lignesCsv, ligne)) {
                const auto v = Decoupe(ligne, ',');
                if (v[colonne("etat")] != "franchi") continue;
                ++evenements;
                Ms utc, legal;
                ASSERT_TRUE(Lit(v[colonne("date_utc")], "%FT%TZ", utc)) << ligne;
                ASSERT_TRUE(Lit(v[colonne("date_legale")], "%FT%T%Ez", legal)) << ligne;
                EXPECT_EQ(legal, utc) << ligne;
                const date::sys_info info = zone->get_info(utc);
                EXPECT_EQ(v[colonne("abreviation")], info.abbrev);
                EXPECT_EQ(v[colonne("date_legale")].substr(23),
                          date::format("%Ez", date::make_zoned(zone, utc)));
                decalages.insert(info.offset.count());
            }
            std::istringstream lignesTexte(texte.str());
            std::getline(lignesTexte, ligne);
            while (std::getline(lignesTexte, ligne)) {
                const auto v = Decoupe(ligne, '\t');
                if (v.size() < 4) continue;  // states and the day length
                Ms utc, legal;
                ASSERT_TRUE(Lit(v[1], "%FT%TZ", utc)) << ligne;
                const std::string local = v[2].substr(0, v[2].find(' ', 11));
                ASSERT_TRUE(Lit(local, "%FT%T%Ez", legal)) << ligne;
                EXPECT_EQ(legal, utc) << ligne;
                EXPECT_EQ(v[2].substr(v[2].rfind(' ') + 1), zone->get_info(utc).abbrev) << ligne;
            }
        }
        EXPECT_GT(evenements, 365 * 6);
        EXPECT_EQ(decalages.size(), 2u);  // both changes of summer time were crossed
    }
}

TEST(HeureLegale, TableRowsAcrossTheChanges) {
    // A year of hourly rows in CSV: the legal column is the UTC column's instant, to the same
    // millisecond, its offset the zone's, around the night of each change.
    Cli::Reglages r;
    r.site = {2, 48, 0};
    r.fuseau = "Europe/Paris";
    r.format = Cli::Format::Csv;
    std::ostringstream sortie;
    Cli::EcritTable(sortie, r, PosSoleil::EncodeDateValeur(2026, 1, 1, 0, 30, 0), 1.0 / 24, 8760,
                    2);
    std::istringstream lignes(sortie.str());
    std::string ligne;
    std::getline(lignes, ligne);
    int n = 0;
    std::set<std::string> abreviations;
    while (std::getline(lignes, ligne)) {
        const auto v = Decoupe(ligne, ',');
        Ms utc, legal;
        ASSERT_TRUE(Lit(v[0], "%FT%TZ", utc)) << ligne;
        ASSERT_TRUE(Lit(v[1], "%FT%T%Ez", legal)) << ligne;
        EXPECT_EQ(legal, utc);
        EXPECT_EQ(v[0].substr(19, 4), ".000");
        EXPECT_EQ(v[1].substr(19, 4), ".000");
        abreviations.insert(v[2]);
        ++n;
    }
    EXPECT_EQ(n, 8760);
    EXPECT_EQ(abreviations, (std::set<std::string>{"CET", "CEST"}));
}

TEST(TempsDynamique, LeapSecondsAtTheirBoundaries) {
    struct Cas {
        int a, mo, j, h, mi, s, taiMoinsUtc;
    };
    const Cas cas[] = {{1971, 12, 31, 23, 59, 59, 10}, {1972, 1, 1, 0, 0, 0, 10},
                       {1972, 6, 30, 23, 59, 59, 10},  {1972, 7, 1, 0, 0, 0, 11},
                       {2016, 12, 31, 23, 59, 59, 36}, {2017, 1, 1, 0, 0, 0, 37},
                       {2026, 12, 31, 23, 59, 59, 37}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.a);
        const double t = PosSoleil::EncodeDateValeur(c.a, c.mo, c.j, c.h, c.mi, c.s);
        EXPECT_EQ(Contrat::TaiMoinsUtc(t), c.taiMoinsUtc);
        if (c.a >= 1972) {
            EXPECT_EQ(Contrat::TEmoinsTUParDefaut(t).source, Contrat::SourceTEmoinsTU::Table);
            EXPECT_NEAR(Contrat::TEmoinsTUParDefaut(t).secondes, c.taiMoinsUtc + 32.184, 1e-12);
        }
    }
}

TEST(TempsDynamique, TheModelMatchesObservedDeltaT) {
    // Delta T at the start of the year as measured (Astronomical Almanac), within a second:
    // the model stands for the years before the table.
    struct Cas {
        int annee;
        double deltaT;
    };
    for (const Cas& c :
         {Cas{1900, -2.72}, Cas{1930, 24.08}, Cas{1955, 31.07}, Cas{1960, 33.15}, Cas{1965, 35.73},
          Cas{1970, 40.18}, Cas{1980, 50.54}, Cas{1990, 56.86}, Cas{2000, 63.83}}) {
        SCOPED_TRACE(c.annee);
        EXPECT_NEAR(Contrat::DeltaTModele(PosSoleil::EncodeDateValeur(c.annee, 1, 1, 0, 0, 0)),
                    c.deltaT, 1.0);
    }
    // Two centuries ahead the usual models give 400 to 500 s.
    const Contrat::ValeurTEmoinsTU loin =
        Contrat::TEmoinsTUParDefaut(PosSoleil::EncodeDateValeur(2199, 6, 1, 0, 0, 0));
    EXPECT_EQ(loin.source, Contrat::SourceTEmoinsTU::Modele);
    EXPECT_GT(loin.secondes, 400);
    EXPECT_LT(loin.secondes, 500);
}

TEST(TempsDynamique, JoinedWithoutAJump) {
    // Across both joins of table and model, and day by day from 1962 to 2250 outside the leap
    // seconds themselves, the default never steps by more than 0.1 s.
    const double seconde = 1 / PosSoleil::SecondesParJour;
    for (const double join :
         {PosSoleil::EncodeDateValeur(1972, 1, 1, 0, 0, 0), Contrat::FinTableSauts()}) {
        const double avant = Contrat::TEmoinsTUParDefaut(join - seconde / 1000).secondes,
                     apres = Contrat::TEmoinsTUParDefaut(join).secondes;
        EXPECT_LT(std::fabs(apres - avant), 0.1) << join;
        EXPECT_NE(Contrat::TEmoinsTUParDefaut(join - seconde).source,
                  Contrat::TEmoinsTUParDefaut(join).source);
    }
    double precedent =
        Contrat::TEmoinsTUParDefaut(PosSoleil::EncodeDateValeur(1962, 1, 1, 0, 0, 0)).secondes;
    for (double t = PosSoleil::EncodeDateValeur(1962, 1, 2, 0, 0, 0);
         t < PosSoleil::EncodeDateValeur(2251, 1, 1, 0, 0, 0); t += 1) {
        const double valeur = Contrat::TEmoinsTUParDefaut(t).secondes;
        const double saut = valeur - precedent;
        if (std::fabs(saut - 1) > 1e-9) {
            EXPECT_LT(std::fabs(saut), 0.1) << t;
        }
        precedent = valeur;
    }
}

TEST(LitInstant, FormsAndRefusals) {
    struct Cas {
        const char* texte;
        bool valide;
        int a, mo, j, h, mi;
        double s;
        int jourEcrit;
    };
    const Cas cas[] = {
        {"2026-12-08T12:00:00Z", true, 2026, 12, 8, 12, 0, 0, 8},
        {"2026-12-08 12:00", true, 2026, 12, 8, 12, 0, 0, 8},
        {"2026-12-08", true, 2026, 12, 8, 0, 0, 0, 8},
        {"2026-12-08T13:30:15.25+01:00", true, 2026, 12, 8, 12, 30, 15.25, 8},
        {"2026-06-21T23:30:00-05:00", true, 2026, 6, 22, 4, 30, 0, 21},
        {"2026-06-21T00:30:00+0930", true, 2026, 6, 20, 15, 0, 0, 21},
        {"2026-06-21T00:30:00.1234z", true, 2026, 6, 21, 0, 30, 0.123, 21},
        {"2024-02-29T00:00:00Z", true, 2024, 2, 29, 0, 0, 0, 29},
        // A fraction that rounds to a whole second carries into the next day and year.
        {"2026-12-31T23:59:59.9996Z", true, 2027, 1, 1, 0, 0, 0, 31},
        {"2026-12-08T12:00:00.5+00:00", true, 2026, 12, 8, 12, 0, 0.5, 8},
        {"2026-12-08T00:00:00.000-00:01", true, 2026, 12, 8, 0, 1, 0, 8},
        {"2026-02-29", false, 0, 0, 0, 0, 0, 0, 0},
        {"2026-13-01", false, 0, 0, 0, 0, 0, 0, 0},
        {"2026-12-08T24:00", false, 0, 0, 0, 0, 0, 0, 0},
        {"2026-12-08T12:60", false, 0, 0, 0, 0, 0, 0, 0},
        {"2026-12-08T12:00:00+01:00 CET", false, 0, 0, 0, 0, 0, 0, 0},
        {"2026-12-8", false, 0, 0, 0, 0, 0, 0, 0},
        {"hier", false, 0, 0, 0, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.texte);
        const auto instant = Cli::AnalyseInstant(c.texte);
        ASSERT_EQ(instant.has_value(), c.valide);
        if (!c.valide) {
            EXPECT_THROW(Cli::LitInstant(c.texte, "--date"), Cli::ErreurUsage);
            continue;
        }
        EXPECT_EQ(instant->t, PosSoleil::EncodeDateValeur(c.a, c.mo, c.j, c.h, c.mi, c.s));
        EXPECT_EQ(instant->jour, c.jourEcrit);
    }
}
