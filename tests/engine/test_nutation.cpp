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
        double T, D, M, Mp, F, Om;
    };
    const Cas cas[] = {
        {0.0, 297.8502042, 357.5290192, 134.9634114, 93.27209932, 125.044555},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.T);
        EXPECT_NEAR(Modulo360(ElongationMoyenneLune(c.T)), c.D, 1e-4);
        EXPECT_NEAR(Modulo360(AnomalieMoyenneSoleil(c.T)), c.M, 1e-4);
        EXPECT_NEAR(Modulo360(AnomalieMoyenneLune(c.T)), c.Mp, 1e-4);
        EXPECT_NEAR(Modulo360(ArgumentLatitudeLune(c.T)), c.F, 1e-4);
        EXPECT_NEAR(Modulo360(LongitudeNoeudLune(c.T)), c.Om, 1e-4);
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
