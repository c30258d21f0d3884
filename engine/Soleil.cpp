// The apparent geocentric Sun (FK5 frame, aberration, nutation, equatorial coordinates, the
// equation of time) and the position driver that carries a UTC instant and a site to it.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "Interne.h"
#include "PosSoleil.h"
#include "VSOPEAR.h"
#include "VSOPEARSerie.h"
#include "Vectoriel.h"

namespace PosSoleil {

using Interne::Deg;
using Interne::Rad;

namespace {

// Periodic terms of the Sun's daily motion in longitude (arcseconds per day): coefficient,
// power of tau that multiplies it, phase and rate per Julian millennium in degrees.
struct TermeAberration {
    double coefficient;
    int puissance;
    double phase, vitesse;
};

constexpr TermeAberration MouvementSoleil[] = {
    {118.568, 0, 87.5287, 359993.7286}, {2.476, 0, 85.0561, 719987.4571},
    {1.376, 0, 27.8502, 4452671.1152},  {0.119, 0, 73.1375, 450368.8564},
    {0.114, 0, 337.2264, 329644.6718},  {0.086, 0, 222.54, 659289.3436},
    {0.078, 0, 162.8136, 9224659.7915}, {0.054, 0, 82.5823, 1079981.1857},
    {0.052, 0, 171.5189, 225184.4282},  {0.034, 0, 30.3214, 4092677.3866},
    {0.033, 0, 119.8105, 337181.4711},  {0.023, 0, 247.5418, 299295.6151},
    {0.023, 0, 325.1526, 315559.556},   {0.021, 0, 155.1241, 675553.2846},
    {7.311, 1, 333.4515, 359993.7286},  {0.305, 1, 330.9814, 719987.4571},
    {0.01, 1, 328.517, 1079981.1857},   {0.309, 2, 241.4518, 359993.7286},
    {0.021, 2, 205.0482, 719987.4571},  {0.004, 2, 297.861, 4452671.1152},
    {0.01, 3, 154.7066, 359993.7286},
};
static_assert(std::size(MouvementSoleil) == 21);

}  // namespace

double LongitudeTerre(double T) noexcept {
    return VSOPEAR::LongitudeTerre(T);
}
double LatitudeTerre(double T) noexcept {
    return VSOPEAR::LatitudeTerre(T);
}
double RayonTerre(double T) noexcept {
    return VSOPEAR::RayonTerre(T);
}

namespace {

// The daily motion term by term with the C library's sine: the reference.
double MouvementScalaire(double tau) noexcept {
    double S = 0.0;
    for (const auto& t : MouvementSoleil) {
        double coefficient = t.coefficient;
        for (int k = 0; k < t.puissance; ++k) coefficient *= tau;
        S += coefficient * std::sin((t.phase + t.vitesse * tau) * Rad);
    }
    return S;
}

#ifdef ORVANEL_AVX2
// The same terms as columns for the vector sum: each coefficient in the column of its power of
// tau, phases and rates in radians; three empty rows pad them to 24.
struct ColonnesMouvement {
    double C[4][24], phase[24], vitesse[24];
};
constexpr ColonnesMouvement Mouvement = [] {
    ColonnesMouvement c{};
    for (std::size_t i = 0; i < std::size(MouvementSoleil); ++i) {
        const auto& t = MouvementSoleil[i];
        c.C[t.puissance][i] = t.coefficient;
        c.phase[i] = t.phase * Rad;
        c.vitesse[i] = t.vitesse * Rad;
    }
    return c;
}();

double MouvementVectoriel(double tau) noexcept {
    constexpr Vectoriel::ColonnesSinus colonnes = {
        Mouvement.C[0], Mouvement.C[1], Mouvement.C[2], Mouvement.C[3],
        Mouvement.phase, Mouvement.vitesse, 24};
    return Vectoriel::SommeSinus(colonnes, tau);
}
#endif

// The periodic part of the daily motion, from tau, on one path or the other.
using SommeMouvement = double (*)(double tau) noexcept;

// The Sun is seen where it was one light time earlier: light time per au in days times the
// daily motion in longitude (arcseconds per day).
// Light time for 1 au, 0.005775518 d = 499.0048 s: the IAU (1976) System of Astronomical
// Constants (499.004782 s); with the mean daily motion 3548.193"/d it gives the constant of
// aberration, 20.49552". The periodic terms of the daily motion: J. Meeus, Astronomical
// Algorithms, 2nd ed. (1998), chapter 25, derived there from VSOP87.
double AberrationAvec(SommeMouvement mouvement, double T, double R) noexcept {
    const double S = 3548.193 + mouvement(T / 10);
    return -0.005775518 * R * S / 3600;
}

SommeMouvement MouvementRapide() noexcept {
#ifdef ORVANEL_AVX2
    if (Vectoriel::Avx2Disponible()) return &MouvementVectoriel;
#endif
    return &MouvementScalaire;
}

}  // namespace

double Aberration(double T, double R) noexcept {
    return AberrationAvec(MouvementRapide(), T, R);
}

void EcliptiqueVersEquateur(double epsilon, double lambda, double beta, double& alpha,
                            double& delta) noexcept {
    const double e = epsilon * Rad;
    const double l = lambda * Rad;
    const double b = beta * Rad;
    // Rounding may carry the sine a hair past 1 where the arguments are extreme.
    delta = std::asin(std::clamp(
                std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l), -1.0, 1.0)) *
            Deg;
    alpha = std::atan2(std::sin(l) * std::cos(e) - std::sin(b) / std::cos(b) * std::sin(e), std::cos(l)) *
            Deg;
}

