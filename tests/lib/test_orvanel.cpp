// The C library against the engine: the same figures, every result code, nothing written on a
// refusal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "PosSoleil.h"
#include "TempsDynamique.h"
#include "orvanel.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

double Unix(int a, int m, int j, int h = 0, int mi = 0, int s = 0) {
    return (PosSoleil::EncodeDateValeur(a, m, j, h, mi, s) - PosSoleil::JoursAvantUnix) *
           PosSoleil::SecondesParJour;
}

void ExpectMeme(const orvanel_position& a, const orvanel_position& b) {
    EXPECT_EQ(a.right_ascension_deg, b.right_ascension_deg);
    EXPECT_EQ(a.declination_deg, b.declination_deg);
    EXPECT_EQ(a.distance_au, b.distance_au);
    EXPECT_EQ(a.equation_of_time_min, b.equation_of_time_min);
    EXPECT_EQ(a.azimuth_deg, b.azimuth_deg);
    EXPECT_EQ(a.elevation_deg, b.elevation_deg);
}

bool Intact(const orvanel_position& p) {
    orvanel_position sentinelle;
    std::memset(&sentinelle, 0x5a, sizeof sentinelle);
    return std::memcmp(&p, &sentinelle, sizeof p) == 0;
}

orvanel_position Sentinelle() {
    orvanel_position p;
    std::memset(&p, 0x5a, sizeof p);
    return p;
}

}  // namespace

TEST(Liborvanel, PositionIsCalculPositionToTheBit) {
    // Random whole-second instants over the dates and sites over the globe, with dynamical time
    // given and by default.
    std::mt19937_64 alea(20261209);
    std::uniform_int_distribution<long long> secondes(0, 8546ll * 86400 * 11);
    std::uniform_real_distribution<double> lon(-180, 180), lat(-90, 90), h(-1000, 10000);
    for (int i = 0; i < 2000; ++i) {
        const long long s = secondes(alea);
        const int annee = 1980 + static_cast<int>(s / (365ll * 86400 + 21000));
        const int mois = 1 + static_cast<int>(s % 12), jour = 1 + static_cast<int>(s % 28);
        const int heure = static_cast<int>(s / 3600 % 24), minute = static_cast<int>(s / 60 % 60),
                  seconde = static_cast<int>(s % 60);
        const orvanel_site site{lon(alea), lat(alea), h(alea)};
        const double unix = Unix(annee, mois, jour, heure, minute, seconde);
        const bool defaut = i % 2 == 0;
        const double tt =
            defaut ? Contrat::TEmoinsTUParDefaut(
                         PosSoleil::EncodeDateValeur(annee, mois, jour, heure, minute, seconde))
                         .secondes
                   : 30 + i % 300;
        SCOPED_TRACE(testing::Message() << annee << "-" << mois << "-" << jour << " " << heure
                                        << ":" << minute << ":" << seconde << " tt " << tt);
        double L, R, alpha, delta, azimut, hauteur, equation;
        PosSoleil::CalculPosition(annee, mois, jour, heure, minute, seconde, site.longitude_deg,
                                  site.latitude_deg, site.height_m, tt, L, R, alpha, delta, azimut,
                                  hauteur, equation);
        orvanel_position p{};
        ASSERT_EQ(orvanel_position_at(unix, &site, defaut ? NaN : tt, &p), ORVANEL_OK);
        if (defaut) {
            EXPECT_EQ(orvanel_tt_minus_utc(unix), tt);
        }
        ExpectMeme(p, {PosSoleil::Modulo360(alpha), delta, R, equation * 60,
                       azimut >= 360 ? azimut - 360 : azimut, hauteur});
        EXPECT_GE(p.right_ascension_deg, 0);
        EXPECT_LT(p.right_ascension_deg, 360);
        EXPECT_GE(p.azimuth_deg, 0);
        EXPECT_LT(p.azimuth_deg, 360);
    }
}

