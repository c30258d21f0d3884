// The solar day: culminations, rise and set, the twilights and the caller's own altitudes,
// found by bracketing each crossing between culminations, where the altitude is monotonic;
// behind a skyline, by following the Sun along its path and bracketing each change of side.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>

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
    const Interne::SoleilDuSite& soleil;
    double TEmoinsTU;
    Point Evalue(double t) const noexcept {
        double H = 0.0;
        const Position p = soleil.En(t, TEmoinsTU, H);
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

// The zero of f between a and b, where f(a) and f(b) lie on either side of it: secant steps
// through the last two points, kept within the bracket (halving it when a step would leave
// it), until f is within a ten-millionth of a degree (well under a millisecond of the Sun's
// motion) or the bracket under a millisecond.
template <class Fonction>
Point Zero(const Contexte& c, Fonction f, Point a, Point b) noexcept {
    Point p0 = a, p1 = b, p = a;
    double fa = f(a), f0 = fa, f1 = f(b);
    for (int i = 0; i < 60 && b.t - a.t > PrecisionJours; ++i) {
        double t = p1.t - f1 * (p1.t - p0.t) / (f1 - f0);
        if (!(t > a.t && t < b.t)) t = 0.5 * (a.t + b.t);
        p = c.Evalue(t);
        const double fp = f(p);
        if (std::fabs(fp) < 1e-7) break;
        if ((fp < 0) == (fa < 0)) {
            a = p;
            fa = fp;
        } else {
            b = p;
        }
        p0 = p1;
        f0 = f1;
        p1 = p;
        f1 = fp;
    }
    return p;
}

// The crossing of a fixed altitude between a and b, on either side of it.
Point Croisement(const Contexte& c, double seuil, Point a, Point b) noexcept {
    return Zero(
        c, [seuil](const Point& p) { return p.hauteur - seuil; }, a, b);
}

// The culminations of the day, in time order, as bounds of the monotonic stretches:
// the day's two ends and every upper or lower culmination between them. Returns how many.
int Bornes(const Contexte& c, double debut, Point (&bornes)[8],
           std::vector<Evenement>* evenements) {
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
            evenements->push_back(
                {superieure ? TypeEvenement::Passage : TypeEvenement::PassageInferieur,
                 Seuil::LeverCoucher, p.t, p.azimut, p.hauteur, 0.0});
        }
    }
    bornes[n++] = b;
    return n;
}

// Every crossing of one altitude over the monotonic stretches; the time above it in hours,
// and what the altitude did in the day.
double Franchissements(const Contexte& c, const Point* bornes, int n, Seuil seuil, double h,
                       std::vector<Evenement>* evenements, EtatSeuil& etat) {
    double dessus = 0.0;
    etat = bornes[0].hauteur >= h ? EtatSeuil::ToujoursAuDessus : EtatSeuil::ToujoursAuDessous;
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
        etat = EtatSeuil::Franchi;
        if (evenements)
            evenements->push_back({montee ? TypeEvenement::Montee : TypeEvenement::Descente, seuil,
                                   p.t, p.azimut, p.hauteur, h});
    }
    return dessus * 24.0;
}

