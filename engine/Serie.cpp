// A regular series of positions at one site, and the Sun at one site over a span of days: the
// geocentric part carried by the VSOP87 phasors or interpolated between nodes, the sidereal
// time and the site's part computed at each row.
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "Interne.h"
#include "PosSoleil.h"
#include "VSOPEARSerie.h"

namespace PosSoleil {

namespace {

using Noeud = Interne::Noeud;

// The geocentric part along a regular series of instants, every `pas` rows of the caller's
// series from row `premier` on: VSOP87 by its rotated phasors, the rest as the driver has it.
class Geocentres {
public:
    Geocentres(double t0, double pasJours, double TEmoinsTU, double pasTEmoinsTU, double pasTau,
               long long premier, long long pas) noexcept
        : t0_(t0),
          pasJours_(pasJours),
          TEmoinsTU_(TEmoinsTU),
          pasTEmoinsTU_(pasTEmoinsTU),
          rang_(premier),
          pas_(pas) {
        double JD = 0.0, T = 0.0;
        Interne::Instants(t0 + static_cast<double>(premier) * pasJours,
                          TEmoinsTU + static_cast<double>(premier) * pasTEmoinsTU, JD, T);
        VSOPEAR::DemarrePhaseurs(phaseurs_, T / 10, static_cast<double>(pas) * pasTau);
    }

    Noeud Suivant() noexcept {
        // Each row's instant as a caller would write it, so its sidereal time is the driver's.
        const double k = static_cast<double>(rang_);
        double JD = 0.0, T = 0.0;
        Interne::Instants(t0_ + k * pasJours_, TEmoinsTU_ + k * pasTEmoinsTU_, JD, T);
        double L = 0.0, beta = 0.0, R = 0.0;
        VSOPEAR::PositionTerreSerie(phaseurs_, T / 10, L, beta, R);
        rang_ += pas_;
        return {Interne::ApparentRapide(JD, T, L, beta, R), T};
    }

private:
    double t0_, pasJours_, TEmoinsTU_, pasTEmoinsTU_;
    long long rang_, pas_;
    VSOPEAR::Phaseurs phaseurs_;
};

// Rows closer than this in dynamical time take their geocentric part from nodes up to this far
// apart, by the polynomial through eight of them (degree 7), in the interval between the middle
// two. What moves fastest there is the nutation: its fortnightly term (0.2" over 13.66 days)
// and its 9.13-day term (0.03"). The error of the polynomial is at most A (w h)^8 / 8! times
// 43 (the product of the distances to the nodes at the middle): 2e-9" and 6e-9" for them at
// h = 12 hours, the Moon's term of the theory (6.4", 29.5 days) less, some 1e-12 degree in
// all; 3e-5 au (the Moon's term in the distance) gives 1e-17 au. The sidereal time, fast and
// exact, is each row's own.
constexpr double EcartNoeuds = 0.5;  // days
constexpr int NombreNoeuds = 8;
constexpr int NoeudsAvant = NombreNoeuds / 2 - 1;  // nodes before the interval's first

// The polynomial through the nodes, taken at the nodes' own times: a Julian day holds an
// instant to 4.7e-10 day, in which the Sun moves 4.6e-10 degree, so the times of rows and nodes
// stray from an even spacing by more than the series may err; taken as they are, the
// polynomial follows the driver's rounding of each row's time as the driver does.
class Interpolation {
public:
    explicit Interpolation(const Noeud* q) noexcept : q_(q) {
        for (int k = 0; k < NombreNoeuds; ++k) x_[k] = q[k].T - q[NoeudsAvant].T;
        for (int k = 0; k < NombreNoeuds; ++k) {
            double d = 1;
            for (int j = 0; j < NombreNoeuds; ++j)
                if (j != k) d *= x_[k] - x_[j];
            inverse_[k] = 1 / d;
        }
    }

    Geocentre En(double T) noexcept {
        // Lagrange's weights, the product of the other nodes' distances by prefix and suffix.
        const double x = T - q_[NoeudsAvant].T;
        double e[NombreNoeuds], suffixe[NombreNoeuds + 1];
        for (int k = 0; k < NombreNoeuds; ++k) e[k] = x - x_[k];
        suffixe[NombreNoeuds] = 1;
        for (int k = NombreNoeuds; k-- > 0;) suffixe[k] = suffixe[k + 1] * e[k];
        double prefixe = 1;
        for (int k = 0; k < NombreNoeuds; ++k) {
            w_[k] = prefixe * suffixe[k + 1] * inverse_[k];
            prefixe *= e[k];
        }
        Geocentre g{};
        g.LongitudeSoleil = Valeur(&Geocentre::LongitudeSoleil);
        g.RayonVecteur = Valeur(&Geocentre::RayonVecteur);
        g.AscensionDroite = Angle(&Geocentre::AscensionDroite);
        g.Declinaison = Valeur(&Geocentre::Declinaison);
        g.EquationTemps = Valeur(&Geocentre::EquationTemps);
        g.EquationEquinoxes = Valeur(&Geocentre::EquationEquinoxes);
        return g;
    }

private:
    // From the interval's first node, the others as differences to it: exact at the node.
    template <class Ecart>
    double Somme(double Geocentre::*champ, Ecart ecart) const noexcept {
        const double v = q_[NoeudsAvant].g.*champ;
        double somme = 0;
        for (int k = 0; k < NombreNoeuds; ++k)
            if (k != NoeudsAvant) somme += w_[k] * ecart(q_[k].g.*champ, v);
        return v + somme;
    }
    double Valeur(double Geocentre::*champ) const noexcept {
        return Somme(champ, [](double a, double b) { return a - b; });
    }
    // An angle of (-180, 180]: the shorter way round, then back into range.
    double Angle(double Geocentre::*champ) const noexcept {
        const double a = Somme(champ, [](double u, double v) {
            const double e = u - v;
            return e > 180 ? e - 360 : (e <= -180 ? e + 360 : e);
        });
        return a > 180 ? a - 360 : (a <= -180 ? a + 360 : a);
    }