double EquationDuTemps(double T, double alpha, double deltaPsi, double epsilon0) noexcept {
    const double tau = T / 10;
    const double L0 = Modulo360(280.4664567 + 360007.6982779 * tau + 0.03032028 * tau * tau +
                                tau * tau * tau / 49931 - tau * tau * tau * tau / 15300 -
                                tau * tau * tau * tau * tau / 2000000);
    double E = deltaPsi * std::cos(epsilon0 * Rad) + (L0 - 0.0057183 - alpha);
    E = E / 15;
    // alpha lies in (-180, 180] and L0 in [0, 360): the raw difference may be a day off.
    if (E > 20) E -= 24;
    if (E < -20) E += 24;
    return E;
}

namespace {

// Beyond these bounds no figure means anything, but every finite input must still give finite
// results: the date-time value is held within +-1e10 days (27 million years) and T within
// +-1e6 centuries, where the cubes of the polynomial arguments stay far from overflow.
constexpr double LimiteDateValeur = 1e10;
constexpr double LimiteSiecles = 1e6;

// From the geometric Sun of VSOP87 (L, beta in degrees, R in au) at an instant to everything
// that does not depend on the site.
template <bool Rapide>
Geocentre Apparent(double JD, double T, double L, double beta, double R) noexcept {
    const double M = Modulo360(AnomalieMoyenneSoleil(T));
    // Geometric geocentric Sun: the heliocentric Earth seen from the other side.
    L += 180;
    beta = -beta;

    // From the dynamical equinox of VSOP87 to the FK5 frame: -0.09033" in longitude and
    // 0.03916" (cos - sin) of the longitude less 1.397 degrees per century in latitude.
    // Source: P. Bretagnon and G. Francou, Astron. Astrophys. 202, 309 (1988), as given by
    // J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 32.
    const double lambdaPrime = L - 1.397 * T - 0.00031 * T * T;
    const double cosLp = std::cos(lambdaPrime * Rad);
    const double sinLp = std::sin(lambdaPrime * Rad);
    beta = beta + 0.03916 * (cosLp - sinLp) / 3600;
    L = L + (0.03916 * (cosLp + sinLp) * std::tan(beta * Rad) - 0.09033) / 3600;

    L = L + AberrationAvec(Rapide ? MouvementRapide() : &MouvementScalaire, T, R);

    const double F = ArgumentLatitudeLune(T);
    const double D = ElongationMoyenneLune(T);
    const double Omega = Modulo360(LongitudeNoeudLune(T));
    const double Mprime = Modulo360(AnomalieMoyenneLune(T));
    double deltaPsi = 0.0;
    double deltaEpsilon = 0.0;
    Interne::NutationAvec(Rapide ? Interne::NutationRapide() : &Interne::SommesNutationScalaires, T,
                          Mprime, M, F, D, Omega, deltaPsi, deltaEpsilon);
    const double epsilon0 = ObliquiteMoyenne(T);

    // Nutation in longitude enters the apparent place only; L itself keeps none.
    Geocentre g{};
    EcliptiqueVersEquateur(epsilon0 + deltaEpsilon, L + deltaPsi, beta, g.AscensionDroite,
                           g.Declinaison);

    double theta0 = 0.0;
    TempsSideral(JD, theta0, g.TempsSideral);
    g.EquationEquinoxes = EquationEquinoxes(deltaPsi, epsilon0 + deltaEpsilon);
    g.LongitudeSoleil = L;
    g.RayonVecteur = R;
    g.EquationTemps = EquationDuTemps(T, g.AscensionDroite, deltaPsi, epsilon0);
    return g;
}

// JD and T of an instant, each held within the bounds above.
void Instants(double t, double TEmoinsTU, double& JD, double& T) noexcept {
    JD = JourJulien(std::clamp(t, -LimiteDateValeur, LimiteDateValeur));
    T = std::clamp(SiecleJulien(JD, TEmoinsTU), -LimiteSiecles, LimiteSiecles);
}

template <bool Rapide>
Geocentre GeocentreA(double t, double TEmoinsTU) noexcept {
    double JD = 0.0, T = 0.0;
    Instants(t, TEmoinsTU, JD, T);
    double L = 0.0, beta = 0.0, R = 0.0;
    (Rapide ? VSOPEAR::PositionTerre : VSOPEAR::Scalaire::PositionTerre)(T, L, beta, R);
    return Apparent<Rapide>(JD, T, L, beta, R);
}

// The site's part: parallax, hour angle, horizontal coordinates; what it needs of the Sun
// alone taken once for all the sites of an instant.
Position Topocentre(const Geocentre& g, const Interne::Vu& vu, const Interne::Lieu& lieu,
                    double* angleHoraire = nullptr) noexcept {
    // Local apparent sidereal time, not reduced.
    const double Theta = g.TempsSideral + lieu.longitude + g.EquationEquinoxes;

    const double alpha = g.AscensionDroite, delta = g.Declinaison;
    const double H = Theta - alpha;
    double deltaAlpha = 0.0;
    double deltaDelta = 0.0;
    Interne::ParallaxeVu(vu, lieu.rhoCosPhiP, lieu.rhoSinPhiP, H, deltaAlpha, deltaDelta);
    const double Hprime = Theta - alpha - deltaAlpha;
    if (angleHoraire) *angleHoraire = Hprime;
    Position p{};
    Interne::Horizontales(Hprime, lieu, delta + deltaDelta, p.Azimut, p.Hauteur);

    p.LongitudeSoleil = g.LongitudeSoleil;
    p.RayonVecteur = g.RayonVecteur;
    p.AscensionDroite = alpha;
    p.Declinaison = delta;
    p.EquationTemps = g.EquationTemps;
    return p;
}

Interne::Vu VuGeocentre(const Geocentre& g) noexcept {
    return Interne::VuDe(ParallaxeHorizontale(g.RayonVecteur), g.Declinaison);
}

Position Topocentre(const Geocentre& g, const Interne::Lieu& lieu,
                    double* angleHoraire = nullptr) noexcept {
    return Topocentre(g, VuGeocentre(g), lieu, angleHoraire);
}

// The chain itself, on the vector evaluations of the series or on the scalar reference.
template <bool Rapide>
Position Chaine(double t, const Site& site, double TEmoinsTU, double* angleHoraire = nullptr) noexcept {
    return Topocentre(GeocentreA<Rapide>(t, TEmoinsTU), Interne::LieuDe(site), angleHoraire);
}

void Ecrit(const Position& p, double& LongitudeSoleil, double& RayonVecteur,
           double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
           double& EquationTemps) noexcept {
    LongitudeSoleil = p.LongitudeSoleil;
    RayonVecteur = p.RayonVecteur;
    AscensionDroite = p.AscensionDroite;
    Declinaison = p.Declinaison;
    Azimut = p.Azimut;
    Hauteur = p.Hauteur;
    EquationTemps = p.EquationTemps;
}

}  // namespace

