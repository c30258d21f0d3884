// The position driver and the three steps that only it uses.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PosSoleil.h"

using namespace PosSoleil;

namespace {

struct Resultats {
    double longitude, rayon, alpha, delta, azimut, hauteur, equation;
};

Resultats Calcule(double annee, double mois, double jour, double heure, double minute,
                  double seconde, double longitude, double latitude, double TEmoinsTU = 64.184) {
    Resultats r{};
    CalculPosition(annee, mois, jour, heure, minute, seconde, longitude, latitude, 0, TEmoinsTU,
                   r.longitude, r.rayon, r.alpha, r.delta, r.azimut, r.hauteur, r.equation);
    return r;
}

}  // namespace

TEST(CalculPosition, ReferenceRows) {
    struct Cas {
        double annee, mois, jour, heure, longitude, latitude;
        Resultats attendu;
    };
    const Cas cas[] = {
        {2000,
         1,
         1,
         12,
         0,
         0,
         {280.372786, 0.98332768, -78.721614, -23.032428, 178.068940, 66.952757, -0.054698}},
        {2026,
         12,
         7,
         12,
         2.0302777777777776,
         42.49666666666667,
         {9975.383587, 0.98524861, -105.864482, -22.636600, 184.239138, 24.750726, 0.142757}},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.annee);
        const Resultats r =
            Calcule(c.annee, c.mois, c.jour, c.heure, 0, 0, c.longitude, c.latitude);
        EXPECT_NEAR(r.longitude, c.attendu.longitude, 1e-6);
        EXPECT_NEAR(r.rayon, c.attendu.rayon, 1e-8);
        EXPECT_NEAR(r.alpha, c.attendu.alpha, 1e-6);
        EXPECT_NEAR(r.delta, c.attendu.delta, 1e-6);
        EXPECT_NEAR(r.azimut, c.attendu.azimut, 1e-6);
        EXPECT_NEAR(r.hauteur, c.attendu.hauteur, 1e-6);
        EXPECT_NEAR(r.equation, c.attendu.equation, 1e-6);
    }
}

// The chain rebuilt step by step for 2026-12-07 12:00:00 UTC at the default site.
TEST(CalculPosition, IntermediateValues) {
    const double latitude = 42.49666666666667, longitude = 2.0302777777777776;
    const double JD = JourJulien(EncodeDateValeur(2026, 12, 7, 12, 0, 0));
    EXPECT_EQ(JD, 2461382.0);
    const double T = SiecleJulien(JD, 64.184);
    EXPECT_NEAR(T, 0.26932240226887, 1e-13);

    double dpsi = 0, deps = 0;
    Nutation(T, Modulo360(AnomalieMoyenneLune(T)), Modulo360(AnomalieMoyenneSoleil(T)),
             ArgumentLatitudeLune(T), ElongationMoyenneLune(T), Modulo360(LongitudeNoeudLune(T)),
             dpsi, deps);
    EXPECT_NEAR(dpsi, 0.0024999262, 1e-10);
    EXPECT_NEAR(deps, 0.0019091548, 1e-10);
    const double eps0 = ObliquiteMoyenne(T);
    EXPECT_NEAR(eps0, 23.4357887957, 1e-10);  // the IAU 1980 mean obliquity (eraObl80)

    double theta0 = 0, theta = 0;
    TempsSideral(JD, theta0, theta);
    EXPECT_NEAR(theta, 256.2737886517, 1e-9);
    const double Theta = theta + longitude + EquationEquinoxes(dpsi, eps0 + deps);
    EXPECT_NEAR(Theta, 258.3063600946, 1e-9);

    double rs = 0, rc = 0, rho = 0, phiP = 0;
    CoordonneesObservateur(latitude, 0, rs, rc, rho, phiP);
    EXPECT_NEAR(rs, 0.6720523108, 1e-10);
    EXPECT_NEAR(rc, 0.7384455068, 1e-10);

    const Resultats r = Calcule(2026, 12, 7, 12, 0, 0, longitude, latitude);
    const double pi = ParallaxeHorizontale(r.rayon);
    EXPECT_NEAR(pi, 0.0024793934, 1e-10);
    double da = 0, dd = 0;
    Parallaxe(pi, rc, rs, r.delta, Theta - r.alpha, da, dd);
    EXPECT_NEAR(da, -0.0001442817, 1e-10);
    EXPECT_NEAR(dd, -0.0022407785, 1e-10);

    // The last steps of the chain, carried from the reference row's geocentric place (not from
    // the driver's own outputs), land on the reference row's azimuth and altitude.
    const double alphaRef = -105.864482, deltaRef = -22.636600;
    double az = 0, h = 0;
    CoordonneesHorizontales(Theta - alphaRef - da, latitude, deltaRef + dd, az, h);
    EXPECT_NEAR(az, 184.239138, 2e-6);
    EXPECT_NEAR(h, 24.750726, 2e-6);
    // The reference row's LongitudeSoleil carries no nutation: with deltaPsi added, and the
    // Sun's latitude opposite to the Earth's, it gives the reference right ascension and
    // declination.
    double alpha = 0, delta = 0;
    EcliptiqueVersEquateur(eps0 + deps, 9975.383587 + dpsi, -LatitudeTerre(T), alpha, delta);
    EXPECT_NEAR(alpha, alphaRef, 2e-5);
    EXPECT_NEAR(delta, deltaRef, 2e-5);
}

