// Apparent position of the Sun for a site on the Earth: time scales, the VSOP87 Earth,
// nutation, aberration, parallax, refraction, and the sexagesimal texts of the windows.
//
// Every function is pure: inputs by value, results returned or written to the caller's
// variables, no state, no allocation on the position path. Angles are degrees unless a
// comment says radians; T is Julian centuries of dynamical time since J2000.0.
#pragma once

#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace PosSoleil {

// ---- Constants that the engine and its callers share --------------------------------------

inline constexpr double JourJulienJ2000 = 2451545.0;  // J2000.0, 2000-01-01 12:00 TT
inline constexpr double JoursParSiecle = 36525.0;     // a Julian century
inline constexpr double SecondesParJour = 86400.0;
inline constexpr long long MsParJour = 86'400'000;      // milliseconds of a day
inline constexpr double JourJulienOrigine = 2415018.5;  // date-time value 0, 1899-12-30 00:00
inline constexpr double JoursAvantUnix = 25569.0;       // date-time value of 1970-01-01 00:00
// Millimetres of mercury in a hectopascal as the refraction model was fitted with: the
// conventional millimetre of mercury (133.322387415 Pa, ISO 80000-4, which the faces convert
// units with) rounded to seven digits. A coefficient of the model, not a unit conversion.
inline constexpr double MmHgParHectopascal = 0.7500617;
// The reference ellipsoid of the IAU (1976) System of Astronomical Constants: equatorial radius
// 6378140 m and flattening 1/298.257 (below).
inline constexpr double RayonEquatorial = 6378140.0;  // metres

// ---- Time base ------------------------------------------------------------------------------

// Date-time value of a UTC calendar date and time: days since 1899-12-30 00:00 with the time
// of day as fraction, proleptic Gregorian calendar throughout.
// Given:    Annee, Mois, Jour  truncated toward zero; a month outside 1..12 carries into the
//                              year and a day outside the month runs on linearly
//           Heure, Minute, Seconde  added as they are (25 h is 01:00 the next day);
//                              Seconde carries the fraction of the second
// Returned: the date-time value (negative before 1899-12-30: -1 + 06:00 is -0.75)
double EncodeDateValeur(double Annee, double Mois, double Jour, double Heure, double Minute,
                        double Seconde) noexcept;

// Calendar fields of a date-time value, after rounding it to the nearest millisecond.
// Given:    t  date-time value, days since 1899-12-30 00:00 (finite)
// Returned: Annee, Mois (1..12), Jour (1..31), Heure (0..23), Minute, Seconde (0..59),
//           MilliSeconde (0..999). A value beyond about +-5.8 million years is clamped there.
void DecodeDateValeur(double t, int& Annee, int& Mois, int& Jour, int& Heure, int& Minute,
                      int& Seconde, int& MilliSeconde) noexcept;

// Julian date of a date-time value (1899-12-30 00:00 is JD 2415018.5). UTC stays UTC.
// References: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapter 7.
double JourJulien(double t) noexcept;

// Time argument of every series of the engine.
// Given:    JD         Julian date, UTC
//           TEmoinsTU  dynamical time minus UTC, seconds
// Returned: T, Julian centuries of dynamical time since J2000.0
double SiecleJulien(double JD, double TEmoinsTU) noexcept;

// Greenwich mean sidereal time (IAU 1982), from UTC taken as UT1.
// Given:    JD  Julian date, UTC
// Returned: theta0  mean sidereal time at the 0h UT that begins the civil day, degrees
//           theta   mean sidereal time at the instant, degrees
// Both lie in [0, 360]: a value that reduces to exactly 360 is left at 360.
// References: S. Aoki et al., Astron. Astrophys. 105, 359 (1982); Meeus, chapter 12 (12.3, 12.4).
void TempsSideral(double JD, double& theta0, double& theta) noexcept;

// Equation of the equinoxes, degrees: deltaPsi cos(epsilon).
// Given:    deltaPsi  nutation in longitude, degrees; epsilon  true obliquity, degrees
// References: Meeus, chapter 12 (without the IAU 1994 terms in Omega).
double EquationEquinoxes(double deltaPsi, double epsilon) noexcept;

// An angle in degrees reduced to [0, 360): 360 gives 0, -30 gives 330.
double Modulo360(double x) noexcept;

// ---- The Earth from VSOP87 (forwarded unchanged to module VSOPEAR) ---------------------------

double LongitudeTerre(double T) noexcept;  // degrees, not reduced
double LatitudeTerre(double T) noexcept;   // degrees
double RayonTerre(double T) noexcept;      // astronomical units
// References: P. Bretagnon and G. Francou, Astron. Astrophys. 202, 309 (1988), version D.

// ---- Nutation and obliquity -----------------------------------------------------------------

