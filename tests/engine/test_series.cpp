// The VSOP87D Earth series: reference values, the publishers' check values, the table itself.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>
#include <sstream>

#include "PosSoleil.h"
#include "VSOPEAR.h"
#include "VSOPEAR_data.h"
#include "Vsop87Gen.h"

namespace {

struct Reference {
    double T, longitude, longitudeReduite, latitude, rayon;
};

// T of the second row is built from its Julian date, as the values were.
const Reference References[] = {
    {0.0, 100.377843671, 100.377843671, -0.000227211, 0.9833276819},
    {(2448908.5 - 2451545) / 36525, -2500.092702758, 19.907297242, -0.000206646, 0.9976085202},
    {0.25, 9100.563671017, 100.563671017, 0.000179587, 0.9833568426},
    {1.0, 36101.117764842, 101.117764842, -0.000058052, 0.9833513125},
    {-1.0, -35900.355617467, 99.644382533, -0.000032538, 0.9832689778},
};

std::string Lire(const char* chemin) {
    std::ifstream in(chemin, std::ios::binary);
    std::ostringstream texte;
    texte << in.rdbuf();
    return texte.str();
}

}  // namespace

TEST(LongitudeTerre, ReferenceValues) {
    for (const auto& r : References) {
        SCOPED_TRACE(r.T);
        EXPECT_NEAR(VSOPEAR::LongitudeTerre(r.T), r.longitude, 1.5e-9);
        EXPECT_NEAR(PosSoleil::Modulo360(VSOPEAR::LongitudeTerre(r.T)), r.longitudeReduite, 1.5e-9);
        EXPECT_NEAR(VSOPEAR::Scalaire::LongitudeTerre(r.T), r.longitude, 1.5e-9);
    }
}

TEST(LatitudeTerre, ReferenceValues) {
    for (const auto& r : References) {
        SCOPED_TRACE(r.T);
        EXPECT_NEAR(VSOPEAR::LatitudeTerre(r.T), r.latitude, 1e-9);
        EXPECT_NEAR(VSOPEAR::Scalaire::LatitudeTerre(r.T), r.latitude, 1e-9);
    }
}

TEST(RayonTerre, ReferenceValues) {
    for (const auto& r : References) {
        SCOPED_TRACE(r.T);
        EXPECT_NEAR(VSOPEAR::RayonTerre(r.T), r.rayon, 1e-10);
        EXPECT_NEAR(VSOPEAR::Scalaire::RayonTerre(r.T), r.rayon, 1e-10);
    }
}

// The publishers' own check values for VSOP87D Earth: l (reduced to a turn) and b in radians,
// r in au, at ten Julian dates of dynamical time from 1099 to 2000.
TEST(VSOPEAR, PublishersCheckValues) {
    struct Controle {
        double JD, l, b, r;
    };
    const Controle controles[] = {
        {2451545.0, 1.7519238681, -.0000039656, .9833276819},
        {2415020.0, 1.7391225563, -.0000005679, .9832689778},
        {2378495.0, 1.7262638916, .0000002083, .9832274321},
        {2341970.0, 1.7134419105, .0000025051, .9831498441},
        {2305445.0, 1.7006065938, -.0000016359, .9831254376},
        {2268920.0, 1.6877624960, -.0000020340, .9830816756},
        {2232395.0, 1.6750110961, .0000037879, .9830754409},
        {2195870.0, 1.6622048657, .0000015133, .9830942385},
        {2159345.0, 1.6495143197, -.0000013003, .9830440397},
        {2122820.0, 1.6367193623, -.0000031292, .9830331815},
    };
    constexpr double Rad = std::numbers::pi / 180;
    for (const auto& c : controles) {
        SCOPED_TRACE(c.JD);
        const double T = (c.JD - 2451545) / 36525;
        // The vector path, the scalar reference, and the engine's forwarding functions.
        EXPECT_NEAR(PosSoleil::Modulo360(PosSoleil::LongitudeTerre(T)) * Rad, c.l, 1e-10);
        EXPECT_NEAR(PosSoleil::LatitudeTerre(T) * Rad, c.b, 1e-10);
        EXPECT_NEAR(PosSoleil::RayonTerre(T), c.r, 1e-10);
        EXPECT_NEAR(PosSoleil::Modulo360(VSOPEAR::Scalaire::LongitudeTerre(T)) * Rad, c.l, 1e-10);
        EXPECT_NEAR(VSOPEAR::Scalaire::LatitudeTerre(T) * Rad, c.b, 1e-10);
        EXPECT_NEAR(VSOPEAR::Scalaire::RayonTerre(T), c.r, 1e-10);
    }
}

