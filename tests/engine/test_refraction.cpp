// Atmospheric refraction in its two regimes.
#include <gtest/gtest.h>

#include <cmath>

#include "PosSoleil.h"

TEST(Refraction, ReferenceValues) {
    struct Cas {
        double h, standard, froid, basse;  // arcseconds: (76, 10), (76, 0), (64, 10)
    };
    const Cas cas[] = {
        {-1, 0, 0, 0},
        {-0.999, 2487.208, 2579.857, 2089.288},
        {0, 1815.466, 1883.092, 1525.015},
        {10, 322.941, 334.971, 271.275},
        {29.999, 102.743, 106.570, 86.305},
        {30, 102.745, 106.621, 86.197},
        {45, 58.530, 60.697, 49.226},
        {60, 33.640, 34.878, 28.317},
        {90, 0, 0, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.h);
        EXPECT_NEAR(PosSoleil::Refraction(c.h, 76, 10) * 3600, c.standard, 0.001);
        EXPECT_NEAR(PosSoleil::Refraction(c.h, 76, 0) * 3600, c.froid, 0.001);
        EXPECT_NEAR(PosSoleil::Refraction(c.h, 64, 10) * 3600, c.basse, 0.001);
    }
}

TEST(Refraction, StopsBelowTheHorizon) {
    for (const double h : {-1.0, -1.5, -45.0, -90.0, std::nan("")}) {
        EXPECT_EQ(PosSoleil::Refraction(h, 76, 10), 0.0) << h;
    }
    EXPECT_NEAR(PosSoleil::Refraction(-0.9999, 76, 10) * 60, 41.45, 0.05);  // about 41 arcminutes
}

TEST(Refraction, DecreasesWithAltitudeAndGrowsWithDensity) {
    double precedente = PosSoleil::Refraction(-0.99, 76, 10);
    for (double h = -0.9; h <= 89.9; h += 0.1) {
        const double r = PosSoleil::Refraction(h, 76, 10);
        ASSERT_LT(r, precedente) << h;
        ASSERT_GT(PosSoleil::Refraction(h, 78, 10), r) << h;  // more pressure, more refraction
        ASSERT_GT(PosSoleil::Refraction(h, 76, -5), r) << h;  // colder, more refraction
        precedente = r;
    }
    // The two regimes meet at 30 degrees to a fraction of an arcsecond.
    EXPECT_NEAR(PosSoleil::Refraction(29.9999999, 70, 25) * 3600,
                PosSoleil::Refraction(30, 70, 25) * 3600, 0.5);
}

// Against an independent model: Saemundsson's formula for the refraction of a true altitude h,
// R = 1.02' / tan(h + 10.3 / (h + 5.11)) at 1010 hPa and 10 °C (Sky and Telescope 72, 70,
// 1986), good to about 4" above 15 degrees and a minute of arc near the horizon; the density
// scales it by P / 1010 hPa and 283 K / (273 + T).
TEST(Refraction, FollowsSaemundssonsFormula) {
    const auto saemundsson = [](double h, double hpa, double celsius) {
        const double minutes = 1.02 / std::tan((h + 10.3 / (h + 5.11)) * M_PI / 180) * hpa / 1010 *
                               283 / (273 + celsius);
        return minutes * 60;  // arcseconds
    };
    struct Cas {
        double cmHg, celsius;
    };
    for (const Cas c : {Cas{76, 10}, Cas{76, -20}, Cas{64, 10}, Cas{72, 35}}) {
        const double hpa = c.cmHg * 13.3322387415;  // the conventional centimetre of mercury
        for (double h = 0; h <= 89; h += 0.5) {
            SCOPED_TRACE(testing::Message() << c.cmHg << " cmHg " << c.celsius << " °C, h " << h);
            const double tolerance = h >= 15 ? 4.0 : 90.0;
            EXPECT_NEAR(PosSoleil::Refraction(h, c.cmHg, c.celsius) * 3600,
                        saemundsson(h, hpa, c.celsius), tolerance);
        }
    }
}