TEST(Liborvanel, EveryResultCodeAndNothingWritten) {
    const orvanel_site bon{2.35, 48.85, 35};
    const double t = Unix(2026, 6, 21, 12);
    struct Cas {
        const char* quoi;
        double unix;
        orvanel_site site;
        double tt;
        int code;
    };
    const Cas cas[] = {
        {"ok", t, bon, NaN, ORVANEL_OK},
        {"ok, first second", Unix(1980, 1, 1), bon, 50, ORVANEL_OK},
        {"ok, last second", Unix(2250, 12, 31, 23, 59, 59), bon, 300, ORVANEL_OK},
        {"longitude", t, {180.5, 0, 0}, NaN, ORVANEL_ERROR_SITE},
        {"latitude", t, {0, -90.01, 0}, NaN, ORVANEL_ERROR_SITE},
        {"height low", t, {0, 0, -1001}, NaN, ORVANEL_ERROR_SITE},
        {"height high", t, {0, 0, 10001}, NaN, ORVANEL_ERROR_SITE},
        {"latitude NaN", t, {0, NaN, 0}, NaN, ORVANEL_ERROR_SITE},
        {"time NaN", NaN, bon, NaN, ORVANEL_ERROR_TIME},
        {"time infinite", std::numeric_limits<double>::infinity(), bon, NaN, ORVANEL_ERROR_TIME},
        {"before 1980", Unix(1979, 12, 31, 23, 59, 59), bon, NaN, ORVANEL_ERROR_DATE},
        {"after 2250", Unix(2251, 1, 1), bon, NaN, ORVANEL_ERROR_DATE},
        {"tt infinite", t, bon, std::numeric_limits<double>::infinity(), ORVANEL_ERROR_TT},
        {"tt too large", t, bon, 20001, ORVANEL_ERROR_TT},
        {"tt too small", t, bon, -101, ORVANEL_ERROR_TT},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.quoi);
        orvanel_position p = Sentinelle();
        EXPECT_EQ(orvanel_position_at(c.unix, &c.site, c.tt, &p), c.code);
        EXPECT_EQ(Intact(p), c.code != ORVANEL_OK);
        // The same through the array forms: one bad input refuses the whole call.
        std::vector<orvanel_position> sortie(3, Sentinelle());
        const double instants[3] = {t, c.unix, t};
        EXPECT_EQ(orvanel_positions(instants, 3, &c.site, c.tt, sortie.data()), c.code);
        const orvanel_site sites[3] = {bon, c.site, bon};
        std::vector<orvanel_position> sortieSites(3, Sentinelle());
        EXPECT_EQ(orvanel_positions_sites(c.unix, sites, 3, c.tt, sortieSites.data()), c.code);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Intact(sortie[i]), c.code != ORVANEL_OK);
            EXPECT_EQ(Intact(sortieSites[i]), c.code != ORVANEL_OK);
        }
        EXPECT_STRNE(orvanel_error_text(c.code), "unknown result code");
    }
    orvanel_position p = Sentinelle();
    EXPECT_EQ(orvanel_position_at(t, nullptr, NaN, &p), ORVANEL_ERROR_NULL);
    EXPECT_EQ(orvanel_position_at(t, &bon, NaN, nullptr), ORVANEL_ERROR_NULL);
    EXPECT_EQ(orvanel_positions(nullptr, 2, &bon, NaN, &p), ORVANEL_ERROR_NULL);
    EXPECT_EQ(orvanel_positions(nullptr, 0, nullptr, NaN, nullptr), ORVANEL_OK);
    EXPECT_EQ(orvanel_series(t, NaN, 2, &bon, NaN, &p), ORVANEL_ERROR_ARGUMENT);
    // A series whose last row falls after the dates.
    std::vector<orvanel_position> serie(10, Sentinelle());
    EXPECT_EQ(orvanel_series(Unix(2250, 12, 31, 23, 59), 10, 10, &bon, NaN, serie.data()),
              ORVANEL_ERROR_DATE);
    EXPECT_TRUE(Intact(serie[0]));
    orvanel_day jour;
    EXPECT_EQ(orvanel_day_events(2026, 2, 30, &bon, NaN, &jour), ORVANEL_ERROR_DATE);
    EXPECT_EQ(orvanel_day_events(1979, 12, 31, &bon, NaN, &jour), ORVANEL_ERROR_DATE);
    EXPECT_EQ(orvanel_day_events(2026, 6, 21, nullptr, NaN, &jour), ORVANEL_ERROR_NULL);
    EXPECT_STREQ(orvanel_error_text(99), "unknown result code");
    EXPECT_TRUE(std::isnan(orvanel_tt_minus_utc(NaN)));
    EXPECT_TRUE(std::isnan(orvanel_refraction(10, 1600, 10)));
    EXPECT_TRUE(std::isnan(orvanel_refraction(10, 1013, 70)));
}

