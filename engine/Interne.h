// What the engine's sources share and its callers never see: the unit conversions and the
// choice between the vector and the scalar sums of the nutation.
#pragma once

#include <numbers>
#include <vector>

#include "PosSoleil.h"

namespace PosSoleil::Interne {

inline constexpr double Rad = std::numbers::pi / 180.0;  // degrees to radians
inline constexpr double Deg = 180.0 / std::numbers::pi;  // radians to degrees

// The two sums of the nutation series in 0.0001", from the fundamental arguments in radians.
using SommesNutation = void (*)(double T, double d, double m, double mp, double f, double om,
                                double& sommePsi, double& sommeEpsilon) noexcept;

// The straightforward sums: one term at a time with the C library's sine and cosine.
void SommesNutationScalaires(double T, double d, double m, double mp, double f, double om,
                             double& sommePsi, double& sommeEpsilon) noexcept;

// The vector sums on processors with AVX2 and FMA, the scalar ones elsewhere.
SommesNutation NutationRapide() noexcept;

// Nutation in longitude and obliquity, degrees, through the given sums.
void NutationAvec(SommesNutation sommes, double T, double Mprime, double M, double F, double D,
                  double Omega, double& deltaPsi, double& deltaEpsilon) noexcept;

// The remainder of x by a turn, bit for bit what std::fmod(x, 360) gives (the sign of x, less
// than a turn in magnitude), without its loop where the quotient is an exact integer.
double Reste360(double x) noexcept;

// The observer's rho sin phi' and rho cos phi' (equatorial radii), from the geodetic latitude
// (degrees) and the height (metres): what the parallax needs of CoordonneesObservateur.
void ParallaxeObservateur(double phi, double h, double& rhoSinPhiP, double& rhoCosPhiP) noexcept;

// What the site's part of the chain needs of a site, the same at every instant: computed once
// for a series of rows, with the very sines and cosines the driver computes for each.
struct Lieu {
    double longitude, latitude;
    double sinPhi, cosPhi;          // of the geodetic latitude
    double rhoSinPhiP, rhoCosPhiP;  // equatorial radii
};
Lieu LieuDe(const Site& site) noexcept;

// What the parallax needs of the Sun at an instant, the same for every site: the sine of the
// horizontal parallax pi, and the declination (radians) with its sine and cosine.
struct Vu {
    double sinPi, sinDelta, cosDelta, delta;
};
Vu VuDe(double pi, double delta) noexcept;

// Parallaxe (PosSoleil.h) from those.
void ParallaxeVu(const Vu& vu, double rhoCosPhiP, double rhoSinPhiP, double H, double& deltaAlpha,
                 double& deltaDelta) noexcept;

// Azimuth (from the north) and altitude, degrees, from the topocentric hour angle and
// declination and the latitude's sine and cosine.
void Horizontales(double Hprime, const Lieu& lieu, double deltaPrime, double& Azimut,
                  double& Hauteur) noexcept;

// Aberration (PosSoleil.h) with the daily motion summed on the vector path or on the scalar
// reference.
double AberrationChemin(bool rapide, double T, double R) noexcept;

// The pieces of the driver that the series and the day's events share with it, on the vector
// evaluations: the Julian date and T of an instant (each held within the engine's bounds), the
// geocentric part from the geometric Sun of VSOP87 or at an instant, the site's part (with the
// topocentric hour angle, westward, degrees, not reduced, when asked), and the whole chain.
void Instants(double t, double TEmoinsTU, double& JD, double& T) noexcept;
Geocentre ApparentRapide(double JD, double T, double L, double beta, double R) noexcept;
Geocentre GeocentreRapide(double t, double TEmoinsTU) noexcept;
Position Topocentre(const Geocentre& g, const Lieu& lieu, double* angleHoraire = nullptr) noexcept;
Position ChaineRapide(double t, const Site& site, double TEmoinsTU,
                      double* angleHoraire = nullptr) noexcept;

// The driver's results and the topocentric hour angle it found on the way (westward, degrees,
// not reduced to a turn), for the day's events.
Position PositionEtAngleHoraire(double t, const Site& site, double TEmoinsTU,
                                double& angleHoraire) noexcept;

// A node of the geocentric Sun: its part at an instant and the dynamical time of that instant.
struct Noeud {
    Geocentre g;
    double T;
};

// The Sun at one site over a span of days, for the searches of the day's events that ask for
// its place again and again: the geocentric part from nodes half a day apart on a grid fixed in
// dynamical time (multiples of half a day), by the polynomial through eight of them, as a
// regular series takes it, within some 1e-12 degree of the driver; the sidereal time and the
// site's part exact at each instant. A node depends on its instant alone, so that any span that
// holds an instant gives it the very same position.
class SoleilDuSite {
public:
    // Given: site; debut, fin  the UTC date-time values of the span
    SoleilDuSite(const Site& site, double debut, double fin);
    // The position at a UTC instant and the topocentric hour angle (westward, degrees, not
    // reduced); outside the span, the driver's own.
    Position En(double t, double TEmoinsTU, double& angleHoraire) const noexcept;

private:
    Lieu lieu_;
    long long premier_ = 0;  // the first node's index on the grid
    std::vector<Noeud> noeuds_;
};

}  // namespace PosSoleil::Interne
