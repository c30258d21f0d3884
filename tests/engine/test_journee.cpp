// The solar day: every reported event checked against the driver itself, and every crossing
// that a fine scan of the day finds reported.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PosSoleil.h"

using namespace PosSoleil;

namespace {

constexpr double TEmoinsTU = 69.184;
constexpr double DemiSeconde = 0.5 / 86400.0;  // days

// How far the altitude moves in half a second around t, degrees.
double MouvementDemiSeconde(double t, const Site& site) {
    const double avant = PositionSoleil(t - DemiSeconde, site, TEmoinsTU).Hauteur;
    const double apres = PositionSoleil(t + DemiSeconde, site, TEmoinsTU).Hauteur;
    return std::fabs(apres - avant) / 2.0;
}

// The crossings of a threshold found by scanning the day every `pas` seconds.
int CroisementsBalayes(double debut, const Site& site, double seuil, double pas) {
    int n = 0;
    double avant = PositionSoleil(debut, site, TEmoinsTU).Hauteur;
    for (double s = pas; s <= 86400.0; s += pas) {
        const double h = PositionSoleil(debut + s / 86400.0, site, TEmoinsTU).Hauteur;
        n += (avant < seuil) != (h < seuil);
        avant = h;
    }
    return n;
}

struct Cas {
    const char* nom;
    int annee, mois, jour;
    Site site;
    // What the day must hold, threshold by threshold (rise-set, civil, nautical, astronomical).
    EtatSeuil etats[NombreSeuils];
};

constexpr EtatSeuil F = EtatSeuil::Franchi, Dessus = EtatSeuil::ToujoursAuDessus,
                    Dessous = EtatSeuil::ToujoursAuDessous;
const double Tromso = 69 + 39.0 / 60, TromsoEst = 18 + 57.0 / 60;

const Cas Jours[] = {
    {"mid-latitude winter", 2026, 12, 8, {2.0302777777777776, 42.49666666666667, 0}, {F, F, F, F}},
    {"mid-latitude summer", 2026, 6, 21, {2.0302777777777776, 42.49666666666667, 0}, {F, F, F, F}},
    {"equator", 2026, 3, 20, {-78.5, 0.0, 0}, {F, F, F, F}},
    {"southern site", 2026, 12, 8, {151.21, -33.87, 0}, {F, F, F, F}},
    {"179 E", 2026, 9, 1, {179.0, -17.0, 0}, {F, F, F, F}},
    {"179 W", 2026, 9, 1, {-179.0, -17.0, 0}, {F, F, F, F}},
    {"Tromso in June", 2026, 6, 21, {TromsoEst, Tromso, 0}, {Dessus, Dessus, Dessus, Dessus}},
    {"Tromso in December", 2026, 12, 21, {TromsoEst, Tromso, 0}, {Dessous, F, F, F}},
    {"summer night at 55 N", 2026, 6, 21, {0.0, 55.0, 0}, {F, F, Dessus, Dessus}},
};

}  // namespace

TEST(JourneeSolaire, EventsMeetTheirDefinitions) {
    for (const Cas& c : Jours) {
        SCOPED_TRACE(c.nom);
        const JourSolaire j = JourneeSolaire(c.annee, c.mois, c.jour, c.site, TEmoinsTU);
        // The day of the site: from its local mean midnight.
        EXPECT_NEAR(j.debut,
                    EncodeDateValeur(c.annee, c.mois, c.jour, 0, 0, 0) - c.site.Longitude / 360,
                    1e-12);
        int passages = 0, croisements[NombreSeuils] = {};
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
            const Evenement& e = j.evenements[i];
            SCOPED_TRACE(i);
            EXPECT_GE(e.t, j.debut);
            EXPECT_LT(e.t, j.debut + 1.0);
            if (i > 0) {
                EXPECT_LE(j.evenements[i - 1].t, e.t);
            }
            const Position p = PositionSoleil(e.t, c.site, TEmoinsTU);
            EXPECT_NEAR(e.hauteur, p.Hauteur, 1e-9);
            // The azimuth near the zenith or the nadir moves as 1/cos h.
            EXPECT_NEAR(e.azimut, p.Azimut, 1e-9 / std::cos(p.Hauteur * M_PI / 180));
            if (e.type == TypeEvenement::Montee || e.type == TypeEvenement::Descente) {
                const int s = static_cast<int>(e.seuil);
                ++croisements[s];
                EXPECT_NEAR(p.Hauteur, HauteursSeuils[s], MouvementDemiSeconde(e.t, c.site) + 1e-9);
                // Upwards at dawn and rise, downwards at dusk and set.
                const double plusTard =
                    PositionSoleil(e.t + 60 / 86400.0, c.site, TEmoinsTU).Hauteur;
                EXPECT_EQ(plusTard > p.Hauteur, e.type == TypeEvenement::Montee);
            } else {
                // At a culmination the Sun stands on the meridian: due north or due south, to
                // the hour angle's motion in half a second (0.0021 degree) times 1/cos h.
                const double azimut = std::fmod(p.Azimut + 360.0, 180.0);
                const double ecart =
                    std::min(azimut, 180.0 - azimut) * std::cos(p.Hauteur * M_PI / 180);
                EXPECT_LT(ecart, 0.0025) << p.Azimut;
                passages += e.type == TypeEvenement::Passage;
            }
        }
        EXPECT_EQ(passages, 1);
        for (int s = 0; s < NombreSeuils; ++s) {
            SCOPED_TRACE(s);
            EXPECT_EQ(j.etats[s], c.etats[s]);
            // A scan every 30 seconds finds the same crossings.
            EXPECT_EQ(croisements[s], CroisementsBalayes(j.debut, c.site, HauteursSeuils[s], 30.0));
        }
    }
}