TEST(CalculPosition, EdgeCases) {
    // Summer solstice 2025, noon UTC on the equator at Greenwich, just before transit.
    const Resultats solstice = Calcule(2025, 6, 21, 12, 0, 0, 0, 0);
    EXPECT_NEAR(solstice.longitude, 9450.37, 0.01);
    EXPECT_NEAR(solstice.azimut, 1.07, 0.01);
    EXPECT_NEAR(solstice.hauteur, 66.56, 0.01);

    struct Equation {
        double annee, mois, jour, heures;
    };
    for (const auto& e : {Equation{2025, 11, 3, 0.274}, Equation{2026, 2, 11, -0.236}}) {
        EXPECT_NEAR(Calcule(e.annee, e.mois, e.jour, 12, 0, 0, 0, 0).equation, e.heures, 0.001)
            << e.mois;
    }
    // Throughout the year, the equation of time stays near zero whatever alpha's sign.
    for (double jour = 1; jour <= 365; jour += 4) {
        const Resultats r = Calcule(2030, 1, jour, 12, 0, 0, 0, 45);
        ASSERT_LT(std::fabs(r.equation), 0.29) << jour;
        ASSERT_GT(r.alpha, -180.0);
        ASSERT_LE(r.alpha, 180.0);
        ASSERT_GE(r.azimut, 0.0);
        ASSERT_LE(r.azimut, 360.0);
    }
}

TEST(CalculPosition, DynamicalTimeMovesTheSunNotTheSky) {
    const Resultats a = Calcule(2026, 12, 7, 12, 0, 0, 2.03, 42.5, 64.184);
    const Resultats b = Calcule(2026, 12, 7, 12, 0, 0, 2.03, 42.5, 124.184);
    EXPECT_NEAR(b.longitude - a.longitude, 0.0007, 0.00005);
    // The hour angle moves only with the Sun's right ascension: sidereal time stays put.
    EXPECT_NEAR((b.azimut - a.azimut), -(b.alpha - a.alpha), 0.0002);
}

TEST(CalculPosition, AnyFiniteInputGivesFiniteResults) {
    const double grands[] = {0.0,
                             -1.0,
                             1e300,
                             -1e300,
                             1e17,
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::denorm_min(),
                             95.0,
                             -400.0,
                             90.0,
                             -90.0};
    for (const bool scalaire : {false, true}) {
        for (const double x : grands) {
            SCOPED_TRACE(testing::Message() << x << (scalaire ? " scalar" : " vector"));
            const auto calcule = scalaire ? &Scalaire::CalculPosition : &CalculPosition;
            Resultats r{};
            for (int essai = 0; essai < 3; ++essai) {
                if (essai == 0)
                    calcule(x, 6, 15, 12, 0, 0, 2, 42, 0, 64.184, r.longitude, r.rayon, r.alpha,
                            r.delta, r.azimut, r.hauteur, r.equation);
                else if (essai == 1)
                    calcule(2020, x, x, x, x, x, x, x, x, x, r.longitude, r.rayon, r.alpha, r.delta,
                            r.azimut, r.hauteur, r.equation);
                else  // the time difference alone carries T out of every range
                    calcule(2020, 6, 15, 12, 0, 0, 2, x, 0, x, r.longitude, r.rayon, r.alpha,
                            r.delta, r.azimut, r.hauteur, r.equation);
                SCOPED_TRACE(essai);
                for (const double v :
                     {r.longitude, r.rayon, r.alpha, r.delta, r.azimut, r.hauteur, r.equation})
                    EXPECT_TRUE(std::isfinite(v)) << v;
                EXPECT_LE(std::fabs(r.hauteur), 90.0);
            }
        }
    }
}

