// The table's rules and texts that the generator window and the command line share.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PosSoleil.h"
#include "Tableau.h"

namespace {

TEST(TexteDMS, SecondsThatRoundToSixtyCarry) {
    struct Cas {
        double angle;
        int decimales;
        const char* attendu;
    };
    const Cas cas[] = {
        {151 + 12.0 / 60, 0, " 151°12'00\""},  // 151.2 is stored a hair below
        {119 + 54.0 / 60 + 59.6 / 3600, 0, " 119°55'00\""},
        {-(18 + 56.0 / 60 + 59.7 / 3600), 0, "-18°57'00\""},
        {59.0 / 60 + 59.96 / 3600, 1, " 01°00'00.0\""},
        {2 + 1.0 / 60 + 49.0 / 3600, 0, " 02°01'49\""},
        {-0.1 / 3600, 0, " 00°00'00\""},  // no negative zero
        {0.0, 2, " 00°00'00.00\""},
        {23.7, 2, " 23°42'00.00\""},  // the engine's own text: 23°41'60.00"
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.angle);
        EXPECT_EQ(Tableau::TexteDMS(c.angle, c.decimales, "."), c.attendu);
    }
    EXPECT_EQ(Tableau::TexteDMS(12.5, 1, ","), " 12°30'00,0\"");
    // Hours of right ascension: 359.99999 degrees is 23h59mn59.9976s, which rounds to 24h.
    EXPECT_EQ(Tableau::TexteHMS(359.99999, 2, "."), " 24h00mn00.00s");
    EXPECT_EQ(Tableau::TexteHMS(280.4, 2, "."), " 18h41mn36.00s");
}

TEST(LigneSite, CarriedWhenAsked) {
    const double longitude = 18 + 57.0 / 60, latitude = 69 + 39.0 / 60;
    EXPECT_EQ(Tableau::LigneSite(longitude, latitude, true, true, ".", true),
              "Longitude E  18°57'00\", Latitude N  69°39'00\"");
    EXPECT_EQ(Tableau::LigneSite(-longitude, -latitude, false, false, ".", true),
              "Longitude O  18°57'00\", Latitude S  69°39'00\"");
}

TEST(Duree, NoNegativeZero) {
    EXPECT_EQ(Tableau::Duree(-0.08 / 3600, true), "+00:00:00");
    EXPECT_EQ(Tableau::Duree(-0.6 / 3600, true), "-00:00:01");
    EXPECT_EQ(Tableau::Duree(2.5 / 60, true), "+00:02:30");
    EXPECT_EQ(Tableau::Duree(9.25, false), "09:15:00");
}

TEST(Serie, RowsCountAndEnd) {
    const double debut = PosSoleil::EncodeDateValeur(2250, 1, 1, 0, 0, 0);
    // A count of 0 still gives one row.
    EXPECT_EQ(Tableau::LignesDemandees(0), 1);
    // A daily series from 2250-01-01 ends after its first row in 2252: 731 rows.
    std::vector<Tableau::Instant> rangees;
    const bool finAnnee =
        Tableau::Rangees(debut, 1.0, 0, 999999, [&](const Tableau::Instant& c, long long) {
            rangees.push_back(c);
            return true;
        });
    EXPECT_TRUE(finAnnee);
    ASSERT_EQ(rangees.size(), 731u);
    EXPECT_EQ(rangees.back().annee, 2252);
    EXPECT_EQ(rangees.back().mois, 1);
    EXPECT_EQ(rangees.back().jour, 1);
    // A minute series stays on whole minutes: each instant afresh from the start.
    const double minuit = PosSoleil::EncodeDateValeur(2000, 1, 1, 0, 0, 0);
    const double pas = Tableau::PasEnJours(1, Tableau::Unite::Minutes);
    const Tableau::Instant derniere = Tableau::InstantSerie(minuit, pas, 1439);
    EXPECT_EQ(derniere.heure, 23);
    EXPECT_EQ(derniere.minute, 59);
    EXPECT_EQ(derniere.seconde, 0);
    EXPECT_EQ(derniere.t, PosSoleil::EncodeDateValeur(2000, 1, 1, 23, 59, 0));
    // A row that asks to stop ends the series there.
    int vues = 0;
    EXPECT_FALSE(Tableau::Rangees(minuit, pas, 0, 10, [&](const Tableau::Instant&, long long i) {
        ++vues;
        return i < 3;
    }));
    EXPECT_EQ(vues, 4);
}

TEST(Serie, StepUnitsAndTheTimeDifference) {
    EXPECT_EQ(Tableau::PasEnJours(90, Tableau::Unite::Secondes), 90 / 86400.0);
    EXPECT_EQ(Tableau::PasEnJours(90, Tableau::Unite::Minutes), 90 / 1440.0);
    EXPECT_EQ(Tableau::PasEnJours(6, Tableau::Unite::Heures), 0.25);
    EXPECT_EQ(Tableau::PasEnJours(2, Tableau::Unite::Jours), 2.0);
    EXPECT_EQ(Tableau::TEmoinsTU(32), 64.184);
    EXPECT_EQ(Tableau::TEmoinsTU(37), 69.184);
}

}  // namespace
