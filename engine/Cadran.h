// Planar sundials: a plane of any orientation at a site, its gnomon (a polar style or a nodus),
// the shadow at an instant, and the lines a dial maker draws; the instants of the equinoxes and
// solstices. Included by PosSoleil.h, its public header. Angles in degrees, lengths in
// millimetres, azimuths from north through east.
//
// The dial's own frame: its origin is the gnomon's foot (where a polar style meets the plane,
// or the foot of the perpendicular from a nodus); x runs along the plane's horizontal, to the
// right of someone facing the dial; y runs up its line of greatest slope (on a horizontal dial,
// toward the north).
//
// References: J. Meeus, Astronomical Algorithms, 2nd ed. (1998), chapters 27 (equinoxes and
//             solstices) and 58 (a planar sundial); A. E. Waugh, Sundials: Their Theory and
//             Construction (Dover, 1973), chapters 5 to 10; R. R. J. Rohr, Sundials: History,
//             Theory, and Practice (Dover, 1996), for the Babylonian and Italic hours.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "PosSoleil.h"

namespace PosSoleil {

// ---- The dial --------------------------------------------------------------------------------

enum class Gnomon {
    StylePolaire,  // a rod along the Earth's axis, `longueur` mm from its foot to its tip
    Nodus,         // a point `longueur` mm from the plane, on its normal through the origin
};

// - azimutMur: the azimuth the dial's face looks toward, as the surfaces take it (180 for a wall
//   facing due south); the gnomonists' declination of the plane is azimutMur - 180, positive
//   toward the west. A horizontal plane (inclinaison 0 or 180) has none and ignores it.
// - inclinaison: 0 a horizontal dial facing up, 90 a vertical wall, up to 180 facing down.
struct Cadran {
    double azimutMur = 180;
    double inclinaison = 90;
    Gnomon gnomon = Gnomon::StylePolaire;
    double longueur = 100;  // mm
};

// What makes a dial unusable at a latitude: a figure out of its range (a length of zero or
// less, an inclination outside 0..180, an azimuth that is no number), a polar style within 1
// degree of the plane (it would meet the plane nowhere near the dial: take a nodus), a face the
// Sun never lights.
enum class DefautCadran { Aucun, Longueur, Inclinaison, Azimut, StyleParallele, JamaisEclaire };
DefautCadran VerifieCadran(const Cadran& c, double latitude) noexcept;

// The dial's frame in the site's horizontal frame (east, north, up): unit vectors of its normal
// (out of the face), of x and of y, and the gnomon's point (the style's tip or the nodus) in mm.
struct RepereCadran {
    double normale[3], x[3], y[3];
    double pointe[3];
};
RepereCadran RepereDuCadran(const Cadran& c, double latitude) noexcept;

// The style and the centre.
// Returned: hauteurStyle  the angle of the Earth's axis over the plane, degrees (the latitude
//                         on a horizontal dial, the colatitude on a wall facing south);
//           sousStyle     the direction of the substyle (the axis projected on the plane) in
//                         the dial, degrees from its y axis toward x; NaN when the axis stands
//                         perpendicular to the plane;
//           distanceSousStyle  the substyle's angle from the noon line (the meridian's trace,
//                         on the substyle's side of the centre), toward x, degrees;
//           centreX, centreY  mm, where the axis through the gnomon's point meets the plane,
//                         the point all hour lines of apparent time run through (0, 0 for a
//                         polar style); NaN on a plane parallel to the axis.
struct GeometrieCadran {
    double hauteurStyle, sousStyle, distanceSousStyle, centreX, centreY;
};
GeometrieCadran Geometrie(const Cadran& c, double latitude) noexcept;

// The shadow of the gnomon's point: the ray from the Sun through it meets the plane at (x, y),
// mm in the dial's frame. `eclaire` when the Sun is above the horizon and in front of the face;
// otherwise x and y are NaN.
struct Ombre {
    double x, y;
    bool eclaire;
};
// Given:    latitude  the site's, degrees; azimut, hauteur  the Sun's topocentric azimuth and
//           altitude, degrees (refracted or not, as the caller wants the shadow)
Ombre OmbreCadran(const Cadran& c, double latitude, double azimut, double hauteur) noexcept;
// At a UTC instant (date-time value) and dynamical time - UTC (s), from PositionSoleil's
// topocentric azimuth and altitude, without refraction.
Ombre OmbreA(const Cadran& c, double t, const Site& site, double TEmoinsTU) noexcept;

// ---- The seasons ---------------------------------------------------------------------------

// The instants (UTC date-time values) at which the Sun's apparent geocentric longitude is 0, 90,
// 180 and 270 degrees in a year: the March equinox, the June solstice, the September equinox,
// the December solstice, to about a millisecond of the engine's own longitude.
// Given:    annee; TEmoinsTU  dynamical time - UTC, seconds
// References: Meeus, chapter 27 (from his mean instants, corrected until the longitude is met).
void Saisons(int annee, double TEmoinsTU, double (&instants)[4]) noexcept;

// ---- The lines -----------------------------------------------------------------------------

enum class SorteLigne { Heure, DemiHeure, QuartHeure, Date, Analemme, Babylonienne, Italique };

// The lines wanted:
// - heures, demiHeures, quarts: apparent solar time, each hour (half and quarter hours apart);
// - dates: the solstices and equinoxes of the year; signes: the Sun's entry into each sign of
//   the zodiac; mois: the first of each month at 12:00 UTC;
// - analemmes: for each whole hour of the mean time of the zone's standard meridian, the
//   figure-eight the shadow draws through the year;
// - babyloniennes, italiques: hours since sunrise, and since the previous sunset.
struct ChoixLignes {
    bool heures = true, demiHeures = false, quarts = false;
    bool dates = true, signes = false, mois = false;
    bool analemmes = false, babyloniennes = false, italiques = false;
};

// The drawn area, `largeur` x `hauteur` mm centred at (centreX, centreY) of the dial's frame
// (0, 0 the gnomon's foot), and what dates the lines: the year (of the date lines and
// analemmas), the zone's standard meridian (degrees, East positive: 15 for UTC+1) and dynamical
// time - UTC, seconds.
struct Trace {
    double largeur = 400, hauteur = 400;
    double centreX = 0, centreY = 0;
    int annee = 2026;
    double meridien = 0;
    double TEmoinsTU = 69.184;
};

// One piece of a line: where the shadow falls within the area while the face is lit, as a
// polyline (mm, dial frame). A line the area or the night cuts comes in several pieces, each
// with the same sort and label ("9 h", "9 h 30", "solstice de juin", "Bélier", "1er mars").
struct LigneCadran {
    SorteLigne sorte;
    std::string etiquette;
    std::vector<std::pair<double, double>> points;
};

// Every line wanted of a dial at a site; no line for a dial that VerifieCadran refuses.
std::vector<LigneCadran> LignesCadran(const Cadran& c, const Site& site, const ChoixLignes& choix,
                                      const Trace& trace);

// Where to centre the area so that it holds the heart of the dial: the median of the points of
// the hour lines from 9 h to 15 h between the solstices, within four times the area's size of
// the foot; the foot itself for a dial that has no such lines.
std::pair<double, double> CentreDesLignes(const Cadran& c, const Site& site, const Trace& trace);

}  // namespace PosSoleil
