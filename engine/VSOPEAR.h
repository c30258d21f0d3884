// Heliocentric position of the Earth from the complete VSOP87 version D series.
#pragma once

namespace VSOPEAR {

// Heliocentric ecliptic longitude of the Earth, referred to the mean dynamical ecliptic and
// equinox of date.
// Given:    T  Julian centuries of dynamical time since J2000.0 (JD 2451545.0)
// Returned: longitude in degrees, NOT reduced to [0, 360): the sum of the series grows by
//           about 36000.77 degrees per century, and callers that want a turn reduce it.
double LongitudeTerre(double T) noexcept;

// Heliocentric ecliptic latitude of the Earth, degrees (a few 1e-4 degree at most).
// Given:    T  Julian centuries of dynamical time since J2000.0
double LatitudeTerre(double T) noexcept;

// Earth-Sun distance (radius vector), astronomical units (0.983 to 1.017).
// Given:    T  Julian centuries of dynamical time since J2000.0
double RayonTerre(double T) noexcept;

// The three at once, L and B in degrees and R in au, as the three functions above give them
// (to the last bits on the scalar path; within 1e-10 degree and 1e-13 au on the vector path,
// which computes the sine and cosine of each of the 704 distinct frequencies once for all three).
void PositionTerre(double T, double& L, double& B, double& R) noexcept;

// True when the functions above run on the vector path (AVX2 and FMA, chosen at run
// time); false where they fall back to the scalar evaluation below.
bool EvaluationVectorielle() noexcept;

// The straightforward evaluation, one term at a time with the C library's cosine: the
// reference against which the vector path is measured and checked. Same arguments and results.
namespace Scalaire {
double LongitudeTerre(double T) noexcept;
double LatitudeTerre(double T) noexcept;
double RayonTerre(double T) noexcept;
void PositionTerre(double T, double& L, double& B, double& R) noexcept;
}  // namespace Scalaire

}  // namespace VSOPEAR