TEST(Liborvanel, ManyInstantsSitesAndSeries) {
    const orvanel_site site{-70.5, -33.45, 520};
    // Instants: each is position_at's, with the default dynamical time at each (across the
    // last leap second).
    std::vector<double> instants;
    for (int i = 0; i < 50; ++i) instants.push_back(Unix(2016, 12, 31, 23, 59, 30) + i * 1.5);
    std::vector<orvanel_position> sortie(instants.size());
    ASSERT_EQ(orvanel_positions(instants.data(), instants.size(), &site, NaN, sortie.data()),
              ORVANEL_OK);
    for (std::size_t i = 0; i < instants.size(); ++i) {
        orvanel_position p{};
        ASSERT_EQ(orvanel_position_at(instants[i], &site, NaN, &p), ORVANEL_OK);
        ExpectMeme(sortie[i], p);
    }
    // Sites at one instant, the poles and the date line among them: position_at's to the bit.
    const orvanel_site sites[] = {
        {180, 89.9, 0}, {-180, -89.9, 3000}, {0, 0, 0}, {139.7, 35.7, 40}};
    orvanel_position parSite[4];
    const double t = Unix(2031, 3, 20, 6, 30);
    ASSERT_EQ(orvanel_positions_sites(t, sites, 4, NaN, parSite), ORVANEL_OK);
    for (int i = 0; i < 4; ++i) {
        orvanel_position p{};
        ASSERT_EQ(orvanel_position_at(t, &sites[i], NaN, &p), ORVANEL_OK);
        ExpectMeme(parSite[i], p);
    }
    // A series of minutes across a leap second and one of days in the model's years: within
    // the series' bounds of position_at.
    struct CasSerie {
        double debut, pas;
        std::size_t n;
    };
    for (const CasSerie& c :
         {CasSerie{Unix(2016, 12, 31, 20), 60, 2000}, CasSerie{Unix(2200, 1, 1), 86400, 700},
          CasSerie{Unix(2100, 6, 1), -3600, 3000}}) {
        SCOPED_TRACE(c.debut);
        std::vector<orvanel_position> serie(c.n);
        ASSERT_EQ(orvanel_series(c.debut, c.pas, c.n, &site, NaN, serie.data()), ORVANEL_OK);
        for (std::size_t i = 0; i < c.n; i += 3) {
            orvanel_position p{};
            ASSERT_EQ(orvanel_position_at(c.debut + static_cast<double>(i) * c.pas, &site, NaN, &p),
                      ORVANEL_OK);
            EXPECT_NEAR(serie[i].declination_deg, p.declination_deg, 1e-10);
            EXPECT_NEAR(serie[i].elevation_deg, p.elevation_deg, 1e-10);
            EXPECT_NEAR(std::remainder(serie[i].right_ascension_deg - p.right_ascension_deg, 360),
                        0, 1e-10);
            EXPECT_NEAR(serie[i].distance_au, p.distance_au, 1e-13);
        }
    }
}