    const Noeud* q_;
    double x_[NombreNoeuds], inverse_[NombreNoeuds], w_[NombreNoeuds] = {};
};

}  // namespace

void SerieSoleil(double t0, double pasJours, const Site& site, double TEmoinsTU,
                 std::span<Position> sortie, double pasTEmoinsTU) noexcept {
    if (sortie.empty()) return;
    // Dynamical time advances by the step plus the change of TEmoinsTU: that is the rotation.
    double JD = 0.0, T = 0.0;
    Interne::Instants(t0, TEmoinsTU, JD, T);
    const double pasTau = (pasJours + pasTEmoinsTU / SecondesParJour) / 365250.0;
    const Interne::Lieu lieu = Interne::LieuDe(site);
    const long long n = static_cast<long long>(sortie.size());
    // The rotations hold where the vector sums hold: within ten thousand years of J2000. A few
    // rows do not pay for starting the phasors (two sine-cosines per frequency).
    if (!(std::fabs(T) < 50 && std::fabs(pasTau) < 1) || n < 16) {
        for (long long i = 0; i < n; ++i) {
            const double k = static_cast<double>(i);
            sortie[i] =
                Interne::ChaineRapide(t0 + k * pasJours, site, TEmoinsTU + k * pasTEmoinsTU);
        }
        return;
    }
    // Rows per interval of nodes.
    const double pasJoursTT = std::fabs(pasTau) * 365250.0;
    const long long m = pasJoursTT * static_cast<double>(n) <= EcartNoeuds
                            ? n
                            : static_cast<long long>(EcartNoeuds / pasJoursTT);
    if (m < 2) {
        // Rows far apart: the geocentric part of each.
        Geocentres geocentres(t0, pasJours, TEmoinsTU, pasTEmoinsTU, pasTau, 0, 1);
        for (long long i = 0; i < n; ++i)
            sortie[i] = Interne::Topocentre(geocentres.Suivant().g, lieu);
        return;
    }
    Geocentres noeuds(t0, pasJours, TEmoinsTU, pasTEmoinsTU, pasTau, -NoeudsAvant * m, m);
    Noeud q[NombreNoeuds];
    for (Noeud& noeud : q) noeud = noeuds.Suivant();
    Interpolation polynome(q);
    for (long long i = 0, r = 0; i < n; ++i, ++r) {
        if (r == m) {
            std::copy(q + 1, q + NombreNoeuds, q);
            q[NombreNoeuds - 1] = noeuds.Suivant();
            polynome = Interpolation(q);
            r = 0;
        }
        const double k = static_cast<double>(i);
        Interne::Instants(t0 + k * pasJours, TEmoinsTU + k * pasTEmoinsTU, JD, T);
        Geocentre g = polynome.En(T);
        double theta0 = 0.0;
        TempsSideral(JD, theta0, g.TempsSideral);
        sortie[i] = Interne::Topocentre(g, lieu);
    }
}

Interne::SoleilDuSite::SoleilDuSite(const Site& site, double debut, double fin)
    : lieu_(LieuDe(site)) {
    // The polynomial takes the nodes around each instant's dynamical time, which runs ahead of
    // UTC by anything in the range the faces accept: half a day of margin after the span, a
    // tenth before; an instant beyond them takes the driver's own position.
    premier_ = static_cast<long long>(std::floor((debut - 0.1) / EcartNoeuds)) - NoeudsAvant;
    const long long dernier = static_cast<long long>(std::floor((fin + 0.5) / EcartNoeuds)) +
                              (NombreNoeuds - NoeudsAvant);
    noeuds_.reserve(static_cast<std::size_t>(dernier - premier_ + 1));
    for (long long k = premier_; k <= dernier; ++k) {
        // A node's instant is read as dynamical time: UTC with no difference.
        double JD = 0.0, T = 0.0;
        const double tk = static_cast<double>(k) * EcartNoeuds;
        Interne::Instants(tk, 0.0, JD, T);
        noeuds_.push_back({Interne::GeocentreRapide(tk, 0.0), T});
    }
}

Position Interne::SoleilDuSite::En(double t, double TEmoinsTU,
                                   double& angleHoraire) const noexcept {
    double JD = 0.0, T = 0.0;
    Interne::Instants(t, TEmoinsTU, JD, T);
    const double k = std::floor((t + TEmoinsTU / SecondesParJour) / EcartNoeuds);
    const long long i = static_cast<long long>(k) - NoeudsAvant - premier_;
    if (!(k > -1e15 && k < 1e15) || i < 0 ||
        i + NombreNoeuds > static_cast<long long>(noeuds_.size()))
        return Interne::Topocentre(Interne::GeocentreRapide(t, TEmoinsTU), lieu_, &angleHoraire);
    Interpolation polynome(noeuds_.data() + i);
    Geocentre g = polynome.En(T);
    double theta0 = 0.0;
    TempsSideral(JD, theta0, g.TempsSideral);
    return Interne::Topocentre(g, lieu_, &angleHoraire);
}

Position Interne::PositionEtAngleHoraire(double t, const Site& site, double TEmoinsTU,
                                         double& angleHoraire) noexcept {
    return Interne::ChaineRapide(t, site, TEmoinsTU, &angleHoraire);
}

}  // namespace PosSoleil
