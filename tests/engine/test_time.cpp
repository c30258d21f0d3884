// Date-time values, Julian dates, the time argument T and sidereal time.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "Interne.h"
#include "PosSoleil.h"

using namespace PosSoleil;

TEST(EncodeDateValeur, KnownDates) {
    struct Cas {
        double annee, mois, jour, heure, minute, seconde;
        double attendu;
    };
    // Julian dates of the Gregorian calendar, minus the Julian date 2415018.5 of day 0.
    const Cas cas[] = {
        {1899, 12, 30, 0, 0, 0, 0.0},
        {1899, 12, 31, 0, 0, 0, 1.0},
        {1899, 12, 29, 6, 0, 0, -0.75},                  // before day 0 the time still adds
        {2000, 1, 1, 12, 0, 0, 36526.5},                 // J2000.0
        {1900, 3, 1, 0, 0, 0, 2415079.5 - 2415018.5},    // 1900 is not a leap year
        {2000, 2, 29, 0, 0, 0, 2451603.5 - 2415018.5},   // 2000 is
        {1582, 10, 15, 0, 0, 0, 2299160.5 - 2415018.5},  // first Gregorian day
        {1582, 10, 4, 0, 0, 0, 2299149.5 - 2415018.5},   // proleptic: no Julian calendar before
        {2250, 1, 1, 0, 0, 0, 2542855.5 - 2415018.5},
        {2000, 1, 1, 24, 0, 0, 36527.0},  // 24:00:00 rolls into the next day
        {2000, 1, 1, 25, 0, 0, 36527.0 + 1.0 / 24},
        {2000, 1, 1, 0, 0, 90, 36526.0 + 90.0 / 86400},
        {2000.9, 1.7, 1.99, 0, 0, 0, 36526.0},  // date parts truncated toward zero
        {2000, 13, 1, 0, 0, 0, 36526.0 + 366},  // a 13th month is January next year
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.annee << '-' << c.mois << '-' << c.jour << ' '
                                        << c.heure << ':' << c.minute << ':' << c.seconde);
        EXPECT_NEAR(EncodeDateValeur(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde),
                    c.attendu, 1e-9);
    }
}

TEST(DecodeDateValeur, RoundsToTheMillisecond) {
    struct Cas {
        double t;
        int annee, mois, jour, heure, minute, seconde, ms;
    };
    const Cas cas[] = {
        {0.0, 1899, 12, 30, 0, 0, 0, 0},
        {-0.75, 1899, 12, 29, 6, 0, 0, 0},
        {36526.5, 2000, 1, 1, 12, 0, 0, 0},
        {36526.5 + 1.0 / 86400 - 0.4e-3 / 86400, 2000, 1, 1, 12, 0, 1, 0},  // 0.9996 s
        {36526.5 + 1.0 / 86400 - 0.6e-3 / 86400, 2000, 1, 1, 12, 0, 0, 999},
        {36526.0 - 0.1e-3 / 86400, 2000, 1, 1, 0, 0, 0, 0},  // rounds up into the day
        {2451603.5 - 2415018.5 + 0.75, 2000, 2, 29, 18, 0, 0, 0},
        {2542855.5 - 2415018.5 + 729, 2251, 12, 31, 0, 0, 0, 0},
        {2542855.5 - 2415018.5 + 730, 2252, 1, 1, 0, 0, 0, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.t);
        int a, m, j, h, mi, s, ms;
        DecodeDateValeur(c.t, a, m, j, h, mi, s, ms);
        EXPECT_EQ(a, c.annee);
        EXPECT_EQ(m, c.mois);
        EXPECT_EQ(j, c.jour);
        EXPECT_EQ(h, c.heure);
        EXPECT_EQ(mi, c.minute);
        EXPECT_EQ(s, c.seconde);
        EXPECT_EQ(ms, c.ms);
    }
}

TEST(DecodeDateValeur, InvertsEncodingOverTheProgramsRange) {
    for (double t = 29221.0; t < 128000.0; t += 997.123456) {  // 1980 to about 2250
        int a, m, j, h, mi, s, ms;
        DecodeDateValeur(t, a, m, j, h, mi, s, ms);
        EXPECT_NEAR(EncodeDateValeur(a, m, j, h, mi, s + ms / 1000.0), t, 0.6e-3 / 86400) << t;
    }
}

TEST(DecodeDateValeur, BadValuesStayDefined) {
    for (const double t : {std::nan(""), 1e300, -1e300, HUGE_VAL, -HUGE_VAL}) {
        int a = 0, m = 0, j = 0, h = 0, mi = 0, s = 0, ms = 0;
        DecodeDateValeur(t, a, m, j, h, mi, s, ms);
        EXPECT_TRUE(m >= 1 && m <= 12 && j >= 1 && j <= 31 && h >= 0 && h < 24 && ms >= 0 &&
                    ms < 1000)
            << t;
    }
}

TEST(JourJulien, EpochAndJ2000) {
    EXPECT_EQ(JourJulien(0.0), 2415018.5);
    EXPECT_EQ(JourJulien(36526.5), 2451545.0);
}

TEST(SiecleJulien, AddsDynamicalTime) {
    EXPECT_NEAR(SiecleJulien(2451545.0, 64.184), 64.184 / 86400 / 36525, 1e-15);
    EXPECT_NEAR(SiecleJulien(2451545.0, 64.184), 2.0339e-8, 1e-12);
    EXPECT_EQ(SiecleJulien(2451545.0 + 36525, 0), 1.0);
    // 2026-12-07 12:00 UTC with the default difference
    EXPECT_NEAR(SiecleJulien(2461382.0, 64.184), 0.26932240226887, 1e-13);
}

