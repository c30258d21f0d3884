// The VSOP87D Earth series: reference values, the publishers' check values, the table itself.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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
        EXPECT_EQ(PosSoleil::LongitudeTerre(r.T), VSOPEAR::LongitudeTerre(r.T));
    }
}

TEST(LatitudeTerre, ReferenceValues) {
    for (const auto& r : References) {
        SCOPED_TRACE(r.T);
        EXPECT_NEAR(VSOPEAR::LatitudeTerre(r.T), r.latitude, 1e-9);
        EXPECT_EQ(PosSoleil::LatitudeTerre(r.T), VSOPEAR::LatitudeTerre(r.T));
    }
}

TEST(RayonTerre, ReferenceValues) {
    for (const auto& r : References) {
        SCOPED_TRACE(r.T);
        EXPECT_NEAR(VSOPEAR::RayonTerre(r.T), r.rayon, 1e-10);
        EXPECT_EQ(PosSoleil::RayonTerre(r.T), VSOPEAR::RayonTerre(r.T));
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
        EXPECT_NEAR(PosSoleil::Modulo360(VSOPEAR::LongitudeTerre(T)) * Rad, c.l, 1e-10);
        EXPECT_NEAR(VSOPEAR::LatitudeTerre(T) * Rad, c.b, 1e-10);
        EXPECT_NEAR(VSOPEAR::RayonTerre(T), c.r, 1e-10);
    }
}

TEST(VSOPEAR, AtEpochOnlyTheConstantSeriesCount) {
    // At T = 0 every power above 0 vanishes: the sums of L0, B0, R0 alone.
    double l0 = 0, b0 = 0, r0 = 0;
    for (std::size_t i = 0; i < std::size(VSOPEAR::L0_A); ++i) l0 += VSOPEAR::L0_A[i] * std::cos(VSOPEAR::L0_B[i]);
    for (std::size_t i = 0; i < std::size(VSOPEAR::B0_A); ++i) b0 += VSOPEAR::B0_A[i] * std::cos(VSOPEAR::B0_B[i]);
    for (std::size_t i = 0; i < std::size(VSOPEAR::R0_A); ++i) r0 += VSOPEAR::R0_A[i] * std::cos(VSOPEAR::R0_B[i]);
    EXPECT_NEAR(VSOPEAR::LongitudeTerre(0) * std::numbers::pi / 180, l0, 1e-14);
    EXPECT_NEAR(VSOPEAR::LatitudeTerre(0) * std::numbers::pi / 180, b0, 1e-16);
    EXPECT_NEAR(VSOPEAR::RayonTerre(0), r0, 1e-15);
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
    for (int i = 0; i < 5; ++i) b0 += VSOPEAR::B0_A[i] * std::cos(VSOPEAR::B0_B[i] + VSOPEAR::B0_C[i] * tau);
    for (int i = 0; i < 2; ++i) b1 += VSOPEAR::B1_A[i] * std::cos(VSOPEAR::B1_B[i] + VSOPEAR::B1_C[i] * tau);
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
    for (const double T : {-1e6, 1e6, 1e30, -1e30}) {
        EXPECT_FALSE(std::isinf(VSOPEAR::RayonTerre(T))) << T;
        EXPECT_FALSE(std::isinf(VSOPEAR::LatitudeTerre(T))) << T;
    }
    EXPECT_TRUE(std::isfinite(VSOPEAR::RayonTerre(1e6)));
    VSOPEAR::RayonTerre(1e300);  // tau^5 overflows to infinity there: no fault, only no meaning
}

TEST(VsopTable, MatchesThePublishedFile) {
    const std::string publie = Lire(ORVANEL_VSOP87_FILE);
    if (publie.empty()) GTEST_SKIP() << "the published file " ORVANEL_VSOP87_FILE " is absent: nothing to compare";
    const std::string engage = Lire(ORVANEL_TABLE_FILE);
    ASSERT_FALSE(engage.empty());
    EXPECT_EQ(Vsop87Gen::GenererTable(publie, "VSOP87D.ear"), engage)
        << "engine/VSOPEAR_data.h differs from what tools/vsop87_gen makes of the published file";
}

TEST(VsopTable, GeneratorRejectsAShortenedFile) {
    const std::string publie = Lire(ORVANEL_VSOP87_FILE);
    if (publie.empty()) GTEST_SKIP() << "the published file " ORVANEL_VSOP87_FILE " is absent";
    // Drop the last term line: the last series no longer has its announced count.
    const std::string tronque = publie.substr(0, publie.rfind('\n', publie.size() - 2) + 1);
    EXPECT_THROW(Vsop87Gen::GenererTable(tronque, "x"), std::runtime_error);
}

TEST(VsopTable, Sha256KnownDigests) {
    EXPECT_EQ(Vsop87Gen::Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Vsop87Gen::Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Vsop87Gen::Sha256Hex(std::string(1000, 'a')),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
}
