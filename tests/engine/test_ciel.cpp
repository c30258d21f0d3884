// The sky of a site: rise and set seen from a height, the caller's own altitudes, a skyline,
// and a year of days. Each event is checked against the driver itself: a scan of the day for
// every crossing of what the definition asks, then bisection on the driver's altitude.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include "PosSoleil.h"
#include "Tableau.h"

using namespace PosSoleil;
using Tableau::ErreurCiel;  // the faces' words for the engine's VerifieCiel

namespace {

constexpr double TtCiel = 69.184;
constexpr double RadCiel = M_PI / 180;
const Site ParisCiel{2.3522, 48.8566, 35}, TromsoCiel{18.95, 69.65, 10},
    EquateurCiel{-78.5, 0.0, 0};

// The crossings of f(t) = 0 over the day, from a scan every `pas` seconds refined by bisection
// to a hundredth of a millisecond, with their direction (true upwards).
struct CroisementCiel {
    double t;
    bool montee;
};
std::vector<CroisementCiel> CroisementsCiel(double debut, const std::function<double(double)>& f,
                                            double pas = 20) {
    std::vector<CroisementCiel> sortie;
    double ta = debut, fa = f(ta);
    for (double s = pas; s <= 86400.0 + 1e-9; s += pas) {
        const double tb = debut + s / 86400, fb = f(tb);
        if ((fa >= 0) != (fb >= 0)) {
            double a = ta, b = tb;
            for (int i = 0; i < 40; ++i) {
                const double m = 0.5 * (a + b);
                ((f(m) >= 0) == (fa >= 0) ? a : b) = m;
            }
            sortie.push_back({0.5 * (a + b), fb >= 0});
        }
        ta = tb;
        fa = fb;
    }
    return sortie;
}

double HauteurCiel(double t, const Site& site) {
    return PositionSoleil(t, site, TtCiel).Hauteur;
}

// The events of one kind, in order.
std::vector<Evenement> DeTypeCiel(const JourSolaire& j, Seuil seuil, double cible = NAN) {
    std::vector<Evenement> sortie;
    for (const Evenement& e : j.evenements)
        if ((e.type == TypeEvenement::Montee || e.type == TypeEvenement::Descente) &&
            e.seuil == seuil && (std::isnan(cible) || e.cible == cible))
            sortie.push_back(e);
    return sortie;
}

// Every event found where the scan finds one, within 5 ms, in the same direction.
void ExpectMemesCiel(const std::vector<Evenement>& trouves,
                     const std::vector<CroisementCiel>& attendus) {
    ASSERT_EQ(trouves.size(), attendus.size());
    for (std::size_t i = 0; i < trouves.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(trouves[i].t, attendus[i].t, 0.005 / 86400);
        EXPECT_EQ(trouves[i].type == TypeEvenement::Montee, attendus[i].montee);
    }
}

// The skyline as the definition states it, computed here on its own: linear in azimuth between
// the nearest points on each side around the circle; the centre's altitude at which the upper
// limb, refracted, touches it.
double ProfilCiel(const std::vector<PointHorizon>& points, double A) {
    double avant = 1e9, apres = 1e9, hAvant = 0, hApres = 0;
    for (const PointHorizon& p : points) {
        const double az = std::fmod(p.azimut + 360, 360.0);
        const double dAvant = std::fmod(A - az + 720, 360.0),
                     dApres = std::fmod(az - A + 720, 360.0);
        if (dAvant < avant) avant = dAvant, hAvant = p.hauteur;
        if (dApres < apres) apres = dApres, hApres = p.hauteur;
    }
    return avant + apres == 0 ? hAvant : hAvant + (hApres - hAvant) * avant / (avant + apres);
}
double CotCiel(double degres) {
    return 1 / std::tan(degres * RadCiel);
}
double CentreAuBordCiel(const std::vector<PointHorizon>& points, double A) {
    const double a = ProfilCiel(points, A);
    const double R = 34.0 / 60 * CotCiel(a + 7.31 / (a + 4.4)) / CotCiel(7.31 / 4.4);
    return a - 16.0 / 60 - R;
}

}  // namespace