TEST(VSOPEAR, TheCompleteSeriesAreInPlace) {
    // The leading terms that tell version D from the others.
    EXPECT_EQ(VSOPEAR::L0_A[0], 1.75347045673);
    EXPECT_EQ(VSOPEAR::L1_A[0], 6283.31966747491);  // contains the general precession
    EXPECT_EQ(VSOPEAR::B1_A[0], 0.00000009030);
    EXPECT_EQ(VSOPEAR::B1_B[0], 3.89729061890);
    EXPECT_EQ(VSOPEAR::B1_C[0], 5507.55323866740);
    EXPECT_EQ(VSOPEAR::NombreTotalTermes, 2425);

    // A truncated latitude (five terms of B0, two of B1) misses 2.8e-5 degree in 1992.
    const double tau = (2448908.5 - 2451545) / 36525 / 10;
    double b0 = 0, b1 = 0;
    for (int i = 0; i < 5; ++i)
        b0 += VSOPEAR::B0_A[i] * std::cos(VSOPEAR::B0_B[i] + VSOPEAR::B0_C[i] * tau);
    for (int i = 0; i < 2; ++i)
        b1 += VSOPEAR::B1_A[i] * std::cos(VSOPEAR::B1_B[i] + VSOPEAR::B1_C[i] * tau);
    const double partielle = (b0 + b1 * tau) * 180 / std::numbers::pi;
    EXPECT_NEAR(partielle, -0.000178893, 1e-9);
    EXPECT_NEAR(VSOPEAR::LatitudeTerre(tau * 10), -0.000206646, 1e-9);
}

TEST(VSOPEAR, LongitudeIsNeverReduced) {
    EXPECT_LT(VSOPEAR::LongitudeTerre(-0.5), -17000.0);
    EXPECT_GT(VSOPEAR::LongitudeTerre(2.5), 90000.0);
    // about 36000.77 degrees per century
    EXPECT_NEAR(VSOPEAR::LongitudeTerre(1) - VSOPEAR::LongitudeTerre(0), 36000.77, 0.1);
}

TEST(VSOPEAR, FiniteForAnyFiniteTime) {
    // The vector cosine holds below 1e6 radians (about 130 centuries for the fastest terms);
    // past it the scalar sum takes over, and past any meaning of the theory T is held at a
    // bound. Every finite T gives a number on both paths.
    const double fois[] = {-1e300,
                           -1e30,
                           -1e6,
                           -1e3,
                           -131.0,
                           131.0,
                           1e3,
                           1e6,
                           1e30,
                           1e300,
                           std::numeric_limits<double>::max(),
                           -std::numeric_limits<double>::max()};
    for (const double T : fois) {
        SCOPED_TRACE(T);
        double L = 0, B = 0, R = 0;
        VSOPEAR::PositionTerre(T, L, B, R);
        for (const double v :
             {VSOPEAR::LongitudeTerre(T), VSOPEAR::LatitudeTerre(T), VSOPEAR::RayonTerre(T),
              VSOPEAR::Scalaire::LongitudeTerre(T), VSOPEAR::Scalaire::LatitudeTerre(T),
              VSOPEAR::Scalaire::RayonTerre(T), L, B, R})
            EXPECT_TRUE(std::isfinite(v)) << v;
    }
    // Just inside and outside the vector domain, the two paths still agree.
    for (const double T : {-100.0, 100.0, 200.0}) {
        SCOPED_TRACE(T);
        EXPECT_NEAR(VSOPEAR::RayonTerre(T), VSOPEAR::Scalaire::RayonTerre(T), 1e-9);
    }
}

TEST(VsopTable, MatchesThePublishedFile) {
    const std::string publie = Lire(ORVANEL_VSOP87_FILE);
    ASSERT_FALSE(publie.empty()) << "the published file " ORVANEL_VSOP87_FILE " is missing";
    const std::string engage = Lire(ORVANEL_TABLE_FILE);
    ASSERT_FALSE(engage.empty());
    EXPECT_EQ(Vsop87Gen::GenererTable(publie, "VSOP87D.ear", ORVANEL_VSOP87_SHA256), engage)
        << "engine/VSOPEAR_data.h differs from what tools/vsop87_gen makes of the published file";
}

TEST(VsopTable, GeneratorRejectsAShortenedFile) {
    const std::string publie = Lire(ORVANEL_VSOP87_FILE);
    ASSERT_FALSE(publie.empty()) << "the published file " ORVANEL_VSOP87_FILE " is missing";
    // Drop the last term line: the last series no longer has its announced count.
    const std::string tronque = publie.substr(0, publie.rfind('\n', publie.size() - 2) + 1);
    EXPECT_THROW(Vsop87Gen::GenererTable(tronque, "x", ORVANEL_VSOP87_SHA256), std::runtime_error);
}
