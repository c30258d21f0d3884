// Regular series and many sites at one instant against the driver, row by row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "PosSoleil.h"

namespace {

using PosSoleil::Position;

// The largest difference of each coordinate over the rows compared. The azimuth's is taken on
// the sky (times the cosine of the altitude): near the zenith a hair of declination swings the
// azimuth by any amount, for the driver as for the series.
struct Ecarts {
    double angle = 0, distance = 0, equationMinutes = 0;
    void Ajoute(const Position& a, const Position& b) {
        const double azimut =
            std::remainder(a.Azimut - b.Azimut, 360.0) * std::cos(a.Hauteur * M_PI / 180);
        for (const double d : {a.LongitudeSoleil - b.LongitudeSoleil,
                               std::remainder(a.AscensionDroite - b.AscensionDroite, 360.0),
                               a.Declinaison - b.Declinaison, a.Hauteur - b.Hauteur, azimut})
            angle = std::max(angle, std::fabs(d));
        distance = std::max(distance, std::fabs(a.RayonVecteur - b.RayonVecteur));
        equationMinutes =
            std::max(equationMinutes, std::fabs(a.EquationTemps - b.EquationTemps) * 60);
    }
};

}  // namespace

TEST(SerieSoleil, AgreesWithTheDriverOverAMillionRows) {
    // Steps of a second, a minute, an hour and a day, from the start of 1980 and up to the end
    // of 2250; every row of the first 3000 (three fresh starts of the phasors), then a sample.
    // Between them, steps that give the nodes of the geocentric part 48, 96, 732 and 2 rows apart
    // or none at all (7 hours), steps backwards, and series shorter than an interval of nodes.
    struct Cas {
        double pasJours;
        long long rangs;
        bool depuisLaFin;
    };
    const PosSoleil::Site site{2.35, 48.85, 120};
    const double debut = PosSoleil::EncodeDateValeur(1980, 1, 1, 0, 0, 0);
    const double fin = PosSoleil::EncodeDateValeur(2250, 12, 31, 23, 0, 0);
    const Cas cas[] = {{1.0 / 86400, 1'000'000, false},
                       {1.0 / 1440, 1'000'000, true},
                       {1.0 / 24, 1'000'000, false},
                       {1.0 / 24, 1'000'000, true},
                       {1.0, 98'000, false},
                       {1.0, 98'000, true},
                       {15.0 / 1440, 60'000, true},
                       {7.5 / 1440, 200'000, false},
                       {59.0 / 86400, 300'000, true},
                       {5.0 / 24, 30'000, false},
                       {7.0 / 24, 20'000, true},
                       {-1.0 / 1440, 200'000, true},
                       {-1.0 / 86400, 100'000, false},
                       {1.0 / 86400, 16, false},
                       {1.0 / 1440, 17, true},
                       {1.0 / 1440, 15, false}};
    std::vector<Position> rangs;
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message()
                     << c.pasJours * 86400 << " s from the " << (c.depuisLaFin ? "end" : "start"));
        // The rows cover [debut, ...] or [..., fin] whichever way they run.
        const double etendue = static_cast<double>(c.rangs - 1) * c.pasJours;
        const double t0 = c.depuisLaFin ? (c.pasJours > 0 ? fin - etendue : fin)
                                        : (c.pasJours > 0 ? debut : debut - etendue);
        rangs.resize(static_cast<std::size_t>(c.rangs));
        PosSoleil::SerieSoleil(t0, c.pasJours, site, 69.184, rangs);
        Ecarts e;
        for (long long i = 0; i < c.rangs; i += i < 3000 ? 1 : 997) {
            const double t = t0 + static_cast<double>(i) * c.pasJours;
            e.Ajoute(rangs[static_cast<std::size_t>(i)],
                     PosSoleil::PositionSoleil(t, site, 69.184));
        }
        e.Ajoute(rangs.back(),
                 PosSoleil::PositionSoleil(t0 + static_cast<double>(c.rangs - 1) * c.pasJours, site,
                                           69.184));
        EXPECT_LE(e.angle, 1e-10);
        EXPECT_LE(e.distance, 1e-13);
        EXPECT_LE(e.equationMinutes, 1e-8);
    }
}

TEST(SerieSoleil, ChangingDynamicalTimeAndTheScalarReference) {
    // Dynamical time - UTC that grows along the series (as a model of Delta T does), rows an
    // hour apart (each its own geocentric part) and a minute apart (the part from nodes), and
    // the series against the scalar sums, which are the reference of both paths.
    const PosSoleil::Site site{-70.5, -33.45, 0};
    const double t0 = PosSoleil::EncodeDateValeur(2199, 3, 1, 0, 0, 0);
    for (const double pas : {1.0 / 24, 1.0 / 1440}) {
        SCOPED_TRACE(pas * 86400);
        std::vector<Position> rangs(20000);
        const double pente = 1.5e-3;  // seconds per row
        PosSoleil::SerieSoleil(t0, pas, site, 420, rangs, pente);
        Ecarts driver, scalaire;
        for (std::size_t i = 0; i < rangs.size(); i += 7) {
            const double t = t0 + static_cast<double>(i) * pas,
                         TEmoinsTU = 420 + static_cast<double>(i) * pente;
            driver.Ajoute(rangs[i], PosSoleil::PositionSoleil(t, site, TEmoinsTU));
            scalaire.Ajoute(rangs[i], PosSoleil::Scalaire::PositionSoleil(t, site, TEmoinsTU));
        }
        EXPECT_LE(driver.angle, 1e-10);
        EXPECT_LE(driver.distance, 1e-13);
        EXPECT_LE(scalaire.angle, 1e-10);
        EXPECT_LE(scalaire.distance, 1e-13);
    }
}

TEST(SerieSoleil, SitesAtThePolesAndTheDateLine) {
    // The site's part of each row near the poles and on both sides of the date line, where
    // the Sun skims the horizon for weeks and the azimuth turns fastest.
    const PosSoleil::Site sites[] = {{180, 89.9, 0}, {-180, -89.9, 2800}, {179.99, 0, 0}};
    const double t0 = PosSoleil::EncodeDateValeur(2031, 3, 10, 0, 0, 0);
    std::vector<Position> rangs(30000);
    for (const PosSoleil::Site& site : sites) {
        SCOPED_TRACE(testing::Message() << site.Longitude << " " << site.Latitude);
        PosSoleil::SerieSoleil(t0, 1.0 / 1440, site, 71, rangs);
        Ecarts e;
        for (std::size_t i = 0; i < rangs.size(); i += 3)
            e.Ajoute(rangs[i],
                     PosSoleil::PositionSoleil(t0 + static_cast<double>(i) / 1440, site, 71));
        EXPECT_LE(e.angle, 1e-10);
        EXPECT_LE(e.distance, 1e-13);
        EXPECT_LE(e.equationMinutes, 1e-8);
    }
}

TEST(SerieSoleil, RotationAloneWouldDrift) {
    // Why the phasors are taken afresh: the fastest frequency of the theory turned ten million
    // times (four months of seconds) by its rounded rotation drifts from the exact phasor by
    // more than the series may err, while the series, taken afresh every 1024 rows, stays
    // within its bound over any length (above: a million rows).
    const double F = 1.6e5, pasTau = 1.0 / 86400 / 365250;  // radians per millennium; a second
    const std::complex<double> rotation = std::polar(1.0, F * pasTau);
    std::complex<double> z = 1;
    for (int i = 0; i < 10'000'000; ++i) z *= rotation;
    const std::complex<double> exact = std::polar(1.0, F * pasTau * 1e7);
    // An error of the phasors of e moves the longitude by up to 0.035 e radians (the largest
    // periodic amplitude): 1e-10 degree allows about 5e-11.
    EXPECT_GT(std::abs(z - exact), 5e-11);
}

TEST(PositionsSites, EachSiteIsTheDriversToTheBit) {
    const PosSoleil::Site sites[] = {{0, 0, 0},          {180, 89.9, 0},     {-180, -89.9, 3000},
                                     {179.99, -45, 10},  {-0.5, 51.5, -20},  {2.35, 48.85, 8848},
                                     {-70.5, -33.45, 0}, {18.95, 69.65, 100}};
    for (const double t : {PosSoleil::EncodeDateValeur(1980, 1, 1, 0, 0, 0),
                           PosSoleil::EncodeDateValeur(2026, 6, 21, 12, 0, 0),
                           PosSoleil::EncodeDateValeur(2250, 12, 31, 23, 59, 59)}) {
        std::vector<Position> sortie(std::size(sites));
        PosSoleil::PositionsSites(t, 69.184, sites, sortie);
        for (std::size_t i = 0; i < std::size(sites); ++i) {
            SCOPED_TRACE(testing::Message() << t << " site " << i);
            const Position p = PosSoleil::PositionSoleil(t, sites[i], 69.184);
            EXPECT_EQ(sortie[i].Azimut, p.Azimut);
            EXPECT_EQ(sortie[i].Hauteur, p.Hauteur);
            EXPECT_EQ(sortie[i].AscensionDroite, p.AscensionDroite);
            EXPECT_EQ(sortie[i].Declinaison, p.Declinaison);
            EXPECT_EQ(sortie[i].RayonVecteur, p.RayonVecteur);
            EXPECT_EQ(sortie[i].EquationTemps, p.EquationTemps);
            EXPECT_EQ(sortie[i].LongitudeSoleil, p.LongitudeSoleil);
        }
    }
}