TEST(Ciel, RiseAndSetSeenFromAHeight) {
    struct Cas {
        const char* nom;
        Site site;
        int mois, jour;
        double H;
    };
    const Cas cas[] = {
        {"Paris, sea level", ParisCiel, 3, 20, 0},
        {"Paris, 10 m", ParisCiel, 3, 20, 10},
        {"Paris, 2000 m", ParisCiel, 3, 20, 2000},
        {"equator, 10 m", EquateurCiel, 6, 21, 10},
        {"Tromso in April, 2000 m", TromsoCiel, 4, 15, 2000},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Ciel ciel;
        ciel.hauteurOeil = c.H;
        const JourSolaire j = JourneeSolaire(2026, c.mois, c.jour, c.site, ciel, TtCiel);
        const double seuil = -50.0 / 60 - 1.76 / 60 * std::sqrt(c.H);
        const auto leverCoucher = DeTypeCiel(j, Seuil::LeverCoucher);
        ExpectMemesCiel(leverCoucher, CroisementsCiel(j.debut, [&](double t) {
                            return HauteurCiel(t, c.site) - seuil;
                        }));
        for (const Evenement& e : leverCoucher) EXPECT_DOUBLE_EQ(e.cible, seuil);
        // The day length is the time between them, and at sea level it is the flat day's.
        ASSERT_EQ(leverCoucher.size(), 2u);
        EXPECT_NEAR(j.duree, (leverCoucher[1].t - leverCoucher[0].t) * 24, 1e-6);
        if (c.H == 0) {
            const JourSolaire plat = JourneeSolaire(2026, c.mois, c.jour, c.site, TtCiel);
            EXPECT_EQ(j.duree, plat.duree);
            EXPECT_EQ(j.variationDuree, plat.variationDuree);
        }
        // The twilights keep their altitudes whatever the height.
        for (const Evenement& e : DeTypeCiel(j, Seuil::Civil)) EXPECT_EQ(e.cible, -6.0);
    }
    // From 2000 m the day is longer than from the shore: 1.76' sqrt(2000) = 1.31 degree more
    // of the Sun's path, some ten minutes at ParisCiel on either side.
    Ciel haut;
    haut.hauteurOeil = 2000;
    const double gain = JourneeSolaire(2026, 3, 20, ParisCiel, haut, TtCiel).duree -
                        JourneeSolaire(2026, 3, 20, ParisCiel, Ciel{}, TtCiel).duree;
    EXPECT_NEAR(gain * 60, 2 * 1.312 / (15 * std::cos(48.86 * RadCiel)) * 60, 1.5);
}

TEST(Ciel, OwnAltitudesCrossedUpAndDown) {
    struct Cas {
        const char* nom;
        Site site;
        int mois, jour;
        EtatSeuil attendus[2];  // +6 and -4
    };
    constexpr EtatSeuil F = EtatSeuil::Franchi;
    const Cas cas[] = {
        {"Paris in winter", ParisCiel, 12, 21, {F, F}},
        {"Paris in summer", ParisCiel, 6, 21, {F, F}},
        {"equator", EquateurCiel, 3, 20, {F, F}},
        // The noon Sun at -3 degrees.
        {"Tromso in December", TromsoCiel, 12, 21, {EtatSeuil::ToujoursAuDessous, F}},
        // The midnight Sun at 3 degrees: +6 crossed, -4 never reached.
        {"Tromso in June", TromsoCiel, 6, 21, {F, EtatSeuil::ToujoursAuDessus}},
        // The noon Sun at 3 degrees: +6 never reached.
        {"Tromso in February", TromsoCiel, 2, 1, {EtatSeuil::ToujoursAuDessous, F}},
    };
    Ciel ciel;
    ciel.hauteurs = {6.0, -4.0};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const JourSolaire j = JourneeSolaire(2026, c.mois, c.jour, c.site, ciel, TtCiel);
        ASSERT_EQ(j.etatsHauteurs.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const double h = ciel.hauteurs[i];
            SCOPED_TRACE(h);
            const auto attendus =
                CroisementsCiel(j.debut, [&](double t) { return HauteurCiel(t, c.site) - h; });
            ExpectMemesCiel(DeTypeCiel(j, Seuil::Hauteur, h), attendus);
            EXPECT_EQ(j.etatsHauteurs[i], c.attendus[i]);
            EXPECT_EQ(attendus.empty(), c.attendus[i] != EtatSeuil::Franchi);
        }
        // The usual events are unchanged by the extra altitudes.
        const JourSolaire plat = JourneeSolaire(2026, c.mois, c.jour, c.site, TtCiel);
        EXPECT_EQ(j.evenements.size(),
                  plat.evenements.size() + DeTypeCiel(j, Seuil::Hauteur).size());
        EXPECT_EQ(j.duree, plat.duree);
        for (std::size_t i = 1; i < j.evenements.size(); ++i)
            EXPECT_LE(j.evenements[i - 1].t, j.evenements[i].t);
    }
}