// Behind a skyline: the Sun is seen while its altitude exceeds what the skyline asks at its
// azimuth. Within a monotonic stretch only the part where the altitude lies between the least
// and the greatest of those can hold a crossing; there the Sun is followed in steps of at most
// four minutes and half a degree of azimuth, and each change of side is bracketed. Returns the
// hours seen.
double Horizons(const Contexte& c, const Point* bornes, int n, const Horizon& horizon,
                std::vector<Evenement>* evenements, EtatSeuil& etat) {
    const auto ecart = [&horizon](const Point& p) {
        return p.hauteur - horizon.HauteurCentre(p.azimut);
    };
    constexpr double PasMax = 240.0 / SecondesParJour, PasMin = 1.0 / SecondesParJour;
    constexpr double AzimutMax = 0.5;
    const bool vuAuDebut = ecart(bornes[0]) >= 0;
    etat = vuAuDebut ? EtatSeuil::ToujoursAuDessus : EtatSeuil::ToujoursAuDessous;
    bool vu = vuAuDebut;
    double dessus = 0.0, depuis = bornes[0].t;
    const auto change = [&](const Point& p, bool montee) {
        if (!montee) dessus += p.t - depuis;
        depuis = p.t;
        vu = montee;
        etat = EtatSeuil::Franchi;
        if (evenements)
            evenements->push_back({montee ? TypeEvenement::Montee : TypeEvenement::Descente,
                                   Seuil::LeverCoucher, p.t, p.azimut, p.hauteur,
                                   horizon.HauteurCentre(p.azimut)});
    };
    // The band, widened by more than a millisecond of the Sun's motion, so that its edges lie
    // plainly on one side.
    const double bas = horizon.Min() - 1e-4, haut = horizon.Max() + 1e-4;
    for (int i = 0; i + 1 < n; ++i) {
        const Point& a = bornes[i];
        const Point& b = bornes[i + 1];
        Point debut = a, fin = b;
        if (b.hauteur >= a.hauteur) {
            if (b.hauteur < bas || a.hauteur >= haut) continue;
            if (a.hauteur < bas) debut = Croisement(c, bas, a, b);
            if (b.hauteur >= haut) fin = Croisement(c, haut, a, b);
        } else {
            if (a.hauteur < bas || b.hauteur >= haut) continue;
            if (a.hauteur >= haut) debut = Croisement(c, haut, a, b);
            if (b.hauteur < bas) fin = Croisement(c, bas, a, b);
        }
        Point p = debut;
        double fp = ecart(p);
        // Outside the band the side is plain and cannot have changed unseen.
        if ((fp >= 0) != vu) change(p, fp >= 0);
        double pas = std::min(PasMax, fin.t - p.t);
        while (p.t < fin.t) {
            const double t = std::min(p.t + pas, fin.t);
            const Point q = t == fin.t ? fin : c.Evalue(t);
            const double fq = ecart(q);
            if ((fq >= 0) != (fp >= 0)) change(Zero(c, ecart, p, q), fq >= 0);
            // The next step from the azimuth's rate over this one.
            const double vitesse = std::fabs(Ecart(q.azimut, p.azimut)) / (q.t - p.t);
            pas = std::clamp(vitesse > 0 ? AzimutMax / vitesse : PasMax, PasMin, PasMax);
            p = q;
            fp = fq;
        }
    }
    const double fin = bornes[n - 1].t;
    if (vu) dessus += fin - depuis;
    return dessus * 24.0;
}

// A sky made ready for the day's searches.
struct CielPret {
    double leverCoucher;  // the rise-set altitude without a skyline
    std::optional<Horizon> horizon;
    const std::vector<double>& hauteurs;

    explicit CielPret(const Ciel& ciel)
        : leverCoucher(HauteurLeverCoucher(ciel.hauteurOeil)), hauteurs(ciel.hauteurs) {
        double valeur = 0;
        if (VerifieCiel(ciel, valeur) != DefautCiel::Aucun)
            throw std::invalid_argument("PosSoleil: a sky outside its ranges (see VerifieCiel)");
        if (!ciel.horizon.empty()) horizon.emplace(ciel.horizon);
    }

    // Rise and set in this sky over the day's stretches: the hours seen.
    double LeverCoucher(const Contexte& c, const Point* bornes, int n,
                        std::vector<Evenement>* evenements, EtatSeuil& etat) const {
        return horizon ? Horizons(c, bornes, n, *horizon, evenements, etat)
                       : Franchissements(c, bornes, n, Seuil::LeverCoucher, leverCoucher,
                                         evenements, etat);
    }
};

