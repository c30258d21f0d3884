// The observer's place, parallax and horizontal coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "PosSoleil.h"

using namespace PosSoleil;

TEST(CoordonneesObservateur, ReferenceValues) {
    struct Cas {
        double phi, h, rs, rc;
    };
    const Cas cas[] = {
        {0, 0, 0, 1},
        {45, 0, 0.7035516, 0.7082932},
        {42.49666666666667, 0, 0.6720523, 0.7384455},
        {42.49666666666667, 1500, 0.6722112, 0.7386189},
        {-45, 0, -0.7035516, 0.7082932},
        {90, 0, 0.9966471868221031, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.phi << " " << c.h);
        double rs = 0, rc = 0, rho = 0, phiP = 0;
        CoordonneesObservateur(c.phi, c.h, rs, rc, rho, phiP);
        EXPECT_NEAR(rs, c.rs, 1e-7);
        EXPECT_NEAR(rc, c.rc, 1e-7);
        EXPECT_NEAR(rho, std::hypot(rs, rc), 1e-15);
    }
    double rs = 0, rc = 0, rho = 0, phiP = 0;
    CoordonneesObservateur(45, 0, rs, rc, rho, phiP);
    EXPECT_NEAR(phiP, 44.807577, 1e-6);
    CoordonneesObservateur(90, 0, rs, rc, rho, phiP);
    EXPECT_GE(rc, 0.0);  // a tiny positive value at the pole, not an error
    CoordonneesObservateur(0, 0, rs, rc, rho, phiP);
    EXPECT_EQ(rs, 0.0);
    EXPECT_EQ(rc, 1.0);
}

TEST(CoordonneesObservateur, AnyLatitudeAsTheReducedLatitudeGivesIt) {
    // Latitudes are not range-checked: beyond +-90 degrees the reduced latitude u, with
    // tan u = (b/a) tan phi and u within +-90 degrees, still fixes the observer's place.
    constexpr double ba = 1 - Aplatissement;
    for (const double phi : {-200.0, -135.0, -89.5, -30.0, 10.0, 89.999, 100.0, 135.0, 260.0}) {
        for (const double h : {0.0, 2500.0}) {
            SCOPED_TRACE(testing::Message() << phi << " " << h);
            const double p = phi * std::numbers::pi / 180;
            const double u = std::atan(ba * std::tan(p));
            double rs = 0, rc = 0, rho = 0, phiP = 0;
            CoordonneesObservateur(phi, h, rs, rc, rho, phiP);
            EXPECT_NEAR(rs, ba * std::sin(u) + h / RayonEquatorial * std::sin(p), 1e-15);
            EXPECT_NEAR(rc, std::cos(u) + h / RayonEquatorial * std::cos(p), 1e-15);
        }
    }
}

TEST(ParallaxeHorizontale, ScalesWithDistance) {
    EXPECT_NEAR(ParallaxeHorizontale(1.0) * 3600, 8.794148, 1e-6);
    EXPECT_NEAR(ParallaxeHorizontale(0.9833) * 3600, 8.94, 0.005);
    EXPECT_NEAR(ParallaxeHorizontale(1.0167) * 3600, 8.65, 0.005);
}

TEST(Parallaxe, CorrectionsFromTheSite) {
    double da = 1, dd = 1;
    Parallaxe(0.00244, 0, 0, 20, 35, da, dd);  // observer at the Earth's centre
    EXPECT_EQ(da, 0.0);
    EXPECT_EQ(dd, 0.0);
    // On the meridian the right ascension does not move and the Sun is pushed away from the
    // zenith; to first order -pi (rho sin phi' cos delta - rho cos phi' cos H sin delta).
    const double pi = 0.0024;
    const double s = 0.6720523, c = 0.7384455, delta = -22.6 * M_PI / 180;
    Parallaxe(pi, c, s, -22.6, 0, da, dd);
    EXPECT_NEAR(da, 0.0, 1e-15);
    EXPECT_NEAR(dd, -pi * (s * std::cos(delta) - c * std::sin(delta)), 2e-7);
    // Six hours west of the meridian on the equator, the Sun lags east by pi.
    Parallaxe(pi, 1.0, 0.0, 0.0, 90, da, dd);
    EXPECT_NEAR(da, -pi, 1e-9);
    EXPECT_NEAR(dd, 0.0, 1e-12);
}

TEST(CoordonneesHorizontales, CardinalPoints) {
    struct Cas {
        double H, phi, delta, azimut, hauteur;
    };
    const Cas cas[] = {
        {0, 45, 0, 180, 45},    // transit south of the zenith
        {0, 0, 23, 0, 67},      // transit north of the zenith: 0 (or 360)
        {90, 0, 0, 270, 0},     // setting on the equator, due west
        {-90, 0, 0, 90, 0},     // rising, due east
        {180, 45, 0, 0, -45},   // lower transit
        {360, 45, 0, 180, 45},  // hour angles need no reduction
        {0, -30, 0, 0, 60},     // southern site: the Sun transits to the north
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.H << " " << c.phi << " " << c.delta);
        double az = 0, h = 0;
        CoordonneesHorizontales(c.H, c.phi, c.delta, az, h);
        EXPECT_NEAR(std::fmod(az, 360.0), c.azimut, 1e-9);
        EXPECT_NEAR(h, c.hauteur, 1e-9);
        EXPECT_GE(az, 0.0);
        EXPECT_LE(az, 360.0);
    }
}