TEST(Ciel, SkylinesHideTheSunAndShowItAgain) {
    struct Cas {
        const char* nom;
        Site site;
        int mois, jour;
        std::vector<PointHorizon> horizon;
        int croisements;  // rises and sets expected
    };
    // A ridge in the south 25 degrees high: at ParisCiel the winter Sun culminates at 18 degrees.
    const std::vector<PointHorizon> crete = {{150, 0}, {165, 25}, {195, 25}, {210, 0}};
    // A narrow peak due south, the points given out of order and across north.
    const std::vector<PointHorizon> pic = {{190, 5}, {350, 1}, {180, 30}, {170, 5}, {10, 1}};
    const Cas cas[] = {
        {"winter noon behind a ridge", ParisCiel, 12, 21, crete, 4},
        {"summer Sun above the ridge", ParisCiel, 6, 21, crete, 2},
        {"a peak that hides the noon Sun in winter", ParisCiel, 12, 21, pic, 4},
        {"a whole southern wall", ParisCiel, 12, 21, {{90, 20}, {180, 25}, {270, 20}, {0, 0}}, 0},
        {"the equator behind hills",
         EquateurCiel,
         3,
         20,
         {{0, 3}, {90, 8}, {180, 2}, {270, 12}},
         2},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Ciel ciel;
        ciel.horizon = c.horizon;
        const JourSolaire j = JourneeSolaire(2026, c.mois, c.jour, c.site, ciel, TtCiel);
        const auto attendus = CroisementsCiel(j.debut, [&](double t) {
            const Position p = PositionSoleil(t, c.site, TtCiel);
            return p.Hauteur - CentreAuBordCiel(c.horizon, p.Azimut);
        });
        EXPECT_EQ(static_cast<int>(attendus.size()), c.croisements);
        const auto trouves = DeTypeCiel(j, Seuil::LeverCoucher);
        ExpectMemesCiel(trouves, attendus);
        for (const Evenement& e : trouves)
            EXPECT_NEAR(e.cible, CentreAuBordCiel(c.horizon, e.azimut), 1e-9);
        // Seen between each rise and the next set.
        double vu = 0;
        for (std::size_t i = 0; i + 1 < trouves.size(); i += 2)
            vu += trouves[i + 1].t - trouves[i].t;
        if (!trouves.empty() && trouves[0].type == TypeEvenement::Montee) {
            EXPECT_NEAR(j.duree, vu * 24, 1e-6);
        }
        if (c.croisements == 0) {
            EXPECT_EQ(j.etats[0], EtatSeuil::ToujoursAuDessous);
            EXPECT_EQ(j.duree, 0.0);
        }
    }
    // At noon in winter the ridge stands above the Sun.
    Ciel ciel;
    ciel.horizon = crete;
    const JourSolaire j = JourneeSolaire(2026, 12, 21, ParisCiel, ciel, TtCiel);
    const auto passage =
        std::find_if(j.evenements.begin(), j.evenements.end(),
                     [](const Evenement& e) { return e.type == TypeEvenement::Passage; });
    ASSERT_NE(passage, j.evenements.end());
    EXPECT_LT(passage->hauteur, CentreAuBordCiel(crete, passage->azimut));
}

TEST(Ciel, AFlatSkylineIsTheFlatHorizon) {
    Ciel ciel;
    ciel.horizon = {{0, 0}, {180, 0}};
    for (const Site& site : {ParisCiel, TromsoCiel, EquateurCiel}) {
        for (const int mois : {3, 6, 12}) {
            SCOPED_TRACE(testing::Message() << site.Latitude << " month " << mois);
            const JourSolaire profil = JourneeSolaire(2026, mois, 21, site, ciel, TtCiel);
            const JourSolaire plat = JourneeSolaire(2026, mois, 21, site, TtCiel);
            ASSERT_EQ(profil.evenements.size(), plat.evenements.size());
            for (int i = 0; i < static_cast<int>(plat.evenements.size()); ++i) {
                EXPECT_EQ(profil.evenements[i].type, plat.evenements[i].type);
                EXPECT_NEAR(profil.evenements[i].t, plat.evenements[i].t, 0.002 / 86400);
            }
            EXPECT_EQ(profil.etats[0], plat.etats[0]);
            EXPECT_NEAR(profil.duree, plat.duree, 1e-6);
        }
    }
}