// One day in a sky; its length alone when `jour` is null.
double Calcule(const Contexte& c, const CielPret& ciel, double debut, JourSolaire* jour) {
    Point bornes[8];
    std::vector<Evenement>* evenements = jour ? &jour->evenements : nullptr;
    const int n = Bornes(c, debut, bornes, evenements);
    EtatSeuil etat{};
    const double duree = ciel.LeverCoucher(c, bornes, n, evenements, etat);
    if (!jour) return duree;
    jour->debut = debut;
    jour->etats[0] = etat;
    for (int s = 1; s < NombreSeuils; ++s)
        Franchissements(c, bornes, n, static_cast<Seuil>(s), HauteursSeuils[s], evenements,
                        jour->etats[s]);
    jour->etatsHauteurs.resize(ciel.hauteurs.size());
    for (std::size_t i = 0; i < ciel.hauteurs.size(); ++i)
        Franchissements(c, bornes, n, Seuil::Hauteur, ciel.hauteurs[i], evenements,
                        jour->etatsHauteurs[i]);
    std::stable_sort(jour->evenements.begin(), jour->evenements.end(),
                     [](const Evenement& a, const Evenement& b) { return a.t < b.t; });
    jour->duree = duree;
    return duree;
}

}  // namespace

double DebutJournee(int Annee, int Mois, int Jour, double Longitude) noexcept {
    return EncodeDateValeur(Annee, Mois, Jour, 0, 0, 0) - Longitude / 360.0;
}

bool AnneeBissextile(int Annee) noexcept {
    return (Annee % 4 == 0 && Annee % 100 != 0) || Annee % 400 == 0;
}

JourSolaire JourneeSolaire(int Annee, int Mois, int Jour, const Site& site, const Ciel& ciel,
                           double TEmoinsTU, double TEmoinsTUVeille) {
    const CielPret pret(ciel);
    if (std::isnan(TEmoinsTUVeille)) TEmoinsTUVeille = TEmoinsTU;
    const double debut = DebutJournee(Annee, Mois, Jour, site.Longitude);
    const Interne::SoleilDuSite soleil(site, debut - 1.0, debut + 1.0);
    JourSolaire j{};
    const double duree = Calcule({soleil, TEmoinsTU}, pret, debut, &j);
    j.variationDuree = duree - Calcule({soleil, TEmoinsTUVeille}, pret, debut - 1.0, nullptr);
    return j;
}

std::vector<JourSolaire> AnneeSolaire(int Annee, const Site& site, const Ciel& ciel,
                                      std::span<const double> TEmoinsTU) {
    const CielPret pret(ciel);
    const int jours = AnneeBissextile(Annee) ? 366 : 365;
    if (TEmoinsTU.size() != static_cast<std::size_t>(jours) + 1)
        throw std::invalid_argument(
            "PosSoleil::AnneeSolaire: one TEmoinsTU for each day of the year and its eve");
    const double premier = DebutJournee(Annee, 1, 1, site.Longitude);
    const Interne::SoleilDuSite soleil(site, premier - 1.0, premier + jours);
    std::vector<JourSolaire> annee(static_cast<std::size_t>(jours));
    double veille = Calcule({soleil, TEmoinsTU[0]}, pret, premier - 1.0, nullptr);
    for (int d = 0; d < jours; ++d) {
        JourSolaire& j = annee[static_cast<std::size_t>(d)];
        const double duree = Calcule({soleil, TEmoinsTU[static_cast<std::size_t>(d) + 1]}, pret,
                                     DebutJournee(Annee, 1, d + 1, site.Longitude), &j);
        j.variationDuree = duree - veille;
        veille = duree;
    }
    return annee;
}

JourSolaire JourneeSolaire(int Annee, int Mois, int Jour, const Site& site, double TEmoinsTU) {
    return JourneeSolaire(Annee, Mois, Jour, site, Ciel{}, TEmoinsTU);
}

}  // namespace PosSoleil
