// The VSOP87 series along a regular series of instants: the sine and cosine of each of the
// theory's distinct frequencies carried from one row to the next by a fixed rotation, instead of
// computed afresh. Used by the engine's series of positions; callers see PosSoleil.h only.
#pragma once

#include <cstddef>

namespace VSOPEAR {

// The frequency slots of the series taken together: the strong tier, then the weak one, each
// padded with empty slots to whole groups.
inline constexpr std::size_t NombreFrequences = 740;

// The state of a series: the phasor (cos, sin of F tau) of every slot at the current row's
// ideal tau = tau0 + rang * pasTau, and the rotation of one row.
struct Phaseurs {
    alignas(32) double c[NombreFrequences], s[NombreFrequences];
    alignas(32) double rc[NombreFrequences], rs[NombreFrequences];
    double tau0, pasTau;
    long long rang, prochainDepart;
};

// Starts a series at tau0 (Julian millennia of dynamical time since J2000.0), pasTau per row.
void DemarrePhaseurs(Phaseurs& p, double tau0, double pasTau) noexcept;

// L and B in degrees, R in au, for the current row, then moves the state to the next row.
// Given:    tau  the row's own tau as the driver computes it, within a few units of the last
//                place of the ideal one: the phasors are turned by the difference to first order.
// The phasors are taken afresh from the sine and cosine every so many rows, so that the error
// of the rotations (a few units of 1e-16 per row) never builds up.
void PositionTerreSerie(Phaseurs& p, double tau, double& L, double& B, double& R) noexcept;

}  // namespace VSOPEAR