TEST(Ciel, AYearIsEachOfItsDays) {
    Ciel avecHauteurs;
    avecHauteurs.hauteurs = {6, -4};
    avecHauteurs.hauteurOeil = 30;
    Ciel avecHorizon;
    avecHorizon.horizon = {{150, 0}, {165, 25}, {195, 25}, {210, 0}};
    struct Cas {
        const char* nom;
        int annee;
        Site site;
        const Ciel* ciel;
    };
    const Cas cas[] = {{"leap year, TromsoCiel, own altitudes", 2028, TromsoCiel, &avecHauteurs},
                       {"Paris behind a ridge", 2026, ParisCiel, &avecHorizon}};
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const int n = AnneeBissextile(c.annee) ? 366 : 365;
        // TT - UTC drifting by a millisecond a day, as a model has it.
        std::vector<double> tt(n + 1);
        for (int d = 0; d <= n; ++d) tt[d] = 69.184 + 0.001 * d;
        const auto annee = AnneeSolaire(c.annee, c.site, *c.ciel, tt);
        ASSERT_EQ(static_cast<int>(annee.size()), n);
        for (int d = 0; d < n; d += 7) {
            SCOPED_TRACE(d);
            const JourSolaire j =
                JourneeSolaire(c.annee, 1, d + 1, c.site, *c.ciel, tt[d + 1], tt[d]);
            const JourSolaire& a = annee[d];
            EXPECT_EQ(a.debut, j.debut);
            ASSERT_EQ(a.evenements.size(), j.evenements.size());
            for (std::size_t i = 0; i < j.evenements.size(); ++i) {
                EXPECT_EQ(a.evenements[i].t, j.evenements[i].t);
                EXPECT_EQ(a.evenements[i].azimut, j.evenements[i].azimut);
            }
            EXPECT_EQ(a.etatsHauteurs, j.etatsHauteurs);
            EXPECT_EQ(a.duree, j.duree);
            EXPECT_EQ(a.variationDuree, j.variationDuree);
        }
    }
    EXPECT_THROW(AnneeSolaire(2026, ParisCiel, Ciel{}, std::vector<double>(365, 69.0)),
                 std::invalid_argument);
}

TEST(Ciel, BadSkiesAreRefused) {
    struct Cas {
        const char* nom;
        Ciel ciel;
        const char* message;  // part of it
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Cas cas[] = {
        {"one point", {0, {}, {{180, 5}}}, "au moins deux points"},
        {"altitude 95", {0, {}, {{0, 0}, {180, 95}}}, "95"},
        {"altitude -3", {0, {}, {{0, -3}, {180, 0}}}, "-3"},
        {"NaN altitude", {0, {}, {{0, nan}, {180, 0}}}, "hauteur de l'horizon"},
        {"infinite azimuth", {0, {}, {{INFINITY, 0}, {180, 0}}}, "azimut"},
        {"skyline and eye height", {10, {}, {{0, 0}, {180, 0}}}, "ne vont pas ensemble"},
        {"negative eye height", {-1, {}, {}}, "hauteur de l'œil"},
        {"NaN eye height", {nan, {}, {}}, "hauteur de l'œil"},
        {"altitude 91", {0, {91}, {}}, "91"},
        {"the same altitude twice", {0, {6, -4, 6}, {}}, "deux fois"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        EXPECT_NE(ErreurCiel(c.ciel).find(c.message), std::string::npos) << ErreurCiel(c.ciel);
        double valeur = 0;
        EXPECT_NE(VerifieCiel(c.ciel, valeur), DefautCiel::Aucun);
        EXPECT_THROW(JourneeSolaire(2026, 3, 20, ParisCiel, c.ciel, TtCiel), std::invalid_argument);
    }
    EXPECT_EQ(ErreurCiel({2000, {6, -4, 90, -90}, {}}), "");
    EXPECT_EQ(ErreurCiel({0, {}, {{0, -2}, {0, 90}}}), "");
}
