// The Sun on surfaces against geometry built in the test: vectors for the incidence, a search for
// the best rotation, the shadow of one tracker row on the next, the engine's own transit and
// distance for the solar time and the irradiance.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "PosSoleil.h"

using namespace PosSoleil;

namespace {

using Vecteur = std::array<double, 3>;  // east, north, up
constexpr double RadSurface = std::numbers::pi / 180;

Vecteur Direction(double zenith, double azimut) {
    const double z = zenith * RadSurface, a = azimut * RadSurface;
    return {std::sin(z) * std::sin(a), std::sin(z) * std::cos(a), std::cos(z)};
}

double ProduitScalaire(const Vecteur& u, const Vecteur& v) {
    return u[0] * v[0] + u[1] * v[1] + u[2] * v[2];
}

double AngleEntre(const Vecteur& u, const Vecteur& v) {
    // atan2 of the cross product's length and the dot product: exact near 0 and 180 too.
    const Vecteur c = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                       u[0] * v[1] - u[1] * v[0]};
    return std::atan2(std::sqrt(ProduitScalaire(c, c)), ProduitScalaire(u, v)) / RadSurface;
}

// The tracker's frame built as vectors: the axis y' points to its azimuth, going down by its
// tilt; x' is horizontal, a quarter turn clockwise from it; z' = x' x y'. A right-handed rotation
// theta about y' turns the modules' normal from z' toward x'.
struct Repere {
    Vecteur x, y, z;
};
Repere RepereSuiveur(double inclinaison, double azimut) {
    const double b = inclinaison * RadSurface, g = azimut * RadSurface;
    Repere r;
    r.y = {std::cos(b) * std::sin(g), std::cos(b) * std::cos(g), -std::sin(b)};
    r.x = {std::cos(g), -std::sin(g), 0};
    r.z = {r.x[1] * r.y[2] - r.x[2] * r.y[1], r.x[2] * r.y[0] - r.x[0] * r.y[2],
           r.x[0] * r.y[1] - r.x[1] * r.y[0]};
    return r;
}
Vecteur Normale(const Repere& r, double theta) {
    const double c = std::cos(theta * RadSurface), s = std::sin(theta * RadSurface);
    return {r.z[0] * c + r.x[0] * s, r.z[1] * c + r.x[1] * s, r.z[2] * c + r.x[2] * s};
}

}  // namespace

TEST(Surface, IncidenceIsTheAngleBetweenTheSunAndTheNormal) {
    std::mt19937_64 alea(30);
    std::uniform_real_distribution<double> zenith(0, 180), azimut(-360, 720), tilt(0, 180);
    for (int i = 0; i < 20000; ++i) {
        const double z = zenith(alea), A = azimut(alea), beta = tilt(alea), gamma = azimut(alea);
        const Vecteur soleil = Direction(z, A), normale = Direction(beta, gamma);
        SCOPED_TRACE(testing::Message() << z << " " << A << " " << beta << " " << gamma);
        EXPECT_NEAR(ProjectionIncidence(beta, gamma, z, A), ProduitScalaire(soleil, normale),
                    1e-14);
        EXPECT_NEAR(Incidence(beta, gamma, z, A), AngleEntre(soleil, normale), 2e-6);
    }
    // Behind the plane the projection is negative; facing it squarely, 1 and 0 degrees.
    EXPECT_LT(ProjectionIncidence(90, 180, 60, 0), 0);
    EXPECT_EQ(ProjectionIncidence(30, 180, 30, 180), 1.0);
    EXPECT_EQ(Incidence(0, 0, 0, 123), 0.0);
    EXPECT_TRUE(std::isnan(Incidence(30, 180, std::nan(""), 180)));
}