TEST(Liborvanel, RefractionAndTheDaysEvents) {
    // Refraction in hectopascals is the engine's in centimetres of mercury.
    EXPECT_EQ(orvanel_refraction(5, 1013.25, 10),
              PosSoleil::Refraction(5, 1013.25 / 13.3322387415, 10));
    EXPECT_EQ(orvanel_refraction(-2, 1013.25, 10), 0);
    // The day's events are the engine's, in Unix time, with the default dynamical time at noon.
    const orvanel_site site{18.95, 69.65, 100};  // Tromsø: polar night in December
    for (const int mois : {6, 12, 3}) {
        SCOPED_TRACE(mois);
        orvanel_day d{};
        ASSERT_EQ(orvanel_day_events(2026, mois, 21, &site, NaN, &d), ORVANEL_OK);
        const double midi = PosSoleil::EncodeDateValeur(2026, mois, 21, 12, 0, 0);
        const PosSoleil::JourSolaire j = PosSoleil::JourneeSolaire(
            2026, mois, 21, {18.95, 69.65, 100}, Contrat::TEmoinsTUParDefaut(midi).secondes);
        ASSERT_EQ(d.count, static_cast<int>(j.evenements.size()));
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
            EXPECT_EQ(d.events[i].type, static_cast<int>(j.evenements[i].type));
            EXPECT_NEAR(
                d.events[i].unix_utc,
                (j.evenements[i].t - PosSoleil::JoursAvantUnix) * PosSoleil::SecondesParJour, 1e-4);
            EXPECT_EQ(d.events[i].elevation_deg, j.evenements[i].hauteur);
        }
        for (int k = 0; k < PosSoleil::NombreSeuils; ++k)
            EXPECT_EQ(d.states[k], static_cast<int>(j.etats[k]));
        EXPECT_DOUBLE_EQ(d.day_length_min, j.duree * 60);
        EXPECT_EQ(d.states[ORVANEL_HORIZON], mois == 6    ? ORVANEL_ALWAYS_ABOVE
                                             : mois == 12 ? ORVANEL_ALWAYS_BELOW
                                                          : ORVANEL_CROSSED);
    }
}

// The series against orvanel_position_at of each row's Unix time, at 1 s steps through a day
// and past the zenith: the bound the header states, 2e-7 degree on the sky (in azimuth, times
// the sine of the zenith distance).
TEST(Liborvanel, SeriesKeepsItsStatedBoundAtOneSecondSteps) {
    for (const double latitude : {23.0, 10.0, 48.0, -20.0}) {
        SCOPED_TRACE(latitude);
        const orvanel_site site{0.0, latitude, 0};
        const double debut =
            1782036000.0;  // 2026-06-21T10:00:00Z, the Sun near the zenith at 23° N
        const std::size_t n = 7200;
        std::vector<orvanel_position> serie(n);
        ASSERT_EQ(orvanel_series(debut, 1.0, n, &site, NAN, serie.data()), ORVANEL_OK);
        for (std::size_t i = 0; i < n; ++i) {
            orvanel_position p{};
            ASSERT_EQ(orvanel_position_at(debut + static_cast<double>(i), &site, NAN, &p),
                      ORVANEL_OK);
            ASSERT_NEAR(serie[i].elevation_deg, p.elevation_deg, 2e-7) << i;
            const double sinZ = std::cos(p.elevation_deg * M_PI / 180);
            ASSERT_LE(std::fabs(std::remainder(serie[i].azimuth_deg - p.azimuth_deg, 360.0)) * sinZ,
                      2e-7)
                << i;
        }
    }
}

// The refraction model's domain, the main window's pressures: outside it NaN, never a negative
// refraction inside it (at pressure 0 the model would give -27").
TEST(Liborvanel, RefractionStaysWithinItsModelsDomain) {
    EXPECT_TRUE(std::isnan(orvanel_refraction(10, 0, 10)));
    EXPECT_TRUE(std::isnan(orvanel_refraction(10, 100, 10)));
    EXPECT_TRUE(std::isnan(orvanel_refraction(10, 1250, 10)));
    for (const double hpa : {266.7, 500.0, 1013.25, 1199.8})
        for (const double celsius : {-90.0, 10.0, 60.0})
            for (double h = -0.99; h <= 90; h += 0.5) {
                const double r = orvanel_refraction(h, hpa, celsius);
                ASSERT_FALSE(std::isnan(r)) << hpa << " hPa " << h;
                ASSERT_GE(r, 0.0) << hpa << " hPa " << celsius << " °C " << h;
            }
}

