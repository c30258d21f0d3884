// The Sun on a surface: the hour angle and apparent solar time of a site, the incidence on a
// plane, a single-axis tracker that follows the Sun (and backtracks so that its rows never shade
// each other), the air mass and the irradiance at the top of the atmosphere. Included by
// PosSoleil.h, its public header. Angles in degrees, azimuths from north through east.
#pragma once

#include <limits>
#include <span>

namespace PosSoleil {

// ---- The site's solar time ----

// The Sun's topocentric hour angle (westward from the meridian, degrees) reduced to
// [-180, 180): negative in the morning, 0 at the transit.
double AngleHoraireReduit(double angleHoraire) noexcept;

// The apparent (true) solar time, hours in [0, 24): 12 h + H / 15 from the topocentric hour
// angle H, so that it is exactly noon when the Sun crosses the site's meridian.
double TempsSolaireVrai(double angleHoraire) noexcept;

// ---- A plane ----

// The cosine of the angle of incidence on a plane of tilt beta (0 horizontal, 90 vertical, up to
// 180 facing down) whose normal points to azimuth gamma, of the Sun at zenith distance z and
// azimuth A: cos theta = cos z cos beta + sin z sin beta cos(A - gamma) (Duffie & Beckman, Solar
// Engineering of Thermal Processes, 4th ed. (2013), eq. 1.6.3), kept within [-1, 1]; negative
// when the Sun is behind the plane. NaN for any NaN input.
double ProjectionIncidence(double beta, double gamma, double z, double A) noexcept;

// The angle of incidence itself, degrees in [0, 180]: acos of the projection.
double Incidence(double beta, double gamma, double z, double A) noexcept;

// ---- A single-axis tracker ----

// A row of modules turning about one axis, and its field:
// - axeInclinaison: the axis' tilt from the horizontal (0 for a horizontal axis), degrees;
// - axeAzimut: the direction the axis points to, from north through east (180: to the south);
// - angleMax: the greatest rotation either way from flat, degrees;
// - gcr: the ground coverage ratio, the modules' width over the horizontal distance between
//   rows;
// - penteTransverse: the slope of the ground across the rows (the line through the axes, in the
//   plane perpendicular to them) from the horizontal, degrees, positive with the same sense as
//   the rotation (for an axis pointing south, rising toward the east);
// - retour: backtracking, the rotation at which adjacent rows just stop shading each other.
struct Suiveur {
    double axeInclinaison = 0;
    double axeAzimut = 0;
    double angleMax = 90;
    double gcr = 2.0 / 7.0;
    double penteTransverse = 0;
    bool retour = true;
};

// The tracker at one position of the Sun: its rotation (right-handed about the axis: for an
// axis pointing south, positive toward the west), the tilt and azimuth of its modules' normal,
// and the angle of incidence on them. All NaN while the Sun is below the horizon. The tilt is
// acos(cos(rotation) cos(axis tilt)) and the azimuth that of the turned normal (Marion & Dobos,
// eqs. 1 to 4), the axis' azimuth + 90 when the modules lie flat.
struct Orientation {
    double rotation = std::numeric_limits<double>::quiet_NaN();
    double inclinaison = std::numeric_limits<double>::quiet_NaN();
    double azimut = std::numeric_limits<double>::quiet_NaN();
    double incidence = std::numeric_limits<double>::quiet_NaN();
};

// The rotation that brings the modules' normal nearest the Sun at apparent zenith distance z and
// azimuth A (true tracking: the Sun's direction in the plane of the normal and the axis), after
// Marion & Dobos, Rotation Angle for the Optimum Tracking of One-Axis Trackers (NREL/TP-6A20-
// 58891, 2013); with backtracking the rotation at which a row's shadow just reaches the next
// row, on ground sloping across the rows after Anderson & Mikofski, Slope-Aware Backtracking for
// Single-Axis Trackers (NREL/TP-5K00-76626, 2020); then limited to +-angleMax.
Orientation Suivi(const Suiveur& suiveur, double z, double A) noexcept;

// Suivi for many positions of the Sun, the axis' trigonometry computed once: sortie[i] is
// Suivi(suiveur, z[i], A[i]) to the bit.
void Suivis(const Suiveur& suiveur, std::span<const double> z, std::span<const double> A,
            std::span<Orientation> sortie) noexcept;

// ---- The atmosphere and above it ----

// The relative optical air mass at the apparent zenith distance z (degrees), Kasten & Young,
// Revised optical air mass tables and approximation formula, Applied Optics 28, 4735 (1989):
// 1 / (cos z + 0.50572 (96.07995 - z)^-1.6364); 1 at the zenith, about 38 at the horizon; NaN
// below the horizon (z > 90).
double MasseAirRelative(double z) noexcept;

// The absolute air mass at a pressure (centimetres of mercury, as the refraction takes it): the
// relative one scaled by the pressure over the standard atmosphere's 76 cmHg.
double MasseAirAbsolue(double masseRelative, double pressionCmHg) noexcept;

// The total solar irradiance at one astronomical unit, W/m2 (Kopp & Lean, A new, lower value of
// total solar irradiance, Geophysical Research Letters 38, L01706 (2011)).
inline constexpr double ConstanteSolaire = 1361.0;

// The irradiance at the top of the atmosphere on a surface facing the Sun, W/m2: the solar
// constant over the square of the Earth - Sun distance in astronomical units.
double IrradianceHorsAtmosphere(double rayonVecteur) noexcept;

}  // namespace PosSoleil