TEST(Surface, TrueTrackingIsTheRotationOfLeastIncidence) {
    std::mt19937_64 alea(31);
    std::uniform_real_distribution<double> zenith(0, 89.9), azimut(0, 360), tilt(0, 60);
    for (int i = 0; i < 300; ++i) {
        Suiveur s;
        s.axeInclinaison = i % 3 == 0 ? 0.0 : tilt(alea);  // horizontal axes among them
        s.axeAzimut = azimut(alea);
        s.angleMax = 90;
        s.retour = false;
        const double z = zenith(alea), A = azimut(alea);
        const Orientation o = Suivi(s, z, A);
        const Repere r = RepereSuiveur(s.axeInclinaison, s.axeAzimut);
        const Vecteur soleil = Direction(z, A);
        // The least incidence over every rotation, by a scan then golden sections.
        double meilleur = -90;
        for (double t = -90; t <= 90; t += 0.5)
            if (AngleEntre(soleil, Normale(r, t)) < AngleEntre(soleil, Normale(r, meilleur)))
                meilleur = t;
        double a = std::max(-90.0, meilleur - 0.5), b = std::min(90.0, meilleur + 0.5);
        const double k = (std::sqrt(5.0) - 1) / 2;
        for (int n = 0; n < 80; ++n) {
            const double c = b - k * (b - a), d = a + k * (b - a);
            (AngleEntre(soleil, Normale(r, c)) < AngleEntre(soleil, Normale(r, d)) ? b : a) =
                (AngleEntre(soleil, Normale(r, c)) < AngleEntre(soleil, Normale(r, d)) ? d : c);
        }
        const double cherche = (a + b) / 2;
        SCOPED_TRACE(testing::Message()
                     << z << " " << A << " axis " << s.axeInclinaison << " " << s.axeAzimut);
        EXPECT_NEAR(o.rotation, cherche, 1e-4);
        EXPECT_NEAR(o.incidence, AngleEntre(soleil, Normale(r, cherche)), 1e-6);
        // The surface's tilt and azimuth are those of the rotated normal.
        const Vecteur n = Normale(r, o.rotation);
        EXPECT_NEAR(o.inclinaison, std::acos(n[2]) / RadSurface, 1e-7);
        double az = std::atan2(n[0], n[1]) / RadSurface;
        if (az < 0) az += 360;
        EXPECT_NEAR(std::remainder(o.azimut - az, 360.0), 0, 1e-6);
    }
    // Below the horizon, no rotation.
    EXPECT_TRUE(std::isnan(Suivi(Suiveur{}, 90.5, 100).rotation));
}

namespace {

// Along the line perpendicular to the Sun's rays in the plane across the rows, how far the
// shadow of one row covers the next: positive when they overlap, negative for the gap between.
// Rows of width 1 whose centres are 1 / gcr apart horizontally, on ground across the rows at the
// cross slope.
double Recouvrement(const Suiveur& s, double xp, double zp, double rotation) {
    const double t = rotation * RadSurface, p = s.penteTransverse * RadSurface;
    const double ux = std::cos(t), uz = -std::sin(t);  // a row's width, rotated
    const double cx = 1 / s.gcr, cz = -std::tan(p) / s.gcr;
    const double n = std::hypot(xp, zp), px = -zp / n, pz = xp / n;  // across the rays
    const double demi = std::fabs(px * ux + pz * uz) / 2, c1 = px * cx + pz * cz;
    return std::min(demi, c1 + demi) - std::max(-demi, c1 - demi);
}

}  // namespace

TEST(Surface, BacktrackingRowsJustTouchAndNeverShade) {
    std::mt19937_64 alea(32);
    std::uniform_real_distribution<double> zenith(0, 89.5), azimut(0, 360), gcr(0.2, 0.7),
        pente(-15, 15);
    int touchent = 0, ombres = 0;
    for (double pentes : {0.0, 1.0}) {
        for (int i = 0; i < 4000; ++i) {
            Suiveur s;
            s.axeAzimut = 180;
            s.angleMax = 90;
            s.gcr = gcr(alea);
            s.penteTransverse = pentes * pente(alea);
            const double z = zenith(alea), A = azimut(alea);
            const Vecteur soleil = Direction(z, A);
            const Repere r = RepereSuiveur(0, 180);
            const double xp = ProduitScalaire(soleil, r.x), zp = ProduitScalaire(soleil, r.z);
            // Only a Sun above the ground's plane lights the rows.
            const double p = s.penteTransverse * RadSurface;
            if (xp * std::sin(p) + zp * std::cos(p) <= 0.01) continue;
            const Orientation o = Suivi(s, z, A);
            Suiveur sans = s;
            sans.retour = false;
            const double vrai = Suivi(sans, z, A).rotation;
            SCOPED_TRACE(testing::Message()
                         << z << " " << A << " gcr " << s.gcr << " slope " << s.penteTransverse);
            const double recouvre = Recouvrement(s, xp, zp, o.rotation);
            EXPECT_LE(recouvre, 1e-9);
            if (o.rotation != vrai) {
                EXPECT_NEAR(recouvre, 0, 1e-9);  // the shadow's edge on the next row's edge
                ++touchent;
                if (Recouvrement(s, xp, zp, vrai) > 1e-6) ++ombres;
            }
        }
    }
    // Enough low Suns were backtracked, and true tracking would have shaded them.
    EXPECT_GT(touchent, 1000);
    EXPECT_EQ(ombres, touchent);
}