TEST(Liborvanel, SurfacesAreTheEnginesAndRefuseWhatIsOutOfRange) {
    std::mt19937_64 alea(30);
    std::uniform_real_distribution<double> zenith(0, 100), azimut(0, 360);
    std::vector<double> z(3000), a(3000);
    for (std::size_t i = 0; i < z.size(); ++i) z[i] = zenith(alea), a[i] = azimut(alea);
    const orvanel_tracker suiveurs[] = {
        {0, 180, 60, 0.35, 0, 1}, {15, 170, 50, 0.5, -4, 1}, {0, 0, 90, 0.3, 0, 0}};
    for (const orvanel_tracker& t : suiveurs) {
        std::vector<orvanel_tracker_state> sortie(z.size());
        ASSERT_EQ(orvanel_singleaxis(&t, z.data(), a.data(), z.size(), sortie.data()), ORVANEL_OK);
        const PosSoleil::Suiveur s{t.axis_tilt_deg, t.axis_azimuth_deg,    t.max_angle_deg,
                                   t.gcr,           t.cross_axis_tilt_deg, t.backtrack != 0};
        for (std::size_t i = 0; i < z.size(); ++i) {
            const PosSoleil::Orientation o = PosSoleil::Suivi(s, z[i], a[i]);
            const double attendus[] = {o.rotation, o.inclinaison, o.azimut, o.incidence};
            const double obtenus[] = {sortie[i].theta_deg, sortie[i].surface_tilt_deg,
                                      sortie[i].surface_azimuth_deg, sortie[i].aoi_deg};
            for (int k = 0; k < 4; ++k)
                EXPECT_TRUE(std::memcmp(&attendus[k], &obtenus[k], sizeof(double)) == 0 ||
                            (std::isnan(attendus[k]) && std::isnan(obtenus[k])));
        }
        EXPECT_EQ(orvanel_aoi(30, 180, z[0], a[0]), PosSoleil::Incidence(30, 180, z[0], a[0]));
    }
    // A tracker or a Sun out of range: an error, nothing written.
    const orvanel_tracker mauvais[] = {{-1, 180, 60, 0.35, 0, 1}, {91, 180, 60, 0.35, 0, 1},
                                       {0, NAN, 60, 0.35, 0, 1},  {0, 180, 181, 0.35, 0, 1},
                                       {0, 180, 60, 0, 0, 1},     {0, 180, 60, 1.01, 0, 1},
                                       {0, 180, 60, 0.35, 46, 1}};
    for (const orvanel_tracker& t : mauvais) {
        orvanel_tracker_state etat{1, 2, 3, 4};
        EXPECT_EQ(orvanel_singleaxis(&t, z.data(), a.data(), 1, &etat), ORVANEL_ERROR_ARGUMENT);
        EXPECT_EQ(etat.theta_deg, 1);
    }
    const double horsZenith[] = {30, 181}, azimuts[] = {0, 0};
    orvanel_tracker_state etats[2] = {{1, 2, 3, 4}, {1, 2, 3, 4}};
    EXPECT_EQ(orvanel_singleaxis(&suiveurs[0], horsZenith, azimuts, 2, etats),
              ORVANEL_ERROR_ARGUMENT);
    EXPECT_EQ(etats[0].theta_deg, 1);
    EXPECT_TRUE(std::isnan(orvanel_aoi(181, 0, 10, 0)));
    EXPECT_TRUE(std::isnan(orvanel_aoi_projection(10, INFINITY, 10, 0)));
    EXPECT_TRUE(std::isnan(orvanel_airmass_relative(-1)));
    EXPECT_TRUE(std::isnan(orvanel_airmass_absolute(30, 100)));  // 100 hPa: below the range
    double e = 0;
    EXPECT_EQ(orvanel_extra_radiation(NAN, NAN, &e), ORVANEL_ERROR_TIME);
    EXPECT_EQ(orvanel_extra_radiation(0, NAN, nullptr), ORVANEL_ERROR_NULL);
    const orvanel_site paris{2.35, 48.85, 35};
    EXPECT_EQ(orvanel_solar_time(1782037440.0, &paris, 1e6, &e, nullptr), ORVANEL_ERROR_TT);
}

