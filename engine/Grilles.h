// Many positions at once: the part every site shares at an instant, many sites at one instant,
// grids of sites and instants, regular series at one site. Included by PosSoleil.h, its public
// header.
#pragma once

#include <span>

#include "PosSoleil.h"

namespace PosSoleil {

// The part of a position that every site shares at one instant.
struct Geocentre {
    double LongitudeSoleil, RayonVecteur, AscensionDroite, Declinaison, EquationTemps;
    double TempsSideral;       // mean sidereal time at Greenwich, degrees, not reduced
    double EquationEquinoxes;  // degrees
};

// The geocentric part at an instant, then a site's position from it: together exactly
// PositionSoleil, so that many sites at one instant pay the series and the nutation once.
Geocentre PositionGeocentrique(double t, double TEmoinsTU) noexcept;
Position PositionTopocentrique(const Geocentre& g, const Site& site) noexcept;
// The same position, and the Sun's topocentric hour angle there (westward, degrees, not reduced
// to a turn: see AngleHoraireReduit).
Position PositionTopocentrique(const Geocentre& g, const Site& site, double& angleHoraire) noexcept;

// Many sites at one instant: sortie[i] is PositionSoleil(t, sites[i], TEmoinsTU), to the bit;
// from the instant's geocentric part g, PositionTopocentrique(g, sites[i]), to the bit.
void PositionsSites(double t, double TEmoinsTU, std::span<const Site> sites,
                    std::span<Position> sortie) noexcept;
void PositionsSites(const Geocentre& g, std::span<const Site> sites,
                    std::span<Position> sortie) noexcept;

// A regular series at one site: sortie[i] is the position at t0 + i pasJours with dynamical
// time - UTC of TEmoinsTU + i pasTEmoinsTU seconds, within 1e-10 degree and 1e-13 au of
// PositionSoleil there (the instants themselves are the caller's: a row's time rounded before
// the call is another instant). The VSOP87 series are carried from row to row by rotating each
// frequency's sine and cosine (taken afresh every 1024 rows). From 16 rows on, rows at most
// 6 hours apart take the geocentric part from nodes at most 12 hours apart (a whole number of
// rows, two or more), by the degree-7 polynomial through the eight nodes around each row, at
// the row's own dynamical time; the sidereal time and the site's part are each row's own. Rows
// further apart compute their geocentric part each, and fewer rows the whole chain each. No
// allocation; the state lives on the stack (about 24 KB).
void SerieSoleil(double t0, double pasJours, const Site& site, double TEmoinsTU,
                 std::span<Position> sortie, double pasTEmoinsTU = 0) noexcept;

// A grid of sites and instants from the instants' geocentric parts: sortie[s * n + k], n the
// number of instants, is PositionTopocentrique(geocentres[k], sites[s], anglesHoraires[s * n + k])
// to the bit, each site's place on the ellipsoid taken once for its row of instants and each
// instant's parallax terms once for the grid. Spans shorter than the grid end it at a whole
// site's row. No allocation.
void PositionsGrille(std::span<const Geocentre> geocentres, std::span<const Site> sites,
                     std::span<Position> sortie, std::span<double> anglesHoraires) noexcept;

}  // namespace PosSoleil