// Fundamental arguments of the lunisolar theory, degrees, not reduced.
// References: Meeus, chapters 22 and 47 (ELP-2000/82: M. Chapront-Touzé and J. Chapront,
//             Astron. Astrophys. 124, 50, 1983).
double ElongationMoyenneLune(double T) noexcept;  // D
double AnomalieMoyenneSoleil(double T) noexcept;  // M
double AnomalieMoyenneLune(double T) noexcept;    // M'
double ArgumentLatitudeLune(double T) noexcept;   // F
double LongitudeNoeudLune(double T) noexcept;     // Omega

// Nutation in longitude and in obliquity from 60 of the 106 terms of the IAU 1980 series.
// Notes:    the 60 are the set this program's windows were designed with, not the largest 60:
//           against the full table, eleven terms of 0.0003" to 0.0005" are left out while eight
//           of 0.0001" to 0.0002" are in.
// References: P. K. Seidelmann, Celest. Mech. 27, 79 (1982), the IAU 1980 theory of nutation.
// Given:    T; Mprime, M, F, D, Omega  fundamental arguments, degrees (reduced or not)
// Returned: deltaPsi, deltaEpsilon  degrees
void Nutation(double T, double Mprime, double M, double F, double D, double Omega, double& deltaPsi,
              double& deltaEpsilon) noexcept;

// Mean obliquity of the ecliptic (84381.448" - 46.815" T ...), degrees.
// References: J. H. Lieske et al., Astron. Astrophys. 58, 1 (1977); Explanatory Supplement to
//             the Astronomical Almanac (1992), 3.222-1.
double ObliquiteMoyenne(double T) noexcept;

// ---- Apparent geocentric Sun ----------------------------------------------------------------

// Annual aberration as a correction to the Sun's longitude, degrees (about -0.0057).
// Given:    T; R  Earth-Sun distance, au
// References: Meeus, chapter 25 (25.10 and the daily motion's periodic terms).
double Aberration(double T, double R) noexcept;

// Ecliptic to equatorial coordinates.
// References: Meeus, chapter 13 (13.3, 13.4).
// Given:    epsilon  obliquity; lambda, beta  ecliptic longitude and latitude, degrees
// Returned: alpha  right ascension in (-180, 180], degrees (not reduced to a turn)
//           delta  declination, degrees
void EcliptiqueVersEquateur(double epsilon, double lambda, double beta, double& alpha,
                            double& delta) noexcept;

// Equation of time, hours: apparent minus mean solar time, brought back within +-20 h.
// Given:    T; alpha  apparent right ascension in (-180, 180]; deltaPsi; epsilon0  MEAN
//           obliquity, degrees
// References: Meeus, chapter 28 (28.3).
double EquationDuTemps(double T, double alpha, double deltaPsi, double epsilon0) noexcept;

// ---- Topocentric and horizontal coordinates -------------------------------------------------

// Flattening of the reference ellipsoid (1/298.257); its equatorial radius is RayonEquatorial.
inline constexpr double Aplatissement = 0.0033528131778969143;

// Observer's geocentric place in units of the equatorial radius.
// Given:    phi  geodetic latitude, degrees; h  height above the ellipsoid, metres
// Returned: rhoSinPhiP, rhoCosPhiP; rho; phiP  geocentric latitude, degrees
// References: Meeus, chapter 11.
void CoordonneesObservateur(double phi, double h, double& rhoSinPhiP, double& rhoCosPhiP,
                            double& rho, double& phiP) noexcept;

// Equatorial horizontal parallax of the Sun, degrees (8.794148" at 1 au).
// References: the IAU (1976) System of Astronomical Constants; Meeus, chapter 40.
// Given:    R  Earth-Sun distance, au
double ParallaxeHorizontale(double R) noexcept;

// Parallax corrections of right ascension and declination.
// Given:    pi  horizontal parallax; rhoCosPhiP, rhoSinPhiP; delta  geocentric declination;
//           H  geocentric hour angle (westward, not reduced), degrees
// Returned: deltaAlpha, deltaDelta  degrees, to subtract from the hour angle and add to the
//           declination respectively
// References: Meeus, chapter 40 (40.2, 40.3).
void Parallaxe(double pi, double rhoCosPhiP, double rhoSinPhiP, double delta, double H,
               double& deltaAlpha, double& deltaDelta) noexcept;

// Hour angle and declination to azimuth and altitude.
// Given:    Hprime  topocentric hour angle; phi  geodetic latitude; deltaPrime  topocentric
//           declination, degrees
// Returned: Azimut  from north through east, in [0, 360] (0 and 360 both north)
//           Hauteur  altitude above the astronomical horizon, degrees
// References: Meeus, chapter 13 (13.5, 13.6).
void CoordonneesHorizontales(double Hprime, double phi, double deltaPrime, double& Azimut,
                             double& Hauteur) noexcept;

// ---- The position driver --------------------------------------------------------------------

// A place on the Earth: longitude in degrees, East positive; geodetic latitude in degrees,
// North positive; height above the reference ellipsoid in metres.
struct Site {
    double Longitude = 0.0;
    double Latitude = 0.0;
    double Altitude = 0.0;
};

// The seven results of the driver; see CalculPosition for their units and ranges.
struct Position {
    double LongitudeSoleil;
    double RayonVecteur;
    double AscensionDroite;
    double Declinaison;
    double Azimut;
    double Hauteur;
    double EquationTemps;
};