// The sundial's shadow: the shadow of a nodus at a point of the Sun's own topocentric direction
// (written here), refracted at the weather given or not, and its refusals.
TEST(Liborvanel, SundialShadowIsTheRayThroughTheNodus) {
    const orvanel_site toulouse{1.444, 43.6045, 150};
    const orvanel_sundial mur{202.5, 90, 1, 120};
    std::vector<double> unix;
    for (int h = 0; h < 48; ++h) unix.push_back(1781956800.0 + h * 1800.0);  // 2026-06-20, 12:00
    std::vector<double> x(unix.size()), y(unix.size());
    std::vector<int> eclaire(unix.size());
    constexpr double Rad = 3.14159265358979323846 / 180;
    for (const bool refraction : {false, true}) {
        const double p = refraction ? 1013.25 : NAN, t = refraction ? 15 : NAN;
        ASSERT_EQ(orvanel_sundial_shadow(&toulouse, &mur, unix.data(), unix.size(), NAN, p, t,
                                         x.data(), y.data(), eclaire.data()),
                  ORVANEL_OK);
        int allumes = 0;
        for (std::size_t i = 0; i < unix.size(); ++i) {
            orvanel_position pos;
            ASSERT_EQ(orvanel_position_at(unix[i], &toulouse, NAN, &pos), ORVANEL_OK);
            const double h =
                pos.elevation_deg + (refraction ? orvanel_refraction(pos.elevation_deg, p, t) : 0);
            const double s[3] = {std::sin(pos.azimuth_deg * Rad) * std::cos(h * Rad),
                                 std::cos(pos.azimuth_deg * Rad) * std::cos(h * Rad),
                                 std::sin(h * Rad)};
            // A vertical wall facing azimuth 202.5: its normal, its horizontal x to the right of
            // whoever faces it, y straight up.
            const double a = 202.5 * Rad;
            const double n[3] = {std::sin(a), std::cos(a), 0},
                         ex[3] = {-std::cos(a), std::sin(a), 0};
            const double face = s[0] * n[0] + s[1] * n[1];
            ASSERT_EQ(eclaire[i], h > 0 && face > 0) << i;
            if (!eclaire[i]) {
                EXPECT_TRUE(std::isnan(x[i]) && std::isnan(y[i]));
                continue;
            }
            ++allumes;
            const double k = 120 / face;  // the nodus at 120 n, the ray back to the wall
            EXPECT_NEAR(x[i], -k * (s[0] * ex[0] + s[1] * ex[1]), 1e-9);
            EXPECT_NEAR(y[i], -k * s[2], 1e-9);
        }
        EXPECT_GT(allumes, 10);
    }
    const orvanel_sundial polaire{90, 90, 0, 100}, vide{180, 90, 1, 0};
    EXPECT_EQ(orvanel_sundial_shadow(&toulouse, &polaire, unix.data(), 1, NAN, NAN, NAN, x.data(),
                                     y.data(), eclaire.data()),
              ORVANEL_ERROR_ARGUMENT);
    EXPECT_EQ(orvanel_sundial_shadow(&toulouse, &vide, unix.data(), 1, NAN, NAN, NAN, x.data(),
                                     y.data(), eclaire.data()),
              ORVANEL_ERROR_ARGUMENT);
    EXPECT_EQ(orvanel_sundial_shadow(&toulouse, &mur, unix.data(), 1, NAN, 5000, 10, x.data(),
                                     y.data(), eclaire.data()),
              ORVANEL_ERROR_ARGUMENT);
    EXPECT_EQ(orvanel_sundial_shadow(&toulouse, &mur, nullptr, 1, NAN, NAN, NAN, x.data(), y.data(),
                                     eclaire.data()),
              ORVANEL_ERROR_NULL);
    const double tard = 1e10;
    EXPECT_EQ(orvanel_sundial_shadow(&toulouse, &mur, &tard, 1, NAN, NAN, NAN, x.data(), y.data(),
                                     eclaire.data()),
              ORVANEL_ERROR_DATE);
}
