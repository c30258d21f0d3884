// Fundamental arguments, nutation and the mean obliquity.
#include <gtest/gtest.h>

#include <cmath>

#include "PosSoleil.h"

using namespace PosSoleil;

namespace {

void NutationA(double T, double& dpsi, double& deps) {
    Nutation(T, Modulo360(AnomalieMoyenneLune(T)), Modulo360(AnomalieMoyenneSoleil(T)),
             ArgumentLatitudeLune(T), ElongationMoyenneLune(T), Modulo360(LongitudeNoeudLune(T)),
             dpsi, deps);
}

}  // namespace

TEST(FundamentalArguments, PublishedValues) {
    struct Cas {
        double T, D, M, Mp, F, Om, tolerance;
    };
    const Cas cas[] = {
        {0.0, 297.8502042, 357.5290192, 134.9634114, 93.27209932, 125.044555, 1e-4},
        // 1987-04-10 0h dynamical time: Meeus, Astronomical Algorithms, example 22.a, from the
        // IAU 1980 arguments of chapter 22, whose epochs lie up to 0.0014 degree from the
        // engine's ELP-2000/82 ones (chapter 47).
        {-0.127296372348, 136.9623, 94.9792, 229.2784, 143.4079, 11.2531, 2e-3},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.T);
        EXPECT_NEAR(Modulo360(ElongationMoyenneLune(c.T)), c.D, c.tolerance);
        EXPECT_NEAR(Modulo360(AnomalieMoyenneSoleil(c.T)), c.M, c.tolerance);
        EXPECT_NEAR(Modulo360(AnomalieMoyenneLune(c.T)), c.Mp, c.tolerance);
        EXPECT_NEAR(Modulo360(ArgumentLatitudeLune(c.T)), c.F, c.tolerance);
        EXPECT_NEAR(Modulo360(LongitudeNoeudLune(c.T)), c.Om, c.tolerance);
    }
    // Far from J2000, where the squares and cubes of T weigh: against the IAU 1980 polynomials
    // as Meeus publishes them (chapter 22, p. 144), whose epochs and rates the engine's
    // ELP-2000/82 ones differ from by 0.003 degree at most at T = 2.5. A T^2 coefficient ten
    // times its value moves an argument by 0.008 degree or more there, and the Moon's at a tenth
    // of its value by 0.05 degree.
    const auto meeus = [](double T, double a0, double a1, double a2, double diviseur3) {
        return a0 + a1 * T + a2 * T * T + T * T * T / diviseur3;
    };
    for (const double T : {-0.2, 1.0, 1.8, 2.5}) {
        SCOPED_TRACE(T);
        const auto ecart = [](double a, double b) {
            return std::fabs(std::remainder(a - b, 360.0));
        };
        EXPECT_LT(
            ecart(ElongationMoyenneLune(T), meeus(T, 297.85036, 445267.111480, -0.0019142, 189474)),
            3.5e-3);
        EXPECT_LT(
            ecart(AnomalieMoyenneSoleil(T), meeus(T, 357.52772, 35999.050340, -0.0001603, -300000)),
            3.5e-3);
        EXPECT_LT(
            ecart(AnomalieMoyenneLune(T), meeus(T, 134.96298, 477198.867398, 0.0086972, 56250)),
            3.5e-3);
        EXPECT_LT(
            ecart(ArgumentLatitudeLune(T), meeus(T, 93.27191, 483202.017538, -0.0036825, 327270)),
            3.5e-3);
        EXPECT_LT(
            ecart(LongitudeNoeudLune(T), meeus(T, 125.04452, -1934.136261, 0.0020708, 450000)),
            3.5e-3);
    }
    EXPECT_EQ(ElongationMoyenneLune(0), 297.8502042);
    EXPECT_GT(ArgumentLatitudeLune(1.0), 360.0);  // not reduced
}

TEST(Nutation, PublishedValues) {
    struct Cas {
        double T, dpsi, deps, tolerance;  // arcseconds
    };
    const Cas cas[] = {
        {0.0, -13.924, -5.773, 0.0005},
        {-0.072183436, 15.908, -0.308, 0.0005},   // 1992-10-13 0h dynamical time
        {-0.127296372348, -3.788, 9.443, 0.002},  // 1987-04-10: the full 106-term series
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.T);
        double dpsi = 0, deps = 0;
        NutationA(c.T, dpsi, deps);
        EXPECT_NEAR(dpsi * 3600, c.dpsi, c.tolerance);
        EXPECT_NEAR(deps * 3600, c.deps, c.tolerance);
    }
}

TEST(Nutation, StaysWithinItsAmplitude) {
    for (double T = -0.5; T <= 0.5; T += 0.0007) {
        double dpsi = 0, deps = 0;
        NutationA(T, dpsi, deps);
        ASSERT_LT(std::fabs(dpsi * 3600), 18.93) << T;
        ASSERT_LT(std::fabs(deps * 3600), 9.96) << T;
    }
}

TEST(Nutation, UnreducedArgumentsGiveTheSameSums) {
    for (const double T : {-0.2, 0.27, 2.5}) {
        SCOPED_TRACE(T);
        const double D = ElongationMoyenneLune(T), F = ArgumentLatitudeLune(T);
        ASSERT_GT(std::fabs(D), 10000.0);
        double a = 0, b = 0, c = 0, d = 0;
        const double Mp = AnomalieMoyenneLune(T), M = AnomalieMoyenneSoleil(T),
                     Om = LongitudeNoeudLune(T);
        Nutation(T, Mp, M, F, D, Om, a, b);
        Nutation(T, Modulo360(Mp), Modulo360(M), Modulo360(F), Modulo360(D), Modulo360(Om), c, d);
        EXPECT_NEAR(a, c, 1e-12);
        EXPECT_NEAR(b, d, 1e-12);
    }
}

TEST(ObliquiteMoyenne, PublishedValues) {
    EXPECT_NEAR(ObliquiteMoyenne(0), 23 + 26.0 / 60 + 21.448 / 3600, 1e-12);
    EXPECT_NEAR(ObliquiteMoyenne(-0.127296372348), 23 + 26.0 / 60 + 27.407 / 3600, 2e-7);
    // 1992-10-13: the true obliquity
    double dpsi = 0, deps = 0;
    NutationA(-0.072183436, dpsi, deps);
    EXPECT_NEAR(ObliquiteMoyenne(-0.072183436) + deps, 23.440144, 1e-6);
}
