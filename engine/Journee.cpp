// The solar day: culminations, rise and set, and the twilights, found by bracketing each
// crossing between culminations, where the altitude is monotonic.
#include <algorithm>
#include <cmath>

#include "Interne.h"
#include "PosSoleil.h"

namespace PosSoleil {

namespace {

// Times are refined until they are known to a millisecond.
constexpr double PrecisionJours = 0.001 / SecondesParJour;

struct Point {
    double t, hauteur, azimut, angleHoraire;
};

struct Contexte {
    Site site;
    double TEmoinsTU;
    Point Evalue(double t) const noexcept {
        double H = 0.0;
        const Position p = Interne::PositionEtAngleHoraire(t, site, TEmoinsTU, H);
        return {t, p.Hauteur, p.Azimut, H};
    }
};

// An angle's difference from a target, brought within (-180, 180].
double Ecart(double angle, double cible) noexcept {
    double d = std::remainder(angle - cible, 360.0);
    return d == -180.0 ? 180.0 : d;
}

// The instant at which the hour angle reaches `cible` near the guess `t`: Newton's method
// with the mean rate of the hour angle, which it follows to a few parts in a thousand.
Point AngleHoraireAtteint(const Contexte& c, double cible, double t, double vitesse) noexcept {
    Point p = c.Evalue(t);
    for (int i = 0; i < 8; ++i) {
        const double pas = -Ecart(p.angleHoraire, cible) / vitesse;
        p = c.Evalue(p.t + pas);
        if (std::fabs(pas) < PrecisionJours) break;
    }
    return p;
}

// The crossing of `seuil` between a and b, whose altitudes lie on either side of it: secant
// steps through the last two points, kept within the bracket (halving it when a step would
// leave it), until the altitude is within a ten-millionth of a degree of the threshold (well
// under a millisecond of the Sun's motion).
Point Croisement(const Contexte& c, double seuil, Point a, Point b) noexcept {
    Point p0 = a, p1 = b;
    Point p = a;
    for (int i = 0; i < 60 && b.t - a.t > PrecisionJours; ++i) {
        const double f0 = p0.hauteur - seuil, f1 = p1.hauteur - seuil;
        double t = p1.t - f1 * (p1.t - p0.t) / (f1 - f0);
        if (!(t > a.t && t < b.t)) t = 0.5 * (a.t + b.t);
        p = c.Evalue(t);
        const double fp = p.hauteur - seuil;
        if (std::fabs(fp) < 1e-7) break;
        if ((fp < 0) == (a.hauteur - seuil < 0))
            a = p;
        else
            b = p;
        p0 = p1;
        p1 = p;
    }
    return p;
}

// The culminations of the day, in time order, as bounds of the monotonic stretches:
// the day's two ends and every upper or lower culmination between them. Returns how many.
int Bornes(const Contexte& c, double debut, Point (&bornes)[8], Evenement* evenements,
           int& nombre) noexcept {
    const Point a = c.Evalue(debut), b = c.Evalue(debut + 1.0);
    // The hour angle grows by about 360 degrees a day; unwrapped at the day's end:
    const double H0 = a.angleHoraire;
    const double H1 = H0 + 360.0 + Ecart(b.angleHoraire, H0 + 360.0);
    const double vitesse = H1 - H0;  // degrees per day
    int n = 0;
    bornes[n++] = a;
    for (double k = std::floor(H0 / 180.0) + 1; k * 180.0 <= H1 && n < 7; ++k) {
        const double cible = k * 180.0;
        const Point p = AngleHoraireAtteint(c, cible, debut + (cible - H0) / vitesse, vitesse);
        if (!(p.t > debut && p.t < debut + 1.0)) continue;
        bornes[n++] = p;
        if (evenements) {
            const bool superieure = std::fmod(std::fabs(k), 2.0) == 0.0;
            evenements[nombre++] = {
                superieure ? TypeEvenement::Passage : TypeEvenement::PassageInferieur,
                Seuil::LeverCoucher, p.t, p.azimut, p.hauteur};
        }
    }
    bornes[n++] = b;
    return n;
}

// Every crossing of one threshold over the monotonic stretches; the time above it in hours.
double Franchissements(const Contexte& c, const Point* bornes, int n, Seuil seuil,
                       Evenement* evenements, int& nombre, bool& franchi) noexcept {
    const double h = HauteursSeuils[static_cast<int>(seuil)];
    double dessus = 0.0;
    franchi = false;
    for (int i = 0; i + 1 < n; ++i) {
        const Point& a = bornes[i];
        const Point& b = bornes[i + 1];
        const bool montee = a.hauteur < h && b.hauteur >= h;
        const bool descente = a.hauteur >= h && b.hauteur < h;
        if (!montee && !descente) {
            if (a.hauteur >= h) dessus += b.t - a.t;
            continue;
        }
        const Point p = Croisement(c, h, a, b);
        dessus += montee ? b.t - p.t : p.t - a.t;
        franchi = true;
        if (evenements)
            evenements[nombre++] = {montee ? TypeEvenement::Montee : TypeEvenement::Descente, seuil,
                                    p.t, p.azimut, p.hauteur};
    }
    return dessus * 24.0;
}

}  // namespace

double DebutJournee(int Annee, int Mois, int Jour, double Longitude) noexcept {
    return EncodeDateValeur(Annee, Mois, Jour, 0, 0, 0) - Longitude / 360.0;
}

Journee JourneeSolaire(int Annee, int Mois, int Jour, const Site& site, double TEmoinsTU) noexcept {
    const Contexte c{site, TEmoinsTU};
    Journee j{};
    j.debut = DebutJournee(Annee, Mois, Jour, site.Longitude);
    Point bornes[8];
    const int n = Bornes(c, j.debut, bornes, j.evenements, j.nombre);
    for (int s = 0; s < NombreSeuils; ++s) {
        bool franchi = false;
        const double dessus =
            Franchissements(c, bornes, n, static_cast<Seuil>(s), j.evenements, j.nombre, franchi);
        j.etats[s] = franchi                                  ? EtatSeuil::Franchi
                     : bornes[0].hauteur >= HauteursSeuils[s] ? EtatSeuil::ToujoursAuDessus
                                                              : EtatSeuil::ToujoursAuDessous;
        if (s == 0) j.duree = dessus;
    }
    std::sort(j.evenements, j.evenements + j.nombre,
              [](const Evenement& a, const Evenement& b) { return a.t < b.t; });

    // The previous day, for the change of the day length: its rise and set only.
    Point veille[8];
    int rien = 0;
    const int m = Bornes(c, j.debut - 1.0, veille, nullptr, rien);
    bool franchi = false;
    j.variationDuree =
        j.duree - Franchissements(c, veille, m, Seuil::LeverCoucher, nullptr, rien, franchi);
    return j;
}

}  // namespace PosSoleil