Position PositionSoleil(double t, const Site& site, double TEmoinsTU) noexcept {
    return Chaine<true>(t, site, TEmoinsTU);
}

Geocentre PositionGeocentrique(double t, double TEmoinsTU) noexcept {
    return GeocentreA<true>(t, TEmoinsTU);
}

Position PositionTopocentrique(const Geocentre& g, const Site& site) noexcept {
    return Topocentre(g, Interne::LieuDe(site));
}

void PositionsSites(double t, double TEmoinsTU, std::span<const Site> sites,
                    std::span<Position> sortie) noexcept {
    const Geocentre g = GeocentreA<true>(t, TEmoinsTU);
    const std::size_t n = std::min(sites.size(), sortie.size());
    const Interne::Vu vu = VuGeocentre(g);
    for (std::size_t i = 0; i < n; ++i) sortie[i] = Topocentre(g, vu, Interne::LieuDe(sites[i]));
}

namespace {

using Noeud = Interne::Noeud;

// The geocentric part along a regular series of instants, every `pas` rows of the caller's
// series from row `premier` on: VSOP87 by its rotated phasors, the rest as the driver has it.
class Geocentres {
public:
    Geocentres(double t0, double pasJours, double TEmoinsTU, double pasTEmoinsTU, double pasTau,
               long long premier, long long pas) noexcept
        : t0_(t0), pasJours_(pasJours), TEmoinsTU_(TEmoinsTU), pasTEmoinsTU_(pasTEmoinsTU),
          rang_(premier), pas_(pas) {
        double JD = 0.0, T = 0.0;
        Instants(t0 + static_cast<double>(premier) * pasJours,
                 TEmoinsTU + static_cast<double>(premier) * pasTEmoinsTU, JD, T);
        VSOPEAR::DemarrePhaseurs(phaseurs_, T / 10, static_cast<double>(pas) * pasTau);
    }