TEST(PositionSoleil, SameResultsAsTheOutputParameterForm) {
    // The value form takes the date-time value of the instant; the figures are the same bits.
    struct Cas {
        double annee, mois, jour, heure, minute, seconde, longitude, latitude, altitude, TEmoinsTU;
    };
    const Cas cas[] = {{2026, 12, 7, 12, 0, 0, 2.0302777777777776, 42.49666666666667, 0, 64.184},
                       {1980, 1, 1, 0, 0, 0.5, -120.5, -33.9, 1500, 51.184},
                       {2250, 1, 1, 23, 59, 59.999, 179.9, 89, 0, 120}};
    for (const auto& c : cas) {
        SCOPED_TRACE(c.annee);
        Resultats r{};
        CalculPosition(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde, c.longitude,
                       c.latitude, c.altitude, c.TEmoinsTU, r.longitude, r.rayon, r.alpha, r.delta,
                       r.azimut, r.hauteur, r.equation);
        const double t = EncodeDateValeur(c.annee, c.mois, c.jour, c.heure, c.minute, c.seconde);
        const Position p = PositionSoleil(t, {c.longitude, c.latitude, c.altitude}, c.TEmoinsTU);
        EXPECT_EQ(p.LongitudeSoleil, r.longitude);
        EXPECT_EQ(p.RayonVecteur, r.rayon);
        EXPECT_EQ(p.AscensionDroite, r.alpha);
        EXPECT_EQ(p.Declinaison, r.delta);
        EXPECT_EQ(p.Azimut, r.azimut);
        EXPECT_EQ(p.Hauteur, r.hauteur);
        EXPECT_EQ(p.EquationTemps, r.equation);
    }
}

TEST(Aberration, FollowsTheConstantOfAberration) {
    // The classical -20.4898" / R, which the daily-motion series refines by a few 0.01".
    for (double T = -0.2; T < 0.3; T += 0.0123) {
        const double R = RayonTerre(T);
        EXPECT_NEAR(Aberration(T, R) * 3600, -20.4898 / R, 0.03) << T;
        EXPECT_NEAR(Aberration(T, 2 * R) / Aberration(T, R), 2.0, 1e-12);
    }
}

TEST(EcliptiqueVersEquateur, KnownConversions) {
    struct Cas {
        double epsilon, lambda, beta, alpha, delta;
    };
    const Cas cas[] = {
        {23.44, 0, 0, 0, 0},
        {23.44, 90, 0, 90, 23.44},
        {23.44, 180, 0, 180, 0},
        {23.44, 270, 0, -90, -23.44},
        {23.44, -90, 0, -90, -23.44},
        {0, 45, 10, 45, 10},
        // Pollux (J2000): lambda 113.215630, beta 6.684170 -> alpha 116.328942, delta 28.026183
        {23.4392911, 113.215630, 6.684170, 116.328942, 28.026183},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.lambda);
        double alpha = 0, delta = 0;
        EcliptiqueVersEquateur(c.epsilon, c.lambda, c.beta, alpha, delta);
        EXPECT_NEAR(alpha, c.alpha, 1e-6);
        EXPECT_NEAR(delta, c.delta, 1e-6);
    }
}

TEST(EquationDuTemps, WrapsAroundTheDay) {
    // alpha just below +180 while the mean Sun is near 0: the raw value is near -12 h, kept;
    // alpha near -180 with the mean Sun near 359: the raw value is near +24 h, brought back.
    const double T = 0.0;
    const double L0 = 280.4664567;
    EXPECT_NEAR(EquationDuTemps(T, L0 - 0.0057183, 0, 23.44), 0.0, 1e-12);
    EXPECT_NEAR(EquationDuTemps(T, L0 - 0.0057183 - 360 + 3, 0, 23.44), -3.0 / 15, 1e-9);
    EXPECT_NEAR(EquationDuTemps(T, L0 - 0.0057183 - 3, 0, 23.44), 3.0 / 15, 1e-9);
}

// The reduction's steps at dates away from J2000, against the worked examples of J. Meeus,
// Astronomical Algorithms, 2nd ed. (1998), each to the last decimal it publishes.
TEST(Reduction, PublishedExamplesAwayFromJ2000) {
    // 1992-10-13 0h dynamical time (example 28.a) and 1987-04-10 (examples 12.a and 22.a).
    const double T1992 = -0.072183436, T1987 = -0.127296372348;
    const double deltaPsi1992 = 15.908 / 3600, epsilon1992 = 23.440229;
    struct Cas {
        const char* quoi;
        double calcule, attendu, tolerance;
    };
    const Cas cas[] = {
        // The equation of the equinoxes, Delta psi = -3.788", epsilon = 23°26'36.850": -0.2317 s.
        {"equation of the equinoxes, seconds of time",
         EquationEquinoxes(-3.788 / 3600, 23 + 26.0 / 60 + 36.850 / 3600) * 240, -0.2317, 6e-5},
        // The equation of time from the apparent right ascension 198.378178°: 13 min 42.6 s.
        {"equation of time, minutes",
         EquationDuTemps(T1992, 198.378178 - 360, deltaPsi1992, epsilon1992) * 60, 13 + 42.6 / 60,
         0.1 / 60},
        // The mean obliquity: 23°26'27.407".
        {"mean obliquity, arcseconds", (ObliquiteMoyenne(T1987) - 23) * 3600, 26 * 60 + 27.407,
         0.001},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        EXPECT_NEAR(c.calcule, c.attendu, c.tolerance);
    }
}