TEST(TempsSideral, PublishedValues) {
    struct Cas {
        double JD, theta;
    };
    const Cas cas[] = {
        {2451545.0, 280.46061837},     // J2000.0: 18h41m50.54841s
        {2446895.5, 197.693195},       // 1987-04-10 0h UT: 13h10m46.3668s
        {2446896.30625, 128.7378734},  // 1987-04-10 19h21m UT: 8h34m57.0896s
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.JD);
        double theta0 = 0, theta = 0;
        TempsSideral(c.JD, theta0, theta);
        EXPECT_NEAR(theta, c.theta, 2e-6);
        EXPECT_GE(theta0, 0.0);
        EXPECT_LE(theta0, 360.0);
    }
}

TEST(TempsSideral, ZeroHourOfTheCivilDay) {
    double theta0 = 0, theta = 0;
    TempsSideral(2446895.5, theta0, theta);  // exactly 0h UT: the instant is its own 0h
    EXPECT_EQ(theta0, theta);

    double midi0 = 0, midi = 0;
    TempsSideral(2451545.0, midi0, midi);  // 12h UT: JD0 is half a day earlier
    double veille0 = 0, veille = 0;
    TempsSideral(2451544.5, veille0, veille);
    EXPECT_EQ(midi0, veille);
    EXPECT_NEAR(midi, Modulo360(midi0 + 0.5 * 360.98564736629), 1e-6);
}

TEST(TempsSideral, HugeDatesGiveATurn) {
    for (const double JD : {1e300, -1e300, 1e17, -1e17, std::numeric_limits<double>::max()}) {
        double theta0 = -1, theta = -1;
        TempsSideral(JD, theta0, theta);
        EXPECT_TRUE(theta0 >= 0 && theta0 <= 360) << JD << " gives " << theta0;
        EXPECT_TRUE(theta >= 0 && theta <= 360) << JD << " gives " << theta;
    }
}

// The sidereal time's reduction against the C library's fmod, bit for bit (the sign of a zero
// included): turns exactly, quotients that round up to an integer, the limit of the exact path,
// the huge and the not finite.
TEST(Reste360, IsFmodBitForBit) {
    const auto memes = [](double x) {
        const double attendu = std::fmod(x, 360.0), obtenu = PosSoleil::Interne::Reste360(x);
        return std::isnan(attendu)
                   ? std::isnan(obtenu)
                   : std::bit_cast<std::uint64_t>(attendu) == std::bit_cast<std::uint64_t>(obtenu);
    };
    const double cas[] = {0.0,
                          -0.0,
                          360.0,
                          -360.0,
                          720.0,
                          -1080.0,
                          std::nextafter(360.0, 0.0),
                          std::nextafter(360.0, 1e9),
                          std::nextafter(-360.0, 0.0),
                          std::nextafter(720.0, 0.0),
                          359.99999999999994,
                          1e-300,
                          -1e-300,
                          0x1p52 - 1,
                          0x1p52,
                          -0x1p52 + 0.5,
                          9.5e15,
                          1e300,
                          std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
    for (const double x : cas) EXPECT_TRUE(memes(x)) << x;
    std::mt19937_64 alea(360);
    std::uniform_real_distribution<double> exposant(-20, 52);
    int differences = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        const double x = std::ldexp(1.0, static_cast<int>(exposant(alea))) *
                         std::uniform_real_distribution<double>(-2, 2)(alea);
        const double turns = std::round(x / 360) * 360;  // whole turns and their neighbours
        for (const double y : {x, turns, std::nextafter(turns, 0.0), std::nextafter(turns, 1e300)})
            if (!memes(y) && ++differences < 5) ADD_FAILURE() << y;
    }
    EXPECT_EQ(differences, 0);
}

TEST(EquationEquinoxes, BoundedByNutation) {
    EXPECT_EQ(EquationEquinoxes(0.0, 23.44), 0.0);
    for (const double dpsi : {-0.005, -0.001, 0.003}) {
        const double e = EquationEquinoxes(dpsi, 23.44);
        EXPECT_LE(std::fabs(e), std::fabs(dpsi));
        EXPECT_NEAR(e, dpsi * 0.917477, 1e-8);  // cos 23.44 degrees
    }
}

TEST(Modulo360, ReducesToOneTurn) {
    struct Cas {
        double x, attendu;
    };
    const Cas cas[] = {{360, 0},
                       {725, 5},
                       {-30, 330},
                       {-360, 0},
                       {0, 0},
                       {359.5, 359.5},
                       {9975.383587, 9975.383587 - 27 * 360},
                       {-2500.0927, -2500.0927 + 7 * 360},
                       {-1e-20, 0}};  // a tiny negative angle rounds to a full turn, that is 0
    for (const auto& c : cas) {
        EXPECT_NEAR(Modulo360(c.x), c.attendu, 1e-9) << c.x;
        EXPECT_LT(Modulo360(c.x), 360.0) << c.x;
    }
    for (const double x : {1e300, -1e300, 1e17, -9.5e15}) {
        const double r = Modulo360(x);
        EXPECT_TRUE(r >= 0 && r < 360) << x << " gives " << r;
    }
}