    Noeud Suivant() noexcept {
        // Each row's instant as a caller would write it, so its sidereal time is the driver's.
        const double k = static_cast<double>(rang_);
        double JD = 0.0, T = 0.0;
        Instants(t0_ + k * pasJours_, TEmoinsTU_ + k * pasTEmoinsTU_, JD, T);
        double L = 0.0, beta = 0.0, R = 0.0;
        VSOPEAR::PositionTerreSerie(phaseurs_, T / 10, L, beta, R);
        rang_ += pas_;
        return {Apparent<true>(JD, T, L, beta, R), T};
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
    Instants(t0, TEmoinsTU, JD, T);
    const double pasTau = (pasJours + pasTEmoinsTU / SecondesParJour) / 365250.0;
    const Interne::Lieu lieu = Interne::LieuDe(site);
    const long long n = static_cast<long long>(sortie.size());
    // The rotations hold where the vector sums hold: within ten thousand years of J2000. A few
    // rows do not pay for starting the phasors (two sine-cosines per frequency).
    if (!(std::fabs(T) < 50 && std::fabs(pasTau) < 1) || n < 16) {
        for (long long i = 0; i < n; ++i) {
            const double k = static_cast<double>(i);
            sortie[i] = Chaine<true>(t0 + k * pasJours, site, TEmoinsTU + k * pasTEmoinsTU);
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
        for (long long i = 0; i < n; ++i) sortie[i] = Topocentre(geocentres.Suivant().g, lieu);
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
        Instants(t0 + k * pasJours, TEmoinsTU + k * pasTEmoinsTU, JD, T);
        Geocentre g = polynome.En(T);
        double theta0 = 0.0;
        TempsSideral(JD, theta0, g.TempsSideral);
        sortie[i] = Topocentre(g, lieu);
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
        Instants(tk, 0.0, JD, T);
        noeuds_.push_back({GeocentreA<true>(tk, 0.0), T});
    }
}

Position Interne::SoleilDuSite::En(double t, double TEmoinsTU,
                                   double& angleHoraire) const noexcept {
    double JD = 0.0, T = 0.0;
    Instants(t, TEmoinsTU, JD, T);
    const double k = std::floor((t + TEmoinsTU / SecondesParJour) / EcartNoeuds);
    const long long i = static_cast<long long>(k) - NoeudsAvant - premier_;
    if (!(k > -1e15 && k < 1e15) || i < 0 ||
        i + NombreNoeuds > static_cast<long long>(noeuds_.size()))
        return Topocentre(GeocentreA<true>(t, TEmoinsTU), lieu_, &angleHoraire);
    Interpolation polynome(noeuds_.data() + i);
    Geocentre g = polynome.En(T);
    double theta0 = 0.0;
    TempsSideral(JD, theta0, g.TempsSideral);
    return Topocentre(g, lieu_, &angleHoraire);
}

Position Interne::PositionEtAngleHoraire(double t, const Site& site, double TEmoinsTU,
                                         double& angleHoraire) noexcept {
    return Chaine<true>(t, site, TEmoinsTU, &angleHoraire);
}

void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute,
                    double Seconde, double Longitude, double Latitude, double AltitudeSite,
                    double TEmoinsTU, double& LongitudeSoleil, double& RayonVecteur,
                    double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
                    double& EquationTemps) noexcept {
    Ecrit(PositionSoleil(EncodeDateValeur(Annee, Mois, Jour, Heure, Minute, Seconde),
                         {Longitude, Latitude, AltitudeSite}, TEmoinsTU),
          LongitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut, Hauteur,
          EquationTemps);
}

namespace Scalaire {

Position PositionSoleil(double t, const Site& site, double TEmoinsTU) noexcept {
    return Chaine<false>(t, site, TEmoinsTU);
}

void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute,
                    double Seconde, double Longitude, double Latitude, double AltitudeSite,
                    double TEmoinsTU, double& LongitudeSoleil, double& RayonVecteur,
                    double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
                    double& EquationTemps) noexcept {
    Ecrit(PositionSoleil(EncodeDateValeur(Annee, Mois, Jour, Heure, Minute, Seconde),
                         {Longitude, Latitude, AltitudeSite}, TEmoinsTU),
          LongitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, Azimut, Hauteur,
          EquationTemps);
}

}  // namespace Scalaire

}  // namespace PosSoleil