TEST(JourneeSolaire, TransitNearLocalMeanNoonOnBothSidesOfTheDateLine) {
    // The equation of time stays within 17 minutes: the transit falls near 12:00 local mean
    // time, on the site's own date.
    for (const double longitude : {179.0, -179.0, 0.0, 90.0}) {
        SCOPED_TRACE(longitude);
        const JourSolaire j = JourneeSolaire(2026, 9, 1, {longitude, 10.0, 0}, TEmoinsTU);
        int passages = 0;
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
            if (j.evenements[i].type == TypeEvenement::Passage) {
                ++passages;
                EXPECT_NEAR(j.evenements[i].t - (j.debut + 0.5), 0.0, 17.0 / 1440);
            }
        }
        EXPECT_EQ(passages, 1);
    }
}

TEST(JourneeSolaire, GrazedTwilightIsNeitherMissedNorInvented) {
    // At the winter solstice, choose the latitude at which the Sun culminates 0.01 degree above
    // the civil threshold, then 0.01 degree below it.
    const Site greenwich{0.0, 60.0, 0};
    const double transit = JourneeSolaire(2026, 12, 21, greenwich, TEmoinsTU).debut + 0.5;
    const double delta = PositionSoleil(transit, greenwich, TEmoinsTU).Declinaison;
    for (const double marge : {0.01, -0.01}) {
        SCOPED_TRACE(marge);
        const Site site{0.0, 90.0 + delta - (HauteursSeuils[1] + marge), 0};
        const JourSolaire j = JourneeSolaire(2026, 12, 21, site, TEmoinsTU);
        EXPECT_EQ(j.etats[0], EtatSeuil::ToujoursAuDessous);
        EXPECT_EQ(j.etats[1], marge > 0 ? EtatSeuil::Franchi : EtatSeuil::ToujoursAuDessous);
        EXPECT_EQ(CroisementsBalayes(j.debut, site, HauteursSeuils[1], 5.0), marge > 0 ? 2 : 0);
        int civils = 0;
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i)
            civils += j.evenements[i].seuil == Seuil::Civil;
        EXPECT_EQ(civils, marge > 0 ? 2 : 0);
    }
}

TEST(JourneeSolaire, DayLengthAndItsChange) {
    const Site base{2.0302777777777776, 42.49666666666667, 0};
    for (const int mois : {3, 6, 12}) {
        SCOPED_TRACE(mois);
        const JourSolaire j = JourneeSolaire(2026, mois, 21, base, TEmoinsTU);
        double lever = 0, coucher = 0;
        for (int i = 0; i < static_cast<int>(j.evenements.size()); ++i) {
            const Evenement& e = j.evenements[i];
            if (e.seuil != Seuil::LeverCoucher) continue;
            if (e.type == TypeEvenement::Montee) lever = e.t;
            if (e.type == TypeEvenement::Descente) coucher = e.t;
        }
        EXPECT_NEAR(j.duree, (coucher - lever) * 24, 1e-6);
        const JourSolaire veille = JourneeSolaire(2026, mois, 20, base, TEmoinsTU);
        EXPECT_NEAR(j.variationDuree, j.duree - veille.duree, 1e-6);
    }
    EXPECT_EQ(JourneeSolaire(2026, 6, 21, {TromsoEst, Tromso, 0}, TEmoinsTU).duree, 24.0);
    EXPECT_EQ(JourneeSolaire(2026, 12, 21, {TromsoEst, Tromso, 0}, TEmoinsTU).duree, 0.0);
}