// Apparent position of the Sun for a UTC instant and a site: the form for new callers.
// Given:    t  UTC date-time value (days since 1899-12-30 00:00, see EncodeDateValeur)
//           site; TEmoinsTU  dynamical time - UTC, seconds
// Returned: the seven results, exactly those of CalculPosition for the same instant.
// Every finite input gives finite results: beyond +-1e10 days for t and +-1e6 centuries for
// T, where the theory has long lost all meaning, the instant is held at those bounds.
Position PositionSoleil(double t, const Site& site, double TEmoinsTU) noexcept;

// Apparent position of the Sun for a UTC instant and a site; never applies refraction.
// Given:    Annee, Mois, Jour, Heure, Minute, Seconde  UTC (Seconde with its fraction)
//           Longitude  degrees, East positive; Latitude  geodetic, degrees, North positive
//           AltitudeSite  metres above the ellipsoid; TEmoinsTU  dynamical time - UTC, s
// Returned: LongitudeSoleil  geometric longitude + FK5 + aberration, without nutation,
//                            NOT reduced (about 36000.77 degrees per century)
//           RayonVecteur     Earth-Sun distance, au
//           AscensionDroite  apparent geocentric right ascension in (-180, 180], degrees
//           Declinaison      apparent geocentric declination, degrees
//           Azimut           topocentric, from north through east, [0, 360]
//           Hauteur          topocentric altitude without refraction, degrees
//           EquationTemps    equation of time, hours
void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute,
                    double Seconde, double Longitude, double Latitude, double AltitudeSite,
                    double TEmoinsTU, double& LongitudeSoleil, double& RayonVecteur,
                    double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
                    double& EquationTemps) noexcept;

// The same driver and nutation on the straightforward scalar evaluations (one term at a time,
// the C library's sine and cosine): the reference for the vector path, which CalculPosition
// and Nutation take on processors with AVX2 and FMA. Same arguments and results.
namespace Scalaire {
Position PositionSoleil(double t, const Site& site, double TEmoinsTU) noexcept;
void CalculPosition(double Annee, double Mois, double Jour, double Heure, double Minute,
                    double Seconde, double Longitude, double Latitude, double AltitudeSite,
                    double TEmoinsTU, double& LongitudeSoleil, double& RayonVecteur,
                    double& AscensionDroite, double& Declinaison, double& Azimut, double& Hauteur,
                    double& EquationTemps) noexcept;
void Nutation(double T, double Mprime, double M, double F, double D, double Omega, double& deltaPsi,
              double& deltaEpsilon) noexcept;
}  // namespace Scalaire

// ---- Refraction -----------------------------------------------------------------------------

// Atmospheric refraction to add to the true altitude, degrees. Zero at -1 degree and below:
// the correction stops rather than tapering off under the horizon.
// Pressure is in centimetres of mercury in every function of the engine; callers that hold
// millimetres or hectopascals convert at their edge.
// Given:    h  true altitude, degrees; P  pressure, cm of mercury (76 standard);
//           T  temperature, degrees Celsius
// References: W. M. Smart, Textbook on Spherical Astronomy, 6th ed. (1977), chapter 3, above
//             30 degrees; below it a fit of the program's own.
double Refraction(double h, double P, double T) noexcept;

// ---- Sexagesimal texts ----------------------------------------------------------------------

// A number in fixed notation with exactly `decimals` decimals (0..18), rounded half away from
// zero on its 18-significant-digit decimal value and keeping at most `significatifs` (1..18)
// significant digits: later places are written as zeros. No thousands separator.
// TexteFixe(0.98524861, 5, 7, ",") is "0,98525"; TexteFixe(56.25, 1, 5) is "56.3".
std::string TexteFixe(double valeur, int decimals, int significatifs,
                      std::string_view separateur = ".");

// Degrees, minutes and seconds of arc: sign (space or "-"), degrees (two digits at least),
// "°", minutes, "'", seconds with `decimals` decimals, and a double quote. Degrees and
// minutes are truncated and only the seconds rounded, with no carry: 23.7 degrees is
// " 23°41'60.00"" with 2 decimals. Exactly zero gives "000000". UTF-8.
// Given:    angle  degrees, any size (never reduced); decimals  0..18 (clamped)
//           separateur  decimal separator of the user's locale
// A NaN gives "NAN" and an infinity " INF" or "-INF".
std::string DegVersDMS(double angle, int decimals, std::string_view separateur = ".");

// Hours, minutes and seconds of time of angle / 15: " 18h41mn50.40s". Same rules as
// DegVersDMS, with no exception for zero.
std::string DegVersHMS(double angle, int decimals, std::string_view separateur = ".");

}  // namespace PosSoleil

#include "JourneeSolaire.h"  // IWYU pragma: export
#include "Surface.h"         // IWYU pragma: export
#include "Grilles.h"         // IWYU pragma: export
#include "Cadran.h"          // IWYU pragma: export