TEST(Surface, SolarTimeIsNoonAtTheEnginesTransit) {
    const Site sites[] = {
        {2.35, 48.85, 35}, {-157.4, 1.87, 0}, {151.2, -33.87, 50}, {18.95, 69.65, 0}};
    for (const Site& site : sites) {
        for (int mois = 1; mois <= 12; mois += 2) {
            const JourSolaire j = JourneeSolaire(2026, mois, 15, site, 69.184);
            for (const Evenement& e : j.evenements) {
                if (e.type != TypeEvenement::Passage) continue;
                double H = 0;
                PositionTopocentrique(PositionGeocentrique(e.t, 69.184), site, H);
                SCOPED_TRACE(testing::Message() << site.Longitude << " " << mois);
                // The transit is found to a millisecond: 0.0042 millidegrees of hour angle.
                EXPECT_NEAR(AngleHoraireReduit(H), 0, 1e-5);
                EXPECT_NEAR(TempsSolaireVrai(H), 12, 1e-5 / 15);
                // An hour of hour angle later, 1 pm solar time.
                EXPECT_NEAR(TempsSolaireVrai(H + 15), 13, 1e-5 / 15);
            }
        }
    }
    EXPECT_EQ(AngleHoraireReduit(-190), 170);
    EXPECT_EQ(AngleHoraireReduit(540), -180);
    EXPECT_EQ(TempsSolaireVrai(-180), 0);
}

TEST(Surface, AirMassAndTheIrradianceAboveTheAtmosphere) {
    // The plane-parallel secant gives 2 at 60 degrees; the curved atmosphere a little less:
    // 1.9943 in Kasten & Young's formula.
    EXPECT_NEAR(MasseAirRelative(60), 2.0, 2.0 * 0.003);
    EXPECT_LT(MasseAirRelative(60), 2.0);
    EXPECT_NEAR(MasseAirRelative(90), 38, 0.2);
    EXPECT_NEAR(MasseAirRelative(0), 1.0, 3e-4);
    EXPECT_TRUE(std::isnan(MasseAirRelative(90.01)));
    EXPECT_DOUBLE_EQ(MasseAirAbsolue(2.0, 38), 1.0);
    // Across a year the irradiance peaks at perihelion, early January, and is least at
    // aphelion, early July; its range is the square of the distances' ratio.
    double max = 0, min = 1e9, rMax = 0, rMin = 1e9;
    int jourMax = 0, jourMin = 0;
    for (int d = 0; d < 365 * 24; ++d) {
        const Geocentre g =
            PositionGeocentrique(EncodeDateValeur(2026, 1, 1, 0, 0, 0) + d / 24.0, 69.184);
        const double e = IrradianceHorsAtmosphere(g.RayonVecteur);
        if (e > max) max = e, jourMax = d / 24;
        if (e < min) min = e, jourMin = d / 24;
        rMax = std::max(rMax, g.RayonVecteur);
        rMin = std::min(rMin, g.RayonVecteur);
    }
    EXPECT_LE(jourMax, 6);                                     // 2026's perihelion is on 3 January
    EXPECT_NEAR(jourMin, 31 + 28 + 31 + 30 + 31 + 30 + 5, 3);  // and its aphelion on 6 July
    EXPECT_NEAR(max / min, (rMax / rMin) * (rMax / rMin), 1e-6);
    EXPECT_NEAR(max, ConstanteSolaire / (0.98329 * 0.98329), 0.1);
}
