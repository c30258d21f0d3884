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

double LongitudeTerre(double T) noexcept {
    return VSOPEAR::LongitudeTerre(T);
}
double LatitudeTerre(double T) noexcept {
    return VSOPEAR::LatitudeTerre(T);
}
double RayonTerre(double T) noexcept {
    return VSOPEAR::RayonTerre(T);
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
    alpha = std::atan2(std::sin(l) * std::cos(e) - std::sin(b) / std::cos(b) * std::sin(e),
                       std::cos(l)) *
            Deg;
}

// The equation of time as J. Meeus gives it (Astronomical Algorithms, 2nd ed., 1998, chapter 28,
// formulas 28.2 and 28.3): E = L0 - 0.0057183 - alpha + deltaPsi cos(epsilon), where L0 is the
// Sun's mean longitude referred to the mean equinox of date, from VSOP87, and 0.0057183 degree
// the constant of aberration (20.49552") with the FK5 correction (-0.09033").
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

    L = L + Interne::AberrationChemin(Rapide, T, R);

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

// The chain itself, on the vector evaluations of the series or on the scalar reference.
template <bool Rapide>
Position Chaine(double t, const Site& site, double TEmoinsTU,
                double* angleHoraire = nullptr) noexcept {
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

Position PositionTopocentrique(const Geocentre& g, const Site& site,
                               double& angleHoraire) noexcept {
    return Topocentre(g, Interne::LieuDe(site), &angleHoraire);
}

void PositionsSites(double t, double TEmoinsTU, std::span<const Site> sites,
                    std::span<Position> sortie) noexcept {
    PositionsSites(GeocentreA<true>(t, TEmoinsTU), sites, sortie);
}

void PositionsSites(const Geocentre& g, std::span<const Site> sites,
                    std::span<Position> sortie) noexcept {
    const std::size_t n = std::min(sites.size(), sortie.size());
    const Interne::Vu vu = VuGeocentre(g);
    for (std::size_t i = 0; i < n; ++i) sortie[i] = Topocentre(g, vu, Interne::LieuDe(sites[i]));
}

void PositionsGrille(std::span<const Geocentre> geocentres, std::span<const Site> sites,
                     std::span<Position> sortie, std::span<double> anglesHoraires) noexcept {
    const std::size_t n = geocentres.size();
    if (n == 0) return;
    const std::size_t lignes =
        std::min({sites.size(), sortie.size() / n, anglesHoraires.size() / n});
    // What the parallax needs of each instant, for every site.
    constexpr std::size_t Paquet = 256;
    Interne::Vu vus[Paquet];
    for (std::size_t debut = 0; debut < n; debut += Paquet) {
        const std::size_t fin = std::min(n, debut + Paquet);
        for (std::size_t k = debut; k < fin; ++k) vus[k - debut] = VuGeocentre(geocentres[k]);
        for (std::size_t s = 0; s < lignes; ++s) {
            const Interne::Lieu lieu = Interne::LieuDe(sites[s]);
            for (std::size_t k = debut; k < fin; ++k)
                sortie[s * n + k] =
                    Topocentre(geocentres[k], vus[k - debut], lieu, &anglesHoraires[s * n + k]);
        }
    }
}

namespace Interne {

void Instants(double t, double TEmoinsTU, double& JD, double& T) noexcept {
    PosSoleil::Instants(t, TEmoinsTU, JD, T);
}

Geocentre ApparentRapide(double JD, double T, double L, double beta, double R) noexcept {
    return Apparent<true>(JD, T, L, beta, R);
}

Geocentre GeocentreRapide(double t, double TEmoinsTU) noexcept {
    return GeocentreA<true>(t, TEmoinsTU);
}

Position Topocentre(const Geocentre& g, const Lieu& lieu, double* angleHoraire) noexcept {
    return PosSoleil::Topocentre(g, VuGeocentre(g), lieu, angleHoraire);
}

Position ChaineRapide(double t, const Site& site, double TEmoinsTU, double* angleHoraire) noexcept {
    return Chaine<true>(t, site, TEmoinsTU, angleHoraire);
}

}  // namespace Interne

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
